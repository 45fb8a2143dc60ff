#pragma once
// Drawing and discarding: DrawTile (command 5), DiscardTile (2), the routing of
// ClaimOptions (6), tiles into the rows, the centre tile and its way into the
// discard rows, the last-discard blink and the 跟庄 bubble.
#include <array>
#include <cstdint>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::round {

void OnDrawTile(ClientContext& ctx);
void OnDiscardTile(ClientContext& ctx);
void OnClaimOptions(ClientContext& ctx);

// Tiles from the wall into a seat's row: a dealt group of four (tiles 0..3) or a
// drawn tile (tiles[3]).
void PutTilesInRow(ClientContext& ctx, int seatMask, int count, const std::array<std::int16_t, 4>& tiles);
// A discard shown large at the centre, with the discarder's voice.
void ShowDiscard(ClientContext& ctx, int seatMask, int tile);
// The centre tile into its discarder's row, once the right seat draws.
void FlushLastDiscard(ClientContext& ctx, int receivingMask);
// MJ_Image(image) laid at seat d's next discard place; the place moves on.
void LayIntoDiscardRow(ClientContext& ctx, int d, int image);

// Scheduler task bodies: the last-discard blink (every 8 ticks) and the hiding of
// the claim and 跟庄 bubbles (after 40 ticks).
void BlinkTask(ClientContext& ctx);
void BubblesTask(ClientContext& ctx);

}  // namespace tavrel::round
