#pragma once
// The one client context: every module's state, the windows, the socket and the
// timers. app/ creates one for the process; each test creates a fresh one over the
// sim platform. Modules keep no state of their own outside it.
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/controls.h"
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

// Names of the windows.
inline constexpr const char* kMainForm = "Main";

// Steps that one Part performs on behalf of Parts built later; each is empty
// until the Part that owns it registers.
struct Hooks {
  // Table reset for a new hand: ClearTablePictures, ResetLayout, ResetSeats.
  std::function<void()> tableReset;
  // Start-up: layout scale, picture tables and the first layout; then the rest of the layout.
  std::function<void()> prepareLayout;
  std::function<void()> finishLayout;
  // Start-up: the sound set-up, including the start sound.
  std::function<void()> setUpSound;
  // Table shutdown: each Part clears its own displays and state.
  std::vector<std::function<void()>> closeTableSteps;
  // A received chat line (text already decoded), for the chat display.
  std::function<void(const std::string& text, const Info& info)> chatReceived;
  // The start/continue button shows its active picture and is usable.
  std::function<void()> startButtonActive;
  // The seat-change display after an automatic Continue.
  std::function<void()> seatChangeDisplay;
  // CloseTable of the leaving Part (the lost-connection watch shuts the table down).
  std::function<void()> closeTableOp;
  // The reconnection, started by the watchdog when the connection is lost.
  std::function<void()> startReconnection;
  // The login sender found no connection within its time limit.
  std::function<void()> connectTimedOut;
  // The proxy handshake step, run after each arrival while DirectMode is off.
  std::function<void()> proxyReceive;
  // Debug log: one line per packet in each direction and the Parts' own lines.
  std::function<void(const std::string& line)> debugLine;
  std::function<void(bool sent, const Packet& packet)> debugPacket;
};

struct ClientContext {
  explicit ClientContext(platform::Platform& p);
  ClientContext(const ClientContext&) = delete;
  ClientContext& operator=(const ClientContext&) = delete;
  ~ClientContext();

  platform::Platform& platform;
  platform::Ui ui;

  session::SessionState session;
  session::Scheduler sched;
  session::Dispatcher dispatcher;
  session::Startup startup;
  round::Table table;
  scoring::Players players;
  scoring::HandEnd handEnd;
  view::ViewState view;
  props::PropBridge props;
  sound::SoundState sound;
  Hooks hooks;

  // The random generator of dice, seat draws, voices and chests. Randomize seeds it
  // from the time of day; tests seed it themselves.
  std::mt19937 rng{20261210u};
  void Randomize();
  // A number 0 <= x < 1.
  double Rnd();
  // A whole number 0..n-1 (Int(Rnd * n)).
  int RandomBelow(int n);

  std::unique_ptr<platform::StreamSocket> Winsock1;
  std::unique_ptr<platform::Timer> TimerBong;
  std::unique_ptr<platform::Timer> TimerKeepAlive;

  platform::Form& main() { return ui.form(kMainForm); }
  bool Connected() const;  // Winsock1.State = 7
};

// Registers every Part's handlers, tasks and hooks on a fresh context.
void InstallParts(ClientContext& ctx);

}  // namespace tavrel
