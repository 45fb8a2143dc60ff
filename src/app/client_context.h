#pragma once
// The one client context: every module's state, the windows, the socket and the
// timers. app/ creates one for the process; each test creates a fresh one over the
// sim platform. Modules keep no state of their own outside it.
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "chat/chat_state.h"
#include "platform/controls.h"
#include "platform/names.h"
#include "platform/platform.h"
#include "props/prop_bridge.h"
#include "round/table_model.h"
#include "scoring/hand_end.h"
#include "scoring/player_details.h"
#include "session/dispatcher.h"
#include "session/scheduler.h"
#include "session/session_state.h"
#include "session/startup_state.h"
#include "sound/sound_state.h"
#include "view/view_state.h"

namespace tavrel {

// The table window's name, for the backends.
inline constexpr const char* kMainForm = frm::Main;

// Steps that a module performs on behalf of modules built later: each is empty
// (or the list has no entry) until such a module registers. Modules that exist
// call each other's headers directly.
struct Hooks {
  // Start-up (session): layout scale, picture tables and the first layout; then
  // the rest of the layout (view).
  std::function<void()> prepareLayout;
  std::function<void()> finishLayout;
  // Start-up (session): the sound set-up, including the start sound (sound).
  std::function<void()> setUpSound;
  // Table shutdown (session): each module clears its own displays and state.
  std::vector<std::function<void()>> closeTableSteps;
  // The seat-change display after a Continue (hand end), owned by the departures.
  std::function<void()> seatChangeDisplay;
  // A received packet was handled (session): the table dump of every packet (app).
  std::function<void()> packetHandled;
};

// Every module's state: plain values, copied whole to be saved and put back.
struct ModuleState {
  session::SessionState session;
  session::Scheduler sched;
  session::Startup startup;
  round::Table table;
  scoring::Players players;
  scoring::HandEnd handEnd;
  view::ViewState view;
  props::PropBridge props;
  sound::SoundState sound;
  chat::ChatState chat;
  Hooks hooks;

  // The random generator of dice, seat draws, voices and chests. Randomize seeds it
  // from the time of day; tests seed it themselves.
  std::mt19937 rng{20261210u};
};

struct ClientContext : ModuleState {
  explicit ClientContext(platform::Platform& p);
  ClientContext(const ClientContext&) = delete;
  ClientContext& operator=(const ClientContext&) = delete;
  ~ClientContext();

  platform::Platform& platform;
  platform::Ui ui;

  // The command handlers; saved beside the modules' state, as they change only
  // when a module registers.
  session::Dispatcher dispatcher;
  void Randomize();
  // A number 0 <= x < 1.
  double Rnd();
  // A whole number 0..n-1 (Int(Rnd * n)).
  int RandomBelow(int n);

  std::unique_ptr<platform::StreamSocket> Winsock1;
  std::unique_ptr<platform::Timer> TimerBong;
  std::unique_ptr<platform::Timer> TimerKeepAlive;

  // The table window, found once: forms live as long as the context.
  platform::Form& main() {
    if (!mainForm_) mainForm_ = &ui.form(frm::Main);
    return *mainForm_;
  }
  bool Connected() const;  // Winsock1.State = 7

  // Every module's state and the windows, saved to be put back later, so that
  // one context serves many independent runs (fuzz targets, tests): after
  // RestoreState nothing of what ran since the save is left. The platform's own
  // state (clock, timers, socket, sound device) is the platform's to save; the
  // sim platform does it with Save and Rewind. Not for a context with a drawing backend.
  struct SavedState;
  std::shared_ptr<const SavedState> SaveState() const;
  void RestoreState(const SavedState& saved);

 private:
  platform::Form* mainForm_ = nullptr;
};

// Registers every Part's handlers, tasks and hooks on a fresh context.
void InstallParts(ClientContext& ctx);

}  // namespace tavrel
