#pragma once
// Quick phrases: two lists of ready sentences from chat.ini in the program folder
// (sections Phrase1 and Phrase2), in the window huifu. A double click sends one
// with its number, so that the others show it in a bubble and hear its voice.
#include <string>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::chat {

inline constexpr const char* kPhraseFileName = "chat.ini";
inline constexpr const char* kPhraseSections[2] = {"Phrase1", "Phrase2"};
// A phrase's number reaches the other clients in one byte: later phrases could
// never be shown to them as what was sent.
inline constexpr int kMaxPhrases = 255;
inline constexpr const char* kPhraseCaption = "快捷语";
inline constexpr int kPhraseAlpha = 200;

// The decimal number at the start of a text, as the lists count it ("12abc" 12,
// "abc" 0, "-1" -1), within the range of an int.
long LeadingNumber(const std::string& text);

// The phrase window, created hidden.
void CreatePhraseWindow(ClientContext& ctx);
// huifu_Form_Load: both lists from chat.ini, once; a missing file leaves them empty.
void LoadPhrases(ClientContext& ctx);
// imgword1_Click (list 1), imgword2_Click (list 2): show the window with that list,
// switch to it, or hide the window when it already shows it.
void OpenPhrases(ClientContext& ctx, int list);
// List1_DblClick, List2_DblClick: send the selected phrase.
void SendPhrase(ClientContext& ctx, int list);
// The phrase part of a received chat line: the bubble with the LOCAL list's entry
// (not the packet's text), and for list 1 the speaker's voice.
void ShowPhrase(ClientContext& ctx, int seat, int kind, int number);

}  // namespace tavrel::chat
