#include "draw_controls.h"

#include <QPainter>

#include "art_style.h"
#include "view/picture_catalogue.h"

namespace artgen {

using namespace palette;
namespace v = tavrel::view;

namespace {

struct ButtonLook {
  QColor top, middle, bottom, border, text, textOutline;
  bool glow;
};

const ButtonLook kGoldNormal{{246, 214, 130}, {206, 146, 56}, {140, 88, 30}, {90, 52, 16},
                             {74, 38, 8}, {255, 236, 180, 160}, false};
const ButtonLook kGoldHover{{255, 240, 180}, {236, 178, 78}, {172, 110, 36}, {110, 64, 18},
                            {255, 255, 255}, {110, 54, 10}, true};

void PlateButton(QPainter& p, const QRectF& area, const QString& text, const ButtonLook& look, qreal textHeight) {
  const qreal radius = area.height() * 0.22;
  if (look.glow) {
    p.setPen(QPen(QColor(255, 230, 140, 90), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(area.adjusted(-0.5, -0.5, 0.5, 0.5), radius + 1, radius + 1);
  }
  const QRectF body = area.adjusted(1, 1, -1, -1);
  QLinearGradient g(body.topLeft(), body.bottomLeft());
  g.setColorAt(0, look.top);
  g.setColorAt(0.5, look.middle);
  g.setColorAt(1, look.bottom);
  p.setPen(QPen(look.border, 1));
  p.setBrush(g);
  p.drawRoundedRect(body, radius, radius);
  p.setPen(QPen(QColor(255, 255, 255, 110), 1));
  p.drawLine(QPointF(body.left() + radius, body.top() + 1.5), QPointF(body.right() - radius, body.top() + 1.5));
  const qreal width = body.width() - body.height() * 0.45;
  const QRectF textBox(body.center().x() - width / 2, body.center().y() - textHeight / 2, width, textHeight);
  const QPainterPath glyphs = FitPath(TextPath(text), textBox);
  p.setPen(QPen(look.textOutline, textHeight * 0.16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(look.textOutline);
  p.drawPath(glyphs.translated(0, look.glow ? 0 : 0.6));
  FillGlyph(p, glyphs, look.text, textHeight * 0.03);
}

}  // namespace

QImage DrawWindowButton(int index, bool hover, bool small) {
  const v::PictureSize size = small ? v::kSmallWindowButtonSize : index == 0 ? v::kSendButtonSize : v::kWindowButtonSize;
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  PlateButton(p, QRectF(0, 0, size.width, size.height), QString::fromUtf8(v::kWindowButtonNames[index]),
              hover ? kGoldHover : kGoldNormal, size.height * 0.5);
  return image;
}

QImage DrawPhraseButton(int index) {
  const v::PictureSize size = v::kPhraseButtonSizes[index];
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  PlateButton(p, QRectF(0, 0, size.width, size.height), QString::fromUtf8(v::kPhraseButtonWords[index]), kGoldNormal,
              size.height * 0.5);
  return image;
}

QImage DrawDialogButton(int index) {
  static const char* const kWords[v::kDialogButtonCount] = {"确定", "确定", "取消", "取消",
                                                            "关闭", "开启", "普通话", "本地话"};
  const bool hover = index == 1 || index == 3;
  const v::PictureSize size = v::kDialogButtonSize;
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  const QRectF area(0, 0, size.width, size.height);
  if (index == 4 || index == 5) {
    // Switch pictures: a lamp shows the state beside the word.
    PlateButton(p, area.adjusted(0, 0, 0, 0), QString(), kGoldNormal, 1);
    const QPointF lamp(size.height * 0.55, size.height / 2.0);
    p.setPen(QPen(kWoodDark, 1));
    p.setBrush(index == 5 ? QColor(60, 220, 90) : QColor(130, 130, 130));
    p.drawEllipse(lamp, size.height * 0.2, size.height * 0.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(lamp - QPointF(1.5, 1.5), 1.6, 1.6);
    const QRectF word(size.height, size.height * 0.22, size.width - size.height * 1.25, size.height * 0.56);
    FillGlyph(p, FitPath(TextPath(QString::fromUtf8(kWords[index])), word), kGoldNormal.text, 0.5);
    return image;
  }
  PlateButton(p, area, QString::fromUtf8(kWords[index]), hover ? kGoldHover : kGoldNormal, size.height * 0.5);
  return image;
}

QImage DrawOfferButton(int button, int state) {
  const v::PictureSize size = v::kOfferButtonSize;
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  const bool pass = button == 4;
  const QColor lacquer = pass ? QColor(24, 140, 110) : QColor(206, 40, 36);
  QRectF body(1.5, 1.5, size.width - 3, size.height - 3);
  if (state == v::kOfferPressed) body.translate(0.5, 1);
  QLinearGradient g(body.topLeft(), body.bottomRight());
  QColor border = kGold, word = kGoldLight, outline = QColor(90, 20, 10);
  if (state == v::kOfferNormal) {
    g.setColorAt(0, QColor(150, 140, 126));
    g.setColorAt(1, QColor(96, 88, 78));
    border = QColor(170, 160, 140);
    word = QColor(226, 220, 204);
    outline = QColor(70, 64, 56);
  } else {
    const QColor base = state == v::kOfferPressed ? lacquer.darker(140) : lacquer;
    g.setColorAt(0, base.lighter(140));
    g.setColorAt(0.5, base);
    g.setColorAt(1, base.darker(160));
    if (pass) outline = QColor(10, 60, 50);
  }
  if (state == v::kOfferLive) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 120, 80));
    p.drawRoundedRect(QRectF(0, 0, size.width, size.height), 9, 9);
  }
  p.setPen(QPen(border, 2));
  p.setBrush(g);
  p.drawRoundedRect(body, 7, 7);
  p.setPen(QPen(QColor(255, 255, 255, state == v::kOfferNormal ? 60 : 110), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(body.adjusted(3, 3, -3, -3), 5, 5);
  const QRectF wordBox = body.adjusted(6, 12, -6, -12);
  OutlinedText(p, QString::fromUtf8(v::kOfferWords[button]), wordBox, word, outline, 1.6,
               state != v::kOfferNormal);
  return image;
}

QImage DrawTitleButton(bool close, int state) {
  const v::PictureSize size = v::kTitleButtonSize;
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  QColor base = close ? QColor(196, 46, 36) : kWoodLight;
  if (state == 1) base = base.lighter(125);
  if (state == 2) base = base.darker(135);
  QRectF body(0.5, 0.5, size.width - 1, size.height - 1);
  QLinearGradient g(body.topLeft(), body.bottomLeft());
  g.setColorAt(0, base.lighter(135));
  g.setColorAt(1, base.darker(130));
  p.setPen(QPen(state == 1 ? kGoldLight : kGoldDark, 1));
  p.setBrush(g);
  p.drawRoundedRect(body, 3, 3);
  const QPointF shift = state == 2 ? QPointF(0.5, 0.5) : QPointF();
  const QPointF c = body.center() + shift;
  p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
  if (close) {
    p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
    p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
  } else {
    p.drawLine(c + QPointF(-4.5, 3), c + QPointF(4.5, 3));
  }
  return image;
}

}  // namespace artgen
