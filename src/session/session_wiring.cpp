// Handlers and hooks of the transport core.
#include "app/client_context.h"
#include "app/registrations.h"
#include "session/commands.h"
#include "session/seat_handlers.h"

namespace tavrel::session {

void RegisterSession(ClientContext& ctx) {
  RegisterHandler(ctx, cmd::kSeatName, OnSeatName);
  RegisterHandler(ctx, cmd::kPlayerReady, OnPlayerReady);
  RegisterHandler(ctx, cmd::kOwnGoldChange, OnOwnGoldChange);
  RegisterHandler(ctx, cmd::kGoldChange, OnGoldChange);
  // Prop messages go to the plug-in whole.
  for (int c : {cmd::kPropMessage44, cmd::kPropMessage45, cmd::kPropScore})
    RegisterHandler(ctx, c, [](ClientContext& cx) {
      if (cx.props.Active()) cx.props.plugin->Rec_MSG(cx.session.RecvPacket);
    });
}

}  // namespace tavrel::session
