#pragma once
// Idle ticks: TimerBong sleeps through ticks that would do nothing and wakes
// for the next one that has work (or for an event that may bring some). The
// ticks slept through still count: their counters and LostCount move as if
// they had run, so every task keeps its period and phase.
//
// The ticks after the last one that ran (the grid origin) are numbered 1, 2, ...
// at 50 ms steps; Scheduler::ticksAccounted of them are counted in already,
// and the timer is set for tick Scheduler::ticksPlanned.
#include <cstdint>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

struct Scheduler;

// The longest sleep, in ticks, even with nothing due: a bound on the catch-up.
inline constexpr int kMaxIdleTicks = 1200;

// How many ticks after the ones counted in the next tick that may have work
// is (1 = the very next one); kMaxIdleTicks when none is due before that.
int TicksUntilWork(const ClientContext& ctx);

// Counts in n ticks that do nothing: the counters and LostCount move as the
// ticks would move them.
void CountInIdleTicks(ClientContext& ctx, int n);

// Counts in the ticks slept through up to now (never the one the timer is set
// for): before anything changes a counter or a flag outside a tick.
void CatchUpIdleTicks(ClientContext& ctx);

// Sets TimerBong for the next tick that may have work: after a tick and
// whenever the event loop is about to wait.
void PlanNextTick(ClientContext& ctx);

// Counter arithmetic of a task with the given period: its counter after n
// more ticks, and how many times it reaches its period in them.
int CounterAfter(int counter, int period, int n);
int PeriodsReached(int counter, int period, int n);

}  // namespace tavrel::session
