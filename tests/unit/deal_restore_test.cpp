// The deal of a fresh hand and the rebuilding of a running one (TableReset and
// four SeatTiles).
#include <gtest/gtest.h>

#include <set>

#include "round/deal_restore.h"
#include "round_fixture.h"
#include "sound/sound.h"
#include "view/row_layout.h"

namespace tavrel::testing {
namespace {

struct Dealing : RoundFixture {};

TEST_F(Dealing, ThreeGroupsOfFourGoRoundFromTheOwnSeat) {
  Receive(NewHand(Mask(0), {1, 1, 1, 1}));
  const int front = table().WallFront;
  platform.simAudio().played.clear();
  Receive(Deal(Mask(0), OwnTwelve()));
  // Own seat index 2: seats 2, 3, 0, 1 in turn, which are relative seats 0, 3, 2, 1.
  const int order[4] = {0, 3, 2, 1};
  for (int g = 0; g < 3; ++g)
    for (int k = 0; k < 4; ++k)
      for (int i = 0; i < 4; ++i) {
        const auto& slot = seat(order[k]).tiles[4 + 4 * g + i];
        EXPECT_EQ(slot.imageIndex, (front + 16 * g + 4 * k + i) % 84) << g << " " << k << " " << i;
        EXPECT_EQ(slot.kind, 1);
      }
  for (int r = 0; r < 4; ++r) EXPECT_EQ(seat(r).concealedCount, 12) << r;
  EXPECT_EQ(table().WallFront, (front + 48) % 84);
  EXPECT_EQ(Played(sound::kDraw), 12);
  ExpectSoundTable("after the deal");
}

TEST_F(Dealing, TwelveOwnTilesStayUnsortedUntilTheHandIsComplete) {
  Receive(NewHand(Mask(1), {1, 1, 1, 1}));
  const auto start = platform.Now();
  Receive(Deal(Mask(0), OwnTwelve()));
  const auto twelve = OwnTwelve();
  for (int k = 0; k < 12; ++k) {
    const auto& slot = seat(0).tiles[4 + k];
    EXPECT_EQ(slot.code, twelve[k]) << k;
    EXPECT_EQ(Tile(slot.imageIndex).Picture(), ctx().view.TilePictures[view::TilePictureIndex(twelve[k], 4)]) << k;
    EXPECT_EQ(Tile(slot.imageIndex).Left(), 19 + 48 * (4 + k));
    EXPECT_EQ(Tile(slot.imageIndex).Top(), 564);
  }
  EXPECT_LT(platform.Now() - start, 1000) << "no turn-over at twelve tiles";

  // The thirteenth tile of a seat that does not deal completes the hand: a second
  // of backs, then the faces in order.
  const auto before = platform.Now();
  Receive(Draw(Mask(0), 0x25));
  EXPECT_GE(platform.Now() - before, 400 + 1000);
  std::vector<int> codes;
  for (int k = 0; k < 13; ++k) codes.push_back(seat(0).tiles[4 + k].code);
  EXPECT_EQ(codes, (std::vector<int>{0x82, 0x89, 0x41, 0x44, 0x47, 0x21, 0x23, 0x23, 0x25, 0x29, 0x11, 0x15, 0x17}));
  for (int k = 0; k < 13; ++k) {
    const auto& slot = seat(0).tiles[4 + k];
    EXPECT_EQ(Tile(slot.imageIndex).Picture(), ctx().view.TilePictures[view::TilePictureIndex(slot.code, 4)]) << k;
    EXPECT_EQ(Tile(slot.imageIndex).Left(), 19 + 48 * (4 + k)) << "in line again: " << k;
  }
}

TEST_F(Dealing, ADealForAnotherSeatShowsBacksOnly) {
  Receive(NewHand(Mask(0), {1, 1, 1, 1}));
  Receive(Deal(Mask(1), OwnTwelve()));
  for (int k = 0; k < 12; ++k) {
    const auto& slot = seat(0).tiles[4 + k];
    EXPECT_EQ(slot.code, 0);
    EXPECT_EQ(Tile(slot.imageIndex).Picture(), ctx().view.TilePictures[4 * 36 + 7]) << k;
  }
}

struct Restore : RoundFixture {
  static constexpr int kBreak = 50;  // dealer at relative seat 1, dice summing 14
  // What the server sends for a back that has given `taken` replacement tiles.
  static int BackNumber(int taken) { return taken % 2 == 0 ? (83 - taken + 84) % 84 : (89 - taken) % 84; }
  void ResetTable() {
    const int y = ((kBreak / 2 - 17 * ((1 + 13) % 4)) % 42 + 42) % 42;
    Receive(Reset(Mask(1), 0, y, 0x27, 0x26));
  }
  // A running hand: 60 steps of the front and 2 tiles from the back, 62 taken: the
  // own and top seats hold 13, the right seat 14 (its turn), the left seat 10 with a
  // pung and a 中 set aside; two discards each.
  void SendSeries() {
    const int front = 60, back = BackNumber(2);
    Receive(SeatTiles(Mask(0), 2, front, back, {}, {0x11, 0x23, 0x41, 0x89, 0x21, 0x15, 0x47, 0x82, 0x29, 0x23, 0x44, 0x17, 0x12}));
    Receive(SeatTiles(Mask(1), 2, front, back, {0x15, 0x23, 0x23, 0x23}, std::vector<int>(10, 0)));
    Receive(SeatTiles(Mask(2), 2, front, back, {}, std::vector<int>(13, 0)));
    Receive(SeatTiles(Mask(3), 2, front, back, {}, std::vector<int>(14, 0)));
  }
};

TEST_F(Restore, AnOpenListSetsTheRedTileAsideAndShowsThePung) {
  ResetTable();
  Receive(SeatTiles(Mask(1), 0, 60, BackNumber(2), {0x15, 0x23, 0x23, 0x23}, std::vector<int>(10, 0)));
  const auto& left = seat(1);
  EXPECT_EQ(left.redBonusCount, 1);
  const int aside = table().SeatSetAside[0][1];
  EXPECT_EQ(Tile(aside).Picture(), ctx().view.TilePictures[36 + 4]) << "中 in the left seat's set";
  const auto spot = view::SetAsideBox(ctx(), 1, 0);
  EXPECT_EQ(Tile(aside).Left(), spot.left);
  EXPECT_EQ(Tile(aside).Top(), spot.top);
  for (int k = 4; k < 7; ++k) {
    EXPECT_EQ(left.tiles[k].kind, 3) << k;
    EXPECT_EQ(left.tiles[k].code, 0x23) << k;
    EXPECT_EQ(Tile(left.tiles[k].imageIndex).Picture(), ctx().view.TilePictures[view::TilePictureIndex(0x23, 1)]);
  }
  EXPECT_EQ(left.meldEnd, 7);
  EXPECT_EQ(left.firstConcealed, 7);
  EXPECT_EQ(left.concealedCount, 10);
  EXPECT_EQ(table().RestoreCount, 14);
}

TEST_F(Restore, FourPacketsRebuildTheWallTheRowsAndTheDiscards) {
  ResetTable();
  SendSeries();
  EXPECT_EQ(table().RestoreDone, round::kTrue);
  EXPECT_EQ(table().SeatPacketCount, 0);
  EXPECT_EQ(table().WallFront, (kBreak + 60) % 84);
  EXPECT_EQ(table().WallBack, kBreak - 4) << "the next replacement tile after two";
  // 84 - 62 taken positions remain in the wall, face down with their side's back.
  int wall = 0;
  for (int pos = table().WallFront, n = 0; n < 22; ++n, pos = (pos + 1) % 84) {
    ++wall;
    if (pos == table().IndicatorPosition) continue;
    EXPECT_TRUE(Tile(pos).Visible()) << pos;
    EXPECT_EQ(Tile(pos).Picture(), ctx().view.TilePictures[view::WallBackPicture(view::WallSideOf(pos))]) << pos;
  }
  EXPECT_EQ(wall, 22);
  EXPECT_TRUE(round::StillInWall(ctx(), table().IndicatorPosition)) << "no taken position was left for it";
  EXPECT_EQ(Tile(table().IndicatorPosition).Picture(),
            ctx().view.TilePictures[view::TilePictureIndex(0x26, view::WallSideOf(table().IndicatorPosition))]);
  for (int r = 0; r < 4; ++r) EXPECT_EQ(table().RowDiscards[r], 2) << r;
  // The own hand is face up and sorted; the others stand as backs.
  for (int k = 0; k < 13; ++k) {
    const auto& slot = seat(0).tiles[4 + k];
    EXPECT_EQ(Tile(slot.imageIndex).Picture(), ctx().view.TilePictures[view::TilePictureIndex(slot.code, 4)]) << k;
  }
  EXPECT_EQ(seat(0).tiles[4].code, 0x82);
  EXPECT_EQ(Tile(seat(3).tiles[4].imageIndex).Picture(), ctx().view.TilePictures[115]);
  EXPECT_TRUE(Find(ctl::WildTileImage)->Visible());
  EXPECT_EQ(Find(ctl::WildTileImage)->Picture(), ctx().view.TilePictures[view::TilePictureIndex(0x27, 4)]);
  EXPECT_TRUE(table().Playing);
  EXPECT_TRUE(Find(ctl::ZhiNan)->Visible());
  ExpectSoundTable("after the restore");

  // Play goes on from the front of the rebuilt wall, and no row tile moves.
  std::vector<std::pair<double, double>> rows;
  for (int image : RowImages()) rows.push_back({Tile(image).Left(), Tile(image).Top()});
  const int next = table().WallFront;
  Receive(Discard(Mask(3), 0x21));
  Receive(Draw(Mask(0), 0x22));
  EXPECT_EQ(seat(0).tiles[4 + 13].imageIndex, next);
  ExpectSoundTable("after the next draw");
}

TEST_F(Restore, ASecondSeriesCountsItsPositionsAfresh) {
  ResetTable();
  SendSeries();
  std::vector<int> first = RowImages();
  ResetTable();
  EXPECT_EQ(table().RestoreCount, 0);
  SendSeries();
  EXPECT_EQ(RowImages(), first);
  ExpectSoundTable("after the second restore");
}

}  // namespace
}  // namespace tavrel::testing
