#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "view/layout.h"
#include "view/pictures.h"
#include "view_test_support.h"

namespace tavrel {
namespace {

using testing_support::LaidOutTable;

TEST(LayoutScale, SmallWhenEitherSideIsBelowTheDesign) {
  const struct {
    int w, h;
    double scale;
  } cases[] = {{1280, 1024, 1.0}, {1024, 768, 1.0}, {800, 600, 0.78125}, {1024, 767, 0.78125}, {1023, 900, 0.78125}};
  for (const auto& c : cases) EXPECT_EQ(view::LayoutScaleFor({c.w, c.h}), c.scale) << c.w << "x" << c.h;
}

TEST(LayoutScale, StoredIntegersRoundHalvesToEven) {
  const std::pair<double, int> cases[] = {{37.5, 38}, {36.5, 36}, {28.125, 28}, {440.625, 441}, {-2.5, -2}, {14.84375, 15}};
  for (auto [v, expected] : cases) EXPECT_EQ(view::RoundHalfEven(v), expected) << v;
}

TEST(PictureTables, SmallScreenSwapsButtonsAndCompassOnly) {
  LaidOutTable large(1280, 1024), small(800, 600);
  const auto& L = large.ctx->view;
  const auto& S = small.ctx->view;
  EXPECT_EQ(L.ButtonPictures[0], 101);
  EXPECT_EQ(S.ButtonPictures[1], 102);  // the send button has no small variant
  EXPECT_EQ(L.ButtonPictures[2], 103);
  EXPECT_EQ(S.ButtonPictures[2], 381);
  EXPECT_EQ(S.ButtonPictures[19], 398);
  EXPECT_EQ(L.CompassPictures[3], 568);
  EXPECT_EQ(S.CompassPictures[0], 126);
  EXPECT_EQ(L.TilePictures[179], 380);
  EXPECT_EQ(L.AvatarPictures[9], 200);
  EXPECT_EQ(L.AvatarPictures[10], 401);
  EXPECT_EQ(L.OfferPictures[17], 158);
  EXPECT_EQ(L.DicePictures[15], 176);
  EXPECT_EQ(L.SmallDicePictures[5], 605);
  EXPECT_EQ(L.GenZhuangPictures[2], 420);
  EXPECT_EQ(S.TilePictures[0], L.TilePictures[0]);
}

TEST(ResetLayout, SmallScreenTileSizesAndRowOriginsAreRounded) {
  LaidOutTable t(800, 600);
  view::ResetLayout(*t.ctx);
  const auto& v = t.ctx->view;
  EXPECT_EQ(v.SeatTileWidth[1], 38);  // 48 x 0.78125 = 37.5
  EXPECT_EQ(v.SeatTileWidth[3], 38);
  EXPECT_EQ(v.SeatTileWidth[0], 28);
  EXPECT_EQ(v.SeatTileHeight[0], 39);  // 50 x 0.78125 = 39.0625
  const auto& own = t.ctx->table.custom[0];
  EXPECT_EQ(own.handX, 15);
  EXPECT_EQ(own.handY, 441);
  const auto& top = t.ctx->table.custom[2];
  EXPECT_EQ(top.discardX, 496);  // 496.09
  EXPECT_EQ(top.discardY, 186);  // 185.94
  EXPECT_EQ(top.discardRowX, top.discardX);
  EXPECT_EQ(top.discardRowY, top.discardY);
}

TEST(ResetLayout, RowOriginsAtFullScale) {
  LaidOutTable t;
  t.ctx->table.custom[3].discardX = 1;
  view::ResetLayout(*t.ctx);
  const int expected[4][4] = {{19, 564, 358, 438}, {163, 192, 287, 238}, {842, 122, 635, 238}, {942, 560, 758, 438}};
  for (int r = 0; r < 4; ++r) {
    const auto& s = t.ctx->table.custom[r];
    EXPECT_EQ(s.handX, expected[r][0]) << r;
    EXPECT_EQ(s.handY, expected[r][1]) << r;
    EXPECT_EQ(s.discardX, expected[r][2]) << r;
    EXPECT_EQ(s.discardY, expected[r][3]) << r;
    EXPECT_EQ(s.discardRowX, s.discardX);
  }
}

TEST(ResetLayout, WallStacksRunAlongTheFourSides) {
  LaidOutTable t;
  view::ResetLayout(*t.ctx);
  const struct {
    int position;
    double left, top, width, height;
  } cases[] = {
      {0, 659, 476, 36, 50},  {1, 659, 498, 36, 50},  {2, 623, 476, 36, 50},  {21, 299, 498, 36, 50},
      {22, 164, 396, 48, 35}, {23, 164, 416, 48, 35}, {24, 168, 381, 48, 35}, {40, 200, 261, 48, 35},
      {42, 346, 192, 30, 36}, {43, 346, 208, 30, 36}, {44, 376, 192, 30, 36}, {62, 646, 192, 30, 36},
      {64, 768, 252, 48, 35}, {65, 768, 272, 48, 35}, {66, 772, 267, 48, 35}, {83, 804, 407, 48, 35},
  };
  for (const auto& c : cases) {
    const auto& image = t.control("MJ_Image", c.position);
    EXPECT_EQ(image.Left(), c.left) << c.position;
    EXPECT_EQ(image.Top(), c.top) << c.position;
    EXPECT_EQ(image.Width(), c.width) << c.position;
    EXPECT_EQ(image.Height(), c.height) << c.position;
    EXPECT_EQ(image.Container(), "Pic1");
    EXPECT_FALSE(image.Visible());
  }
  std::set<std::pair<double, double>> places;
  for (int i = 0; i < 84; ++i) places.insert({t.control("MJ_Image", i).Left(), t.control("MJ_Image", i).Top()});
  EXPECT_EQ(places.size(), 84u);
}

TEST(ResetLayout, UpperTilesStandInFrontOfTheirLowerTiles) {
  LaidOutTable t;
  view::ResetLayout(*t.ctx);
  auto z = [&](int i) { return t.control("MJ_Image", i).Z(); };
  for (int stack = 0; stack < 42; ++stack) {
    const int upper = 2 * stack, lower = upper + 1;
    if (upper >= 22 && upper < 42) {
      EXPECT_LT(z(upper), z(lower)) << "left side keeps creation order, stack " << stack;
    } else {
      EXPECT_GT(z(upper), z(lower)) << "stack " << stack;
    }
  }
  // Own side: every lower tile behind every upper tile; position 2 over 0.
  EXPECT_LT(z(21), z(0));
  EXPECT_GT(z(2), z(0));
  // Top side was brought forward last.
  EXPECT_GT(z(42), z(2));
  EXPECT_GT(z(63), z(42));
}

TEST(ResetLayout, HidesTheHandDisplaysAndShowsTheBank) {
  LaidOutTable t;
  auto& v = t.ctx->view;
  int steps = 0;
  v.resetLayoutSteps.push_back([&] { ++steps; });
  for (int i = 0; i < 84; i += 7) t.control("MJ_Image", i).SetVisible(true);
  t.control("Time_Img").SetVisible(true);
  t.control("lblDifen").SetCaption("7");
  t.control("lblDifen").SetVisible(true);
  t.control("lbwealth").SetCaption("3");
  t.control("Bank").SetVisible(false);
  view::ResetLayout(*t.ctx);
  EXPECT_EQ(steps, 1);
  for (int i = 0; i < 84; ++i) EXPECT_FALSE(t.control("MJ_Image", i).Visible()) << i;
  EXPECT_FALSE(t.control("Time_Img").Visible());
  EXPECT_EQ(t.control("lblDifen").Caption(), "1");
  EXPECT_FALSE(t.control("lblDifen").Visible());
  EXPECT_EQ(t.control("lbwealth").Caption(), "1");
  EXPECT_TRUE(t.control("Bank").Visible());
  EXPECT_EQ(t.control("Speak", 1).Left(), t.control("Tou", 2).Left());
  EXPECT_EQ(t.control("Speak", 1).Top(), 15 + 62);

  // A table with wealth doubling keeps its multiplier.
  v.wealthDoubling = [] { return true; };
  t.control("lbwealth").SetCaption("3");
  view::ResetLayout(*t.ctx);
  EXPECT_EQ(t.control("lbwealth").Caption(), "3");
}

TEST(InitLayout, FixedControlsAtBothScales) {
  const double s = 0.78125;
  LaidOutTable large, small(800, 600);
  const struct {
    const char* name;
    int index;
    double left, top, smallLeft, smallTop;
  } cases[] = {
      {"AnNiu", 0, 573, 730, 573 * s, 730 * s},
      {"AnNiu", 4, 858, 699, 858 * s, 699 * s},
      {"AnNiu", 5, 648, 731, 648 * s, 731 * s},
      {"AnNiu", 8, 858, 731, 858 * s, 731 * s},
      {"Tou", 0, 10, 668, 10 * s, 668 * s},
      {"Tou", 3, 693, 15, 693 * s, 15 * s},
      {"OK", 1, 60, 310, 60 * s, 360 * s},
      {"OK", 2, 460, 88, 460 * s, 88 * s},
      {"Operation", 4, 558, 461, 558 * s, 461 * s},
      {"WildTileLabel", -1, 870, 112, 870 * s, 112 * s},
      {"imgBeishu", -1, 6, 256, 6 * s, 252 * s},
      {"lblDifen", -1, 58, 257, 58 * s + 8, 254 * s},
      {"lbwealth", -1, 60, 296, 59 * s + 8, 296 * s},
      {"imgsezi", 1, 50, 230, 50 * s + 3, 226 * s - 4},
      {"lbfont", 2, 424, 344, 424 * s - 10, 344 * s},
      {"lbl_zhuangNum", -1, 908, 146, (856 + 52) * s, (112 + 34) * s},
      {"Bird", -1, 936, 680, 936 * s, 680 * s},
      {"Bank", -1, 699, 658, 699 * s, 658 * s},
      {"ZhiNan", -1, 4, 112, 4 * s, 112 * s},
  };
  for (const auto& c : cases) {
    const auto& l = large.control(c.name, c.index);
    const auto& m = small.control(c.name, c.index);
    EXPECT_DOUBLE_EQ(l.Left(), c.left) << c.name << c.index;
    EXPECT_DOUBLE_EQ(l.Top(), c.top) << c.name << c.index;
    EXPECT_DOUBLE_EQ(m.Left(), c.smallLeft) << c.name << c.index;
    EXPECT_DOUBLE_EQ(m.Top(), c.smallTop) << c.name << c.index;
  }
  // The countdown sits under the wild-tile picture, its number inside it.
  const auto& label = large.control("WildTileLabel");
  EXPECT_EQ(large.control("Time_Img").Top(), label.Top() + label.Height());
  EXPECT_EQ(large.control("Number").Left(), large.control("Time_Img").Left() + 48);
  EXPECT_DOUBLE_EQ(small.control("Number").Left(), small.control("Time_Img").Left() + 48 * s + 2);
  EXPECT_EQ(small.control("Number").FontSize(), 12);
  // The wild tile itself is not scaled.
  EXPECT_EQ(small.control("WildTileImage").Width(), 36);
  EXPECT_EQ(small.control("WildTileImage").Left(), small.control("WildTileLabel").Left() + 20);
}

TEST(InitLayout, ButtonsFlagsAndPictures) {
  LaidOutTable t;
  const auto& v = t.ctx->view;
  for (int i = 0; i < 9; ++i) {
    EXPECT_FALSE(v.ButtonHover[i]);
    EXPECT_EQ(v.HandStarted[i], i == 2) << i;
    EXPECT_TRUE(t.control("AnNiu", i).Visible());
  }
  EXPECT_EQ(t.control("AnNiu", 0).Picture(), 101);
  EXPECT_EQ(t.control("AnNiu", 2).Picture(), 105);  // 开始
  EXPECT_EQ(t.control("AnNiu", 3).Picture(), 109);  // 设置
  EXPECT_EQ(t.control("AnNiu", 8).Picture(), 119);  // 退出
  for (int i = 0; i < 5; ++i) {
    const auto& offer = t.control("Operation", i);
    EXPECT_EQ(offer.Picture(), 141 + 3 * i);
    EXPECT_FALSE(offer.Visible());
    EXPECT_FALSE(offer.Enabled());
  }
  for (int i = 0; i < 16; ++i) EXPECT_EQ(t.control("SZ_Image", i).Picture(), 161 + i);
  // Tile pictures: control 0 in front of the rest after start-up.
  for (int i = 1; i < 84; ++i) EXPECT_GT(t.control("MJ_Image", 0).Z(), t.control("MJ_Image", i).Z());
}

}  // namespace
}  // namespace tavrel
