#include "app/table_dump.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "app/client_context.h"
#include "chat/chat_line.h"
#include "chat/speech_bubbles.h"
#include "platform/names.h"
#include "sound/sound.h"
#include "view/pictures.h"

namespace tavrel::app {
namespace {

// One line of text whatever it holds: a line break is written as \r or \n.
std::string OneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

// The settlement sheet's lists and the history's rows and totals.
void DescribeSheets(ClientContext& ctx, std::ostringstream& out) {
  if (const platform::Form* sheet = ctx.ui.Find(frm::Score)) {
    out << "sheet visible=" << sheet->Visible() << "\n";
    for (int i = 0; i < 8; ++i)
      if (const platform::Control* list = sheet->Find(ctl::Score::State, i))
        for (const std::string& line : list->Items()) out << "sheetline " << i << " " << OneLine(line) << "\n";
  }
  if (const platform::Form* hero = ctx.ui.Find(frm::Hero)) {
    out << "history visible=" << hero->Visible() << "\n";
    const platform::Control* num = hero->Find(ctl::Hero::Num);
    for (int row = 0; num && row < num->ListCount(); ++row) {
      out << "history row" << num->Items()[row];
      for (int s = 0; s < 4; ++s) {
        const platform::Control* grade = hero->Find(ctl::Hero::Grade, s);
        out << " |" << (grade && row < grade->ListCount() ? grade->Items()[row] : std::string());
      }
      out << "\n";
    }
    for (int s = 0; s < 4; ++s)
      if (const platform::Control* total = hero->Find(ctl::Hero::sumScore, s))
        out << "history total " << s << " " << total->Caption() << "\n";
  }
}

}  // namespace

std::string DescribeTable(ClientContext& ctx) {
  const round::Table& t = ctx.table;
  std::ostringstream out;
  out << "round hand=" << t.HandNo << " front=" << t.WallFront << " back=" << t.WallBack << " wild=" << t.WildTile
      << " indicator=" << t.WildIndicator << " lastImage=" << t.LastDiscardImage
      << " lastSeat=" << int(t.LastDiscardSeat) << " lastCode=" << t.LastDiscardCode
      << " flushed=" << t.LastDiscardFlushed << " restoreDone=" << (t.RestoreDone != 0)
      << " playing=" << t.Playing << " scale=" << ctx.view.LayoutScale << "\n";
  for (int r = 0; r < 4; ++r) {
    const round::PlayerEntry& s = t.custom[r];
    out << "seat " << r << " mask=" << int(s.seat) << " first=" << s.firstConcealed << " count=" << s.concealedCount
        << " meldEnd=" << s.meldEnd << " red=" << s.redBonusCount << " wildBonus=" << s.wildBonusCount
        << " discards=" << t.RowDiscards[r] << " dealer=" << (s.isDealer != 0) << "\n";
  }
  out << "claims type=" << t.ClaimType << " tiles=" << int(t.MeldTiles[0]) << "," << int(t.MeldTiles[1]) << ","
      << int(t.MeldTiles[2]) << " hu=" << t.HuCount << " winner=" << t.WinnerSeat << " nextFromFront=" << (t.NextFromFront != 0)
      << "\n";
  for (int r = 0; r < 4; ++r) {
    out << "gangtops " << r;
    for (int k = 0; k < t.GangTopCount[r] && k < static_cast<int>(t.GangTops.size()); ++k) out << " " << t.GangTops[k][r];
    out << "\n";
  }
  for (int r = 1; r < 4; ++r) {
    out << "revealed " << r << " n=" << t.RevealedCount[r];
    for (int k = 0; k < t.RevealedCount[r] && k < round::kSlotCount; ++k) out << " " << t.RevealedTiles[k][r];
    out << "\n";
  }
  out << "peek count=" << int(t.PeekCount);
  for (int k = 0; k < t.PeekCount && k < 5; ++k) out << " " << t.PeekPositions[k] << ":" << int(t.PeekTiles[k]);
  out << "\n";
  platform::Form& main = ctx.main();
  auto caption = [&](const platform::ControlName& name, int index) {
    const platform::Control* c = main.Find(name, index);
    return c ? c->Caption() : std::string();
  };
  auto shown = [&](const platform::ControlName& name, int index) {
    const platform::Control* c = main.Find(name, index);
    return c && c->Visible();
  };
  for (int p = 0; p < 4; ++p) {
    const platform::Control* avatar = main.Find(ctl::Tou, p);
    out << "player " << p << " ok=" << shown(ctl::OK, p) << " tou=" << (avatar ? avatar->Picture() : 0)
        << " account=" << t.custom[p].name << " nid=" << caption(ctl::Nid, p) << "\n";
  }
  for (int list = 0; list < 2; ++list)
    if (const platform::Control* lines = main.Find(ctl::Sysmsg, list))
      for (const std::string& line : lines->Items()) out << "sysmsg " << list << " " << line << "\n";
  out << "countdown shown=" << shown(ctl::Number, -1) << " running=" << ctx.sched.ContinueClockOn
      << " value=" << caption(ctl::Number, -1) << "\n";
  out << "seatchange banner=" << shown(ctl::ImgShuffle, -1) << " caption=" << caption(ctl::LblShuffle, -1) << "\n";
  if (const platform::Form* card = ctx.ui.Find(frm::Information)) {
    const platform::Control* name = card->Find(ctl::Information::Inf, 0);
    out << "card visible=" << card->Visible() << " left=" << std::lround(card->Bounds().left)
        << " top=" << std::lround(card->Bounds().top) << " name=" << (name ? name->Caption() : std::string()) << "\n";
  }
  out << "sound on=" << ctx.sound.SoundOn << " loop=" << ctx.sound.LoopOn << " phrases=" << ctx.sound.PhraseVoicesOn
      << " common=" << sound::CommonCollectionSelected(ctx) << "\n";
  if (const platform::Form* settings = ctx.ui.Find(frm::VosSet)) {
    const platform::Rect& b = settings->Bounds();
    out << "vosset visible=" << settings->Visible() << " " << std::lround(b.left) << " " << std::lround(b.top) << " "
        << std::lround(b.width) << " " << std::lround(b.height) << "\n";
    for (const auto& c : settings->Controls())
      if (c->Kind() == platform::ControlKind::Picture)
        out << "vosset-control " << c->Name() << " " << c->Index() << " " << std::lround(c->Left()) << " "
            << std::lround(c->Top()) << " " << std::lround(c->Width()) << " " << std::lround(c->Height()) << " "
            << c->Picture() << "\n";
  }
  // The chat: the line being typed, the history, the speech bubbles.
  out << "chatline text=" << caption(ctl::Chat, -1) << "\n";
  for (const std::string& line : chat::History(ctx).Items()) out << "history " << line << "\n";
  for (int seat = 0; seat < 4; ++seat)
    if (const platform::Form* bubble = chat::FindBubble(ctx, seat)) {
      const platform::Rect& b = bubble->Bounds();
      const platform::Control* text = bubble->Find(ctl::frmSpeakBox::labPhrase);
      out << "bubble " << seat << " shown=" << bubble->Visible() << " alpha=" << bubble->Alpha()
          << " left=" << std::lround(b.left) << " top=" << std::lround(b.top) << " width=" << std::lround(b.width)
          << " height=" << std::lround(b.height) << " rects=" << bubble->Region().size()
          << " text=" << (text ? text->Caption() : std::string()) << "\n";
    }
  DescribeSheets(ctx, out);
  for (int r = 0; r < 4; ++r)
    for (int k = 0; k < round::kSlotCount; ++k) {
      const round::TileSlot& slot = t.custom[r].tiles[k];
      if (slot.imageIndex >= 0 || slot.kind != 0)
        out << "slot " << r << " " << k << " " << slot.kind << " " << slot.code << " " << slot.imageIndex << "\n";
    }
  for (int i = 0; i < view::kTileImageCount; ++i) {
    const platform::Control& c = view::TileImage(ctx, i);
    out << "tile " << i << " " << c.Visible() << " " << std::lround(c.Left()) << " " << std::lround(c.Top()) << " "
        << std::lround(c.Width()) << " " << std::lround(c.Height()) << " " << c.Picture() << " " << c.Z() << "\n";
  }
  const view::InputState& in = ctx.view.input;
  out << "input decision=" << in.DecisionState << " replySent=" << in.ReplySent
      << " discardAllowed=" << (t.DiscardAllowed != 0) << " countdown=" << in.Countdown
      << " clock=" << ctx.sched.TurnClockOn << " timeouts=" << in.TimeoutCount << " boss=" << ctx.view.BossKeyActive
      << " gangChoices=" << in.GangChoiceCount << "\n";
  platform::Form& form = ctx.main();
  const platform::Control* surface = form.Find(ctl::Pic1);
  const double x0 = surface ? surface->Left() : 0, y0 = surface ? surface->Top() : 0;
  auto control = [&](const platform::ControlName& name, int index) {
    const platform::Control* c = form.Find(name, index);
    if (!c) return;
    const bool onTable = c->Container() == ctl::Pic1.name;
    out << "control " << name.name << " " << index << " " << c->Visible() << " " << c->Enabled() << " "
        << std::lround(c->Left() + (onTable ? x0 : 0)) << " " << std::lround(c->Top() + (onTable ? y0 : 0)) << " "
        << std::lround(c->Width()) << " " << std::lround(c->Height()) << " " << c->Picture() << " ";
    std::string caption = c->Caption().empty() ? "-" : c->Caption();
    std::replace(caption.begin(), caption.end(), '\n', '|');  // one line per control
    out << caption << "\n";
  };
  control(ctl::Pic1, -1);
  for (int i = 0; i < 9; ++i) control(ctl::AnNiu, i);
  for (int i = 0; i < 5; ++i) control(ctl::Operation, i);
  for (int i = 0; i < 5; ++i) control(ctl::Gang, i);
  control(ctl::Time_Img, -1);
  control(ctl::Number, -1);
  for (int i = 0; i < 3; ++i) control(ctl::Speak, i);
  for (int i = 0; i < 3; ++i) control(ctl::Image1, i);
  control(ctl::Words, -1);
  const props::PropBridge& b = ctx.props;
  out << "props state=" << b.PropState << " polling=" << b.PropPolling << " settlement=" << b.SettlementPending
      << " countdown=" << b.ChestCountdown << " seconds=" << b.ChestSeconds << " animating=" << b.ChestAnimating
      << " frame=" << b.ChestFrame << " opened=" << b.ChestOpened << " choices=" << b.Prop_BaoChs[0] << ","
      << b.Prop_BaoChs[1] << "," << b.Prop_BaoChs[2] << "," << b.Prop_BaoChs[3] << "\n";
  control(ctl::Bank, -1);
  control(ctl::LbProp, -1);
  for (int i = 0; i < props::kChestPlaces; ++i) control(ctl::ImgProp, i);
  return out.str();
}

}  // namespace tavrel::app
