// Reconnection after a lost connection: the attempts, the request, the answer and the queued packets.
#include "session/packet_io.h"
#include "session/proxy.h"
#include "session/reconnect.h"
#include "session/scheduler.h"
#include "session_fixture.h"

namespace tavrel::testing {
namespace {

using ::testing::ElementsAre;

struct ReconnectTest : SessionFixture {
  // Runs fn once the client has made `count` connection attempts in all; it also
  // fires inside the waits that pump events.
  void WhenAttempts(std::size_t count, std::function<void()> fn) {
    platform.Post(20, [this, count, fn] {
      if (sock().connectAttempts.size() >= count) fn();
      else WhenAttempts(count, fn);
    });
  }
  void LoseConnection(bool serverReachable) {
    sock().acceptConnections = serverReachable;
    sock().DropConnection();
  }
  std::vector<Packet> SentSince(std::size_t first) {
    auto all = SentPackets();
    return std::vector<Packet>(all.begin() + static_cast<long>(first), all.end());
  }
};

TEST_F(ReconnectTest, RequestCarriesTokenAndNumberLittleEndian) {
  const std::pair<std::uint32_t, std::array<std::uint8_t, 4>> cases[] = {
      {1000000, {0x40, 0x42, 0x0F, 0x00}}, {511, {0xFF, 0x01, 0x00, 0x00}}, {0, {0, 0, 0, 0}}};
  for (const auto& [number, bytes] : cases) {
    Packet p = session::BuildLoginPacket("alice", "secret");
    session::MakeReconnectRequest(p, {0xAB, 0xCD}, number);
    EXPECT_EQ(p[3], 28);
    EXPECT_EQ(p[260], 0xAB);
    EXPECT_EQ(p[261], 0xCD);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p[268 + i], bytes[i]) << number;
    EXPECT_EQ(p[14], 1) << "the rest stays as the login left it";
    EXPECT_EQ(wire::SingleByteText(p, 16, 16), "alice");
  }
}

TEST_F(ReconnectTest, DealerAnnouncementKeepsTheNumber) {
  LoggedIn();
  Feed(WithTail(Make(cmd::kPlayerLeft, 2, {0, 1, 0, 2}), 511));
  Ticks(3);
  EXPECT_EQ(ctx.startup.reconnect.ReconnectNumber, 511u);
}

TEST_F(ReconnectTest, SocketBackOnTheThirdAttemptStopsTheAttempts) {
  LoggedIn();
  ctx.startup.reconnect.ReconnectNumber = 1000000;
  const std::size_t sentBefore = SentPackets().size();
  const std::size_t attemptsBefore = sock().connectAttempts.size();
  LoseConnection(false);
  WhenAttempts(attemptsBefore + 2, [this] { sock().acceptConnections = true; });
  platform.Advance(20000);
  EXPECT_EQ(sock().connectAttempts.size(), attemptsBefore + 3);
  EXPECT_EQ(ctx.startup.reconnect.ReconnectAttempts, 3);
  EXPECT_FALSE(ctx.startup.reconnect.running);
  EXPECT_FALSE(ctx.ui.form(frm::frmReconnect).Loaded());
  EXPECT_EQ(SysLines(0), std::vector<std::string>{"正在重新连接服务器..."});

  auto sent = SentSince(sentBefore);
  ASSERT_GE(sent.size(), 1u);
  EXPECT_EQ(sent[0][3], 28);
  EXPECT_EQ(sent[0][260], 0x12);
  EXPECT_EQ(sent[0][261], 0x34);
  EXPECT_EQ(wire::U32LE(sent[0], 268), 1000000u);
  EXPECT_EQ(wire::SingleByteText(sent[0], 32, 228), "secret");

  platform.Advance(30000);
  EXPECT_EQ(sock().connectAttempts.size(), attemptsBefore + 3) << "no attempt after the socket is back";
  EXPECT_FALSE(platform.ended);
}

TEST_F(ReconnectTest, PacketsQueuedWhileDownLeaveInOrderAfterTheRequest) {
  LoggedIn();
  const std::size_t sentBefore = SentPackets().size();
  LoseConnection(false);
  session::TimerKeepAliveTick(ctx);
  session::TimerKeepAliveTick(ctx);
  Info chat;
  chat.Cmd = 2;
  chat.Seat = 2;
  chat.value[3] = 0x4011;
  session::SendCommand(ctx, chat);
  WhenAttempts(sock().connectAttempts.size() + 1, [this] { sock().acceptConnections = true; });
  platform.Advance(6000);
  Feed(Make(cmd::kReconnectResult, 0, {0, 0, 0, 1}, {0x55, 0x66}));
  Ticks(10);
  const auto sent = SentSince(sentBefore);
  ASSERT_GE(sent.size(), 4u);
  EXPECT_EQ(sent[0][3], 28);
  EXPECT_EQ(sent[1][3], cmd::kKeepAlive);
  EXPECT_EQ(sent[2][3], cmd::kKeepAlive);
  EXPECT_EQ(sent[3][3], 2);
  EXPECT_EQ(sent[3][15], 0x11);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(sent[i][260], 0x12) << "stamped when queued";
}

TEST_F(ReconnectTest, AcceptedAnswerKeepsTheTokenAndResumesTheTable) {
  LoggedIn();
  LoseConnection(true);
  platform.Advance(6000);
  Feed(Make(cmd::kReconnectResult, 0, {0, 0, 0, 1}, {0x55, 0x66}));
  Ticks(3);
  EXPECT_EQ(ctx.session.token, (SessionToken{0x12, 0x34}));
  EXPECT_TRUE(ctx.session.TableActive);
  EXPECT_TRUE(ctx.startup.reconnect.Reconnected);
  EXPECT_FALSE(ctx.session.LoginAwaited) << "the lobby's close request is no longer put off";
  EXPECT_EQ(SysLines(0), std::vector<std::string>{"正在重连服务器，请等待...！"});
  EXPECT_TRUE(SysLines(1).empty());
}

TEST_F(ReconnectTest, RefusedAnswerEndsTheProgram) {
  LoggedIn();
  LoseConnection(true);
  platform.Advance(6000);
  Feed(Make(cmd::kReconnectResult, 0, {0, 0, 0, 0}));
  Ticks(3);
  EXPECT_THAT(BoxTexts(), ElementsAre("重连服务器失败，退出后请重新入座！"));
  EXPECT_TRUE(LobbyRestored());
  EXPECT_TRUE(platform.ended);
}

TEST_F(ReconnectTest, TwentyOneFailedAttemptsGiveUp) {
  LoggedIn();
  const std::size_t attemptsBefore = sock().connectAttempts.size();
  LoseConnection(false);
  platform.Advance(200000);
  EXPECT_EQ(sock().connectAttempts.size(), attemptsBefore + 21);
  EXPECT_THAT(BoxTexts(), ElementsAre("重连失败，请检查您的网络！"));
  EXPECT_TRUE(LobbyRestored());
  EXPECT_TRUE(platform.ended);
}

TEST_F(ReconnectTest, LossBeforeAnAcceptedLoginIsNotReconnected) {
  StartAndLogIn();
  LoseConnection(true);
  platform.Advance(20000);
  EXPECT_EQ(sock().connectAttempts.size(), 1u);
  EXPECT_FALSE(ctx.startup.reconnect.running);
}

TEST_F(ReconnectTest, LossWithTheLobbyGoneEndsTheProgram) {
  LoggedIn();
  platform.simLobby().windows.clear();
  LoseConnection(true);
  Ticks(3);
  EXPECT_TRUE(platform.ended);
  EXPECT_FALSE(ctx.startup.reconnect.running);
}

TEST_F(ReconnectTest, ThroughTheProxyTheHandshakeRunsAgainAndKeepsTheQueue) {
  Start("alice$secret$192.0.2.10$5000$北京$5$127.0.0.1$1080$$$$$$$$");
  platform.RunPending();
  Feed(platform::ByteVec{0x05, 0x00});
  Feed(platform::ByteVec{0x05, 0x00, 0x00, 0x01, 1, 2, 3, 4, 0, 80});
  AnswerLogin(1);
  ctx.table.custom[0].seat = 2;
  const std::size_t callsBefore = sock().sendCalls.size();
  LoseConnection(true);
  session::TimerKeepAliveTick(ctx);
  platform.Advance(4500);
  ASSERT_EQ(sock().connectAttempts.size(), 2u);
  EXPECT_EQ(sock().connectAttempts[1], std::make_pair(std::string("127.0.0.1"), 1080));
  ASSERT_EQ(sock().sendCalls.size(), callsBefore + 1) << "the greeting only; the keep-alive waits";
  EXPECT_EQ(LastSend(), session::ProxyGreeting());
  Feed(platform::ByteVec{0x05, 0x00});
  Feed(platform::ByteVec{0x05, 0x00, 0x00, 0x01, 1, 2, 3, 4, 0, 80});
  Ticks(3);
  const auto& calls = sock().sendCalls;
  ASSERT_EQ(calls.size(), callsBefore + 4);
  EXPECT_EQ(calls[callsBefore + 2][3], 28);
  EXPECT_EQ(calls[callsBefore + 3][3], cmd::kKeepAlive);
}

}  // namespace
}  // namespace tavrel::testing
