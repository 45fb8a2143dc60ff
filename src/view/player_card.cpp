#include "view/player_card.h"

#include <string>

#include "app/client_context.h"
#include "platform/names.h"
#include "scoring/gold.h"
#include "view/layout.h"

namespace tavrel::view {
namespace {

constexpr double kRowHeight = 20, kFirstRowTop = 13, kTitleLeft = 14, kTitleWidth = 70, kValueLeft = 92,
                 kValueWidth = 118;
constexpr int kCardAlpha = 200;
// Where the card goes beside an avatar, in parts of the avatar's size.
constexpr double kNearGap = 0.11, kSideShift = 0.3, kOwnSideShift = 0.42;

platform::Form& Card(ClientContext& ctx) { return ctx.ui.form(frm::Information); }

// The card beside avatar p, in screen pixels: under the avatars along the top edge,
// above the own one at the bottom.
void PlaceBeside(ClientContext& ctx, int p) {
  const platform::Control& avatar = OnTable(ctx, ctl::Tou, p);
  const platform::Control& surface = ctx.main().Get(ctl::Pic1);
  const platform::Rect& window = ctx.main().Bounds();
  const double originX = window.left + surface.Left(), originY = window.top + surface.Top();
  double left = avatar.Left() + kSideShift * avatar.Width();
  double top = avatar.Top() + avatar.Height() + kNearGap * avatar.Height();
  if (p == 0) {
    left = avatar.Left() + kOwnSideShift * avatar.Width();
    top = avatar.Top() - kCardHeight - kNearGap * avatar.Height();
  }
  Card(ctx).Move(originX + left, originY + top, kCardWidth, kCardHeight);
}

}  // namespace

void CreatePlayerCard(ClientContext& ctx) {
  platform::Form& card = Card(ctx);
  card.Move(0, 0, kCardWidth, kCardHeight);
  card.SetFrameless(true);
  card.SetTopmost(true);
  card.SetAlpha(kCardAlpha);
  // The card follows the pointer; the keyboard stays with the table (the chat line).
  card.SetShowsWithoutFocus(true);
  // The sheet and the history window are see-through like the card.
  ctx.ui.form(frm::Score).SetAlpha(kCardAlpha);
  ctx.ui.form(frm::Hero).SetAlpha(kCardAlpha);
  for (int i = 0; i < static_cast<int>(kCardTitles.size()); ++i) {
    platform::Control& title = card.Get(ctl::Information::Title, i);
    title.Move(kTitleLeft, kFirstRowTop + i * kRowHeight, kTitleWidth, kRowHeight - 2);
    title.SetCaption(kCardTitles[i]);
    title.SetFont(9, true);
    platform::Control& value = card.Get(ctl::Information::Inf, i);
    value.Move(kValueLeft, kFirstRowTop + i * kRowHeight, kValueWidth, kRowHeight - 2);
  }
  ClientContext* c = &ctx;
  ctx.main().On(ctl::Tou, platform::UiEventType::MouseMove,
                [c](const platform::UiEvent& e) { ShowPlayerCard(*c, e.index); });
}

void ShowPlayerCard(ClientContext& ctx, int p) {
  if (p < 0 || p > 3) return;
  platform::Form& card = Card(ctx);
  const scoring::Detail& d = ctx.players.Detail[p];
  if (card.Visible() || d.username.empty()) return;
  PlaceBeside(ctx, p);
  using scoring::FormatAmount;
  const std::string values[9] = {d.username,
                                 d.Gender != 0 ? "男" : "女",
                                 d.Region,
                                 FormatAmount(d.Points),
                                 FormatAmount(d.Credit),
                                 std::to_string(d.LoginCount),
                                 std::to_string(d.DropCount),
                                 std::to_string(d.Wins),
                                 std::to_string(d.Losses)};
  for (int i = 0; i < 9; ++i) card.Get(ctl::Information::Inf, i).SetCaption(values[i]);
  card.Show();
}

void HidePlayerCard(ClientContext& ctx) {
  if (platform::Form* card = ctx.ui.Find(frm::Information)) card->Hide();
}

}  // namespace tavrel::view
