#pragma once
// What the other modules call of the props: loading and closing the plug-in, the
// table's events it is told of, the hand-end show and the treasure chests. Every
// call does nothing while the plug-in is not active, unless it says otherwise.
#include <string>

#include "props/prop_plugin.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::props {

// ---- Loading and closing (prop_bridge.cpp) ----
// A UserInfo arrived: with props off at the table (byte 255) PropState becomes -1;
// otherwise, with the props switch on (command-line field 14 = 1) and nothing loaded,
// the plug-in is loaded from the program folder and initialised.
void LoadPropPlugin(ClientContext& ctx, bool propsOffAtTable);
// The table is gone, the connection given up or the window unloads: InitExit, and
// the polling, the floating message and the chests end. A later UserInfo loads it again.
void ClosePropPlugin(ClientContext& ctx);
// A departure between hands: during the hand-end show the plug-in is closed once the
// sheet is shown, otherwise at once.
void ClosePropPluginAfterShow(ClientContext& ctx);

// ---- What the plug-in is told (prop_bridge.cpp) ----
void TellPacket(ClientContext& ctx, const Packet& packet);    // Rec_MSG
// PropScore (46): to the plug-in, and its results are awaited at the hand end.
void OnPropScore(ClientContext& ctx);
void TellConnection(ClientContext& ctx, bool up);             // rec_state 3
void TellEffectsSwitch(ClientContext& ctx, bool on);          // rec_state 1
// SetUserinfo; a false answer closes the plug-in and marks props off.
void TellUser(ClientContext& ctx, const PropUser& user);
void ClearUser(ClientContext& ctx, int position);
// After TableUsers, once per hand: rec_state for the other seats and Ainit.
void ResetAfterTableUsers(ClientContext& ctx);
void ForwardKey(ClientContext& ctx, int key);                 // SetKeyDown
void SetBankState(ClientContext& ctx, int state);             // setbankstate
void WindowRestored(ClientContext& ctx);                      // FixBuffPos
void QuitConfirmed(ClientContext& ctx);                       // UpdataMyProp(false)

// ---- Polling and the floating message (polling.cpp) ----
// Step 12 of every tick: the plug-in's items, the settlement hand-off, the chest countdown.
void PropTick(ClientContext& ctx);
void HideFloatingMessage(ClientContext& ctx);
// Whether PropTick has anything to do (the idle scheduler runs every tick while so).
bool TickHasWork(const ClientContext& ctx);

// ---- The hand end (hand_end_show.cpp) ----
// The hand's results are complete while the plug-in is active: the show starts and
// the sheet (the drawn hand's when drawnHand) is built once it is over.
void StartHandEndShow(ClientContext& ctx, bool drawnHand);
// The sheet of the hand has been built.
void HandSheetShown(ClientContext& ctx);
// The show is over: the plug-in's lines go to the sheet, the sheet is built.
void ShowSettlementSheet(ClientContext& ctx);

// ---- Treasure chests (chests.cpp) ----
void PlayBaoXiang(ClientContext& ctx);
// 0..4: the local player's chest; -1: the chests chosen for the other seats.
void OpenChest(ClientContext& ctx, int index);
// A new hand: the chests and the floating message go.
void ClearChests(ClientContext& ctx);
void ChestClicked(ClientContext& ctx, int index);
void ChestCountdownTick(ClientContext& ctx);
void ChestAnimationTick(ClientContext& ctx);

void RegisterProps(ClientContext& ctx);

}  // namespace tavrel::props
