#pragma once
// The 50 ms scheduler that drives the client, and the 5 s keep-alive.
#include <cstdint>
#include <functional>
#include <vector>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

inline constexpr int kTickMs = 50;
inline constexpr int kKeepAliveMs = 5000;
// The login sender waits this long for the connection before the watchdog takes over.
inline constexpr int kConnectWaitLimitMs = 30000;
// Receive-task runs without a handled packet, while playing, before the table is given up.
inline constexpr int kLostCountLimit = 2999;

using TaskBody = std::function<void(ClientContext&)>;

struct Scheduler {
  // Task flags.
  bool SendPending = false;
  bool RecvPending = false;
  bool LoginPending = false;
  bool BlinkOn = false;
  bool ConnWatch = false;
  bool TurnClockOn = false;
  bool ContinueClockOn = false;
  bool BubblesShown = false;
  // Task counters (ticks); every tick adds one to each.
  int sendCounter = 0, recvCounter = 0, loginCounter = 0, blinkCounter = 0;
  int watchCounter = 0, bubblesCounter = 0;
  // The two clocks compare the time of day (seconds) with their last run.
  float lastTurnClock = 0, lastContinueClock = 0;
  int LostCount = 0;
  int ContinueCountdown = 0;
  // Set while a tick runs, so the tick can never run inside itself.
  bool inTick = false;
  // Whether TimerBong should run after the current tick (a task may have stopped it).
  bool bongWanted = true;
  // Changes whenever a login is started or abandoned, so that a login that waits
  // for its connection sees that a leave or a newer attempt has taken over.
  int loginEpoch = 0;
  // Idle ticks (scheduler_idle.h): the ticks after the last one that ran are
  // 50 ms apart from its end; some are counted in without running, and the
  // timer is set for the next one that may have work.
  std::int64_t gridOriginMs = 0;
  int ticksAccounted = 0;
  int ticksPlanned = 1;

  // Bodies of the tasks other modules own; empty until they register.
  TaskBody blinkBody;
  TaskBody turnClockBody;
  TaskBody continueClockBody;  // the hand end's continue countdown
  TaskBody bubblesBody;
  // Called at the end of every tick, before the props' step.
  std::vector<TaskBody> tickEnd;

  void ClearAll();  // every flag off, every counter 0
};

// Creates TimerBong and TimerKeepAlive (both enabled) and connects their ticks.
void InstallTimers(ClientContext& ctx);
// Switches TimerBong on or off; inside a tick the change takes effect at its end.
void SetTimerBong(ClientContext& ctx, bool on);
// One tick of TimerBong.
void TimerBongTick(ClientContext& ctx);
// One tick of TimerKeepAlive: queues a KeepAlive.
void TimerKeepAliveTick(ClientContext& ctx);

// Task starters.
void StartSendTask(ClientContext& ctx);
void StartReceiveTask(ClientContext& ctx);
void StartLoginTask(ClientContext& ctx);
// The login task off, and any login still waiting for its connection abandoned.
void AbandonLogin(ClientContext& ctx);
void StartWatchdog(ClientContext& ctx);

// Login sender body (step 5 of the tick), exposed for the reconnection.
void RunLoginSender(ClientContext& ctx);

}  // namespace tavrel::session
