#pragma once
// The table reset before a new hand.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::round {

// Clears the table for the coming hand: the pictures, the layout and the seats.
// Every path that starts a hand afresh (the continue step, the exit windows, the
// lobby's close request) runs this one function.
void ResetTableForNewHand(ClientContext& ctx);

}  // namespace tavrel::round
