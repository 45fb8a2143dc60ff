// The table model: seats, winds, the wall ring's two ends, the seat reset.
#include <gtest/gtest.h>

#include "round/table_model.h"
#include "round/table_reset.h"
#include "round_fixture.h"

namespace tavrel::testing {
namespace {

TEST(Seats, RelSeatAroundOwnSeatTwo) {
  round::Table t;
  t.custom[0].seat = 4;
  const struct {
    int mask, rel;
  } cases[] = {{1, 2}, {2, 1}, {4, 0}, {8, 3}};
  for (const auto& c : cases) EXPECT_EQ(round::RelSeat(t, c.mask), c.rel) << c.mask;
  for (int r = 0; r < 4; ++r) EXPECT_EQ(round::RelSeat(t, round::MaskAt(2, r)), r);
}

TEST(Seats, SeatIndexCountsHalvings) {
  const struct {
    int mask, index;
  } cases[] = {{0, 0}, {1, 0}, {2, 1}, {4, 2}, {8, 3}};
  for (const auto& c : cases) EXPECT_EQ(round::SeatIndex(c.mask), c.index) << c.mask;
  EXPECT_EQ(round::SuitIndex(0x89), 3);
  EXPECT_EQ(round::SuitIndex(0x15), 0);
}

TEST(Seats, WindsOfTheFourSeats) {
  const char* winds[] = {"北", "西", "南", "东"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(round::WindName(i), winds[i]);
  EXPECT_EQ(round::WindName(6), "南");
  EXPECT_EQ(round::WindName(7), "");
  EXPECT_EQ(round::WindName(-1), "");
}

TEST(Tiles, CodesOfTheFourSuits) {
  for (int code : {0x11, 0x17, 0x21, 0x29, 0x41, 0x49, 0x81, 0x89}) EXPECT_TRUE(round::IsTileCode(code)) << code;
  for (int code : {0x00, 0x10, 0x18, 0x19, 0x2A, 0x31, 0x51, 0xF1, 0x80, 0x100, -1})
    EXPECT_FALSE(round::IsTileCode(code)) << code;
}

TEST(Wall, FrontPassesOverWhatTheBackTook) {
  const struct {
    int front, back, after;
  } cases[] = {{81, 83, 83}, {81, 82, 82}, {83, 5, 0}, {10, 13, 11}, {11, 13, 13}};
  for (const auto& c : cases) {
    round::Table t;
    t.WallFront = static_cast<std::int16_t>(c.front);
    t.WallBack = static_cast<std::int16_t>(c.back);
    round::WallStep(t);
    EXPECT_EQ(t.WallFront, c.after) << c.front << " with back " << c.back;
  }
}

TEST(Wall, BackTakesStacksBackwardsEvenTileFirst) {
  const struct {
    int back, after;
  } cases[] = {{82, 83}, {83, 80}, {1, 82}, {0, 1}};
  for (const auto& c : cases) {
    round::Table t;
    t.WallBack = static_cast<std::int16_t>(c.back);
    round::BackStep(t);
    EXPECT_EQ(t.WallBack, c.after) << c.back;
  }
}

struct SeatReset : RoundFixture {};

TEST_F(SeatReset, EverySeatStartsEmptyWithItsFirstMeldEnd) {
  StartHand();
  round::ResetSeats(ctx());
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(seat(r).meldEnd, r == 0 ? 3 : 4) << r;
    EXPECT_EQ(seat(r).firstConcealed, 4);
    EXPECT_EQ(seat(r).concealedCount, 0);
    EXPECT_EQ(seat(r).isDealer, round::kFalse);
    for (const auto& slot : seat(r).tiles) {
      EXPECT_EQ(slot.imageIndex, -1);
      EXPECT_EQ(slot.kind, 0);
    }
  }
  EXPECT_EQ(table().WildTile, -1);
  EXPECT_EQ(table().NextFromFront, round::kTrue);
  EXPECT_FALSE(table().Playing);
  EXPECT_EQ(seat(2).seat, Mask(2)) << "the seats stay where they are";
}

TEST_F(SeatReset, ClearTablePicturesHidesEveryTileAndForgetsTheCentre) {
  StartHand();
  Receive(Discard(Mask(1), 0x21));
  round::ClearTablePictures(ctx());
  EXPECT_EQ(table().LastDiscardImage, -1);
  EXPECT_EQ(table().BlinkPrev, -1);
  for (int i = 0; i < 84; ++i) {
    EXPECT_FALSE(Tile(i).Visible()) << i;
    EXPECT_EQ(Tile(i).Picture(), 0) << i;
  }
  EXPECT_EQ(seat(0).tiles[4].code, 0);
  EXPECT_EQ(Find(ctl::Zhuang)->Caption(), "");
  EXPECT_EQ(ctx().view.SeatTileWidth[1], 48) << "the wall and discard sizes again";
}

}  // namespace
}  // namespace tavrel::testing
