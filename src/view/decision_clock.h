#pragma once
// The decision countdown beside the wealth display and the automatic move that
// answers for the player when it runs out.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

// The value the countdown returns to when it is stopped: the session's turn clock
// (8 at start-up, the login result's, 0 under the boss key).
int& CountdownReset(ClientContext& ctx);

// Time_Img at the wealth display's left, 200 below its top; Number on it.
void PlaceCountdown(ClientContext& ctx);
// Shows `seconds` in green and lets the scheduler count them down, a whole second
// to the first step.
void StartCountdown(ClientContext& ctx, int seconds);
// Countdown = CountdownReset, the clock stopped and hidden.
void StopCountdown(ClientContext& ctx);

// The scheduler's turn-clock task, run at most once a second while TurnClockOn and
// TableActive: one step down, red with the warning below 6, and once 0 has been
// shown for a second the time-out.
void CountdownTick(ClientContext& ctx);
// Declines the offer and, when a discard is due, throws the newest tile.
void AutoMove(ClientContext& ctx);

// The decision forgotten: no offer open, the clock off (table reset, table closed).
void ResetDecision(ClientContext& ctx);
// The window came back from the task bar: after the boss key the countdown reset
// is the turn clock again, and the time-outs count from 0.
void DecisionClockRestored(ClientContext& ctx, bool bossKeyWasActive);

}  // namespace tavrel::view
