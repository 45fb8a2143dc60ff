// The hand end's and the players' part of the client: gold changes, the
// continue clock and the record file's end with the table.
#include "app/client_context.h"
#include "app/registrations.h"
#include "scoring/continue_step.h"
#include "scoring/gold.h"
#include "scoring/hand_record.h"
#include "session/commands.h"
#include "session/dispatcher.h"

namespace tavrel::scoring {

void RegisterScoring(ClientContext& ctx) {
  session::RegisterHandler(ctx, cmd::kOwnGoldChange, OnOwnGoldChange);
  session::RegisterHandler(ctx, cmd::kGoldChange, OnGoldChange);
  ctx.sched.continueClockBody = ContinueClockTask;
  // The hand record belongs to the table: it goes when the table is shut down.
  ctx.hooks.closeTableSteps.push_back([&ctx] { DeleteRecordFile(ctx); });
}

}  // namespace tavrel::scoring
