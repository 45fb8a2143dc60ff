// The scheduler's step 12: the plug-in's items, the settlement hand-off and the
// chest countdown; the floating message LbProp.
#include <algorithm>
#include <charconv>

#include "app/client_context.h"
#include "chat/chat_line.h"
#include "platform/names.h"
#include "props/props.h"
#include "props/props_internal.h"
#include "session/cp936.h"
#include "session/packet_io.h"
#include "view/layout.h"
#include "view/table_keys.h"

namespace tavrel::props {
namespace {

// A plug-in that claims more items than this is answered in later ticks: one tick
// never runs unbounded on the plug-in's word.
constexpr int kMostItemsPerTick = 32;
constexpr int kPropTickMs = 50;

void ShowFloatingMessage(ClientContext& ctx, const SendItem& item) {
  auto& b = ctx.props;
  const double s = ctx.view.LayoutScale;
  auto style = [&item](std::size_t i, int fallback) { return i < item.style.size() ? item.style[i] : fallback; };
  platform::Control& label = view::OnTable(ctx, ctl::LbProp);
  label.Move(item.layout[2] * s, item.layout[3] * s, std::max(0, item.layout[0]) * s,
             std::max(0, item.layout[1]) * s);
  const int fontSize = style(2, 9);
  label.SetFont(fontSize >= 1 && fontSize <= 72 ? fontSize : 9);
  label.SetForeColor(static_cast<std::uint32_t>(style(3, 0)) & 0xFFFFFF);
  const int alignment = style(4, 0);
  label.SetAlignment(alignment >= 0 && alignment <= 2 ? alignment : 0);
  label.SetBackTransparent(true);
  label.SetBackColor(platform::kWhite);
  label.SetCaption(item.text);
  label.SetVisible(true);
  label.BringToFront();
  b.floatingTicksLeft = 0;
  if (style(0, 0) >= 1 && style(1, 0) >= 1 && b.TimerProp) {
    b.TimerProp->SetInterval(style(0, kPropTickMs));
    b.floatingTicksLeft = style(1, 0);
    b.TimerProp->SetEnabled(true);
  }
}

void ActOnItem(ClientContext& ctx, SendItem& item) {
  if (!item.textOk) return;
  switch (item.type) {
    case TAVREL_PROP_ITEM_SYSTEM_LINE:
      if (!item.text.empty()) chat::ShowSystemLine(ctx, item.text);
      return;
    case TAVREL_PROP_ITEM_FLOATING:
      // While a chest opens the label is the chest's.
      if (!item.text.empty() && item.layout.size() >= 4 && !ctx.props.ChestAnimating) ShowFloatingMessage(ctx, item);
      return;
    case TAVREL_PROP_ITEM_PACKET:
      if (item.packetLength == static_cast<int>(kPacketSize)) session::QueuePacket(ctx, item.packet);
      return;
    case TAVREL_PROP_ITEM_AVATAR_CLICK:
    case TAVREL_PROP_ITEM_AVATAR_HOVER: {
      const auto p = WholeNumber(item.text);
      const int first = item.type == TAVREL_PROP_ITEM_AVATAR_CLICK ? 1 : 0;
      if (!p || *p < first || *p > 3) return;
      platform::UiEvent e;
      e.type = item.type == TAVREL_PROP_ITEM_AVATAR_CLICK ? platform::UiEventType::Click
                                                          : platform::UiEventType::MouseMove;
      e.control = ctl::Tou.name;
      e.index = *p;
      e.button = platform::kLeftButton;
      ctx.main().Dispatch(e);
      return;
    }
    case TAVREL_PROP_ITEM_KEY:
      if (const auto key = WholeNumber(item.text); key && *key > 0 && *key < 256) view::OnTableKeyDown(ctx, *key);
      return;
    default:
      return;  // a type of another revision
  }
}

void PollItems(ClientContext& ctx) {
  auto& b = ctx.props;
  const int waiting = std::min(b.PropPlugin->CheckSendBuff(), kMostItemsPerTick);
  for (int i = 0; i < waiting; ++i) {
    // An item may end the plug-in's turn (a key that leaves the table).
    if (b.PropState < 1 || !b.PropPlugin || ctx.platform.Ending()) return;
    SendItem item = b.PropPlugin->GetSendBuff();
    ActOnItem(ctx, item);
  }
}

}  // namespace

std::optional<int> WholeNumber(const std::string& text) {
  const std::string t = text::TrimSpaces(text);
  int value = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return value;
}

void PropTick(ClientContext& ctx) {
  auto& b = ctx.props;
  if (b.PropPolling && b.Active()) PollItems(ctx);
  if (ctx.platform.Ending()) return;
  // A countdown started by this tick's hand-off counts from the next tick.
  const bool counting = b.ChestCountdown;
  if (b.SettlementPending) SettlementHandOff(ctx);
  if (counting && b.ChestCountdown) ChestCountdownTick(ctx);
}

bool TickHasWork(const ClientContext& ctx) {
  const auto& b = ctx.props;
  return (b.PropPolling && b.Active()) || b.SettlementPending || b.ChestCountdown;
}

void HideFloatingMessage(ClientContext& ctx) {
  ctx.props.floatingTicksLeft = 0;
  if (platform::Control* label = ctx.main().Find(ctl::LbProp)) {
    label->SetCaption("");
    label->SetVisible(false);
  }
}

void TimerPropTick(ClientContext& ctx) {
  auto& b = ctx.props;
  if (b.TimerProp) b.TimerProp->SetEnabled(false);
  if (b.ChestAnimating) {
    ChestAnimationTick(ctx);
    return;
  }
  if (b.floatingTicksLeft <= 0) return;
  if (--b.floatingTicksLeft == 0) {
    HideFloatingMessage(ctx);
    return;
  }
  b.TimerProp->SetEnabled(true);
}

}  // namespace tavrel::props
