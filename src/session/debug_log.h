#pragma once
// The debug log: TAVREL_DEBUG_LOG names a file that gets one line per packet in
// each direction and the Parts' own lines. When it is not set no file is open and
// a line costs one test. The login key and the proxy password never reach it.
#include <string>

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
// The command line as the log may show it: the key and the proxy password masked.
std::string MaskedCommandLine(const Startup& st);

}  // namespace tavrel::session
