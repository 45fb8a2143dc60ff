#pragma once
// Private talk and the text of every sent chat line: a click on another
// player's avatar puts "你对<name>说: " into the chat line, and a line sent with
// that prefix reads "<own name>对<name>说: ..." and goes to that player only.
#include <cstdint>
#include <string>
#include <string_view>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::chat {

inline constexpr const char* kSaid = "说道: ";

// What command 19 carries: the text and the private addressee's seat mask (0 = public).
struct SentLine {
  std::string text;
  std::uint8_t target = 0;
};

// The text to send for what stands in the chat line: private when the line holds the
// private prefix (own name, the prefix without its "你", the rest of the line), else
// own name, "说道: " and the line.
SentLine ComposeLine(const ClientContext& ctx, std::string_view line);
// The same for a quick phrase: the phrase replaces what was typed.
SentLine ComposePhrase(const ClientContext& ctx, std::string_view line, std::string_view phrase);

// `line` with the first occurrence of `prefix` taken out.
std::string WithoutPrefix(std::string_view line, std::string_view prefix);

// Queues command 19: kind 0 typed, 1 and 2 the phrase lists; `phrase` the phrase number.
void SendChatCommand(ClientContext& ctx, int kind, int phrase, const SentLine& line);

// Tou_Click: private talk with the player of avatar 1..3 (0, the own avatar, does nothing).
void TouClick(ClientContext& ctx, int index);
// A Backspace is about to be typed into the chat line: one into the prefix marks
// the whole prefix for removal.
void NoteBackspace(ClientContext& ctx);
// Chat_Change: the marked prefix goes, with nothing else of the line.
void ChatChange(ClientContext& ctx);

}  // namespace tavrel::chat
