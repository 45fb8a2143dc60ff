#include "session/reconnect.h"

#include "app/client_context.h"
#include "props/props.h"
#include "platform/names.h"
#include "session/system_messages.h"
#include "session/commands.h"
#include "session/lobby_ops.h"
#include "session/proxy.h"
#include "session/scheduler.h"
#include "session/startup.h"
#include "session/debug_log.h"

namespace tavrel::session {
namespace {

ReconnectState& State(ClientContext& ctx) { return ctx.startup.reconnect; }

void Log(ClientContext& ctx, const std::string& line) {
  DebugLine(ctx, "reconnect: " + line);
}

}  // namespace

void InstallReconnectTimers(ClientContext& ctx) {
  auto& r = State(ctx);
  r.TimerReconnect = ctx.platform.CreateTimer();
  r.TimerReconnect->SetInterval(kTimerReconnectMs);
  r.TimerReconnect->onTick = [&ctx] { TimerReconnectTick(ctx); };
  r.TimerCount = ctx.platform.CreateTimer();
  r.TimerCount->SetInterval(kTimerCountMs);
  r.TimerCount->onTick = [&ctx] { TimerCountTick(ctx); };
}

void StartReconnection(ClientContext& ctx) {
  auto& r = State(ctx);
  // The watchdog may find the socket down again while the attempts run.
  if (r.running) return;
  if (!r.TimerReconnect) InstallReconnectTimers(ctx);
  auto& form = ctx.ui.form(frm::frmReconnect);
  form.SetAlpha(200);
  form.Load();
  r.running = true;
  r.ReconnectAttempts = 0;
  r.ReconnectDelay = 1;
  r.TimerCount->SetEnabled(false);
  r.TimerReconnect->SetEnabled(true);
  Log(ctx, "connection lost");
}

void StopReconnection(ClientContext& ctx) {
  auto& r = State(ctx);
  if (r.TimerReconnect) r.TimerReconnect->SetEnabled(false);
  if (r.TimerCount) r.TimerCount->SetEnabled(false);
  r.running = false;
  if (auto* form = ctx.ui.Find(frm::frmReconnect)) form->Unload();
}

void TimerReconnectTick(ClientContext& ctx) {
  auto& r = State(ctx);
  if (--r.ReconnectDelay >= 1) return;
  r.TimerReconnect->SetEnabled(false);
  r.ReconnectDelay = 1;
  r.TimerCount->SetEnabled(true);
}

void TimerCountTick(ClientContext& ctx) {
  auto& r = State(ctx);
  if (ctx.Connected()) {
    StopReconnection(ctx);
    return;
  }
  if (r.ReconnectAttempts < kReconnectAttemptLimit) {
    ++r.ReconnectAttempts;
    // An attempt may pump events (the proxy wait); it must not run inside itself.
    r.TimerCount->SetEnabled(false);
    Reconnect(ctx);
    if (r.running && !ctx.platform.Ending()) r.TimerCount->SetEnabled(true);
    return;
  }
  StopReconnection(ctx);
  ctx.platform.MessageBox(kMsgReconnectGaveUp, kAppTitle, platform::BoxButtons::Ok);
  EndWithLobbyRestored(ctx, 1);
}

void MakeReconnectRequest(Packet& p, SessionToken token, std::uint32_t number) {
  wire::PutU8(p, off::kCmd, cmd::kReconnect);
  StampToken(p, token);
  wire::PutU32LE(p, off::kTailNumber, number);
}

void Reconnect(ClientContext& ctx) {
  auto& st = ctx.startup;
  ClearSysLists(ctx);
  ShowLine(ctx, 0, kMsgReconnecting);
  MakeReconnectRequest(st.LoginPacket, ctx.session.token, st.reconnect.ReconnectNumber);
  Log(ctx, "attempt " + std::to_string(st.reconnect.ReconnectAttempts));
  ctx.session.DirectMode = true;
  ctx.Winsock1->Close();
  // The rings stay as they are: what was queued leaves once the server takes us back.
  if (st.ConnectionType == 5) {
    AbandonLogin(ctx);
    StartProxy(ctx, false);
    return;
  }
  ctx.Winsock1->RemoteHost = st.ServerHost;
  ctx.Winsock1->RemotePort = st.ServerPort;
  ctx.Winsock1->Connect();
  SetTimerBong(ctx, true);
  StartLoginTask(ctx);
}

void KeepReconnectNumber(ClientContext& ctx) {
  State(ctx).ReconnectNumber = wire::U32LE(ctx.session.RecvPacket, off::kTailNumber);
}

void OnReconnectResult(ClientContext& ctx) {
  auto& s = ctx.session;
  if (wire::U8(s.RecvPacket, off::kReconnectOutcome) == 1) {
    ClearSysLists(ctx);
    ShowLine(ctx, 0, kMsgReconnectAccepted);
    s.TableActive = true;
    // The answer has come: a close request from the lobby need not wait any more.
    s.LoginAwaited = false;
    ctx.startup.reconnect.Reconnected = true;
    StartSendTask(ctx);
    props::TellConnection(ctx, true);
    Log(ctx, "accepted");
    return;
  }
  props::ClosePropPlugin(ctx);
  ctx.platform.MessageBox(kMsgReconnectRefused, kAppTitle, platform::BoxButtons::Ok);
  EndWithLobbyRestored(ctx, 1);
}

}  // namespace tavrel::session
