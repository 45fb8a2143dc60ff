#include "draw_tiles.h"

#include <QLinearGradient>
#include <QPainter>

#include "art_style.h"
#include "tile_faces.h"
#include "view/picture_catalogue.h"

namespace artgen {
namespace {

using namespace palette;
using tavrel::view::TilePictureSize;

// How far each set's faces are turned (clockwise degrees): the bottom of the
// engraving points at the player who owns the tile.
constexpr int kTurn[tavrel::view::kTileSetCount] = {0, 90, 180, 270, 0};

qreal Radius(const QRectF& r) { return qMin(r.width(), r.height()) * 0.13; }

void FillRounded(QPainter& p, const QRectF& r, const QBrush& brush, qreal radius) {
  p.setPen(Qt::NoPen);
  p.setBrush(brush);
  p.drawRoundedRect(r, radius, radius);
}

void Outline(QPainter& p, const QRectF& r, qreal radius, const QColor& colour = kTileEdge, qreal width = 1.0) {
  p.setPen(QPen(colour, width));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(r, radius, radius);
}

QLinearGradient IvoryGradient(const QRectF& r) {
  QLinearGradient g(r.topLeft(), r.bottomRight());
  g.setColorAt(0, QColor(255, 252, 240));
  g.setColorAt(0.6, kIvory);
  g.setColorAt(1, kIvoryShade);
  return g;
}

QLinearGradient BackGradient(const QRectF& r) {
  QLinearGradient g(r.topLeft(), r.bottomRight());
  g.setColorAt(0, kBackLight);
  g.setColorAt(0.45, kBack);
  g.setColorAt(1, kBackDark);
  return g;
}

// A soft raised panel on a tile back so that backs read as backs, not blanks.
void BackPanel(QPainter& p, const QRectF& surface) {
  const QRectF inner = surface.adjusted(surface.width() * 0.16, surface.height() * 0.16,
                                        -surface.width() * 0.16, -surface.height() * 0.16);
  const qreal r = Radius(inner);
  p.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
  p.setBrush(QColor(255, 255, 255, 22));
  p.drawRoundedRect(inner, r, r);
  p.setPen(QPen(QColor(0, 0, 0, 50), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(inner.translated(0.8, 0.8), r, r);
}

void PaintEngraving(QPainter& p, const QRectF& face, int turn, int pos) {
  p.save();
  p.translate(face.center());
  p.rotate(turn);
  if (turn % 180 == 0) {
    p.scale(face.width() / kFaceWidth, face.height() / kFaceHeight);
  } else {
    p.scale(face.height() / kFaceWidth, face.width() / kFaceHeight);
  }
  p.translate(-kFaceWidth / 2, -kFaceHeight / 2);
  PaintFaceEngraving(p, pos);
  p.restore();
}

// Face up on the table, seen from the front: the face, then the tile's front
// side below it (ivory face layer over the coloured back layer).
void LyingFace(QPainter& p, QSizeF size, int turn, int pos) {
  const QRectF body(0.5, 0.5, size.width() - 1, size.height() - 1);
  const qreal depth = qRound(size.height() * 0.16);
  const qreal r = Radius(body);
  FillRounded(p, body, BackGradient(body), r);
  FillRounded(p, body.adjusted(0, 0, 0, -depth * 0.5), kIvorySide, r);
  const QRectF top = body.adjusted(0, 0, 0, -depth);
  FillRounded(p, top, IvoryGradient(top), r);
  Outline(p, top, r, QColor(120, 100, 70, 120), 0.8);
  Outline(p, body, r);
  PaintEngraving(p, top.adjusted(2, 2, -2, -2), turn, pos);
}

// Standing in the own hand, seen from the front and a little from above: a
// narrow strip of the top shows the coloured back layer behind the face.
void StandingFace(QPainter& p, QSizeF size, int pos) {
  const QRectF body(0.5, 0.5, size.width() - 1, size.height() - 1);
  const qreal strip = qRound(size.height() * 0.1);
  const qreal r = Radius(body);
  FillRounded(p, body, BackGradient(body), r);
  FillRounded(p, body.adjusted(0, strip * 0.5, 0, 0), kIvorySide, r);
  const QRectF face = body.adjusted(0, strip, 0, 0);
  FillRounded(p, face, IvoryGradient(face), r);
  Outline(p, face, r, QColor(120, 100, 70, 120), 0.8);
  Outline(p, body, r);
  PaintEngraving(p, face.adjusted(2, 2, -2, -3), 0, pos);
}

// Standing with its back to the viewer: the face layer shows only as the far
// strip of the top.
void StandingBack(QPainter& p, QSizeF size) {
  const QRectF body(0.5, 0.5, size.width() - 1, size.height() - 1);
  const qreal strip = qMax<qreal>(4, qRound(size.height() * 0.1));
  const qreal r = Radius(body);
  FillRounded(p, body, kIvorySide, r);
  FillRounded(p, body.adjusted(0, strip * 0.5, 0, 0), kBackDark, r);
  const QRectF back = body.adjusted(0, strip, 0, 0);
  FillRounded(p, back, BackGradient(back), r);
  BackPanel(p, back);
  Outline(p, body, r);
}

// A standing tile of the left or right seat seen from its side: ivory face
// layer toward its owner, coloured back toward the table centre.
void StandingSide(QPainter& p, QSizeF size, bool faceOnLeft) {
  const QRectF body(0.5, 0.5, size.width() - 1, size.height() - 1);
  const qreal r = Radius(body);
  const qreal ivory = qRound(size.width() * 0.3);
  FillRounded(p, body, kIvorySide, r);
  const QRectF back = faceOnLeft ? body.adjusted(ivory, 0, 0, 0) : body.adjusted(0, 0, -ivory, 0);
  FillRounded(p, back, BackGradient(back), r);
  const QRectF face = faceOnLeft ? QRectF(body.left(), body.top(), ivory, body.height())
                                 : QRectF(body.right() - ivory, body.top(), ivory, body.height());
  QLinearGradient g(face.topLeft(), face.topRight());
  g.setColorAt(faceOnLeft ? 0 : 1, kIvory);
  g.setColorAt(faceOnLeft ? 1 : 0, kIvoryShade);
  FillRounded(p, face.adjusted(0, 0, 0, -1), g, r * 0.7);
  BackPanel(p, back);
  p.setPen(QPen(QColor(0, 0, 0, 60), 1));
  p.drawLine(QPointF(body.left() + 2, body.bottom() - 2.5), QPointF(body.right() - 2, body.bottom() - 2.5));
  Outline(p, body, r);
}

// Face down on the table: the coloured back on top, the front side shows the
// back layer over the ivory face layer.
void LyingBack(QPainter& p, QSizeF size) {
  const QRectF body(0.5, 0.5, size.width() - 1, size.height() - 1);
  const qreal depth = qRound(size.height() * 0.16);
  const qreal r = Radius(body);
  FillRounded(p, body, kIvorySide, r);
  FillRounded(p, body.adjusted(0, 0, 0, -depth * 0.5), kBackDark, r);
  const QRectF top = body.adjusted(0, 0, 0, -depth);
  FillRounded(p, top, BackGradient(top), r);
  BackPanel(p, top);
  Outline(p, body, r);
}

}  // namespace

QImage DrawTile(int set, int pos) {
  const auto size = TilePictureSize(set, pos);
  return DrawTile(set, pos, QSize(size.width, size.height));
}

QImage DrawTile(int set, int pos, QSize size) {
  QImage image = NewImage(size.width(), size.height());
  QPainter p(&image);
  SetupPainter(p);
  const QSizeF s(size);
  if (pos == tavrel::view::kTilePosStandingBack) {
    if (set == tavrel::view::kTileSetLeft || set == tavrel::view::kTileSetRight) {
      StandingSide(p, s, set == tavrel::view::kTileSetLeft);
    } else {
      StandingBack(p, s);
    }
  } else if (pos == tavrel::view::kTilePosLyingBack) {
    LyingBack(p, s);
  } else if (set == tavrel::view::kTileSetOwnStanding) {
    StandingFace(p, s, pos);
  } else {
    LyingFace(p, s, kTurn[set], pos);
  }
  return image;
}

}  // namespace artgen
