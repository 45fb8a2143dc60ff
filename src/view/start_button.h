#pragma once
// The 开始/继续 button, AnNiu(2).
namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

// A click: hides the sheet and the history; then either leaves the table (when
// the player may not play on) or, once per hand, marks the player ready and
// takes the continue step.
void OnStartButton(ClientContext& ctx);

}  // namespace tavrel::view
