#pragma once
// The record of the table's hands, "info.vl": one INI section per finished hand
// ("juNum:" and the hand number) holding the whole settlement sheet, so that the
// history window can show any hand again. It lives in the program folder, or where
// the client may write (platform/writable_folder.h).
#include <string>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

inline constexpr const char* kRecordFileName = "info.vl";

// "" when there is no folder the client may write in.
std::string RecordFilePath(const ClientContext& ctx);
// Removes the record of the table's hands, if there is one.
void DeleteRecordFile(ClientContext& ctx);

// The section name and the keys of the record, as the file spells them.
std::string RecordSection(int handNo);
std::string NameKey(int i);
std::string AvatarKey(int i);
std::string CountKey(int i);
std::string LineKey(int i, int j);
std::string ColourKey(int i);

// Stores the sheet now shown in Score as the hand's section: names and avatars,
// every line of the eight lists, the colours of the four columns. One replace of the
// file per hand.
void WriteHandRecord(ClientContext& ctx, int handNo);
// Fills Score from the hand's section. Hand 0 does nothing; a missing section blanks
// the names and leaves the lists as they are.
void ShowHandRecord(ClientContext& ctx, int handNo);

}  // namespace tavrel::scoring
