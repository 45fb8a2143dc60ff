#include "session/lobby_protocol.h"

#include "app/client_context.h"
#include "platform/names.h"
#include "round/table_reset.h"
#include "session/commands.h"
#include "session/leave.h"
#include "session/lobby_ops.h"
#include "session/proxy.h"
#include "session/scheduler.h"
#include "session/transport.h"
#include "session/debug_log.h"

namespace tavrel::session {
namespace {

void Log(ClientContext& ctx, const std::string& line) {
  DebugLine(ctx, "lobby: " + line);
}

// The lobby's system commands act on the table window like the window manager's would.
void OnSysCommand(ClientContext& ctx, long command) {
  auto& main = ctx.main();
  if (command == kScRestore) {
    main.SetState(platform::WindowState::Normal);
    main.Show();
  } else if (command == kScMinimize) {
    main.SetState(platform::WindowState::Minimized);
  }
}

// A fresh login is a login again, never the reconnect request the packet may have become.
void ResetLoginPacket(Packet& p) {
  wire::PutU8(p, off::kCmd, cmd::kLogin);
  StampToken(p, {0, 0});
  wire::PutU32LE(p, off::kTailNumber, 0);
}

}  // namespace

void InstallLobbyMessages(ClientContext& ctx) {
  auto& link = ctx.platform.lobby();
  if (!link.RegisterWindow(ctx.startup.MainCaption)) Log(ctx, "could not register " + ctx.startup.MainCaption);
  link.onMessage = [&ctx](int message, long wParam, long lParam) { OnLobbyMessage(ctx, message, wParam, lParam); };
}

void OnLobbyMessage(ClientContext& ctx, int message, long wParam, long lParam) {
  Log(ctx, "message " + std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
  if (ctx.platform.Ending()) return;
  switch (message) {
    case kMsgPlaying:
      if (!LobbyExists(ctx)) return;
      PostToLobby(ctx, ctx.table.Playing ? kMsgPlaying : kMsgFree);
      return;
    case kMsgCloseRequest:
      if (!LobbyExists(ctx)) return;
      if (ctx.session.LoginAwaited) {
        PostToLobby(ctx, kMsgLoginPending);
      } else if (ctx.table.Playing) {
        PostToLobby(ctx, kMsgPlaying);
      } else {
        if (ctx.Connected()) LeaveTable(ctx);
        CloseTable(ctx);
        round::ResetTableForNewHand(ctx);
        PostToLobby(ctx, kMsgFree);
      }
      return;
    case kMsgFree:
      if (ctx.Connected()) LeaveTable(ctx);
      CloseTable(ctx);
      return;
    case kMsgLogin:
      FreshLogin(ctx);
      return;
    case kWmSysCommand:
      OnSysCommand(ctx, wParam);
      return;
    default: return;
  }
}

void FreshLogin(ClientContext& ctx) {
  auto& st = ctx.startup;
  SetIdleLobbyWatch(ctx, false);
  st.FreshLoginAsked = true;
  ctx.session.DirectMode = true;
  ctx.session.LoginAwaited = true;
  ResetLoginPacket(st.LoginPacket);
  if (st.ConnectionType == 0) {
    ResetRings(ctx);
    ctx.Winsock1->RemoteHost = st.ServerHost;
    ctx.Winsock1->RemotePort = st.ServerPort;
    if (ctx.Winsock1->State() != platform::kSocketClosed) ctx.Winsock1->Close();
    ctx.Winsock1->Connect();
    SetTimerBong(ctx, true);
    StartLoginTask(ctx);
  } else if (st.ConnectionType == 5) {
    StartProxy(ctx, true);
  }
  for (auto& step : st.freshLoginSteps) step();
  for (const auto& name : {ctl::Time_Img, ctl::Number})
    if (auto* c = ctx.main().Find(name)) c->SetVisible(false);
}

}  // namespace tavrel::session
