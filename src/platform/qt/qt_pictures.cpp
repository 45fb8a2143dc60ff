#include "platform/qt/qt_pictures.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <cmath>
#include <cstdio>

namespace tavrel::platform::qt {

QtPictures::QtPictures(QString folder) : folder_(std::move(folder)) {
  folderExists_ = QDir(folder_).exists();
  // The client still starts without its pictures; say once where they were looked for.
  if (!folderExists_) {
    std::fprintf(stderr, "picture pack not found: %s\n", QDir::toNativeSeparators(folder_).toLocal8Bit().constData());
    std::fflush(stderr);
  }
}

bool QtPictures::Load(int resourceId) { return Pixmap(resourceId) != nullptr; }

QString QtPictures::FileName(int resourceId, int density) const {
  return folder_ + QLatin1Char('/') + QString::number(resourceId) +
         (density == 1 ? QString() : QStringLiteral("@%1x").arg(density)) + QStringLiteral(".png");
}

const QPixmap* QtPictures::Pixmap(int resourceId, int density) {
  if (resourceId <= 0 || density < 1 || density > 2) return nullptr;
  auto& decoded = decoded_[density - 1];
  auto it = decoded.find(resourceId);
  if (it == decoded.end()) {
    Entry entry;
    if (folderExists_) {
      QImage image = QImageReader(FileName(resourceId, density)).read();
      if (!image.isNull()) {
        entry.pixmap = QPixmap::fromImage(std::move(image));
        entry.pixmap.setDevicePixelRatio(density);
        entry.ok = !entry.pixmap.isNull();
      }
    }
    it = decoded.emplace(resourceId, std::move(entry)).first;
  }
  return it->second.ok ? &it->second.pixmap : nullptr;
}

bool QtPictures::ReadPixels(int resourceId, PixelMap& out) {
  out = {};
  const QPixmap* source = Pixmap(resourceId);
  if (!source) return false;
  const QImage image = source->toImage().convertToFormat(QImage::Format_RGB32);
  out.width = image.width();
  out.height = image.height();
  out.pixels.reserve(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < out.width; ++x)
      out.pixels.push_back(std::uint32_t(qRed(row[x])) | std::uint32_t(qGreen(row[x])) << 8 |
                           std::uint32_t(qBlue(row[x])) << 16);
  }
  return true;
}

const QPixmap* QtPictures::Scaled(int resourceId, const Rect& clip, int width, int height, double deviceRatio) {
  if (!(deviceRatio > 0)) deviceRatio = 1.0;
  int density = DensityFor(deviceRatio);
  const QPixmap* source = Pixmap(resourceId, density);
  if (!source && density > 1) source = Pixmap(resourceId, density = 1);  // a pack without its dense half
  if (!source || width <= 0 || height <= 0) return nullptr;
  const int pixelWidth = int(std::lround(width * deviceRatio)), pixelHeight = int(std::lround(height * deviceRatio));
  const bool whole = clip.width <= 0 || clip.height <= 0;
  if (whole && source->width() == pixelWidth && source->height() == pixelHeight && density == deviceRatio) return source;
  const ScaledKey key{resourceId,
                      width,
                      height,
                      whole ? 0 : int(clip.left),
                      whole ? 0 : int(clip.top),
                      whole ? 0 : int(clip.width),
                      whole ? 0 : int(clip.height),
                      int(std::lround(deviceRatio * 100))};
  auto it = scaled_.find(key);
  if (it == scaled_.end()) {
    // A picture drawn at this size (the tiles at the table's sizes) is sharper than any resampling.
    QPixmap drawn = whole ? DrawnAtSize(resourceId, width, height, density) : QPixmap();
    if (drawn.isNull() || drawn.size() != QSize(pixelWidth, pixelHeight)) {
      const QPixmap& from = drawn.isNull() ? *source : drawn;
      // The clip is in the design's pixels; the dense pack has `density` pixels for each.
      QPixmap part = whole ? from
                           : from.copy(QRect(int(clip.left * density), int(clip.top * density),
                                             int(clip.width * density), int(clip.height * density)));
      drawn = part.scaled(pixelWidth, pixelHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    drawn.setDevicePixelRatio(deviceRatio);
    it = scaled_.emplace(key, std::move(drawn)).first;
  }
  return &it->second;
}

QPixmap QtPictures::DrawnAtSize(int resourceId, int width, int height, int density) const {
  const QString file = folder_ + QStringLiteral("/%1@%2x%3%4.png")
                                     .arg(resourceId)
                                     .arg(width)
                                     .arg(height)
                                     .arg(density == 1 ? QString() : QStringLiteral("@%1x").arg(density));
  if (!QFile::exists(file)) return {};
  QImage image = QImageReader(file).read();
  if (image.size() != QSize(width * density, height * density)) return {};  // a stale or broken file: resample instead
  return QPixmap::fromImage(std::move(image));
}

}  // namespace tavrel::platform::qt
