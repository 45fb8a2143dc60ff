#include <gtest/gtest.h>

#include "view/picture_catalogue.h"
#include "view/pictures.h"
#include "view_test_support.h"

namespace tavrel {
namespace {

using testing_support::LaidOutTable;

TEST(TilePictureIndex, SetsSuitsAndBacks) {
  const struct {
    int code, set, index;
  } cases[] = {
      {0x18, 0, 7},   {0x19, 1, 44},  {0x81, 4, 171}, {0x11, 0, 0},   {0x17, 0, 6},
      {0x21, 0, 9},   {0x49, 2, 98},  {0x89, 3, 143}, {0x19, 3, 116}, {0x18, 2, 79},
  };
  for (const auto& c : cases) EXPECT_EQ(view::TilePictureIndex(c.code, c.set), c.index) << std::hex << c.code;
}

TEST(LoadTilePicture, OutOfRangeIndicesChangeNothing) {
  LaidOutTable t;
  const std::uint64_t before = t.main().Revision();
  const std::pair<int, int> cases[] = {{84, 0}, {0, 180}, {-1, 0}, {0, -1}};
  for (auto [image, picture] : cases) view::LoadTilePicture(*t.ctx, image, picture);
  EXPECT_EQ(t.main().Revision(), before);
}

TEST(LoadTilePicture, ShowsTheTileOnlyWhenThePictureLoads) {
  LaidOutTable t;
  view::LoadTilePicture(*t.ctx, 5, 27);
  EXPECT_TRUE(t.control("MJ_Image", 5).Visible());
  EXPECT_EQ(t.control("MJ_Image", 5).Picture(), 228);

  t.platform.simPictures().missing.insert(229);
  view::LoadTilePicture(*t.ctx, 5, 28);
  EXPECT_FALSE(t.control("MJ_Image", 5).Visible());
  EXPECT_EQ(t.control("MJ_Image", 5).Picture(), 228);
}

TEST(LoadResourcePicture, MissingPictureKeepsTheOldOne) {
  LaidOutTable t;
  auto& bank = t.control("Bank");
  ASSERT_EQ(bank.Picture(), view::kPicBank);
  t.platform.simPictures().missing.insert(999);
  EXPECT_FALSE(view::LoadResourcePicture(*t.ctx, 999, bank));
  EXPECT_FALSE(view::LoadResourcePicture(*t.ctx, 0, bank));
  EXPECT_EQ(bank.Picture(), view::kPicBank);
  EXPECT_TRUE(bank.Visible());
  EXPECT_TRUE(view::LoadResourcePicture(*t.ctx, view::kPicPlatformLogo, bank));
  EXPECT_EQ(bank.Picture(), view::kPicPlatformLogo);
}

TEST(LoadResourcePicture, ASizelessControlTakesThePictureSize) {
  LaidOutTable t;
  auto& c = t.main().Get("Fresh");
  ASSERT_TRUE(view::LoadResourcePicture(*t.ctx, view::AvatarPictureId(3), c));
  EXPECT_EQ(c.Width(), 85);
  EXPECT_EQ(c.Height(), 90);
  c.SetSize(10, 10);
  view::LoadResourcePicture(*t.ctx, view::kPicTableBackground, c);
  EXPECT_EQ(c.Width(), 10);
}

TEST(StartUpPictures, MissingPackLeavesControlsBlankButLaidOut) {
  platform::sim::SimPlatform p;
  for (const auto& info : view::kPictureCatalogue) p.simPictures().missing.insert(info.id);
  ClientContext ctx(p);
  InstallParts(ctx);
  ctx.hooks.prepareLayout();
  ctx.hooks.finishLayout();
  auto& button = *ctx.main().Find("AnNiu", 4);
  EXPECT_EQ(button.Picture(), 0);
  EXPECT_EQ(button.Left(), 858);
  EXPECT_EQ(ctx.main().Find("Pic1")->Width(), 1024);
}

}  // namespace
}  // namespace tavrel
