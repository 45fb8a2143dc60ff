#include "view/decision_clock.h"

#include <string>

#include "app/client_context.h"
#include "platform/names.h"
#include "sound/sound.h"
#include "view/claim_replies.h"
#include "view/hand_view.h"
#include "view/layout.h"
#include "view/offer_buttons.h"
#include "view/own_discard.h"
#include "view/table_keys.h"

namespace tavrel::view {

namespace {

constexpr int kWarningBelow = 6;
constexpr int kDefaultTurnClock = 8;
constexpr double kClockBelowWealth = 200;
constexpr double kNumberRight = 48, kNumberDown = 5;
constexpr double kSmallNumberNudge = 2;  // as the layout places the number on the small screen

platform::Control& Clock(ClientContext& ctx) { return OnTable(ctx, ctl::Time_Img); }
platform::Control& Figure(ClientContext& ctx) { return OnTable(ctx, ctl::Number); }

void HideCountdown(ClientContext& ctx) {
  Clock(ctx).SetVisible(false);
  Figure(ctx).SetVisible(false);
}

void ShowFigure(ClientContext& ctx, std::uint32_t colour) {
  platform::Control& number = Figure(ctx);
  number.SetCaption(std::to_string(ctx.view.input.Countdown));
  number.SetForeColor(colour);
}

void TimeOut(ClientContext& ctx) {
  InputState& in = ctx.view.input;
  in.DecisionState = kTimedOut;
  if (!ctx.view.BossKeyActive) {
    ++in.TimeoutCount;
    const int limit = ctx.startup.TimeoutLimit;
    if (limit > 0 && in.TimeoutCount >= limit) BossKey(ctx);
  }
  StopCountdown(ctx);
  if (ctx.table.custom[0].concealedCount > 0) AutoMove(ctx);
}

}  // namespace

int& CountdownReset(ClientContext& ctx) { return ctx.startup.TurnClockSeconds; }

void PlaceCountdown(ClientContext& ctx) {
  const double s = ctx.view.LayoutScale;
  const platform::Control& wealth = OnTable(ctx, ctl::Imgwealth);
  platform::Control& clock = Clock(ctx);
  clock.Move(wealth.Left(), wealth.Top() + kClockBelowWealth * s);
  const double nudge = s != 1.0 ? kSmallNumberNudge : 0;
  Figure(ctx).Move(clock.Left() + kNumberRight * s + nudge, clock.Top() + kNumberDown * s);
}

void StartCountdown(ClientContext& ctx, int seconds) {
  ctx.view.input.Countdown = static_cast<std::int16_t>(seconds);
  ctx.sched.TurnClockOn = true;
  // The first step comes a whole second after the start.
  ctx.sched.lastTurnClock = static_cast<float>(ctx.platform.clock().SecondsOfDay());
  // Every countdown starts green, however short.
  ShowFigure(ctx, platform::kGreen);
  for (platform::Control* c : {&Clock(ctx), &Figure(ctx)}) {
    c->SetVisible(true);
    c->BringToFront();
  }
}

void StopCountdown(ClientContext& ctx) {
  ctx.view.input.Countdown = static_cast<std::int16_t>(CountdownReset(ctx));
  ctx.sched.TurnClockOn = false;
  HideCountdown(ctx);
}

void CountdownTick(ClientContext& ctx) {
  InputState& in = ctx.view.input;
  if (in.Countdown > 0) {
    --in.Countdown;
    const bool warn = in.Countdown < kWarningBelow;
    ShowFigure(ctx, warn ? platform::kRed : platform::kGreen);
    if (warn) sound::PlayEffect(ctx, sound::kWarning);
    return;
  }
  if (!in.OfferCountdownSeen) {
    StopCountdown(ctx);
    return;
  }
  if (in.DecisionState < kActing) TimeOut(ctx);
}

void AutoMove(ClientContext& ctx) {
  HideOfferButtons(ctx);
  HideGangChooser(ctx);
  SendPassReply(ctx);
  if (!OwnHandMustDiscard(ctx)) return;  // the offer was on another seat's tile
  ctx.table.DiscardAllowed = round::kFalse;
  // The newest tile: the hand keeps the drawn one last, unsorted.
  const SlotRange hand = OwnConcealedSlots(ctx);
  const auto& tiles = ctx.table.custom[0].tiles;
  for (int k = hand.Last(); k >= hand.first; --k)
    if (round::IsTileCode(tiles[k].code)) {
      DiscardOwnTile(ctx, k);
      return;
    }
}

void ResetDecision(ClientContext& ctx) {
  InputState& in = ctx.view.input;
  in.DecisionState = kAnswered;
  in.ReplySent = true;
  in.OfferButtonState.fill(0);
  in.GangChoiceCount = 0;
  in.AltPressed = in.CPressed = false;
  HideOfferButtons(ctx);
  HideGangChooser(ctx);
  if (ctx.sched.TurnClockOn) StopCountdown(ctx);
  in.Countdown = static_cast<std::int16_t>(CountdownReset(ctx));
}

void DecisionClockRestored(ClientContext& ctx, bool bossKeyWasActive) {
  if (bossKeyWasActive) CountdownReset(ctx) = ctx.startup.ShortClockMode ? 0 : kDefaultTurnClock;
  ctx.view.input.TimeoutCount = 0;
}

}  // namespace tavrel::view
