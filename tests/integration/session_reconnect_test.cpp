// tavrelmj loses its connection to the loopback test server after the login and
// comes back by itself with the reconnect request (command 28).
#include "session_harness.h"

namespace tavrel::itest {
namespace {

struct SessionReconnectTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  TestServer server;
  TestLobby lobby{env.LinkDir()};
  Child client;

  void LogIn(SessionToken token) {
    client.Start(kClient, {Line(server.Port())}, env.Env());
    ASSERT_TRUE(server.WaitPacket(0, 0)) << client.Output();
    server.Conn(0).Send(LoginAnswer(1, token));
    ASSERT_TRUE(lobby.WaitMessage(771)) << client.Output();
  }
};

TEST_F(SessionReconnectTest, DroppedConnectionComesBackWithTokenAndNumber) {
  LogIn({0x21, 0x43});
  // The dealer announcement carries the number the server wants back.
  Packet dealer = Make(16, 2, {0, 1, 0, 2}, {0x65, 0x87});
  wire::PutU32LE(dealer, off::kTailNumber, 1000000);
  server.Conn(0).Send(dealer);
  Pump(500);
  const int loginsPosted = lobby.Count(22);

  server.Conn(0).socket->abort();
  auto request = server.WaitPacket(1, 0, 20000);
  ASSERT_TRUE(request) << client.Output();
  const Packet& p = *request;
  EXPECT_EQ(p[3], 28);
  EXPECT_EQ(p[14], 1);
  EXPECT_EQ(wire::SingleByteText(p, 16, 16), "alice");
  EXPECT_EQ(wire::SingleByteText(p, 32, 228), "k3y-0001");
  EXPECT_EQ(p[260], 0x65) << "the token of the last packet received";
  EXPECT_EQ(p[261], 0x87);
  EXPECT_EQ(wire::U32LE(p, off::kTailNumber), 1000000u) << "ReconnectNumber from the dealer announcement";
  EXPECT_EQ(lobby.Count(22), loginsPosted + 1) << "22 before the reconnect request";

  server.Conn(1).Send(Make(29, 0, {0, 0, 0, 1}, {0x99, 0x99}));
  // What the client sends next carries the token it had: the answer does not change it.
  auto next = server.WaitPacket(1, 1, 8000);
  ASSERT_TRUE(next) << client.Output();
  EXPECT_EQ((*next)[260], 0x65);
  EXPECT_TRUE(client.Running());
}

TEST_F(SessionReconnectTest, RefusedReconnectionEndsTheClient) {
  LogIn({0x21, 0x43});
  server.Conn(0).socket->abort();
  ASSERT_TRUE(server.WaitPacket(1, 0, 20000)) << client.Output();
  server.Conn(1).Send(Make(29, 0, {0, 0, 0, 0}));
  ASSERT_TRUE(client.WaitExit()) << client.Output();
  EXPECT_NE(client.Output().find("重连服务器失败，退出后请重新入座！"), std::string::npos) << client.Output();
  EXPECT_GE(lobby.Count(0x112, 61728), 1) << "the lobby is restored";
}

}  // namespace
}  // namespace tavrel::itest
