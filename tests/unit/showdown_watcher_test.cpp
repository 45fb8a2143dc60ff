// The hand showdown and the spectator's variants.
#include <gtest/gtest.h>

#include "claims_fixture.h"
#include "round/meld_rows.h"
#include "sound/sound.h"

namespace tavrel::testing {
namespace {

using Showdown = ClaimsFixture;

TEST_F(Showdown, FourPacketsForAThirteenTileLeftSeatAndNothingOpenUntilAllThree) {
  StartHand(0);
  Receive(Discard(Mask(0), 0x26));
  ASSERT_EQ(seat(1).concealedCount, 13);
  const int back = TilePicture(view::StandingBackPicture(1));
  const int image = seat(1).tiles[seat(1).firstConcealed].imageIndex;
  Receive(ShowdownPacket(Mask(1), {0x29, 0x28, 0x27, 0x26}));
  Receive(ShowdownPacket(Mask(1), {0x49, 0x48, 0x47, 0x46}));
  Receive(ShowdownPacket(Mask(1), {0x89, 0x88, 0x87, 0x86}));
  Receive(ShowdownPacket(Mask(1), {0x11, 0x12, 0x13, 0x14}));
  EXPECT_EQ(seat(1).concealedCount, 0);
  EXPECT_EQ(table().RevealedCount[1], 13);
  EXPECT_EQ(table().RevealedTiles[12][1], 0x11);
  EXPECT_EQ(Tile(image).Picture(), back) << "laid open only once the top and right seats are known";
  for (int r : {2, 3})
    for (int k = 0; k < 4; ++k) Receive(ShowdownPacket(Mask(r), {0x21 + k, 0x21 + k, 0x41 + k, 0x11}));
  // Now every hand lies open, sorted, at the shown size.
  const auto& s = seat(1);
  const auto size = view::ShownTileSize(1);
  for (int k = s.firstConcealed; k < s.firstConcealed + 13; ++k) {
    EXPECT_EQ(Tile(s.tiles[k].imageIndex).Width(), size.width) << k;
    EXPECT_EQ(Tile(s.tiles[k].imageIndex).Picture(), Face(s.tiles[k].code, 1)) << k;
  }
  EXPECT_EQ(s.tiles[s.firstConcealed].code, 0x86) << "dots first";
  EXPECT_EQ(s.tiles[s.firstConcealed + 12].code, 0x11);
  for (int k = seat(0).firstConcealed; k < seat(0).firstConcealed + seat(0).concealedCount; ++k)
    EXPECT_EQ(Tile(seat(0).tiles[k].imageIndex).Picture(), Face(seat(0).tiles[k].code, 0)) << "own " << k;
  ExpectSoundTable("laid open");
}

TEST_F(Showdown, AFourteenTileSeatKeepsItsLastTileApart) {
  StartHand(2);  // the top seat deals: fourteen tiles
  for (int r : {1, 3})
    for (int k = 0; k < 4; ++k) Receive(ShowdownPacket(Mask(r), {0x21, 0x22, 0x23, 0x24}));
  const std::array<int, 14> tiles = {0x29, 0x11, 0x45, 0x82, 0x23, 0x23, 0x47, 0x13, 0x88, 0x81, 0x26, 0x17, 0x44, 0x19 - 0x8};
  for (int i = 0; i < 14; i += 4)
    Receive(ShowdownPacket(Mask(2), {tiles[i], i + 1 < 14 ? tiles[i + 1] : 0, i + 2 < 14 ? tiles[i + 2] : 0,
                                         i + 3 < 14 ? tiles[i + 3] : 0}));
  const auto& s = seat(2);
  EXPECT_EQ(table().RevealedCount[2], 14);
  const int last = s.firstConcealed + 13;
  EXPECT_EQ(s.tiles[last].code, 0x11) << "the fourteenth stays where it came";
  const auto apart = view::ShownSlotBox(ctx(), 2, last, true);
  EXPECT_EQ(Tile(s.tiles[last].imageIndex).Left(), apart.left);
  std::vector<int> first13;
  for (int k = s.firstConcealed; k < last; ++k) first13.push_back(s.tiles[k].code);
  EXPECT_EQ(first13.front(), 0x81);
  EXPECT_EQ(first13.back(), 0x17);
  EXPECT_EQ(Tile(s.tiles[s.firstConcealed].imageIndex).Height(), view::ShownTileSize(2).height);
  ExpectSoundTable("the top seat open");
}

TEST_F(Showdown, ThePeekIsReadOncePerHand) {
  StartHand(0);
  table().WallBack = 33;
  table().WallFront = 50;
  Receive(ShowdownPacket(Mask(1), {0x11, 0, 0, 0}, {0x21, 0x45, 0x13, 0, 0}));
  EXPECT_EQ(table().PeekCount, 3);
  EXPECT_EQ(table().PeekPositions[0], 33);
  EXPECT_EQ(table().PeekPositions[1], 30);
  EXPECT_EQ(table().PeekPositions[2], 50);
  Receive(ShowdownPacket(Mask(1), {0x11, 0, 0, 0}, {0x29, 0x29, 0x29, 0x29, 0x29}));
  EXPECT_EQ(table().PeekTiles[0], 0x21) << "later packets of the hand do not read it";
  // The next hand reads it again.
  StartHand(1);
  Receive(ShowdownPacket(Mask(2), {0x11, 0, 0, 0}, {0x29, 0x28, 0, 0, 0}));
  EXPECT_EQ(table().PeekCount, 2);
  EXPECT_EQ(table().PeekTiles[0], 0x29);
}

struct Spectator : ClaimsFixture {
  Spectator() {
    table().SpectatorMode = round::kTrue;
    table().RestoreDone = round::kTrue;
  }
};

TEST_F(Spectator, TheWatchedPlayersTilesStayFaceDown) {
  table().RestoreDone = round::kFalse;
  StartHand(1);
  const int back = TilePicture(view::StandingBackPicture(0));
  for (int k = seat(0).firstConcealed; k < seat(0).firstConcealed + seat(0).concealedCount; ++k)
    EXPECT_EQ(Tile(seat(0).tiles[k].imageIndex).Picture(), back) << k;
  EXPECT_NE(seat(0).tiles[seat(0).firstConcealed].code, 0) << "the codes are known all the same";
}

TEST_F(Spectator, ADiscardGoesToItsRowAfterOneSecondAndTheNextDrawMovesNothing) {
  StartHand(2);
  const auto before = platform.clock().NowMs();
  Receive(Discard(Mask(2), 0x45));
  EXPECT_GE(platform.clock().NowMs() - before, 1000) << "shown beside the seat for a second";
  const int image = table().LastDiscardImage;
  EXPECT_EQ(Tile(image).Left(), 635);
  EXPECT_EQ(Tile(image).Top(), 238);
  EXPECT_EQ(Tile(image).Width(), 30);
  EXPECT_EQ(table().RowDiscards[2], 1);
  Receive(Draw(Mask(3)));
  EXPECT_EQ(Tile(image).Left(), 635);
  EXPECT_EQ(table().RowDiscards[2], 1);
  // The watched player's discard is the tile of that code.
  Receive(Discard(Mask(3), 0x11));
  Receive(Draw(Mask(0), 0x31 + 0x10));
  const int slot = seat(0).firstConcealed + 2;
  const int code = seat(0).tiles[slot].code;
  const int own = seat(0).tiles[slot].imageIndex;
  Receive(Discard(Mask(0), code));
  EXPECT_EQ(table().LastDiscardImage, own);
  EXPECT_EQ(Tile(own).Picture(), Face(code, 0));
  EXPECT_EQ(seat(0).concealedCount, 13);
  ExpectSoundTable("after the watcher's discards");
}

TEST_F(Spectator, AWinHidesItsBubbleAfterTwoSecondsWithoutTheBubbleTask) {
  StartHand(0);
  ctx().sched.bubblesBody = nullptr;
  const auto before = platform.clock().NowMs();
  Receive(Claim(Mask(2), 128, 0, 0, 0x26));
  EXPECT_GE(platform.clock().NowMs() - before, 2000);
  EXPECT_FALSE(Shown(ctl::Image1, 1));
  EXPECT_EQ(PictureOf(ctl::Image1, 1), WordPicture(view::kWordHu));
  EXPECT_TRUE(Heard("09.wav"));
}

TEST_F(Spectator, GangsAreAnnouncedWithTheirOwnWordsAndVoices) {
  const struct {
    int type, tile, word;
    const char* voice;
  } cases[] = {
      {16, 0x26, view::kWordGang, "03.wav"},
      {64, 0x15, view::kWordRedGang, "04.wav"},
      {64, 0x27, view::kWordWildGang, "05.wav"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.voice);
    Build(1280, 1024);
    table().SpectatorMode = round::kTrue;
    table().RestoreDone = round::kTrue;
    StartHand(0);
    Receive(Discard(Mask(0), seat(0).tiles[seat(0).firstConcealed].code));
    Receive(Gang(Mask(3), c.type, c.tile));
    EXPECT_EQ(PictureOf(ctl::Words), WordPicture(c.word));
    EXPECT_FALSE(Shown(ctl::Words)) << "hidden again after two seconds";
    EXPECT_TRUE(Heard(c.voice));
  }
}

TEST_F(Spectator, TheWatchedPlayersMeldsAreBuiltFromItsTiles) {
  StartHand(1);  // the watched hand holds 0x23 twice
  Receive(Discard(Mask(1), 0x23));
  Receive(Claim(Mask(0), 8, 0x23, 0x23, 0x23));
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(seat(0).tiles[k].kind, round::kPungSlot);
  EXPECT_EQ(HeldOf(0, 0x23), 0);
  const int back = TilePicture(view::StandingBackPicture(0));
  for (int k = seat(0).firstConcealed; k < seat(0).firstConcealed + seat(0).concealedCount; ++k)
    EXPECT_EQ(Tile(seat(0).tiles[k].imageIndex).Picture(), back) << k;
  // At the showdown the watched hand is laid open too, sorted.
  for (int r : {1, 2, 3})
    for (int k = 0; k < 4; ++k) Receive(ShowdownPacket(Mask(r), {0x21, 0x22, 0x23, 0x24}));
  for (int k = seat(0).firstConcealed; k < seat(0).firstConcealed + seat(0).concealedCount; ++k)
    EXPECT_EQ(Tile(seat(0).tiles[k].imageIndex).Picture(), Face(seat(0).tiles[k].code, 0)) << k;
  ExpectSoundTable("the watched hand open");
}

}  // namespace
}  // namespace tavrel::testing
