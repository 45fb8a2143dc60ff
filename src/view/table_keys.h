#pragma once
// Keys on the table surface: F1 hides the window (the boss key), Esc opens or
// closes the exit window, Alt then C opens the chat history, F1..F6 go to the prop
// plug-in. Keyboard play: Left and Right move the raised own tile along the hand
// (the first press raises the newest tile), Enter or Space discards it as a click
// would.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

// Key codes as the table client numbers them.
inline constexpr int kKeyEnter = 13, kKeyAlt = 18, kKeyEsc = 27, kKeySpace = 32;
inline constexpr int kKeyLeft = 37, kKeyRight = 39, kKeyC = 67;
inline constexpr int kKeyF1 = 112, kKeyF6 = 117;

// A key pressed while the table surface has the focus.
void OnTableKeyDown(ClientContext& ctx, int key);
// F1..F6 for the prop plug-in, when one is active.
void ForwardKeyToPlugin(ClientContext& ctx, int key);
// F1: the pop-up windows hidden, the window and the lobby minimised; every offer is
// then answered by the automatic move after one second until the window is restored.
void BossKey(ClientContext& ctx);
// The chat history Talk, topmost, over the lower middle of the table.
void ShowTalkWindow(ClientContext& ctx);

}  // namespace tavrel::view
