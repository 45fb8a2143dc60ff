#include "platform/qt/qt_pictures.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
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

const QPixmap* QtPictures::Pixmap(int resourceId) {
  if (resourceId <= 0) return nullptr;
  auto it = decoded_.find(resourceId);
  if (it == decoded_.end()) {
    Entry entry;
    if (folderExists_) {
      QImageReader reader(folder_ + QLatin1Char('/') + QString::number(resourceId) + QStringLiteral(".png"));
      QImage image = reader.read();
      if (!image.isNull()) {
        entry.pixmap = QPixmap::fromImage(std::move(image));
        entry.ok = !entry.pixmap.isNull();
      }
    }
    it = decoded_.emplace(resourceId, std::move(entry)).first;
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

const QPixmap* QtPictures::Scaled(int resourceId, const Rect& clip, int width, int height) {
  const QPixmap* source = Pixmap(resourceId);
  if (!source || width <= 0 || height <= 0) return nullptr;
  const bool whole = clip.width <= 0 || clip.height <= 0;
  if (whole && source->width() == width && source->height() == height) return source;
  const ScaledKey key{resourceId, width, height, whole ? 0 : int(clip.left), whole ? 0 : int(clip.top),
                      whole ? 0 : int(clip.width), whole ? 0 : int(clip.height)};
  auto it = scaled_.find(key);
  if (it == scaled_.end()) {
    // A picture drawn at this size (the tiles at the table's sizes) is sharper than any resampling.
    QPixmap drawn = whole ? DrawnAtSize(resourceId, width, height) : QPixmap();
    if (drawn.isNull()) {
      QPixmap part = whole ? *source
                           : source->copy(QRect(int(clip.left), int(clip.top), int(clip.width), int(clip.height)));
      drawn = part.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    it = scaled_.emplace(key, std::move(drawn)).first;
  }
  return &it->second;
}

QPixmap QtPictures::DrawnAtSize(int resourceId, int width, int height) const {
  const QString file = folder_ + QStringLiteral("/%1@%2x%3.png").arg(resourceId).arg(width).arg(height);
  if (!QFile::exists(file)) return {};
  QImage image = QImageReader(file).read();
  if (image.size() != QSize(width, height)) return {};  // a stale or broken file: resample instead
  return QPixmap::fromImage(std::move(image));
}

}  // namespace tavrel::platform::qt
