// The limit on the login's wait for its connection: at start-up it ends with the
// message; a leave ends the wait without a trace; during a reconnection the
// reconnection keeps the time; a fresh login that cannot connect goes back to idle.
#include <gmock/gmock.h>

#include "session/lobby_protocol.h"
#include "session/reconnect.h"
#include "session/scheduler.h"
#include "session_fixture.h"

namespace tavrel::testing {
namespace {

using ::testing::ElementsAre;

struct ConnectLimitTest : SessionFixture {
  void Lobby(int message) { platform.simLobby().onMessage(message, 0, 0); }
  // The lobby's message `delayMs` from now; it also arrives inside the waits that pump events.
  void LobbyLater(int message, int delayMs) {
    platform.Post(delayMs, [this, message] { Lobby(message); });
  }
  void Unreachable() {
    sock().acceptConnections = true;
    sock().connectDelayMs = 10 * 60 * 1000;  // connects long after any limit
  }
  void Reachable() {
    sock().acceptConnections = true;
    sock().connectDelayMs = 20;
  }
  // Runs fn once the client has made `count` connection attempts in all; it also
  // fires inside the waits that pump events.
  void WhenAttempts(std::size_t count, std::function<void()> fn) {
    platform.Post(20, [this, count, fn] {
      if (sock().connectAttempts.size() >= count) fn();
      else WhenAttempts(count, fn);
    });
  }
  std::vector<int> CommandsSentFrom(std::size_t first) {
    std::vector<int> out;
    const auto& calls = sock().sendCalls;
    for (std::size_t i = first; i < calls.size(); ++i) out.push_back(calls[i].size() > 3 ? calls[i][3] : -1);
    return out;
  }
};

TEST_F(ConnectLimitTest, AtStartUpTheLimitReportsAndReturnsToTheLobby) {
  Unreachable();
  Start(kDirectLine);
  bool endedEarly = true;
  platform.Post(29000, [&] { endedEarly = platform.ended; });
  platform.Advance(31000);
  EXPECT_FALSE(endedEarly) << "the login waits its 30 s";
  EXPECT_THAT(BoxTexts(), ElementsAre(session::kMsgConnectFailed));
  EXPECT_THAT(SysLines(0), ElementsAre(session::kMsgConnectFailed));
  EXPECT_TRUE(LobbyRestored());
  EXPECT_TRUE(platform.ended);
  EXPECT_EQ(platform.exitCode, 1);
}

TEST_F(ConnectLimitTest, AForcedLeaveWhileTheLoginWaitsLeavesNothingOfIt) {
  Unreachable();
  Start(kDirectLine);
  LobbyLater(session::kMsgFree, 5000);
  platform.Advance(120000);
  EXPECT_TRUE(platform.boxes.empty()) << "no message of the abandoned login";
  EXPECT_FALSE(platform.ended);
  EXPECT_TRUE(sock().sendCalls.empty());
  EXPECT_FALSE(ctx.sched.LoginPending);
  EXPECT_FALSE(ctx.sched.ConnWatch);
  EXPECT_FALSE(ctx.session.LoginAwaited);

  // The next seat the lobby asks for gets exactly one login.
  Reachable();
  Lobby(session::kMsgLogin);
  platform.Advance(2000);
  EXPECT_THAT(CommandsSentFrom(0), ElementsAre(cmd::kLogin));
  EXPECT_TRUE(ctx.session.LoginAwaited);
}

TEST_F(ConnectLimitTest, ALeaveAndAFreshLoginInsideTheWaitSendOneLogin) {
  Unreachable();
  Start(kDirectLine);
  LobbyLater(session::kMsgFree, 5000);
  platform.Post(6000, [this] {
    Reachable();
    Lobby(session::kMsgLogin);
  });
  platform.Advance(60000);
  EXPECT_THAT(CommandsSentFrom(0), ElementsAre(cmd::kLogin));
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_FALSE(platform.ended);
}

TEST_F(ConnectLimitTest, ASocketThatConnectsLateDuringAReconnectionStillSendsTheRequest) {
  LoggedIn();
  const std::size_t sentBefore = sock().sendCalls.size();
  const std::size_t attemptsBefore = sock().connectAttempts.size();
  sock().acceptConnections = false;
  sock().DropConnection();
  // Attempts every 3 s are refused for half a minute; then the server takes a while to
  // accept, so that an attempt is still connecting when the login's 30 s have passed.
  WhenAttempts(attemptsBefore + 10, [this] {
    sock().acceptConnections = true;
    sock().connectDelayMs = 2500;
  });
  platform.Advance(60000);
  ASSERT_TRUE(ctx.Connected());
  const std::vector<int> sent = CommandsSentFrom(sentBefore);
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.front(), cmd::kReconnect) << "the request of the attempt that connected, before what was queued";
  EXPECT_EQ(std::count(sent.begin(), sent.end(), cmd::kReconnect), 1);
  EXPECT_FALSE(ctx.startup.reconnect.running);
  EXPECT_TRUE(ctx.session.LoginAwaited);
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_FALSE(platform.ended);
  const std::size_t attempts = sock().connectAttempts.size();
  platform.Advance(30000);
  EXPECT_EQ(sock().connectAttempts.size(), attempts) << "the attempts stopped";
}

TEST_F(ConnectLimitTest, TheReconnectionKeepsItsOwnCountBeyondTheLoginLimit) {
  LoggedIn();
  const std::size_t attemptsBefore = sock().connectAttempts.size();
  Unreachable();
  sock().DropConnection();
  platform.Advance(60000);
  EXPECT_TRUE(platform.boxes.empty()) << "the login's limit says nothing while reconnecting";
  EXPECT_TRUE(ctx.startup.reconnect.running);
  platform.Advance(10000);
  EXPECT_EQ(sock().connectAttempts.size(), attemptsBefore + 21);
  EXPECT_THAT(BoxTexts(), ElementsAre(session::kMsgReconnectGaveUp));
  EXPECT_TRUE(platform.ended);
}

TEST_F(ConnectLimitTest, AFreshLoginThatCannotConnectReportsAndGoesBackToIdle) {
  LoggedIn();
  Lobby(session::kMsgFree);
  platform.simLobby().posted.clear();
  platform.simLobby().sysCommands.clear();
  ClearSent();
  Unreachable();
  Lobby(session::kMsgLogin);
  platform.Advance(40000);
  EXPECT_THAT(BoxTexts(), ElementsAre(session::kMsgConnectFailed));
  EXPECT_FALSE(platform.ended) << "the client stays for the next seat";
  EXPECT_THAT(SysLines(0), ElementsAre(session::kMsgConnectFailed));
  EXPECT_THAT(Posted(), ElementsAre(session::kMsgLogin, session::kMsgFree)) << "the login, then free again";
  EXPECT_TRUE(LobbyRestored());
  EXPECT_EQ(ctx.main().State(), platform::WindowState::Minimized);
  EXPECT_FALSE(ctx.session.LoginAwaited);
  EXPECT_FALSE(ctx.sched.LoginPending);
  EXPECT_FALSE(ctx.sched.ConnWatch);
  EXPECT_EQ(ctx.Winsock1->State(), platform::kSocketClosed);
  platform.Advance(120000);
  EXPECT_EQ(platform.boxes.size(), 1u) << "nothing more of that login";
  EXPECT_FALSE(platform.ended);

  Reachable();
  Lobby(session::kMsgLogin);
  platform.Advance(2000);
  EXPECT_THAT(CommandsSentFrom(0), ElementsAre(cmd::kLogin));
}

}  // namespace
}  // namespace tavrel::testing
