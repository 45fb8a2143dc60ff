// The running client no longer shows the login key and the proxy password in its
// command line (/proc/PID/cmdline), while the login still carries the key.
#include <QFile>

#include "session_harness.h"

namespace tavrel::itest {
namespace {

constexpr const char* kKey = "k3y-secret-7731";
constexpr const char* kPassword = "pw-secret-8842";

struct SecretArgsTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  TestServer server;
  TestLobby lobby{env.LinkDir()};
  Child client;

  QByteArray CommandLineOf(qint64 pid) {
    QFile f(QString("/proc/%1/cmdline").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
  }
};

TEST_F(SecretArgsTest, KeyAndProxyPasswordLeaveTheProcessList) {
  // Direct connection (type 0): the proxy fields are read but not used.
  const QString line = QString("alice$%1$127.0.0.1$%2$测试区$0$127.0.0.1$1080$proxyuser$%3$$$$0$0$")
                           .arg(kKey)
                           .arg(server.Port())
                           .arg(kPassword);
  client.Start(kClient, {line}, env.Env());
  auto login = server.WaitPacket(0, 0);
  ASSERT_TRUE(login) << client.Output();
  EXPECT_EQ(wire::SingleByteText(*login, off::kLoginKey, off::kLoginKeyBytes), kKey) << "the key still logs in";

  const QByteArray shown = CommandLineOf(client.process.processId());
  ASSERT_FALSE(shown.isEmpty()) << "cannot read the client's command line";
  EXPECT_FALSE(shown.contains(kKey)) << shown.toStdString();
  EXPECT_FALSE(shown.contains(kPassword)) << shown.toStdString();
  EXPECT_TRUE(shown.contains("alice$***$127.0.0.1$")) << shown.toStdString();
  EXPECT_TRUE(shown.contains("$proxyuser$***$")) << shown.toStdString();
  EXPECT_TRUE(client.Running());
}

}  // namespace
}  // namespace tavrel::itest
