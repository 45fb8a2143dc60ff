#include "draw_badges.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "art_style.h"
#include "draw_tiles.h"
#include "view/picture_catalogue.h"

namespace artgen {

using namespace palette;
namespace v = tavrel::view;

namespace {

QImage Canvas(int id) {
  const v::PictureInfo* info = v::FindPicture(id);
  return NewImage(info->width, info->height);
}

// Wooden plate with a gold rim: the common ground of the table's plaques.
void WoodPlate(QPainter& p, const QRectF& r, qreal radius) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, kWoodLight);
  g.setColorAt(0.5, kWood);
  g.setColorAt(1, kWoodDark);
  p.setPen(QPen(kGold, 1.5));
  p.setBrush(g);
  p.drawRoundedRect(r, radius, radius);
  p.setPen(QPen(QColor(255, 230, 170, 70), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(r.adjusted(2.5, 2.5, -2.5, -2.5), radius - 2, radius - 2);
}

// A dark recess where the client puts a label.
void Recess(QPainter& p, const QRectF& r) {
  p.setPen(QPen(kGoldDark, 1));
  p.setBrush(QColor(30, 18, 8, 200));
  p.drawRoundedRect(r, 4, 4);
}

void Coin(QPainter& p, QPointF c, qreal r) {
  QRadialGradient g(c - QPointF(r * 0.35, r * 0.35), r * 1.3);
  g.setColorAt(0, kGoldLight);
  g.setColorAt(0.7, kGold);
  g.setColorAt(1, kGoldDark);
  p.setPen(QPen(QColor(130, 80, 20), 1));
  p.setBrush(g);
  p.drawEllipse(c, r, r);
  p.setPen(QPen(QColor(150, 96, 24), 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(c.x() - r * 0.28, c.y() - r * 0.28, r * 0.56, r * 0.56));
}

void Word(QPainter& p, const char* text, const QRectF& box, const QColor& colour, qreal bold = 0.6) {
  FillGlyph(p, FitPath(TextPath(QString::fromUtf8(text)), box), colour, bold);
}

}  // namespace

QImage DrawReadyMark() {
  QImage image = Canvas(v::kPicReadyMark);
  QPainter p(&image);
  SetupPainter(p);
  const QRectF r(1, 1, LogicalWidth(image) - 2, LogicalHeight(image) - 2);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, QColor(90, 200, 110));
  g.setColorAt(1, QColor(20, 120, 50));
  p.setPen(QPen(QColor(230, 255, 230), 1.5));
  p.setBrush(g);
  p.drawRoundedRect(r, 13, 13);
  p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({{9, 15}, {14, 21}, {22, 9}}));
  OutlinedText(p, QString::fromUtf8("准备"), QRectF(25, 5, 35, 20), QColor(Qt::white), QColor(10, 80, 30), 1.2, false);
  return image;
}

QImage DrawDealerMarker() {
  QImage image = Canvas(v::kPicDealerMarker);
  QPainter p(&image);
  SetupPainter(p);
  const QPointF c(15, 15);
  p.setPen(QPen(kGoldDark, 1));
  p.setBrush(kGold);
  p.drawEllipse(c, 14, 14);
  QRadialGradient g(c - QPointF(3, 3), 14);
  g.setColorAt(0, QColor(240, 80, 70));
  g.setColorAt(1, QColor(150, 16, 20));
  p.setBrush(g);
  p.drawEllipse(c, 11.5, 11.5);
  Word(p, "庄", QRectF(7, 7, 16, 16), Qt::white, 0.8);
  return image;
}

QImage DrawDealerStreak() {
  // The wood starts kDealerStreakBodyLeft in, clear of the top seat's row; the name label
  // (at 8, 5) is centred over it, the count (at 52, 34) sits in its box before "连庄".
  QImage image = Canvas(v::kPicDealerStreak);
  QPainter p(&image);
  SetupPainter(p);
  // A pixel's margin more, so that the rim stays clear when the plaque is scaled down.
  const qreal left = v::kDealerStreakBodyLeft + 1;
  const QRectF body(left + 1, 0.5, LogicalWidth(image) - left - 1.5, LogicalHeight(image) - 1);
  WoodPlate(p, body, 8);
  Recess(p, QRectF(left + 4, 3, body.width() - 7, 22));
  const QPointF seal(left + 14, 41);
  p.setPen(QPen(kGold, 1));
  p.setBrush(QColor(176, 26, 30));
  p.drawEllipse(seal, 8.5, 8.5);
  Word(p, "庄", QRectF(seal.x() - 5.5, seal.y() - 5.5, 11, 11), Qt::white, 0.5);
  Recess(p, QRectF(50, 30, 44, 21));
  Word(p, "连庄", QRectF(97, 31, LogicalWidth(image) - 101, 19), kGoldLight);
  return image;
}

QImage DrawCountdownClock() {
  QImage image = Canvas(v::kPicCountdownClock);
  QPainter p(&image);
  SetupPainter(p);
  WoodPlate(p, QRectF(1, 1, LogicalWidth(image) - 2, LogicalHeight(image) - 2), 8);
  // Alarm clock: bells, face, hands.
  const QPointF c(22, 20);
  p.setPen(QPen(kWoodDark, 1));
  p.setBrush(kGold);
  p.drawEllipse(QPointF(13, 9), 5, 4);
  p.drawEllipse(QPointF(31, 9), 5, 4);
  p.setBrush(QColor(200, 40, 36));
  p.drawEllipse(c, 13, 13);
  p.setBrush(kIvory);
  p.drawEllipse(c, 10, 10);
  p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c, c + QPointF(0, -7));
  p.drawLine(c, c + QPointF(5, 2));
  for (int i = 0; i < 12; ++i) {
    const qreal a = i * M_PI / 6;
    p.setPen(QPen(kInk, i % 3 ? 0.6 : 1.2));
    p.drawLine(c + QPointF(qCos(a), qSin(a)) * 8.5, c + QPointF(qCos(a), qSin(a)) * 9.6);
  }
  Recess(p, QRectF(45, 3, 32, 32));  // the seconds at (48, 5)
  return image;
}

QImage DrawBank() {
  QImage image = Canvas(v::kPicBank);
  QPainter p(&image);
  SetupPainter(p);
  WoodPlate(p, QRectF(1, 1, LogicalWidth(image) - 2, LogicalHeight(image) - 2), 9);
  Coin(p, QPointF(17, 23), 9);
  Coin(p, QPointF(20, 16), 9);
  OutlinedText(p, QString::fromUtf8("银行"), QRectF(33, 8, 42, 22), kGoldLight, kWoodDark, 1.2, false);
  return image;
}

QImage DrawPlatformLogo() {
  QImage image = Canvas(v::kPicPlatformLogo);
  QPainter p(&image);
  SetupPainter(p);
  const QPointF c(41, 38);
  p.setPen(QPen(kGoldDark, 1.5));
  p.setBrush(kGold);
  p.drawEllipse(c, 36, 36);
  QRadialGradient sky(c - QPointF(8, 10), 40);
  sky.setColorAt(0, QColor(150, 210, 250));
  sky.setColorAt(1, QColor(40, 110, 190));
  p.setBrush(sky);
  p.drawEllipse(c, 31, 31);
  // A swallow in flight.
  QPainterPath bird;
  bird.moveTo(14, 30);
  bird.cubicTo(26, 28, 34, 34, 40, 40);
  bird.cubicTo(46, 26, 56, 18, 70, 16);
  bird.cubicTo(58, 26, 52, 36, 48, 46);
  bird.lineTo(58, 58);
  bird.lineTo(46, 52);
  bird.lineTo(40, 60);
  bird.lineTo(40, 48);
  bird.cubicTo(32, 40, 24, 34, 14, 30);
  p.setPen(QPen(QColor(20, 40, 80), 1.2));
  p.setBrush(Qt::white);
  p.drawPath(bird);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 40, 40));
  p.drawEllipse(QPointF(44, 44), 2.2, 2.2);
  QPainterPath ribbon;
  ribbon.addRoundedRect(QRectF(12, 62, 58, 16), 6, 6);
  p.setPen(QPen(kGoldDark, 1));
  p.setBrush(QColor(180, 30, 30));
  p.drawPath(ribbon);
  Word(p, "Virel山庄", QRectF(16, 64, 50, 12), kGoldLight, 0.3);
  return image;
}

QImage DrawRuleLabelBack() {
  QImage image = Canvas(v::kPicRuleLabelBack);
  QPainter p(&image);
  SetupPainter(p);
  p.setPen(QPen(QColor(236, 192, 96, 200), 1));
  p.setBrush(QColor(10, 40, 20, 150));
  p.drawRoundedRect(QRectF(0.5, 0.5, LogicalWidth(image) - 1, LogicalHeight(image) - 1), 8, 8);
  return image;
}

QImage DrawDiceMultiplier() {
  QImage image = Canvas(v::kPicDiceMultiplier);
  QPainter p(&image);
  SetupPainter(p);
  QLinearGradient g(0, 0, 0, LogicalHeight(image));
  g.setColorAt(0, QColor(230, 70, 60));
  g.setColorAt(1, QColor(140, 16, 20));
  p.setPen(QPen(kGold, 1.5));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(1, 1, LogicalWidth(image) - 2, LogicalHeight(image) - 2), 6, 6);
  OutlinedText(p, QString::fromUtf8("加倍"), QRectF(5, 4, LogicalWidth(image) - 10, LogicalHeight(image) - 8), kGoldLight,
               QColor(100, 10, 10), 1.0, false);
  return image;
}

QImage DrawWealthMultiplier() {
  QImage image = Canvas(v::kPicWealthMultiplier);
  QPainter p(&image);
  SetupPainter(p);
  QLinearGradient g(0, 0, 0, LogicalHeight(image));
  g.setColorAt(0, QColor(70, 150, 90));
  g.setColorAt(1, QColor(16, 80, 40));
  p.setPen(QPen(kGold, 1.5));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(1, 1, LogicalWidth(image) - 2, LogicalHeight(image) - 2), 6, 6);
  Coin(p, QPointF(12, 17), 8);
  OutlinedText(p, QString::fromUtf8("财富"), QRectF(21, 7, 28, 20), kGoldLight, QColor(10, 50, 20), 1.0, false);
  return image;
}

QImage DrawWildTileLabel() {
  // Transparent above and left of its wood: that corner belongs to the dealer-streak plaque
  // and the top seat's row. The wild tile lies in the slot at (20, 59), the word below it.
  QImage image = Canvas(v::kPicWildTileLabel);
  QPainter p(&image);
  SetupPainter(p);
  const qreal left = v::kWildTilePlaqueLeft, top = v::kWildTilePlaqueTop;
  WoodPlate(p, QRectF(left + 0.5, top + 0.5, LogicalWidth(image) - left - 1, LogicalHeight(image) - top - 1), 8);
  Recess(p, QRectF(18.5, 57.5, 39, 59));
  OutlinedText(p, QString::fromUtf8("混牌"), QRectF(left + 5, 119, LogicalWidth(image) - left - 10, 23), kGoldLight,
               kWoodDark, 1.2);
  return image;
}

QImage DrawSeatChange() {
  QImage image = Canvas(v::kPicSeatChange);
  QPainter p(&image);
  SetupPainter(p);
  const QRectF r(1, 1, LogicalWidth(image) - 2, LogicalHeight(image) - 2);
  QLinearGradient g(r.topLeft(), r.topRight());
  g.setColorAt(0, QColor(40, 24, 10, 230));
  g.setColorAt(0.7, QColor(110, 66, 28, 230));
  g.setColorAt(1, QColor(150, 96, 40, 230));
  p.setPen(QPen(kGold, 1.5));
  p.setBrush(g);
  p.drawRoundedRect(r, 12, 12);
  // Two chasing arrows: the seats trade places. The caption sits on the left.
  const QPointF c(LogicalWidth(image) - 26.0, LogicalHeight(image) / 2.0);
  p.setPen(QPen(kGoldLight, 3, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  const QRectF ring(c.x() - 12, c.y() - 12, 24, 24);
  p.drawArc(ring, 30 * 16, 130 * 16);
  p.drawArc(ring, 210 * 16, 130 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kGoldLight);
  auto Head = [&](qreal degrees) {
    const qreal a = qDegreesToRadians(-degrees);
    const QPointF at = c + QPointF(qCos(a), qSin(a)) * 12;
    const QPointF along(-qSin(a), qCos(a));  // clockwise tangent on screen
    const QPointF out(qCos(a), qSin(a));
    p.drawPolygon(QPolygonF({at + along * 6, at - along * 1 + out * 5, at - along * 1 - out * 5}));
  };
  Head(30);
  Head(210);
  return image;
}

QImage DrawHandPointer() {
  QImage image = Canvas(v::kPicHandPointer);
  QPainter p(&image);
  SetupPainter(p);
  // A white glove pointing up; the tip of the index finger is the hot spot.
  QPainterPath hand;
  hand.addRoundedRect(QRectF(10, 1, 6, 19), 3, 3);
  hand.addRoundedRect(QRectF(9, 13, 19, 17), 5.5, 5.5);
  for (const QPointF& knuckle : {QPointF(18.6, 14.5), QPointF(22.6, 15.2), QPointF(26, 16.6)})
    hand.addEllipse(knuckle, 2.6, 2.6);
  QPainterPath thumb;
  thumb.moveTo(10.5, 18.5);
  thumb.cubicTo(7, 15.5, 3, 16, 3.5, 19);
  thumb.cubicTo(4.5, 22, 7, 25.5, 10.5, 28);
  thumb.closeSubpath();
  hand = hand.united(thumb).simplified();
  p.setPen(QPen(QColor(30, 30, 30), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPath(hand);
  p.setPen(QPen(QColor(150, 150, 150), 1, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(20.6, 16.5), QPointF(20.6, 19.5));
  p.drawLine(QPointF(24.4, 17.5), QPointF(24.4, 20));
  return image;
}

QImage DrawWindowIcon() {
  QImage image = Canvas(v::kPicWindowIcon);
  QPainter p(&image);
  SetupPainter(p);
  // The red dragon tile, standing.
  const QImage tile = DrawTile(v::kTileSetOwnStanding, 4);
  p.drawImage(QRectF(6, 1, 20.5, 30), tile);
  return image;
}

QImage DrawAppIcon(int pixels) {
  QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  SetupPainter(p);
  const qreal n = pixels;
  const QRectF disc(n * 0.02, n * 0.02, n * 0.96, n * 0.96);
  QRadialGradient felt(disc.center() - QPointF(n * 0.12, n * 0.12), n * 0.62);
  felt.setColorAt(0, palette::kFelt.lighter(125));
  felt.setColorAt(1, palette::kFeltDark);
  p.setPen(QPen(palette::kGoldDark, qMax<qreal>(1.0, n / 48)));
  p.setBrush(felt);
  p.drawEllipse(disc);
  // The tile at the icon's own pixels, never a resampled picture.
  const int tileHeight = qRound(n * 0.74), tileWidth = qRound(tileHeight * 50.0 / 77.0);
  const QImage tile = DrawTile(v::kTileSetOwnStanding, 4, QSize(tileWidth, tileHeight));
  p.drawImage(QPointF((n - tileWidth) / 2, (n - tileHeight) / 2), tile);
  return image;
}

}  // namespace artgen
