// The lobby link between programs: finding windows by caption, posting messages
// and system commands, stale sockets of dead owners, long captions, and messages
// from another user.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/un.h>
#include <unistd.h>

#include "session_harness.h"

namespace tavrel::itest {
namespace {

using platform::qt::LobbyLinkQt;

struct LobbyLinkTest : ::testing::Test {
  static void SetUpTestSuite() { EnsureApp(); }
  SessionEnv env;
  std::string dir = env.LinkDir();

  struct Got {
    int message;
    long w, l;
  };
  std::vector<Got> got;
};

TEST_F(LobbyLinkTest, PostedMessagesAndSystemCommandsArriveInOrder) {
  LobbyLinkQt lobby(dir), client(dir);
  lobby.onMessage = [this](int m, long w, long l) { got.push_back({m, w, l}); };
  EXPECT_FALSE(client.FindWindow("Virel山庄"));
  ASSERT_TRUE(lobby.RegisterWindow("Virel山庄"));
  EXPECT_TRUE(client.FindWindow("Virel山庄"));
  EXPECT_FALSE(client.FindWindow("Virel"));
  EXPECT_TRUE(client.PostMessage("Virel山庄", 22, 0, 0));
  EXPECT_TRUE(client.PostMessage("Virel山庄", 1125, -5, 1L << 40));
  EXPECT_TRUE(client.SendSysCommand("Virel山庄", 61728));
  ASSERT_TRUE(WaitFor([&] { return got.size() == 3; }, 5000));
  EXPECT_EQ(got[0].message, 22);
  EXPECT_EQ(got[1].message, 1125);
  EXPECT_EQ(got[1].w, -5);
  EXPECT_EQ(got[1].l, 1L << 40);
  EXPECT_EQ(got[2].message, 0x112);
  EXPECT_EQ(got[2].w, 61728);
  EXPECT_FALSE(client.PostMessage("nobody", 22, 0, 0));
  EXPECT_FALSE(client.SendSysCommand("nobody", 61728));
}

TEST_F(LobbyLinkTest, AWindowIsGoneAtOnceWhenItsOwnerIsGone) {
  LobbyLinkQt client(dir);
  {
    LobbyLinkQt lobby(dir);
    ASSERT_TRUE(lobby.RegisterWindow("Virel山庄"));
    EXPECT_TRUE(client.FindWindow("Virel山庄"));
  }
  EXPECT_FALSE(client.FindWindow("Virel山庄"));

  // A crashed owner leaves its socket file behind; nobody reads it any more.
  const std::string path = LobbyLinkQt::SocketPath(dir, "Crashed");
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(fd);
  ASSERT_EQ(::access(path.c_str(), F_OK), 0) << "the stale file is there";
  EXPECT_FALSE(client.FindWindow("Crashed"));
  EXPECT_FALSE(client.PostMessage("Crashed", 22, 0, 0));
  // A new owner takes the caption over.
  LobbyLinkQt again(dir);
  EXPECT_TRUE(again.RegisterWindow("Crashed"));
  EXPECT_TRUE(client.FindWindow("Crashed"));
}

TEST_F(LobbyLinkTest, ALiveOwnerKeepsItsCaption) {
  LobbyLinkQt first(dir), second(dir);
  ASSERT_TRUE(first.RegisterWindow("Virel山庄"));
  EXPECT_FALSE(second.RegisterWindow("Virel山庄"));
  EXPECT_TRUE(second.FindWindow("Virel山庄"));
}

TEST_F(LobbyLinkTest, LongCaptionsAreHashedIntoAShortPath) {
  const std::string a(300, 'a'), b = std::string(299, 'a') + "b";
  const std::string pa = LobbyLinkQt::SocketPath(dir, a), pb = LobbyLinkQt::SocketPath(dir, b);
  EXPECT_LT(pa.size(), sizeof(sockaddr_un::sun_path));
  EXPECT_NE(pa, pb);
  LobbyLinkQt owner(dir), other(dir);
  ASSERT_TRUE(owner.RegisterWindow(a));
  EXPECT_TRUE(other.FindWindow(a));
  EXPECT_FALSE(other.FindWindow(b));
}

TEST_F(LobbyLinkTest, SocketsAreTheOwnersOnly) {
  LobbyLinkQt owner(dir);
  ASSERT_TRUE(owner.RegisterWindow("Virel山庄"));
  struct stat st {};
  ASSERT_EQ(::stat(LobbyLinkQt::SocketPath(dir, "Virel山庄").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

// Runs fn as another user in a child process; its exit code is fn's result.
int AsOtherUser(const std::function<int()>& fn) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(99);
    ::_exit(fn());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

TEST_F(LobbyLinkTest, AnotherUserCannotPostToAWindow) {
  if (::getuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  LobbyLinkQt owner(dir);
  owner.onMessage = [this](int m, long w, long l) { got.push_back({m, w, l}); };
  ASSERT_TRUE(owner.RegisterWindow("Virel山庄"));
  const std::string d = dir;
  auto post = [d] {
    LobbyLinkQt intruder(d);
    return intruder.PostMessage("Virel山庄", 1024, 0, 0) ? 1 : 0;
  };
  EXPECT_EQ(AsOtherUser(post), 0) << "the folder and the socket refuse another user";

  // Even with the file permissions opened up, the receiver checks who sent it.
  const std::string parent = env.dir.path().toStdString();
  ::chmod(parent.c_str(), 0711);
  ::chmod(dir.c_str(), 0777);
  ::chmod(LobbyLinkQt::SocketPath(dir, "Virel山庄").c_str(), 0666);
  EXPECT_EQ(AsOtherUser(post), 1);
  Pump(300);
  EXPECT_TRUE(got.empty());
  EXPECT_EQ(owner.lastRejectedUid, 65534);
  ::chmod(dir.c_str(), 0700);
  ::chmod(parent.c_str(), 0700);
}

}  // namespace
}  // namespace tavrel::itest
