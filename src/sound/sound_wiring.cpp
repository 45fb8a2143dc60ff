// The sound module's start-up and unload steps.
#include "app/client_context.h"
#include "app/registrations.h"
#include "sound/sound.h"

namespace tavrel::sound {

void RegisterSound(ClientContext& ctx) {
  ClientContext* c = &ctx;
  ctx.hooks.setUpSound = [c] { SetUpSound(*c); };
  ctx.startup.mainUnloadSteps.push_back([c] { StopAll(*c); });
}

}  // namespace tavrel::sound
