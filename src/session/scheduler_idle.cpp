#include "session/scheduler_idle.h"

#include <algorithm>
#include <cmath>

#include "app/client_context.h"
#include "props/props.h"
#include "session/scheduler.h"

namespace tavrel::session {
namespace {

constexpr int kPacket = static_cast<int>(kPacketSize);

// Periods of the counted tasks, as the tick tests them.
constexpr int kSendPeriod = 1, kRecvPeriod = 2, kLoginPeriod = 4, kBlinkPeriod = 8;
constexpr int kWatchPeriod = 1, kBubblesPeriod = 40;

// Ticks after the counted-in ones until the counter reaches its period the k-th time (k >= 1).
int TicksToPeriod(int counter, int period, int k = 1) { return std::max(1, period - counter) + (k - 1) * period; }

// Ticks after the counted-in ones until the first tick at or after the time of
// day at which a wall-clock task is due (a second after its last run). One tick
// early, so that the tick itself decides with the task's own test.
int TicksToClock(const ClientContext& ctx, float last) {
  const auto& sc = ctx.sched;
  const double now = ctx.platform.clock().SecondsOfDay();
  if (now < last) return 1;  // midnight passed: due at once
  const double dueInMs = (static_cast<double>(last) + 1.0 - now) * 1000.0;
  if (dueInMs <= 0) return 1;
  const std::int64_t at = ctx.platform.clock().NowMs() + static_cast<std::int64_t>(std::ceil(dueInMs));
  const auto tick = static_cast<int>((at - sc.gridOriginMs + kTickMs - 1) / kTickMs) - 1;
  return std::max(1, tick - sc.ticksAccounted);
}

}  // namespace

int CounterAfter(int counter, int period, int n) {
  if (n <= 0) return counter;
  int next = counter + 1;
  if (next >= period) next = 0;
  return (next + n - 1) % period;
}

int PeriodsReached(int counter, int period, int n) {
  const int first = TicksToPeriod(counter, period);
  return n < first ? 0 : 1 + (n - first) / period;
}

int TicksUntilWork(const ClientContext& ctx) {
  const auto& sc = ctx.sched;
  // Work at the end of every tick: the hooks, the prop plug-in's polling and hand end.
  if (!sc.tickEnd.empty() || props::TickHasWork(ctx)) return 1;
  // An empty ring stops the send task on its next run; a full one sends.
  if (sc.SendPending) return 1;
  // The watchdog has work once the connection is down; going down is an event.
  if (sc.ConnWatch && !ctx.Connected()) return 1;
  int n = kMaxIdleTicks;
  if (sc.RecvPending) {
    if (ctx.session.RecvRing.Queued() >= kPacket) {
      n = std::min(n, TicksToPeriod(sc.recvCounter, kRecvPeriod));
    } else if (ctx.table.Playing) {
      // Each run counts in LostCount; the run that passes the limit gives up the table.
      const int runs = std::max(1, kLostCountLimit + 1 - sc.LostCount);
      n = std::min(n, TicksToPeriod(sc.recvCounter, kRecvPeriod, std::min(runs, kMaxIdleTicks)));
    }
  }
  if (sc.LoginPending) n = std::min(n, TicksToPeriod(sc.loginCounter, kLoginPeriod));
  if (sc.BlinkOn && sc.blinkBody) n = std::min(n, TicksToPeriod(sc.blinkCounter, kBlinkPeriod));
  if (sc.BubblesShown && sc.bubblesBody) n = std::min(n, TicksToPeriod(sc.bubblesCounter, kBubblesPeriod));
  if (ctx.session.TableActive) {
    if (sc.TurnClockOn) n = std::min(n, TicksToClock(ctx, sc.lastTurnClock));
    if (sc.ContinueClockOn) n = std::min(n, TicksToClock(ctx, sc.lastContinueClock));
  }
  return std::clamp(n, 1, kMaxIdleTicks);
}

void CountInIdleTicks(ClientContext& ctx, int n) {
  if (n <= 0) return;
  auto& sc = ctx.sched;
  if (sc.RecvPending && ctx.table.Playing) sc.LostCount += PeriodsReached(sc.recvCounter, kRecvPeriod, n);
  sc.sendCounter = CounterAfter(sc.sendCounter, kSendPeriod, n);
  sc.recvCounter = CounterAfter(sc.recvCounter, kRecvPeriod, n);
  sc.loginCounter = CounterAfter(sc.loginCounter, kLoginPeriod, n);
  sc.blinkCounter = CounterAfter(sc.blinkCounter, kBlinkPeriod, n);
  sc.watchCounter = CounterAfter(sc.watchCounter, kWatchPeriod, n);
  sc.bubblesCounter = CounterAfter(sc.bubblesCounter, kBubblesPeriod, n);
}

void CatchUpIdleTicks(ClientContext& ctx) {
  auto& sc = ctx.sched;
  // Awake for the next tick (the usual case while there is work): nothing was slept through.
  if (sc.ticksAccounted >= sc.ticksPlanned - 1 || sc.inTick || !sc.bongWanted || !ctx.TimerBong) return;
  const std::int64_t elapsed = (ctx.platform.clock().NowMs() - sc.gridOriginMs) / kTickMs;
  // The tick the timer is set for runs itself, however late its timer fires.
  const int due = static_cast<int>(std::min<std::int64_t>(elapsed, sc.ticksPlanned - 1));
  if (due <= sc.ticksAccounted || !ctx.TimerBong->Enabled()) return;
  CountInIdleTicks(ctx, due - sc.ticksAccounted);
  sc.ticksAccounted = due;
}

void PlanNextTick(ClientContext& ctx) {
  auto& sc = ctx.sched;
  if (sc.inTick || !sc.bongWanted || !ctx.TimerBong || !ctx.TimerBong->Enabled() || ctx.platform.Ending()) return;
  CatchUpIdleTicks(ctx);
  const int tick = sc.ticksAccounted + TicksUntilWork(ctx);
  if (tick == sc.ticksPlanned) return;
  sc.ticksPlanned = tick;
  const std::int64_t at = sc.gridOriginMs + static_cast<std::int64_t>(tick) * kTickMs;
  const std::int64_t wait = at - ctx.platform.clock().NowMs();
  ctx.TimerBong->SetInterval(static_cast<int>(std::clamp<std::int64_t>(wait, 0, std::int64_t{kMaxIdleTicks} * kTickMs)));
}

}  // namespace tavrel::session
