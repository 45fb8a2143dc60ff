#include "view/exit_forms.h"

#include <functional>

#include "app/client_context.h"
#include "props/props.h"
#include "platform/names.h"
#include "round/table_reset.h"
#include "session/leave.h"
#include "session/lobby_ops.h"
#include "view/picture_catalogue.h"

namespace tavrel::view {
namespace {

using platform::UiEventType;

constexpr int kPicOkNormal = kPicDialogButtonFirst;          // 130 确定
constexpr int kPicOkHover = kPicDialogButtonFirst + 1;       // 131
constexpr int kPicCancelNormal = kPicDialogButtonFirst + 2;  // 132 取消
constexpr int kPicCancelHover = kPicDialogButtonFirst + 3;   // 133

// A picture button that shows its hover picture under the pointer.
void PictureButton(platform::Form& form, const platform::ControlName& name, int normal, int hover, double left,
                   double top, double width, double height, std::function<void()> click) {
  auto& b = form.Get(name);
  b.Move(left, top, width, height);
  b.SetPicture(normal);
  b.SetMousePointer(platform::kPointerCustomHand);
  form.On(name, UiEventType::MouseMove, [&b, hover](const platform::UiEvent&) { b.SetPicture(hover); });
  form.On("", UiEventType::MouseMove, [&b, normal](const platform::UiEvent&) { b.SetPicture(normal); });
  form.On(name, UiEventType::Click, [click = std::move(click)](const platform::UiEvent&) { click(); });
}

// The table is over for this client: idle, reset, back to the lobby.
void CloseAndReturn(ClientContext& ctx, const char* formName) {
  ctx.handEnd.Continued = false;
  session::CloseTable(ctx);
  round::ResetTableForNewHand(ctx);
  ctx.ui.form(formName).Unload();
  session::ReturnToLobby(ctx);
}

}  // namespace

void CentreOverMain(ClientContext& ctx, platform::Form& form) {
  const auto& m = ctx.main().Bounds();
  const auto& f = form.Bounds();
  form.Move(m.left + (m.width - f.width) / 2, m.top + (m.height - f.height) / 2);
}

void ShowOtherExit(ClientContext& ctx, const std::string& text) {
  auto& other = ctx.ui.form(frm::frmOtherExit);
  other.Get(ctl::frmOtherExit::Label1).SetCaption(text);
  CentreOverMain(ctx, other);
  other.SetTopmost(true);
  other.Show();
}

void CreateExitForms(ClientContext& ctx) {
  namespace ex = ctl::frmExit;
  auto& exit = ctx.ui.form(frm::frmExit);
  exit.Move(0, 0, 300, 140);
  exit.SetFrameless(true);
  exit.SetAlpha(200);
  auto& l1 = exit.Get(ex::Label1);
  l1.Move(20, 24, 260, 20);
  l1.SetCaption(kMsgReallyQuit);
  l1.SetAlignment(2);
  auto& l2 = exit.Get(ex::Label2);
  l2.Move(20, 50, 260, 20);
  l2.SetCaption(kMsgRunawayPenalty);
  l2.SetAlignment(2);
  l2.SetForeColor(platform::kRed);
  const auto size = kDialogButtonSize;
  PictureButton(exit, ex::pbCloseMe, kPicOkNormal, kPicOkHover, 54, 92, size.width, size.height,
                [&ctx] { OnExitConfirm(ctx); });
  PictureButton(exit, ex::pbCancel, kPicCancelNormal, kPicCancelHover, 170, 92, size.width, size.height,
                [&ctx] { OnExitCancel(ctx); });

  namespace oe = ctl::frmOtherExit;
  auto& other = ctx.ui.form(frm::frmOtherExit);
  other.Move(0, 0, 300, 160);
  other.SetFrameless(true);
  other.SetAlpha(200);
  auto& text = other.Get(oe::Label1);
  text.Move(20, 20, 260, 64);
  text.SetAlignment(2);
  PictureButton(other, oe::imgOK, kPicOkNormal, kPicOkHover, 60, 108, 70, 30, [&ctx] { OnOtherExitOk(ctx); });
  PictureButton(other, oe::imgCancel, kPicCancelNormal, kPicCancelHover, 170, 108, 70, 30,
                [&ctx] { OnOtherExitCancel(ctx); });
}

void ShowExitForm(ClientContext& ctx) {
  auto& exit = ctx.ui.form(frm::frmExit);
  exit.Get(ctl::frmExit::Label2).SetVisible(ctx.table.Playing && !ctx.startup.Spectator);
  CentreOverMain(ctx, exit);
  exit.SetTopmost(true);
  exit.Show();
}

void OnExitConfirm(ClientContext& ctx) {
  if (ctx.props.Active()) {
    props::QuitConfirmed(ctx);
    ctx.platform.PumpFor(kQuitPropWaitMs);
  }
  if (ctx.Connected()) {
    ctx.sched.ConnWatch = false;
    session::LeaveTable(ctx);
  }
  CloseAndReturn(ctx, frm::frmExit);
}

void OnExitCancel(ClientContext& ctx) { ctx.ui.form(frm::frmExit).Unload(); }

void OnTableClosed(ClientContext& ctx) {
  ctx.sched.ConnWatch = false;
  ctx.sched.ContinueClockOn = false;
  ctx.table.Playing = false;
  ctx.platform.Sleep(kTableClosedPauseMs);
  const std::string text = wire::GbkText(ctx.session.RecvPacket, off::kTableClosedText, off::kTableClosedTextBytes);
  for (int p = 0; p < 4; ++p)
    if (auto* c = ctx.main().Find(ctl::Tou, p)) c->SetPicture(0);
  ShowOtherExit(ctx, text);
  session::LeaveTable(ctx);
}

void OnOtherExitOk(ClientContext& ctx) { CloseAndReturn(ctx, frm::frmOtherExit); }

void OnOtherExitCancel(ClientContext& ctx) {
  ctx.table.Playing = false;
  ctx.sched.ConnWatch = false;
  ctx.ui.form(frm::frmOtherExit).Unload();
}

}  // namespace tavrel::view
