#pragma once
// A fresh client over the sim platform, connected to a far end the test plays.
#include <gtest/gtest.h>

#include <vector>

#include "../kind_check.h"
#include "app/client_context.h"
#include "platform/sim/sim_platform.h"
#include "session/command_record.h"
#include "session/wire.h"

namespace tavrel::testing {

struct ClientFixture : ::testing::Test {
  platform::sim::SimPlatform platform;
  ClientContext ctx{platform};

  ClientFixture() { InstallParts(ctx); }
  // A test that looked up a control under the wrong kind fails.
  void TearDown() override { ExpectNoKindMismatches(ctx.ui); }

  platform::sim::SimSocket& sock() { return *platform.socket(0); }

  // Connects Winsock1 to a far end that accepts at once.
  void Connect() {
    ctx.Winsock1->RemoteHost = "127.0.0.1";
    ctx.Winsock1->RemotePort = 4000;
    ctx.Winsock1->Connect();
    platform.RunPending();
  }

  // Runs n ticks of the 50 ms scheduler.
  void Ticks(int n) { platform.Advance(50LL * n); }

  static Packet Make(int command, int seat = 0, std::array<int, 4> values = {0, 0, 0, 0}, SessionToken token = {0, 0}) {
    Info info;
    info.Cmd = static_cast<std::int16_t>(command);
    info.Seat = static_cast<std::uint8_t>(seat);
    for (int i = 0; i < 4; ++i) info.value[i] = static_cast<std::int16_t>(values[i]);
    return EncodeRecord(info, token);
  }

  // Delivers bytes from the far end now (one DataArrival).
  void Feed(const Packet& p) { sock().PeerSendNow(platform::ByteVec(p.begin(), p.end())); }
  void Feed(const platform::ByteVec& bytes) { sock().PeerSendNow(bytes); }

  // Packets the client wrote to the socket, split at 272 bytes.
  std::vector<Packet> SentPackets() {
    std::vector<Packet> out;
    const auto& s = sock().sent;
    for (std::size_t i = 0; i + kPacketSize <= s.size(); i += kPacketSize) {
      Packet p;
      std::copy(s.begin() + static_cast<long>(i), s.begin() + static_cast<long>(i + kPacketSize), p.begin());
      out.push_back(p);
    }
    return out;
  }
};

}  // namespace tavrel::testing
