#pragma once
// Each module's registration: its command handlers, scheduler task bodies and
// hooks. InstallParts calls them in this order.
namespace tavrel {
struct ClientContext;
namespace session {
void RegisterSession(ClientContext& ctx);
void RegisterStartup(ClientContext& ctx);
}
namespace view { void RegisterView(ClientContext& ctx); }
namespace sound { void RegisterSound(ClientContext& ctx); }
}  // namespace tavrel
