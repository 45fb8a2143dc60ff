#include "view/own_discard.h"

#include <algorithm>

#include "app/client_context.h"
#include "session/commands.h"
#include "session/packet_io.h"
#include "view/hand_view.h"
#include "view/picture_catalogue.h"
#include "view/pictures.h"
#include "view/row_layout.h"

namespace tavrel::view {

namespace {
// A discarded tile travels with this tag in the top bits of value(3).
constexpr int kDiscardTag = 0x4000;
}  // namespace

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

void DiscardOwnTile(ClientContext& ctx, int slot) {
  const SlotRange hand = OwnConcealedSlots(ctx);
  if (!hand.Contains(slot)) return;
  round::PlayerEntry& own = ctx.table.custom[0];
  const int code = own.tiles[slot].code;
  if (!round::IsTileCode(code)) return;  // an empty slot of a row that claims more tiles
  Info info;
  info.Cmd = cmd::kDiscardTile;
  info.Seat = own.seat;
  info.value[3] = static_cast<std::int16_t>((code & 0x0FFF) | kDiscardTag);
  session::SendCommand(ctx, info);
  // A tile raised by the pointer or the keys stands in line again.
  for (int k = hand.first; k < hand.end; ++k) {
    const int image = own.tiles[k].imageIndex;
    if (k != slot && image >= 0 && image < kTileImageCount) {
      platform::Control& c = TileImage(ctx, image);
      if (c.Top() < own.handY) c.SetTop(own.handY);
    }
  }
  MoveOwnTileToCentre(ctx, slot, code);
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
