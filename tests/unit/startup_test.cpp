// Start-up from the lobby's command line, the login packet, the login answer and the debug log.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "session/debug_log.h"
#include "session/scheduler.h"
#include "session_fixture.h"

namespace tavrel::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

using StartupTest = SessionFixture;

TEST_F(StartupTest, FifteenFieldLineConnectsDirectlyAsFieldOne) {
  StartAndLogIn();
  ASSERT_EQ(sock().connectAttempts.size(), 1u);
  EXPECT_EQ(sock().connectAttempts[0], std::make_pair(std::string("10.0.0.5"), 4100));
  EXPECT_EQ(ctx.startup.LobbyCaption, kLobby);
  EXPECT_THAT(Posted(), ElementsAre(22)) << "22 just before the login goes out";
  EXPECT_EQ(SysLines(0), std::vector<std::string>{"正在连接服务器..."});
  EXPECT_FALSE(ctx.startup.Spectator);
  EXPECT_EQ(ctx.table.SpectatorMode, round::kFalse);
  EXPECT_EQ(ctx.table.custom[0].name, "alice");

  const auto sent = SentPackets();
  ASSERT_EQ(sent.size(), 1u);
  const Packet& p = sent[0];
  EXPECT_EQ(p[2], 0);
  EXPECT_EQ(p[3], 18);
  EXPECT_EQ(p[14], 1);
  EXPECT_EQ(wire::SingleByteText(p, 16, 16), "alice");
  EXPECT_EQ(wire::SingleByteText(p, 32, 228), "secret");
  EXPECT_EQ(p[260], 0);
  EXPECT_EQ(p[261], 0);
  EXPECT_TRUE(ctx.session.LoginAwaited);
  EXPECT_TRUE(ctx.sched.ConnWatch);
  EXPECT_EQ(ctx.startup.fields[1].find("secret"), std::string::npos) << "the key is not kept in the clear";
}

TEST_F(StartupTest, NumberAfterFieldFiveWithoutFinalDollarStartsASpectator) {
  for (const char* line : {"alice$secret$10.0.0.5$4100$北京$12345", "alice$secret$10.0.0.5$4100$北京$0$$$$$$$$$$12345"}) {
    FreshClient f;
    f.StartAndLogIn(line);
    EXPECT_TRUE(f.ctx.startup.Spectator) << line;
    EXPECT_EQ(f.ctx.table.SpectatorMode, round::kTrue) << line;
    EXPECT_EQ(f.ctx.startup.SpectatorUserId, 12345) << line;
    EXPECT_EQ(f.ctx.startup.ConnectionType, 0) << line;
    EXPECT_EQ(f.SentPackets().size(), 1u) << line;
  }
}

TEST_F(StartupTest, ConnectionTypeThreeShowsConnectingAndNeverConnects) {
  Start("alice$secret$10.0.0.5$4100$北京$3$$$$$$$$$$");
  platform.Advance(60000);
  EXPECT_TRUE(sock().connectAttempts.empty());
  EXPECT_EQ(SysLines(0), std::vector<std::string>{"正在连接服务器..."});
  EXPECT_FALSE(platform.ended);
}

TEST_F(StartupTest, ModeSwitchUsesTheLobbyAndWindowCaptionsOfTheLine) {
  platform.simLobby().windows.insert("MyLobby");
  StartAndLogIn("alice$secret$10.0.0.5$4100$北京$0$$$$$1$MyLobby$MyTable$0$0$");
  EXPECT_TRUE(ctx.startup.ShortClockMode);
  EXPECT_EQ(ctx.startup.LobbyCaption, "MyLobby");
  EXPECT_EQ(ctx.main().Caption(), "MyTable");
  EXPECT_EQ(platform.simLobby().ownCaption, "MyTable");
  EXPECT_EQ(ctx.startup.TurnClockSeconds, 10);
  EXPECT_THAT(platform.simLobby().MessagesTo("MyLobby"), ElementsAre(22));
  EXPECT_TRUE(Posted().empty());
}

TEST_F(StartupTest, SecondInstanceWarnsRestoresTheLobbyAndEnds) {
  platform.heldInstanceLocks.insert(session::kInstanceLockName);
  Start(kDirectLine);
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, "Tavrel麻将游戏已经运行！");
  EXPECT_EQ(platform.boxes[0].title, "警告");
  EXPECT_TRUE(LobbyRestored());
  EXPECT_TRUE(platform.ended);
  EXPECT_NE(platform.exitCode, 0);
  EXPECT_TRUE(sock().connectAttempts.empty());
}

struct BadLine {
  const char* line;
  const char* message;
};

TEST_F(StartupTest, BadCommandLinesGiveAMessageAndEndWithoutConnecting) {
  const BadLine cases[] = {
      {"", "本游戏需从游戏大厅中启动！"},
      {"   ", "本游戏需从游戏大厅中启动！"},
      {"alice$secret$10.0.0.5$", "启动参数不完整"},
      {"$secret$10.0.0.5$4100$北京$0$", "启动参数不完整"},
      {"alice$secret$$4100$北京$0$", "启动参数不完整"},
      {"alice$secret$10.0.0.5$41a0$北京$0$", "游戏服务器端口无效"},
      {"alice$secret$10.0.0.5$70000$北京$0$", "游戏服务器端口无效"},
      {"alice$secret$10.0.0.5$0$北京$0$", "游戏服务器端口无效"},
      {"alice$secret$10.0.0.5$$北京$0$", "游戏服务器端口无效"},
      {"alice$secret$10.0.0.5$4100$北京$x12", "观战用户编号无效"},
      {"alice$secret$game.example$4100$北京$5$127.0.0.1$1080$$$$$$$$", "必须是IPv4地址"},
      {"alice$secret$10.0.0.256$4100$北京$5$127.0.0.1$1080$$$$$$$$", "必须是IPv4地址"},
      {"alice$secret$10.0.0.5$4100$北京$5$127.0.0.1$99999$$$$$$$$", "代理服务器端口无效"},
      {"alice$secret$10.0.0.5$4100$北京$5$$1080$$$$$$$$", "代理服务器地址为空"},
  };
  for (const auto& c : cases) {
    FreshClient f;
    f.Start(c.line);
    ASSERT_EQ(f.platform.boxes.size(), 1u) << c.line;
    EXPECT_THAT(f.platform.boxes[0].text, HasSubstr(c.message)) << c.line;
    EXPECT_TRUE(f.platform.ended) << c.line;
    EXPECT_NE(f.platform.exitCode, 0) << c.line;
    f.platform.ended = false;
    f.platform.Advance(1000);
    EXPECT_TRUE(f.sock().connectAttempts.empty()) << c.line;
  }
}

TEST_F(StartupTest, NoCommandLineUsesTheWarningTitle) {
  Start("");
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].title, "警告");
}

TEST_F(StartupTest, AcceptedLoginSetsTheClocksAndTellsTheLobby) {
  StartAndLogIn();
  Packet answer = Make(cmd::kLoginResult, 0, {0, 0x1C, 0, 1});
  answer[9] = 4;
  wire::PutSingleByteText(answer, 16, "ads.virel.example/t1", 100);
  Feed(answer);
  Ticks(3);
  EXPECT_EQ(ctx.startup.TurnClockSeconds, 12) << "0x1C modulo 16";
  EXPECT_EQ(ctx.startup.TimeoutLimit, 4);
  EXPECT_TRUE(ctx.session.TableActive);
  EXPECT_TRUE(ctx.session.ReconnectAllowed);
  EXPECT_FALSE(ctx.session.LoginAwaited);
  EXPECT_TRUE(ctx.TimerKeepAlive->Enabled());
  EXPECT_EQ(SysLines(0), std::vector<std::string>{"连接服务器成功！"});
  ASSERT_EQ(SysLines(1).size(), 1u);
  EXPECT_THAT(SysLines(1)[0], ::testing::StartsWith("欢迎进入Tavrel麻将 "));
  EXPECT_THAT(Posted(), ElementsAre(22, 771));
  EXPECT_EQ(ctx.startup.AdvertAddress, "ads.virel.example/t1");
  EXPECT_EQ(ctx.startup.SeatChangeAddress, "ads.virel.example/t1.gamead");
  EXPECT_FALSE(platform.ended);
}

TEST_F(StartupTest, RefusedLoginsTellTheLobbyAndEnd) {
  const std::pair<int, const char*> cases[] = {
      {2, "启动游戏失败，请重新在大厅就座后进入游戏！"},
      {0, "验证错误，请重新登陆游戏！"},
      {7, "验证错误，请重新登陆游戏！"},
  };
  for (const auto& [outcome, message] : cases) {
    FreshClient f;
    f.StartAndLogIn();
    f.AnswerLogin(outcome);
    EXPECT_EQ(f.SysLines(0), std::vector<std::string>{message}) << outcome;
    EXPECT_THAT(f.Posted(), ElementsAre(22, 22)) << outcome;
    EXPECT_TRUE(f.LobbyRestored()) << outcome;
    EXPECT_TRUE(f.platform.ended) << outcome;
    EXPECT_FALSE(f.ctx.session.ReconnectAllowed) << outcome;
  }
}

TEST_F(StartupTest, ShortClockModeSetsTheTurnClockToOneOnLogin) {
  platform.simLobby().windows.insert("MyLobby");
  StartAndLogIn("alice$secret$10.0.0.5$4100$北京$0$$$$$1$MyLobby$MyTable$0$0$");
  AnswerLogin(1, 0x1C);
  EXPECT_EQ(ctx.startup.TurnClockSeconds, 1);
}

TEST_F(StartupTest, NoConnectionWithinTheLimitEndsWithAMessage) {
  sock().acceptConnections = false;
  std::int64_t shownAt = -1;
  platform.onBox = [&](const auto&) { shownAt = platform.Now(); };
  Start(kDirectLine);
  platform.Advance(40000);
  EXPECT_THAT(BoxTexts(), ElementsAre(session::kMsgConnectFailed));
  EXPECT_GE(shownAt, session::kConnectWaitLimitMs);
  EXPECT_LT(shownAt, session::kConnectWaitLimitMs + 1000);
  EXPECT_TRUE(platform.ended);
  EXPECT_TRUE(LobbyRestored());
}

TEST_F(StartupTest, QueuedPacketsNeverOvertakeTheLogin) {
  sock().connectDelayMs = 120;
  Start(kDirectLine);
  session::TimerKeepAliveTick(ctx);  // queued before the connection is up
  Ticks(10);
  const auto sent = SentPackets();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0][3], 18);
  EXPECT_EQ(sent[1][3], cmd::kKeepAlive);
}

TEST_F(StartupTest, DebugLogHasEveryPacketButNeverTheKeyOrProxyPassword) {
  const std::string path = ::testing::TempDir() + "/tavrel_debug_log_test.log";
  std::remove(path.c_str());
  ASSERT_TRUE(session::InstallDebugLog(ctx, path.c_str()));
  Start("alice$secret$10.0.0.5$4100$北京$0$$$$hunter2$$$$$$");
  Ticks(6);
  AnswerLogin(1);
  ctx.startup.debugLog.file.reset();
  std::ifstream in(path);
  std::stringstream all;
  all << in.rdbuf();
  const std::string log = all.str();
  EXPECT_THAT(log, HasSubstr("send 18"));
  EXPECT_THAT(log, HasSubstr("recv 18"));
  EXPECT_THAT(log, HasSubstr("alice$***$10.0.0.5$4100$"));
  EXPECT_EQ(log.find("secret"), std::string::npos);
  EXPECT_EQ(log.find("736563726574"), std::string::npos) << "nor the key in hex";
  EXPECT_EQ(log.find("hunter2"), std::string::npos);
  std::remove(path.c_str());
}

TEST_F(StartupTest, DebugLogIsOffWithoutAPath) {
  EXPECT_TRUE(session::InstallDebugLog(ctx, nullptr));
  EXPECT_TRUE(session::InstallDebugLog(ctx, ""));
  EXPECT_FALSE(session::DebugLogOn(ctx));
}

}  // namespace
}  // namespace tavrel::testing
