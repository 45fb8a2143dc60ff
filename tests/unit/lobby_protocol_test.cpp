// The lobby's window messages to the client and the fresh login they can ask for.
#include "session/lobby_protocol.h"
#include "session/reconnect.h"
#include "session_fixture.h"

namespace tavrel::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct LobbyProtocolTest : SessionFixture {
  LobbyProtocolTest() {
    LoggedIn();
    platform.simLobby().posted.clear();
    ClearSent();
  }
  void Lobby(int message, long w = 0) { session::OnLobbyMessage(ctx, message, w, 0); }
  bool LeaveSent() {
    for (const auto& call : sock().sendCalls)
      if (call.size() == kPacketSize && call[3] == 16 && call[15] == 0) return true;
    return false;
  }
};

TEST_F(LobbyProtocolTest, QueryIsAnsweredByWhatTheClientIsDoing) {
  Lobby(1125);
  ctx.table.Playing = true;
  Lobby(1125);
  EXPECT_THAT(Posted(), ElementsAre(1024, 1125));
  EXPECT_TRUE(ctx.Connected());
}

TEST_F(LobbyProtocolTest, CloseRequestWhilePlayingIsAnsweredWith1125AndChangesNothing) {
  ctx.table.Playing = true;
  Lobby(771);
  EXPECT_THAT(Posted(), ElementsAre(1125));
  EXPECT_TRUE(ctx.Connected());
  EXPECT_TRUE(ctx.table.Playing);
  EXPECT_FALSE(LeaveSent());
}

TEST_F(LobbyProtocolTest, CloseRequestWhileTheLoginIsAwaitedIsAnsweredWith1126) {
  ctx.session.LoginAwaited = true;
  Lobby(771);
  EXPECT_THAT(Posted(), ElementsAre(1126));
  EXPECT_TRUE(ctx.Connected());
}

TEST_F(LobbyProtocolTest, CloseRequestWhileIdleLeavesAndAnswers1024) {
  int resets = 0;
  ctx.view.resetLayoutSteps.push_back([&] { ++resets; });
  Lobby(771);
  EXPECT_TRUE(LeaveSent());
  EXPECT_FALSE(ctx.Connected());
  EXPECT_THAT(Posted(), ElementsAre(1024));
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(ctx.main().State(), platform::WindowState::Minimized);
  EXPECT_FALSE(platform.ended) << "the client stays, idle, for the next seat";
}

TEST_F(LobbyProtocolTest, MessagesThatNeedAnAnswerAreIgnoredWhenTheLobbyIsGone) {
  platform.simLobby().windows.clear();
  Lobby(1125);
  Lobby(771);
  EXPECT_THAT(Posted(), IsEmpty());
  EXPECT_TRUE(ctx.Connected());
  EXPECT_FALSE(platform.ended);
}

TEST_F(LobbyProtocolTest, ForcedLeaveLeavesWithoutAnswer) {
  Lobby(1024);
  EXPECT_TRUE(LeaveSent());
  EXPECT_FALSE(ctx.Connected());
  EXPECT_THAT(Posted(), IsEmpty());
  EXPECT_FALSE(ctx.TimerBong->Enabled());
  EXPECT_FALSE(platform.ended);
}

TEST_F(LobbyProtocolTest, FreshLoginAfterLeavingLogsInAgainWithAPlainLogin) {
  // The packet was last a reconnect request: a fresh login must not send that.
  session::MakeReconnectRequest(ctx.startup.LoginPacket, {7, 9}, 1000000);
  Lobby(1024);
  platform.simLobby().posted.clear();
  ClearSent();
  const auto attempts = sock().connectAttempts.size();
  Lobby(22);
  Ticks(6);
  ASSERT_EQ(sock().connectAttempts.size(), attempts + 1);
  EXPECT_EQ(sock().connectAttempts.back(), std::make_pair(std::string("10.0.0.5"), 4100));
  const auto sent = SentPackets();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][3], 18);
  EXPECT_EQ(sent[0][260], 0);
  EXPECT_EQ(sent[0][261], 0);
  EXPECT_EQ(wire::U32LE(sent[0], 268), 0u);
  EXPECT_EQ(wire::SingleByteText(sent[0], 16, 16), "alice");
  EXPECT_THAT(Posted(), ElementsAre(22));
  EXPECT_TRUE(ctx.session.LoginAwaited);
  AnswerLogin(1);
  EXPECT_THAT(Posted(), ElementsAre(22, 771));
}

TEST_F(LobbyProtocolTest, FreshLoginRunsTheStartButtonStepsAndHidesTheCountdown) {
  int steps = 0;
  ctx.startup.freshLoginSteps.push_back([&] { ++steps; });
  auto& number = ctx.main().Get("Number", -1, platform::ControlKind::Label);
  number.SetVisible(true);
  Lobby(1024);
  Lobby(22);
  EXPECT_EQ(steps, 1);
  EXPECT_FALSE(number.Visible());
}

TEST_F(LobbyProtocolTest, SystemCommandsRestoreAndMinimiseTheTableWindow) {
  Lobby(0x112, 61472);
  EXPECT_EQ(ctx.main().State(), platform::WindowState::Minimized);
  Lobby(0x112, 61728);
  EXPECT_EQ(ctx.main().State(), platform::WindowState::Normal);
  EXPECT_TRUE(ctx.main().Visible());
}

TEST_F(LobbyProtocolTest, StartUpRegistersTheTableWindowForTheLobby) {
  EXPECT_EQ(platform.simLobby().ownCaption, "Tavrel麻将");
  ASSERT_TRUE(platform.simLobby().onMessage);
  platform.simLobby().onMessage(1125, 0, 0);
  EXPECT_THAT(Posted(), ElementsAre(1024));
}

}  // namespace
}  // namespace tavrel::testing
