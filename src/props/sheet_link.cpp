#include "props/sheet_link.h"

#include "app/client_context.h"
#include "scoring/hand_over.h"
#include "scoring/settlement.h"

namespace tavrel::props {

void HandResultsToSheet(ClientContext& ctx, const ScoreInfo& score) {
  for (int p = 0; p < 4; ++p) {
    ctx.handEnd.PropLines[p] = score.lines[p];
    ctx.handEnd.PropScore[p] = score.gold[p];
  }
}

void BuildSheet(ClientContext& ctx, bool drawnHand) {
  ctx.handEnd.SheetPending = false;
  if (drawnHand)
    scoring::BuildDrawSheet(ctx, true);
  else
    scoring::BuildSettlementSheet(ctx);
}

}  // namespace tavrel::props
