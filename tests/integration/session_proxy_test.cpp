// tavrelmj through a real SOCKS5 proxy (microsocks) to the loopback test server:
// without authentication, with user name and password, a wrong password, and a
// reconnection through the proxy after the game connection drops.
#include <QFileInfo>

#include "session_harness.h"

namespace tavrel::itest {
namespace {

constexpr const char* kMicrosocks = "/usr/bin/microsocks";

struct Microsocks {
  Child child;
  int port = FreePort();
  Microsocks(const QString& user, const QString& password) {
    QStringList args = {"-i", "127.0.0.1", "-p", QString::number(port)};
    if (!user.isEmpty()) args << "-u" << user << "-P" << password;
    child.Start(kMicrosocks, args, QProcessEnvironment::systemEnvironment());
    // Ready once it accepts connections.
    WaitFor([this] {
      QTcpSocket probe;
      probe.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
      return probe.waitForConnected(100);
    }, 5000);
  }
};

struct ProxyCase {
  const char* name;
  const char* serverUser;      // empty: the proxy wants no authentication
  const char* serverPassword;
  const char* clientUser;
  const char* clientPassword;
};

struct SessionProxyBase : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  void SetUp() override {
    if (!QFileInfo::exists(kMicrosocks)) GTEST_SKIP() << "microsocks is not installed";
  }
  SessionEnv env;
  TestServer server;
  TestLobby lobby{env.LinkDir()};
  Child client;

  static QString ProxyLine(int serverPort, int proxyPort, const QString& user, const QString& password) {
    return QString("alice$k3y-0001$127.0.0.1$%1$测试区$5$127.0.0.1$%2$%3$%4$$$$0$0$")
        .arg(serverPort)
        .arg(proxyPort)
        .arg(user, password);
  }
};

struct SessionProxyTest : SessionProxyBase, ::testing::WithParamInterface<ProxyCase> {};

TEST_P(SessionProxyTest, LogsInThroughTheProxyAndReconnectsThroughIt) {
  const ProxyCase c = GetParam();
  Microsocks proxy(c.serverUser, c.serverPassword);
  client.Start(kClient, {ProxyLine(server.Port(), proxy.port, c.clientUser, c.clientPassword)}, env.Env());

  auto login = server.WaitPacket(0, 0);
  ASSERT_TRUE(login) << client.Output() << proxy.child.Output();
  EXPECT_EQ((*login)[3], 18);
  EXPECT_EQ(wire::SingleByteText(*login, 16, 16), "alice");
  EXPECT_EQ(server.Conn(0).received.size(), static_cast<int>(kPacketSize)) << "nothing of the handshake reaches the server";
  EXPECT_EQ(lobby.Count(771), 1) << "771 when the proxy has connected the game server";

  server.Conn(0).Send(LoginAnswer(1, {0x5A, 0x0F}));
  ASSERT_TRUE(lobby.WaitMessage(771, 2)) << client.Output();

  // The game connection drops behind the proxy: the client comes back through it.
  server.Conn(0).socket->abort();
  auto request = server.WaitPacket(1, 0, 20000);
  ASSERT_TRUE(request) << client.Output();
  EXPECT_EQ((*request)[3], 28);
  EXPECT_EQ((*request)[260], 0x5A);
  EXPECT_EQ((*request)[261], 0x0F);
  server.Conn(1).Send(Make(29, 0, {0, 0, 0, 1}));
  Pump(500);
  EXPECT_TRUE(client.Running());
  EXPECT_EQ(client.Output().find("[box]"), std::string::npos) << client.Output();
}

INSTANTIATE_TEST_SUITE_P(Proxies, SessionProxyTest,
                         ::testing::Values(ProxyCase{"NoAuthentication", "", "", "", ""},
                                           ProxyCase{"UserAndPassword", "tavrel", "s3cret", "tavrel", "s3cret"}),
                         [](const auto& info) { return std::string(info.param.name); });

using SessionProxyRefusalTest = SessionProxyBase;

TEST_F(SessionProxyRefusalTest, WrongPasswordShowsTheBoxAndReachesNoServer) {
  Microsocks proxy("tavrel", "s3cret");
  client.Start(kClient, {ProxyLine(server.Port(), proxy.port, "tavrel", "wrong")}, env.Env());
  ASSERT_TRUE(client.WaitOutput("代理服务器用户验证失败！")) << client.Output();
  Pump(500);
  EXPECT_TRUE(server.conns.empty());
  EXPECT_TRUE(client.Running()) << "no retry and no exit after a refusal";
  EXPECT_EQ(client.Output().find("wrong"), std::string::npos);
}

TEST_F(SessionProxyRefusalTest, HostNameWithProxyIsRefusedAtStart) {
  client.Start(kClient, {"alice$k$game.example$4000$测试区$5$127.0.0.1$1080$$$$$$0$0$"}, env.Env());
  ASSERT_TRUE(client.WaitExit()) << client.Output();
  EXPECT_NE(client.Output().find("IPv4"), std::string::npos) << client.Output();
  EXPECT_NE(client.process.exitCode(), 0);
}

}  // namespace
}  // namespace tavrel::itest
