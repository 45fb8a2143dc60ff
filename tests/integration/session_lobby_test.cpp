// tavrel-lobby --headless starts tavrelmj against the loopback test server and
// exchanges the lobby messages with it; killing the lobby makes the client end.
#include <sys/prctl.h>
#include <sys/wait.h>

#include <QRegularExpression>

#include "session_harness.h"

namespace tavrel::itest {
namespace {

struct SessionLobbyTest : ::testing::Test {
  static void SetUpTestSuite() {
    EnsureApp();
    // The client outlives the lobby we kill: it becomes our child, so we can wait for it.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  }
  SessionEnv env;
  TestServer server;
  Child lobby;
  pid_t clientPid = 0;

  void StartLobby(const QStringList& extra) {
    QStringList args = {"--headless", "--client", kClient, "--server-port", QString::number(server.Port()),
                        "--user", "alice", "--key", "k3y-0001"};
    args << extra;
    lobby.Start(kLobbyProgram, args, env.Env());
  }
  pid_t ClientPid() {
    if (!lobby.WaitOutput("client started pid")) return 0;
    const QRegularExpression re("client started pid (\\d+)");
    const auto m = re.match(QString::fromUtf8(lobby.output));
    return m.hasMatch() ? static_cast<pid_t>(m.captured(1).toInt()) : 0;
  }
  // True once the orphaned client has ended (reaped here, as its subreaper).
  bool ClientEnded(int ms) {
    int status = 0;
    return WaitFor([&] { return ::waitpid(clientPid, &status, WNOHANG) == clientPid || ::kill(clientPid, 0) != 0; }, ms);
  }
  ~SessionLobbyTest() override {
    if (clientPid > 0 && ::kill(clientPid, 0) == 0) {
      ::kill(clientPid, SIGKILL);
      ::waitpid(clientPid, nullptr, 0);
    }
  }
};

TEST_F(SessionLobbyTest, HeadlessLobbyStartsTheClientAndExchangesItsMessages) {
  StartLobby({"--send", "1125@2500", "--send", "1024@4000"});
  clientPid = ClientPid();
  ASSERT_GT(clientPid, 0) << lobby.Output();
  auto login = server.WaitPacket(0, 0);
  ASSERT_TRUE(login) << lobby.Output();
  EXPECT_EQ(wire::SingleByteText(*login, 16, 16), "alice");
  EXPECT_EQ(wire::SingleByteText(*login, 32, 228), "k3y-0001");
  server.Conn(0).Send(LoginAnswer(1));
  EXPECT_TRUE(lobby.WaitOutput("recv 22 ")) << lobby.Output();
  EXPECT_TRUE(lobby.WaitOutput("recv 771 ")) << lobby.Output();
  // The query while idle is answered with 1024.
  EXPECT_TRUE(lobby.WaitOutput("sent 1125")) << lobby.Output();
  EXPECT_TRUE(lobby.WaitOutput("recv 1024 ")) << lobby.Output();
  // The forced leave: the leave packet reaches the server and the connection closes.
  EXPECT_TRUE(lobby.WaitOutput("sent 1024")) << lobby.Output();
  ASSERT_TRUE(WaitFor([&] { return server.Conn(0).closed; })) << lobby.Output();
  const auto& conn = server.Conn(0);
  ASSERT_GE(conn.PacketCount(), 2u);
  EXPECT_EQ(conn.PacketAt(conn.PacketCount() - 1)[3], 16);
  EXPECT_EQ(::kill(clientPid, 0), 0) << "the client stays for the next seat";
  EXPECT_EQ(lobby.Output().find("k3y-0001"), std::string::npos) << "the lobby's log masks the key";

  // Idle after the table, the client does not outlive its lobby.
  lobby.process.kill();
  EXPECT_TRUE(ClientEnded(8000));
}

TEST_F(SessionLobbyTest, KilledLobbyMakesTheClientEndWhenItNextLooksForIt) {
  StartLobby({});
  clientPid = ClientPid();
  ASSERT_GT(clientPid, 0) << lobby.Output();
  ASSERT_TRUE(server.WaitPacket(0, 0)) << lobby.Output();
  server.Conn(0).Send(LoginAnswer(1));
  ASSERT_TRUE(lobby.WaitOutput("recv 771 ")) << lobby.Output();

  lobby.process.kill();
  ASSERT_TRUE(lobby.WaitExit());
  Pump(300);
  EXPECT_EQ(::kill(clientPid, 0), 0) << "nothing looks for the lobby yet";
  // The connection drops: the watchdog finds the lobby gone and the client ends.
  server.Conn(0).socket->abort();
  EXPECT_TRUE(ClientEnded(10000));
}

TEST_F(SessionLobbyTest, HelpListsTheOptions) {
  lobby.Start(kLobbyProgram, {"--help"}, env.Env());
  ASSERT_TRUE(lobby.WaitExit());
  EXPECT_EQ(lobby.process.exitCode(), 0);
  for (const char* option : {"--headless", "--send", "--exit-after", "--client", "--server-host", "--server-port",
                             "--user", "--key", "--proxy", "--proxy-user", "--proxy-password", "--spectator"})
    EXPECT_NE(lobby.Output().find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace tavrel::itest
