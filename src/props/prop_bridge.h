#pragma once
// The state of the bridge to the prop plug-in and of the treasure chests. Until a
// plug-in is loaded and initialised nothing is active and every call is skipped.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "props/prop_plugin.h"

namespace tavrel::platform {
class Timer;
}

namespace tavrel::props {

// PropState values.
inline constexpr int kNotLoaded = 0;
inline constexpr int kPropsOff = -1;
inline constexpr int kActive = 1;
inline constexpr int kActiveWithChests = 2;

// The hand-end show around the settlement sheet.
enum class HandEndShow { Idle, Running, SheetShown };

struct PropBridge {
  // Shared so that a saved copy of the state refers to the same plug-in.
  std::shared_ptr<PluginObject> PropPlugin;
  int PropState = kNotLoaded;
  bool PropPolling = false;
  // Why the last load failed, for the debug log.
  std::string loadProblem;
  // How the library is loaded: from the file (tests give a table of their own).
  LoadedPlugin (*loadLibrary)(const std::string& path) = LoadPluginLibrary;

  // The settlement hand-off.
  bool SettlementPending = false;
  bool ScoreInfoPending = false;
  bool DrawSettlement = false;
  bool ChestOpened = false;
  HandEndShow show = HandEndShow::Idle;
  // A departure during the show: the plug-in is shut down once the sheet is shown.
  bool closeAfterSheet = false;
  // ... and props are off for the table after that close (SetUserinfo said no).
  bool offAfterSheet = false;
  // Ticks the settlement has waited for the plug-in's results.
  int scoreWaitTicks = 0;
  // A hand has started since the last plug-in reset after a departure.
  bool ResetDue = false;

  // The floating message LbProp: TimerProp ticks it still stays; 0 = until replaced.
  int floatingTicksLeft = 0;
  std::shared_ptr<platform::Timer> TimerProp;

  // The chests.
  ChestLayout layout;
  ScoreInfo score;
  std::array<std::int16_t, 4> Prop_BaoChs{-1, -1, -1, -1};
  bool ChestCountdown = false;
  int ChestSeconds = 5;
  int ChestTicks = 0;
  bool ChestAnimating = false;
  int ChestFrame = 0;

  bool Active() const { return PropState > 0 && PropPlugin != nullptr; }
};

}  // namespace tavrel::props
