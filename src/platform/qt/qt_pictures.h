#pragma once
// The picture pack on disk: <folder>/<id>.png, each decoded once on first use
// and kept; copies at other sizes are kept per size so that a repaint only copies
// pixels. Where the pack holds the picture drawn at that size (<id>@<w>x<h>.png,
// the tiles at the table's sizes), that is used instead of a resampled copy.
#include <QPixmap>
#include <QString>
#include <unordered_map>

#include "platform/controls.h"
#include "platform/platform.h"

namespace tavrel::platform::qt {

class QtPictures final : public PictureSource {
 public:
  explicit QtPictures(QString folder);
  bool Load(int resourceId) override;
  bool ReadPixels(int resourceId, PixelMap& out) override;
  // The decoded picture, or nullptr when it cannot be shown.
  const QPixmap* Pixmap(int resourceId);
  // The part `clip` of the picture (all of it when empty) stretched to width x height.
  const QPixmap* Scaled(int resourceId, const Rect& clip, int width, int height);
  const QString& Folder() const { return folder_; }
  bool FolderExists() const { return folderExists_; }

 private:
  QPixmap DrawnAtSize(int resourceId, int width, int height) const;
  struct Entry {
    bool ok = false;
    QPixmap pixmap;
  };
  struct ScaledKey {
    int id, width, height, clipLeft, clipTop, clipWidth, clipHeight;
    bool operator==(const ScaledKey&) const = default;
  };
  struct ScaledKeyHash {
    std::size_t operator()(const ScaledKey& k) const {
      std::size_t h = 0;
      for (int v : {k.id, k.width, k.height, k.clipLeft, k.clipTop, k.clipWidth, k.clipHeight})
        h = h * 1000003u ^ static_cast<std::size_t>(v);
      return h;
    }
  };
  QString folder_;
  bool folderExists_ = false;
  std::unordered_map<int, Entry> decoded_;
  std::unordered_map<ScaledKey, QPixmap, ScaledKeyHash> scaled_;
};

}  // namespace tavrel::platform::qt
