// The props' part of the client: the prop commands, the tick's step 12, TimerProp
// and the chest clicks.
#include "app/client_context.h"
#include "app/registrations.h"
#include "platform/names.h"
#include "props/props.h"
#include "props/props_internal.h"
#include "session/commands.h"
#include "session/dispatcher.h"

namespace tavrel::props {

void RegisterProps(ClientContext& ctx) {
  auto& b = ctx.props;
  b.TimerProp = ctx.platform.CreateTimer();
  b.TimerProp->SetInterval(50);
  b.TimerProp->SetEnabled(false);
  ClientContext* c = &ctx;
  b.TimerProp->onTick = [c] { TimerPropTick(*c); };
  // Prop messages go to the plug-in whole.
  for (int command : {cmd::kPropMessage44, cmd::kPropMessage45})
    session::RegisterHandler(ctx, command, [](ClientContext& cx) { TellPacket(cx, cx.session.RecvPacket); });
  session::RegisterHandler(ctx, cmd::kPropScore, OnPropScore);
  ctx.main().On(ctl::ImgProp, platform::UiEventType::Click,
                [c](const platform::UiEvent& e) { ChestClicked(*c, e.index); });
}

}  // namespace tavrel::props
