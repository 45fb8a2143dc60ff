// The main window drawn offscreen after the start-up layout and a table reset,
// with tiles laid out by hand as the round flow would, saved as PNG under the
// build folder and checked pixel by pixel against the pack: the wall, a seat
// row and the discards; the felt at the layout's scale on screens between the
// two designs; the dealer-streak and wild-tile plaques beside the top seat's row.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <cstdlib>
#include <memory>

#include "app/client_context.h"
#include "offscreen_table.h"
#include "view/layout.h"
#include "view/picture_catalogue.h"
#include "view/pictures.h"

namespace tavrel {
namespace {

const QString kPack = QStringLiteral(TAVREL_PROGRAM_DIR "/pictures");

struct Checked {
  const char* what;
  const platform::Control* control;
  double fx, fy;  // point inside the control, as a share of its size (an opaque spot)
};

// A pack picture, or the part `clip` of it, as the window draws it into w x h:
// drawn at that size where the pack has it so, else scaled.
QImage ScaledPicture(int id, const platform::Rect& clip, int w, int h) {
  const QImage drawn(kPack + QStringLiteral("/%1@%2x%3.png").arg(id).arg(w).arg(h));
  if (clip.width <= 0 && drawn.size() == QSize(w, h)) return drawn;
  QImage source(kPack + QStringLiteral("/%1.png").arg(id));
  if (clip.width > 0) source = source.copy(int(clip.left), int(clip.top), int(clip.width), int(clip.height));
  return source.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The pack picture scaled as the window draws it, read at pixel (px, py) of the control.
QRgb Expected(const platform::Control& c, int px, int py) {
  const int w = int(std::lround(c.Width())), h = int(std::lround(c.Height()));
  return ScaledPicture(c.Picture(), c.PictureClip(), w, h).pixel(px, py);
}

// Smooth scaling may differ by a few levels at the edge of a stroke.
bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 10 && std::abs(qGreen(a) - qGreen(b)) <= 10 && std::abs(qBlue(a) - qBlue(b)) <= 10;
}

QString ShotPath(const QString& name) { return QDir::cleanPath(QStringLiteral(TAVREL_PROGRAM_DIR "/../") + name); }

class TableScreenshot : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "table_screenshot_test";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
  }
  static void TearDownTestSuite() {
    delete app_;
    app_ = nullptr;
  }
  void SetUp() override {
    if (!QDir(kPack).exists() || !QFile::exists(kPack + QStringLiteral("/201.png")))
      GTEST_SKIP() << "picture pack not found in " << kPack.toStdString() << " (build the tavrel_pictures target)";
  }
  void TearDown() override { table_.reset(); }

  // The table after start-up and a table reset, on a screen of the given size.
  void LayOut(const char* screen) {
    ::setenv("TAVREL_SCREEN", screen, 1);
    table_.reset();
    table_ = std::make_unique<itest::OffscreenTable>(kPack);
    ctx_ = table_->ctx.get();
    ui_ = table_->ui.get();
    view::ResetLayout(*ctx_);
  }
  // The whole window as drawn now, saved under the build folder.
  QImage Shot(const QString& name) {
    ui_->SyncNow();
    platform::qt::FormWindow* window = ui_->Window(kMainForm);
    EXPECT_NE(window, nullptr);
    if (!window) return {};
    const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(shot.save(ShotPath(name)));
    std::printf("screenshot: %s\n", ShotPath(name).toLocal8Bit().constData());
    return shot;
  }
  platform::Control& control(const char* name, int index = -1) { return *ctx_->main().Find(name, index); }
  const platform::Control& surface() { return control("Pic1"); }
  // Window pixel of point (x, y) of the table surface.
  QPoint OnWindow(double x, double y) {
    return {int(std::lround(surface().Left() + x)), int(std::lround(surface().Top() + y))};
  }

  static QApplication* app_;
  std::unique_ptr<itest::OffscreenTable> table_;
  ClientContext* ctx_ = nullptr;
  platform::qt::QtUi* ui_ = nullptr;
};
QApplication* TableScreenshot::app_ = nullptr;

TEST_F(TableScreenshot, WallRowDiscardsAndButtonsAreWhereTheLayoutSays) {
  LayOut("1280x1024");
  ClientContext& ctx = *ctx_;

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

  const QImage shot = Shot(QStringLiteral("table_screenshot.png"));
  ASSERT_EQ(shot.size(), QSize(1040, 796));

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
  ui_->SyncNow();
  const QImage after = ui_->Window(kMainForm)->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const platform::Control& gone = *tile(13);
  const int gx = int(surface.Left() + gone.Left() + gone.Width() / 2), gy = int(surface.Top() + gone.Top() + gone.Height() / 2);
  EXPECT_FALSE(Near(after.pixel(gx, gy), shot.pixel(gx, gy)));
}

// Screens between the two designs (laptops): the controls use the small design,
// so the felt must be painted at that scale too, not stretched over the whole
// surface; what is left of the surface around it is no felt.
TEST_F(TableScreenshot, TheFeltHasTheLayoutsScale) {
  const struct {
    const char* screen;
    QSize window;
  } cases[] = {{"1280x720", {1040, 720}}, {"1024x700", {1024, 700}}, {"800x600", {800, 600}}, {"1280x1024", {1040, 796}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.screen);
    LayOut(c.screen);
    const QImage shot = Shot(QStringLiteral("table_%1.png").arg(QString::fromLatin1(c.screen)));
    ASSERT_EQ(shot.size(), c.window);
    const double s = ctx_->view.LayoutScale;
    const platform::Rect felt{0, 0, 1024 * s, 768 * s};
    ASSERT_LE(felt.width, surface().Width());
    ASSERT_LE(felt.height, surface().Height());

    // Every control on the table lies on the felt; only the felt's wooden edge lies beyond it.
    std::vector<const platform::Control*> onTable;
    for (const auto& owned : ctx_->main().Controls())
      if (owned->Container() == "Pic1" && owned->Visible() && owned->Name() != "FeltEdge") onTable.push_back(owned.get());
    ASSERT_GT(onTable.size(), 20u);
    for (const platform::Control* t : onTable) {
      EXPECT_GE(t->Left(), -0.01) << t->Name() << "(" << t->Index() << ")";
      EXPECT_GE(t->Top(), -0.01) << t->Name() << "(" << t->Index() << ")";
      EXPECT_LE(t->Left() + t->Width(), felt.width + 0.01) << t->Name() << "(" << t->Index() << ")";
      EXPECT_LE(t->Top() + t->Height(), felt.height + 0.01) << t->Name() << "(" << t->Index() << ")";
    }
    auto covered = [&](double x, double y) {
      for (const platform::Control* t : onTable)
        if (platform::Rect{t->Left() - 2, t->Top() - 2, t->Width() + 4, t->Height() + 4}.Contains(x, y)) return true;
      return false;
    };

    // Where nothing stands, the window shows the felt picture scaled as the controls are.
    const QImage expected = ScaledPicture(view::kPicTableBackground, {}, int(std::lround(felt.width)),
                                          int(std::lround(felt.height)));
    int samples = 0, wrong = 0;
    double feltGreen = 0;
    for (int y = 3; y < felt.height - 3; y += 13)
      for (int x = 3; x < felt.width - 3; x += 13) {
        if (covered(x, y)) continue;
        const QRgb got = shot.pixel(OnWindow(x, y));
        ++samples;
        wrong += !Near(got, expected.pixel(x, y));
        feltGreen += qGreen(got);
      }
    ASSERT_GT(samples, 1000);
    EXPECT_LE(wrong, samples / 100) << wrong << " of " << samples << " felt pixels differ";
    feltGreen /= samples;

    // The rest of the surface, right of and below the felt, is plainly not felt.
    int around = 0;
    double aroundGreen = 0;
    for (int y = 1; y < surface().Height() - 1; y += 7)
      for (int x = 1; x < surface().Width() - 1; x += 7) {
        if (felt.Contains(x, y) || covered(x, y)) continue;
        const QPoint at = OnWindow(x, y);
        if (at.x() >= shot.width() || at.y() >= shot.height()) continue;
        ++around;
        aroundGreen += qGreen(shot.pixel(at));
      }
    if (felt.width < surface().Width() || felt.height < surface().Height()) {
      ASSERT_GT(around, 100);
      EXPECT_LT(aroundGreen / around, 0.75 * feltGreen);
    }
  }
}

// The dealer-streak plaque and the wild-tile plaque share a corner of the
// table with the top seat's row (running leftward from its origin) and the
// right player's avatar: each plaque shows whole, and neither covers a tile of
// the row, the wild tile or the avatar with its labels.
TEST_F(TableScreenshot, ThePlaquesBesideTheTopRowLeaveItAndEachOtherClear) {
  for (const char* screen : {"1280x1024", "800x600"}) {
    SCOPED_TRACE(screen);
    LayOut(screen);
    ClientContext& ctx = *ctx_;
    // The top seat's row: standing backs from the first slot at the origin, leftward.
    const auto& top = ctx.table.custom[2];
    const int w = view::ScaledInt(ctx, 36), h = view::ScaledInt(ctx, 50);
    std::vector<const platform::Control*> row;
    for (int k = 0; k < 17; ++k) {
      auto& tile = view::TileImage(ctx, 42 + k);
      tile.Move(top.handX - k * w, top.handY, w, h);
      view::LoadTilePicture(ctx, 42 + k, 2 * 36 + view::kTilePosStandingBack);
      row.push_back(&tile);
    }
    // The dealer on a streak, as the hand start shows it, and the hand's wild tile.
    auto& streak = control("img_lianzhuang");
    control("lbl_zhuang").SetCaption("fox_on_a_run");
    control("lbl_zhuangNum").SetCaption("3");
    for (const char* name : {"img_lianzhuang", "lbl_zhuang", "lbl_zhuangNum"}) {
      control(name).SetVisible(true);
      control(name).BringToFront();
    }
    auto& wildLabel = control("WildTileLabel");
    auto& wildTile = control("WildTileImage");
    ASSERT_TRUE(view::LoadResourcePicture(ctx, ctx.view.TilePictures[view::TilePictureIndex(0x45, 4)], wildTile));
    wildTile.SetVisible(true);
    for (int p = 1; p <= 3; ++p) view::LoadResourcePicture(ctx, view::AvatarPictureId(4 * p), control("Tou", p));
    control("Nid", 3).SetCaption("right_player");
    control("Cash", 3).SetCaption("12345");
    control("Level", 3).SetCaption("雀圣");
    const QImage shot = Shot(QString::fromLatin1(std::string(screen) == "800x600" ? "table_plaques_800x600.png"
                                                                                  : "table_plaques.png"));

    // The painted (opaque) pixels of each plaque, in table pixels.
    const QSize table(int(surface().Width()), int(surface().Height()));
    auto opaque = [&](const platform::Control& c) {
      QImage mask(table, QImage::Format_Grayscale8);
      mask.fill(0);
      const QImage pic = ScaledPicture(c.Picture(), c.PictureClip(), int(std::lround(c.Width())),
                                       int(std::lround(c.Height())))
                             .convertToFormat(QImage::Format_ARGB32);
      for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
          const int tx = int(std::lround(c.Left())) + x, ty = int(std::lround(c.Top())) + y;
          if (qAlpha(pic.pixel(x, y)) > 24 && tx < table.width() && ty < table.height()) mask.setPixel(tx, ty, 255);
        }
      return mask;
    };
    auto paintedIn = [&](const QImage& mask, const platform::Control& c) {
      int n = 0;
      for (int y = int(c.Top()); y < int(std::ceil(c.Top() + c.Height())); ++y)
        for (int x = int(c.Left()); x < int(std::ceil(c.Left() + c.Width())); ++x)
          n += x >= 0 && y >= 0 && x < mask.width() && y < mask.height() && qGray(mask.pixel(x, y)) > 0;
      return n;
    };
    const QImage streakMask = opaque(streak), wildMask = opaque(wildLabel);
    int shared = 0, streakPixels = 0, wildPixels = 0;
    for (int y = 0; y < table.height(); ++y)
      for (int x = 0; x < table.width(); ++x) {
        const bool a = qGray(streakMask.pixel(x, y)) > 0, b = qGray(wildMask.pixel(x, y)) > 0;
        shared += a && b;
        streakPixels += a;
        wildPixels += b;
      }
    EXPECT_GT(streakPixels, 2000);
    EXPECT_GT(wildPixels, 2000);
    EXPECT_EQ(shared, 0) << "the two plaques overlap";
    for (std::size_t k = 0; k < row.size(); ++k) {
      EXPECT_EQ(paintedIn(streakMask, *row[k]), 0) << "streak plaque over the top row's slot " << k;
      EXPECT_EQ(paintedIn(wildMask, *row[k]), 0) << "wild-tile plaque over the top row's slot " << k;
    }
    EXPECT_EQ(paintedIn(streakMask, wildTile), 0) << "streak plaque over the wild tile";
    for (const auto& [name, index] : {std::pair{"Tou", 3}, std::pair{"Nid", 3}, std::pair{"Cash", 3}, std::pair{"Level", 3}}) {
      EXPECT_EQ(paintedIn(streakMask, control(name, index)), 0) << name;
      EXPECT_EQ(paintedIn(wildMask, control(name, index)), 0) << name;
    }

    // On the screen: every fully painted pixel of each plaque shows the plaque
    // (apart from the labels and the tile on it), and the row's tiles show whole.
    for (const platform::Control* plaque : {&streak, &wildLabel}) {
      const QImage pic = ScaledPicture(plaque->Picture(), {}, int(std::lround(plaque->Width())),
                                       int(std::lround(plaque->Height())))
                             .convertToFormat(QImage::Format_ARGB32);
      int seen = 0, wrong = 0;
      for (int y = 0; y < pic.height(); y += 2)
        for (int x = 0; x < pic.width(); x += 2) {
          if (qAlpha(pic.pixel(x, y)) < 255) continue;
          const double tx = plaque->Left() + x, ty = plaque->Top() + y;
          bool onTop = false;
          for (const char* over : {"lbl_zhuang", "lbl_zhuangNum", "WildTileImage"})
            onTop = onTop || control(over).Bounds().Contains(tx, ty);
          if (onTop) continue;
          ++seen;
          wrong += !Near(pic.pixel(x, y) | 0xFF000000u, shot.pixel(OnWindow(tx, ty)));
        }
      EXPECT_GT(seen, 300) << plaque->Name();
      EXPECT_LE(wrong, seen / 50) << plaque->Name() << ": " << wrong << " of " << seen << " pixels covered";
    }
    for (std::size_t k = 0; k < row.size(); ++k)
      for (const auto& [fx, fy] : {std::pair{0.5, 0.5}, std::pair{0.85, 0.2}, std::pair{0.85, 0.8}}) {
        const platform::Control& tile = *row[k];
        const int px = int(fx * (tile.Width() - 1)), py = int(fy * (tile.Height() - 1));
        EXPECT_TRUE(Near(Expected(tile, px, py), shot.pixel(OnWindow(tile.Left() + px, tile.Top() + py))))
            << "top row slot " << k << " at " << fx << "," << fy;
      }
  }
}

// Tiles stretch their picture to their control's size, and a resampled picture
// is soft. At every size the table shows a tile of a set, on both scales, the
// window shows the tile as drawn at that size, pixel for pixel.
TEST_F(TableScreenshot, TilesAreDrawnAtTheTablesSizesNotResampled) {
  const int positions[] = {0, view::kTilePosStandingBack, view::kTilePosLyingBack, 13, 22, 31};
  // 84 tile pictures show six tiles of fourteen sizes at a time.
  constexpr std::size_t kSizesAtOnce = 84 / std::size(positions);
  const std::size_t sizeCount = std::size(view::kTileDisplaySizes);
  for (const char* screen : {"1280x1024", "800x600"})
    for (std::size_t firstSize = 0; firstSize < sizeCount; firstSize += kSizesAtOnce) {
      SCOPED_TRACE(screen);
      LayOut(screen);
      const bool small = ctx_->view.LayoutScale != 1.0;
      struct Placed {
        int image, id;
        QSize size;
      };
      std::vector<Placed> placed;
      int image = 0;
      double x = 4, y = 4, rowHeight = 0;
      for (std::size_t k = firstSize; k < std::min(sizeCount, firstSize + kSizesAtOnce); ++k) {
        const view::TileDisplaySize& d = view::kTileDisplaySizes[k];
        const QSize size = small && d.scaled ? QSize(view::SmallScreenTilePixels(d.size.width),
                                                     view::SmallScreenTilePixels(d.size.height))
                                             : QSize(d.size.width, d.size.height);
        for (int pos : positions) {
          if (x + size.width() > surface().Width() - 4) {
            x = 4;
            y += rowHeight + 4;
            rowHeight = 0;
          }
          auto& tile = view::TileImage(*ctx_, image);
          tile.Move(x, y, size.width(), size.height());
          view::LoadTilePicture(*ctx_, image, d.set * view::kTilesPerSet + pos);
          tile.BringToFront();
          placed.push_back({image, view::TilePictureId(d.set, pos), size});
          ++image;
          x += size.width() + 4;
          rowHeight = std::max<double>(rowHeight, size.height());
        }
      }
      ASSERT_LE(image, 84);
      const QString part = firstSize == 0 ? QString() : QStringLiteral("_%1").arg(firstSize / kSizesAtOnce + 1);
      const QImage shot = Shot((small ? QStringLiteral("table_tile_sizes_800x600") : QStringLiteral("table_tile_sizes")) + part +
                               QStringLiteral(".png"));
      for (const Placed& p : placed) {
        const QString file = kPack + QStringLiteral("/%1@%2x%3.png").arg(p.id).arg(p.size.width()).arg(p.size.height());
        const bool natural = QImage(kPack + QStringLiteral("/%1.png").arg(p.id)).size() == p.size;
        const QImage drawn = QImage(natural ? kPack + QStringLiteral("/%1.png").arg(p.id) : file)
                                 .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(drawn.size(), p.size) << "no picture of " << p.id << " drawn at " << p.size.width() << "x"
                                        << p.size.height();
        const platform::Control& tile = control("MJ_Image", p.image);
        int differ = 0, opaque = 0;
        for (int ty = 0; ty < drawn.height(); ++ty)
          for (int tx = 0; tx < drawn.width(); ++tx) {
            const QRgb want = drawn.pixel(tx, ty);
            if (qAlpha(want) < 255) continue;  // rounded corners show the felt
            ++opaque;
            const QRgb got = shot.pixel(OnWindow(tile.Left() + tx, tile.Top() + ty));
            differ += std::abs(qRed(want) - qRed(got)) > 2 || std::abs(qGreen(want) - qGreen(got)) > 2 ||
                      std::abs(qBlue(want) - qBlue(got)) > 2;
          }
        EXPECT_EQ(differ, 0) << p.id << " at " << p.size.width() << "x" << p.size.height() << ": " << differ << " of "
                             << opaque << " pixels resampled";
      }
    }
}

}  // namespace
}  // namespace tavrel
