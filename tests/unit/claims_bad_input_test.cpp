// Claim results, showdowns and spectator series the client cannot make sense of:
// nothing is written outside a table, nothing crashes, and the next hand recovers.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "claims_fixture.h"
#include "sound/sound.h"

namespace tavrel::testing {
namespace {

struct ClaimsBadInput : ClaimsFixture {
  void ExpectRowsInside(const char* when) {
    SCOPED_TRACE(when);
    std::set<int> seen;
    for (int r = 0; r < 4; ++r) {
      EXPECT_GE(seat(r).concealedCount, 0) << r;
      EXPECT_LE(seat(r).firstConcealed + seat(r).concealedCount, round::kSlotCount) << r;
    }
    for (int image : RowImages()) EXPECT_TRUE(image >= 0 && image < 84 && seen.insert(image).second) << image;
    const double s = c->view.LayoutScale;
    for (int i = 0; i < 84; ++i) {
      const auto& t = Tile(i);
      if (!t.Visible()) continue;
      EXPECT_TRUE(t.Left() >= -0.01 && t.Top() >= -0.01 && t.Left() + t.Width() <= 1024 * s + 0.01 &&
                  t.Top() + t.Height() <= 768 * s + 0.01)
          << i;
    }
  }
};

TEST_F(ClaimsBadInput, AnUnknownTypeChangesNoRowAndSoundsOnlyTheDiscard) {
  for (int type : {0, 2, 3, 5, 12, 200, 255, -1, 0x7FFF}) {
    SCOPED_TRACE(type);
    Build(1280, 1024);
    StartHand(0);
    Receive(Discard(Mask(0), 0x26));
    platform.Advance(3050);  // the discard's voice holds the effects for 3 s
    const auto before = table().custom;
    platform.simAudio().played.clear();
    Receive(Claim(Mask(2), type, 0x26, 0x26, 0x26));
    for (int r = 0; r < 4; ++r) {
      EXPECT_EQ(seat(r).concealedCount, before[r].concealedCount);
      EXPECT_EQ(seat(r).meldEnd, before[r].meldEnd);
    }
    EXPECT_FALSE(Shown(ctl::Words));
    EXPECT_FALSE(Shown(ctl::Image1, 1));
    EXPECT_EQ(platform.simAudio().played.size(), 1u);
    EXPECT_EQ(Played(sound::kDiscard), 1);
    ExpectSoundTable("after an unknown type");
  }
}

TEST_F(ClaimsBadInput, MeldsThatWouldPassTheLastSlotAreNotLaid) {
  const struct {
    int meldEnd, type;
  } cases[] = {{20, 8}, {21, 8}, {19, 16}, {30, 32}, {-5, 4}, {2, 8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.meldEnd << " " << c.type);
    Build(1280, 1024);
    StartHand(1);
    Receive(Discard(Mask(1), 0x23));
    seat(2).meldEnd = static_cast<std::int16_t>(c.meldEnd);
    seat(2).firstConcealed = static_cast<std::int16_t>(std::clamp(c.meldEnd, 4, 20));
    seat(2).concealedCount = static_cast<std::int16_t>(std::min(13, 21 - seat(2).firstConcealed));
    Receive(Gang(Mask(2), c.type, 0x23));
    EXPECT_LE(seat(2).firstConcealed + seat(2).concealedCount, 21);
    EXPECT_GE(seat(2).concealedCount, 0);
    Receive(Draw(Mask(2)));
    ExpectSoundTable("after the meld");
  }
}

TEST_F(ClaimsBadInput, GangTopsStopAtSixteen) {
  StartHand(2);
  table().GangTopCount[2] = 16;
  Receive(Gang(Mask(2), 32, 0x45));
  EXPECT_EQ(table().GangTopCount[2], 16);
  EXPECT_EQ(seat(2).concealedCount, 10);
}

TEST_F(ClaimsBadInput, ShowdownValuesOfZeroCountAsTilesAndShowBacks) {
  StartHand(0);
  for (int r : {1, 2, 3})
    for (int k = 0; k < 5; ++k) Receive(ShowdownPacket(Mask(r), {0, 0, 0, 0}));
  for (int r : {1, 2, 3}) {
    EXPECT_EQ(seat(r).concealedCount, 0) << r;
    EXPECT_EQ(table().RevealedCount[r], 13) << r << ": no more than the seat held";
  }
  const int image = seat(1).tiles[seat(1).firstConcealed].imageIndex;
  EXPECT_EQ(Tile(image).Picture(), TilePicture(view::FacePicture(0, 1, false)));
  ExpectSoundTable("zeros laid open");
}

TEST_F(ClaimsBadInput, ASpectatorSeriesThatNeverCompletesIsClearedByTheNextHand) {
  table().SpectatorMode = round::kTrue;
  Receive(Reset(Mask(1), 2, 3, 0x27, 0x26));
  Receive(SeatTiles(Mask(0), 2, 30, 1, {0x15, 0x23, 0x23, 0x23}, {0x11, 0x12, 0x13}));
  Receive(SeatTiles(Mask(1), 1, 30, 1, {}, {0, 0, 0, 0}));
  EXPECT_EQ(table().RestoreDone, round::kFalse);
  Receive(Discard(Mask(1), 0x45));
  Receive(Claim(Mask(2), 8, 0x45, 0x45, 0x45));
  ExpectSoundTable("a half restore");
  StartHand(3);
  for (int r = 0; r < 4; ++r) EXPECT_GE(seat(r).concealedCount, 13) << r;
  EXPECT_EQ(seat(0).redBonusCount, 0);
  ExpectSoundTable("the next hand");
}

TEST_F(ClaimsBadInput, RandomClaimsAndShowdownsNeverLeaveTheTable) {
  std::mt19937 rng(11);
  for (int round = 0; round < 30; ++round) {
    Build(1280, 1024);
    table().SpectatorMode = round % 3 == 0 ? round::kTrue : round::kFalse;
    StartHand(round % 4);
    for (int i = 0; i < 60; ++i) {
      const int mask = 1 << (rng() % 4);
      const int code = static_cast<int>(rng() % 256);
      switch (rng() % 5) {
        case 0: Receive(Claim(mask, static_cast<int>(1 << (rng() % 8)), code, code, code)); break;
        case 1: Receive(Claim(mask, static_cast<int>(rng() % 300), static_cast<int>(rng()), code, code)); break;
        case 2: Receive(ShowdownPacket(mask, {code, 0, code, 0x11}, {code, code, 0, 0, 0})); break;
        case 3: Receive(Draw(mask, code)); break;
        default: Receive(Discard(mask, code)); break;
      }
    }
    // Tiles may lie on each other after such a stream (a showdown in mid-hand takes the
    // shown tiles out of the count), but every row stays inside its slots and every
    // tile on the felt.
    ExpectRowsInside("a random stream");
    StartHand(0);
    for (int r = 0; r < 4; ++r) EXPECT_GE(seat(r).concealedCount, 13) << "round " << round << " seat " << r;
    ExpectSoundTable("the hand after it");
  }
}

}  // namespace
}  // namespace tavrel::testing
