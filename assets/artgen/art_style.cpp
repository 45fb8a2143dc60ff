#include "art_style.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>

namespace artgen {

namespace {
const char* const kCjkFamilies[] = {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC",
                                    "Droid Sans Fallback", "AR PL UMing CN"};
const char* const kCjkFontFiles[] = {"/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
                                     "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"};
}  // namespace

void InitFonts() {
  const QStringList known = QFontDatabase::families();
  for (const char* family : kCjkFamilies)
    if (known.contains(QString::fromUtf8(family))) return;
  // No fontconfig entry: register the usual files directly; if none exists
  // Qt falls back to whatever font it has, and the text is still drawn.
  for (const char* file : kCjkFontFiles)
    if (QFile::exists(QString::fromUtf8(file)) && QFontDatabase::addApplicationFont(file) >= 0) return;
  qWarning("tavrel-artgen: no CJK font found; Chinese text may be missing");
}

QFont CjkFont(qreal pixelSize) {
  QFont font;
  QStringList families;
  for (const char* family : kCjkFamilies) families << QString::fromUtf8(family);
  font.setFamilies(families);
  font.setPixelSize(qMax(1, qRound(pixelSize)));
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

QPainterPath TextPath(const QString& text) {
  QPainterPath path;
  path.addText(0, 0, CjkFont(200), text);
  return path;
}

QPainterPath FitPathLike(const QPainterPath& path, const QPainterPath& reference, const QRectF& box) {
  const QRectF ref = reference.boundingRect();
  const QRectF own = path.boundingRect();
  if (ref.isEmpty() || own.isNull()) return {};
  const qreal scale = qMin(box.width() / ref.width(), box.height() / ref.height());
  QTransform t;
  t.translate(box.center().x(), box.center().y());
  t.scale(scale, scale);
  t.translate(-own.center().x(), -own.center().y());
  return t.map(path);
}

QPainterPath FitPath(const QPainterPath& path, const QRectF& box) { return FitPathLike(path, path, box); }

void FillGlyph(QPainter& p, const QPainterPath& path, const QColor& colour, qreal boldness) {
  p.save();
  if (boldness > 0) {
    p.setPen(QPen(colour, boldness, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  } else {
    p.setPen(Qt::NoPen);
  }
  p.setBrush(colour);
  p.drawPath(path);
  p.restore();
}

void OutlinedText(QPainter& p, const QString& text, const QRectF& box, const QBrush& fill,
                  const QColor& outline, qreal outlineWidth, bool shadow) {
  const QPainterPath path = FitPath(TextPath(text), box.adjusted(outlineWidth, outlineWidth,
                                                                  -outlineWidth, -outlineWidth));
  p.save();
  if (shadow) {
    p.setPen(QPen(QColor(0, 0, 0, 90), outlineWidth * 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(path.translated(outlineWidth * 0.6, outlineWidth * 0.8));
  }
  p.setPen(QPen(outline, outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(outline);
  p.drawPath(path);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(path);
  p.restore();
}

namespace {
int pixelRatio = 1;  // the tool draws one pack at a time

QImage DesignImage(int width, int height, QImage::Format format) {
  QImage image(width * pixelRatio, height * pixelRatio, format);
  image.setDevicePixelRatio(pixelRatio);
  return image;
}
}  // namespace

void SetPixelRatio(int ratio) { pixelRatio = qMax(1, ratio); }
int PixelRatio() { return pixelRatio; }

QImage NewImage(int width, int height) {
  QImage image = DesignImage(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

QImage NewOpaqueImage(int width, int height) { return DesignImage(width, height, QImage::Format_RGB32); }

int LogicalWidth(const QImage& image) { return qRound(image.width() / image.devicePixelRatio()); }
int LogicalHeight(const QImage& image) { return qRound(image.height() / image.devicePixelRatio()); }

void SetupPainter(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
}

}  // namespace artgen
