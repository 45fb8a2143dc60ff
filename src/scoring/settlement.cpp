#include "scoring/settlement.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/client_context.h"
#include "platform/names.h"
#include "props/props.h"
#include "scoring/gold.h"
#include "scoring/hand_over.h"
#include "scoring/history.h"
#include "scoring/patterns.h"
#include "session/cp936.h"
#include "view/sheet_windows.h"

namespace tavrel::scoring {
namespace {

constexpr double kMostColour = 16777215;  // 0xFFFFFF
constexpr std::size_t kColourDigits = 8;

platform::Form& Sheet(ClientContext& ctx) { return ctx.ui.form(frm::Score); }
platform::Control& Column(ClientContext& ctx, int i) { return Sheet(ctx).Get(ctl::Score::State, i); }

// A text that is a number as a whole ("00065280", " 12 "); false otherwise.
bool WholeNumber(const std::string& text, double& out) {
  const std::string t = text::TrimSpaces(text);
  if (t.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || errno == ERANGE || !std::isfinite(v)) return false;
  out = v;
  return true;
}

std::vector<std::string> SplitAt(const std::string& text, char sep) {
  std::vector<std::string> pieces;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = text.find(sep, from);
    pieces.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) return pieces;
    from = at + 1;
  }
}

// The subtotal before the multipliers, when the hand was multiplied (step 7.5).
void SubtotalLine(ClientContext& ctx, platform::Control& column, double total) {
  const bool dice = ctx.table.DiceDoubling != 0;
  const bool wealth = ctx.players.TableWealthRate != 0;
  const double d = MultiplierValue(ctx.main().Get(ctl::lblDifen).Caption());
  const double w = MultiplierValue(ctx.main().Get(ctl::lbwealth).Caption());
  double subtotal = 0;
  if (dice && wealth && d != 0 && w != 0) subtotal = total / w / d;
  else if (wealth && w != 0) subtotal = total / w;
  else if (dice && d != 0) subtotal = total / d;
  else return;
  column.AddItem("小计:" + Amount(RoundHalfEven(subtotal)) + "金币");
}

// Seat s's gold, points, wins and losses after the hand (step 7, before the props).
void BookResult(ClientContext& ctx, int s, double amount) {
  Detail& d = ctx.players.Detail[s];
  d.Coins += amount;
  if (d.Coins < 0) d.Coins = 0;
  if (amount > 0) ++d.Wins;
  if (amount < 0) ++d.Losses;
  d.Points += amount;
  // Points never fall to nothing: a negative result leaves 1.
  if (d.Points < 0) d.Points = 1;
}

}  // namespace

double MultiplierValue(const std::string& caption) {
  double v = 0;
  return WholeNumber(caption, v) ? v : 0;
}

double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return 0;
  const double down = std::floor(v);
  const double rest = v - down;
  if (rest > 0.5) return down + 1;
  if (rest < 0.5) return down;
  return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

void ShowGoldIn(ClientContext& ctx, int s, const std::string& unit) {
  ctx.main().Get(ctl::Cash, s).SetCaption(Amount(ctx.players.Detail[s].Coins) + unit);
}

void AppendPropLines(ClientContext& ctx, int s) {
  HandEnd& he = ctx.handEnd;
  platform::Control& column = Column(ctx, s);
  if (!he.PropLines[s].empty()) {
    column.AddItem("");
    for (std::string piece : SplitAt(he.PropLines[s], '|')) {
      double colour = 0;
      if (WholeNumber(text::LastChars(piece, kColourDigits), colour) && colour >= 0 && colour <= kMostColour)
        column.SetForeColor(static_cast<std::uint32_t>(colour));
      const std::size_t chars = text::CharCount(piece);
      if (chars > kColourDigits - 1) piece = text::FirstChars(piece, chars - kColourDigits);
      column.AddItem(piece);
    }
    column.AddItem("");
  }
  const double score = std::isfinite(he.PropScore[s]) ? he.PropScore[s] : 0;
  he.FinalAmount[s] += score;
  ctx.players.Detail[s].Coins += score;
  ctx.players.RunningTotal[s] += score;
  he.PropScore[s] = 0;
  he.PropLines[s].clear();
}

void OnSettlement(ClientContext& ctx) {
  HandEnd& he = ctx.handEnd;
  const Info& info = ctx.session.info;
  const int s = round::RelSeat(ctx.table, info.Seat);
  ScoreRecord& r = he.Records[s];
  // Computed wide: a base beyond 16 bits is shown as it is, not wrapped.
  r.RoomBase = static_cast<std::int32_t>(info.value[0]) * 256 + info.value[1];
  r.Unit = static_cast<std::uint8_t>(info.value[3] & 0xFF);
  r.packet = ctx.session.RecvPacket;
  if (++he.SettlementCount != 4) return;
  he.SettlementCount = 0;
  he.SheetPending = true;
  if (ctx.props.Active()) {
    props::StartHandEndShow(ctx, false);
    return;
  }
  BuildSettlementSheet(ctx);
}

void BuildSettlementSheet(ClientContext& ctx) {
  HandEnd& he = ctx.handEnd;
  he.SheetPending = false;
  Players& pl = ctx.players;
  for (int i = 0; i < 8; ++i) Column(ctx, i).Clear();
  for (int s = 0; s < 4; ++s) {
    const ScoreRecord& r = he.Records[s];
    he.FinalAmount[s] = r.FinalAmount();
    pl.RunningTotal[s] += he.FinalAmount[s];
    pl.Detail[s].LevelTitle = r.LevelTitle();
    ctx.main().Get(ctl::Level, s).SetCaption(pl.Detail[s].LevelTitle);
  }
  AddHandRow(ctx, ctx.table.HandNo);
  for (int s = 0; s < 4; ++s) {
    platform::Control& column = Column(ctx, s);
    column.AddItem("   初始：" + ctx.table.InitialGold[s]);
    column.AddItem(" -------------------  ");
    column.AddItem("");
    column.AddItem("   房间底金:  " + std::to_string(he.Records[s].RoomBase));
    column.AddItem(" ");
  }
  BuildPatternLines(ctx);
  for (int s = 0; s < 4; ++s) {
    Column(ctx, s).AddItem("------------------------------");
    Column(ctx, s).AddItem(" ");
  }
  std::array<int, 4> rows{};
  int most = 0;
  for (int s = 0; s < 4; ++s) {
    platform::Control& column = Column(ctx, s);
    const double total = ctx.table.custom[s].HandTotal;
    const std::string unit = UnitText(he.Records[s].InGold());
    BookResult(ctx, s, he.FinalAmount[s]);
    rows[s] = column.ListCount();
    most = std::max(most, rows[s]);
    SubtotalLine(ctx, column, total);
    if (ctx.table.DiceDoubling != 0) column.AddItem("骰子加倍 ×" + ctx.main().Get(ctl::lblDifen).Caption());
    if (pl.TableWealthRate != 0) column.AddItem("财富加倍 ×" + ctx.main().Get(ctl::lbwealth).Caption());
    column.AddItem("胡牌总分：" + Amount(total) + unit);
    column.AddItem("");
  }
  for (int s = 0; s < 4; ++s) Column(ctx, s).AddItem(he.CapHit[s] == 1 ? "金币封顶" : "");
  for (int s = 0; s < 4; ++s) Column(ctx, s).AddItem(he.FinalAmount[s] > 0 ? he.WinnerCaption : " ");
  for (int s = 0; s < 4; ++s) {
    platform::Control& column = Column(ctx, s);
    const std::string unit = UnitText(he.Records[s].InGold());
    column.AddItem(kFinalLinePrefix + Amount(he.FinalAmount[s]) + unit);
    column.SetForeColor(platform::kBlack);
    AppendPropLines(ctx, s);
    ShowGoldIn(ctx, s, unit);
    Column(ctx, s + 4).AddItem(kFinalLinePrefix + Amount(he.FinalAmount[s]) + unit);
    AddGradeRow(ctx, s, he.FinalAmount[s], unit);
    ShowRunningTotal(ctx, s, unit);
    // Empty lines in front of the subtotal block, so that the blocks of all columns
    // start on the same row.
    for (int k = 0; k <= most - rows[s]; ++k) column.AddItemAt("", rows[s] - 1 + k);
  }
  view::ShowSheet(ctx);
  for (int s = 0; s < 4; ++s) ShowSheetFace(ctx, s);
  AfterSheet(ctx, ctx.startup.ShortClockMode ? kShortContinueSeconds : kContinueSeconds);
}

}  // namespace tavrel::scoring
