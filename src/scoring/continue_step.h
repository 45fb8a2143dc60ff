#pragma once
// The way from a finished hand to the next one: the continue countdown and the
// continue step that both the countdown and the start button take.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

// Shows n in the countdown (green, with the clock picture) and starts the continue clock.
void StartContinueCountdown(ClientContext& ctx, int seconds);
// The continue clock, run once a second by the scheduler while ContinueClockOn:
// counts down, and at 0 hides the countdown and takes the continue step.
void ContinueClockTask(ClientContext& ctx);
// Resets the table for the coming hand unless that is done already, sends
// Continue, and starts a pending automatic seat change.
void ContinueStep(ClientContext& ctx);

}  // namespace tavrel::scoring
