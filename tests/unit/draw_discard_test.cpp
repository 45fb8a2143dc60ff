// Drawing and discarding: the drawn tile, the centre tile and its way into the
// discard rows, the blink, the 跟庄 bubble and the routing of ClaimOptions.
#include <gtest/gtest.h>

#include "round/draw_discard.h"
#include "round_fixture.h"
#include "sound/sound.h"
#include "view/hand_view.h"
#include "view/own_discard.h"
#include "view/row_layout.h"

namespace tavrel::testing {
namespace {

struct DrawDiscard : RoundFixture {
  // Where a tile lies, as (left, top).
  std::pair<double, double> At(int image) { return {Tile(image).Left(), Tile(image).Top()}; }
  std::pair<double, double> Centre(int r) {
    const auto b = view::CentreBox(ctx(), r);
    return {b.left, b.top};
  }
  int LastImage() { return table().LastDiscardImage; }
};

TEST_F(DrawDiscard, AnOwnDiscardWaitsAtTheCentreForTheSeatAtTheRight) {
  StartHand(0);
  ASSERT_EQ(seat(0).concealedCount, 14);
  Receive(Discard(Mask(0), 0x26));
  const int image = LastImage();
  EXPECT_EQ(seat(0).concealedCount, 13);
  EXPECT_FALSE(view::IsOwnHandImage(ctx(), image));
  EXPECT_EQ(At(image), Centre(0));
  EXPECT_EQ(Tile(image).Width(), 36);

  Receive(Draw(Mask(2)));
  EXPECT_EQ(At(image), Centre(0)) << "the top seat's draw leaves it at the centre";
  Receive(Draw(Mask(3)));
  EXPECT_EQ(At(image), (std::pair<double, double>{358, 438}));
  EXPECT_EQ(table().RowDiscards[0], 1);
  EXPECT_EQ(table().BlinkCount, 3);
}

TEST_F(DrawDiscard, AnotherSeatsDiscardMovesAtWhicheverDrawComesNext) {
  for (int drawer : {2, 0}) {
    Build(1280, 1024);
    StartHand(1);
    Receive(Discard(Mask(1), 0x21));
    const int image = LastImage();
    EXPECT_EQ(At(image), Centre(1));
    EXPECT_EQ(Tile(image).Picture(), ctx().view.TilePictures[view::TilePictureIndex(0x21, 1)]);
    Receive(Draw(Mask(drawer), drawer == 0 ? 0x31 - 0x10 : 0));
    EXPECT_EQ(At(image), (std::pair<double, double>{287, 238})) << "drawn by " << drawer;
    EXPECT_EQ(Tile(image).Width(), 48);
    EXPECT_EQ(Tile(image).Height(), 35);
  }
}

TEST_F(DrawDiscard, TheNinthOwnDiscardStartsARowAbove) {
  StartHand(0);
  std::vector<int> images;
  for (int n = 0; n < 9; ++n) {
    Receive(Discard(Mask(0), seat(0).tiles[seat(0).firstConcealed].code));
    images.push_back(LastImage());
    Receive(Draw(Mask(3)));
    Receive(Discard(Mask(3), 0x19 - 0x8));
    Receive(Draw(Mask(0), 0x81 + n % 9));
  }
  for (int k = 0; k < 8; ++k) EXPECT_EQ(At(images[k]), (std::pair<double, double>(358 + 36 * k, 438))) << k;
  EXPECT_EQ(At(images[8]), (std::pair<double, double>(358, 438 - 32)));
  ExpectSoundTable("after nine rounds");
}

TEST_F(DrawDiscard, DiscardRowsStepAlongEachSeatsSide) {
  // Seat: first tile, second tile, ninth tile (the start of the second row).
  const struct {
    int r;
    std::pair<double, double> first, second, ninth;
  } cases[] = {
      {1, {287, 238}, {282, 256}, {287 - 40 + 48 + 40 - 5, 238}},
      {2, {635, 238}, {605, 238}, {635, 238 + 36 - 14}},
      {3, {758, 438}, {753, 420}, {758 - 40 - 48 + 40 + 5, 438}},
  };
  for (const auto& c : cases) {
    Build(1280, 1024);
    StartHand(0);
    Receive(Discard(Mask(0), 0x26));
    std::vector<int> images;
    for (int n = 0; n < 9; ++n) {
      // The seat draws (laying its previous discard into the row) and discards.
      Receive(Draw(Mask(c.r)));
      Receive(Discard(Mask(c.r), 0x21));
      images.push_back(LastImage());
    }
    Receive(Draw(Mask(c.r)));
    EXPECT_EQ(At(images[0]), c.first) << c.r;
    EXPECT_EQ(At(images[1]), c.second) << c.r;
    EXPECT_EQ(At(images[8]), c.ninth) << c.r;
  }
}

TEST_F(DrawDiscard, OnTheSmallScreenARowStillEndsAfterEightTiles) {
  Build(800, 600);
  StartHand(0);
  Receive(Discard(Mask(0), 0x26));
  std::vector<int> images;
  for (int n = 0; n < 9; ++n) {
    Receive(Draw(Mask(3)));
    Receive(Discard(Mask(3), 0x21));
    images.push_back(LastImage());
  }
  Receive(Draw(Mask(3)));
  EXPECT_EQ(Tile(images[8]).Top(), Tile(images[0]).Top()) << "the second row starts at the first one's top";
  EXPECT_LT(Tile(images[8]).Left(), Tile(images[0]).Left()) << "toward the centre";
  EXPECT_NE(Tile(images[8]).Left(), Tile(images[7]).Left());
  ExpectSoundTable("small screen");
}

TEST_F(DrawDiscard, AReplacementDrawComesFromTheBackOfTheWall) {
  StartHand(0);
  Receive(Discard(Mask(0), 0x26));
  table().WallBack = 82;
  for (int expected : {82, 83}) {
    table().NextFromFront = round::kFalse;  // as a gang leaves it
    table().SkipFlush = round::kTrue;
    const int p = seat(1).firstConcealed + seat(1).concealedCount;
    Receive(Draw(Mask(1)));
    EXPECT_EQ(seat(1).tiles[p].imageIndex, expected);
    EXPECT_EQ(table().NextFromFront, round::kTrue);
    Receive(Discard(Mask(1), 0x21));
  }
  EXPECT_EQ(table().WallBack, 80);
}

TEST_F(DrawDiscard, ADrawnTileStandsApartUntilTheNextDraw) {
  StartHand(0);
  // The left seat holds 13, its last tile drawn: apart from the row by a small gap.
  const auto& left = seat(1);
  const int drawn = left.tiles[left.firstConcealed + 12].imageIndex;
  const auto inLine = view::RowSlotBox(ctx(), 1, left.firstConcealed + 12);
  EXPECT_EQ(Tile(drawn).Top(), inLine.top + 10);
  Receive(Discard(Mask(0), 0x26));
  Receive(Draw(Mask(3)));
  Receive(Discard(Mask(3), 0x21));
  Receive(Draw(Mask(2)));
  Receive(Discard(Mask(2), 0x21));
  Receive(Draw(Mask(1)));
  EXPECT_EQ(Tile(drawn).Top(), inLine.top) << "back in line when the next tile comes";
  const int next = left.tiles[left.firstConcealed + 13].imageIndex;
  EXPECT_EQ(Tile(next).Top(), view::RowSlotBox(ctx(), 1, left.firstConcealed + 13).top + 10);
  // The own drawn tile stands half a tile to the right.
  Receive(Discard(Mask(1), 0x21));
  Receive(Draw(Mask(0), 0x48));
  const int own = seat(0).tiles[seat(0).firstConcealed + 13].imageIndex;
  EXPECT_EQ(Tile(own).Left(), view::RowSlotBox(ctx(), 0, seat(0).firstConcealed + 13).left + 24);
  EXPECT_EQ(Tile(own).Picture(), ctx().view.TilePictures[view::TilePictureIndex(0x48, 4)]);
}

TEST_F(DrawDiscard, TheOwnEchoAfterTheLocalInputTakesNothingMore) {
  StartHand(0);
  // The local input has put the clicked tile at the centre already.
  const int slot = seat(0).firstConcealed + 3;
  const int code = seat(0).tiles[slot].code;
  const int image = seat(0).tiles[slot].imageIndex;
  view::MoveOwnTileToCentre(ctx(), slot, code);
  ASSERT_EQ(seat(0).concealedCount, 13);
  Receive(Discard(Mask(0), code));
  EXPECT_EQ(seat(0).concealedCount, 13);
  EXPECT_EQ(LastImage(), image);
  EXPECT_EQ(At(image), Centre(0));
}

TEST_F(DrawDiscard, AServerMadeOwnDiscardTakesTheDrawnTileOutOfTheHand) {
  StartHand(0);
  const int drawn = seat(0).tiles[seat(0).firstConcealed + 13].imageIndex;
  const int drawnCode = seat(0).tiles[seat(0).firstConcealed + 13].code;
  Receive(Discard(Mask(0), drawnCode));
  EXPECT_EQ(seat(0).concealedCount, 13);
  EXPECT_EQ(LastImage(), drawn);
  EXPECT_EQ(Tile(drawn).Picture(), ctx().view.TilePictures[view::TilePictureIndex(drawnCode, 0)]);
  for (int k = 0; k < 13; ++k) {
    const auto& slot = seat(0).tiles[seat(0).firstConcealed + k];
    EXPECT_EQ(Tile(slot.imageIndex).Left(), view::RowSlotBox(ctx(), 0, seat(0).firstConcealed + k).left) << k;
  }
  ExpectSoundTable("after the discard");
}

TEST_F(DrawDiscard, ADiscardIsLaidIntoItsRowOnceHoweverManyDrawsFollow) {
  StartHand(0);
  Receive(Discard(Mask(0), 0x26));
  Receive(Draw(Mask(3)));
  // A replacement draw without a gang announced (say, a 中 set aside).
  Receive(Draw(Mask(3)));
  EXPECT_EQ(table().RowDiscards[0], 1);
  EXPECT_EQ(seat(0).discardX, 358 + 36);
  ExpectSoundTable("after two draws");
}

TEST_F(DrawDiscard, ADiscardIsSpokenInTheDiscardersVoice) {
  StartHand(0);
  platform.simAudio().played.clear();
  Receive(Discard(Mask(2), 0x47));
  ASSERT_GE(platform.simAudio().played.size(), 2u);
  EXPECT_EQ(platform.simAudio().played[0].path, ctx().sound.SoundFiles[sound::kDiscard]);
  EXPECT_EQ(platform.simAudio().played[1].path, sound::VoicePrefix(ctx(), 2) + sound::TileVoiceSuffix(0x47));
}

TEST_F(DrawDiscard, ATileZeroDiscardOnlyRecordsTheCode) {
  StartHand(0);
  const int before = seat(1).concealedCount;
  Receive(Discard(Mask(1), 0));
  EXPECT_EQ(table().LastDiscardCode, 0);
  EXPECT_EQ(seat(1).concealedCount, before);
  EXPECT_EQ(LastImage(), -1);
}

TEST_F(DrawDiscard, TheGenZhuangBubbleIsForOtherSeatsOnly) {
  StartHand(0);
  Receive(Discard(Mask(0), 0x26, 3));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(Find(ctl::tsSpeak, i)->Visible()) << i;
  Receive(Draw(Mask(3)));
  Receive(Discard(Mask(3), 0x21));
  Receive(Draw(Mask(2)));
  Receive(Discard(Mask(2), 0x21, 3));
  const auto& bubble = *Find(ctl::tsSpeak, 1);
  const auto& avatar = *Find(ctl::Tou, 2);
  EXPECT_TRUE(bubble.Visible());
  EXPECT_EQ(bubble.Picture(), ctx().view.GenZhuangPictures[1]);
  EXPECT_DOUBLE_EQ(bubble.Left(), avatar.Left() + 0.8 * avatar.Width());
  EXPECT_DOUBLE_EQ(bubble.Top(), avatar.Top() + 0.8 * avatar.Height());
  EXPECT_FALSE(Find(ctl::tsSpeak, 0)->Visible());
  EXPECT_TRUE(ctx().sched.BubblesShown);
  EXPECT_EQ(table().BubbleSeat, 1);
  // The scheduler hides it after 40 ticks.
  platform.Advance(50 * 41);
  EXPECT_FALSE(bubble.Visible());
  EXPECT_FALSE(ctx().sched.BubblesShown);
}

TEST_F(DrawDiscard, TheTileJustLaidIntoARowBlinksThreeTimes) {
  StartHand(0);
  Receive(Discard(Mask(0), 0x26));
  Receive(Draw(Mask(3)));
  const int image = LastImage();
  std::vector<bool> seen;
  for (int n = 0; n < 5; ++n) {
    round::BlinkTask(ctx());
    seen.push_back(Tile(image).Visible());
  }
  EXPECT_EQ(seen, (std::vector<bool>{false, true, false, true, true}));
}

TEST_F(DrawDiscard, ADrawWithValueOnePinsTheSeatsDiscardsForTheHand) {
  StartHand(0);
  Receive(Discard(Mask(0), 0x26));
  Receive(Draw(Mask(3)));
  Receive(Discard(Mask(3), 0x21));
  Receive(Draw(Mask(2), 0, 1));
  EXPECT_EQ(table().SeatDiscardPinned[3], 1);
  EXPECT_EQ(table().BlinkCount, 0);
  Receive(Discard(Mask(2), 0x21));
  Receive(Draw(Mask(1)));
  Receive(Discard(Mask(1), 0x21));
  Receive(Draw(Mask(0), 0x22));
  Receive(Discard(Mask(0), 0x22));
  Receive(Draw(Mask(3)));
  Receive(Discard(Mask(3), 0x23));
  const int pinned = LastImage();
  const int rowX = seat(3).discardX, rowY = seat(3).discardY;
  Receive(Draw(Mask(2)));
  EXPECT_EQ(At(pinned), Centre(3)) << "a pinned seat's discard stays where it was shown";
  EXPECT_NE(seat(3).discardY, rowY) << "while its row place still moves on";
  (void)rowX;
  // A new hand lifts the pin.
  Receive(NewHand(Mask(0), {1, 1, 1, 1}));
  EXPECT_EQ(table().SeatDiscardPinned[3], 0);
}

TEST_F(DrawDiscard, ClaimOptionsGoToTheOfferOnlyForTheOwnSeat) {
  StartHand(1);
  const auto passButton = [&] { return Find(ctl::Operation, 4)->Visible(); };
  Receive(Make(6, Mask(1), {0x81, 0, 0, 0}));
  EXPECT_FALSE(passButton());
  EXPECT_EQ(ctx().view.input.DecisionState, view::kAnswered);
  Receive(Make(6, Mask(0), {0x81, 0, 0, 0}));
  EXPECT_TRUE(passButton());
  EXPECT_EQ(ctx().view.input.DecisionState, view::kOfferOpen);
}

}  // namespace
}  // namespace tavrel::testing
