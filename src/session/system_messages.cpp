#include "session/system_messages.h"

#include "app/client_context.h"
#include "platform/names.h"
#include "session/debug_log.h"

namespace tavrel::session {

platform::Control& SysList(ClientContext& ctx, int list) {
  return ctx.main().Get(ctl::Sysmsg, list);
}

void ShowLine(ClientContext& ctx, int list, const std::string& text) {
  SysList(ctx, list).AddItem(text);
  if (DebugLogOn(ctx)) DebugLine(ctx, "sysmsg" + std::to_string(list) + ": " + text);
}

void ClearSysLists(ClientContext& ctx) {
  SysList(ctx, 0).Clear();
  SysList(ctx, 1).Clear();
}

}  // namespace tavrel::session
