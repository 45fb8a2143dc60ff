// The mouse and the keys on the table: the raised tile, the discard by a click, the
// pass by a right click, keyboard play, F1, Esc, Alt then C, and the tiles turned
// over after the hand.
#include <gtest/gtest.h>

#include "input_fixture.h"
#include "view/decision_clock.h"
#include "view/hand_input.h"
#include "view/row_layout.h"
#include "view/window_frame.h"

namespace tavrel::testing {
namespace {

constexpr int kMiddleButton = 4;

struct HandInput : InputFixture {
  // The own hand on its turn: fourteen tiles, the server's offer with nothing in it.
  void OwnTurn() {
    StartHand(0);
    Offer(0x00);
  }
  double TopOf(int image) { return Tile(image).Top(); }
  double Row() { return seat(0).handY; }
};

TEST_F(HandInput, WithoutADiscardAllowedNoButtonDoesAnything) {
  for (int button : {platform::kLeftButton, platform::kRightButton, kMiddleButton}) {
    SCOPED_TRACE(button);
    Rebuild();
    StartHand(1);
    Offer(0x81);  // on another seat's discard: thirteen tiles, nothing to discard
    ASSERT_EQ(seat(0).concealedCount, 13);
    const int image = OwnImage(3);
    PressTile(image, button);
    Flush();
    EXPECT_TRUE(Replies().empty()) << "a right click on an own tile never passes";
    EXPECT_TRUE(Discards().empty());
    EXPECT_EQ(seat(0).concealedCount, 13);
    EXPECT_EQ(TopOf(image), Row());
    EXPECT_TRUE(Button(4).Visible());
  }
}

TEST_F(HandInput, AnyButtonDiscardsAnAllowedTilePassingTheOpenOfferFirst) {
  for (int button : {platform::kLeftButton, platform::kRightButton, kMiddleButton}) {
    SCOPED_TRACE(button);
    Rebuild();
    OwnTurn();
    ASSERT_EQ(table().DiscardAllowed, round::kTrue);
    const int image = OwnImage(5), code = OwnCode(5);
    PressTile(image, button);
    Flush();
    EXPECT_EQ(Commands(), (std::vector<int>{cmd::kClaimReply, cmd::kDiscardTile})) << "the pass, then the discard";
    EXPECT_EQ(Replies(), std::vector<int>{1});
    EXPECT_EQ(Discards(), std::vector<int>{code | 0x4000});
    EXPECT_EQ(seat(0).concealedCount, 13);
    const auto centre = view::CentreBox(ctx(), 0);
    EXPECT_EQ(Tile(image).Left(), centre.left);
    EXPECT_EQ(Tile(image).Top(), centre.top);
    EXPECT_EQ(Tile(image).Width(), 36);
    EXPECT_EQ(table().LastDiscardImage, image);
    EXPECT_EQ(table().DiscardAllowed, round::kFalse);
    EXPECT_FALSE(ButtonsShown());
    EXPECT_FALSE(ctx().sched.TurnClockOn);
    EXPECT_EQ(input().DecisionState, view::kActing);
  }
}

TEST_F(HandInput, AfterThePassButtonTheDiscardAddsNoSecondPass) {
  OwnTurn();
  Offer(0x21);
  ClickButton(4);
  EXPECT_TRUE(ClockShown()) << "the discard is still due";
  PressOwn(0);
  Flush();
  EXPECT_EQ(Replies(), std::vector<int>{1});
  EXPECT_EQ(Discards().size(), 1u);
}

TEST_F(HandInput, DiscardingTheLastSlotMovesNoOtherTile) {
  OwnTurn();
  std::vector<std::pair<double, double>> before;
  for (int n = 0; n < LastOwn(); ++n) before.push_back({Tile(OwnImage(n)).Left(), Tile(OwnImage(n)).Top()});
  PressOwn(LastOwn());
  for (int n = 0; n < LastOwn() + 1; ++n)
    EXPECT_EQ((std::pair<double, double>{Tile(OwnImage(n)).Left(), Tile(OwnImage(n)).Top()}), before[n]) << n;
}

TEST_F(HandInput, AClickInTheMiddleClosesTheGap) {
  OwnTurn();
  const int next = OwnImage(4);
  PressOwn(3);
  EXPECT_EQ(OwnImage(3), next);
  EXPECT_EQ(Tile(next).Left(), view::RowSlotBox(ctx(), 0, seat(0).firstConcealed + 3).left);
}

TEST_F(HandInput, RightClickPassesOnlyWhileThePassButtonStands) {
  const struct {
    const char* where;
    bool offer;
    int expectedPasses;
  } cases[] = {{"table", true, 1}, {"table", false, 0}, {"other tile", true, 1}, {"other tile", false, 0}};
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.where) + (k.offer ? " with an offer" : " without"));
    Rebuild();
    StartHand(1);
    if (k.offer) Offer(0x11);
    if (std::string(k.where) == "table")
      RightClickTable();
    else
      PressTile(table().custom[2].tiles[table().custom[2].firstConcealed].imageIndex, platform::kRightButton);
    Flush();
    EXPECT_EQ(static_cast<int>(Replies().size()), k.expectedPasses);
    EXPECT_FALSE(ButtonsShown());
    EXPECT_FALSE(ClockShown()) << "an offer on another seat's tile ends with the pass";
    RightClickTable();
    Flush();
    EXPECT_EQ(static_cast<int>(Replies().size()), k.expectedPasses) << "never two passes";
  }
}

TEST_F(HandInput, ARightClickPassOnTheOwnTurnKeepsTheClockForTheDiscard) {
  OwnTurn();
  Offer(0x21);
  RightClickTable();
  EXPECT_TRUE(ClockShown());
  EXPECT_TRUE(ctx().sched.TurnClockOn);
  EXPECT_EQ(table().DiscardAllowed, round::kTrue);
  EXPECT_EQ(input().DecisionState, view::kAnswered);
}

TEST_F(HandInput, HoverRaisesTenPixelsOnEveryScreen) {
  for (int width : {1280, 800}) {
    SCOPED_TRACE(width);
    Rebuild(width, width == 800 ? 600 : 1024);
    StartHand(1);
    const int a = OwnImage(2), b = OwnImage(6);
    PointAtTile(a);
    EXPECT_EQ(TopOf(a), Row() - 10);
    EXPECT_EQ(Tile(a).MousePointer(), platform::kPointerCustomHand);
    PointAtTile(b);
    EXPECT_EQ(TopOf(a), Row()) << "another own tile takes the raise";
    EXPECT_EQ(TopOf(b), Row() - 10);
  }
}

TEST_F(HandInput, ARaisedTileStaysOverItselfAndItsStripAndComesDownElsewhere) {
  StartHand(1);
  const int image = OwnImage(4);
  PointAtTile(image);
  const auto& t = Tile(image);
  const double midX = t.Left() + t.Width() / 2;
  // In the strip the raise left free below the tile: it stays up.
  PointAtTable(midX, t.Top() + t.Height() + 5);
  EXPECT_EQ(TopOf(image), Row() - 10);
  // Onto another player's tile: it stays up too.
  PointAtTile(table().custom[2].tiles[table().custom[2].firstConcealed].imageIndex);
  EXPECT_EQ(TopOf(image), Row() - 10);
  // Just below the strip, and beside the tile: down.
  PointAtTable(midX, t.Top() + t.Height() + 10);
  EXPECT_EQ(TopOf(image), Row());
  PointAtTile(image);
  PointAtTable(t.Left() - 1, t.Top() + 20);
  EXPECT_EQ(TopOf(image), Row());
}

TEST_F(HandInput, NoRaiseForASpectatorOrBeforeTheHandIsStarted) {
  for (bool spectator : {true, false}) {
    Rebuild();
    StartHand(1);
    if (spectator)
      table().SpectatorMode = round::kTrue;
    else
      ctx().view.HandStarted[2] = false;
    PointAtTile(OwnImage(1));
    EXPECT_EQ(TopOf(OwnImage(1)), Row()) << spectator;
    EXPECT_EQ(Tile(OwnImage(1)).MousePointer(), platform::kPointerDefault);
  }
}

TEST_F(HandInput, KeysMoveTheRaisedTileAndDiscardItAsAClickDoes) {
  OwnTurn();
  Key(view::kKeyLeft);
  EXPECT_EQ(view::RaisedOwnSlot(ctx()), seat(0).firstConcealed + LastOwn()) << "the first press raises the newest tile";
  Key(view::kKeyLeft);
  Key(view::kKeyLeft);
  Key(view::kKeyRight);
  const int slot = seat(0).firstConcealed + LastOwn() - 1;
  EXPECT_EQ(view::RaisedOwnSlot(ctx()), slot);
  const int code = seat(0).tiles[slot].code, image = seat(0).tiles[slot].imageIndex;
  Key(view::kKeySpace);
  Flush();
  EXPECT_EQ(Commands(), (std::vector<int>{cmd::kClaimReply, cmd::kDiscardTile}));
  EXPECT_EQ(Discards(), std::vector<int>{code | 0x4000});
  EXPECT_EQ(table().LastDiscardImage, image);
  Key(view::kKeyEnter);
  Flush();
  EXPECT_EQ(Discards().size(), 1u) << "nothing raised, nothing discarded";
}

TEST_F(HandInput, RightAtTheEndStaysAndEnterDiscards) {
  OwnTurn();
  Key(view::kKeyRight);
  Key(view::kKeyRight);
  EXPECT_EQ(view::RaisedOwnSlot(ctx()), seat(0).firstConcealed + LastOwn());
  const int code = OwnCode(LastOwn());
  Key(view::kKeyEnter);
  Flush();
  EXPECT_EQ(Discards(), std::vector<int>{code | 0x4000});
}

TEST_F(HandInput, EnterInTheChatLineIsNoDiscard) {
  OwnTurn();
  Key(view::kKeyLeft);
  Send(platform::UiEventType::KeyDown, ctl::Chat, -1, 0, 0, 0, view::kKeyEnter);
  Send(platform::UiEventType::KeyDown, ctl::Chat, -1, 0, 0, 0, view::kKeySpace);
  Flush();
  EXPECT_TRUE(Discards().empty());
  EXPECT_EQ(seat(0).concealedCount, 14);
}

TEST_F(HandInput, F1HidesTheWindowAndTheLobbyAndRestoringBringsTheClockBack) {
  ctx().startup.LobbyCaption = "Virel山庄";
  for (const char* name : {frm::Information, frm::Talk, frm::VosSet, frm::frmExit, frm::Hero, frm::Score})
    ctx().ui.form(name).Show();
  Key(view::kKeyF1);
  EXPECT_TRUE(ctx().view.BossKeyActive);
  EXPECT_EQ(ctx().main().State(), platform::WindowState::Minimized);
  EXPECT_EQ(view::CountdownReset(ctx()), 0);
  ASSERT_FALSE(platform.simLobby().sysCommands.empty());
  EXPECT_EQ(platform.simLobby().sysCommands.back().message, 61472);
  for (const char* name : {frm::Information, frm::Talk, frm::VosSet, frm::frmExit, frm::Hero, frm::Score})
    EXPECT_FALSE(ctx().ui.form(name).Visible()) << name;

  input().TimeoutCount = 3;
  ctx().main().SetState(platform::WindowState::Normal);
  view::FormResize(ctx());
  EXPECT_FALSE(ctx().view.BossKeyActive);
  EXPECT_EQ(view::CountdownReset(ctx()), 8);
  EXPECT_EQ(input().TimeoutCount, 0);
}

TEST_F(HandInput, F1WithoutTheLobbyDoesNotEndTheProgram) {
  platform.simLobby().windows.clear();
  Key(view::kKeyF1);
  EXPECT_FALSE(platform.ended);
  EXPECT_TRUE(ctx().view.BossKeyActive);
}

TEST_F(HandInput, EscTogglesTheExitWindow) {
  Key(view::kKeyEsc);
  EXPECT_TRUE(ctx().ui.form(frm::frmExit).Visible());
  Key(view::kKeyEsc);
  EXPECT_FALSE(ctx().ui.form(frm::frmExit).Visible());
}

TEST_F(HandInput, AltThenCOpensTheChatHistoryAnyOtherKeyBreaksTheSequence) {
  for (std::vector<int> keys : {std::vector<int>{view::kKeyAlt, 'X', view::kKeyC}, {view::kKeyC, view::kKeyAlt}}) {
    for (int key : keys) Key(key);
    EXPECT_FALSE(ctx().ui.form(frm::Talk).Visible());
  }
  Key('X');
  Key(view::kKeyAlt);
  Key(view::kKeyC);
  const auto& talk = ctx().ui.form(frm::Talk);
  EXPECT_TRUE(talk.Visible());
  EXPECT_TRUE(talk.Topmost());
  const auto& surface = *Find(ctl::Pic1);
  const auto& window = ctx().main().Bounds();
  EXPECT_DOUBLE_EQ(talk.Bounds().left, window.left + surface.Left() + 0.3 * surface.Width());
  EXPECT_DOUBLE_EQ(talk.Bounds().top, window.top + surface.Top() + 0.66 * surface.Height());
  EXPECT_FALSE(input().AltPressed || input().CPressed);
}

TEST_F(HandInput, AClickOnTheBareTableClosesThePopUps) {
  for (const char* name : {frm::Talk, frm::huifu, frm::Score, frm::Hero, frm::VosSet, frm::frmExit})
    ctx().ui.form(name).Show();
  Send(platform::UiEventType::Click, ctl::Pic1, -1, platform::kLeftButton, 400, 300);
  for (const char* name : {frm::Talk, frm::huifu, frm::Score, frm::Hero, frm::VosSet, frm::frmExit})
    EXPECT_FALSE(ctx().ui.form(name).Visible()) << name;
}

TEST_F(HandInput, AfterTheWinFaceDownTilesTurnOverWhenClicked) {
  StartHand(1);
  const int replacement = table().custom[2].tiles[table().custom[2].firstConcealed].imageIndex;
  const int wall = 40;  // still in the wall, on the left side
  table().ReplacementTiles[0] = {static_cast<std::int16_t>(replacement), 0x47, 2};
  table().ReplacementTileCount = 1;
  table().PeekCount = 1;
  table().PeekPositions[0] = wall;
  table().PeekTiles[0] = 0x83;
  const int backBefore = Tile(replacement).Picture();

  PressTile(replacement);
  EXPECT_EQ(Tile(replacement).Picture(), backBefore) << "nothing before the hand is won";
  table().WinnerSeat = 3;
  PressTile(replacement);
  EXPECT_EQ(Tile(replacement).Picture(), ctx().view.TilePictures[view::TilePictureIndex(0x47, 2)]);
  EXPECT_EQ(table().ReplacementTileCount, 0);
  PressTile(wall);
  EXPECT_EQ(Tile(wall).Picture(), ctx().view.TilePictures[view::TilePictureIndex(0x83, 1)]);
  EXPECT_TRUE(Tile(wall).Visible());
}

}  // namespace
}  // namespace tavrel::testing
