#include "scoring/hand_over.h"

#include <cstdlib>
#include <string>

#include "app/client_context.h"
#include "platform/names.h"
#include "props/props.h"
#include "scoring/continue_step.h"
#include "scoring/gold.h"
#include "scoring/hand_record.h"
#include "scoring/history.h"
#include "scoring/settlement.h"
#include "session/cp936.h"
#include "session/system_messages.h"
#include "session/transport.h"
#include "view/pictures.h"
#include "view/sheet_windows.h"

namespace tavrel::scoring {
namespace {

platform::Form& Sheet(ClientContext& ctx) { return ctx.ui.form(frm::Score); }

// The 20 caption bytes of the fourth HandOver: a zero byte reads as a space, and the
// spaces around the text go.
std::string ReadWinnerCaption(const Packet& p) {
  std::string gbk;
  for (std::size_t i = 0; i < off::kWinnerCaptionBytes; ++i) {
    const std::uint8_t b = wire::U8At(p, off::kWinnerCaption, i);
    gbk.push_back(b == 0 ? ' ' : static_cast<char>(b));
  }
  return text::TrimSpaces(text::Cp936ToUtf8(gbk));
}

void DrawnHand(ClientContext& ctx) {
  for (int s = 0; s < 4; ++s) ShowSheetFace(ctx, s);
  if (!ctx.props.Active()) {
    BuildDrawSheet(ctx);
    return;
  }
  ctx.handEnd.SheetPending = true;
  ctx.handEnd.DrawPending = true;
  props::StartHandEndShow(ctx, true);
}

}  // namespace

// A seat's avatar and name on the sheet, as the players' details keep them for it.
void ShowSheetFace(ClientContext& ctx, int s) {
  platform::Form& sheet = Sheet(ctx);
  platform::Control& avatar = sheet.Get(ctl::Score::Tou, s);
  if (!avatar.tag.empty()) {
    const int index = std::atoi(avatar.tag.c_str());
    if (index >= 0 && index < static_cast<int>(ctx.view.AvatarPictures.size()))
      view::LoadResourcePicture(ctx, ctx.view.AvatarPictures[index], avatar);
  }
  sheet.Get(ctl::Score::ID, s).SetCaption(ctx.players.SheetFace[s].name);
}

void OnHandOver(ClientContext& ctx) {
  HandEnd& he = ctx.handEnd;
  const Info& info = ctx.session.info;
  const Packet& p = ctx.session.RecvPacket;
  session::ArmPropHolding(ctx);
  ctx.session.HandResultWait = true;
  const int s = round::RelSeat(ctx.table, info.Seat);
  he.CapHit[s] = wire::U8(p, off::kHandCapHit);
  platform::Form& sheet = Sheet(ctx);
  sheet.Get(ctl::Score::State, s).Clear();
  sheet.Get(ctl::Score::State, s + 4).Clear();
  double total = static_cast<double>(wire::I64LE(p, off::kHandTotal));
  if ((info.value[1] & 0xFF) == 0) total = -total;
  ctx.table.custom[s].HandTotal = total;
  he.ResultsHandNo = ctx.table.HandNo;
  if (++he.HandOverCount != 4) return;
  he.HandOverCount = 0;
  bool drawn = true;
  for (const auto& seat : ctx.table.custom) drawn = drawn && seat.HandTotal == 0;
  if (drawn) {
    DrawnHand(ctx);
    return;
  }
  he.WinnerCaption = ReadWinnerCaption(p);
}

void BuildDrawSheet(ClientContext& ctx, bool afterPropShow) {
  HandEnd& he = ctx.handEnd;
  ctx.table.Playing = false;
  AddHandRow(ctx, ctx.table.HandNo);
  platform::Form& sheet = Sheet(ctx);
  const std::string gold = UnitText(true);
  for (int s = 0; s < 4; ++s) {
    platform::Control& column = sheet.Get(ctl::Score::State, s);
    if (!afterPropShow) {
      sheet.Get(ctl::Score::ID, s).SetForeColor(platform::kRed);
      column.SetForeColor(platform::kBlack);
    }
    column.AddItem(kDrawnHandLine);
    he.FinalAmount[s] = 0;
    if (afterPropShow) {
      AppendPropLines(ctx, s);
      ShowGoldIn(ctx, s, gold);
    }
    sheet.Get(ctl::Score::State, s + 4).AddItem(kFinalLinePrefix + Amount(he.FinalAmount[s]) + gold);
    AddGradeRow(ctx, s, he.FinalAmount[s], gold);
    ShowRunningTotal(ctx, s, gold);
  }
  if (!ctx.view.BossKeyActive) view::ShowSheet(ctx);
  // A drawn hand always gets the long countdown.
  AfterSheet(ctx, kContinueSeconds);
}

bool HandInProgress(const ClientContext& ctx) {
  return ctx.table.Playing && ctx.handEnd.ResultsHandNo != ctx.table.HandNo;
}

void AfterSheet(ClientContext& ctx, int countdownSeconds) {
  WriteHandRecord(ctx, ctx.table.HandNo);
  props::HandSheetShown(ctx);
  session::SysList(ctx, 0).Clear();
  session::ShowLine(ctx, 0, kMsgPressContinue);
  ctx.view.HandStarted[2] = false;
  ctx.table.Playing = false;
  ctx.handEnd.Continued = false;
  ctx.sched.TurnClockOn = false;
  session::SysList(ctx, 1).Clear();
  session::ShowLine(ctx, 1, kMsgStartsSoon);
  if (!ctx.startup.Spectator) StartContinueCountdown(ctx, countdownSeconds);
  ctx.session.HandResultWait = false;
}

}  // namespace tavrel::scoring
