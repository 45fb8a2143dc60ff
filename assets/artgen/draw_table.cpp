#include "draw_table.h"

#include <QPainter>
#include <QRadialGradient>
#include <QtMath>
#include <cstdint>

#include "art_style.h"

namespace artgen {

using namespace palette;
namespace v = tavrel::view;

namespace {

// Deterministic pixel noise in [0, 1): the same pack on every build.
double Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / double(0x1000000);
}

// Smooth value noise: hashed lattice values, bilinearly blended.
double ValueNoise(double x, double y, uint32_t seed) {
  const int xi = int(std::floor(x)), yi = int(std::floor(y));
  const double fx = x - xi, fy = y - yi;
  const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const double a = Hash(xi, yi, seed), b = Hash(xi + 1, yi, seed);
  const double c = Hash(xi, yi + 1, seed), d = Hash(xi + 1, yi + 1, seed);
  return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

// In design pixels, so that the grain looks the same in every pack.
void FeltTexture(QImage& image) {
  const int ratio = qRound(image.devicePixelRatio());
  const int w = LogicalWidth(image), h = LogicalHeight(image);
  for (int py = 0; py < image.height(); ++py) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(py));
    const int y = py / ratio;
    for (int px = 0; px < image.width(); ++px) {
      const int x = px / ratio;
      const double grain = Hash(x, y, 1) - 0.5;
      const double fibre = Hash(x / 3, y, 2) - 0.5;  // short horizontal fibres
      const double cloud = ValueNoise(x / 48.0, y / 48.0, 3) - 0.5;
      const double dx = (x - w / 2.0) / (w / 2.0), dy = (y - h / 2.0) / (h / 2.0);
      const double vignette = 1.0 - 0.22 * (dx * dx + dy * dy) * 0.5;
      const double f = vignette * (1.0 + 0.07 * grain + 0.04 * fibre + 0.08 * cloud);
      line[px] = qRgb(qBound(0, int(kFelt.red() * f), 255), qBound(0, int(kFelt.green() * f), 255),
                     qBound(0, int(kFelt.blue() * f), 255));
    }
  }
}

}  // namespace

QImage DrawTableBackground() {
  QImage image = NewOpaqueImage(v::kTableBackgroundSize.width, v::kTableBackgroundSize.height);
  FeltTexture(image);
  QPainter p(&image);
  SetupPainter(p);
  // The playing field inside the wall: a darker, softly edged area.
  const QRectF field(196, 176, 668, 392);
  for (int i = 0; i < 14; ++i) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 20, 6, 9));
    p.drawRoundedRect(field.adjusted(i, i, -i, -i), 60 - i, 60 - i);
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(236, 200, 120, 60), 1.5));
  p.drawRoundedRect(field.adjusted(20, 20, -20, -20), 44, 44);
  p.setPen(QPen(QColor(236, 200, 120, 30), 1.0));
  p.drawRoundedRect(field.adjusted(25, 25, -25, -25), 40, 40);
  return image;
}

QImage DrawWindowSkin() {
  const int w = v::kWindowSkinSize.width, h = v::kWindowSkinSize.height;
  const int b = v::kSkinBorder, title = v::kSkinTitleHeight, bottom = v::kSkinBottomPieceY;
  QImage image = NewOpaqueImage(w, h);
  image.fill(kFeltDark);
  QPainter p(&image);
  // Every strip varies only across its width so that it stretches cleanly.
  QLinearGradient top(0, 0, 0, title);
  top.setColorAt(0, kWoodLight);
  top.setColorAt(0.45, kWood);
  top.setColorAt(1, kWoodDark);
  p.fillRect(0, 0, w, title, top);
  for (int y = 2; y < title - 2; y += 3) p.fillRect(0, y, w, 1, QColor(60, 30, 10, 20 + (y * 37) % 30));
  QLinearGradient left(0, 0, b, 0);
  left.setColorAt(0, kWoodDark);
  left.setColorAt(0.5, kWood);
  left.setColorAt(1, kWoodLight);
  p.fillRect(0, title, b, bottom - title, left);
  QLinearGradient right(w - b, 0, w, 0);
  right.setColorAt(0, kWoodLight);
  right.setColorAt(0.5, kWood);
  right.setColorAt(1, kWoodDark);
  p.fillRect(w - b, title, b, bottom - title, right);
  QLinearGradient low(0, bottom, 0, h);
  low.setColorAt(0, kWoodLight);
  low.setColorAt(1, kWoodDark);
  p.fillRect(0, bottom, w, h - bottom, low);
  // Gold inlay along the inner edge, dark line along the outer edge.
  p.fillRect(0, title - 1, w, 1, kGold);
  p.fillRect(b - 1, title, 1, bottom - title, kGold);
  p.fillRect(w - b, title, 1, bottom - title, kGold);
  p.fillRect(0, bottom, w, 1, kGold);
  p.setPen(QColor(40, 20, 6));
  p.drawRect(0, 0, w - 1, h - 1);
  return image;
}

QImage DrawCompass(int ownSeat, v::PictureSize size) {
  // Clockwise from the bottom the winds run 北 东 南 西 (东 left of 北).
  static const char* const kClockwise[4] = {"北", "东", "南", "西"};
  static const int kBottomIndex[4] = {0, 3, 2, 1};  // own seat 0..3: 北 西 南 东
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  const QPointF c(size.width / 2.0, size.height / 2.0);
  const qreal r = qMin(size.width, size.height) / 2.0 - 1;
  QRadialGradient rim(c - QPointF(r * 0.3, r * 0.3), r * 1.4);
  rim.setColorAt(0, kGoldLight);
  rim.setColorAt(0.6, kGold);
  rim.setColorAt(1, kGoldDark);
  p.setPen(QPen(kWoodDark, 1));
  p.setBrush(rim);
  p.drawEllipse(c, r, r);
  QRadialGradient wood(c, r);
  wood.setColorAt(0, kWoodLight);
  wood.setColorAt(1, kWoodDark);
  p.setBrush(wood);
  p.setPen(Qt::NoPen);
  p.drawEllipse(c, r - 3, r - 3);
  QRadialGradient inner(c, r * 0.5);
  inner.setColorAt(0, kFelt.lighter(130));
  inner.setColorAt(1, kFeltDark);
  p.setBrush(inner);
  p.setPen(QPen(kGold, 1));
  p.drawEllipse(c, r * 0.42, r * 0.42);
  // A four-pointed star, its lower point (the own seat) in red.
  for (int i = 0; i < 4; ++i) {
    const qreal a = M_PI / 2 + i * M_PI / 2;  // bottom first, then clockwise
    const QPointF tip = c + QPointF(qCos(a), qSin(a)) * r * 0.38;
    const QPointF s1 = c + QPointF(qCos(a + M_PI / 2), qSin(a + M_PI / 2)) * r * 0.1;
    const QPointF s2 = c + QPointF(qCos(a - M_PI / 2), qSin(a - M_PI / 2)) * r * 0.1;
    p.setPen(Qt::NoPen);
    p.setBrush(i == 0 ? kRed : kGoldLight);
    p.drawPolygon(QPolygonF({tip, s1, c, s2}));
  }
  const int bottom = kBottomIndex[ownSeat];
  const qreal glyph = r * 0.44;
  for (int i = 0; i < 4; ++i) {
    const qreal a = M_PI / 2 + i * M_PI / 2;
    const QPointF at = c + QPointF(qCos(a), qSin(a)) * r * 0.7;
    const QRectF box(at.x() - glyph / 2, at.y() - glyph / 2, glyph, glyph);
    const QString wind = QString::fromUtf8(kClockwise[(bottom + i) % 4]);
    if (i == 0) {
      p.setPen(QPen(kGoldLight, 1));
      p.setBrush(kRed);
      p.drawEllipse(at, glyph * 0.72, glyph * 0.72);
      FillGlyph(p, FitPath(TextPath(wind), box), Qt::white, glyph * 0.06);
    } else {
      FillGlyph(p, FitPath(TextPath(wind), box), kIvory, glyph * 0.05);
    }
  }
  return image;
}

}  // namespace artgen
