// The treasure chests after a hand: the chest phase between the plug-in's results
// and the settlement sheet.
#include <algorithm>
#include <cmath>

#include "app/client_context.h"
#include "platform/names.h"
#include "props/props.h"
#include "props/props_internal.h"
#include "scoring/gold.h"
#include "session/cp936.h"
#include "view/layout.h"
#include "view/pictures.h"

namespace tavrel::props {
namespace {

constexpr char kChoosePrompt[] = "请选择一个宝箱打开";
constexpr char kWaitForOthersPrompt[] = "请等待其他玩家打开宝箱";
constexpr char kWaitPrompt[] = "请等待玩家打开宝箱";
constexpr char kGoldUnit[] = "金币";
constexpr int kChestSeconds = 5;
constexpr int kTicksPerSecond = 20;
constexpr int kMoveSteps = 5;
constexpr int kLabelUnitsPerByte = 14;
constexpr int kLabelHeight = 50;
constexpr int kLabelLineHeight = 22;
constexpr int kChestFrameMs = 50;
constexpr std::uint32_t kLabelPlate = 0xDCF5FB;  // ivory, red in the low byte
// An opening longer than this (10 s) is the plug-in's mistake; it is cut short.
constexpr int kMostAnimationTicks = 200;

platform::Control& Chest(ClientContext& ctx, int i) { return view::OnTable(ctx, ctl::ImgProp, i); }
platform::Control& Label(ClientContext& ctx) { return view::OnTable(ctx, ctl::LbProp); }

// A chest's place on the table, in pixels.
double ChestX(const ClientContext& ctx, int i) { return ctx.props.layout.positions[i] * ctx.view.LayoutScale; }
double ChestY(const ClientContext& ctx, int i) {
  return ctx.props.layout.positions[i + kChestPlaces] * ctx.view.LayoutScale;
}

bool LocalHasEntry(const ClientContext& ctx) { return ctx.props.score.HasChest(0); }

int AnimationTicks(const ClientContext& ctx) {
  return std::clamp(ctx.props.layout.animationTicks, 1, kMostAnimationTicks);
}

void PlaceGroup(ClientContext& ctx, int group, bool clickable) {
  const auto& layout = ctx.props.layout;
  const double s = ctx.view.LayoutScale;
  for (int i = group * kChestsPerSeat; i < (group + 1) * kChestsPerSeat; ++i) {
    platform::Control& chest = Chest(ctx, i);
    chest.Move(ChestX(ctx, i), ChestY(ctx, i), layout.width * s, layout.height * s);
    view::LoadResourcePicture(ctx, layout.closedPicture, chest);
    chest.SetMousePointer(clickable ? platform::kPointerCustomHand : platform::kPointerDefault);
    chest.SetEnabled(clickable);
    chest.SetVisible(true);
    chest.BringToFront();
  }
}

void PlaceLabel(ClientContext& ctx, const std::string& prompt) {
  const auto& layout = ctx.props.layout;
  const double s = ctx.view.LayoutScale;
  platform::Control& label = Label(ctx);
  const double width = kLabelUnitsPerByte * text::Utf8ToCp936(prompt).size() * s;
  label.Move(layout.labelX * s - width / 2, layout.labelY * s, width, kLabelHeight * s);
  label.SetAlignment(2);
  label.SetForeColor(platform::kRed);
  // On a plate of its own: the label may lie over tiles.
  label.SetBackTransparent(false);
  label.SetBackColor(kLabelPlate);
  label.SetFont(ctx.view.LayoutScale == 1.0 ? 12 : 10, true);
  label.SetCaption(std::to_string(ctx.props.ChestSeconds) + "\n" + prompt);
  label.SetVisible(true);
  label.BringToFront();
}

void StopFloatingMessage(ClientContext& ctx) {
  ctx.props.floatingTicksLeft = 0;
  if (ctx.props.TimerProp) ctx.props.TimerProp->SetEnabled(false);
}

// The chest moves towards its open place in equal steps (MoveBao) and opens.
void MoveBao(ClientContext& ctx, int chest) {
  const auto& layout = ctx.props.layout;
  const double s = ctx.view.LayoutScale;
  platform::Control& c = Chest(ctx, chest);
  // Every group opens at the same distance from its first chest as the first group.
  const int group = chest / kChestsPerSeat;
  const double toX = layout.openX * s + ChestX(ctx, group * kChestsPerSeat) - ChestX(ctx, 0);
  const double toY = layout.openY * s + ChestY(ctx, group * kChestsPerSeat) - ChestY(ctx, 0);
  const double stepX = (toX - c.Left()) / kMoveSteps, stepY = (toY - c.Top()) / kMoveSteps;
  for (int k = 0; k < kMoveSteps; ++k) c.Move(c.Left() + stepX, c.Top() + stepY);
  c.Move(toX, toY);
}

void Reveal(ClientContext& ctx, int chest) {
  if (chest < 0 || chest >= kChestPlaces) return;
  const int first = chest / kChestsPerSeat * kChestsPerSeat;
  for (int i = first; i < first + kChestsPerSeat; ++i) {
    if (i == chest) continue;
    platform::Control& other = Chest(ctx, i);
    other.SetVisible(false);
    other.SetEnabled(false);
  }
  MoveBao(ctx, chest);
  platform::Control& c = Chest(ctx, chest);
  view::LoadResourcePicture(ctx, ctx.props.layout.openPicture, c);
  c.SetVisible(true);
  c.BringToFront();
}

bool Revealed(ClientContext& ctx, int chest) {
  const platform::Control* c = ctx.main().Find(ctl::ImgProp, chest);
  return c && c->Visible() && c->Picture() == ctx.props.layout.openPicture && c->Picture() != 0;
}

// One frame of the opening: each seat's gold counted up, and the chest's lines.
void DrawFrame(ClientContext& ctx) {
  const auto& b = ctx.props;
  const double share = static_cast<double>(b.ChestFrame) / AnimationTicks(ctx);
  std::string caption;
  int lines = 0;
  for (int p = 0; p < 4; ++p) {
    if (b.score.gold[p] == 0) continue;
    if (!caption.empty()) caption += "\n";
    caption += b.score.names[p] + " " + scoring::FormatAmount(std::trunc(b.score.gold[p] * share)) + kGoldUnit;
    ++lines;
    std::size_t from = 0;
    const std::string& contents = b.score.lines[p];
    while (!contents.empty() && from <= contents.size()) {
      const std::size_t bar = std::min(contents.find('|', from), contents.size());
      std::string line = contents.substr(from, bar - from);
      // A line's colour, for the sheet, is not shown here.
      if (line.size() >= 8 && WholeNumber(line.substr(line.size() - 8))) line.resize(line.size() - 8);
      if (!line.empty()) {
        caption += "\n" + line;
        ++lines;
      }
      from = bar + 1;
    }
  }
  platform::Control& label = Label(ctx);
  const double s = ctx.view.LayoutScale;
  label.SetSize(label.Width(), std::max<double>(kLabelHeight, lines * kLabelLineHeight) * s);
  label.SetCaption(caption);
}

}  // namespace

void PlayBaoXiang(ClientContext& ctx) {
  auto& b = ctx.props;
  if (platform::Control* label = ctx.main().Find(ctl::LbProp)) label->SetCaption("");
  b.Prop_BaoChs.fill(-1);
  b.ChestSeconds = kChestSeconds;
  int first = -1;
  for (int p = 0; p < 4 && first < 0; ++p)
    if (b.score.HasChest(p)) first = p;
  if (first < 0) {
    ShowSettlementSheet(ctx);
    return;
  }
  if (LocalHasEntry(ctx)) {
    PlaceGroup(ctx, 0, true);
    PlaceLabel(ctx, kChoosePrompt);
  } else {
    int k = 0;
    for (int p = 1; p <= 3; ++p) {
      if (!b.score.HasChest(p)) continue;
      PlaceGroup(ctx, k, false);
      b.Prop_BaoChs[p] = static_cast<std::int16_t>(kChestsPerSeat * k + ctx.RandomBelow(4));
      ++k;
    }
    PlaceLabel(ctx, kWaitForOthersPrompt);
  }
  StopFloatingMessage(ctx);
  b.ChestCountdown = true;
  b.ChestTicks = 0;
  b.ChestSeconds = kChestSeconds;
}

void ChestCountdownTick(ClientContext& ctx) {
  auto& b = ctx.props;
  if (++b.ChestTicks <= kTicksPerSecond - 1) return;
  b.ChestTicks = 0;
  --b.ChestSeconds;
  if (b.ChestOpened) {
    b.ChestCountdown = false;
    return;
  }
  platform::Control& label = Label(ctx);
  if (LocalHasEntry(ctx) || b.score.gold[0] != 0) {
    label.SetCaption(std::to_string(b.ChestSeconds) + "\n" + kChoosePrompt);
    if (b.ChestSeconds < 1) {
      b.ChestCountdown = false;
      // One of the first four: the fifth is never picked for the player.
      OpenChest(ctx, ctx.RandomBelow(4));
    }
  } else {
    label.SetCaption(std::to_string(b.ChestSeconds) + "\n" + kWaitPrompt);
    if (b.ChestSeconds <= 2) {
      b.ChestCountdown = false;
      OpenChest(ctx, -1);
    }
  }
}

void OpenChest(ClientContext& ctx, int index) {
  auto& b = ctx.props;
  if (index < -1 || index >= kChestsPerSeat) return;
  b.ChestOpened = true;
  if (index == -1) {
    for (int p = 1; p <= 3; ++p)
      if (b.Prop_BaoChs[p] >= 0) Reveal(ctx, b.Prop_BaoChs[p]);
  } else {
    b.Prop_BaoChs[0] = static_cast<std::int16_t>(index);
    Reveal(ctx, index);
  }
  for (int p = 0; p < 4; ++p)
    if (b.Prop_BaoChs[p] >= 0) Chest(ctx, b.Prop_BaoChs[p]).SetEnabled(false);
  if (b.Active()) b.PropPlugin->ShowGif(1, true);
  b.ChestFrame = 0;
  b.ChestAnimating = true;
  b.floatingTicksLeft = 0;
  DrawFrame(ctx);
  if (b.TimerProp) {
    b.TimerProp->SetInterval(kChestFrameMs);
    b.TimerProp->SetEnabled(true);
  }
}

void ChestAnimationTick(ClientContext& ctx) {
  auto& b = ctx.props;
  ++b.ChestFrame;
  if (b.ChestFrame < AnimationTicks(ctx)) {
    DrawFrame(ctx);
    if (b.TimerProp) b.TimerProp->SetEnabled(true);
    return;
  }
  b.ChestAnimating = false;
  b.ChestFrame = AnimationTicks(ctx);
  DrawFrame(ctx);
  if (b.Active()) b.PropPlugin->ShowGif(1, false);
  for (int p = 0; p < 4; ++p)
    if (b.Prop_BaoChs[p] >= 0 && !Revealed(ctx, b.Prop_BaoChs[p])) Reveal(ctx, b.Prop_BaoChs[p]);
  ShowSettlementSheet(ctx);
  ctx.platform.PumpFor(1000);
  if (!b.ChestAnimating) HideFloatingMessage(ctx);
}

void ClearChests(ClientContext& ctx) {
  auto& b = ctx.props;
  for (int i = 0; i < kChestPlaces; ++i)
    if (platform::Control* chest = ctx.main().Find(ctl::ImgProp, i); chest && (chest->Visible() || chest->Enabled())) {
      chest->SetVisible(false);
      chest->SetEnabled(false);
    }
  HideFloatingMessage(ctx);
  if (b.TimerProp) b.TimerProp->SetEnabled(false);
  if (b.Active()) b.PropPlugin->InitShowNext(true);
  b.Prop_BaoChs.fill(-1);
  b.ChestCountdown = b.ChestAnimating = b.ChestOpened = false;
  b.ChestFrame = b.ChestTicks = 0;
  b.ChestSeconds = kChestSeconds;
  b.score = ScoreInfo{};
  b.ResetDue = true;
}

void ChestClicked(ClientContext& ctx, int index) {
  auto& b = ctx.props;
  if (b.PropState != kActiveWithChests) {
    for (int i = 0; i < kChestPlaces; ++i)
      if (platform::Control* chest = ctx.main().Find(ctl::ImgProp, i)) {
        chest->SetVisible(false);
        chest->SetEnabled(false);
      }
    return;
  }
  const platform::Control* chest = ctx.main().Find(ctl::ImgProp, index);
  if (b.ChestOpened || !b.ChestCountdown || index < 0 || index >= kChestsPerSeat || !chest || !chest->Enabled() ||
      !chest->Visible())
    return;
  b.ChestOpened = true;
  OpenChest(ctx, index);
}

}  // namespace tavrel::props
