#include "tile_faces.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <initializer_list>

#include "art_style.h"

namespace artgen {
namespace {

using palette::kBlue;
using palette::kGreen;
using palette::kInk;
using palette::kRed;

const QRectF kContent(5, 5, kFaceWidth - 10, kFaceHeight - 10);

// ---- Honours and characters -------------------------------------------------

void Honour(QPainter& p, int pos) {
  static const char* const kChars[] = {"東", "南", "西", "北", "中", "發"};
  const QColor colour = pos == 4 ? kRed : pos == 5 ? kGreen : kInk;
  const QPainterPath glyph = FitPath(TextPath(QString::fromUtf8(kChars[pos])), kContent.adjusted(1, 3, -1, -3));
  FillGlyph(p, glyph, colour, 2.2);
}

void WhiteDragon(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kBlue, 4.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.drawRoundedRect(QRectF(9, 10, 42, 60), 3, 3);
  p.setPen(QPen(kBlue, 1.6));
  p.drawRoundedRect(QRectF(15.5, 16.5, 29, 47), 2, 2);
}

void Characters(QPainter& p, int rank) {
  static const char* const kNumbers[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
  const QPainterPath reference = TextPath(QString::fromUtf8("田"));
  const QPainterPath number = TextPath(QString::fromUtf8(kNumbers[rank - 1]));
  FillGlyph(p, FitPathLike(number, reference, QRectF(11, 5, 38, 31)), kInk, 2.4);
  const QPainterPath wan = FitPath(TextPath(QString::fromUtf8("萬")), QRectF(7, 39, 46, 37));
  FillGlyph(p, wan, kRed, 1.6);
}

// ---- Bamboo -------------------------------------------------------------------

void Stick(QPainter& p, QPointF centre, qreal length, const QColor& colour, qreal angle = 0) {
  const qreal w = 8.5;
  p.save();
  p.translate(centre);
  p.rotate(angle);
  QLinearGradient across(-w / 2, 0, w / 2, 0);
  across.setColorAt(0, colour.darker(150));
  across.setColorAt(0.35, colour.lighter(135));
  across.setColorAt(1, colour.darker(170));
  p.setPen(QPen(colour.darker(230), 0.9));
  p.setBrush(across);
  p.drawRoundedRect(QRectF(-w / 2, -length / 2, w, length), w * 0.4, w * 0.4);
  p.setBrush(colour.darker(190));
  p.setPen(Qt::NoPen);
  for (qreal y : {-length / 2 + 2.6, 0.0, length / 2 - 2.6})
    p.drawRoundedRect(QRectF(-w / 2 - 0.7, y - 1.3, w + 1.4, 2.6), 1.2, 1.2);
  p.setPen(QPen(QColor(255, 255, 255, 150), 0.9));
  p.drawLine(QPointF(-w * 0.12, -length / 2 + 4.5), QPointF(-w * 0.12, -1.8));
  p.drawLine(QPointF(-w * 0.12, 1.8), QPointF(-w * 0.12, length / 2 - 4.5));
  p.restore();
}

void Bird(QPainter& p) {
  p.save();
  // Tail feathers fanning down to the left.
  const QColor tails[] = {kBlue, kGreen, kBlue};
  for (int i = 0; i < 3; ++i) {
    p.save();
    p.translate(28, 48);
    p.rotate(25 + i * 22);
    p.setPen(QPen(tails[i].darker(160), 0.8));
    p.setBrush(tails[i]);
    p.drawEllipse(QRectF(-4.5, 0, 9, 26));
    p.setBrush(kRed);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(0, 20), 2.4, 2.4);
    p.restore();
  }
  // Legs on a branch.
  p.setPen(QPen(kRed.darker(120), 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(33, 56), QPointF(31, 68));
  p.drawLine(QPointF(39, 55), QPointF(40, 68));
  p.setPen(QPen(QColor(120, 80, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(18, 69), QPointF(52, 68));
  // Body and wing.
  QPainterPath body;
  body.moveTo(44, 22);
  body.cubicTo(56, 30, 52, 54, 38, 58);
  body.cubicTo(26, 60, 20, 48, 26, 38);
  body.cubicTo(30, 30, 36, 26, 44, 22);
  p.setPen(QPen(kGreen.darker(180), 1.0));
  p.setBrush(kGreen);
  p.drawPath(body);
  QPainterPath wing;
  wing.moveTo(42, 34);
  wing.cubicTo(48, 42, 44, 52, 32, 54);
  wing.cubicTo(34, 46, 36, 40, 42, 34);
  p.setBrush(kGreen.darker(150));
  p.drawPath(wing);
  // Head, crest, beak and eye.
  p.setBrush(kGreen.lighter(115));
  p.drawEllipse(QPointF(44, 18), 8, 7.5);
  p.setPen(QPen(kRed, 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(42, 11), QPointF(39, 4));
  p.drawLine(QPointF(45, 10.5), QPointF(45, 3));
  p.drawLine(QPointF(48, 11.5), QPointF(51, 5));
  QPainterPath beak;
  beak.moveTo(51, 16);
  beak.lineTo(58, 19.5);
  beak.lineTo(51, 21.5);
  beak.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(235, 140, 30));
  p.drawPath(beak);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(46.5, 16.5), 2.6, 2.6);
  p.setBrush(Qt::black);
  p.drawEllipse(QPointF(47.2, 16.5), 1.4, 1.4);
  p.restore();
}

void Bamboo(QPainter& p, int rank) {
  const qreal l2 = 31, l3 = 21;  // stick lengths for two and three rows
  switch (rank) {
    case 1: Bird(p); break;
    case 2:
      Stick(p, {30, 22}, l2, kBlue);
      Stick(p, {30, 58}, l2, kGreen);
      break;
    case 3:
      Stick(p, {30, 22}, l2, kBlue);
      Stick(p, {18, 58}, l2, kGreen);
      Stick(p, {42, 58}, l2, kGreen);
      break;
    case 4:
      Stick(p, {18, 22}, l2, kBlue);
      Stick(p, {42, 22}, l2, kGreen);
      Stick(p, {18, 58}, l2, kGreen);
      Stick(p, {42, 58}, l2, kBlue);
      break;
    case 5:
      for (qreal x : {13.0, 47.0})
        for (qreal y : {22.0, 58.0}) Stick(p, {x, y}, l2, kGreen);
      Stick(p, {30, 40}, l2, kRed);
      break;
    case 6:
      for (qreal x : {14.0, 30.0, 46.0}) {
        Stick(p, {x, 22}, l2, kBlue);
        Stick(p, {x, 58}, l2, kGreen);
      }
      break;
    case 7:
      Stick(p, {30, 15}, l3, kRed);
      for (qreal x : {14.0, 30.0, 46.0}) {
        Stick(p, {x, 40}, l3, kGreen);
        Stick(p, {x, 65}, l3, kGreen);
      }
      break;
    case 8:
      for (int row = 0; row < 2; ++row) {
        const qreal y = row == 0 ? 22 : 58;
        const qreal tilt = row == 0 ? 24 : -24;
        const QColor outer = row == 0 ? kGreen : kBlue;
        Stick(p, {10, y}, l2, outer);
        Stick(p, {50, y}, l2, outer);
        Stick(p, {24, y}, l2 - 1, kGreen, tilt);
        Stick(p, {36, y}, l2 - 1, kGreen, -tilt);
      }
      break;
    case 9:
      for (qreal y : {15.0, 40.0, 65.0}) {
        Stick(p, {14, y}, l3, kGreen);
        Stick(p, {30, y}, l3, kRed);
        Stick(p, {46, y}, l3, kBlue);
      }
      break;
  }
}

// ---- Dots -----------------------------------------------------------------------

void Dot(QPainter& p, QPointF c, qreal r, const QColor& colour) {
  p.save();
  p.setPen(QPen(colour.darker(170), r * 0.08));
  p.setBrush(colour);
  p.drawEllipse(c, r, r);
  p.setPen(Qt::NoPen);
  p.setBrush(palette::kIvory);
  p.drawEllipse(c, r * 0.72, r * 0.72);
  p.setBrush(colour);
  p.drawEllipse(c, r * 0.5, r * 0.5);
  p.setBrush(palette::kIvory);
  p.drawEllipse(c, r * 0.17, r * 0.17);
  p.restore();
}

void BigDot(QPainter& p) {
  const QPointF c(30, 40);
  p.save();
  p.setPen(QPen(kGreen.darker(170), 1.2));
  p.setBrush(kGreen);
  p.drawEllipse(c, 24, 24);
  p.setPen(Qt::NoPen);
  p.setBrush(palette::kIvory);
  p.drawEllipse(c, 20.5, 20.5);
  p.setBrush(kRed);
  for (int i = 0; i < 12; ++i) {
    const qreal a = i * M_PI / 6;
    p.drawEllipse(c + QPointF(qCos(a), qSin(a)) * 15.5, 3.6, 3.6);
  }
  p.setBrush(kBlue);
  p.drawEllipse(c, 10, 10);
  p.setBrush(palette::kIvory);
  p.drawEllipse(c, 5.5, 5.5);
  p.setBrush(kRed);
  p.drawEllipse(c, 2.8, 2.8);
  p.restore();
}

void Dots(QPainter& p, int rank) {
  switch (rank) {
    case 1: BigDot(p); break;
    case 2:
      Dot(p, {30, 21}, 14, kGreen);
      Dot(p, {30, 59}, 14, kBlue);
      break;
    case 3:
      Dot(p, {15, 16}, 10.5, kBlue);
      Dot(p, {30, 40}, 10.5, kRed);
      Dot(p, {45, 64}, 10.5, kGreen);
      break;
    case 4:
      Dot(p, {17, 23}, 12, kBlue);
      Dot(p, {43, 23}, 12, kGreen);
      Dot(p, {17, 57}, 12, kGreen);
      Dot(p, {43, 57}, 12, kBlue);
      break;
    case 5:
      Dot(p, {15, 17}, 10.5, kBlue);
      Dot(p, {45, 17}, 10.5, kGreen);
      Dot(p, {15, 63}, 10.5, kGreen);
      Dot(p, {45, 63}, 10.5, kBlue);
      Dot(p, {30, 40}, 10.5, kRed);
      break;
    case 6:
      for (qreal x : {17.0, 43.0}) {
        Dot(p, {x, 15}, 9.5, kGreen);
        Dot(p, {x, 42}, 9.5, kRed);
        Dot(p, {x, 65}, 9.5, kRed);
      }
      break;
    case 7:
      Dot(p, {13, 11}, 7.5, kGreen);
      Dot(p, {30, 20}, 7.5, kGreen);
      Dot(p, {47, 29}, 7.5, kGreen);
      for (qreal x : {18.0, 42.0}) {
        Dot(p, {x, 48}, 9, kRed);
        Dot(p, {x, 68}, 9, kRed);
      }
      break;
    case 8:
      for (qreal x : {18.0, 42.0})
        for (qreal y : {13.0, 31.0, 49.0, 67.0}) Dot(p, {x, y}, 8.8, kBlue);
      break;
    case 9: {
      const QColor rows[] = {kBlue, kRed, kGreen};
      for (int row = 0; row < 3; ++row)
        for (qreal x : {13.0, 30.0, 47.0}) Dot(p, {x, 15.0 + 25 * row}, 8.3, rows[row]);
      break;
    }
  }
}

}  // namespace

void PaintFaceEngraving(QPainter& p, int pos) {
  p.save();
  if (pos <= 5) {
    Honour(p, pos);
  } else if (pos == 6) {
    WhiteDragon(p);
  } else if (pos >= 9 && pos <= 17) {
    Bamboo(p, pos - 8);
  } else if (pos >= 18 && pos <= 26) {
    Characters(p, pos - 17);
  } else if (pos >= 27 && pos <= 35) {
    Dots(p, pos - 26);
  }
  p.restore();
}

}  // namespace artgen
