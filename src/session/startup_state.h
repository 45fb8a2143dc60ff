#pragma once
// What start-up learns from the command line and keeps for the session.
#include <array>
#include <string>

#include "session/wire.h"

namespace tavrel::session {

inline constexpr int kFieldCount = 15;
inline constexpr const char* kDefaultLobbyCaption = "Virel山庄";

struct Startup {
  std::array<std::string, kFieldCount> fields{};  // command-line fields 1..15 at 0..14
  std::string UserName;                            // field 1
  std::string LobbyCaption = kDefaultLobbyCaption;
  int ConnectionType = 0;  // 0 direct, 5 SOCKS5, other: no connection
  bool ShortClockMode = false;
  bool Spectator = false;
  double SpectatorUserId = 0;
  Packet LoginPacket{};
  int TurnClockSeconds = 8;
  int TimeoutLimit = 0;
  std::string AdvertAddress;
};

}  // namespace tavrel::session
