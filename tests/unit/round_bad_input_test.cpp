// Whatever the server sends, the round flow writes nothing outside a table, keeps
// every picture in one place on the felt, and the next hand starts clean.
#include <gtest/gtest.h>

#include <random>

#include "round_fixture.h"

namespace tavrel::testing {
namespace {

struct BadInput : RoundFixture {
  // The weaker promise that holds for any input: counts inside the row, each
  // picture in at most one row slot, every shown tile on the felt.
  void ExpectDrawable(const std::string& when) {
    SCOPED_TRACE(when);
    std::set<int> seen;
    for (int r = 0; r < 4; ++r) {
      const auto& s = seat(r);
      ASSERT_GE(s.concealedCount, 0) << r;
      ASSERT_LE(s.firstConcealed + s.concealedCount, round::kSlotCount) << r;
    }
    for (int image : RowImages()) {
      ASSERT_TRUE(image >= 0 && image < 84) << image;
      EXPECT_TRUE(seen.insert(image).second) << "picture " << image << " in two slots";
    }
    const double s = ctx().view.LayoutScale;
    for (int i = 0; i < 84; ++i) {
      const auto& t = Tile(i);
      if (!t.Visible()) continue;
      EXPECT_TRUE(t.Left() >= -0.01 && t.Top() >= -0.01 && t.Left() + t.Width() <= 1024 * s + 0.01 &&
                  t.Top() + t.Height() <= 768 * s + 0.01)
          << "tile " << i << " off the felt at " << t.Left() << "," << t.Top();
    }
  }
  // A fresh hand after whatever came before: twelve tiles a seat, the rest in the wall.
  void ExpectNextHandClean() {
    Receive(NewHand(Mask(2), {2, 3, 4, 5}));
    ASSERT_FALSE(platform.ended);
    Receive(Deal(Mask(0), OwnTwelve()));
    for (int r = 0; r < 4; ++r) {
      EXPECT_EQ(seat(r).concealedCount, 12) << r;
      EXPECT_EQ(seat(r).firstConcealed, 4) << r;
      EXPECT_EQ(seat(r).meldEnd, r == 0 ? 3 : 4) << r;
    }
    int shown = 0;
    for (int i = 0; i < 84; ++i) shown += Tile(i).Visible();
    EXPECT_EQ(shown, 84) << "48 in the rows, 36 in the wall";
    ExpectSoundTable("the next hand");
  }
};

TEST_F(BadInput, SeatMasksWithSeveralBitsOrNone) {
  StartHand(0);
  for (int mask : {0, 3, 5, 0x0F, 0x10, 0xFF}) {
    Receive(Draw(mask, 0x21));
    Receive(Discard(mask, 0x21, 3));
    Receive(Draw(mask, 0x21, 1));
    Receive(Make(6, mask, {0xFF, 0, 0, 0}));
    ExpectDrawable("mask " + std::to_string(mask));
  }
  ExpectNextHandClean();
}

TEST_F(BadInput, TileCodesOutsideTheFourSuits) {
  StartHand(0);
  for (int code : {0x00, 0x10, 0x18, 0x19, 0x1A, 0x30, 0x5F, 0x8A, 0xFF}) {
    Receive(Discard(Mask(0), code));
    Receive(Draw(Mask(3)));
    Receive(Discard(Mask(3), code));
    Receive(Draw(Mask(0), code));
    ExpectDrawable("code " + std::to_string(code));
  }
  // A code that is no tile shows a back, never another set's face.
  const auto& own = seat(0);
  const int last = own.tiles[own.firstConcealed + own.concealedCount - 1].imageIndex;
  EXPECT_EQ(Tile(last).Picture(), ctx().view.TilePictures[4 * 36 + 7]);
  ExpectNextHandClean();
}

TEST_F(BadInput, DealsOfOtherSizes) {
  for (int count : {0, 4, 11, 13, 16, 48, 255}) {
    Build(1280, 1024);
    Receive(NewHand(Mask(0), {1, 1, 1, 1}));
    Receive(Deal(Mask(0), OwnTwelve(), count));
    const int groups = std::min(count / 4, 3);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(seat(r).concealedCount, 4 * groups) << count;
    ExpectDrawable("count " + std::to_string(count));
    ExpectNextHandClean();
  }
}

TEST_F(BadInput, SeatTilesWhoseListsOverflow) {
  Receive(Reset(Mask(0), 0, 0, 0x27, 0x26));
  std::vector<int> open(24, 0x23), concealed(24, 0x11);
  Receive(SeatTiles(Mask(1), 255, 255, 255, open, {}));
  Receive(SeatTiles(Mask(2), 255, 255, 0, {}, concealed));
  Receive(SeatTiles(Mask(2), 200, 0, 255, std::vector<int>(8, 0x15), std::vector<int>(16, 0x27)));
  Receive(SeatTiles(Mask(0), 0, 84, 1, {0x15, 0x15, 0x15, 0x15, 0x15, 0x27, 0x27, 0x27, 0x27, 0x27}, concealed));
  EXPECT_EQ(table().RestoreDone, round::kTrue);
  EXPECT_LE(seat(1).meldEnd - 4, 24);
  EXPECT_EQ(seat(2).concealedCount, 17) << "fourteen read from each packet, as far as the row goes";
  ExpectDrawable("after the series");
  ExpectNextHandClean();
}

TEST_F(BadInput, DrawsForASeatWhoseRowIsFull) {
  StartHand(0);
  for (int n = 0; n < 30; ++n) Receive(Draw(Mask(1)));
  EXPECT_EQ(seat(1).firstConcealed + seat(1).concealedCount, round::kSlotCount);
  for (int n = 0; n < 30; ++n) Receive(Draw(Mask(0), 0x21 + n % 9));
  EXPECT_EQ(seat(0).firstConcealed + seat(0).concealedCount, round::kSlotCount);
  ExpectDrawable("after sixty draws");
  ExpectNextHandClean();
}

TEST_F(BadInput, ARandomStreamOfRoundPackets) {
  std::mt19937 rng(9);
  auto any = [&](int n) { return static_cast<int>(rng() % n); };
  StartHand(0);
  for (int n = 0; n < 1500; ++n) {
    const int mask = any(5) == 0 ? any(256) : Mask(any(4));
    const std::array<int, 4> v = {any(256), any(256), any(256), any(256)};
    switch (any(7)) {
      case 0: Receive(Make(1, mask, v)); break;
      case 1: Receive(Make(2, mask, v)); break;
      case 2: Receive(Make(5, mask, v)); break;
      case 3: Receive(Make(14, mask, v)); break;
      case 4: Receive(Make(41, mask, v)); break;
      case 5: {
        std::vector<int> open(any(25)), concealed(any(25));
        for (int& c : open) c = any(256);
        for (int& c : concealed) c = any(256);
        Receive(SeatTiles(mask, any(256), any(256), any(256), open, concealed));
        break;
      }
      default: Receive(Make(6, mask, v)); break;
    }
    if (HasFailure()) return;
    ExpectDrawable("packet " + std::to_string(n));
  }
  ExpectNextHandClean();
}

}  // namespace
}  // namespace tavrel::testing
