#include "view/hand_view.h"

#include <algorithm>
#include <array>

#include "app/client_context.h"
#include "round/hand_order.h"
#include "view/pictures.h"

namespace tavrel::view {

namespace {
// The own standing hand uses the tall set, 144 pictures after the lying one.
constexpr int kStandingSetOffset = 144;
}  // namespace

void SortAndShowHand(ClientContext& ctx, int r, int n) {
  if (r < 0 || r > 3 || n <= 0) return;
  round::PlayerEntry& seat = ctx.table.custom[r];
  const int first = std::max<int>(0, seat.firstConcealed);
  const int end = std::min(round::kSlotCount, first + n);

  std::array<std::int16_t, round::kSlotCount> before{};
  for (int k = first; k < end; ++k) before[k] = seat.tiles[k].code;
  round::SortConcealedCodes(seat, n);

  // During play the own row keeps the faces that did not change, so a sort after
  // a draw or a discard does not reload the whole hand.
  const bool onlyChanged = r == 0 && ctx.table.WildTile > 0;
  for (int k = first; k < end; ++k) {
    const round::TileSlot& slot = seat.tiles[k];
    if (onlyChanged && slot.code == before[k]) continue;
    const int picture = TilePictureIndex(slot.code, r) + (r == 0 ? kStandingSetOffset : 0);
    LoadTilePicture(ctx, slot.imageIndex, picture);
  }
}

SlotRange OwnConcealedSlots(const ClientContext& ctx) {
  const round::PlayerEntry& own = ctx.table.custom[0];
  const int first = std::clamp<int>(own.firstConcealed, 0, round::kSlotCount);
  return {first, std::clamp<int>(first + own.concealedCount, first, round::kSlotCount)};
}

bool OwnHandMustDiscard(const ClientContext& ctx) { return ctx.table.custom[0].concealedCount % 3 == 2; }

int OwnHandSlotOf(const ClientContext& ctx, int imageIndex) {
  if (imageIndex < 0) return -1;
  const round::PlayerEntry& own = ctx.table.custom[0];
  const int first = std::max<int>(0, own.firstConcealed);
  const int end = std::min<int>(round::kSlotCount, first + own.concealedCount);
  for (int k = first; k < end; ++k)
    if (own.tiles[k].imageIndex == imageIndex) return k;
  return -1;
}

bool IsOwnHandImage(const ClientContext& ctx, int imageIndex) {
  return OwnHandSlotOf(ctx, imageIndex) >= 0;
}

}  // namespace tavrel::view
