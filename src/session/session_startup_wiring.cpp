// Handlers and hooks of the start-up, the lobby link, the proxy, the reconnection and the leaving.
#include "app/client_context.h"
#include "app/registrations.h"
#include "session/commands.h"
#include "session/leave.h"
#include "session/proxy.h"
#include "session/reconnect.h"
#include "session/startup.h"

namespace tavrel::session {

void RegisterStartup(ClientContext& ctx) {
  RegisterHandler(ctx, cmd::kLoginResult, OnLoginResult);
  RegisterHandler(ctx, cmd::kReconnectResult, OnReconnectResult);
  RegisterHandler(ctx, cmd::kTableClosed, OnTableClosed);
  // The dealer announcement carries the number a reconnection sends back. The
  // departures module registers its full PlayerLeft handler later (replacing
  // this one) and keeps the number through KeepReconnectNumber.
  RegisterHandler(ctx, cmd::kPlayerLeft, [](ClientContext& cx) {
    if ((cx.session.info.value[3] & 0xFF) == 2) KeepReconnectNumber(cx);
  });
  ctx.hooks.proxyReceive = [&ctx] { ProxyReceive(ctx); };
  ctx.hooks.startReconnection = [&ctx] { StartReconnection(ctx); };
  ctx.hooks.closeTableOp = [&ctx] { CloseTable(ctx); };
  ctx.hooks.connectTimedOut = [&ctx] { OnConnectTimedOut(ctx); };
  InstallReconnectTimers(ctx);
  CreateExitForms(ctx);
  ctx.main().On("", platform::UiEventType::Unload, [&ctx](const platform::UiEvent&) { UnloadMainWindow(ctx); });
}

}  // namespace tavrel::session
