#include "session/leave.h"


#include "app/client_context.h"
#include "scoring/hand_record.h"
#include "session/system_messages.h"
#include "session/commands.h"
#include "session/lobby_ops.h"
#include "session/reconnect.h"
#include "session/scheduler.h"
#include "view/picture_catalogue.h"

namespace tavrel::session {
namespace {

using platform::ControlKind;
using platform::UiEventType;

constexpr int kPicOkNormal = view::kPicDialogButtonFirst;           // 130 确定
constexpr int kPicOkHover = view::kPicDialogButtonFirst + 1;        // 131
constexpr int kPicCancelNormal = view::kPicDialogButtonFirst + 2;   // 132 取消
constexpr int kPicCancelHover = view::kPicDialogButtonFirst + 3;    // 133

void StopTransportTasks(ClientContext& ctx) {
  auto& sc = ctx.sched;
  sc.SendPending = sc.RecvPending = sc.LoginPending = sc.BlinkOn = false;
  sc.ConnWatch = false;
  sc.watchCounter = 0;
  sc.TurnClockOn = sc.ContinueClockOn = sc.BubblesShown = false;
  SetTimerBong(ctx, false);
  if (ctx.TimerKeepAlive) ctx.TimerKeepAlive->SetEnabled(false);
}

void CentreOverMain(ClientContext& ctx, platform::Form& form) {
  const auto& m = ctx.main().Bounds();
  const auto& f = form.Bounds();
  form.Move(m.left + (m.width - f.width) / 2, m.top + (m.height - f.height) / 2);
}

// Back to the lobby when it is there, else the end of the program.
void ReturnToLobby(ClientContext& ctx) {
  if (LobbyExists(ctx)) {
    ctx.main().SetState(platform::WindowState::Minimized);
    RestoreLobby(ctx);
  } else {
    ctx.platform.EndProgram(0);
  }
}

void ClearPositionDisplays(ClientContext& ctx, int p) {
  auto& main = ctx.main();
  if (auto* c = main.Find("Tou", p)) c->SetPicture(0);
  for (const char* name : {"Nid", "Cash", "Level"})
    if (auto* c = main.Find(name, p)) c->SetCaption("");
  if (auto* c = main.Find("OK", p)) c->SetVisible(false);
}

// A picture button that shows its hover picture under the pointer.
void PictureButton(platform::Form& form, const char* name, int normal, int hover, double left, double top,
                   double width, double height, std::function<void()> click) {
  auto& b = form.Get(name, -1, ControlKind::Picture);
  b.Move(left, top, width, height);
  b.SetPicture(normal);
  b.SetMousePointer(platform::kPointerCustomHand);
  form.On(name, UiEventType::MouseMove, [&b, hover](const platform::UiEvent&) { b.SetPicture(hover); });
  form.On("", UiEventType::MouseMove, [&b, normal](const platform::UiEvent&) { b.SetPicture(normal); });
  form.On(name, UiEventType::Click, [click = std::move(click)](const platform::UiEvent&) { click(); });
}

}  // namespace

Packet LeavePacket(std::uint8_t ownSeatMask) {
  Packet p{};
  p[off::kCmd] = cmd::kLeave;
  p[off::kSeat] = ownSeatMask;
  return p;
}

void LeaveTable(ClientContext& ctx) {
  const Packet leave = LeavePacket(ctx.table.custom[0].seat);
  for (const char* name : {"frm_Remote1", "frm_Remote2", "frm_Remote3"})
    if (auto* f = ctx.ui.Find(name); f && f->Visible()) {
      f->Hide();
      f->Unload();
    }
  if (ctx.Connected()) {
    ctx.Winsock1->SendData(leave.data(), leave.size());
    if (ctx.hooks.debugPacket) ctx.hooks.debugPacket(true, leave);
  }
  StopTransportTasks(ctx);
  ctx.platform.PumpFor(ctx.startup.reconnect.Reconnected ? kLeaveWaitAfterReconnectMs : kLeaveWaitMs);
  ctx.session.ReconnectAllowed = false;
  auto& main = ctx.main();
  for (const char* name : {"LblShuffle", "ImgShuffle"})
    if (auto* c = main.Find(name)) c->SetVisible(false);
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
  // 5: the hand record of this table.
  ctx.handEnd.Continued = false;
  scoring::DeleteRecordFile(ctx);
  // 6.
  ctx.main().SetState(platform::WindowState::Minimized);
  if (ctx.props.Active()) ctx.props.plugin->TableGone();
  for (auto& step : ctx.hooks.closeTableSteps) step();
  SetIdleLobbyWatch(ctx, true);
}

void CreateExitForms(ClientContext& ctx) {
  auto& ex = ctx.ui.form(kExitForm);
  ex.Move(0, 0, 300, 140);
  ex.SetFrameless(true);
  ex.SetAlpha(200);
  auto& l1 = ex.Get("Label1", -1, ControlKind::Label);
  l1.Move(20, 24, 260, 20);
  l1.SetCaption(kMsgReallyQuit);
  l1.SetAlignment(2);
  auto& l2 = ex.Get("Label2", -1, ControlKind::Label);
  l2.Move(20, 50, 260, 20);
  l2.SetCaption(kMsgRunawayPenalty);
  l2.SetAlignment(2);
  l2.SetForeColor(platform::kRed);
  const auto size = view::kDialogButtonSize;
  PictureButton(ex, "pbCloseMe", kPicOkNormal, kPicOkHover, 54, 92, size.width, size.height,
                [&ctx] { OnExitConfirm(ctx); });
  PictureButton(ex, "pbCancel", kPicCancelNormal, kPicCancelHover, 170, 92, size.width, size.height,
                [&ctx] { OnExitCancel(ctx); });

  auto& other = ctx.ui.form(kOtherExitForm);
  other.Move(0, 0, 300, 160);
  other.SetFrameless(true);
  other.SetAlpha(200);
  auto& text = other.Get("Label1", -1, ControlKind::Label);
  text.Move(20, 20, 260, 64);
  text.SetAlignment(2);
  PictureButton(other, "imgOK", kPicOkNormal, kPicOkHover, 60, 108, 70, 30, [&ctx] { OnOtherExitOk(ctx); });
  PictureButton(other, "imgCancel", kPicCancelNormal, kPicCancelHover, 170, 108, 70, 30,
                [&ctx] { OnOtherExitCancel(ctx); });
}

void ShowExitForm(ClientContext& ctx) {
  auto& ex = ctx.ui.form(kExitForm);
  ex.Get("Label2", -1, ControlKind::Label).SetVisible(ctx.table.Playing && !ctx.startup.Spectator);
  CentreOverMain(ctx, ex);
  ex.SetTopmost(true);
  ex.Show();
}

void OnExitConfirm(ClientContext& ctx) {
  if (ctx.Connected()) {
    ctx.sched.ConnWatch = false;
    LeaveTable(ctx);
  }
  ctx.handEnd.Continued = false;
  CloseTable(ctx);
  if (ctx.hooks.tableReset) ctx.hooks.tableReset();
  ctx.ui.form(kExitForm).Unload();
  ReturnToLobby(ctx);
}

void OnExitCancel(ClientContext& ctx) { ctx.ui.form(kExitForm).Unload(); }

void OnTableClosed(ClientContext& ctx) {
  ctx.sched.ConnWatch = false;
  ctx.sched.ContinueClockOn = false;
  ctx.table.Playing = false;
  ctx.platform.Sleep(kTableClosedPauseMs);
  const std::string text = wire::GbkText(ctx.session.RecvPacket, off::kPayload, 200);
  for (int p = 0; p < 4; ++p)
    if (auto* c = ctx.main().Find("Tou", p)) c->SetPicture(0);
  auto& other = ctx.ui.form(kOtherExitForm);
  other.Get("Label1", -1, ControlKind::Label).SetCaption(text);
  CentreOverMain(ctx, other);
  other.SetTopmost(true);
  other.Show();
  LeaveTable(ctx);
}

void OnOtherExitOk(ClientContext& ctx) {
  ctx.handEnd.Continued = false;
  CloseTable(ctx);
  if (ctx.hooks.tableReset) ctx.hooks.tableReset();
  ctx.ui.form(kOtherExitForm).Unload();
  ReturnToLobby(ctx);
}

void OnOtherExitCancel(ClientContext& ctx) {
  ctx.table.Playing = false;
  ctx.sched.ConnWatch = false;
  ctx.ui.form(kOtherExitForm).Unload();
}

void UnloadMainWindow(ClientContext& ctx) {
  ctx.platform.lobby().onMessage = nullptr;
  for (auto& step : ctx.startup.mainUnloadSteps) step();
  if (ctx.props.Active()) ctx.props.plugin->TableGone();
  ctx.props.active = false;
  ctx.props.plugin.reset();
  StopReconnection(ctx);
  SetIdleLobbyWatch(ctx, false);
  for (auto& [name, form] : ctx.ui.Forms())
    if (name != kMainForm) form->Unload();
  ctx.platform.EndProgram(0);
}

}  // namespace tavrel::session
