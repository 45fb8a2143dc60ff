#include "round/seat_handlers.h"

#include "app/client_context.h"
#include "props/props.h"
#include "platform/names.h"
#include "scoring/hand_record.h"
#include "scoring/user_info.h"
#include "view/window_frame.h"

namespace tavrel::round {

void OnSeatName(ClientContext& ctx) {
  auto& t = ctx.table;
  ctx.handEnd.AutoSeatChange = false;
  if (!ctx.startup.Spectator && ctx.TimerKeepAlive) ctx.TimerKeepAlive->SetEnabled(false);
  for (int p = 0; p < 4; ++p) ctx.main().Get(ctl::OK, p).SetVisible(false);

  // A new series of names starts a new table: its record file and running totals go,
  // and the four players' details follow.
  scoring::DeleteRecordFile(ctx);
  ctx.players.RunningTotal.fill(0);
  if (t.SeatPacketCount == 0) scoring::StartInfoRound(ctx);

  if (++t.SeatPacketCount < 4) return;
  t.SeatPacketCount = 0;
  ctx.players.SeatNamesReceived = true;
  view::StartButtonActive(ctx);
  for (int i = 3; i >= 0; --i) {
    if (t.SeatNames[i] != t.custom[0].name) continue;
    for (int r = 0; r < 4; ++r) {
      const int seat = (i + 4 - r) % 4;
      t.custom[r].seat = MaskAt(i, r);
      t.custom[r].name = t.SeatNames[seat];
    }
    for (int k = 1; k <= 3; ++k) props::ClearUser(ctx, k);
    break;
  }
}

void OnPlayerReady(ClientContext& ctx) {
  const auto& s = ctx.session;
  const std::string name = wire::SingleByteText(s.RecvPacket, off::kPayload, off::kNameBytes);
  if (s.info.value[3] != 1) return;
  for (int p = 0; p < 4; ++p) {
    const auto* nid = ctx.main().Find(ctl::Nid, p);
    if (!nid || nid->Caption().empty() || ctx.table.custom[p].name != name) continue;
    auto& ok = ctx.main().Get(ctl::OK, p);
    ok.SetVisible(true);
    ok.BringToFront();
  }
}

}  // namespace tavrel::round
