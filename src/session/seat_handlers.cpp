#include "session/seat_handlers.h"

#include <cmath>
#include <cstdio>

#include "app/client_context.h"
#include "scoring/hand_record.h"
#include "session/commands.h"

namespace tavrel::session {

std::string FormatAmount(double v) {
  if (!std::isfinite(v)) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.0f", v);
  return std::string(buf) == "-0" ? "0" : buf;
}

void ShowGold(ClientContext& ctx, int position) {
  ctx.main().Get("Cash", position, platform::ControlKind::Label)
      .SetCaption(FormatAmount(ctx.players.Detail[position].Coins) + "金币");
}

void OnSeatName(ClientContext& ctx) {
  auto& t = ctx.table;
  ctx.handEnd.AutoSeatChange = false;
  if (!ctx.startup.Spectator && ctx.TimerKeepAlive) ctx.TimerKeepAlive->SetEnabled(false);
  for (int p = 0; p < 4; ++p) ctx.main().Get("OK", p).SetVisible(false);

  // A new series of names starts a new table: its record file and running totals go.
  scoring::DeleteRecordFile(ctx);
  ctx.players.RunningTotal.fill(0);

  if (++t.SeatPacketCount < 4) return;
  t.SeatPacketCount = 0;
  if (ctx.hooks.startButtonActive) ctx.hooks.startButtonActive();
  for (int i = 3; i >= 0; --i) {
    if (t.SeatNames[i] != t.custom[0].name) continue;
    for (int r = 0; r < 4; ++r) {
      const int seat = (i + 4 - r) % 4;
      t.custom[r].seat = round::MaskAt(i, r);
      t.custom[r].name = t.SeatNames[seat];
    }
    if (ctx.props.Active())
      for (int k = 1; k <= 3; ++k) ctx.props.plugin->ClearUser(k);
    break;
  }
}

void OnPlayerReady(ClientContext& ctx) {
  const auto& s = ctx.session;
  const std::string name = wire::SingleByteText(s.RecvPacket, off::kPayload, 16);
  if (s.info.value[3] != 1) return;
  for (int p = 0; p < 4; ++p) {
    const auto* nid = ctx.main().Find("Nid", p);
    if (!nid || nid->Caption().empty() || ctx.table.custom[p].name != name) continue;
    auto& ok = ctx.main().Get("OK", p);
    ok.SetVisible(true);
    ok.BringToFront();
  }
}

static void AddGold(ClientContext& ctx, int position, double amount) {
  double& coins = ctx.players.Detail[position].Coins;
  coins += amount;
  if (coins < 0) coins = 0;
  ShowGold(ctx, position);
}

void OnOwnGoldChange(ClientContext& ctx) {
  AddGold(ctx, 0, wire::SignedAmount(ctx.session.RecvPacket, off::kPayload));
}

void OnGoldChange(ClientContext& ctx) {
  const auto& p = ctx.session.RecvPacket;
  const double amount = wire::SignedAmount(p, off::kPayload);
  const std::string userId = wire::GbkText(p, 25, 17);
  for (int pos = 1; pos <= 3; ++pos) {
    const auto& d = ctx.players.Detail[pos];
    if (!userId.empty() && d.Account == userId) AddGold(ctx, pos, amount);
  }
}

}  // namespace tavrel::session
