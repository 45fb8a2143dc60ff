// The start of a hand: the wall, the dice and the break, the dealer badge, the
// doubling display, HandParams and TableReset.
#include <gtest/gtest.h>

#include "round/new_hand.h"
#include "round/table_reset.h"
#include "round_fixture.h"
#include "sound/sound.h"
#include "view/picture_catalogue.h"

namespace tavrel::testing {
namespace {

struct NewHandTest : RoundFixture {};

TEST_F(NewHandTest, TheDiceBreakTheWallBehindTheDealersSide) {
  const struct {
    int dealerRel;
    std::array<int, 4> dice;
    int front, back;
  } cases[] = {{1, {3, 4, 2, 5}, 50, 48}, {3, {6, 6, 6, 6}, 28, 26}, {0, {1, 1, 1, 1}, 8, 6}, {2, {0, 1, 1, 1}, 50, 48}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dealerRel);
    Receive(NewHand(Mask(c.dealerRel), c.dice));
    EXPECT_EQ(table().WallFront, c.front);
    EXPECT_EQ(table().WallBack, c.back);
    EXPECT_EQ(seat(c.dealerRel).isDealer, round::kTrue);
    EXPECT_EQ(table().BreakDice[0], c.dice[0]);
    round::ResetSeats(ctx());
  }
}

TEST_F(NewHandTest, TwoThrowsTumbleOnScreenAndEndOnTheirFaces) {
  const auto start = platform.Now();
  Receive(NewHand(Mask(1), {3, 4, 2, 5}));
  // Two throws of at least 20 frames, each face shown 0.6 s, 0.2 s between them.
  EXPECT_GE(platform.Now() - start, 2 * (20 * 2 + 600) + 200);
  EXPECT_EQ(Find(ctl::Sai_Image, 0)->Picture(), view::kPicDieFaceFirst + 1) << "the second throw's 2";
  EXPECT_EQ(Find(ctl::Sai_Image, 1)->Picture(), view::kPicDieFaceFirst + 4) << "and its 5";
  EXPECT_FALSE(Find(ctl::Sai_Image, 0)->Visible());
  EXPECT_EQ(Played(sound::kDice), 2);
  EXPECT_EQ(Played(sound::kShuffle), 1);
}

TEST_F(NewHandTest, TheWallShowsFaceDownAlongTheFourSides) {
  Receive(NewHand(Mask(0), {1, 1, 1, 1}));
  for (int i = 0; i < 84; ++i) {
    const int side = i < 22 ? 0 : i < 42 ? 1 : i < 64 ? 2 : 3;
    const int back[4] = {8, 44, 8, 116};
    EXPECT_TRUE(Tile(i).Visible()) << i;
    EXPECT_EQ(Tile(i).Picture(), view::kPicTileFirst + back[side]) << i;
  }
  EXPECT_FALSE(Find(ctl::WildTileLabel)->Visible());
  EXPECT_TRUE(Find(ctl::ZhiNan)->Visible());
  EXPECT_EQ(Find(ctl::ZhiNan)->Picture(), ctx().view.CompassPictures[2]) << "南 at the bottom for seat 2";
  EXPECT_TRUE(Find(ctl::Host)->Visible());
  EXPECT_EQ(Find(ctl::Zhuang)->Caption(), "南") << "the dealer's wind on the badge";
  EXPECT_TRUE(table().Playing);
  EXPECT_TRUE(ctx().sched.BlinkOn);
}

TEST_F(NewHandTest, DiceDoublingShowsTheSecondThrowsSum) {
  Receive(NewHand(Mask(0), {1, 1, 2, 5}, 0));
  EXPECT_FALSE(Find(ctl::lblDifen)->Visible());
  EXPECT_FALSE(Find(ctl::imgBeishu)->Visible());
  EXPECT_FALSE(Find(ctl::imgsezi, 0)->Visible());
  EXPECT_FALSE(ctx().view.diceDoubling());

  Receive(NewHand(Mask(0), {1, 1, 2, 5}, 1));
  EXPECT_EQ(table().DiceDoubling, 1);
  EXPECT_TRUE(ctx().view.diceDoubling());
  EXPECT_TRUE(Find(ctl::lblDifen)->Visible());
  EXPECT_EQ(Find(ctl::lblDifen)->Caption(), "7");
  EXPECT_TRUE(Find(ctl::imgBeishu)->Visible());
  EXPECT_EQ(Find(ctl::imgsezi, 0)->Picture(), view::kPicSmallDieFirst + 1);
  EXPECT_EQ(Find(ctl::imgsezi, 1)->Picture(), view::kPicSmallDieFirst + 4);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(Find(ctl::lbfont, i)->Visible());
}

TEST_F(NewHandTest, OnlyTheFirstHandShowsTheFirstDealer) {
  table().FirstDealerSeat = Mask(1);
  Receive(NewHand(Mask(1), {1, 1, 1, 1}));
  EXPECT_EQ(Find(ctl::lbl_zhuang)->Caption(), "p1");
  EXPECT_EQ(Find(ctl::lbl_zhuangNum)->Caption(), "1");
  EXPECT_TRUE(Find(ctl::img_lianzhuang)->Visible());
  EXPECT_EQ(table().First4Message, 1);
  EXPECT_EQ(table().FirstDealerSeat, 0);

  Find(ctl::lbl_zhuang)->SetCaption("kept");
  table().FirstDealerSeat = Mask(3);
  Receive(NewHand(Mask(3), {1, 1, 1, 1}));
  EXPECT_EQ(Find(ctl::lbl_zhuang)->Caption(), "kept");
  EXPECT_EQ(table().HandNo, 2);
}

TEST_F(NewHandTest, ADealerWhoSitsNowhereEndsTheClient) {
  for (int mask : {0, 3}) {
    Build(1280, 1024);
    Receive(NewHand(mask, {1, 1, 1, 1}));
    EXPECT_TRUE(platform.ended) << mask;
  }
}

TEST_F(NewHandTest, HandParamsNamesTheWildTileAndDrawsNothing) {
  Receive(NewHand(Mask(0), {1, 1, 1, 1}));
  const auto revision = ctx().main().Revision();
  Receive(Params(0x27, 0x26));
  EXPECT_EQ(table().WildTile, 0x27);
  EXPECT_EQ(table().WildIndicator, 0x26);
  EXPECT_EQ(ctx().main().Revision(), revision);
}

TEST_F(NewHandTest, TableResetClearsTheTableAndFindsTheRunningHandsBreak) {
  StartHand();
  Receive(Discard(Mask(0), 0x25));
  // Dealer at relative seat 1 (seat index 1), dice summing 14: the break is 50.
  const int y = ((50 / 2 - 17 * ((1 + 13) % 4)) % 42 + 42) % 42;
  Receive(Reset(Mask(1), 0, y, 0x27, 0x26));
  for (int i = 0; i < 84; ++i) EXPECT_FALSE(Tile(i).Visible()) << i;
  EXPECT_EQ(seat(0).concealedCount, 0);
  EXPECT_EQ(table().WallFront, 50);
  EXPECT_EQ(table().WallBack, 48);
  EXPECT_EQ(table().WildTile, 0x27);
  EXPECT_EQ(table().WildIndicator, 0x26);
  EXPECT_EQ(table().DealerSeat, Mask(1));
  EXPECT_EQ(table().TableRestoreValues[1], y);
  EXPECT_EQ(Find(ctl::Zhuang)->Caption(), "西");
  EXPECT_TRUE(Find(ctl::Zhuang)->Visible());
  for (int i = 0; i <= 2; ++i) {
    EXPECT_FALSE(Find(ctl::AnNiu, i)->Enabled()) << i;
    EXPECT_EQ(Find(ctl::AnNiu, i)->Picture(), ctx().view.ButtonPictures[2 * i + 1]) << i;
    EXPECT_TRUE(ctx().view.HandStarted[i]);
  }
  EXPECT_TRUE(ctx().handEnd.Continued) << "the table is cleared for the hand";
}

TEST_F(NewHandTest, AHandWhoseTableResetWasMissedStartsFromEmptyRows) {
  StartHand();
  Receive(Discard(Mask(0), 0x25));
  // No hand end, no continue step: the next hand arrives at once.
  Receive(NewHand(Mask(1), {1, 1, 1, 1}));
  for (int r = 0; r < 4; ++r) EXPECT_EQ(seat(r).concealedCount, 0) << r;
  EXPECT_EQ(table().LastDiscardImage, -1);
  Receive(Deal(Mask(0), OwnTwelve()));
  for (int r = 0; r < 4; ++r) EXPECT_EQ(seat(r).concealedCount, 12) << r;
  ExpectSoundTable("after the second deal");
}

}  // namespace
}  // namespace tavrel::testing
