// The picture pack as the client will load it: tavrel-artgen is run into a
// fresh folder and its pictures are checked against the catalogue.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "view/picture_catalogue.h"

namespace v = tavrel::view;

namespace {

const QString kGenerator = QStringLiteral(TAVREL_PROGRAM_DIR "/tavrel-artgen");

int RunGenerator(const QStringList& args) {
  QProcess process;
  process.start(kGenerator, args);
  if (!process.waitForFinished(120000)) {
    process.kill();
    return -1;
  }
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Share of pixels that differ clearly between two pictures of one size.
double ChangedShare(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
  int changed = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int col = 0; col < x.width(); ++col) {
      const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
      const int d = qMax(qMax(qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q))), qAbs(qBlue(p) - qBlue(q)));
      if (d > 60 || qAbs(qAlpha(p) - qAlpha(q)) > 60) ++changed;
    }
  return double(changed) / (x.width() * x.height());
}

// The tile's face: the box around its bright ivory pixels.
QRect FaceBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (qAlpha(c) > 200 && qRed(c) > 225 && qGreen(c) > 215 && qBlue(c) > 180) box |= QRect(x, y, 1, 1);
    }
  return box;
}

// Where the engraving's weight lies: the centre of the ink (darkness) in the
// middle of the face; (0, 0) is the face's centre, the units its width and height.
QPointF InkCentre(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  const QRect face = FaceBox(image);
  const QPointF centre = QRectF(face).center();
  double sum = 0, sx = 0, sy = 0;
  for (int y = face.top() + face.height() / 5; y < face.top() + face.height() * 4 / 5; ++y)
    for (int x = face.left() + face.width() / 5; x < face.left() + face.width() * 4 / 5; ++x) {
      const double ink = 255 - qGray(image.pixel(x, y));
      sum += ink;
      sx += ink * (x + 0.5 - centre.x()) / face.width();
      sy += ink * (y + 0.5 - centre.y()) / face.height();
    }
  return sum > 0 ? QPointF(sx / sum, sy / sum) : QPointF();
}

bool IsIvory(QRgb c) { return qAlpha(c) > 200 && qRed(c) > 200 && qGreen(c) > 185 && qBlue(c) > 140; }

double IvoryShare(const QImage& image) {
  const QImage x = image.convertToFormat(QImage::Format_ARGB32);
  int ivory = 0;
  for (int y = 0; y < x.height(); ++y)
    for (int col = 0; col < x.width(); ++col) ivory += IsIvory(x.pixel(col, y));
  return double(ivory) / (x.width() * x.height());
}

class PicturePackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "picture_pack_test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (QCoreApplication::instance() == nullptr) app_ = std::make_unique<QGuiApplication>(argc, argv);
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(QFile::exists(kGenerator)) << "build tavrel-artgen first: " << kGenerator.toStdString();
    exit_code_ = RunGenerator({"--out", dir_->path()});
  }
  static void TearDownTestSuite() {
    dir_.reset();
    app_.reset();
  }

  void SetUp() override { ASSERT_EQ(exit_code_, 0) << "tavrel-artgen --out failed"; }

  static QImage Picture(int id) { return QImage(QDir(dir_->path()).filePath(QString::number(id) + ".png")); }
  static QImage Tile(int set, int pos) { return Picture(v::TilePictureId(set, pos)); }

  static inline std::unique_ptr<QGuiApplication> app_;
  static inline std::unique_ptr<QTemporaryDir> dir_;
  static inline int exit_code_ = -1;
};

TEST_F(PicturePackTest, EveryCatalogueIdHasAPictureOfItsSize) {
  for (const v::PictureInfo& info : v::kPictureCatalogue) {
    const QImage image = Picture(info.id);
    ASSERT_FALSE(image.isNull()) << "no picture " << info.id;
    EXPECT_EQ(image.size(), QSize(info.width, info.height)) << "picture " << info.id;
  }
}

int FacePos(int i) { return i < 7 ? i : i + 2; }  // the 34 faces, skipping the backs

TEST_F(PicturePackTest, TileFacesOfASetAllDiffer) {
  for (int set = 0; set < v::kTileSetCount; ++set)
    for (int i = 0; i < 34; ++i)
      for (int j = i + 1; j < 34; ++j)
        EXPECT_GT(ChangedShare(Tile(set, FacePos(i)), Tile(set, FacePos(j))), 0.01)
            << "set " << set << ": " << v::kTileNames[FacePos(i)] << " looks like " << v::kTileNames[FacePos(j)];
}

TEST_F(PicturePackTest, TileFacesAreTurnedTowardTheirOwner) {
  // Tiles whose engraving is heavier at the bottom (萬 under a light number,
  // six sticks of 七索 under one): in every set that weight must
  // lie toward the tile's owner.
  const int bottomHeavy[] = {11, 15, 18, 19};  // 三索 七索 一萬 二萬
  struct Case {
    int set;
    QPointF owner;  // direction of the owner on screen
  };
  const Case cases[] = {{v::kTileSetOwnLying, {0, 1}},  {v::kTileSetLeft, {-1, 0}},      {v::kTileSetTop, {0, -1}},
                        {v::kTileSetRight, {1, 0}}, {v::kTileSetOwnStanding, {0, 1}}};
  for (const Case& c : cases)
    for (int pos : bottomHeavy) {
      const QPointF weight = InkCentre(Tile(c.set, pos));
      const double along = weight.x() * c.owner.x() + weight.y() * c.owner.y();
      const double across = qAbs(weight.x() * c.owner.y() - weight.y() * c.owner.x());
      EXPECT_GT(along, 0.02) << "set " << c.set << " " << v::kTileNames[pos];
      EXPECT_GT(along, across) << "set " << c.set << " " << v::kTileNames[pos];
    }
}

TEST_F(PicturePackTest, BacksAreNotFaces) {
  for (int set = 0; set < v::kTileSetCount; ++set) {
    for (int back : {v::kTilePosStandingBack, v::kTilePosLyingBack})
      EXPECT_LT(IvoryShare(Tile(set, back)), 0.4) << "set " << set << " back " << back << " is mostly ivory";
    for (int i = 0; i < 34; ++i)
      EXPECT_GT(IvoryShare(Tile(set, FacePos(i))), 0.45) << "set " << set << " " << v::kTileNames[FacePos(i)];
  }
}

TEST_F(PicturePackTest, SpeechBubblesHaveHardEdgesOnTheKeyColour) {
  const QRgb key = 0xFF000000u | v::kSpeakBoxKeyColour;
  for (int seat = 0; seat < 4; ++seat) {
    const QImage box = Picture(v::kPicSpeakBoxFirst + seat).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(box.pixel(0, 0), key) << "seat " << seat;
    EXPECT_NE(box.pixel(box.width() / 2, box.height() / 2), key) << "seat " << seat;
    int fringe = 0;
    for (int y = 0; y < box.height(); ++y)
      for (int x = 0; x < box.width(); ++x) {
        const QRgb c = box.pixel(x, y);
        fringe += c != key && qRed(c) > 180 && qBlue(c) > 180 && qGreen(c) < 120;
      }
    EXPECT_EQ(fringe, 0) << "seat " << seat << ": pink pixels along the bubble's edge";
  }
}

TEST_F(PicturePackTest, ContactSheetShowsThePack) {
  const QString sheet = QDir(dir_->path()).filePath("sheet.png");
  ASSERT_EQ(RunGenerator({"--sheet", sheet}), 0);
  const QImage image(sheet);
  ASSERT_FALSE(image.isNull());
  EXPECT_GT(image.height(), 1000);
}

TEST_F(PicturePackTest, BadCommandLinesFail) {
  QFile blocker(QDir(dir_->path()).filePath("not-a-folder"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const QStringList cases[] = {{}, {"--bogus", "x"}, {"--out"}, {"--out", blocker.fileName() + "/pictures"}};
  for (const QStringList& args : cases) EXPECT_NE(RunGenerator(args), 0) << args.join(' ').toStdString();
}

}  // namespace
