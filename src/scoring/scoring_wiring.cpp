// The hand end's and the players' part of the client: gold changes, the
// hand's end (results, patterns, the sheet, the history), the continue clock,
// the players' details and departures, the seat-change display
// and the record file's end with the table.
#include "app/client_context.h"
#include "app/registrations.h"
#include "platform/names.h"
#include "scoring/continue_step.h"
#include "scoring/departures.h"
#include "scoring/gold.h"
#include "scoring/hand_over.h"
#include "scoring/hand_record.h"
#include "scoring/history.h"
#include "scoring/seat_change.h"
#include "scoring/settlement.h"
#include "scoring/user_info.h"
#include "session/commands.h"
#include "session/dispatcher.h"

namespace tavrel::scoring {
namespace {

// The table is shut down: nobody is seated any more.
void ForgetPlayers(ClientContext& ctx) {
  Players& pl = ctx.players;
  pl.SheetFace = {};
  pl.WealthRates = {};
  pl.TableWealthRate = 0;
  pl.SeatlessCount = 0;
  pl.LastSeatlessPosition = 1;
  pl.InfoRound = false;
  pl.InfoCount = 0;
  pl.SeatNamesReceived = false;
  pl.SpectatorSlotCount = 0;
  ctx.handEnd.TableFormed = false;
  StopSeatChangeDisplay(ctx);
  if (platform::Form* hero = ctx.ui.Find(frm::Hero))
    for (int p = 0; p < 4; ++p) {
      if (platform::Control* id = hero->Find(ctl::Hero::ID, p)) id->SetCaption("");
      if (platform::Control* avatar = hero->Find(ctl::Hero::Tou, p)) avatar->SetPicture(0);
    }
  if (platform::Form* sheet = ctx.ui.Find(frm::Score))
    for (int p = 0; p < 4; ++p)
      if (platform::Control* avatar = sheet->Find(ctl::Score::Tou, p)) avatar->tag.clear();
}

}  // namespace

void RegisterScoring(ClientContext& ctx) {
  session::RegisterHandler(ctx, cmd::kOwnGoldChange, OnOwnGoldChange);
  session::RegisterHandler(ctx, cmd::kGoldChange, OnGoldChange);
  session::RegisterHandler(ctx, cmd::kUserInfo, OnUserInfo);
  session::RegisterHandler(ctx, cmd::kPlayerLeft, OnPlayerLeft);
  session::RegisterHandler(ctx, cmd::kTableUsers, OnTableUsers);
  session::RegisterHandler(ctx, cmd::kHandOver, OnHandOver);
  session::RegisterHandler(ctx, cmd::kSettlement, OnSettlement);
  ctx.sched.continueClockBody = ContinueClockTask;
  // A drawn hand's sheet waiting for the prop show is forgotten with the layout.
  ctx.view.resetLayoutSteps.push_back([c = &ctx] { c->handEnd.DrawPending = false; });
  InstallTimerShuffle(ctx);
  ClientContext* c = &ctx;
  ctx.hooks.seatChangeDisplay = [c] { StartSeatChangeDisplay(*c); };
  // The table's wealth flag is the rate the players' details or the seat change brought last.
  ctx.view.wealthDoubling = [c] { return c->players.TableWealthRate != 0; };
  // Leaving stops the seat-change caption and hides its panel.
  ctx.startup.leaveTableSteps.push_back([c] { StopSeatChangeDisplay(*c); });
  // The hand record belongs to the table: it goes when the table is shut down.
  ctx.hooks.closeTableSteps.push_back([c] { DeleteRecordFile(*c); });
  ctx.hooks.closeTableSteps.push_back([c] { ForgetPlayers(*c); });
  ctx.hooks.closeTableSteps.push_back([c] { ForgetHands(*c); });
}

}  // namespace tavrel::scoring
