#include "view/own_discard.h"

#include <algorithm>

#include "app/client_context.h"
#include "view/hand_view.h"
#include "view/picture_catalogue.h"
#include "view/pictures.h"
#include "view/row_layout.h"

namespace tavrel::view {

void MoveOwnTileToCentre(ClientContext& ctx, int slot, int code) {
  round::Table& t = ctx.table;
  round::PlayerEntry& own = t.custom[0];
  const int first = std::max<int>(0, own.firstConcealed);
  const int last = std::min<int>(round::kSlotCount, first + own.concealedCount) - 1;
  if (slot < first || slot > last) return;

  const int image = own.tiles[slot].imageIndex;
  LoadTilePicture(ctx, image, FacePicture(code, kTileSetOwnLying, false));
  t.LastDiscardImage = static_cast<std::int16_t>(image >= 0 && image < kTileImageCount ? image : -1);
  t.LastDiscardSeat = 0;
  PlaceTile(ctx, image, CentreBox(ctx, 0));
  if (image >= 0 && image < kTileImageCount) TileImage(ctx, image).BringToFront();

  // The tiles after it move up one slot, each to its slot's place.
  for (int k = slot; k < last; ++k) {
    own.tiles[k] = own.tiles[k + 1];
    const int moved = own.tiles[k].imageIndex;
    if (moved < 0 || moved >= kTileImageCount) continue;
    platform::Control& c = TileImage(ctx, moved);
    c.Move(RowSlotBox(ctx, 0, k).left, own.handY);
  }
  SortAndShowHand(ctx, 0, own.concealedCount - 1);
  own.concealedCount = static_cast<std::int16_t>(own.concealedCount - 1);
  own.tiles[last] = round::TileSlot{};
}

int OwnSlotHolding(const ClientContext& ctx, int code) {
  const round::PlayerEntry& own = ctx.table.custom[0];
  const int first = std::max<int>(0, own.firstConcealed);
  const int last = std::min<int>(round::kSlotCount, first + own.concealedCount) - 1;
  for (int k = last; k >= first; --k)
    if (own.tiles[k].code == code) return k;
  return -1;
}

}  // namespace tavrel::view
