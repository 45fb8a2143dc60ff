// The settlement hand-off: between the hand's results and the settlement sheet the
// plug-in gets its show (its results, the chests).
#include "app/client_context.h"
#include "props/props.h"
#include "props/props_internal.h"
#include "props/sheet_link.h"
#include "session/debug_log.h"

namespace tavrel::props {
namespace {

// The plug-in's results are waited for this many ticks (10 s); then the sheet comes
// without them rather than never.
constexpr int kScoreWaitLimitTicks = 200;

void SheetNow(ClientContext& ctx) {
  ctx.props.SettlementPending = false;
  ShowSettlementSheet(ctx);
}

}  // namespace

void StartHandEndShow(ClientContext& ctx, bool drawnHand) {
  auto& b = ctx.props;
  b.SettlementPending = true;
  b.DrawSettlement = drawnHand;
  b.show = HandEndShow::Running;
  b.scoreWaitTicks = 0;
  b.score = ScoreInfo{};
  if (b.Active()) b.PropPlugin->InitShowEnd();
}

void SettlementHandOff(ClientContext& ctx) {
  auto& b = ctx.props;
  if (!b.Active() || !b.ScoreInfoPending) {
    SheetNow(ctx);
    return;
  }
  ScoreInfo score;
  if (b.PropPlugin->GetScoreInfo(score) != 1) {
    if (++b.scoreWaitTicks <= kScoreWaitLimitTicks) return;
    session::DebugLine(ctx, "prop plug-in: no results for the hand; the sheet is shown without them");
    b.ScoreInfoPending = false;
    SheetNow(ctx);
    return;
  }
  b.score = score;
  b.ScoreInfoPending = b.SettlementPending = b.ChestOpened = false;
  if (b.PropState == kActiveWithChests)
    PlayBaoXiang(ctx);
  else
    ShowSettlementSheet(ctx);
}

void ShowSettlementSheet(ClientContext& ctx) {
  auto& b = ctx.props;
  HandResultsToSheet(ctx, b.score);
  b.score = ScoreInfo{};
  BuildSheet(ctx, b.DrawSettlement);
  if (b.Active()) b.PropPlugin->InitShowNext(false);
}

void HandSheetShown(ClientContext& ctx) {
  auto& b = ctx.props;
  const bool close = b.closeAfterSheet, off = b.offAfterSheet;
  b.show = HandEndShow::SheetShown;
  if (!close && !off) return;
  b.show = HandEndShow::Idle;
  ClosePropPlugin(ctx);
  if (off) b.PropState = kPropsOff;
}

}  // namespace tavrel::props
