#include "scoring/hand_record.h"

#include <unistd.h>

#include "app/client_context.h"

namespace tavrel::scoring {

std::string RecordFilePath(const ClientContext& ctx) { return ctx.platform.ProgramFolder() + "/info.vl"; }

void DeleteRecordFile(const ClientContext& ctx) { ::unlink(RecordFilePath(ctx).c_str()); }

}  // namespace tavrel::scoring
