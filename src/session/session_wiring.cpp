// The session's part of the client: the handlers of the login and the reconnection, the reconnection timers and the table window's unload.
// (The dealer announcement keeps its reconnect number through the departures,
// KeepReconnectNumber.)
#include "app/client_context.h"
#include "app/registrations.h"
#include "session/commands.h"
#include "session/dispatcher.h"
#include "session/leave.h"
#include "session/reconnect.h"
#include "session/startup.h"

namespace tavrel::session {

void RegisterSession(ClientContext& ctx) {
  RegisterHandler(ctx, cmd::kLoginResult, OnLoginResult);
  RegisterHandler(ctx, cmd::kReconnectResult, OnReconnectResult);
  InstallReconnectTimers(ctx);
  ctx.main().On("", platform::UiEventType::Unload, [&ctx](const platform::UiEvent&) { UnloadMainWindow(ctx); });
}

}  // namespace tavrel::session
