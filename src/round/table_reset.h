#pragma once
// The table reset before a new hand: the pictures, the layout and the seats.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::round {

// Clears the table for the coming hand: ClearTablePictures, ResetLayout, ResetSeats.
// Every path that starts a hand afresh (the continue step, the exit windows, the
// lobby's close request, the table reset command) runs this one function.
void ResetTableForNewHand(ClientContext& ctx);

// The picture side of the reset: every tile hidden and without a picture, the
// centre tile and the blink forgotten, the tile sizes back to their defaults.
void ClearTablePictures(ClientContext& ctx);
// The player table and the round state for a new hand.
void ResetSeats(ClientContext& ctx);

}  // namespace tavrel::round
