#include "scoring/history.h"

#include "app/client_context.h"
#include "platform/names.h"
#include "scoring/gold.h"
#include "session/cp936.h"

namespace tavrel::scoring {

namespace {
constexpr int kHandNumberWidth = 12;
constexpr int kAmountWidth = 9;

platform::Form& History(ClientContext& ctx) { return ctx.ui.form(frm::Hero); }
}  // namespace

std::string UnitText(bool inGold) { return inGold ? "金币" : "金条"; }

std::string Pad(const std::string& text, int n) { return text::PadLeft(text, static_cast<std::size_t>(n)); }

std::string Amount(double v) { return FormatAmount(v); }

void AddHandRow(ClientContext& ctx, int handNo) {
  History(ctx).Get(ctl::Hero::Num).AddItem(Pad(std::to_string(handNo), kHandNumberWidth));
}

void AddGradeRow(ClientContext& ctx, int s, double amount, const std::string& unit) {
  History(ctx).Get(ctl::Hero::Grade, s).AddItem(Pad(Amount(amount), kAmountWidth) + unit);
}

void ShowRunningTotal(ClientContext& ctx, int s, const std::string& unit) {
  History(ctx).Get(ctl::Hero::sumScore, s).SetCaption(Amount(ctx.players.RunningTotal[s]) + unit);
}

void ForgetHands(ClientContext& ctx) {
  platform::Form& sheet = ctx.ui.form(frm::Score);
  for (int i = 0; i < 8; ++i) sheet.Get(ctl::Score::State, i).Clear();
  for (int s = 0; s < 4; ++s) {
    sheet.Get(ctl::Score::ID, s).SetCaption("");
    sheet.Get(ctl::Score::Tou, s).SetPicture(0);
  }
  sheet.Hide();
  platform::Form& hero = History(ctx);
  hero.Get(ctl::Hero::Num).Clear();
  for (int s = 0; s < 4; ++s) {
    hero.Get(ctl::Hero::Grade, s).Clear();
    hero.Get(ctl::Hero::sumScore, s).SetCaption("");
  }
  hero.Hide();
  // Section names must not repeat within one file: the count starts again with the file.
  ctx.table.HandNo = 0;
  HandEnd& he = ctx.handEnd;
  he.HandOverCount = 0;
  he.SettlementCount = 0;
  he.SheetPending = false;
  he.DrawPending = false;
  he.ResultsHandNo = -1;
  he.PropLines = {};
  he.PropScore = {};
}

}  // namespace tavrel::scoring
