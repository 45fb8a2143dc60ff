// The 50 ms scheduler: task periods and order, the clocks, the login sender,
// the watchdog and the keep-alive.
#include <gtest/gtest.h>

#include "client_fixture.h"
#include "session/commands.h"
#include "session/dispatcher.h"
#include "session/packet_io.h"
#include "session/scheduler.h"
#include "session/startup.h"

namespace tavrel::testing {
namespace {

struct SchedulerTest : ClientFixture {
  std::vector<std::pair<std::int64_t, int>> handled;  // (time, command)
  SchedulerTest() {
    for (int c : {2, 5})
      session::RegisterHandler(ctx, c, [this](ClientContext& cx) { handled.emplace_back(platform.Now(), cx.session.info.Cmd); });
    ctx.TimerKeepAlive->SetEnabled(false);
  }
  void Queue(int command) {
    Info info;
    info.Cmd = static_cast<std::int16_t>(command);
    session::SendCommand(ctx, info);
  }
  std::vector<std::int64_t> sendTimes;
  void RecordSends() {
    // One entry per SendData call, with the virtual time of the call.
    sock().sendCalls.clear();
  }
};

TEST_F(SchedulerTest, QueuedPacketsLeaveOnConsecutiveTicks) {
  Connect();
  Queue(2);
  Queue(7);
  Ticks(1);
  EXPECT_EQ(sock().sendCalls.size(), 1u) << "one packet per tick";
  Ticks(1);
  ASSERT_EQ(sock().sendCalls.size(), 2u);
  EXPECT_EQ(sock().sendCalls[1][3], 7);
  Ticks(1);
  EXPECT_FALSE(ctx.sched.SendPending) << "an empty ring stops the send task";
}

TEST_F(SchedulerTest, ReceivePeriodIsTwoTicksOrOneWhilePacketsWait) {
  Connect();
  const std::int64_t t0 = platform.Now();
  Feed(Make(2, 1));
  Ticks(4);
  ASSERT_EQ(handled.size(), 1u);
  EXPECT_EQ(handled[0].first - t0, 100) << "first run two ticks after the arrival";

  handled.clear();
  const std::int64_t t1 = platform.Now();
  platform::ByteVec three;
  for (int c : {2, 5, 2}) {
    Packet p = Make(c, 1);
    three.insert(three.end(), p.begin(), p.end());
  }
  Feed(three);
  Ticks(6);
  ASSERT_EQ(handled.size(), 3u);
  EXPECT_EQ(handled[0].first - t1, 100);
  EXPECT_EQ(handled[1].first - t1, 150) << "more queued: the next tick";
  EXPECT_EQ(handled[2].first - t1, 200);
}

TEST_F(SchedulerTest, KeepAlivesQueuedWhileDownLeaveInOrderWithTheirTokens) {
  ctx.TimerKeepAlive->SetEnabled(true);
  ctx.table.custom[0].seat = 4;
  ctx.session.token = {1, 1};
  platform.Advance(5000);
  ctx.session.token = {2, 2};
  platform.Advance(5000);
  EXPECT_EQ(ctx.session.SendRing.Queued(), 2 * 272);
  Connect();
  Ticks(2);
  auto sent = SentPackets();
  ASSERT_EQ(sent.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(sent[i][3], 24);
    EXPECT_EQ(sent[i][6], 4);
    EXPECT_EQ(sent[i][260], i + 1) << "stamped with the token current when queued";
  }
}

TEST_F(SchedulerTest, ContinueCountdownRunsDownAndSendsContinueOnce) {
  Connect();
  ctx.session.TableActive = true;
  ctx.table.custom[0].seat = 2;
  int resets = 0;
  ctx.view.resetLayoutSteps.push_back([&] { ++resets; });
  ctx.sched.ContinueCountdown = 15;
  ctx.sched.ContinueClockOn = true;
  std::vector<std::string> shown;
  auto& number = ctx.main().Get("Number", -1, platform::ControlKind::Label);
  while (number.Caption() != "0") {
    Ticks(1);
    if (shown.empty() || shown.back() != number.Caption()) shown.push_back(number.Caption());
    ASSERT_LT(shown.size(), 20u);
  }
  ASSERT_EQ(shown.size(), 15u) << "14 down to 0";
  EXPECT_EQ(shown.front(), "14");
  EXPECT_EQ(number.ForeColor(), platform::kRed);
  platform.Advance(900);
  EXPECT_TRUE(SentPackets().empty()) << "Continue only on the following second";
  platform.Advance(200);
  Ticks(1);
  auto sent = SentPackets();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][3], 16);
  EXPECT_EQ(sent[0][15], 1);
  EXPECT_EQ(sent[0][6], 2);
  EXPECT_EQ(resets, 1);
  EXPECT_TRUE(ctx.handEnd.Continued);
  EXPECT_FALSE(number.Visible());
  platform.Advance(5000);
  EXPECT_EQ(SentPackets().size(), 1u) << "the clock stopped";
}

TEST_F(SchedulerTest, CountdownColourIsGreenFromSixUp) {
  ctx.session.TableActive = true;
  ctx.sched.ContinueCountdown = 7;
  ctx.sched.ContinueClockOn = true;
  auto& number = ctx.main().Get("Number", -1, platform::ControlKind::Label);
  platform.Advance(1000);
  EXPECT_EQ(number.Caption(), "6");
  EXPECT_EQ(number.ForeColor(), platform::kGreen);
  platform.Advance(1000);
  EXPECT_EQ(number.ForeColor(), platform::kRed);
}

TEST_F(SchedulerTest, LoginSenderWaitsInsideTheTickForTheConnection) {
  platform.simLobby().windows.insert("Virel山庄");
  ctx.startup.LoginPacket[3] = 18;
  ctx.Winsock1->RemoteHost = "127.0.0.1";
  sock().connectDelayMs = 700;
  ctx.Winsock1->Connect();
  session::StartLoginTask(ctx);
  Ticks(4);  // the task runs on the fourth tick and waits there
  const std::int64_t connectedAt = 700;
  ASSERT_EQ(sock().sendCalls.size(), 1u);
  EXPECT_EQ(sock().sendCalls[0].size(), 272u);
  EXPECT_EQ(sock().sendCalls[0][3], 18);
  EXPECT_GE(platform.Now(), connectedAt);
  EXPECT_TRUE(ctx.session.LoginAwaited);
  EXPECT_TRUE(ctx.sched.ConnWatch);
  EXPECT_FALSE(ctx.sched.LoginPending);
  ASSERT_FALSE(platform.simLobby().posted.empty());
  EXPECT_EQ(platform.simLobby().posted[0].message, 22) << "the lobby hears of the login first";
}

TEST_F(SchedulerTest, LoginSenderGivesUpAfterThirtySeconds) {
  platform.simLobby().windows.insert("Virel山庄");
  sock().acceptConnections = false;
  sock().connectDelayMs = 100000;
  ctx.Winsock1->Connect();
  session::StartLoginTask(ctx);
  Ticks(4);
  EXPECT_GE(platform.Now(), 30000);
  EXPECT_TRUE(sock().sendCalls.empty());
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, session::kMsgConnectFailed);
  EXPECT_TRUE(platform.ended) << "at start-up the client goes back to the lobby";
}

TEST_F(SchedulerTest, WatchdogStartsTheReconnectionOnlyWhenAllowed) {
  platform.simLobby().windows.insert("Virel山庄");
  Connect();
  const auto& reconnecting = ctx.startup.reconnect.running;
  session::StartWatchdog(ctx);
  ctx.session.TableActive = true;
  Ticks(2);
  EXPECT_FALSE(reconnecting) << "connected: nothing to do";
  sock().DropConnection();
  Ticks(2);
  EXPECT_FALSE(reconnecting) << "not allowed before a login: keep watching";
  EXPECT_TRUE(ctx.sched.ConnWatch);
  ctx.session.ReconnectAllowed = true;
  Ticks(1);
  EXPECT_TRUE(reconnecting);
  EXPECT_FALSE(ctx.sched.ConnWatch);
  EXPECT_FALSE(ctx.session.TableActive);
}

TEST_F(SchedulerTest, WatchdogEndsTheProgramWhenTheLobbyIsGone) {
  Connect();
  session::StartWatchdog(ctx);
  sock().DropConnection();
  Ticks(1);
  EXPECT_TRUE(platform.ended);
}

TEST_F(SchedulerTest, SilenceWhilePlayingGivesUpTheTable) {
  platform.simLobby().windows.insert("Virel山庄");
  Connect();
  ctx.table.Playing = true;
  ctx.sched.RecvPending = true;
  platform.Advance(2999LL * 100);
  EXPECT_TRUE(ctx.Connected());
  platform.Advance(200);
  EXPECT_FALSE(ctx.Connected()) << "the table is shut down";
  EXPECT_FALSE(ctx.table.Playing);
  EXPECT_FALSE(ctx.TimerBong->Enabled());
  EXPECT_EQ(ctx.main().Get(ctl::Sysmsg, 0).Items().front(), "已经与服务器断开连接，请重新入座！");
  EXPECT_EQ(ctx.main().State(), platform::WindowState::Minimized);
}

TEST_F(SchedulerTest, TaskSwitchedOnWaitsAtMostOnePeriod) {
  int blinks = 0;
  ctx.sched.blinkBody = [&](ClientContext&) { ++blinks; };
  Ticks(13);  // counter wraps at 8 even while off
  ctx.sched.BlinkOn = true;
  Ticks(3);
  EXPECT_EQ(blinks, 1);
  Ticks(8);
  EXPECT_EQ(blinks, 2);
}

TEST_F(SchedulerTest, StoppingTimerBongInsideATickSticks) {
  ctx.sched.blinkBody = [](ClientContext& cx) { session::SetTimerBong(cx, false); };
  ctx.sched.BlinkOn = true;
  Ticks(8);
  EXPECT_FALSE(ctx.TimerBong->Enabled());
  session::SetTimerBong(ctx, true);
  EXPECT_TRUE(ctx.TimerBong->Enabled());
}

}  // namespace
}  // namespace tavrel::testing
