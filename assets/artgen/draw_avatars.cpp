#include "draw_avatars.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "art_style.h"
#include "view/picture_catalogue.h"

namespace artgen {

namespace {

enum class Hair { Crop, Spiky, SidePart, Bald, Curly, Buzz, Shaggy, Quiff, Cap, TopKnot,
                  Long, Bob, Ponytail, TwinTails, Bun, CurlyLong, Pixie, Headband, Wavy, Braid };
enum Extra { kNone = 0, kGlasses = 1, kBeard = 2, kMoustache = 4, kFreckles = 8, kBow = 16, kEarrings = 32,
             kBlush = 64, kOpenSmile = 128, kHappyEyes = 256 };

struct Look {
  QColor background, skin, hair, shirt;
  Hair hair_style;
  int extras;
};

const Look kMale[10] = {
    {{120, 170, 220}, {244, 204, 170}, {40, 30, 24}, {40, 90, 160}, Hair::Crop, kOpenSmile},
    {{240, 180, 110}, {226, 178, 136}, {20, 20, 24}, {200, 60, 50}, Hair::Spiky, kNone},
    {{150, 200, 150}, {250, 214, 184}, {110, 70, 36}, {60, 120, 80}, Hair::SidePart, kGlasses},
    {{200, 170, 220}, {210, 160, 120}, {70, 60, 56}, {90, 70, 130}, Hair::Bald, kBeard | kOpenSmile},
    {{250, 210, 120}, {248, 210, 176}, {150, 80, 40}, {230, 140, 40}, Hair::Curly, kFreckles},
    {{130, 200, 210}, {180, 128, 92}, {24, 20, 20}, {40, 140, 150}, Hair::Buzz, kMoustache},
    {{220, 150, 150}, {246, 206, 172}, {60, 44, 36}, {150, 40, 60}, Hair::Shaggy, kHappyEyes},
    {{170, 190, 240}, {236, 192, 154}, {210, 170, 90}, {50, 60, 110}, Hair::Quiff, kOpenSmile},
    {{190, 220, 130}, {224, 174, 130}, {50, 36, 28}, {200, 160, 40}, Hair::Cap, kNone},
    {{240, 200, 170}, {250, 220, 190}, {30, 26, 30}, {120, 30, 40}, Hair::TopKnot, kBeard},
};

const Look kFemale[10] = {
    {{250, 190, 200}, {250, 218, 196}, {40, 28, 24}, {220, 90, 120}, Hair::Long, kBlush | kOpenSmile},
    {{180, 210, 250}, {244, 206, 176}, {20, 20, 26}, {70, 110, 200}, Hair::Bob, kBlush},
    {{250, 220, 150}, {236, 190, 150}, {150, 90, 44}, {230, 150, 60}, Hair::Ponytail, kEarrings | kOpenSmile},
    {{200, 240, 200}, {252, 222, 200}, {60, 40, 30}, {70, 170, 110}, Hair::TwinTails, kBow | kBlush},
    {{220, 190, 240}, {220, 168, 128}, {30, 24, 24}, {140, 80, 180}, Hair::Bun, kEarrings},
    {{250, 200, 160}, {248, 212, 182}, {190, 110, 50}, {200, 70, 60}, Hair::CurlyLong, kFreckles | kOpenSmile},
    {{160, 220, 230}, {244, 208, 178}, {90, 50, 60}, {40, 150, 170}, Hair::Pixie, kGlasses | kBlush},
    {{240, 170, 190}, {190, 136, 100}, {26, 20, 20}, {240, 200, 80}, Hair::Headband, kHappyEyes | kBlush},
    {{210, 230, 170}, {250, 224, 204}, {230, 190, 110}, {90, 130, 60}, Hair::Wavy, kOpenSmile},
    {{230, 200, 230}, {238, 196, 160}, {70, 36, 30}, {170, 50, 90}, Hair::Braid, kBow | kEarrings},
};

constexpr QPointF kHead(42.5, 44);
constexpr qreal kHeadRx = 20, kHeadRy = 23;

void Ellipse(QPainter& p, QPointF c, qreal rx, qreal ry, const QColor& fill, const QColor& edge = Qt::transparent) {
  p.setPen(edge.alpha() ? QPen(edge, 1) : QPen(Qt::NoPen));
  p.setBrush(fill);
  p.drawEllipse(c, rx, ry);
}

// Hair behind the head (long styles), drawn before the face.
void BackHair(QPainter& p, const Look& look) {
  const QColor h = look.hair;
  switch (look.hair_style) {
    case Hair::Long:
    case Hair::Headband:
      p.setPen(Qt::NoPen);
      p.setBrush(h);
      p.drawRoundedRect(QRectF(19, 30, 47, 52), 16, 16);
      break;
    case Hair::CurlyLong:
    case Hair::Wavy:
      for (int i = 0; i < 6; ++i) {
        Ellipse(p, {21 + (i % 2) * 2.0, 38 + i * 8.0}, 8, 7, h);
        Ellipse(p, {64 - (i % 2) * 2.0, 38 + i * 8.0}, 8, 7, h);
      }
      break;
    case Hair::Bob:
      p.setPen(Qt::NoPen);
      p.setBrush(h);
      p.drawRoundedRect(QRectF(18, 24, 49, 44), 18, 18);
      break;
    case Hair::Ponytail:
      Ellipse(p, {66, 40}, 7, 16, h);
      break;
    case Hair::TwinTails:
      Ellipse(p, {15, 52}, 7, 15, h);
      Ellipse(p, {70, 52}, 7, 15, h);
      break;
    case Hair::Braid:
      for (int i = 0; i < 5; ++i) Ellipse(p, {60.0 + i, 58.0 + i * 6}, 5, 4, h, h.darker(140));
      break;
    default: break;
  }
}

void FrontHair(QPainter& p, const Look& look) {
  const QColor h = look.hair;
  QPainterPath cap;  // the top of the head, cut off at `fringe`
  auto TopCap = [&](qreal fringe, qreal grow) {
    QPainterPath head;
    head.addEllipse(kHead, kHeadRx + grow, kHeadRy + grow);
    QPainterPath cut;
    cut.addRect(QRectF(0, 0, 85, fringe));
    return head.intersected(cut);
  };
  p.setPen(Qt::NoPen);
  p.setBrush(h);
  switch (look.hair_style) {
    case Hair::Crop: p.drawPath(TopCap(33, 2)); break;
    case Hair::Buzz: p.setBrush(QColor(h.red(), h.green(), h.blue(), 190)); p.drawPath(TopCap(30, 0.5)); break;
    case Hair::Spiky: {
      p.drawPath(TopCap(32, 1.5));
      QPolygonF spikes;
      for (int i = 0; i <= 8; ++i) spikes << QPointF(22 + i * 5.1, i % 2 ? 14 : 24);
      spikes << QPointF(63, 30) << QPointF(22, 30);
      p.drawPolygon(spikes);
      break;
    }
    case Hair::SidePart: {
      p.drawPath(TopCap(31, 2));
      QPainterPath swoop;
      swoop.moveTo(30, 22);
      swoop.cubicTo(44, 14, 60, 20, 63, 36);
      swoop.cubicTo(54, 28, 42, 28, 30, 22);
      p.drawPath(swoop);
      break;
    }
    case Hair::Bald:
      Ellipse(p, {23, 40}, 3.5, 7, h);
      Ellipse(p, {62, 40}, 3.5, 7, h);
      p.setBrush(QColor(255, 255, 255, 90));
      p.drawEllipse(QPointF(36, 26), 5, 3);
      break;
    case Hair::Curly:
      for (int i = 0; i < 7; ++i) Ellipse(p, {24 + i * 6.2, 24 + (i % 2) * 2.5}, 6, 6, h, h.darker(130));
      Ellipse(p, {22, 34}, 5, 6, h);
      Ellipse(p, {63, 34}, 5, 6, h);
      break;
    case Hair::Shaggy: {
      p.drawPath(TopCap(36, 3));
      QPolygonF fringe;
      for (int i = 0; i <= 6; ++i) fringe << QPointF(23 + i * 6.5, i % 2 ? 38 : 31);
      fringe << QPointF(62, 28) << QPointF(23, 28);
      p.drawPolygon(fringe);
      break;
    }
    case Hair::Quiff: {
      p.drawPath(TopCap(32, 1.5));
      QPainterPath quiff;
      quiff.moveTo(26, 26);
      quiff.cubicTo(28, 8, 56, 6, 60, 24);
      quiff.lineTo(26, 26);
      p.drawPath(quiff);
      break;
    }
    case Hair::Cap: {
      p.setBrush(look.shirt.darker(115));
      p.drawPath(TopCap(31, 2.5));
      p.drawRoundedRect(QRectF(38, 27, 30, 5), 2, 2);
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(42.5, 20), 3.5, 3.5);
      break;
    }
    case Hair::TopKnot:
      p.drawPath(TopCap(30, 1.5));
      Ellipse(p, {42.5, 15}, 7, 6, h, h.lighter(140));
      break;
    case Hair::Long:
    case Hair::Bob:
    case Hair::Ponytail:
    case Hair::TwinTails:
    case Hair::Bun:
    case Hair::Braid:
    case Hair::Wavy:
    case Hair::CurlyLong: {
      p.drawPath(TopCap(34, 2.5));
      QPainterPath bangs;  // a fringe swept to one side
      bangs.moveTo(22, 36);
      bangs.cubicTo(26, 22, 48, 20, 64, 34);
      bangs.cubicTo(52, 28, 40, 30, 22, 36);
      p.drawPath(bangs);
      if (look.hair_style == Hair::Bun) Ellipse(p, {42.5, 16}, 10, 8, h, h.darker(130));
      break;
    }
    case Hair::Pixie: {
      p.drawPath(TopCap(33, 2));
      QPolygonF fringe{{24, 30}, {36, 40}, {40, 30}, {50, 38}, {54, 28}, {64, 34}, {60, 22}, {28, 22}};
      p.drawPolygon(fringe);
      break;
    }
    case Hair::Headband:
      p.drawPath(TopCap(33, 2.5));
      p.setBrush(look.shirt);
      p.drawRoundedRect(QRectF(23, 24, 39, 5), 2.5, 2.5);
      break;
  }
}

void Features(QPainter& p, const Look& look, bool female) {
  const QColor ink(40, 28, 24);
  // Eyebrows.
  p.setPen(QPen(look.hair_style == Hair::Bald ? QColor(70, 60, 56) : look.hair.darker(120), female ? 1.3 : 2,
                Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(30, 37), QPointF(37, 36));
  p.drawLine(QPointF(48, 36), QPointF(55, 37));
  // Eyes.
  if (look.extras & kHappyEyes) {
    p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(30, 40, 8, 6), 0, 180 * 16);
    p.drawArc(QRectF(47, 40, 8, 6), 0, 180 * 16);
  } else {
    for (qreal x : {34.0, 51.0}) {
      Ellipse(p, {x, 44}, 3.6, female ? 4.2 : 3.6, Qt::white, QColor(120, 100, 90));
      Ellipse(p, {x + 0.4, 44.5}, 2.2, 2.5, ink);
      Ellipse(p, {x + 1.2, 43.3}, 0.8, 0.8, Qt::white);
      if (female) {
        p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x + 3.2, 41.5), QPointF(x + 4.8, 40.2));
      }
    }
  }
  if (look.extras & kGlasses) {
    p.setPen(QPen(QColor(30, 30, 40), 1.5));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(QRectF(27.5, 38.5, 13, 11), 3, 3);
    p.drawRoundedRect(QRectF(44.5, 38.5, 13, 11), 3, 3);
    p.drawLine(QPointF(40.5, 43), QPointF(44.5, 43));
  }
  // Nose.
  p.setPen(QPen(look.skin.darker(135), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(42.5, 47), QPointF(41, 52.5));
  p.drawLine(QPointF(41, 52.5), QPointF(43.5, 53));
  if (look.extras & (kBlush)) {
    Ellipse(p, {29, 53}, 4.5, 2.6, QColor(240, 110, 110, 90));
    Ellipse(p, {56, 53}, 4.5, 2.6, QColor(240, 110, 110, 90));
  }
  if (look.extras & kFreckles) {
    for (const QPointF& f : {QPointF(30, 51), QPointF(33, 53), QPointF(29, 54), QPointF(52, 51), QPointF(55, 53),
                             QPointF(56, 50)})
      Ellipse(p, f, 0.8, 0.8, QColor(170, 100, 60));
  }
  if (look.extras & kBeard) {
    QPainterPath beard;
    beard.moveTo(23, 50);
    beard.cubicTo(26, 74, 59, 74, 62, 50);
    beard.cubicTo(56, 62, 29, 62, 23, 50);
    p.setPen(Qt::NoPen);
    p.setBrush(look.hair.lighter(110));
    p.drawPath(beard);
  }
  if (look.extras & (kMoustache | kBeard)) {
    p.setPen(Qt::NoPen);
    p.setBrush(look.hair);
    p.drawRoundedRect(QRectF(35, 55, 15, 3.5), 1.8, 1.8);
  }
  // Mouth.
  if (look.extras & kOpenSmile) {
    QPainterPath mouth;
    mouth.moveTo(36, 58.5);
    mouth.cubicTo(38, 66, 47, 66, 49, 58.5);
    mouth.closeSubpath();
    p.setPen(QPen(QColor(120, 30, 30), 1));
    p.setBrush(QColor(190, 50, 60));
    p.drawPath(mouth);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(38, 58.6, 9, 1.6));
  } else {
    p.setPen(QPen(female ? QColor(200, 70, 80) : QColor(140, 60, 50), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(36.5, 54, 12, 7), 200 * 16, 140 * 16);
  }
  if (look.extras & kEarrings) {
    Ellipse(p, {22.5, 54}, 1.8, 1.8, QColor(250, 210, 80), QColor(160, 120, 30));
    Ellipse(p, {62.5, 54}, 1.8, 1.8, QColor(250, 210, 80), QColor(160, 120, 30));
  }
  if (look.extras & kBow) {
    p.setPen(QPen(QColor(150, 20, 50), 1));
    p.setBrush(QColor(235, 60, 100));
    p.drawPolygon(QPolygonF({{58, 20}, {68, 14}, {68, 26}}));
    p.drawPolygon(QPolygonF({{58, 20}, {48, 14}, {48, 26}}));
    p.drawEllipse(QPointF(58, 20), 2.5, 2.5);
  }
}

}  // namespace

QImage DrawAvatar(bool female, int index) {
  const Look& look = (female ? kFemale : kMale)[index % 10];
  const auto size = tavrel::view::kAvatarSize;
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  QRadialGradient bg(QPointF(42.5, 30), 70);
  bg.setColorAt(0, look.background.lighter(125));
  bg.setColorAt(1, look.background.darker(115));
  p.setPen(QPen(look.background.darker(150), 1.5));
  p.setBrush(bg);
  p.drawRoundedRect(QRectF(0.75, 0.75, size.width - 1.5, size.height - 1.5), 10, 10);
  p.setClipRect(QRectF(1.5, 1.5, size.width - 3, size.height - 3));
  BackHair(p, look);
  // Shoulders and neck.
  p.setPen(QPen(look.shirt.darker(140), 1));
  p.setBrush(look.shirt);
  p.drawEllipse(QPointF(42.5, 98), 36, 24);
  p.setPen(Qt::NoPen);
  p.setBrush(look.skin.darker(112));
  p.drawRoundedRect(QRectF(35.5, 60, 14, 16), 4, 4);
  if (!female) {
    p.setBrush(look.shirt.lighter(150));
    p.drawPolygon(QPolygonF({{34, 75}, {42.5, 84}, {51, 75}, {42.5, 79}}));
  }
  // Ears and head.
  Ellipse(p, {kHead.x() - kHeadRx, 46}, 4, 5.5, look.skin.darker(106), look.skin.darker(140));
  Ellipse(p, {kHead.x() + kHeadRx, 46}, 4, 5.5, look.skin.darker(106), look.skin.darker(140));
  QRadialGradient skin(kHead - QPointF(6, 8), 30);
  skin.setColorAt(0, look.skin.lighter(110));
  skin.setColorAt(1, look.skin.darker(108));
  p.setPen(QPen(look.skin.darker(140), 1));
  p.setBrush(skin);
  p.drawEllipse(kHead, kHeadRx, kHeadRy);
  FrontHair(p, look);
  Features(p, look, female);
  return image;
}

}  // namespace artgen
