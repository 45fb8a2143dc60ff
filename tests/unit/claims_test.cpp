// Claims shown: the announcement beside another seat and the meld laid into every
// row, the own one included.
#include <gtest/gtest.h>

#include "claims_fixture.h"
#include "round/meld_rows.h"
#include "sound/sound.h"

namespace tavrel::testing {
namespace {

using Claims = ClaimsFixture;

TEST_F(Claims, TheLeftSeatsFirstPungFromThirteenTiles) {
  StartHand(0);
  Receive(Discard(Mask(0), 0x26));
  const int centre = table().LastDiscardImage;
  std::vector<int> backs;
  for (int k = 4; k < 17; ++k) backs.push_back(seat(1).tiles[k].imageIndex);
  Receive(Claim(Mask(1), 8, 0x26, 0x26, 0x26));

  const auto& s = seat(1);
  for (int k = 2; k <= 4; ++k) {
    EXPECT_EQ(s.tiles[k].kind, 3) << k;
    EXPECT_EQ(s.tiles[k].code, 0x26) << k;
    EXPECT_EQ(Tile(s.tiles[k].imageIndex).Picture(), Face(0x26, 1)) << k;
  }
  EXPECT_EQ(s.tiles[4].imageIndex, centre) << "the tile that was at the centre";
  EXPECT_EQ(s.tiles[2].imageIndex, backs[0]);
  EXPECT_EQ(s.tiles[3].imageIndex, backs[1]);
  EXPECT_EQ(s.firstConcealed, 7);
  EXPECT_EQ(s.concealedCount, 11);
  EXPECT_EQ(s.meldEnd, 7);
  for (int k = 7; k <= 17; ++k) EXPECT_EQ(s.tiles[k].kind, 1) << k;
  EXPECT_EQ(s.tiles[18].imageIndex, -1);
  // 碰 beside the left seat, with its voice.
  EXPECT_TRUE(Shown(ctl::Words));
  EXPECT_EQ(PictureOf(ctl::Words), WordPicture(view::kWordPeng));
  EXPECT_EQ(Find(ctl::Words)->Left(), Find(ctl::Speak, 0)->Left());
  EXPECT_TRUE(Heard("02.wav"));
  EXPECT_TRUE(ctx().sched.BubblesShown);
  EXPECT_EQ(table().BubbleSeat, 0);
  // The claimed tile never goes into the discard row.
  Receive(Discard(Mask(1), 0x11));
  Receive(Draw(Mask(0), 0x12));
  EXPECT_EQ(table().RowDiscards[0], 0);
  ExpectSoundTable("after the pung");
}

TEST_F(Claims, TheOwnFirstMeldTakesSlotsOneToThreeWithoutWordOrVoice) {
  StartHand(1);  // the own hand holds 0x23 twice and 0x21
  Receive(Discard(Mask(1), 0x23));
  const int centre = table().LastDiscardImage;
  platform.simAudio().played.clear();
  Receive(Claim(Mask(0), 8, 0x23, 0x23, 0x23));

  const auto& s = seat(0);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(s.tiles[k].kind, 3) << k;
    EXPECT_EQ(s.tiles[k].code, 0x23) << k;
    EXPECT_EQ(Tile(s.tiles[k].imageIndex).Picture(), Face(0x23, 0)) << k;
  }
  EXPECT_EQ(s.tiles[3].imageIndex, centre);
  EXPECT_EQ(s.firstConcealed, 7);
  EXPECT_EQ(s.concealedCount, 11);
  EXPECT_EQ(s.meldEnd, 6);
  const auto hand = Hand(0);
  EXPECT_EQ(std::count(hand.begin(), hand.end(), 0x23), 0);
  EXPECT_TRUE(std::is_sorted(hand.begin(), hand.end(), [](int a, int b) {
    return (a & 0xF0) > (b & 0xF0) || ((a & 0xF0) == (b & 0xF0) && (a & 0xF) < (b & 0xF));
  })) << "the hand stays in order";
  for (int k = 7; k < 18; ++k) EXPECT_EQ(Tile(s.tiles[k].imageIndex).Top(), 564) << "standing in the row, slot " << k;
  EXPECT_FALSE(Shown(ctl::Words));
  EXPECT_FALSE(Heard("02.wav"));
  EXPECT_EQ(Played(sound::kDiscard), 0);
  ExpectSoundTable("after the own pung");
}

TEST_F(Claims, AnOwnChowTakesTheTwoTilesThatCompleteTheRun) {
  // Whatever the result names beside the claimed tile, the hand gives a pair that runs.
  for (std::array<int, 2> named : {std::array<int, 2>{0x21, 0x23}, {0x11, 0x11}}) {
    Build(1280, 1024);
    StartHand(1);  // the own hand holds 0x21 and 0x23
    Receive(Discard(Mask(1), 0x22));
    Receive(Claim(Mask(0), 4, named[0], named[1], 0x22));
    std::vector<int> meld;
    for (int k = 1; k <= 3; ++k) {
      meld.push_back(seat(0).tiles[k].code);
      EXPECT_EQ(seat(0).tiles[k].kind, round::kChowSlot);
    }
    std::sort(meld.begin(), meld.end());
    EXPECT_EQ(meld, (std::vector<int>{0x21, 0x22, 0x23})) << named[0];
    EXPECT_EQ(seat(0).concealedCount, 11);
    ExpectSoundTable("after the own chow");
  }
}

TEST_F(Claims, AConcealedGangByTheTopSeat) {
  StartHand(2);
  ASSERT_EQ(seat(2).concealedCount, 14);
  const int back = table().WallBack;
  Receive(Gang(Mask(2), 32, 0x45));
  EXPECT_TRUE(Shown(ctl::Image1, 1));
  EXPECT_EQ(PictureOf(ctl::Image1, 1), WordPicture(view::kWordGang));
  EXPECT_TRUE(Heard("03.wav"));
  EXPECT_EQ(table().NextFromFront, round::kFalse);
  EXPECT_EQ(table().SkipFlush, round::kTrue);
  EXPECT_EQ(table().GangTops[0][2], round::kGangTopConcealed);
  EXPECT_EQ(seat(2).concealedCount, 10);
  // The fourth tile lies on the meld's middle tile, face up.
  const int top = table().LastDiscardImage;
  const auto middle = view::MeldSlotBox(ctx(), 2, 3);
  EXPECT_EQ(Tile(top).Picture(), Face(0x45, 2));
  EXPECT_EQ(Tile(top).Left(), middle.left);
  EXPECT_GT(Tile(top).Top(), middle.top);
  Receive(Draw(Mask(2)));
  EXPECT_EQ(seat(2).tiles[seat(2).firstConcealed + 10].imageIndex, back) << "the replacement comes from the back";
  EXPECT_EQ(seat(2).concealedCount, 11);
  ExpectSoundTable("after the gang and its replacement");
}

TEST_F(Claims, GangCountsBeforeAndAfterTheReplacement) {
  const struct {
    int dealer, r, type, before, after, replaced;
  } cases[] = {
      {1, 1, 32, 14, 10, 11},  // concealed, on its own turn
      {0, 1, 16, 13, 10, 11},  // exposed, on the own discard
      {0, 2, 16, 13, 10, 11},
      {3, 3, 32, 14, 10, 11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "seat " << c.r << " type " << c.type);
    Build(1280, 1024);
    StartHand(c.dealer);
    if (c.type == 16) Receive(Discard(Mask(0), 0x26));
    const int centre = table().LastDiscardImage;
    EXPECT_EQ(seat(c.r).concealedCount, c.before);
    Receive(Gang(Mask(c.r), c.type, 0x26));
    EXPECT_EQ(seat(c.r).concealedCount, c.after);
    EXPECT_EQ(seat(c.r).meldEnd, 7);
    if (c.type == 16) {
      EXPECT_EQ(Tile(centre).Picture(), Face(0x26, c.r)) << "the discard lies on the meld";
      EXPECT_FALSE(Shown(ctl::Words)) << "a gang on a discard is not announced";
    }
    Receive(Draw(Mask(c.r)));
    EXPECT_EQ(seat(c.r).concealedCount, c.replaced);
    EXPECT_EQ(table().RowDiscards[0], 0) << "the gang's discard was not flushed";
    ExpectSoundTable("after the replacement");
  }
}

TEST_F(Claims, OwnGangsTakeTheirTilesByCode) {
  // Four 0x41 in the own deal: a concealed gang; three 0x44: a gang on a discard.
  const std::vector<int> own = {0x41, 0x41, 0x41, 0x41, 0x44, 0x44, 0x44, 0x82, 0x29, 0x23, 0x17, 0x11};
  StartWith(0, own, 0x25, 0x26);
  Receive(Gang(Mask(0), 32, 0x41));
  EXPECT_EQ(seat(0).concealedCount, 10);
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(seat(0).tiles[k].code, 0x41);
  EXPECT_EQ(HeldOf(0, 0x41), 0);
  Receive(Draw(Mask(0), 0x88));
  EXPECT_EQ(seat(0).concealedCount, 11);
  Receive(Discard(Mask(0), 0x88));
  Receive(Draw(Mask(3)));
  Receive(Discard(Mask(3), 0x44));
  const int centre = table().LastDiscardImage;
  Receive(Gang(Mask(0), 16, 0x44));
  EXPECT_EQ(seat(0).concealedCount, 7);
  EXPECT_EQ(seat(0).meldEnd, 9);
  for (int k = 4; k <= 6; ++k) EXPECT_EQ(seat(0).tiles[k].code, 0x44);
  EXPECT_EQ(Tile(centre).Picture(), Face(0x44, 0));
  EXPECT_EQ(HeldOf(0, 0x44), 0);
  ExpectSoundTable("after two own gangs");
}

TEST_F(Claims, AnAddedGangJoinsItsPungAndRedAndWildTilesAreSetAside) {
  StartHand(0);
  Receive(Discard(Mask(0), 0x26));
  Receive(Claim(Mask(1), 8, 0x26, 0x26, 0x26));
  Receive(Discard(Mask(1), 0x11));
  Receive(Draw(Mask(2)));
  Receive(Discard(Mask(2), 0x12));
  Receive(Draw(Mask(3)));
  Receive(Discard(Mask(3), 0x13));
  Receive(Draw(Mask(0), 0x14));
  Receive(Discard(Mask(0), 0x14));
  Receive(Draw(Mask(1)));
  const int last = seat(1).tiles[seat(1).firstConcealed + seat(1).concealedCount - 1].imageIndex;
  Receive(Gang(Mask(1), 64, 0x26));
  EXPECT_EQ(seat(1).concealedCount, 10);
  EXPECT_EQ(table().GangTops[0][1], round::kGangTopAdded);
  EXPECT_EQ(Tile(last).Picture(), Face(0x26, 1));
  EXPECT_EQ(Tile(last).Top(), view::GangTopBox(ctx(), 1, 3).top);
  EXPECT_EQ(PictureOf(ctl::Words), WordPicture(view::kWordOpenGang));
  for (int k = 2; k <= 4; ++k) EXPECT_EQ(seat(1).tiles[k].kind, round::kAddedGangSlot);

  // 中 and the wild tile (0x27) go beside the row, each to the next spot, unannounced.
  Receive(Draw(Mask(1)));
  Find(ctl::Words)->SetVisible(false);
  platform.simAudio().played.clear();
  for (int code : {0x15, 0x27}) {
    const int image = seat(1).tiles[seat(1).firstConcealed + seat(1).concealedCount - 1].imageIndex;
    const int spot = seat(1).redBonusCount + seat(1).wildBonusCount;
    Receive(Gang(Mask(1), 64, code));
    const auto box = view::SetAsideBox(ctx(), 1, spot);
    EXPECT_EQ(Tile(image).Left(), box.left) << code;
    EXPECT_EQ(Tile(image).Top(), box.top) << code;
    EXPECT_EQ(Tile(image).Picture(), Face(code, 1)) << code;
    Receive(Draw(Mask(1)));
  }
  EXPECT_EQ(seat(1).redBonusCount, 1);
  EXPECT_EQ(seat(1).wildBonusCount, 1);
  EXPECT_GE(table().SeatSetAside[0][1], 0);
  EXPECT_GE(table().SeatSetAside[4][1], 0);
  EXPECT_FALSE(Shown(ctl::Words));
  EXPECT_FALSE(Heard("03.wav"));
  ExpectSoundTable("after the added gang and the tiles set aside");
}

TEST_F(Claims, TheOwnRedTileIsSetAsideByItsCode) {
  StartHand(1);  // the own deal holds one 中
  ASSERT_EQ(HeldOf(0, 0x15), 1);
  ctx().view.input.GangChoices[0] = seat(0).firstConcealed;  // a stale choice of an earlier offer
  Receive(Gang(Mask(0), 64, 0x15));
  EXPECT_EQ(HeldOf(0, 0x15), 0);
  EXPECT_EQ(seat(0).concealedCount, 12);
  EXPECT_EQ(seat(0).redBonusCount, 1);
  const int image = table().SeatSetAside[0][0];
  EXPECT_EQ(Tile(image).Picture(), Face(0x15, 0));
  Receive(Draw(Mask(0), 0x31 + 0x10));
  EXPECT_EQ(seat(0).concealedCount, 13);
  ExpectSoundTable("after the own 中");
}

TEST_F(Claims, WinsByTheRightAndThenTheTopSeat) {
  StartHand(0);
  Receive(Discard(Mask(0), 0x26));
  Receive(Claim(Mask(3), 128, 0, 0, 0x26));
  EXPECT_EQ(table().WinnerSeat, 3);
  Receive(Claim(Mask(2), 128, 0, 0, 0x26));
  EXPECT_EQ(table().HuCount, 2);
  EXPECT_EQ(table().WinnerSeat, 3);
  EXPECT_TRUE(Shown(ctl::Image1, 2));
  EXPECT_TRUE(Shown(ctl::Image1, 1)) << "both wins stay up";
  EXPECT_EQ(PictureOf(ctl::Image1, 1), WordPicture(view::kWordHu));
  EXPECT_TRUE(Heard("09.wav"));
  platform::Form& score = ctx().ui.form(frm::Score);
  EXPECT_EQ(score.Get(ctl::Score::ID, 3).ForeColor(), 255u);
  for (int i : {0, 1, 2}) EXPECT_EQ(score.Get(ctl::Score::ID, i).ForeColor(), 0xFF00u) << i;
  // The next hand's layout counts again.
  Receive(NewHand(Mask(1), {1, 2, 3, 4}));
  EXPECT_EQ(table().HuCount, 0);
}

TEST_F(Claims, AnotherSeatsClaimHidesTheOtherBubblesUntilASecondWin) {
  StartHand(0);
  Receive(Discard(Mask(0), 0x26));
  Receive(Gang(Mask(2), 32, 0x45));
  ASSERT_TRUE(Shown(ctl::Image1, 1));
  Receive(Claim(Mask(3), 8, 0x11, 0x11, 0x11));
  EXPECT_FALSE(Shown(ctl::Image1, 1)) << "one claim at a time";
  EXPECT_TRUE(Shown(ctl::Words));
  // The scheduler's bubble task, restarted, hides it.
  EXPECT_TRUE(ctx().sched.BubblesShown);
  EXPECT_EQ(ctx().sched.bubblesCounter, 0);
  ctx().sched.bubblesBody(ctx());
  EXPECT_FALSE(Shown(ctl::Words));
}

TEST_F(Claims, TheOwnWinStandsTheOwnRowUpAgain) {
  StartHand(0);
  const int image = seat(0).tiles[5].imageIndex;
  Tile(image).SetSize(10, 10);
  Receive(Claim(Mask(0), 128, 0, 0, 0));
  EXPECT_EQ(table().WinnerSeat, 0);
  EXPECT_EQ(Tile(image).Width(), 48);
  EXPECT_EQ(Tile(image).Height(), 78);
  EXPECT_EQ(table().HuCount, 0) << "the own win is not announced here";
}

}  // namespace
}  // namespace tavrel::testing
