#pragma once
// Where the open tiles of a row lie: the melds face up at the row's foot, the fourth
// tile of a gang on top of the meld's middle tile, and the hands laid open at the end
// of a hand, a fourteenth tile kept apart.
#include "view/row_layout.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

// SeatTileWidth/Height of every seat: its meld size (own 45 x 60, sides 45 x 35, top 34 x 40).
void SetMeldTileSizes(ClientContext& ctx);
// The other seats' sizes of a hand laid open: sides 45 x 35, top 36 x 39.
void SetShownHandSizes(ClientContext& ctx);
// A hand laid open, by seat: own 45 x 60 (the own meld size), sides 45 x 35, top 36 x 39.
PictureSize ShownTileSize(int r);

// The fourth tile of a gang whose middle tile lies in `middleSlot`: on that tile,
// lifted toward the table's centre so that both show.
TileBox GangTopBox(const ClientContext& ctx, int r, int middleSlot);
// Slot k of a hand laid open, at the row's foot; `apart` keeps a fourteenth tile a
// small gap further along the row.
TileBox ShownSlotBox(const ClientContext& ctx, int r, int slot, bool apart = false);

// A watcher's view of a fresh discard: 1.2 times the seat's discard size, beside the seat.
TileBox ShownDiscardBox(const ClientContext& ctx, int r);

// Face up in the seat's set (own tiles in the lying own set) at a box, in front.
void ShowFaceAt(ClientContext& ctx, int image, int code, int r, const TileBox& box);
// Brings the tiles of slots first..end-1 to the front so that, in the overlapping
// side rows, the nearer tile covers the farther one.
void StackSlots(ClientContext& ctx, int r, int first, int end);

}  // namespace tavrel::view
