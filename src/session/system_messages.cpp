#include "session/system_messages.h"

#include "app/client_context.h"

namespace tavrel::session {

platform::Control& SysList(ClientContext& ctx, int list) {
  return ctx.main().Get("Sysmsg", list, platform::ControlKind::List);
}

void ShowLine(ClientContext& ctx, int list, const std::string& text) {
  SysList(ctx, list).AddItem(text);
  if (ctx.hooks.debugLine) ctx.hooks.debugLine("sysmsg" + std::to_string(list) + ": " + text);
}

void ClearSysLists(ClientContext& ctx) {
  SysList(ctx, 0).Clear();
  SysList(ctx, 1).Clear();
}

}  // namespace tavrel::session
