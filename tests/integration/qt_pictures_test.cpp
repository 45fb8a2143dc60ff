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

TEST(QtPictures, BadFilesLeaveTheOldPicture) {
  int argc = 1;
  char name[] = "qt_pictures_test";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  QTemporaryDir dir;
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

TEST(QtPictures, MissingFolderStartsBlankAndSaysWhere) {
  int argc = 1;
  char name[] = "qt_pictures_test";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  QTemporaryDir dir;
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
