#pragma once
// The per-user hand record file "info.vl" in the program folder.
#include <string>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

std::string RecordFilePath(const ClientContext& ctx);
// Removes the record of the table's hands, if there is one.
void DeleteRecordFile(const ClientContext& ctx);

}  // namespace tavrel::scoring
