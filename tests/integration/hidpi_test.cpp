// A high-density screen (a desktop scale factor of 2): the same table drawn at
// QT_SCALE_FACTOR 1 and 2 by two runs of this program. At 2 the window is twice
// as large, the controls keep the design's places, and tile faces and texts are
// as sharp as at 1, not blown up: their edge energy per pixel, normalised by the
// scale, is no lower. (A picture blown up to twice its size has about half.)
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/client_context.h"
#include "offscreen_table.h"
#include "view/layout.h"
#include "view/picture_catalogue.h"
#include "view/pictures.h"

namespace tavrel {
namespace {

const QString kPack = QStringLiteral(TAVREL_PROGRAM_DIR "/pictures");
constexpr const char* kShotVariable = "TAVREL_HIDPI_SHOT";
// The scale of the child run; the test environment clears the desktop's QT_SCALE_FACTOR.
constexpr const char* kScaleVariable = "TAVREL_HIDPI_SCALE";

// One measured region of the window, in logical pixels.
struct Region {
  QString what;
  QRect rect;
};

// The table of the child run: start-up layout, the wall, the own hand standing,
// one discard per seat and a player's name; the window grabbed at the screen's
// density into FILE, the regions to measure into FILE.txt.
void DrawTableInto(const QString& file) {
  ::setenv("TAVREL_SCREEN", "1280x1024", 1);
  itest::OffscreenTable table(kPack);
  ClientContext& ctx = *table.ctx;
  view::ResetLayout(ctx);
  const int backOfSide[4] = {8, 44, 8, 116};
  for (int i = 20; i < 84; ++i) view::LoadTilePicture(ctx, i, backOfSide[i < 22 ? 0 : i < 42 ? 1 : i < 64 ? 2 : 3]);
  auto& own = ctx.table.custom[0];
  for (int k = 0; k < 13; ++k) {
    const int code = k < 9 ? 0x81 + k : 0x11 + (k - 9);
    view::TileImage(ctx, k).Move(own.handX + 48 * k, own.handY, 48, 78);
    view::LoadTilePicture(ctx, k, view::TilePictureIndex(code, 4));
  }
  const int discardCode[4] = {0x45, 0x27, 0x83, 0x16};
  for (int r = 0; r < 4; ++r) {
    auto& tile = view::TileImage(ctx, 13 + r);
    tile.Move(ctx.table.custom[r].discardX, ctx.table.custom[r].discardY, ctx.view.SeatTileWidth[r],
              ctx.view.SeatTileHeight[r]);
    view::LoadTilePicture(ctx, 13 + r, view::TilePictureIndex(discardCode[r], r));
    tile.BringToFront();
  }
  auto& name = ctx.main().Get(ctl::Nid, 3);
  name.SetCaption("高手right_player");
  name.SetVisible(true);
  name.BringToFront();
  table.Sync();

  const platform::Control& surface = *ctx.main().Find("Pic1");
  auto onWindow = [&](const platform::Control& c) {
    const bool onTable = c.Container() == "Pic1";
    return QRect(int(std::lround(c.Left() + (onTable ? surface.Left() : 0))),
                 int(std::lround(c.Top() + (onTable ? surface.Top() : 0))), int(std::lround(c.Width())),
                 int(std::lround(c.Height())));
  };
  std::vector<Region> regions;
  for (int k : {0, 4, 9, 12}) regions.push_back({QStringLiteral("own tile %1").arg(k), onWindow(view::TileImage(ctx, k))});
  regions.push_back({"own discard", onWindow(view::TileImage(ctx, 13))});
  regions.push_back({"top discard", onWindow(view::TileImage(ctx, 15))});
  regions.push_back({"player name", onWindow(name)});
  regions.push_back({"quit button", onWindow(*ctx.main().Find(ctl::AnNiu, 8))});

  platform::qt::FormWindow* window = table.ui->Window(kMainForm);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->grab().save(file, "PNG"));
  QFile out(file + ".txt");
  ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Text));
  QTextStream text(&out);
  text << window->width() << ' ' << window->height() << '\n';
  for (const Region& r : regions)
    text << r.rect.x() << ' ' << r.rect.y() << ' ' << r.rect.width() << ' ' << r.rect.height() << ' ' << r.what << '\n';
}

// The child's part: only when the parent asks for it.
TEST(HiDpiChild, DrawTable) {
  const char* file = std::getenv(kShotVariable);
  if (!file || !*file) GTEST_SKIP() << "run by HiDpi.* with " << kShotVariable << " set";
  if (const char* scale = std::getenv(kScaleVariable)) ::setenv("QT_SCALE_FACTOR", scale, 1);
  int argc = 1;
  char name[] = "hidpi_test";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  DrawTableInto(QString::fromLocal8Bit(file));
}

struct Drawn {
  QImage shot;
  QSize logical;
  std::vector<Region> regions;
};

// This program again, drawing the table at the given scale factor.
Drawn DrawAtScale(const QString& dir, int scale) {
  const QString file = QStringLiteral("%1/table_scale%2.png").arg(dir).arg(scale);
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(kScaleVariable, QString::number(scale));
  env.insert(kShotVariable, file);
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QString::fromStdString(std::filesystem::read_symlink("/proc/self/exe").string()),
              {"--gtest_filter=HiDpiChild.DrawTable"});
  const bool finished = child.waitForFinished(60000);
  const QString said = QString::fromLocal8Bit(child.readAll());
  EXPECT_TRUE(finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0)
      << "scale " << scale << ":\n" << said.toStdString();
  if (!finished) child.kill();
  Drawn d;
  d.shot = QImage(file).convertToFormat(QImage::Format_RGB32);
  QFile list(file + ".txt");
  if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) return d;
  QTextStream text(&list);
  int w = 0, h = 0;
  text >> w >> h;
  d.logical = QSize(w, h);
  text.readLine();
  while (!text.atEnd()) {
    const QStringList parts = text.readLine().split(' ');
    if (parts.size() < 5) continue;
    d.regions.push_back({parts.mid(4).join(' '), QRect(parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt())});
  }
  return d;
}

// Mean squared luminance step between neighbouring pixels of `rect` (logical
// pixels, `scale` image pixels each), times the scale: the same figure for the
// same edges drawn crisply at any density; a blown-up picture has about half.
double EdgeEnergy(const QImage& image, const QRect& rect, int scale) {
  const QRect area(rect.topLeft() * scale, rect.size() * scale);
  double sum = 0;
  int n = 0;
  for (int y = area.top() + 1; y < area.bottom() - 1; ++y)
    for (int x = area.left() + 1; x < area.right() - 1; ++x) {
      const int here = qGray(image.pixel(x, y));
      const int dx = qGray(image.pixel(x + 1, y)) - here, dy = qGray(image.pixel(x, y + 1)) - here;
      sum += dx * dx + dy * dy;
      ++n;
    }
  return n == 0 ? 0 : sum / n * scale;
}

TEST(HiDpi, TwiceAsLargeAndAsSharp) {
  if (std::getenv(kShotVariable)) GTEST_SKIP() << "the child run";
  if (!QFile::exists(kPack + "/201.png") || !QFile::exists(kPack + "/345@2x.png"))
    GTEST_SKIP() << "picture pack with its 2x half not found in " << kPack.toStdString();
  const QString dir = QDir::cleanPath(QStringLiteral(TAVREL_PROGRAM_DIR "/.."));
  const Drawn one = DrawAtScale(dir, 1), two = DrawAtScale(dir, 2);
  ASSERT_FALSE(one.shot.isNull());
  ASSERT_FALSE(two.shot.isNull());
  std::printf("screenshots: %s/table_scale1.png %s/table_scale2.png\n", qPrintable(dir), qPrintable(dir));

  // The same window in logical pixels, twice as many pixels each way.
  EXPECT_EQ(one.logical, QSize(1040, 796));
  EXPECT_EQ(two.logical, one.logical);
  EXPECT_EQ(one.shot.size(), one.logical);
  EXPECT_EQ(two.shot.size(), one.shot.size() * 2);
  // The layout's numbers are the design's at both scales.
  ASSERT_EQ(one.regions.size(), two.regions.size());
  ASSERT_GE(one.regions.size(), 8u);
  for (std::size_t i = 0; i < one.regions.size(); ++i) EXPECT_EQ(one.regions[i].rect, two.regions[i].rect) << one.regions[i].what.toStdString();

  // The 1x table blown up to twice its size: what a screen without the 2x pack would show.
  const QImage blownUp = one.shot.scaled(one.shot.size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  for (const Region& r : one.regions) {
    SCOPED_TRACE(r.what.toStdString());
    const double at1 = EdgeEnergy(one.shot, r.rect, 1), at2 = EdgeEnergy(two.shot, r.rect, 2),
                 blown = EdgeEnergy(blownUp, r.rect, 2);
    std::printf("%-14s edge energy: 1x %8.1f   2x %8.1f   1x blown up %8.1f\n", qPrintable(r.what), at1, at2, blown);
    ASSERT_GT(at1, 50) << "no edges to measure";
    EXPECT_GE(at2, 0.95 * at1) << "the 2x picture is softer than the 1x";
    // The measure tells the two apart: a blown-up picture falls well short.
    EXPECT_LT(blown, 0.8 * at1);
  }
}

}  // namespace
}  // namespace tavrel
