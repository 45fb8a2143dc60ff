#pragma once
// The main window's own frame, its title strip and the nine window buttons.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

inline constexpr const char* kWindowTitle = "Tavrel麻将";
inline constexpr const char* kRulesPage = "https://www.virel.example/down/gameinfo_ins.php?name=tavrel";
// Said when the bank is clicked at a table without the prop plug-in.
inline constexpr const char* kBankUnavailable = "本桌未开启道具，银行暂不可用。";

// Window size and the table surface's place for the screen; paints the frame on large screens.
void ApplyWindowFrame(ClientContext& ctx);
// The eight skin pieces, the icon, the title buttons, the drag strip and the caption.
void DrawSkin(ClientContext& ctx);

// Picture ids of window button i (0..8), normal or hover.
int ButtonPicture(const ClientContext& ctx, int i, bool hover);
void AnNiuClick(ClientContext& ctx, int i);
void AnNiuMouseMove(ClientContext& ctx, int i);
// Every hovered button back to its normal picture (pointer over the table).
void ClearButtonHover(ClientContext& ctx);
// Minimise and restore of the main window.
void FormResize(ClientContext& ctx);
// The start button usable again with its current picture.
void StartButtonActive(ClientContext& ctx);
// The start button with its normal picture, usable (a click starts) or idle (a click does nothing).
void StartButtonUsable(ClientContext& ctx);
void StartButtonIdle(ClientContext& ctx);
// A hand under way: the start button shows 继续 (the hand number has grown) and does
// nothing until the hand ends; own tiles rise under the pointer.
void StartButtonInHand(ClientContext& ctx);
// The wealth multiplier display back to "1", hidden.
void ResetWealthDisplay(ClientContext& ctx);

// Input handlers of the frame, the title strip and the buttons.
void InstallWindowFrameHandlers(ClientContext& ctx);

}  // namespace tavrel::view
