#pragma once
// What start-up learns from the command line and keeps for the session, and the
// state of the proxy handshake, the reconnection and the debug log.
#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "session/wire.h"

namespace tavrel::session {

inline constexpr int kFieldCount = 15;
inline constexpr const char* kDefaultLobbyCaption = "Virel山庄";
// Title of the client's message boxes and its window caption unless the lobby names one.
inline constexpr const char* kAppTitle = "Tavrel麻将";
inline constexpr const char* kPlatformWebAddress = "www.virel.example";

// SOCKS5 handshake steps: 0 idle, 1 send greeting, 2 await method, 3 send
// authentication, 4 await its result, 5 send connect, 6 await connect result.
// Timers and files are held by shared pointers so that a saved copy of the
// state (ClientContext::SaveState) refers to the same ones.
struct ProxyState {
  int ProxyStep = 0;
  // Ends a handshake whose proxy stops answering.
  std::shared_ptr<platform::Timer> replyGuard;
  bool waitingForSocket = false;
};

struct ReconnectState {
  std::uint32_t ReconnectNumber = 0;  // from the dealer announcement, sent back in the reconnect request
  int ReconnectAttempts = 0;
  int ReconnectDelay = 1;
  bool Reconnected = false;  // this connection was re-established (the leave waits longer)
  bool running = false;      // frmReconnect is loaded and its timers work
  std::shared_ptr<platform::Timer> TimerReconnect;  // 1000 ms
  std::shared_ptr<platform::Timer> TimerCount;      // 3000 ms
};

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};

struct DebugLogState {
  std::shared_ptr<std::FILE> file;  // null: the log is off; closed by FileCloser
};

struct Startup {
  std::array<std::string, kFieldCount> fields{};  // command-line fields 1..15 at 0..14 (the key is wiped)
  int fieldCount = 0;
  std::string UserName;  // field 1
  std::string LobbyCaption = kDefaultLobbyCaption;
  std::string MainCaption = kAppTitle;  // the caption the client registers under for the lobby
  std::string ServerHost;               // field 3
  int ServerPort = 0;                   // field 4
  std::string Location;                 // field 5
  int ConnectionType = 0;               // 0 direct, 5 SOCKS5, other: no connection
  std::string ProxyHost;                // field 7
  int ProxyPort = 0;                    // field 8
  std::string ProxyUser, ProxyPassword; // fields 9, 10
  bool ShortClockMode = false;
  bool PropsSwitch = false;  // field 14
  int PluginNumber = 0;      // field 15
  bool Spectator = false;
  double SpectatorUserId = 0;
  // The current login was asked for by the lobby (message 22) after a table, not by start-up.
  bool FreshLoginAsked = false;
  Packet LoginPacket{};
  int TurnClockSeconds = 8;
  int TimeoutLimit = 0;
  std::string AdvertAddress;
  std::string SeatChangeAddress;  // AdvertAddress + ".gamead"
  std::array<std::string, 4> ShuffleTexts{};

  ProxyState proxy;
  ReconnectState reconnect;
  // While idle after a table, ends the program once the lobby is gone.
  std::shared_ptr<platform::Timer> idleLobbyWatch;
  DebugLogState debugLog;

  // Steps of later modules: the start button idle and unusable on a fresh login;
  // the seat-change display stopped on leaving; sound and video stopped on unload.
  std::vector<std::function<void()>> freshLoginSteps;
  std::vector<std::function<void()>> leaveTableSteps;
  std::vector<std::function<void()>> mainUnloadSteps;
};

}  // namespace tavrel::session
