#pragma once
// A client started from a lobby command line over the sim platform, with the
// lobby window present and the far end of the socket played by the test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client_fixture.h"
#include "session/commands.h"
#include "session/startup.h"

namespace tavrel::testing {

inline constexpr const char* kLobby = "Virel山庄";
// 15 fields, each ending with "$": direct connection, no mode switch.
inline constexpr const char* kDirectLine = "alice$secret$10.0.0.5$4100$北京$0$$$$$$$$$$";

struct SessionFixture : ClientFixture {
  SessionFixture() { platform.simLobby().windows.insert(kLobby); }

  void Start(const std::string& line) { session::StartUp(ctx, line); }

  // Starts directly and lets the login sender put the login packet on the wire.
  void StartAndLogIn(const std::string& line = kDirectLine) {
    Start(line);
    Ticks(6);
  }

  // The server's LoginResult: value(3) outcome, value(1) turn clock, byte 9 time-out limit.
  void AnswerLogin(int outcome, int clock = 0x1C, SessionToken token = {0x12, 0x34}) {
    Feed(Make(cmd::kLoginResult, 0, {0, clock, 0, outcome}, token));
    Ticks(3);
  }

  // Logged in and seated at seat index 1 (mask 2).
  void LoggedIn() {
    StartAndLogIn();
    AnswerLogin(1);
    ctx.table.custom[0].seat = 2;
  }

  std::vector<int> Posted() { return platform.simLobby().MessagesTo(kLobby); }
  std::vector<std::string> SysLines(int list) {
    return ctx.main().Get("Sysmsg", list, platform::ControlKind::List).Items();
  }
  std::vector<std::string> BoxTexts() {
    std::vector<std::string> out;
    for (const auto& b : platform.boxes) out.push_back(b.text);
    return out;
  }
  bool LobbyRestored() {
    for (const auto& c : platform.simLobby().sysCommands)
      if (c.message == 61728) return true;
    return false;
  }
  platform::ByteVec LastSend() { return sock().sendCalls.empty() ? platform::ByteVec{} : sock().sendCalls.back(); }
  void ClearSent() {
    sock().sent.clear();
    sock().sendCalls.clear();
  }
  // A packet with a 32-bit little-endian number at 268..271 and a payload byte string at 16.
  static Packet WithTail(Packet p, std::uint32_t number) {
    wire::PutU32LE(p, off::kTailNumber, number);
    return p;
  }
};

// A second, independent client inside one test (for tables of cases).
struct FreshClient final : SessionFixture {
  void TestBody() override {}
};

}  // namespace tavrel::testing
