#include "draw_dice.h"

#include <QPainter>
#include <QTransform>
#include <QtMath>
#include <array>

#include "art_style.h"

namespace artgen {

namespace v = tavrel::view;

namespace {

const QColor kPipInk(26, 28, 44);

// A die face in unit coordinates (0..1 square). Ones and fours are red.
void PaintFace(QPainter& p, int pips, bool rounded) {
  static const QPointF kSpots[7][6] = {
      {},
      {{0.5, 0.5}},
      {{0.27, 0.27}, {0.73, 0.73}},
      {{0.25, 0.25}, {0.5, 0.5}, {0.75, 0.75}},
      {{0.28, 0.28}, {0.72, 0.28}, {0.28, 0.72}, {0.72, 0.72}},
      {{0.25, 0.25}, {0.75, 0.25}, {0.5, 0.5}, {0.25, 0.75}, {0.75, 0.75}},
      {{0.28, 0.23}, {0.72, 0.23}, {0.28, 0.5}, {0.72, 0.5}, {0.28, 0.77}, {0.72, 0.77}}};
  QLinearGradient g(0, 0, 1, 1);
  g.setColorAt(0, QColor(255, 255, 252));
  g.setColorAt(1, QColor(226, 222, 210));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  if (rounded) {
    p.drawRoundedRect(QRectF(0.02, 0.02, 0.96, 0.96), 0.2, 0.2);
  } else {
    p.drawRect(QRectF(0, 0, 1, 1));
  }
  const bool red = pips == 1 || pips == 4;
  const qreal r = pips == 1 ? 0.17 : 0.095;
  for (int i = 0; i < pips; ++i) {
    const QPointF c = kSpots[pips][i];
    QRadialGradient pip(c - QPointF(r * 0.3, r * 0.3), r * 1.3);
    const QColor ink = red ? palette::kRed : kPipInk;
    pip.setColorAt(0, ink.lighter(160));
    pip.setColorAt(1, ink);
    p.setBrush(pip);
    p.drawEllipse(c, r, r);
  }
}

struct Vec {
  double x, y, z;
};

Vec Rotate(Vec a, double rx, double ry, double rz) {
  Vec b{a.x, a.y * std::cos(rx) - a.z * std::sin(rx), a.y * std::sin(rx) + a.z * std::cos(rx)};
  Vec c{b.x * std::cos(ry) + b.z * std::sin(ry), b.y, -b.x * std::sin(ry) + b.z * std::cos(ry)};
  return {c.x * std::cos(rz) - c.y * std::sin(rz), c.x * std::sin(rz) + c.y * std::cos(rz), c.z};
}

Vec Add(Vec a, Vec b, double sb, Vec c, double sc) {
  return {a.x + b.x * sb + c.x * sc, a.y + b.y * sb + c.y * sc, a.z + b.z * sb + c.z * sc};
}

}  // namespace

QImage DrawDieFace(int pips, v::PictureSize size) {
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  const QRectF area(0.5, 0.5, size.width - 1.5, size.height - 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 60));
  p.drawRoundedRect(area.translated(1, 1), size.width * 0.2, size.height * 0.2);
  p.save();
  p.translate(area.topLeft());
  p.scale(area.width(), area.height());
  PaintFace(p, pips, true);
  p.restore();
  p.setPen(QPen(QColor(120, 112, 96), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(area, size.width * 0.19, size.height * 0.19);
  return image;
}

// A die in mid-air: a cube turned a different way in every frame, lit from
// the upper left, with its shadow on the felt.
QImage DrawTumblingDie(int frame) {
  struct Face {
    Vec normal, u, v;
    int pips;
  };
  const std::array<Face, 6> faces{{{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, 1},
                                   {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}, 6},
                                   {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}, 2},
                                   {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}, 5},
                                   {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}, 3},
                                   {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}, 4}}};
  const double rx = qDegreesToRadians(28.0 + frame * 41), ry = qDegreesToRadians(35.0 + frame * 67),
               rz = qDegreesToRadians(12.0 + frame * 29);
  const v::PictureSize size = v::kDieSize;
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  const QPointF centre(size.width / 2.0, size.height / 2.0 - 1);
  const double half = 10.8;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 50));
  p.drawEllipse(QPointF(centre.x() + 2, size.height - 5.0), 12, 3.5);
  const Vec light{-0.45, -0.6, 0.66};
  for (const Face& face : faces) {
    const Vec n = Rotate(face.normal, rx, ry, rz);
    if (n.z <= 0.02) continue;
    const Vec u = Rotate(face.u, rx, ry, rz), w = Rotate(face.v, rx, ry, rz);
    const Vec corners[4] = {Add(n, u, -1, w, -1), Add(n, u, 1, w, -1), Add(n, u, 1, w, 1), Add(n, u, -1, w, 1)};
    QPolygonF quad;
    for (const Vec& c : corners) quad << centre + QPointF(c.x, c.y) * half;
    QTransform map;
    const QPolygonF unit({QPointF(0, 0), QPointF(1, 0), QPointF(1, 1), QPointF(0, 1)});
    if (!QTransform::quadToQuad(unit, quad, map)) continue;
    p.save();
    p.setTransform(map, true);
    PaintFace(p, face.pips, false);
    p.restore();
    const double lit = qBound(0.0, n.x * light.x + n.y * light.y + n.z * light.z, 1.0);
    p.setPen(QPen(QColor(110, 100, 86), 0.8));
    p.setBrush(QColor(20, 16, 10, int(110 * (1 - lit))));
    p.drawPolygon(quad);
  }
  return image;
}

}  // namespace artgen
