// The sound module's start-up and unload steps and its settings window.
#include "app/client_context.h"
#include "app/registrations.h"
#include "platform/names.h"
#include "sound/sound.h"
#include "sound/sound_settings.h"

namespace tavrel::sound {

void RegisterSound(ClientContext& ctx) {
  ClientContext* c = &ctx;
  ctx.hooks.setUpSound = [c] { SetUpSound(*c); };
  CreateVosSet(ctx);
  ctx.view.actions.toggleSettings = [c] { ToggleVosSet(*c); };
  ctx.startup.mainUnloadSteps.push_back([c] {
    StopAll(*c);
    c->ui.form(frm::VosSet).Unload();
  });
}

}  // namespace tavrel::sound
