// The 开始/继续 button and the continue countdown: one continue step, the table
// reset with the wall in its places, and the leave instead of a start.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scoring/continue_step.h"
#include "session_fixture.h"
#include "view/layout.h"
#include "view/pictures.h"

namespace tavrel::platform {
void PrintTo(const ScreenSize& s, std::ostream* os) { *os << s.width << "x" << s.height; }
}  // namespace tavrel::platform

namespace tavrel::testing {
namespace {

// A player seated at seat index 1 (mask 2) of a table whose four names have arrived.
struct StartButtonTest : SessionFixture {
  explicit StartButtonTest(platform::ScreenSize screen = {1280, 1024}) {
    platform.screen = screen;
    LoggedIn();
    const char* names[4] = {"bob", "alice", "carol", "dave"};
    for (int i = 0; i < 4; ++i) {
      Packet p = Make(cmd::kSeatName, 1 << i, {0, 0, 0, 0}, {0x12, 0x34});
      wire::PutSingleByteText(p, off::kPayload, names[i], off::kNameBytes);
      Feed(p);
    }
    Ticks(10);
    ClearSent();
  }

  void Click(const platform::ControlName& name, int index) {
    platform::UiEvent e;
    e.type = platform::UiEventType::Click;
    e.control = name.name;
    e.index = index;
    ctx.main().Dispatch(e);
  }
  void ClickStart() { Click(ctl::AnNiu, 2); }

  std::vector<Packet> Continues() {
    std::vector<Packet> out;
    for (const Packet& p : SentPackets())
      if (p[off::kCmd] == cmd::kContinue && wire::I16BE(p, off::kValues + 6) == 1) out.push_back(p);
    return out;
  }

  platform::Control& Tile(int i) { return *ctx.main().Find(ctl::MJ_Image, i); }
};

// The same client inside a test of another kind.
struct SeatedClient final : StartButtonTest {
  using StartButtonTest::StartButtonTest;
  void TestBody() override {}
};

TEST_F(StartButtonTest, AClickMarksThePlayerReadyAndSendsContinueOnce) {
  ctx.ui.form(frm::Hero).Show();
  ctx.ui.form(frm::Score).Show();
  ASSERT_FALSE(ctx.view.HandStarted[2]) << "the table is formed: the button is usable";
  ClickStart();
  Ticks(2);
  auto continues = Continues();
  ASSERT_EQ(continues.size(), 1u);
  EXPECT_EQ(continues[0][off::kSeat], 2) << "the own seat mask";
  EXPECT_EQ(continues[0][off::kToken], 0x12) << "stamped with the session token";
  EXPECT_FALSE(ctx.ui.form(frm::Hero).Visible());
  EXPECT_FALSE(ctx.ui.form(frm::Score).Visible());
  EXPECT_TRUE(ctx.main().Find(ctl::OK, 0)->Visible()) << "the own ready mark";
  EXPECT_TRUE(ctx.view.HandStarted[2]);
  EXPECT_FALSE(ctx.view.StartPictureMode);
  EXPECT_EQ(ctx.main().Find(ctl::AnNiu, 2)->Picture(), ctx.view.ButtonPictures[6]) << "继续 from now on";
  EXPECT_TRUE(ctx.handEnd.Continued);

  // A second press in the same hand only hides the windows.
  ctx.ui.form(frm::Score).Show();
  ClickStart();
  Ticks(2);
  EXPECT_EQ(Continues().size(), 1u);
  EXPECT_FALSE(ctx.ui.form(frm::Score).Visible());
}

TEST_F(StartButtonTest, AHandTheServerStartsByItselfShowsContinueAndTakesNoPress) {
  // The first hand dealt without a press (the server's ready first hand).
  auto& button = *ctx.main().Find(ctl::AnNiu, 2);
  ASSERT_EQ(button.Picture(), ctx.view.ButtonPictures[4]) << "开始 before the first hand";
  ASSERT_FALSE(ctx.view.HandStarted[2]);
  Feed(Make(cmd::kNewHand, 2, {3, 4, 2, 5}));
  Ticks(4);
  ASSERT_EQ(ctx.table.HandNo, 1);
  EXPECT_EQ(button.Picture(), ctx.view.ButtonPictures[6]) << "继续 once a hand is under way";
  EXPECT_TRUE(ctx.view.HandStarted[2]) << "the hand is under way as if the button had been pressed";

  // A press during the hand neither marks the player ready nor sends Continue.
  ClickStart();
  Ticks(2);
  EXPECT_TRUE(Continues().empty());
  EXPECT_FALSE(ctx.main().Find(ctl::OK, 0)->Visible());
}

TEST_F(StartButtonTest, BeforeTheTableIsFormedTheButtonDoesNothing) {
  FreshClient fresh;
  fresh.LoggedIn();
  fresh.ClearSent();
  platform::UiEvent e;
  e.type = platform::UiEventType::Click;
  e.control = ctl::AnNiu.name;
  e.index = 2;
  fresh.ctx.main().Dispatch(e);
  fresh.Ticks(2);
  EXPECT_TRUE(fresh.SentPackets().empty());
  EXPECT_FALSE(fresh.ctx.main().Find(ctl::OK, 0)->Visible());
}

TEST_F(StartButtonTest, TheButtonStopsTheCountdownSoThatNoSecondContinueFollows) {
  scoring::StartContinueCountdown(ctx, 15);
  EXPECT_TRUE(ctx.main().Find(ctl::Number)->Visible());
  EXPECT_EQ(ctx.main().Find(ctl::Number)->Caption(), "15");
  platform.Advance(3000);
  ClickStart();
  EXPECT_FALSE(ctx.sched.ContinueClockOn);
  EXPECT_FALSE(ctx.main().Find(ctl::Number)->Visible());
  EXPECT_FALSE(ctx.main().Find(ctl::Time_Img)->Visible());
  platform.Advance(20000);
  EXPECT_EQ(Continues().size(), 1u);
}

TEST_F(StartButtonTest, TheCountdownTakesTheSameStepWhenNobodyPresses) {
  int resets = 0;
  ctx.view.resetLayoutSteps.push_back([&] { ++resets; });
  scoring::StartContinueCountdown(ctx, 3);
  platform.Advance(3000);
  EXPECT_TRUE(Continues().empty()) << "3, 2, 1, 0 shown first";
  platform.Advance(1100);
  ASSERT_EQ(Continues().size(), 1u);
  EXPECT_EQ(resets, 1);
  EXPECT_TRUE(ctx.handEnd.Continued);
  EXPECT_FALSE(ctx.view.HandStarted[2]) << "the button is active again after the automatic Continue";
  platform.Advance(5000);
  EXPECT_EQ(Continues().size(), 1u);
}

TEST_F(StartButtonTest, ATableAlreadyResetIsNotResetAgain) {
  int resets = 0;
  ctx.view.resetLayoutSteps.push_back([&] { ++resets; });
  ctx.handEnd.Continued = true;
  ClickStart();
  Ticks(2);
  EXPECT_EQ(resets, 0);
  EXPECT_EQ(Continues().size(), 1u) << "Continue is sent all the same";
}

TEST_F(StartButtonTest, APendingAutomaticSeatChangeStartsWithTheStep) {
  int shown = 0;
  ctx.hooks.seatChangeDisplay = [&] { ++shown; };
  ctx.handEnd.SeatChangePending = true;
  ctx.handEnd.AutoSeatChange = true;
  ClickStart();
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(ctx.handEnd.SeatChangePending);
}

TEST_F(StartButtonTest, LeaveOnStartLeavesTheTableInsteadOfStarting) {
  ctx.view.LeaveOnStart = true;
  ctx.ui.form(frm::Hero).Show();
  ClickStart();
  Ticks(2);
  EXPECT_TRUE(Continues().empty());
  EXPECT_FALSE(ctx.Connected());
  EXPECT_FALSE(ctx.ui.form(frm::Hero).Visible());
  EXPECT_EQ(ctx.main().State(), platform::WindowState::Minimized);
  EXPECT_TRUE(LobbyRestored());
  EXPECT_FALSE(ctx.handEnd.Continued);
  EXPECT_FALSE(platform.ended);
}

TEST_F(StartButtonTest, LeaveOnStartWithTheLobbyGoneEndsTheProgram) {
  ctx.view.LeaveOnStart = true;
  platform.simLobby().windows.clear();
  ClickStart();
  EXPECT_TRUE(platform.ended);
}

// ---- The wall ------------------------------------------------------------------

// The wall as the layout places it at scale 1: the first stack of each side, the
// step from stack to stack and the drop of the lower tile (a table of the design).
struct WallSide {
  int first, stacks;
  double left, top, stepX, stepY, drop, width, height;
};
constexpr WallSide kWall[4] = {
    {0, 11, 659, 476, -36, 0, 22, 36, 50},   // own side, leftward
    {22, 10, 164, 396, 4, -15, 20, 48, 35},  // left side, upward
    {42, 11, 346, 192, 30, 0, 16, 30, 36},   // top side, rightward
    {64, 10, 768, 252, 4, 15, 20, 48, 35},   // right side, downward
};

void ExpectWallInPlace(ClientContext& ctx, const char* when) {
  const double s = ctx.view.LayoutScale;
  const platform::Control& surface = *ctx.main().Find(ctl::Pic1);
  for (const WallSide& side : kWall) {
    const double w = view::RoundHalfEven(side.width * s), h = view::RoundHalfEven(side.height * s);
    const double stepX = side.stepX == -36 ? -w : side.stepX == 30 ? w : side.stepX * s;
    for (int k = 0; k < side.stacks; ++k) {
      for (int lower = 0; lower < 2; ++lower) {
        const int i = side.first + 2 * k + lower;
        const platform::Control* tile = ctx.main().Find(ctl::MJ_Image, i);
        ASSERT_NE(tile, nullptr) << when << ": MJ_Image(" << i << ")";
        SCOPED_TRACE(std::string(when) + ": MJ_Image(" + std::to_string(i) + ")");
        EXPECT_EQ(tile->Container(), ctl::Pic1.name);
        EXPECT_DOUBLE_EQ(tile->Left(), side.left * s + k * stepX);
        EXPECT_DOUBLE_EQ(tile->Top(), side.top * s + k * side.stepY * s + lower * side.drop * s);
        EXPECT_EQ(tile->Width(), w);
        EXPECT_EQ(tile->Height(), h);
        EXPECT_GE(tile->Left(), 0);
        EXPECT_GE(tile->Top(), 0);
        EXPECT_LE(tile->Left() + tile->Width(), surface.Width());
        EXPECT_LE(tile->Top() + tile->Height(), surface.Height());
      }
    }
  }
}

struct WallPlaces : ::testing::TestWithParam<platform::ScreenSize> {};

TEST_P(WallPlaces, All84TilesHaveTheirPlacesAfterStartUpAndAfterTheContinueStep) {
  SeatedClient t(GetParam());
  ExpectWallInPlace(t.ctx, "after start-up");
  // A hand moved the tiles into rows and discards.
  for (int i = 0; i < view::kTileImageCount; i += 3) t.Tile(i).Move(0, 0, 0, 0);
  t.ClickStart();
  ExpectWallInPlace(t.ctx, "after the continue step");
  for (int i = 0; i < view::kTileImageCount; ++i) EXPECT_FALSE(t.Tile(i).Visible()) << i;
  t.TearDown();
}

INSTANTIATE_TEST_SUITE_P(Screens, WallPlaces,
                         ::testing::Values(platform::ScreenSize{1280, 1024}, platform::ScreenSize{800, 600}),
                         [](const auto& info) { return std::to_string(info.param.width) + "x" + std::to_string(info.param.height); });

}  // namespace
}  // namespace tavrel::testing
