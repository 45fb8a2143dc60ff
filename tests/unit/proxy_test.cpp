// The SOCKS5 handshake: the bytes sent, the replies accepted and refused, and the switch to the game stream.
#include "session/proxy.h"
#include "session/scheduler.h"
#include "session_fixture.h"

namespace tavrel::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Bytes = platform::ByteVec;

constexpr const char* kProxyLine = "alice$secret$192.0.2.10$5000$北京$5$127.0.0.1$1080$u$pw$$$$$$";

struct ProxyTest : SessionFixture {
  void StartProxied(const std::string& line = kProxyLine) {
    Start(line);
    platform.RunPending();
  }
  static Bytes ConnectReply() { return {0x05, 0x00, 0x00, 0x01, 127, 0, 0, 1, 0x04, 0x38}; }
};

TEST_F(ProxyTest, MessagesHaveTheirExactBytes) {
  EXPECT_EQ(session::ProxyGreeting(), (Bytes{0x05, 0x02, 0x00, 0x02}));
  EXPECT_EQ(session::ProxyAuthentication("", ""), (Bytes{0x01, 0x00, 0x00}));
  EXPECT_EQ(session::ProxyAuthentication("u", "pw"), (Bytes{0x01, 0x01, 'u', 0x02, 'p', 'w'}));
  EXPECT_EQ(session::ProxyAuthentication(std::string(300, 'a'), "x").size(), 3u + 255 + 1) << "lengths are bytes";
  EXPECT_EQ(*session::ProxyConnectRequest("192.0.2.10", 5000),
            (Bytes{0x05, 0x01, 0x00, 0x01, 0xC0, 0x00, 0x02, 0x0A, 0x13, 0x88}));
  EXPECT_FALSE(session::ProxyConnectRequest("game.example", 5000));
}

TEST_F(ProxyTest, HandshakeWithAuthenticationEndsInTheLogin) {
  StartProxied();
  ASSERT_EQ(sock().connectAttempts.size(), 1u);
  EXPECT_EQ(sock().connectAttempts[0], std::make_pair(std::string("127.0.0.1"), 1080));
  EXPECT_FALSE(ctx.session.DirectMode);
  EXPECT_TRUE(ctx.session.LoginAwaited);
  EXPECT_EQ(LastSend(), session::ProxyGreeting());

  Feed(Bytes{0x05, 0x02});
  EXPECT_EQ(LastSend(), (Bytes{0x01, 0x01, 'u', 0x02, 'p', 'w'}));
  Feed(Bytes{0x01, 0x00});
  EXPECT_EQ(LastSend(), (Bytes{0x05, 0x01, 0x00, 0x01, 0xC0, 0x00, 0x02, 0x0A, 0x13, 0x88}));
  Feed(ConnectReply());
  EXPECT_TRUE(ctx.session.DirectMode);
  ASSERT_EQ(LastSend().size(), kPacketSize);
  EXPECT_EQ(LastSend()[3], 18);
  EXPECT_THAT(Posted(), ElementsAre(771));
  EXPECT_EQ(SysLines(0), std::vector<std::string>{"连接代理服务器成功！"});
  EXPECT_TRUE(ctx.TimerBong->Enabled());
  EXPECT_TRUE(platform.boxes.empty());

  AnswerLogin(1);
  EXPECT_TRUE(ctx.session.TableActive) << "game packets now reach the dispatcher";
}

TEST_F(ProxyTest, NoAuthenticationChoiceGoesStraightToTheConnectRequest) {
  StartProxied();
  Feed(Bytes{0x05, 0x00});
  EXPECT_EQ(sock().sendCalls.size(), 2u);
  EXPECT_EQ(LastSend()[0], 0x05);
  EXPECT_EQ(LastSend()[1], 0x01) << "the connect request, never the authentication";
}

TEST_F(ProxyTest, EmptyCredentialsSendTheThreeByteAuthentication) {
  StartProxied("alice$secret$192.0.2.10$5000$北京$5$127.0.0.1$1080$$$$$$$$");
  Feed(Bytes{0x05, 0x02});
  EXPECT_EQ(LastSend(), (Bytes{0x01, 0x00, 0x00}));
}

struct Refusal {
  std::vector<Bytes> replies;
  const char* message;
};

TEST_F(ProxyTest, RefusalsShowTheirBoxAndCloseTheSocket) {
  const Refusal cases[] = {
      {{{0x05, 0xFF}}, "请求代理失败！"},
      {{{0x04, 0x00}}, "请求代理失败！"},
      {{{0x05, 0x02}, {0x01, 0x01}}, "代理服务器用户验证失败！"},
      {{{0x05, 0x00}, {0x05, 0x05}}, "通过代理连接主站失败！"},
  };
  for (const auto& c : cases) {
    FreshClient f;
    f.Start(kProxyLine);
    f.platform.RunPending();
    for (const auto& r : c.replies) f.Feed(r);
    ASSERT_EQ(f.platform.boxes.size(), 1u) << c.message;
    EXPECT_EQ(f.platform.boxes[0].text, c.message);
    EXPECT_EQ(f.platform.boxes[0].title, "Tavrel麻将");
    EXPECT_EQ(f.sock().State(), platform::kSocketClosed) << c.message;
    EXPECT_FALSE(f.platform.ended) << "no retry, no exit: " << c.message;
  }
}

TEST_F(ProxyTest, RepliesSplitAcrossArrivalsAreReadWhole) {
  StartProxied();
  Feed(Bytes{0x05});
  EXPECT_EQ(sock().sendCalls.size(), 1u) << "half a reply is not judged";
  Feed(Bytes{0x00});
  EXPECT_EQ(sock().sendCalls.size(), 2u);
  const Bytes reply = ConnectReply();
  Feed(Bytes(reply.begin(), reply.begin() + 4));
  EXPECT_FALSE(ctx.session.DirectMode) << "the bound address is still to come";
  // The rest of the reply arrives together with the first game packet.
  Bytes rest(reply.begin() + 4, reply.end());
  const Packet login = Make(cmd::kLoginResult, 0, {0, 0x1C, 0, 1}, {1, 2});
  rest.insert(rest.end(), login.begin(), login.end());
  Feed(rest);
  EXPECT_TRUE(ctx.session.DirectMode);
  Ticks(3);
  EXPECT_TRUE(ctx.session.TableActive) << "the game stream starts at the packet boundary";
  EXPECT_EQ(ctx.startup.TurnClockSeconds, 12);
}

TEST_F(ProxyTest, AProxyThatStopsAnsweringIsGivenUp) {
  StartProxied();
  platform.Advance(session::kProxyWaitLimitMs + 100);
  EXPECT_THAT(BoxTexts(), ElementsAre("请求代理失败！"));
  EXPECT_EQ(sock().State(), platform::kSocketClosed);
}

TEST_F(ProxyTest, AnUnreachableProxyEndsWithAMessage) {
  sock().acceptConnections = false;
  Start(kProxyLine);
  EXPECT_THAT(BoxTexts(), ElementsAre("连接代理服务器失败！"));
  EXPECT_TRUE(platform.ended);
  EXPECT_TRUE(LobbyRestored());
}

TEST_F(ProxyTest, QueuedPacketsWaitForTheEndOfTheHandshake) {
  StartProxied();
  session::SetTimerBong(ctx, true);  // as during a reconnection, when the scheduler keeps running
  session::TimerKeepAliveTick(ctx);
  Ticks(4);
  EXPECT_EQ(sock().sendCalls.size(), 1u) << "only the greeting went to the proxy";
  Feed(Bytes{0x05, 0x00});
  Feed(ConnectReply());
  Ticks(2);
  const auto& calls = sock().sendCalls;
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[2][3], 18);
  EXPECT_EQ(calls[3][3], cmd::kKeepAlive);
}

}  // namespace
}  // namespace tavrel::testing
