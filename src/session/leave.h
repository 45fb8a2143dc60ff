#pragma once
// Leaving a table and the shutdown: the leave packet, LeaveTable, CloseTable and
// the main window's unload. The exit windows that lead here are the view's.
#include "session/wire.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

inline constexpr int kLeaveWaitMs = 400;
inline constexpr int kLeaveWaitAfterReconnectMs = 800;
// CloseTable waits this long at most for the socket to report closed.
inline constexpr int kCloseWaitLimitMs = 2000;
// How often an idle client (after a table) checks that its lobby is still there.
inline constexpr int kIdleLobbyWatchMs = 2000;

// 272 zero bytes, command 16 at offset 3 and the own seat mask at offset 6; no token.
Packet LeavePacket(std::uint8_t ownSeatMask);

void LeaveTable(ClientContext& ctx);
// The idle client's check for its lobby: on after CloseTable, off at the next login.
void SetIdleLobbyWatch(ClientContext& ctx, bool on);
void CloseTable(ClientContext& ctx);
// The table window itself is closed: everything goes and the program ends.
void UnloadMainWindow(ClientContext& ctx);

}  // namespace tavrel::session
