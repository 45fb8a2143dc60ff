// The picture pack loader on bad files: a picture that is missing, empty,
// truncated or not an image keeps the control's old picture; a missing folder
// is reported once and leaves every control blank.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include "app/client_context.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_platform.h"
#include "view/pictures.h"

namespace tavrel {
namespace {

void Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// A Qt application for the pictures and a folder to put them in.
struct QtPictures : ::testing::Test {
  int argc = 1;
  char name[17] = "qt_pictures_test";
  char* argv[2] = {name, nullptr};
  QGuiApplication app{argc, argv};
  QTemporaryDir dir;
};

TEST_F(QtPictures, BadFilesLeaveTheOldPicture) {
  ASSERT_TRUE(dir.isValid());
  QImage good(20, 10, QImage::Format_RGB32);
  good.fill(Qt::red);
  ASSERT_TRUE(good.save(dir.filePath("500.png")));
  QFile whole(dir.filePath("500.png"));
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  const QByteArray png = whole.readAll();
  Write(dir.filePath("501.png"), QByteArray());
  Write(dir.filePath("502.png"), png.left(png.size() / 2));
  Write(dir.filePath("503.png"), "this is not a picture");

  platform::qt::QtPlatform platform;
  auto owned = std::make_unique<platform::qt::QtPictures>(dir.path());
  platform::qt::QtPictures& pictures = *owned;
  platform.SetPictures(std::move(owned));
  ClientContext ctx(platform);
  auto& control = ctx.main().Get("Probe");
  ASSERT_TRUE(view::LoadResourcePicture(ctx, 500, control));
  EXPECT_EQ(pictures.Pixmap(500)->size(), QSize(20, 10));
  for (int bad : {501, 502, 503, 504}) {
    EXPECT_FALSE(view::LoadResourcePicture(ctx, bad, control)) << bad;
    EXPECT_EQ(control.Picture(), 500) << bad;
    EXPECT_EQ(pictures.Pixmap(bad), nullptr) << bad;
  }
  // Decoded once: the cached picture is the same object on every load.
  EXPECT_EQ(pictures.Pixmap(500), pictures.Pixmap(500));
  EXPECT_EQ(pictures.Scaled(500, {}, 40, 20), pictures.Scaled(500, {}, 40, 20));
  EXPECT_EQ(pictures.Scaled(500, {}, 40, 20)->size(), QSize(40, 20));
  EXPECT_EQ(pictures.Scaled(500, {0, 0, 5, 5}, 10, 10)->size(), QSize(10, 10));
}

// A high-density screen takes the pack's 2x half (<id>@2x.png, <id>@<w>x<h>@2x.png)
// into the same logical size; the clip stays in the design's pixels; a picture
// without its 2x half is resampled from the 1x one.
TEST_F(QtPictures, DenseScreensTakeThe2xHalf) {
  ASSERT_TRUE(dir.isValid());
  auto solid = [&](const QString& file, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(dir.filePath(file)));
  };
  solid("600.png", {20, 10}, Qt::red);
  solid("600@2x.png", {40, 20}, Qt::green);
  {  // the 2x half: left half blue, right half green
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::green);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) image.setPixel(x, y, qRgb(0, 0, 255));
    ASSERT_TRUE(image.save(dir.filePath("601@2x.png")));
  }
  solid("601.png", {20, 10}, Qt::red);
  solid("602.png", {20, 10}, Qt::red);  // no 2x half
  solid("603.png", {20, 10}, Qt::red);
  solid("603@2x.png", {40, 20}, Qt::green);
  solid("603@30x15@2x.png", {60, 30}, Qt::yellow);  // drawn at the table's size
  platform::qt::QtPictures pictures(dir.path());

  const struct {
    const char* what;
    int id;
    platform::Rect clip;
    int width, height;
    double ratio;
    QSize pixels;
    QRgb colour;
  } cases[] = {
      {"1x screen, natural size", 600, {}, 20, 10, 1.0, {20, 10}, qRgb(255, 0, 0)},
      {"2x screen, natural size", 600, {}, 20, 10, 2.0, {40, 20}, qRgb(0, 255, 0)},
      {"2x screen, stretched", 600, {}, 30, 15, 2.0, {60, 30}, qRgb(0, 255, 0)},
      {"1.5x screen from the 2x half", 600, {}, 20, 10, 1.5, {30, 15}, qRgb(0, 255, 0)},
      {"2x screen, clip of the left half", 601, {0, 0, 10, 10}, 10, 10, 2.0, {20, 20}, qRgb(0, 0, 255)},
      {"2x screen, clip of the right half", 601, {10, 0, 10, 10}, 10, 10, 2.0, {20, 20}, qRgb(0, 255, 0)},
      {"2x screen, no 2x half", 602, {}, 20, 10, 2.0, {40, 20}, qRgb(255, 0, 0)},
      {"2x screen, drawn at the size", 603, {}, 30, 15, 2.0, {60, 30}, qRgb(255, 255, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QPixmap* pm = pictures.Scaled(c.id, c.clip, c.width, c.height, c.ratio);
    ASSERT_NE(pm, nullptr);
    EXPECT_EQ(pm->size(), c.pixels);
    EXPECT_DOUBLE_EQ(pm->devicePixelRatio(), c.ratio);
    EXPECT_EQ(pm->deviceIndependentSize().toSize(), QSize(c.width, c.height));
    const QImage image = pm->toImage();
    EXPECT_EQ(image.pixel(image.width() / 2, image.height() / 2) & 0xFFFFFFu, c.colour & 0xFFFFFFu);
  }
  // The 1x picture is what the shapes of windows are read from, whatever the screen.
  platform::PixelMap pixels;
  ASSERT_TRUE(pictures.ReadPixels(600, pixels));
  EXPECT_EQ(pixels.width, 20);
}

TEST_F(QtPictures, MissingFolderStartsBlankAndSaysWhere) {
  const QString gone = dir.filePath("no-pictures-here");
  ::testing::internal::CaptureStderr();
  platform::qt::QtPictures pictures(gone);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(pictures.FolderExists());
  EXPECT_FALSE(pictures.Load(201));
  EXPECT_NE(err.find(gone.toStdString()), std::string::npos) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
}

}  // namespace
}  // namespace tavrel
