// tavrel-artgen: draws the client's picture pack.
//   tavrel-artgen --out DIR          DIR/<id>.png for every catalogue picture
//   tavrel-artgen --sheet FILE.png   one contact sheet of the whole pack
//   tavrel-artgen --preview FILE.png the tiles at their on-table sizes
//   tavrel-artgen --window FILE.png  the framed window in mid-hand, from the pack
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QStringList>
#include <cstdio>

#include "art_style.h"
#include "contact_sheet.h"
#include "pictures.h"
#include "window_mock.h"
#include "view/picture_catalogue.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: tavrel-artgen [--out DIR] [--sheet FILE.png] [--preview FILE.png] [--window FILE.png]\n");
  return 2;
}

bool Save(const QImage& image, const QString& file) {
  if (image.isNull() || !image.save(file, "PNG")) {
    std::fprintf(stderr, "tavrel-artgen: cannot write %s\n", qPrintable(file));
    return false;
  }
  return true;
}

bool WritePack(const QString& dir) {
  if (!QDir().mkpath(dir)) {
    std::fprintf(stderr, "tavrel-artgen: cannot create %s\n", qPrintable(dir));
    return false;
  }
  for (const auto& info : tavrel::view::kPictureCatalogue)
    if (!Save(artgen::DrawPicture(info.id), QDir(dir).filePath(QString::number(info.id) + ".png")))
      return false;
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
  for (int i = 0; i < args.size(); i += 2) {
    const QString& option = args[i];
    const QString& value = args[i + 1];
    if (option == "--out") {
      ok = WritePack(value) && ok;
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
