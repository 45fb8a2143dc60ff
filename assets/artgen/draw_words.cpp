#include "draw_words.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "art_style.h"
#include "view/picture_catalogue.h"

namespace artgen {

using namespace palette;
namespace v = tavrel::view;

namespace {

// A rounded bubble body united with a triangular tail whose tip is `tip`.
QPainterPath BubblePath(const QRectF& body, QPointF tip, QPointF base1, QPointF base2) {
  QPainterPath path;
  path.addRoundedRect(body, body.height() * 0.32, body.height() * 0.32);
  QPainterPath tail;
  tail.moveTo(base1);
  tail.lineTo(tip);
  tail.lineTo(base2);
  tail.closeSubpath();
  return path.united(tail);
}

}  // namespace

QImage DrawClaimWord(int index) {
  const v::PictureSize size = v::kClaimWordSize;
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  // A light outer rim around the dark outline keeps the word readable on
  // felt, tiles and avatars alike.
  const QRectF box(7, 6, size.width - 14, size.height - 12);
  const QPainterPath word = FitPath(TextPath(QString::fromUtf8(v::kClaimWords[index])), box.adjusted(3, 3, -3, -3));
  p.setPen(QPen(QColor(255, 244, 200, 230), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(word);
  QLinearGradient gold(0, 8, 0, size.height - 8);
  gold.setColorAt(0, QColor(255, 250, 200));
  gold.setColorAt(0.5, kGold);
  gold.setColorAt(1, QColor(230, 140, 30));
  p.setPen(QPen(QColor(150, 20, 16), 5.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(150, 20, 16));
  p.drawPath(word);
  p.setPen(Qt::NoPen);
  p.setBrush(gold);
  p.drawPath(word);
  return image;
}

QImage DrawFollowDealerBubble(int seat) {
  const v::PictureSize size = v::kFollowDealerSize;
  QImage image = NewImage(size.width, size.height);
  QPainter p(&image);
  SetupPainter(p);
  const qreal w = size.width, h = size.height, t = 12;  // t: room for the tail
  QPainterPath bubble;
  QRectF body;
  if (seat == 1) {
    body = QRectF(t, 2, w - t - 2, h - 4);
    bubble = BubblePath(body, {1.5, h / 2}, {t + 4, h / 2 - 7}, {t + 4, h / 2 + 7});
  } else if (seat == 2) {
    body = QRectF(2, t, w - 4, h - t - 2);
    bubble = BubblePath(body, {w * 0.3, 1.5}, {w * 0.3 - 7, t + 4}, {w * 0.3 + 8, t + 4});
  } else {
    body = QRectF(2, 2, w - t - 2, h - 4);
    bubble = BubblePath(body, {w - 1.5, h / 2}, {w - t - 4, h / 2 - 7}, {w - t - 4, h / 2 + 7});
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 60));
  p.drawPath(bubble.translated(1, 1.5));
  p.setPen(QPen(kRed, 2));
  p.setBrush(QColor(255, 250, 236));
  p.drawPath(bubble);
  const QRectF text = body.adjusted(body.width() * 0.16, body.height() * 0.2, -body.width() * 0.16, -body.height() * 0.2);
  FillGlyph(p, FitPath(TextPath(QString::fromUtf8("跟庄")), text), kRed, 1.0);
  return image;
}

QImage DrawSpeakBox(int seat) {
  const v::PictureSize size = v::kSpeakBoxSize;
  const qreal w = size.width, h = size.height, t = 20;
  QPainterPath bubble;
  switch (seat) {
    case 0: bubble = BubblePath(QRectF(2, 2, w - 4, h - t - 2), {26, h - 2}, {30, h - t - 6}, {52, h - t - 6}); break;
    case 1: bubble = BubblePath(QRectF(t, 2, w - t - 2, h - 4), {2, 26}, {t + 6, 22}, {t + 6, 44}); break;
    case 2: bubble = BubblePath(QRectF(2, t, w - 4, h - t - 2), {40, 2}, {32, t + 6}, {56, t + 6}); break;
    default: bubble = BubblePath(QRectF(2, 2, w - t - 2, h - 4), {w - 2, 30}, {w - t - 6, 24}, {w - t - 6, 46}); break;
  }
  QImage art = NewImage(size.width, size.height);
  {
    QPainter p(&art);
    SetupPainter(p);
    p.setPen(QPen(QColor(96, 70, 36), 2.5));
    p.setBrush(QColor(255, 252, 240));
    p.drawPath(bubble);
    p.setPen(QPen(QColor(236, 200, 120), 1));
    p.setBrush(Qt::NoBrush);
    QTransform inset;
    inset.translate(w / 2, h / 2);
    inset.scale(0.96, 0.92);
    inset.translate(-w / 2, -h / 2);
    p.drawPath(inset.map(bubble));
  }
  // The window shape is cut along the key colour, so edges must be hard:
  // each pixel is either fully the bubble or exactly the key colour.
  const QRgb key = 0xFF000000u | v::kSpeakBoxKeyColour;
  QImage image = NewOpaqueImage(size.width, size.height);
  const QImage straight = art.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    const auto* src = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      QRgb c = qAlpha(src[x]) >= 128 ? (src[x] | 0xFF000000u) : key;
      if (c == key && qAlpha(src[x]) >= 128) c ^= 0x010000;  // never the key inside the bubble
      dst[x] = c;
    }
  }
  return image;
}

}  // namespace artgen
