// tavrelmj against a small game server and a lobby window on the real link:
// the login, the lobby's messages, the fresh login, refused logins, a second
// instance and a start without command line.
#include "session_harness.h"

namespace tavrel::itest {
namespace {

struct SessionLoginTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  TestServer server;
  TestLobby lobby{env.LinkDir()};
  Child client;

  void StartClient(const QString& line) { client.Start(kClient, {line}, env.Env()); }
};

TEST_F(SessionLoginTest, LogsInAnswersTheLobbyLeavesAndLogsInAgain) {
  StartClient(Line(server.Port()));
  auto login = server.WaitPacket(0, 0);
  ASSERT_TRUE(login) << client.Output();
  EXPECT_EQ((*login)[3], 18);
  EXPECT_EQ((*login)[14], 1);
  EXPECT_EQ(wire::SingleByteText(*login, 16, 16), "alice");
  EXPECT_EQ(wire::SingleByteText(*login, 32, 228), "k3y-0001");
  EXPECT_EQ(lobby.Count(22), 1) << "22 before the login";

  auto& conn = server.Conn(0);
  conn.Send(LoginAnswer(1));
  ASSERT_TRUE(lobby.WaitMessage(771)) << client.Output();
  SendSeatNames(conn, "alice");
  Pump(500);

  // Not playing a hand: the query is answered with 1024.
  ASSERT_TRUE(lobby.Post(1125));
  ASSERT_TRUE(lobby.WaitMessage(1024));

  // Forced leave: the leave packet with the own seat mask, then the socket closes.
  const std::size_t before = conn.PacketCount();
  ASSERT_TRUE(lobby.Post(1024));
  ASSERT_TRUE(WaitFor([&] { return conn.closed; })) << client.Output();
  bool leaveSeen = false;
  for (std::size_t i = before; i < conn.PacketCount(); ++i) {
    const Packet p = conn.PacketAt(i);
    if (p[3] == 16 && p[15] == 0) {
      leaveSeen = true;
      EXPECT_EQ(p[6], 2) << "own seat mask";
      EXPECT_EQ(p[260], 0) << "no token";
    }
  }
  EXPECT_TRUE(leaveSeen);
  Pump(1000);
  EXPECT_TRUE(client.Running()) << "the client waits, idle, for the next seat";

  // A fresh login on a new connection.
  ASSERT_TRUE(lobby.Post(22));
  auto again = server.WaitPacket(1, 0);
  ASSERT_TRUE(again) << client.Output();
  EXPECT_EQ((*again)[3], 18);
  EXPECT_EQ(wire::SingleByteText(*again, 32, 228), "k3y-0001");
  // Until the answer comes, a close request is put off with 1126.
  ASSERT_TRUE(lobby.Post(771));
  ASSERT_TRUE(lobby.WaitMessage(1126)) << client.Output();
  server.Conn(1).Send(LoginAnswer(1));
  ASSERT_TRUE(lobby.WaitMessage(771, 2));
  EXPECT_TRUE(client.Running());
}

TEST_F(SessionLoginTest, RefusedLoginTellsTheLobbyAndEnds) {
  StartClient(Line(server.Port()));
  ASSERT_TRUE(server.WaitPacket(0, 0)) << client.Output();
  server.Conn(0).Send(LoginAnswer(2));
  ASSERT_TRUE(client.WaitExit()) << client.Output();
  EXPECT_NE(client.process.exitCode(), 0);
  EXPECT_EQ(lobby.Count(22), 2);
  EXPECT_EQ(lobby.Count(0x112, 61728), 1) << "the lobby is restored";
}

TEST_F(SessionLoginTest, SecondInstanceWarnsAndExits) {
  StartClient(Line(server.Port()));
  ASSERT_TRUE(server.WaitPacket(0, 0)) << client.Output();
  Child second;
  second.Start(kClient, {Line(server.Port())}, env.Env());
  ASSERT_TRUE(second.WaitExit()) << second.Output();
  EXPECT_NE(second.Output().find("[box] 警告: Tavrel麻将游戏已经运行！"), std::string::npos) << second.Output();
  EXPECT_NE(second.process.exitCode(), 0);
  EXPECT_EQ(server.conns.size(), 1u) << "the second never connects";
  EXPECT_TRUE(client.Running());
}

TEST_F(SessionLoginTest, NoCommandLineSaysStartFromTheLobbyAndFails) {
  client.Start(kClient, {}, env.Env());
  ASSERT_TRUE(client.WaitExit());
  EXPECT_NE(client.Output().find("本游戏需从游戏大厅中启动！"), std::string::npos) << client.Output();
  EXPECT_EQ(client.process.exitStatus(), QProcess::NormalExit);
  EXPECT_NE(client.process.exitCode(), 0);
}

TEST_F(SessionLoginTest, BadPortIsReportedWithoutACrash) {
  StartClient("alice$k$127.0.0.1$70000$测试区$0$$$$$$$$0$0$");
  ASSERT_TRUE(client.WaitExit());
  EXPECT_NE(client.Output().find("游戏服务器端口无效"), std::string::npos) << client.Output();
  EXPECT_EQ(client.process.exitStatus(), QProcess::NormalExit);
  EXPECT_NE(client.process.exitCode(), 0);
}

TEST_F(SessionLoginTest, DebugLogRecordsPacketsWithoutTheKey) {
  const QString log = env.dir.path() + "/debug.log";
  auto e = env.Env();
  e.insert("TAVREL_DEBUG_LOG", log);
  client.Start(kClient, {Line(server.Port())}, e);
  ASSERT_TRUE(server.WaitPacket(0, 0)) << client.Output();
  server.Conn(0).Send(LoginAnswer(1));
  ASSERT_TRUE(lobby.WaitMessage(771));
  Pump(300);
  QFile f(log);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray text = f.readAll();
  EXPECT_TRUE(text.contains("send 18")) << text.toStdString();
  EXPECT_TRUE(text.contains("recv 18")) << text.toStdString();
  EXPECT_FALSE(text.contains("k3y-0001"));
}

}  // namespace
}  // namespace tavrel::itest
