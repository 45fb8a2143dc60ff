#pragma once
// The two windows that end a table: the exit confirmation frmExit and the
// table-closed notice frmOtherExit (command 22).
#include <string>

#include "platform/controls.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

inline constexpr const char* kMsgReallyQuit = "您真的要退出吗？";
inline constexpr const char* kMsgRunawayPenalty = "游戏正在进行，逃跑会扣分！";
inline constexpr int kTableClosedPauseMs = 2000;
// The prop plug-in is given this long to store the player's props before the leave.
inline constexpr int kQuitPropWaitMs = 250;

// A window centred over the table window.
void CentreOverMain(ClientContext& ctx, platform::Form& form);
// frmOtherExit with this text, centred over the table window, above all others.
void ShowOtherExit(ClientContext& ctx, const std::string& text);

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

}  // namespace tavrel::view
