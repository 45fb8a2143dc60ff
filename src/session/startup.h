#pragma once
// Start-up of the table client: the lobby's "$"-field command line, the login
// packet, the start-up sequence and the login answer.
#include <array>
#include <string>

#include "session/startup_state.h"
#include "session/wire.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

inline constexpr const char* kInstanceLockName = "tavrelmj";
inline constexpr const char* kWarningTitle = "警告";
inline constexpr const char* kMsgStartFromLobby = "本游戏需从游戏大厅中启动！";
inline constexpr const char* kMsgAlreadyRunning = "Tavrel麻将游戏已经运行！";
inline constexpr const char* kMsgConnecting = "正在连接服务器...";
inline constexpr const char* kMsgConnectFailed = "连接服务器失败，请检查您的网络！";

struct CommandLine {
  std::array<std::string, kFieldCount> fields{};
  int fieldCount = 0;
  bool spectator = false;
  std::string spectatorId;  // the text after the last "$" of a spectator line
};

// Splits the trimmed line into "$"-terminated fields (at most 15). A line that does
// not end with "$" after at least five fields is a spectator's: its trailing text
// is the watched user's ID. With fewer fields the trailing text is one more field.
CommandLine ParseCommandLine(const std::string& line);

// Checks the fields the connection needs and fills the start-up state.
// Returns an empty text when the line is usable, else the message for the player.
std::string ApplyCommandLine(Startup& st, const CommandLine& cl);

// VB-style number of a field: leading digits, 0 when there are none.
long FieldNumber(const std::string& field);
// A port field: digits only, 1..65535; -1 otherwise.
int PortNumber(const std::string& field);
bool IsDottedIPv4(const std::string& host);

Packet BuildLoginPacket(const std::string& userName, const std::string& loginKey);

// The whole start-up (main window load). Ends the program on failure.
void StartUp(ClientContext& ctx, const std::string& commandLine);

// A client without a server or a lobby (the replay of a recorded table): the table
// prepared and shown for the player `userName`, the scheduler running; the packets
// come through Winsock1 as from a server.
void StartOffline(ClientContext& ctx, const std::string& userName, bool spectator, double spectatorId);

// LoginResult (command 18).
void OnLoginResult(ClientContext& ctx);
// The login sender found no connection within its limit.
void OnConnectTimedOut(ClientContext& ctx);
// A login (not a reconnection) could not reach its server: at start-up the message and
// the end; at a fresh login asked by the lobby the message and the idle state.
void LoginCannotConnect(ClientContext& ctx, const std::string& message);

}  // namespace tavrel::session
