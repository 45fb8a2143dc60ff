#pragma once
// The chat line under the table (Chat), its Enter-send with the rate limit and
// the send button, the history window Talk with its list Text1, the two newest
// lines on the table (Sysmsg), the own name shown as "你", and the blinking of
// the chat button when someone else speaks.
#include <string>
#include <string_view>

#include "platform/controls.h"
#include "session/command_record.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::chat {

inline constexpr int kHistoryWidth = 46;      // WrapIntoList width of the history
inline constexpr int kHistoryLimit = 100;     // lines the history holds before a key empties it
inline constexpr int kTableLineChars = 45;    // characters of a line on the table
inline constexpr int kChatRateMs = 800;       // TimerChat: from one Enter-send to the next
inline constexpr int kChatBlinks = 8;         // half-blinks of the chat button
inline constexpr const char* kMsgTooFast = "（发送消息太快！）";
inline constexpr const char* kYou = "你";
inline constexpr const char* kSystemNotice = "系统提示";
inline constexpr const char* kTalkCaption = "聊天";
inline constexpr int kTalkAlpha = 200;

// A small frameless chat window (the history, the phrases): caption, size and
// see-through level, and its close label "× 关闭" at the top right, which hides it.
// The window's list takes the rest below the label: ListPlace gives its place.
void SetUpChatWindow(platform::Form& form, const char* caption, double width, double height, int alpha,
                     const platform::ControlName& close);
platform::Rect ListPlace(double width, double height);

// The history list (Talk's Text1).
platform::Control& History(ClientContext& ctx);

// Width of a character in the history: 1 for one byte of code page 936, 2 for two.
int CharWidth(char32_t c);
// Adds the text to the list in lines of about `width` units; continuation lines
// start with a space; an empty text adds nothing.
void WrapIntoList(platform::Control& list, std::string_view text, int width);

// Chat_KeyPress: Enter sends (at most once in 800 ms, never for a spectator);
// every key first empties a history of more than 100 lines.
void ChatKeyPress(ClientContext& ctx, int key);
// Chat_KeyDown: F1 hides the window; of the F-keys only F1 reaches the plug-in.
void ChatKeyDown(ClientContext& ctx, int key);
// The send button: as Enter, without the rate limit and the spectator check; the
// line stays when nothing is sent.
void SendByButton(ClientContext& ctx);
void TimerChatTick(ClientContext& ctx);

// A received chat line (command 19), its text decoded: the phrase's bubble and
// voice, the own name as "你", the filter, the history and the table lines, the blink.
void ShowChat(ClientContext& ctx, const Info& info, const std::string& text);
// A line of the system (the prop plug-in's), as it stands: the history and the table lines.
void ShowSystemLine(ClientContext& ctx, const std::string& text);
// What the history and the table show of a received line: "[tag]name" and then the
// first other own name as "你" (not in lines of the system), then the filter.
std::string ShownLine(const ClientContext& ctx, const std::string& text);

// The chat button's part of the blink task: one half-blink every run while any are left.
void ChatButtonBlink(ClientContext& ctx);

// The history window, created hidden; its toggle (聊天 and Lbchat).
void CreateTalkWindow(ClientContext& ctx);
void ToggleTalk(ClientContext& ctx);
// The place of the chat pop-ups (history and phrases) over the table, in screen pixels.
platform::Rect ChatWindowPlace(ClientContext& ctx, double width, double height);

// The table shut down: the history, the chat line, private talk and the blink cleared.
void ClearChat(ClientContext& ctx);

}  // namespace tavrel::chat
