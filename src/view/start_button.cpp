#include "view/start_button.h"

#include "app/client_context.h"
#include "platform/names.h"
#include "round/table_reset.h"
#include "scoring/continue_step.h"
#include "session/leave.h"
#include "session/lobby_ops.h"
#include "view/layout.h"
#include "view/pictures.h"

namespace tavrel::view {
namespace {

constexpr int kContinuePictureEntry = 6;  // ButtonPictures(6): 继续, normal

void HideSheetAndHistory(ClientContext& ctx) {
  for (const char* name : {frm::Hero, frm::Score})
    if (platform::Form* f = ctx.ui.Find(name)) f->Hide();
}

}  // namespace

void OnStartButton(ClientContext& ctx) {
  ViewState& v = ctx.view;
  HideSheetAndHistory(ctx);
  if (v.LeaveOnStart) {
    ctx.handEnd.Continued = false;
    session::CloseTable(ctx);
    ResetLayout(ctx);
    round::ResetSeats(ctx);
    session::ReturnToLobby(ctx);
    return;
  }
  if (v.HandStarted[2]) return;
  platform::Form& main = ctx.main();
  v.StartPictureMode = false;
  LoadResourcePicture(ctx, v.ButtonPictures[kContinuePictureEntry], main.Get(ctl::AnNiu, 2));
  platform::Control& ready = main.Get(ctl::OK, 0);
  ready.SetVisible(true);
  ready.BringToFront();
  ctx.sched.ContinueClockOn = false;
  main.Get(ctl::Time_Img).SetVisible(false);
  main.Get(ctl::Number).SetVisible(false);
  v.HandStarted[2] = true;
  scoring::ContinueStep(ctx);
}

}  // namespace tavrel::view
