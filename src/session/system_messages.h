#pragma once
// The two system-message lists on the table, Sysmsg(0) and Sysmsg(1).
#include <string>

#include "platform/controls.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

platform::Control& SysList(ClientContext& ctx, int list);
// Adds a line to a list (and to the debug log when it is on).
void ShowLine(ClientContext& ctx, int list, const std::string& text);
void ClearSysLists(ClientContext& ctx);

}  // namespace tavrel::session
