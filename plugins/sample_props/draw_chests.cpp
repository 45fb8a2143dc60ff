// sample-props-art: draws the sample plug-in's two chest pictures (closed, open with
// its gold) into the picture pack: sample-props-art --out <program dir>/pictures
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <cstring>

#include "sample_protocol.h"

namespace {

namespace sp = tavrel::sample_props;

const QColor kWood(150, 86, 38), kWoodDark(88, 46, 18), kWoodLight(196, 128, 64);
const QColor kBand(214, 170, 60), kBandDark(140, 100, 28), kGold(255, 214, 90);

void Band(QPainter& p, const QRectF& r) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, kBand.lighter(125));
  g.setColorAt(1, kBandDark);
  p.setPen(QPen(kBandDark, 1));
  p.setBrush(g);
  p.drawRect(r);
}

void Body(QPainter& p) {
  const QRectF body(4, 24, 56, 29);
  QLinearGradient wood(body.topLeft(), body.bottomLeft());
  wood.setColorAt(0, kWoodLight);
  wood.setColorAt(1, kWoodDark);
  p.setPen(QPen(kWoodDark, 1.5));
  p.setBrush(wood);
  p.drawRoundedRect(body, 3, 3);
  Band(p, QRectF(4, 24, 56, 4));
  Band(p, QRectF(12, 24, 5, 29));
  Band(p, QRectF(47, 24, 5, 29));
}

QImage Closed() {
  QImage image(sp::kChestWidth, sp::kChestHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  Body(p);
  // The domed lid.
  QPainterPath lid;
  lid.moveTo(4, 25);
  lid.lineTo(4, 16);
  lid.cubicTo(4, 4, 60, 4, 60, 16);
  lid.lineTo(60, 25);
  lid.closeSubpath();
  QLinearGradient wood(QPointF(0, 6), QPointF(0, 25));
  wood.setColorAt(0, kWoodLight.lighter(110));
  wood.setColorAt(1, kWood);
  p.setPen(QPen(kWoodDark, 1.5));
  p.setBrush(wood);
  p.drawPath(lid);
  Band(p, QRectF(12, 9, 5, 16));
  Band(p, QRectF(47, 9, 5, 16));
  // The lock.
  p.setBrush(kGold);
  p.setPen(QPen(kBandDark, 1));
  p.drawRoundedRect(QRectF(27, 19, 10, 12), 2, 2);
  p.setBrush(kWoodDark);
  p.drawEllipse(QPointF(32, 24), 1.6, 1.6);
  return image;
}

QImage Open() {
  QImage image(sp::kChestWidth, sp::kChestHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // The lid thrown back.
  QLinearGradient wood(QPointF(0, 0), QPointF(0, 14));
  wood.setColorAt(0, kWoodDark);
  wood.setColorAt(1, kWood);
  p.setPen(QPen(kWoodDark, 1.5));
  p.setBrush(wood);
  p.drawRoundedRect(QRectF(6, 1, 52, 13), 3, 3);
  // A glow and a heap of gold.
  QRadialGradient glow(QPointF(32, 22), 26);
  glow.setColorAt(0, QColor(255, 240, 150, 230));
  glow.setColorAt(1, QColor(255, 240, 150, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(QPointF(32, 22), 28, 18);
  for (int i = 0; i < 9; ++i) {
    const QPointF c(14 + (i % 5) * 9 + (i / 5) * 4, 22 - (i / 5) * 4 - (i % 2));
    p.setPen(QPen(kBandDark, 1));
    p.setBrush(kGold);
    p.drawEllipse(c, 5, 3.5);
  }
  Body(p);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const char* out = nullptr;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--out") == 0) out = argv[i + 1];
  if (!out) {
    std::fprintf(stderr, "usage: sample-props-art --out FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(out);
  const bool ok = Closed().save(folder + QStringLiteral("/%1.png").arg(sp::kPicChestClosed)) &&
                  Open().save(folder + QStringLiteral("/%1.png").arg(sp::kPicChestOpen));
  if (!ok) std::fprintf(stderr, "sample-props-art: cannot write into %s\n", out);
  return ok ? 0 : 1;
}
