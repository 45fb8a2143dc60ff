#include "scoring/continue_step.h"

#include <string>

#include "app/client_context.h"
#include "platform/names.h"
#include "round/table_reset.h"
#include "session/commands.h"
#include "session/packet_io.h"
#include "view/window_frame.h"

namespace tavrel::scoring {

void StartContinueCountdown(ClientContext& ctx, int seconds) {
  auto& sc = ctx.sched;
  sc.ContinueClockOn = true;
  sc.ContinueCountdown = seconds;
  // The first second is a whole one.
  sc.lastContinueClock = static_cast<float>(ctx.platform.clock().SecondsOfDay());
  auto& form = ctx.main();
  auto& number = form.Get(ctl::Number);
  number.SetCaption(std::to_string(seconds));
  number.SetForeColor(platform::kGreen);
  auto& clock = form.Get(ctl::Time_Img);
  clock.SetVisible(true);
  clock.BringToFront();
  number.SetVisible(true);
  number.BringToFront();
}

void ContinueClockTask(ClientContext& ctx) {
  auto& sc = ctx.sched;
  auto& form = ctx.main();
  auto& number = form.Get(ctl::Number);
  if (sc.ContinueCountdown > 0) {
    --sc.ContinueCountdown;
    number.SetCaption(std::to_string(sc.ContinueCountdown));
    number.SetForeColor(sc.ContinueCountdown < 6 ? platform::kRed : platform::kGreen);
    return;
  }
  number.SetVisible(false);
  form.Get(ctl::Time_Img).SetVisible(false);
  if (!ctx.handEnd.Continued) view::StartButtonActive(ctx);
  ContinueStep(ctx);
  sc.ContinueClockOn = false;
}

void ContinueStep(ClientContext& ctx) {
  auto& he = ctx.handEnd;
  if (!he.Continued) {
    round::ResetTableForNewHand(ctx);
    he.Continued = true;
  }
  Info info;
  info.Cmd = cmd::kContinue;
  info.Seat = ctx.table.custom[0].seat;
  info.value[3] = 1;
  session::SendCommand(ctx, info);
  if (he.SeatChangePending && he.AutoSeatChange) {
    if (ctx.hooks.seatChangeDisplay) ctx.hooks.seatChangeDisplay();
    he.SeatChangePending = false;
  }
}

}  // namespace tavrel::scoring
