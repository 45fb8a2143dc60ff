#pragma once
// The end of a hand: the four seats' results (HandOver), the drawn hand's sheet, and
// what every finished sheet is followed by (the messages, the countdown, the record).
namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

inline constexpr const char* kMsgPressContinue = "请点击【继续】按钮继续游戏！";
inline constexpr const char* kMsgStartsSoon = "游戏将在15秒内开始";
inline constexpr const char* kDrawnHandLine = "      黄  庄";
inline constexpr const char* kFinalLinePrefix = "最终分：";
inline constexpr int kContinueSeconds = 15;
inline constexpr int kShortContinueSeconds = 3;

// Handler of HandOver (9): one seat's result; the fourth decides between the drawn
// hand's sheet and the wait for the Settlement packets.
void OnHandOver(ClientContext& ctx);
// The drawn hand's sheet, built by the hand end or, after its show, by the prop bridge
// (then the seats' prop lines and scores are added).
void BuildDrawSheet(ClientContext& ctx, bool afterPropShow = false);

// A seat's avatar and name on the sheet, as the players' details keep them for it.
void ShowSheetFace(ClientContext& ctx, int s);

// Whether a hand is being played whose results have not come in (the results button
// then shows the previous hand).
bool HandInProgress(const ClientContext& ctx);

// What follows a finished sheet: the two messages, the start button usable, the
// countdown (not for a spectator), the record file and the prop bridge's turn.
void AfterSheet(ClientContext& ctx, int countdownSeconds);

}  // namespace tavrel::scoring
