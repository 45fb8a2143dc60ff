#include "view/offer_buttons.h"

#include <algorithm>

#include "app/client_context.h"
#include "platform/names.h"
#include "session/commands.h"
#include "sound/sound.h"
#include "view/claim_replies.h"
#include "view/decision_clock.h"
#include "view/hand_view.h"
#include "view/layout.h"
#include "view/picture_catalogue.h"
#include "view/pictures.h"
#include "view/row_layout.h"

namespace tavrel::view {

namespace {

constexpr int kGangBits = kOptExposedGang | kOptConcealedGang | kOptAddedGang;
constexpr int kDefaultSeconds = 8;   // an offer that names 2 seconds or less
constexpr int kBossKeySeconds = 1;   // every offer while the window is hidden by F1
constexpr int kChooserSeconds = 6;
constexpr double kChooserShrink = 0.8;
constexpr int kKindPung = 3;

platform::Control& Button(ClientContext& ctx, int i) { return OnTable(ctx, ctl::Operation, i); }

void ButtonPicture(ClientContext& ctx, int i, bool live) {
  LoadResourcePicture(ctx, ctx.view.OfferPictures[3 * i + (live ? 1 : 0)], Button(ctx, i));
}

void MakeLive(ClientContext& ctx, int i) {
  ButtonPicture(ctx, i, true);
  Button(ctx, i).SetEnabled(true);
  ctx.view.input.OfferButtonState[i] = kButtonLive;
}

void MakeGrey(ClientContext& ctx, int i) {
  ButtonPicture(ctx, i, false);
  Button(ctx, i).SetEnabled(false);
}

void HideButtons(ClientContext& ctx, std::initializer_list<int> buttons) {
  for (int i : buttons) Button(ctx, i).SetVisible(false);
}

bool SendGangOfKind(ClientContext& ctx, int kind, int slot) {
  switch (kind) {
    case cmd::kOpExposedGang: return SendExposedGang(ctx, slot);
    case cmd::kOpConcealedGang: return SendConcealedGang(ctx, slot);
    case cmd::kOpAddedGang: return SendAddedGang(ctx, slot);
    default: return false;
  }
}

// No gang could be named after all (the hand holds none of the kind offered): the
// offer is declined as the pass declines it, and a discard still due gets the
// chooser's time instead of a stopped clock.
void DeclineGang(ClientContext& ctx) {
  HideGangChooser(ctx);
  HideButtons(ctx, {kGangButton});
  SendPassReply(ctx);
  if (OwnHandMustDiscard(ctx)) {
    ctx.table.DiscardAllowed = round::kTrue;
    StartCountdown(ctx, kChooserSeconds);
  } else {
    StopCountdown(ctx);
  }
}

void AddCandidate(InputState& in, int slot, int kind) {
  if (in.GangChoiceCount >= kGangChoiceLimit) return;
  in.GangChoices[in.GangChoiceCount] = slot;
  in.GangChoiceKinds[in.GangChoiceCount] = kind;
  ++in.GangChoiceCount;
}

void CollectCandidates(ClientContext& ctx) {
  InputState& in = ctx.view.input;
  const round::PlayerEntry& own = ctx.table.custom[0];
  const auto& tiles = own.tiles;
  const SlotRange hand = OwnConcealedSlots(ctx);
  const int flags = in.OfferFlags;
  in.GangChoiceCount = 0;
  auto tile = [&](int k) { return round::IsTileCode(tiles[k].code); };
  if (flags & kOptAddedGang)
    for (int j = 1; j <= own.meldEnd - 5 && j < round::kSlotCount; j += 3) {
      if (tiles[j].kind != kKindPung || !tile(j)) continue;
      for (int k = hand.first; k < hand.end; ++k)
        if (tiles[k].code == tiles[j].code) {
          AddCandidate(in, k, cmd::kOpAddedGang);
          break;
        }
    }
  if (flags & kOptExposedGang) {
    const int discard = ctx.table.LastDiscardCode & 0xFF;
    for (int k = hand.first; k + 2 < hand.end; ++k)
      if (tile(k) && tiles[k].code == tiles[k + 2].code && tiles[k].code == discard) {
        AddCandidate(in, k, cmd::kOpExposedGang);
        break;
      }
  }
  if (flags & kOptConcealedGang)
    for (int k = hand.first; k + 3 < hand.end; ++k)
      if (tile(k) && tiles[k].code == tiles[k + 3].code) AddCandidate(in, k, cmd::kOpConcealedGang);
}

// The candidates stacked upward from the button row, at the left of 胡, each a little
// smaller than a hand tile.
void ShowChooser(ClientContext& ctx) {
  const InputState& in = ctx.view.input;
  const double width = kChooserShrink * ctx.view.SeatTileWidth[0];
  const double height = kChooserShrink * ctx.view.SeatTileHeight[0];
  const double top = Button(ctx, kChiButton).Top(), left = Button(ctx, kHuButton).Left();
  const int shown = std::min(in.GangChoiceCount, kGangPictureCount);
  for (int n = 0; n < shown; ++n) {
    platform::Control& pic = OnTable(ctx, ctl::Gang, n);
    pic.Move(left, top - kChooserShrink * (height * n), width, height);
    pic.SetVisible(true);
    pic.BringToFront();
    pic.SetEnabled(true);
  }
  StartCountdown(ctx, kChooserSeconds);
}

}  // namespace

void HideOfferButtons(ClientContext& ctx) {
  for (int i = 0; i < kOfferButtonCount; ++i) {
    MakeGrey(ctx, i);
    Button(ctx, i).SetVisible(false);
  }
}

void HideGangChooser(ClientContext& ctx) {
  for (int n = 0; n < kGangPictureCount; ++n)
    if (platform::Control* pic = ctx.main().Find(ctl::Gang, n)) {
      pic->SetVisible(false);
      pic->SetEnabled(false);
    }
}

void ShowOffer(ClientContext& ctx, int options, const Packet& packet) {
  InputState& in = ctx.view.input;
  in.ReplySent = false;
  in.DecisionState = kOfferOpen;
  in.OfferButtonState.fill(0);
  // Nothing of an earlier offer stays live or on screen.
  for (int i = 0; i < kOfferButtonCount; ++i) MakeGrey(ctx, i);
  HideGangChooser(ctx);
  in.GangChoiceCount = 0;

  options &= 0xFF;
  if (options & kOptPass) MakeLive(ctx, kPassButton);
  if (options & kGangBits) {
    MakeLive(ctx, kGangButton);
    in.OfferFlags = options;
  }
  if (options & kOptHu) MakeLive(ctx, kHuButton);

  const bool holdsTiles = ctx.table.custom[0].concealedCount > 0;
  for (int i = 0; i < kOfferButtonCount; ++i) {
    Button(ctx, i).SetVisible(holdsTiles);
    if (holdsTiles) Button(ctx, i).BringToFront();
  }
  if (OwnHandMustDiscard(ctx)) ctx.table.DiscardAllowed = round::kTrue;
  if (!holdsTiles) return;
  int seconds = wire::U8(packet, off::kOfferSeconds);
  if (seconds <= 2) seconds = kDefaultSeconds;
  if (ctx.view.BossKeyActive) seconds = kBossKeySeconds;
  PlaceCountdown(ctx);
  StartCountdown(ctx, seconds);
  in.OfferCountdownSeen = true;
}

void OperationClick(ClientContext& ctx, int index) {
  if (index < 0 || index >= kOfferButtonCount) return;
  InputState& in = ctx.view.input;
  if (in.OfferButtonState[index] != kButtonLive || !ctx.session.TableActive || in.DecisionState >= kAnswered) return;
  if (!Button(ctx, index).Visible()) return;  // no offer shown for a hand without tiles
  if (index != kPassButton) {
    in.Countdown = 0;
    ctx.sched.TurnClockOn = false;
    OnTable(ctx, ctl::Number).SetVisible(false);
    OnTable(ctx, ctl::Time_Img).SetVisible(false);
  }
  in.DecisionState = kActing;
  in.OfferButtonState.fill(0);
  MakeGrey(ctx, index);
  SetRowTileSize(ctx, 0);
  in.TimeoutCount = 0;
  switch (index) {
    case kGangButton:
      ctx.table.DiscardAllowed = round::kFalse;
      HideButtons(ctx, {kChiButton, kPengButton, kHuButton, kPassButton});
      // Four equal tiles stand together only in a sorted hand, the drawn tile included.
      if (in.OfferFlags & kOptConcealedGang) SortAndShowHand(ctx, 0, ctx.table.custom[0].concealedCount);
      ChooseGang(ctx);
      break;
    case kHuButton:
      ctx.table.DiscardAllowed = round::kFalse;
      SendHu(ctx);
      sound::PlayClaimVoice(ctx, 0, sound::kVoiceHu);
      HideOfferButtons(ctx);
      break;
    case kPassButton:
      HideOfferButtons(ctx);
      // On the own turn the discard is still due: its countdown runs on.
      if (!OwnHandMustDiscard(ctx)) StopCountdown(ctx);
      SendPassReply(ctx);
      break;
    default:
      break;  // 吃 and 碰 are never live
  }
  for (int i = 0; i < kOfferButtonCount; ++i) MakeGrey(ctx, i);
  in.DecisionState = kAnswered;
}

void ChooseGang(ClientContext& ctx) {
  InputState& in = ctx.view.input;
  CollectCandidates(ctx);
  const auto& tiles = ctx.table.custom[0].tiles;
  for (int n = 0; n < std::min(in.GangChoiceCount, kGangPictureCount); ++n) {
    const int code = tiles[in.GangChoices[n]].code;
    platform::Control& pic = OnTable(ctx, ctl::Gang, n);
    pic.SetVisible(false);  // shown only as a chooser of several
    pic.SetEnabled(false);
    LoadResourcePicture(ctx, ctx.view.TilePictures[TilePictureIndex(code, kTileSetOwnStanding)], pic);
  }
  if (in.GangChoiceCount == 0) {
    DeclineGang(ctx);
    return;
  }
  if (in.GangChoiceCount == 1) {
    HideButtons(ctx, {kGangButton});
    if (!SendGangOfKind(ctx, in.GangChoiceKinds[0], in.GangChoices[0])) DeclineGang(ctx);
    return;
  }
  HideButtons(ctx, {kChiButton, kPengButton, kHuButton, kPassButton});
  ShowChooser(ctx);
}

void GangClick(ClientContext& ctx, int n) {
  InputState& in = ctx.view.input;
  if (in.DecisionState == kTimedOut || !ctx.session.TableActive || in.ReplySent) return;
  if (n < 0 || n >= std::min(in.GangChoiceCount, kGangPictureCount)) return;
  const platform::Control* picture = ctx.main().Find(ctl::Gang, n);
  if (!picture || !picture->Visible()) return;
  ctx.sched.TurnClockOn = false;
  ctx.sched.lastTurnClock = static_cast<float>(ctx.platform.clock().SecondsOfDay());
  HideGangChooser(ctx);
  HideButtons(ctx, {kChiButton, kPengButton, kGangButton, kHuButton, kPassButton});

  const int c = in.GangChoices[n];
  const int kind = in.GangChoiceKinds[n];
  in.GangChoices[0] = c;
  in.GangChoiceKinds[0] = kind;
  const int flags = in.OfferFlags;
  const auto& tiles = ctx.table.custom[0].tiles;
  const SlotRange hand = OwnConcealedSlots(ctx);
  auto same = [&](int a, int b) { return hand.Contains(a) && hand.Contains(b) && tiles[a].code == tiles[b].code; };
  bool sent = false;
  // A lone tile of its kind joins a pung; a run of four is a concealed gang, of three
  // (with the discard) an exposed one.
  if (flags & kOptAddedGang) {
    const bool lone = c == hand.Last() ? !same(c, c - 1) : !same(c, c + 1);
    if (lone) sent = SendAddedGang(ctx, c);
  }
  if (!sent && (flags & kOptConcealedGang) && same(c, c + 3)) sent = SendConcealedGang(ctx, c);
  if (!sent && (flags & kOptExposedGang) && same(c, c + 2)) sent = SendExposedGang(ctx, c);
  // Otherwise the gang the candidate was found for.
  if (!sent) sent = SendGangOfKind(ctx, kind, c);
  if (!sent) DeclineGang(ctx);
}

void OfferOvertaken(ClientContext& ctx) {
  InputState& in = ctx.view.input;
  if (!in.ReplySent) {
    in.ReplySent = true;
    in.OfferButtonState.fill(0);
    HideOfferButtons(ctx);
    HideGangChooser(ctx);
    if (in.DecisionState == kOfferOpen) in.DecisionState = kAnswered;
    // Its countdown goes with it.
    if (ctx.sched.TurnClockOn) StopCountdown(ctx);
  }
  if (!OwnHandMustDiscard(ctx)) {
    ctx.table.DiscardAllowed = round::kFalse;
    if (ctx.sched.TurnClockOn) StopCountdown(ctx);
  }
}

}  // namespace tavrel::view
