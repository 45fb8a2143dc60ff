#include "round/watcher_view.h"

#include <algorithm>

#include "app/client_context.h"
#include "round/draw_discard.h"
#include "sound/sound.h"
#include "view/meld_view.h"
#include "view/pictures.h"
#include "view/row_layout.h"

namespace tavrel::round {

namespace {

constexpr int kDiscardPauseMs = 50;
constexpr int kShownDiscardMs = 1000;

bool ValidImage(int image) { return image >= 0 && image < kWallSize; }

// The slot of the discarded tile: the watched player's own by its code, another
// seat's last one (its codes are unknown).
int DiscardSlot(const PlayerEntry& seat, int d, int tile) {
  const int first = std::max<int>(0, seat.firstConcealed);
  const int end = std::min<int>(kSlotCount, first + seat.concealedCount);
  if (end <= first) return -1;
  if (d == 0)
    for (int k = first; k < end; ++k)
      if (seat.tiles[k].code == tile) return k;
  return end - 1;
}

// The tiles after `slot` move up one; the row stays contiguous.
void CloseUp(PlayerEntry& seat, int slot) {
  const int end = std::min<int>(kSlotCount, seat.firstConcealed + seat.concealedCount);
  for (int k = slot; k + 1 < end; ++k) seat.tiles[k] = seat.tiles[k + 1];
  if (end - 1 >= 0) seat.tiles[end - 1] = TileSlot{};
  --seat.concealedCount;
}

}  // namespace

void ShowDiscardSpectator(ClientContext& ctx, int seatMask, int tile) {
  Table& t = ctx.table;
  ctx.platform.Sleep(kDiscardPauseMs);
  t.LastDiscardCode = static_cast<std::int16_t>(tile);
  if (tile == 0) return;
  const int d = RelSeat(t, seatMask);
  t.LastDiscardSeat = static_cast<std::uint8_t>(d);
  if (ctx.sound.SoundOn) {
    sound::PlayTileVoice(ctx, d, tile);
    sound::SetSharedVolume(ctx, sound::kFullVolume);
  }
  PlayerEntry& seat = t.custom[d];
  const int slot = DiscardSlot(seat, d, tile);
  if (slot < 0) return;
  const int image = seat.tiles[slot].imageIndex;
  CloseUp(seat, slot);
  view::LayOutConcealedRow(ctx, d);
  if (!ValidImage(image)) return;
  t.LastDiscardImage = static_cast<std::int16_t>(image);
  t.LastDiscardFlushed = true;  // it goes into its row at once
  view::LoadTilePicture(ctx, image, view::FacePicture(tile, d == 0 ? view::kTileSetOwnLying : d, false));
  if (t.RestoreDone != kFalse) {
    view::PlaceTile(ctx, image, view::ShownDiscardBox(ctx, d));
    view::TileImage(ctx, image).BringToFront();
    ctx.platform.PumpFor(kShownDiscardMs);
    if (ctx.platform.Ending()) return;
  }
  view::SetLyingTileSize(ctx, d);
  t.FlushX = seat.discardX;
  t.FlushY = seat.discardY;
  LayIntoDiscardRow(ctx, d, image);
}

}  // namespace tavrel::round
