// The table view's part of the client: the start-up layout steps and the
// window frame's input handlers.
#include "app/client_context.h"
#include "app/registrations.h"
#include "session/commands.h"
#include "session/dispatcher.h"
#include "view/exit_forms.h"
#include "view/layout.h"
#include "view/player_card.h"
#include "view/start_button.h"
#include "view/window_frame.h"

namespace tavrel::view {

void RegisterView(ClientContext& ctx) {
  ClientContext* c = &ctx;
  ctx.hooks.prepareLayout = [c] {
    SetLayoutScale(*c);
    InitPictureTables(*c);
    InitLayout(*c);
    ApplyWindowFrame(*c);
  };
  ctx.hooks.finishLayout = [c] { FinishLayout(*c); };
  // A fresh login: the start button idle and unusable until the table is formed.
  ctx.startup.freshLoginSteps.push_back([c] { StartButtonIdle(*c); });
  // The table shut down: the start button usable again, the wealth display reset.
  ctx.hooks.closeTableSteps.push_back([c] {
    c->view.StartPictureMode = true;
    StartButtonUsable(*c);
    ResetWealthDisplay(*c);
    HidePlayerCard(*c);
  });
  ctx.view.actions.startOrContinue = [c] { OnStartButton(*c); };
  InstallWindowFrameHandlers(ctx);
  CreateExitForms(ctx);
  CreatePlayerCard(ctx);
  session::RegisterHandler(ctx, cmd::kTableClosed, OnTableClosed);
}

}  // namespace tavrel::view
