// The round flow's part of the client: its command handlers, the blink and bubble
// task bodies, and a clean player table to start from.
#include "app/client_context.h"
#include "app/registrations.h"
#include "round/claim_result.h"
#include "round/deal_restore.h"
#include "round/draw_discard.h"
#include "round/new_hand.h"
#include "round/seat_handlers.h"
#include "round/showdown.h"
#include "round/table_reset.h"
#include "session/commands.h"
#include "session/dispatcher.h"

namespace tavrel::round {

void RegisterRound(ClientContext& ctx) {
  session::RegisterHandler(ctx, cmd::kSeatName, OnSeatName);
  session::RegisterHandler(ctx, cmd::kPlayerReady, OnPlayerReady);
  session::RegisterHandler(ctx, cmd::kNewHand, OnNewHand);
  session::RegisterHandler(ctx, cmd::kHandParams, OnHandParams);
  session::RegisterHandler(ctx, cmd::kTableReset, OnTableReset);
  session::RegisterHandler(ctx, cmd::kDealTiles, OnDealTiles);
  session::RegisterHandler(ctx, cmd::kDrawTile, OnDrawTile);
  session::RegisterHandler(ctx, cmd::kDiscardTile, OnDiscardTile);
  session::RegisterHandler(ctx, cmd::kClaimOptions, OnClaimOptions);
  session::RegisterHandler(ctx, cmd::kSeatTiles, OnSeatTiles);
  session::RegisterHandler(ctx, cmd::kClaimResult, OnClaimResult);
  session::RegisterHandler(ctx, cmd::kHandShowdown, OnHandShowdown);
  ctx.sched.blinkBody = BlinkTask;
  ctx.sched.bubblesBody = BubblesTask;
  ClientContext* c = &ctx;
  ctx.view.diceDoubling = [c] { return c->table.DiceDoubling != 0; };
  // The count of 胡 shown starts again with each hand's layout.
  ctx.view.resetLayoutSteps.push_back([c] { c->table.HuCount = 0; });
  // Every seat starts as a reset leaves it (the others' first meld ends at slot 4).
  ResetSeats(ctx);
}

}  // namespace tavrel::round
