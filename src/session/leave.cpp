#include "session/leave.h"

#include "app/client_context.h"
#include "props/props.h"
#include "platform/names.h"
#include "session/commands.h"
#include "session/debug_log.h"
#include "session/lobby_ops.h"
#include "session/reconnect.h"
#include "session/scheduler.h"
#include "session/system_messages.h"

namespace tavrel::session {
namespace {

void StopTransportTasks(ClientContext& ctx) {
  auto& sc = ctx.sched;
  sc.SendPending = sc.RecvPending = sc.BlinkOn = false;
  AbandonLogin(ctx);
  sc.ConnWatch = false;
  sc.watchCounter = 0;
  sc.TurnClockOn = sc.ContinueClockOn = sc.BubblesShown = false;
  SetTimerBong(ctx, false);
  if (ctx.TimerKeepAlive) ctx.TimerKeepAlive->SetEnabled(false);
}

void ClearPositionDisplays(ClientContext& ctx, int p) {
  auto& main = ctx.main();
  if (auto* c = main.Find(ctl::Tou, p)) c->SetPicture(0);
  for (const auto& name : {ctl::Nid, ctl::Cash, ctl::Level})
    if (auto* c = main.Find(name, p)) c->SetCaption("");
  if (auto* c = main.Find(ctl::OK, p)) c->SetVisible(false);
}

}  // namespace

Packet LeavePacket(std::uint8_t ownSeatMask) {
  Packet p{};
  wire::PutU8(p, off::kCmd, cmd::kLeave);
  wire::PutU8(p, off::kSeat, ownSeatMask);
  return p;
}

void LeaveTable(ClientContext& ctx) {
  const Packet leave = LeavePacket(ctx.table.custom[0].seat);
  for (const char* name : {frm::frm_Remote1, frm::frm_Remote2, frm::frm_Remote3})
    if (auto* f = ctx.ui.Find(name); f && f->Visible()) {
      f->Hide();
      f->Unload();
    }
  if (ctx.Connected()) {
    ctx.Winsock1->SendData(leave.data(), leave.size());
    DebugPacket(ctx, true, leave);
  }
  StopTransportTasks(ctx);
  ctx.platform.PumpFor(ctx.startup.reconnect.Reconnected ? kLeaveWaitAfterReconnectMs : kLeaveWaitMs);
  ctx.session.ReconnectAllowed = false;
  auto& main = ctx.main();
  if (auto* c = main.Find(ctl::LblShuffle)) c->SetVisible(false);
  if (auto* c = main.Find(ctl::ImgShuffle)) c->SetVisible(false);
  ctx.handEnd.SeatChangePending = false;
  for (auto& step : ctx.startup.leaveTableSteps) step();
}

void SetIdleLobbyWatch(ClientContext& ctx, bool on) {
  auto& watch = ctx.startup.idleLobbyWatch;
  if (!watch) {
    if (!on) return;
    watch = ctx.platform.CreateTimer();
    watch->SetInterval(kIdleLobbyWatchMs);
    // A client left behind by a lobby that went away would otherwise wait forever.
    watch->onTick = [&ctx] {
      if (!LobbyExists(ctx)) ctx.platform.EndProgram(0);
    };
  }
  const bool lobbyNamed = !ctx.startup.LobbyCaption.empty();
  watch->SetEnabled(on && lobbyNamed && !ctx.platform.Ending());
}

void CloseTable(ClientContext& ctx) {
  auto& s = ctx.session;
  auto& st = ctx.startup;
  // 1..2: idle transport.
  ctx.table.Playing = false;
  StopTransportTasks(ctx);
  StopReconnection(ctx);
  if (st.proxy.replyGuard) st.proxy.replyGuard->SetEnabled(false);
  st.proxy.ProxyStep = 0;
  ClearSysLists(ctx);
  s.HandResultWait = false;
  // 3: the connection.
  ctx.Winsock1->Close();
  s.LoginAwaited = false;
  ctx.platform.PumpUntil([&ctx] { return !ctx.Connected() || ctx.platform.Ending(); }, kCloseWaitLimitMs);
  st.reconnect.Reconnected = false;
  // 4: the players. The own name stays: the next table's seat names are matched against it.
  for (int p = 0; p < 4; ++p) {
    ctx.table.custom[p].name = p == 0 ? st.UserName : std::string();
    ctx.table.custom[p].seat = 0;
    ctx.players.Detail[p] = scoring::Detail{};
    ClearPositionDisplays(ctx, p);
  }
  // 5: the hand end; the hand record goes with the close steps.
  ctx.handEnd.Continued = false;
  // 6.
  ctx.main().SetState(platform::WindowState::Minimized);
  props::ClosePropPlugin(ctx);
  for (auto& step : ctx.hooks.closeTableSteps) step();
  SetIdleLobbyWatch(ctx, true);
}

void UnloadMainWindow(ClientContext& ctx) {
  ctx.platform.lobby().onMessage = nullptr;
  for (auto& step : ctx.startup.mainUnloadSteps) step();
  props::ClosePropPlugin(ctx);
  ctx.props.PropPlugin.reset();
  StopReconnection(ctx);
  SetIdleLobbyWatch(ctx, false);
  for (auto& [name, form] : ctx.ui.Forms())
    if (name != frm::Main) form->Unload();
  ctx.platform.EndProgram(0);
}

}  // namespace tavrel::session
