// The round flow's part of the client: its command handlers.
#include "app/client_context.h"
#include "app/registrations.h"
#include "round/seat_handlers.h"
#include "session/commands.h"
#include "session/dispatcher.h"

namespace tavrel::round {

void RegisterRound(ClientContext& ctx) {
  session::RegisterHandler(ctx, cmd::kSeatName, OnSeatName);
  session::RegisterHandler(ctx, cmd::kPlayerReady, OnPlayerReady);
}

}  // namespace tavrel::round
