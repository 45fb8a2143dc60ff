#include "scoring/player_display.h"

#include <string>

#include "app/client_context.h"
#include "platform/names.h"
#include "scoring/gold.h"
#include "scoring/user_info.h"
#include "view/layout.h"
#include "view/pictures.h"

namespace tavrel::scoring {
namespace {

platform::Control& Table(ClientContext& ctx, const platform::ControlName& name, int index = -1) {
  return view::OnTable(ctx, name, index);
}

void ShowWealth(ClientContext& ctx, bool on, std::uint32_t figure) {
  platform::Control& label = Table(ctx, ctl::lbwealth);
  platform::Control& picture = Table(ctx, ctl::Imgwealth);
  if (on) label.SetCaption(std::to_string(figure));
  label.SetVisible(on);
  picture.SetVisible(on);
}

}  // namespace

void ShowPlayer(ClientContext& ctx, int p) {
  if (p < 0 || p > 3) return;
  const Detail& d = ctx.players.Detail[p];
  const int avatar = AvatarIndex(d.Face);
  const int picture = ctx.view.AvatarPictures[avatar];
  view::LoadResourcePicture(ctx, picture, Table(ctx, ctl::Tou, p));
  ctx.ui.form(frm::Score).Get(ctl::Score::Tou, p).tag = std::to_string(avatar);
  Table(ctx, ctl::Nid, p).SetCaption("[" + d.Tag + "] " + d.username);
  ShowGold(ctx, p);
  Table(ctx, ctl::Level, p).SetCaption(d.LevelTitle);
  platform::Form& hero = ctx.ui.form(frm::Hero);
  hero.Get(ctl::Hero::ID, p).SetCaption(d.username);
  view::LoadResourcePicture(ctx, picture, hero.Get(ctl::Hero::Tou, p));
  ctx.players.SheetFace[p] = {d.username, avatar};
}

void ShowRuleIndicators(ClientContext& ctx, bool capRule, bool diceRule, std::uint32_t wealthRate) {
  struct Rule {
    int index;
    bool on;
    const char* text;
  };
  const Rule rules[] = {{0, capRule, kCapRuleText}, {1, wealthRate != 0, kWealthRuleText}, {2, diceRule, kDiceRuleText}};
  for (const Rule& r : rules) {
    if (!r.on) continue;
    platform::Control& line = Table(ctx, ctl::lbfont, r.index);
    line.SetCaption(r.text);
    line.SetVisible(true);
  }
}

void ShowWealthAfterRate(ClientContext& ctx, std::uint32_t rateJustReceived) {
  ctx.players.TableWealthRate = rateJustReceived;
  ShowWealth(ctx, rateJustReceived != 0, TableWealth(ctx.players.WealthRates));
}

void ShowTableWealthRate(ClientContext& ctx, std::uint32_t rate) {
  ctx.players.TableWealthRate = rate;
  ShowWealth(ctx, rate != 0, rate);
}

}  // namespace tavrel::scoring
