#include "props/sheet_link.h"

#include "app/client_context.h"

namespace tavrel::props {

void HandResultsToSheet(ClientContext& ctx, const ScoreInfo& score) { ctx.props.sheetResults = score; }

void BuildSheet(ClientContext& ctx, bool drawnHand) {
  if (ctx.props.buildSheet) ctx.props.buildSheet(drawnHand);
}

}  // namespace tavrel::props
