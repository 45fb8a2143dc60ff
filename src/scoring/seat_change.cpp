#include "scoring/seat_change.h"

#include "app/client_context.h"
#include "platform/names.h"
#include "view/layout.h"

namespace tavrel::scoring {
namespace {

platform::Control& Table(ClientContext& ctx, const platform::ControlName& name) { return view::OnTable(ctx, name); }

}  // namespace

void InstallTimerShuffle(ClientContext& ctx) {
  auto& timer = ctx.players.TimerShuffle;
  timer = ctx.platform.CreateTimer();
  timer->SetInterval(kTimerShuffleMs);
  timer->SetEnabled(false);
  ClientContext* c = &ctx;
  timer->onTick = [c] { TimerShuffleTick(*c); };
}

void ShowSeatChangeBanner(ClientContext& ctx) {
  platform::Control& banner = Table(ctx, ctl::ImgShuffle);
  platform::Control& caption = Table(ctx, ctl::LblShuffle);
  caption.SetCaption(kShuffleCaption);
  banner.SetVisible(true);
  banner.BringToFront();
  caption.SetVisible(true);
  caption.BringToFront();
  platform::Control& panel = Table(ctx, ctl::WebBrowser2);
  panel.tag = ctx.startup.SeatChangeAddress;
  panel.SetVisible(true);
  panel.BringToFront();
}

void StartSeatChangeDisplay(ClientContext& ctx) {
  for (auto& seat : ctx.table.custom) seat.seat = 0;
  ShowSeatChangeBanner(ctx);
  ctx.players.ShuffleStep = 0;
  if (auto& timer = ctx.players.TimerShuffle) {
    timer->SetInterval(kTimerShuffleMs);
    timer->SetEnabled(true);
  }
}

void StopSeatChangeDisplay(ClientContext& ctx) {
  if (auto& timer = ctx.players.TimerShuffle) timer->SetEnabled(false);
  platform::Form& form = ctx.main();
  for (const auto& name : {ctl::LblShuffle, ctl::ImgShuffle, ctl::WebBrowser2})
    if (platform::Control* c = form.Find(name)) c->SetVisible(false);
}

void TimerShuffleTick(ClientContext& ctx) {
  const auto& texts = ctx.startup.ShuffleTexts;
  auto& step = ctx.players.ShuffleStep;
  step = (step + 1) % static_cast<int>(texts.size());
  // Start-up fills the captions; until then the first one stands.
  const std::string& text = texts[step].empty() ? std::string(kShuffleCaption) : texts[step];
  Table(ctx, ctl::LblShuffle).SetCaption(text);
}

}  // namespace tavrel::scoring
