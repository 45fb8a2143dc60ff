#pragma once
// The picture pack on disk: <folder>/<id>.png, each decoded once on first use
// and kept; copies at other sizes are kept per size so that a repaint only copies
// pixels. Where the pack holds the picture drawn at that size (<id>@<w>x<h>.png,
// the tiles at the table's sizes), that is used instead of a resampled copy.
// High-density screens get the pack drawn at twice the density (<id>@2x.png,
// <id>@<w>x<h>@2x.png) in the same logical sizes, so nothing is blown up.
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
  // The decoded picture of the design's pixels, or nullptr when it cannot be shown.
  const QPixmap* Pixmap(int resourceId) { return Pixmap(resourceId, 1); }
  // The picture of the pack drawn at `density` (1 or 2), nullptr when the pack lacks it.
  const QPixmap* Pixmap(int resourceId, int density);
  // The part `clip` (design pixels; all of it when empty) stretched to width x height
  // logical pixels, for a screen of `deviceRatio` physical pixels per logical pixel:
  // its pixel ratio is `deviceRatio`, its pixels come from the denser pack there.
  const QPixmap* Scaled(int resourceId, const Rect& clip, int width, int height, double deviceRatio = 1.0);
  const QString& Folder() const { return folder_; }
  bool FolderExists() const { return folderExists_; }

  // The pack's density that serves a screen of this ratio.
  static int DensityFor(double deviceRatio) { return deviceRatio > 1.0 ? 2 : 1; }

 private:
  QPixmap DrawnAtSize(int resourceId, int width, int height, int density) const;
  QString FileName(int resourceId, int density) const;
  struct Entry {
    bool ok = false;
    QPixmap pixmap;
  };
  struct ScaledKey {
    int id, width, height, clipLeft, clipTop, clipWidth, clipHeight, ratioPercent;
    bool operator==(const ScaledKey&) const = default;
  };
  struct ScaledKeyHash {
    std::size_t operator()(const ScaledKey& k) const {
      std::size_t h = 0;
      for (int v : {k.id, k.width, k.height, k.clipLeft, k.clipTop, k.clipWidth, k.clipHeight, k.ratioPercent})
        h = h * 1000003u ^ static_cast<std::size_t>(v);
      return h;
    }
  };
  QString folder_;
  bool folderExists_ = false;
  std::unordered_map<int, Entry> decoded_[2];  // by density 1, 2
  std::unordered_map<ScaledKey, QPixmap, ScaledKeyHash> scaled_;
};

}  // namespace tavrel::platform::qt
