// The real server on loopback: a scripted player finishes its hands while other
// connections send garbage, half a packet, a flood, or come and go by the hundred.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <random>

#include "scripted_client.h"
#include "server_process.h"
#include "session/command_record.h"
#include "session/commands.h"

namespace tavrel::server::testing {
namespace {

using Clock = std::chrono::steady_clock;

// A scripted client on a socket.
class SocketPlayer {
 public:
  SocketPlayer(int port, ScriptedClient& client) : fd_(ConnectLoopback(port)), client_(client) {
    const Packet login = client_.LoginPacket();
    open_ = fd_ >= 0 && WriteAll(fd_, login.data(), login.size(), Clock::now() + std::chrono::seconds(5));
  }
  ~SocketPlayer() {
    if (fd_ >= 0) ::close(fd_);
  }
  // Takes what has arrived and answers it; false once the server has closed.
  bool Pump() {
    if (!open_) return false;
    std::uint8_t buf[8192];
    for (;;) {
      const ssize_t n = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
      if (n == 0) open_ = false;
      if (n <= 0) break;
      in_.insert(in_.end(), buf, buf + n);
    }
    std::size_t at = 0;
    while (in_.size() - at >= kPacketSize) {
      Packet p;
      std::copy(in_.begin() + static_cast<std::ptrdiff_t>(at), in_.begin() + static_cast<std::ptrdiff_t>(at + kPacketSize), p.begin());
      at += kPacketSize;
      for (const Packet& r : client_.Handle(p))
        if (!WriteAll(fd_, r.data(), r.size(), Clock::now() + std::chrono::seconds(5))) open_ = false;
    }
    in_.erase(in_.begin(), in_.begin() + static_cast<std::ptrdiff_t>(at));
    return open_;
  }
  int fd() const { return fd_; }

 private:
  int fd_;
  ScriptedClient& client_;
  bool open_ = false;
  std::vector<std::uint8_t> in_;
};

void Drain(int fd) {
  std::uint8_t buf[16384];
  while (::recv(fd, buf, sizeof buf, MSG_DONTWAIT) > 0) {
  }
}

bool ClosedByPeer(int fd) {
  std::uint8_t buf[4096];
  for (;;) {
    const ssize_t n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT);
    if (n == 0) return true;
    if (n < 0) return errno != EAGAIN && errno != EWOULDBLOCK;
  }
}

Packet Junk(int i, std::mt19937& rng) {
  Info info;
  const int kinds[] = {cmd::kKeepAlive, cmd::kDiscardTile, cmd::kClaimReply, cmd::kContinue, 200, cmd::kReconnect};
  info.Cmd = static_cast<std::int16_t>(kinds[i % 6]);
  info.Seat = static_cast<std::uint8_t>(rng());
  for (auto& v : info.value) v = static_cast<std::int16_t>(rng());
  if (info.Cmd == cmd::kContinue) info.value[3] = 1;  // never a leave
  return EncodeRecord(info, {static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng())});
}

TEST(ServerOverLoopback, HostileConnectionsNeitherCrashNorStallThePlay) {
  const std::string log = ::testing::TempDir() + "tavrel_server_hostile.log";
  std::remove(log.c_str());
  ServerProcess server({"--bots", "3", "--hands", "3", "--bot-delay", "0", "--seed", "9", "--log", log});
  ASSERT_GT(server.Port(), 0);
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  std::mt19937 rng(5);

  ScriptedClient client("steady");
  SocketPlayer player(server.Port(), client);

  // Garbage: bytes that are no login.
  const int garbage = ConnectLoopback(server.Port());
  std::vector<std::uint8_t> noise(1000);
  for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
  noise[3] = 99;
  ASSERT_TRUE(WriteAll(garbage, noise.data(), noise.size(), deadline));

  // Half a login, then silence.
  const int half = ConnectLoopback(server.Port());
  const Packet login = ScriptedClient("halfway").LoginPacket();
  ASSERT_TRUE(WriteAll(half, login.data(), 100, deadline));

  // A watcher that floods the server with 10,000 packets.
  const int flood = ConnectLoopback(server.Port());
  const Packet watch = ScriptedClient("fan", "watch:0").LoginPacket();
  ASSERT_TRUE(WriteAll(flood, watch.data(), watch.size(), deadline));

  // 200 connections opened and dropped, some in the middle of a packet.
  for (int i = 0; i < 200; ++i) {
    const int fd = ConnectLoopback(server.Port());
    ASSERT_GE(fd, 0);
    if (i % 3 == 0) WriteAll(fd, login.data(), static_cast<std::size_t>(i % kPacketSize), deadline);
    ::close(fd);
    player.Pump();
  }

  int flooded = 0;
  while (!client.TableClosed() && Clock::now() < deadline) {
    if (flooded < 10000) {
      std::vector<std::uint8_t> burst;
      for (int k = 0; k < 200 && flooded < 10000; ++k, ++flooded) {
        const Packet p = Junk(flooded, rng);
        burst.insert(burst.end(), p.begin(), p.end());
      }
      ASSERT_TRUE(WriteAll(flood, burst.data(), burst.size(), deadline));
    }
    Drain(flood);
    Drain(half);
    pollfd pf{player.fd(), POLLIN, 0};
    ::poll(&pf, 1, 20);
    if (!player.Pump() && !client.TableClosed()) break;
  }

  EXPECT_EQ(flooded, 10000);
  EXPECT_TRUE(client.TableClosed());
  EXPECT_EQ(client.HandsSeen(), 3);
  EXPECT_EQ(client.WonHands() + client.DrawnHands(), 3);
  for (const auto& p : client.Problems()) ADD_FAILURE() << p;
  EXPECT_TRUE(ClosedByPeer(garbage));
  EXPECT_EQ(server.WaitForExit(std::chrono::seconds(10)), 0);
  for (int fd : {garbage, half, flood}) ::close(fd);
}

TEST(ServerOverLoopback, RefusesASecondPlayerAtAFullTable) {
  ServerProcess server({"--bots", "3", "--seed", "1", "--key", "open"});
  ASSERT_GT(server.Port(), 0);
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  ScriptedClient first("first", "open");
  SocketPlayer a(server.Port(), first);
  first.SetContinueAfterHand(false);
  while (first.OwnSeat() < 0 && Clock::now() < deadline) {
    a.Pump();
    ::usleep(10000);
  }
  ASSERT_EQ(first.LoginResult(), 1);
  ScriptedClient second("second", "open");
  SocketPlayer b(server.Port(), second);
  while (b.Pump() && Clock::now() < deadline) ::usleep(10000);
  EXPECT_EQ(second.LoginResult(), 2);  // and the server closed the connection
  ScriptedClient wrong("third", "shut");
  SocketPlayer c(server.Port(), wrong);
  while (c.Pump() && Clock::now() < deadline) ::usleep(10000);
  EXPECT_EQ(wrong.LoginResult(), 3);
  EXPECT_TRUE(server.Running());
}

}  // namespace
}  // namespace tavrel::server::testing
