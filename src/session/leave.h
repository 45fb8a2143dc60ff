#pragma once
// Leaving a table and the shutdown: the leave packet, CloseTable, the exit
// confirmation (frmExit), the table-closed notice (frmOtherExit, command 22) and
// the main window's unload.
#include "session/wire.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

inline constexpr const char* kExitForm = "frmExit";
inline constexpr const char* kOtherExitForm = "frmOtherExit";
inline constexpr const char* kMsgReallyQuit = "您真的要退出吗？";
inline constexpr const char* kMsgRunawayPenalty = "游戏正在进行，逃跑会扣分！";
inline constexpr int kLeaveWaitMs = 400;
inline constexpr int kLeaveWaitAfterReconnectMs = 800;
inline constexpr int kTableClosedPauseMs = 2000;
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

// Creates the controls of frmExit and frmOtherExit and their handlers.
void CreateExitForms(ClientContext& ctx);
// Shows frmExit centred over the table, with the runaway line only while playing as a player.
void ShowExitForm(ClientContext& ctx);

void OnExitConfirm(ClientContext& ctx);
void OnExitCancel(ClientContext& ctx);
// TableClosed (command 22).
void OnTableClosed(ClientContext& ctx);
void OnOtherExitOk(ClientContext& ctx);
void OnOtherExitCancel(ClientContext& ctx);
// The table window itself is closed: everything goes and the program ends.
void UnloadMainWindow(ClientContext& ctx);

}  // namespace tavrel::session
