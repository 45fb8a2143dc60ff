// The table view's part of the client: the start-up layout steps, the window
// frame's input handlers and the player's input on the table.
#include "app/client_context.h"
#include "app/registrations.h"
#include "session/commands.h"
#include "session/dispatcher.h"
#include "view/decision_clock.h"
#include "view/exit_forms.h"
#include "view/hand_input.h"
#include "view/layout.h"
#include "view/offer_buttons.h"
#include "view/player_card.h"
#include "view/sheet_windows.h"
#include "view/start_button.h"
#include "view/table_keys.h"
#include "view/window_frame.h"

namespace tavrel::view {

namespace {

using platform::UiEvent;
using platform::UiEventType;

// The mouse and the keys on the table, the offer buttons and the gang chooser.
void InstallPlayerInput(ClientContext& ctx) {
  ClientContext* c = &ctx;
  platform::Form& form = ctx.main();
  form.On(ctl::MJ_Image, UiEventType::MouseMove, [c](const UiEvent& e) { TileMouseMove(*c, e.index); });
  form.On(ctl::MJ_Image, UiEventType::MouseDown, [c](const UiEvent& e) { TileMouseDown(*c, e.index, e.button); });
  form.On(ctl::Pic1, UiEventType::MouseMove, [c](const UiEvent& e) { TableMouseMove(*c, e.x, e.y); });
  form.On(ctl::Pic1, UiEventType::MouseUp, [c](const UiEvent& e) { TableMouseUp(*c, e.button); });
  form.On(ctl::Pic1, UiEventType::Click, [c](const UiEvent&) { TableClick(*c); });
  form.On(ctl::Pic1, UiEventType::KeyDown, [c](const UiEvent& e) { OnTableKeyDown(*c, e.key); });
  // The system-message lines on the table know F1 too; keys anywhere else on the
  // window only reach the plug-in.
  form.On(ctl::Sysmsg, UiEventType::KeyDown, [c](const UiEvent& e) {
    if (e.key == kKeyF1)
      BossKey(*c);
    else
      ForwardKeyToPlugin(*c, e.key);
  });
  form.On("", UiEventType::KeyDown, [c](const UiEvent& e) { ForwardKeyToPlugin(*c, e.key); });
  form.On(ctl::Operation, UiEventType::Click, [c](const UiEvent& e) { OperationClick(*c, e.index); });
  form.On(ctl::Gang, UiEventType::Click, [c](const UiEvent& e) { GangClick(*c, e.index); });

  ctx.sched.turnClockBody = CountdownTick;
  // A new hand, a rejoin and the end of the table forget any offer.
  ctx.view.resetLayoutSteps.push_back([c] { ResetDecision(*c); });
  ctx.hooks.closeTableSteps.push_back([c] {
    ResetDecision(*c);
    c->view.input.TimeoutCount = 0;
  });
}

}  // namespace

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
  ctx.view.actions.toggleResults = [c] { ToggleResults(*c); };
  ctx.view.actions.toggleHistory = [c] { ToggleHistory(*c); };
  InstallWindowFrameHandlers(ctx);
  InstallPlayerInput(ctx);
  CreateExitForms(ctx);
  CreatePlayerCard(ctx);
  CreateSheetWindows(ctx);
  session::RegisterHandler(ctx, cmd::kTableClosed, OnTableClosed);
}

}  // namespace tavrel::view
