#pragma once
// An own tile going to the table centre as the discard: its face in the small own
// set, the gap it leaves closed, the rest of the hand sorted.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

// Moves the own concealed tile of `slot` to the centre showing `code`; it becomes
// the last discard of the own seat. No packet is sent. Slots outside the own
// concealed tiles change nothing.
void MoveOwnTileToCentre(ClientContext& ctx, int slot, int code);

// The player's discard of the own concealed tile in `slot`: the DiscardTile packet
// (the code tagged 0x4000) goes into the send ring and the tile to the centre at
// once. The click, the keyboard and the automatic move all discard through here.
// Slots outside the own concealed tiles, or without a tile, send and change nothing.
void DiscardOwnTile(ClientContext& ctx, int slot);

// The own concealed slot that holds `code`, looking from the drawn (last) tile
// backwards; -1 when the hand has no such tile.
int OwnSlotHolding(const ClientContext& ctx, int code);

}  // namespace tavrel::view
