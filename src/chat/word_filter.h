#pragma once
// The chat word filter: every shown chat line loses the listed words. Entries
// 1..4 are supplied by the deployment in a file beside the program (one exact
// string a line, UTF-8 or code page 936); the rest are fixed.
#include <array>
#include <string>
#include <string_view>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::chat {

inline constexpr const char* kFilterFileName = "chatfilter.txt";
inline constexpr int kDeploymentEntries = 4;
// Entries 5..15, applied in this order after the deployment's four.
inline constexpr std::array<const char*, 11> kFixedFilterEntries = {
    "法轮功", "他妈的", "她妈的", "它妈的", "婊子养的", "婊子", "淫", "色情", "黄色", "shit", "fuck"};

// Every occurrence of `word` removed, scanning once from the start (what the removal
// joins together stays). An empty word removes nothing.
std::string RemoveWord(std::string_view text, std::string_view word);

// The deployment's entries, then the fixed ones, each applied to the result of the last.
std::string FilterChat(const std::array<std::string, kDeploymentEntries>& deployment, std::string_view text);
std::string FilterChat(const ClientContext& ctx, std::string_view text);

// The first four non-empty lines of the file; empty entries when it is missing or
// unreadable. A file that begins with the UTF-8 mark or is valid UTF-8 is read as
// UTF-8, any other as code page 936.
std::array<std::string, kDeploymentEntries> ReadFilterFile(const std::string& path);
// Start-up: the entries from chatfilter.txt in the program folder.
void LoadFilterEntries(ClientContext& ctx);

}  // namespace tavrel::chat
