// tavrel-artgen: draws the client's picture pack.
//   tavrel-artgen --out DIR          DIR/<id>.png for every catalogue picture, and every
//                                    tile at the table's sizes as DIR/<id>@<w>x<h>.png;
//                                    the same at twice the density for high-density
//                                    screens as DIR/<id>@2x.png and DIR/<id>@<w>x<h>@2x.png
//   tavrel-artgen [--icon-name NAME] --icons DIR
//                                    the desktop icon as DIR/hicolor/<n>x<n>/apps/NAME.png
//   tavrel-artgen --sheet FILE.png   one contact sheet of the whole pack
//   tavrel-artgen --preview FILE.png the tiles at their on-table sizes
//   tavrel-artgen --window FILE.png  the framed window in mid-hand, from the pack
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QSize>
#include <QStringList>
#include <cstdio>

#include "art_style.h"
#include "draw_badges.h"
#include "contact_sheet.h"
#include "draw_tiles.h"
#include "pictures.h"
#include "window_mock.h"
#include "view/picture_catalogue.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: tavrel-artgen [--out DIR] [--icon-name NAME] [--icons DIR] [--sheet FILE.png] [--preview FILE.png] [--window FILE.png]\n");
  return 2;
}

bool Save(const QImage& image, const QString& file) {
  if (image.isNull() || !image.save(file, "PNG")) {
    std::fprintf(stderr, "tavrel-artgen: cannot write %s\n", qPrintable(file));
    return false;
  }
  return true;
}

// Every tile again at each size the table shows the tiles of its set, so that the
// window never has to resample a tile: <id>@<width>x<height>.png.
bool WriteTileSizes(const QString& dir, const QString& suffix) {
  namespace v = tavrel::view;
  for (int set = 0; set < v::kTileSetCount; ++set) {
    QList<QSize> sizes;
    for (const v::TileDisplaySize& d : v::kTileDisplaySizes) {
      if (d.set != set) continue;
      sizes << QSize(d.size.width, d.size.height);
      if (d.scaled) sizes << QSize(v::SmallScreenTilePixels(d.size.width), v::SmallScreenTilePixels(d.size.height));
    }
    for (int pos = 0; pos < v::kTilesPerSet; ++pos) {
      const int id = v::TilePictureId(set, pos);
      const v::PictureInfo* info = v::FindPicture(id);
      if (!info) continue;  // absent from the pack: no sizes either
      QList<QSize> written;
      for (const QSize& size : sizes) {
        if (written.contains(size) || size == QSize(info->width, info->height)) continue;
        written << size;
        const QString name = QStringLiteral("%1@%2x%3%4.png").arg(id).arg(size.width()).arg(size.height()).arg(suffix);
        if (!Save(artgen::DrawTile(set, pos, size), QDir(dir).filePath(name))) return false;
      }
    }
  }
  return true;
}

bool WritePack(const QString& dir) {
  if (!QDir().mkpath(dir)) {
    std::fprintf(stderr, "tavrel-artgen: cannot create %s\n", qPrintable(dir));
    return false;
  }
  // The design's pixels, then twice as many each way (the names Qt itself looks for).
  for (const int ratio : {1, 2}) {
    artgen::SetPixelRatio(ratio);
    const QString suffix = ratio == 1 ? QString() : QStringLiteral("@%1x").arg(ratio);
    for (const auto& info : tavrel::view::kPictureCatalogue)
      if (!Save(artgen::DrawPicture(info.id), QDir(dir).filePath(QString::number(info.id) + suffix + ".png")))
        return false;
    if (!WriteTileSizes(dir, suffix)) return false;
  }
  artgen::SetPixelRatio(1);
  return true;
}

// The icon at the sizes desktops ask a theme for.
bool WriteIcons(const QString& dir, const QString& name) {
  for (const int n : {16, 24, 32, 48, 64, 128, 256, 512}) {
    const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(dir).arg(n);
    if (!QDir().mkpath(folder)) {
      std::fprintf(stderr, "tavrel-artgen: cannot create %s\n", qPrintable(folder));
      return false;
    }
    if (!Save(artgen::DrawAppIcon(n), folder + QLatin1Char('/') + name + QStringLiteral(".png"))) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.isEmpty() || args.size() % 2 != 0) return Usage();
  artgen::InitFonts();
  bool ok = true;
  QString iconName = QStringLiteral("tavrel");
  for (int i = 0; i < args.size(); i += 2) {
    const QString& option = args[i];
    const QString& value = args[i + 1];
    if (option == "--out") {
      ok = WritePack(value) && ok;
    } else if (option == "--icon-name") {
      iconName = value;
    } else if (option == "--icons") {
      ok = WriteIcons(value, iconName) && ok;
    } else if (option == "--sheet") {
      ok = Save(artgen::DrawContactSheet(), value) && ok;
    } else if (option == "--preview") {
      ok = Save(artgen::DrawTablePreview(), value) && ok;
    } else if (option == "--window") {
      ok = Save(artgen::DrawWindowMock(), value) && ok;
    } else {
      return Usage();
    }
  }
  return ok ? 0 : 1;
}
