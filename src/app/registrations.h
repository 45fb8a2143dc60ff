#pragma once
// Each module's registration: its command handlers, scheduler task bodies,
// hooks and input handlers. InstallParts calls them in this order.
namespace tavrel {
struct ClientContext;
namespace session { void RegisterSession(ClientContext& ctx); }
namespace round { void RegisterRound(ClientContext& ctx); }
namespace scoring { void RegisterScoring(ClientContext& ctx); }
namespace view { void RegisterView(ClientContext& ctx); }
namespace sound { void RegisterSound(ClientContext& ctx); }
namespace chat { void RegisterChat(ClientContext& ctx); }
namespace props { void RegisterProps(ClientContext& ctx); }
}  // namespace tavrel
