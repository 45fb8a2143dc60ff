// The real table client (when it has been built) against the real server: it logs
// in, receives the seat names and details, and stops its keep-alives once a second
// player has filled the table.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "scripted_client.h"
#include "server_process.h"

namespace tavrel::server::testing {
namespace {

using namespace std::chrono_literals;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

// A fresh folder (mode 0700), removed with everything in it at the end.
struct TempFolder {
  std::string path;
  TempFolder() {
    std::string tmpl = ::testing::TempDir() + "tavrel_real_client.XXXXXX";
    if (::mkdtemp(tmpl.data())) path = tmpl;
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

// What a player's open client leaves in their runtime folder: the single-instance
// lock, held for as long as the client runs. Released when this goes.
struct OpenClientLock {
  int fd = -1;
  explicit OpenClientLock(const std::string& runtimeDir) {
    const std::string dir = runtimeDir + "/tavrel";
    ::mkdir(dir.c_str(), 0700);
    fd = ::open((dir + "/tavrelmj.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      fd = -1;
    }
  }
  ~OpenClientLock() {
    if (fd >= 0) ::close(fd);
  }
};

std::size_t Count(const std::string& text, const std::string& what, std::size_t from = 0) {
  std::size_t n = 0;
  for (auto at = text.find(what, from); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(RealClient, LogsInGetsTheTableAndStopsKeepAlivesWhenTheTableIsFull) {
  struct stat st{};
  if (::stat(TAVREL_CLIENT_BIN, &st) != 0) GTEST_SKIP() << "tavrelmj is not built in this build";
  const std::string dir = ::testing::TempDir();
  const std::string serverLog = dir + "tavrel_real_client_server.log";
  const std::string clientLog = dir + "tavrel_real_client_debug.log";
  std::remove(serverLog.c_str());
  std::remove(clientLog.c_str());
  ServerProcess server({"--bots", "2", "--seed", "3", "--log", serverLog});
  ASSERT_GT(server.Port(), 0);

  // A player may have a client open while the suite runs: stand in for one in the
  // runtime folder this test would otherwise hand down. The client under test
  // gets a runtime folder, a program folder and a platform of its own.
  const TempFolder desktop, own;
  ASSERT_FALSE(desktop.path.empty());
  ASSERT_FALSE(own.path.empty());
  ::setenv("XDG_RUNTIME_DIR", desktop.path.c_str(), 1);
  const OpenClientLock openClient(desktop.path);
  ASSERT_GE(openClient.fd, 0);

  const std::string line = "alice$k$127.0.0.1$" + std::to_string(server.Port()) + "$本地$0$$0$$$$$$0$0$";
  const pid_t client = ::fork();
  if (client == 0) {
    ::setenv("XDG_RUNTIME_DIR", own.path.c_str(), 1);
    ::setenv("TAVREL_PROGRAM_FOLDER", own.path.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("TAVREL_BOX_TIMEOUT_MS", "200", 1);
    ::setenv("TAVREL_DEBUG_LOG", clientLog.c_str(), 1);
    ::execl(TAVREL_CLIENT_BIN, TAVREL_CLIENT_BIN, line.c_str(), static_cast<char*>(nullptr));
    std::_Exit(127);
  }
  ASSERT_GT(client, 0);
  struct Reaper {
    pid_t pid;
    ~Reaper() {
      ::kill(pid, SIGTERM);
      ::waitpid(pid, nullptr, 0);
    }
  } reaper{client};

  // Alone at a table for two players, the client sends a keep-alive every 5 s.
  ASSERT_TRUE(WaitFor([&] { return ReadFile(serverLog).find("login: 'alice'") != std::string::npos; }, 15s));
  ASSERT_TRUE(WaitFor([&] { return Count(ReadFile(serverLog), "KeepAlive(24)") >= 1; }, 12s));

  ScriptedClient bob("bob");
  bob.SetContinueAfterHand(false);
  const int fd = ConnectLoopback(server.Port());
  ASSERT_GE(fd, 0);
  const Packet login = bob.LoginPacket();
  ASSERT_TRUE(WriteAll(fd, login.data(), login.size(), std::chrono::steady_clock::now() + 5s));
  ASSERT_TRUE(WaitFor([&] { return ReadFile(serverLog).find("table full") != std::string::npos; }, 10s));

  // Seat names and details reach the client; then no keep-alive for more than a period
  // (one that crossed the names on the wire is let pass).
  std::this_thread::sleep_for(1s);
  const std::size_t settled = ReadFile(serverLog).size();
  std::this_thread::sleep_for(6s);
  const std::string log = ReadFile(serverLog);
  EXPECT_EQ(Count(log, "KeepAlive(24)", settled), 0u) << log.substr(log.find("table full"));
  const std::string received = ReadFile(clientLog);
  if (!received.empty()) {
    EXPECT_GE(Count(received, "SeatName"), 4u);
    EXPECT_GE(Count(received, "UserInfo"), 4u);
  }
  ::close(fd);
}

}  // namespace
}  // namespace tavrel::server::testing
