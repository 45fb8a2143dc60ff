#pragma once
// The mouse on the table surface: the own tile raised under the pointer, the
// discard by a click on an own tile, the pass by a right click, the face-down
// tiles turned over after the hand, and the pop-up windows closed by a click.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

// An own tile stands this many pixels above the row while it is pointed at (the
// same on every screen).
inline constexpr int kRaise = 10;

// The pointer over MJ_Image(image): raises an own concealed tile, lowering the one
// raised before.
void TileMouseMove(ClientContext& ctx, int image);
// The pointer over the bare table at (x, y) of Pic1: a raised tile comes down once
// the pointer has left it and the strip it left free below itself.
void TableMouseMove(ClientContext& ctx, double x, double y);
// A button pressed on MJ_Image(image): discards an own tile when a discard is
// allowed (any button), passes on a right click elsewhere, turns a tile over after
// the hand.
void TileMouseDown(ClientContext& ctx, int image, int button);
// A button released on the bare table: a right click passes.
void TableMouseUp(ClientContext& ctx, int button);
// A click on the bare table closes the pop-up windows.
void TableClick(ClientContext& ctx);

// The pass of a right click, while the pass button stands on the table.
void PassByRightClick(ClientContext& ctx);
// Discards the own tile of `slot` as a click on it does.
void DiscardByPlayer(ClientContext& ctx, int slot);

// The own concealed slot whose tile stands raised, or -1.
int RaisedOwnSlot(ClientContext& ctx);
// Raises the tile of own concealed slot `slot`, lowering any other.
void RaiseOwnSlot(ClientContext& ctx, int slot);

// After the hand is won, a face-down replacement tile or an announced wall tile
// shows its face when clicked.
void RevealAfterHand(ClientContext& ctx, int image);

}  // namespace tavrel::view
