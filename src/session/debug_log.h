#pragma once
// The debug log: TAVREL_DEBUG_LOG names a file that gets one line per packet in
// each direction and the Parts' own lines. When it is not set no file is open and
// a line costs one test. The login key and the proxy password never reach it.
#include <string>
#include <string_view>

#include "session/startup_state.h"
#include "session/wire.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

// Opens the log for appending. A null or empty path leaves the log off. False
// when the file cannot be opened.
bool InstallDebugLog(ClientContext& ctx, const char* path);
bool DebugLogOn(const ClientContext& ctx);
// One line of the log (with the time), when the log is on.
void DebugLine(ClientContext& ctx, const std::string& line);
// One packet in or out, when the log is on.
void DebugPacket(ClientContext& ctx, bool sent, const Packet& packet);

// One packet as a log line (without the time): direction, command number and
// name, seat, values and the payload in hex. The key bytes of a sent login or
// reconnect request are masked.
std::string PacketLogText(bool sent, const Packet& packet);
inline constexpr long long kDayMs = 86400000;
// The time of a log line, "HH:MM:SS.mmm".
std::string LogTime(double secondsOfDay);

// One line of the log, read back (the replay reads its received packets).
struct LogLine {
  enum class Kind {
    Packet,   // a packet in or out, rebuilt byte for byte
    StartUp,  // the start-up line: `text` is the command line, secrets masked
    Other,    // any other line of the client (system messages, the lobby...)
    Old,      // written by an older client: no milliseconds or no packet frame
    Damaged,  // not a line of this log: `text` says why
  };
  Kind kind = Kind::Damaged;
  long long ms = 0;  // time of day in milliseconds
  bool sent = false;
  Packet packet{};
  std::string text;
};
LogLine ParseLogLine(std::string_view line);

// The command line as the log may show it: the key and the proxy password masked.
std::string MaskedCommandLine(const Startup& st);

}  // namespace tavrel::session
