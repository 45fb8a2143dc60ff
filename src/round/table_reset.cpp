#include "round/table_reset.h"

#include "app/client_context.h"
#include "platform/names.h"
#include "view/layout.h"
#include "view/pictures.h"

namespace tavrel::round {

void ResetTableForNewHand(ClientContext& ctx) {
  ClearTablePictures(ctx);
  view::ResetLayout(ctx);
  ResetSeats(ctx);
}

void ClearTablePictures(ClientContext& ctx) {
  Table& t = ctx.table;
  t.LastDiscardImage = -1;
  t.LastDiscardFlushed = true;
  t.BlinkPrev = -1;
  t.WallTaken.fill(false);
  view::SetDefaultTileSizes(ctx);
  for (int i = 0; i < view::kTileImageCount; ++i) {
    platform::Control& tile = view::TileImage(ctx, i);
    tile.SetVisible(false);
    tile.SetPicture(0);
  }
  for (PlayerEntry& seat : t.custom)
    for (TileSlot& slot : seat.tiles) slot.code = 0;
  platform::Form& form = ctx.main();
  for (int i = 0; i <= 4; ++i)
    if (platform::Control* gang = form.Find(ctl::Gang, i)) {
      gang->SetEnabled(false);
      gang->SetVisible(false);
    }
  for (auto& row : t.RevealedTiles) row.fill(0);
  t.RevealedCount.fill(0);
  t.PeekTiles.fill(0);
  t.PeekCount = 0;
  t.PeekPositions.fill(0);
  for (auto& entry : t.SeatSetAside) entry.fill(0);
  for (auto& name : t.SeatNames) name.clear();
  if (platform::Control* wild = form.Find(ctl::WildTileImage)) wild->SetVisible(false);
  if (!t.SpectatorMode)
    if (platform::Control* zhuang = form.Find(ctl::Zhuang)) zhuang->SetCaption("");
}

void ResetSeats(ClientContext& ctx) {
  Table& t = ctx.table;
  for (int r = 0; r < 4; ++r) {
    PlayerEntry& seat = t.custom[r];
    seat.HandTotal = 0;
    seat.isDealer = kFalse;
    for (TileSlot& slot : seat.tiles) {
      slot.kind = 0;
      slot.imageIndex = -1;
    }
    seat.firstConcealed = 4;
    seat.concealedCount = 0;
    seat.redBonusCount = 0;
    seat.wildBonusCount = 0;
    // The own first meld ends at slot 3, the others' at slot 4.
    seat.meldEnd = r == 0 ? 3 : 4;
    t.SeatNames[r].clear();
  }
  t.WildTile = -1;
  t.NextFromFront = kTrue;
  t.DiscardAllowed = kFalse;
  t.SeatPacketCount = 0;
  for (auto& row : t.RevealedTiles) row.fill(0);
  t.RevealedCount.fill(0);
  for (auto& entry : t.SeatSetAside) entry.fill(0);
  t.Playing = false;
  t.WinnerSeat = -1;
  for (auto& entry : t.GangTops) entry.fill(0);
  t.GangTopCount.fill(0);
  t.ReplacementTileCount = 0;
  t.RowDiscards.fill(0);
  t.SeatsCleared = true;
}

}  // namespace tavrel::round
