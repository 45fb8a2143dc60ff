// The main window drawn offscreen after the start-up layout and a table reset:
// the face-down wall, one seat row and a discard per seat, laid out by hand as
// the round flow would, saved as PNG and checked pixel by pixel against the pack.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <cstdlib>
#include <memory>

#include "app/client_context.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_ui.h"
#include "view/layout.h"
#include "view/pictures.h"

namespace tavrel {
namespace {

const QString kPack = QStringLiteral(TAVREL_PROGRAM_DIR "/pictures");

struct Checked {
  const char* what;
  const platform::Control* control;
  double fx, fy;  // point inside the control, as a share of its size (an opaque spot)
};

// The pack picture scaled as the window draws it, read at pixel (px, py) of the control.
QRgb Expected(const platform::Control& c, int px, int py) {
  QImage source(kPack + QStringLiteral("/%1.png").arg(c.Picture()));
  const platform::Rect& clip = c.PictureClip();
  if (clip.width > 0) source = source.copy(int(clip.left), int(clip.top), int(clip.width), int(clip.height));
  const int w = int(std::lround(c.Width())), h = int(std::lround(c.Height()));
  const QImage scaled = source.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return scaled.pixel(px, py);
}

// Smooth scaling may differ by a few levels at the edge of a stroke.
bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 10 && std::abs(qGreen(a) - qGreen(b)) <= 10 && std::abs(qBlue(a) - qBlue(b)) <= 10;
}

TEST(TableScreenshot, WallRowDiscardsAndButtonsAreWhereTheLayoutSays) {
  if (!QDir(kPack).exists() || !QFile::exists(kPack + QStringLiteral("/201.png")))
    GTEST_SKIP() << "picture pack not found in " << kPack.toStdString() << " (build the tavrel_pictures target)";
  ::setenv("TAVREL_SCREEN", "1280x1024", 1);
  int argc = 1;
  char name[] = "table_screenshot_test";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);

  platform::qt::QtPlatform platform;
  auto owned = std::make_unique<platform::qt::QtPictures>(kPack);
  platform::qt::QtPictures& pictures = *owned;
  platform.SetPictures(std::move(owned));
  ClientContext ctx(platform);
  InstallParts(ctx);
  platform::qt::QtUi ui(ctx.ui, pictures, kMainForm);
  ctx.hooks.prepareLayout();
  ctx.main().Show();
  ctx.hooks.finishLayout();
  view::ResetLayout(ctx);

  // The wall, face down: the lying back of each side's set (the top side uses the own set).
  const int backOfSide[4] = {8, 44, 8, 116};
  for (int i = 0; i < 84; ++i) {
    const int side = i < 22 ? 0 : i < 42 ? 1 : i < 64 ? 2 : 3;
    view::LoadTilePicture(ctx, i, backOfSide[side]);
  }
  // The own row: thirteen standing faces from the row origin, taken from the front of the wall.
  auto& own = ctx.table.custom[0];
  for (int k = 0; k < 13; ++k) {
    const int code = k < 9 ? 0x81 + k : 0x11 + (k - 9);
    const int image = k;
    own.tiles[own.firstConcealed + k] = {1, static_cast<std::int16_t>(code), static_cast<std::int16_t>(image)};
    view::TileImage(ctx, image).Move(own.handX + 48 * k, own.handY, 48, 78);
    view::LoadTilePicture(ctx, image, view::TilePictureIndex(code, 4));
  }
  own.concealedCount = 13;
  // One discard per seat at its discard origin, in the seat's set and discard size.
  const int discardCode[4] = {0x45, 0x27, 0x83, 0x16};
  for (int r = 0; r < 4; ++r) {
    const int image = 13 + r;
    auto& tile = view::TileImage(ctx, image);
    tile.Move(ctx.table.custom[r].discardX, ctx.table.custom[r].discardY, ctx.view.SeatTileWidth[r],
              ctx.view.SeatTileHeight[r]);
    view::LoadTilePicture(ctx, image, view::TilePictureIndex(discardCode[r], r));
    tile.BringToFront();
  }

  ui.SyncNow();
  platform::qt::FormWindow* window = ui.Window(kMainForm);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(window->size(), QSize(1040, 796));
  const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QString file = QStringLiteral(TAVREL_PROGRAM_DIR "/../table_screenshot.png");
  ASSERT_TRUE(shot.save(file));
  std::printf("screenshot: %s\n", QDir::cleanPath(file).toLocal8Bit().constData());

  auto& form = ctx.main();
  const platform::Control& surface = *form.Find("Pic1");
  auto tile = [&](int i) { return form.Find("MJ_Image", i); };
  const Checked checks[] = {
      {"own wall, upper tile", tile(20), 0.5, 0.5},
      {"own wall, lower tile below its upper", tile(21), 0.5, 0.9},
      {"left wall, last lower tile", tile(41), 0.5, 0.5},
      {"top wall, upper tile", tile(50), 0.5, 0.5},
      {"right wall, last upper tile", tile(82), 0.5, 0.3},
      {"own row, first tile", tile(0), 0.5, 0.5},
      {"own row, last tile", tile(12), 0.5, 0.4},
      {"own discard", tile(13), 0.5, 0.5},
      {"left discard", tile(14), 0.5, 0.5},
      {"top discard", tile(15), 0.5, 0.5},
      {"right discard", tile(16), 0.5, 0.5},
      {"quit button", form.Find("AnNiu", 8), 0.5, 0.5},
      {"send button", form.Find("AnNiu", 0), 0.3, 0.5},
      {"bank", form.Find("Bank"), 0.5, 0.5},
      {"platform logo", form.Find("Bird"), 0.5, 0.5},
  };
  for (const Checked& c : checks) {
    ASSERT_NE(c.control, nullptr) << c.what;
    ASSERT_TRUE(c.control->Visible()) << c.what;
    const int px = int(c.fx * (std::lround(c.control->Width()) - 1));
    const int py = int(c.fy * (std::lround(c.control->Height()) - 1));
    const int x = int(std::lround(surface.Left() + c.control->Left())) + px;
    const int y = int(std::lround(surface.Top() + c.control->Top())) + py;
    const QRgb want = Expected(*c.control, px, py), got = shot.pixel(x, y);
    EXPECT_TRUE(Near(want, got)) << c.what << " at " << x << "," << y << ": want " << std::hex << want << " got " << got;
  }
  // The frame: the skin's left edge and the close button in the title strip.
  for (const auto& [what, control] : {std::pair{"left frame edge", form.Find("Skin", 3)},
                                      std::pair{"close button", form.Find("ImgClose", 0)}}) {
    const int px = int(control->Width() / 2), py = int(control->Height() / 2);
    const int x = int(std::lround(control->Left())) + px, y = int(std::lround(control->Top())) + py;
    EXPECT_TRUE(Near(Expected(*control, px, py), shot.pixel(x, y))) << what;
  }
  // The felt shows where nothing stands.
  const QRgb felt = shot.pixel(int(surface.Left() + 512), int(surface.Top() + 330));
  EXPECT_GT(qGreen(felt), qRed(felt));
  EXPECT_GT(qGreen(felt), qBlue(felt));

  // A hidden tile leaves the felt behind it; the repaint follows the model.
  view::TileImage(ctx, 13).SetVisible(false);
  ui.SyncNow();
  const QImage after = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const platform::Control& gone = *tile(13);
  const int gx = int(surface.Left() + gone.Left() + gone.Width() / 2), gy = int(surface.Top() + gone.Top() + gone.Height() / 2);
  EXPECT_FALSE(Near(after.pixel(gx, gy), shot.pixel(gx, gy)));
}

}  // namespace
}  // namespace tavrel
