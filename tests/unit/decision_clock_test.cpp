// The decision countdown and the automatic move: the seconds shown, the warning,
// the time-out, the window hidden after repeated time-outs, the boss key.
#include <gtest/gtest.h>

#include <functional>

#include "input_fixture.h"
#include "sound/sound.h"
#include "view/decision_clock.h"
#include "view/row_layout.h"

namespace tavrel::testing {
namespace {

struct DecisionClock : InputFixture {
  // Runs ticks until `done` holds; the milliseconds that took, or -1 after `limit` ticks.
  long Until(const std::function<bool()>& done, int limit = 400) {
    for (int i = 1; i <= limit; ++i) {
      Ticks(1);
      if (done()) return 50L * i;
    }
    return -1;
  }
  // A step of the clock comes a second after the one before (the scheduler's 50 ms
  // ticks and the time of day it measures by round it up by at most a tick).
  static void ExpectASecond(long ms) {
    EXPECT_GE(ms, 1000);
    EXPECT_LE(ms, 1100);
  }
};

TEST_F(DecisionClock, AnEightSecondOfferCountsDownRedFromFiveAndMovesASecondAfterZero) {
  StartHand(1);
  Offer(0x11, 8);
  EXPECT_EQ(Figure(), "8");
  const long warningsBefore = Played(sound::kWarning);
  for (int shown = 7; shown >= 0; --shown) {
    SCOPED_TRACE(shown);
    ExpectASecond(Until([&] { return Figure() == std::to_string(shown); }));
    EXPECT_EQ(Find(ctl::Number)->ForeColor(), shown < 6 ? platform::kRed : platform::kGreen);
    EXPECT_EQ(Played(sound::kWarning) - warningsBefore, std::max(0, 6 - shown));
    EXPECT_FALSE(input().ReplySent);
  }
  ExpectASecond(Until([&] { return input().ReplySent; }));
  Flush();
  EXPECT_EQ(Replies(), std::vector<int>{1});
  EXPECT_EQ(input().DecisionState, view::kTimedOut);
  EXPECT_FALSE(ClockShown());
  EXPECT_FALSE(ButtonsShown());
}

TEST_F(DecisionClock, ATimeOutOnAnotherSeatsTileOnlyPasses) {
  StartHand(1);
  std::vector<int> before;
  for (int n = 0; n <= LastOwn(); ++n) before.push_back(OwnCode(n));
  Offer(0x11, 3);
  Ticks(20 * 5);
  Flush();
  EXPECT_EQ(Commands(), std::vector<int>{cmd::kClaimReply});
  EXPECT_EQ(Replies(), std::vector<int>{1});
  std::vector<int> after;
  for (int n = 0; n <= LastOwn(); ++n) after.push_back(OwnCode(n));
  EXPECT_EQ(after, before);
  EXPECT_EQ(input().TimeoutCount, 1);
}

TEST_F(DecisionClock, AnOwnTurnTimeOutPassesThenThrowsTheNewestTile) {
  StartHand(0);
  Receive(Discard(Mask(0), OwnCode(0)));  // the server's own move: 13 tiles
  Receive(Draw(Mask(3)));
  Receive(Discard(Mask(3), 0x19 - 0x8));
  Receive(Draw(Mask(0), 0x85));
  ASSERT_EQ(seat(0).concealedCount, 14);
  const int newestImage = OwnImage(LastOwn());
  ASSERT_EQ(OwnCode(LastOwn()), 0x85);
  Offer(0x21, 3);
  Ticks(20 * 5);
  Flush();
  EXPECT_EQ(Commands(), (std::vector<int>{cmd::kClaimReply, cmd::kDiscardTile}));
  EXPECT_EQ(Discards(), std::vector<int>{0x85 | 0x4000});
  EXPECT_EQ(seat(0).concealedCount, 13);
  EXPECT_EQ(table().LastDiscardImage, newestImage);
  const auto centre = view::CentreBox(ctx(), 0);
  EXPECT_EQ(Tile(newestImage).Left(), centre.left);
  EXPECT_TRUE(Tile(newestImage).Visible());
  ExpectSoundTable("after the automatic discard");
}

TEST_F(DecisionClock, PassingOnTheOwnTurnKeepsTheClockAndTheTimeOutDiscards) {
  StartHand(0);
  Offer(0x21, 3);
  ClickButton(4);
  EXPECT_EQ(input().DecisionState, view::kAnswered);
  Ticks(20 * 5);
  Flush();
  EXPECT_EQ(Replies(), std::vector<int>{1});
  EXPECT_EQ(Discards().size(), 1u);
}

TEST_F(DecisionClock, RepeatedTimeOutsHideTheWindowUnlessTheLimitIsZero) {
  const struct {
    int limit, timeouts;
    bool hidden;
  } cases[] = {{2, 1, false}, {2, 2, true}, {0, 5, false}};
  for (const auto& k : cases) {
    SCOPED_TRACE(std::to_string(k.limit) + " after " + std::to_string(k.timeouts));
    Rebuild();
    ctx().startup.TimeoutLimit = k.limit;
    StartHand(1);
    for (int n = 0; n < k.timeouts; ++n) {
      Offer(0x11, 3);
      Ticks(20 * 5);
    }
    EXPECT_EQ(ctx().main().State() == platform::WindowState::Minimized, k.hidden);
    EXPECT_EQ(ctx().view.BossKeyActive, k.hidden);
  }
}

TEST_F(DecisionClock, AnOwnDiscardStartsTheTimeOutCountAfresh) {
  ctx().startup.TimeoutLimit = 2;
  StartHand(0);
  Offer(0x11, 3);
  Ticks(20 * 5);  // a time-out: the automatic discard does not reset the count
  EXPECT_EQ(input().TimeoutCount, 1);
  Receive(Draw(Mask(3)));
  Receive(Discard(Mask(3), 0x19 - 0x8));
  Receive(Draw(Mask(0), 0x85));
  Offer(0x00, 3);
  PressOwn(0);
  EXPECT_EQ(input().TimeoutCount, 0);
}

TEST_F(DecisionClock, UnderTheBossKeyEveryOfferIsOneSecondAndAnsweredWithoutCounting) {
  ctx().startup.TimeoutLimit = 1;
  StartHand(1);
  Key(view::kKeyF1);
  ASSERT_TRUE(ctx().view.BossKeyActive);
  for (int n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    Offer(0x11, 15);
    EXPECT_EQ(Figure(), "1");
    ExpectASecond(Until([&] { return Figure() == "0"; }));
    EXPECT_FALSE(input().ReplySent) << "0 is shown for a second first";
    ExpectASecond(Until([&] { return input().ReplySent; }));
    Flush();
    EXPECT_EQ(Replies().size(), static_cast<std::size_t>(n + 1));
  }
  EXPECT_EQ(input().TimeoutCount, 0);
}

TEST_F(DecisionClock, ACountdownWithoutAnyOfferOnlyHidesItself) {
  StartHand(0);
  view::StartCountdown(ctx(), 2);
  Ticks(20 * 4);
  Flush();
  EXPECT_FALSE(ClockShown());
  EXPECT_FALSE(ctx().sched.TurnClockOn);
  EXPECT_TRUE(Replies().empty());
  EXPECT_TRUE(Discards().empty());
}

TEST_F(DecisionClock, ANewHandForgetsTheOpenOffer) {
  StartHand(1);
  Offer(0x11, 3);
  Receive(NewHand(Mask(2), {1, 2, 3, 4}));
  EXPECT_FALSE(ButtonsShown());
  EXPECT_FALSE(ctx().sched.TurnClockOn);
  Ticks(20 * 6);
  Flush();
  EXPECT_TRUE(Replies().empty());
}

}  // namespace
}  // namespace tavrel::testing
