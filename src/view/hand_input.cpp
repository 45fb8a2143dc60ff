#include "view/hand_input.h"

#include <algorithm>

#include "app/client_context.h"
#include "platform/names.h"
#include "view/claim_replies.h"
#include "view/decision_clock.h"
#include "view/hand_view.h"
#include "view/offer_buttons.h"
#include "view/own_discard.h"
#include "view/pictures.h"
#include "view/row_layout.h"

namespace tavrel::view {

namespace {

constexpr int kStartButton = 2;

bool ValidImage(int image) { return image >= 0 && image < kTileImageCount; }

// Hover and the keys move own tiles only in a hand the player plays.
bool HandInPlay(const ClientContext& ctx) {
  return ctx.view.HandStarted[kStartButton] && ctx.table.SpectatorMode == round::kFalse;
}

double RowTop(const ClientContext& ctx) { return ctx.table.custom[0].handY; }

platform::Control* OwnTile(ClientContext& ctx, int slot) {
  const int image = ctx.table.custom[0].tiles[slot].imageIndex;
  return ValidImage(image) ? &TileImage(ctx, image) : nullptr;
}

// The set whose lying faces a wall side shows (the top side is built from the own set).
int WallFaceSet(int side) { return side == 2 ? 0 : side; }

}  // namespace

int RaisedOwnSlot(ClientContext& ctx) {
  const SlotRange hand = OwnConcealedSlots(ctx);
  const double raised = RowTop(ctx) - kRaise;
  for (int k = hand.first; k < hand.end; ++k)
    if (platform::Control* tile = OwnTile(ctx, k); tile && tile->Top() == raised) return k;
  return -1;
}

void RaiseOwnSlot(ClientContext& ctx, int slot) {
  const SlotRange hand = OwnConcealedSlots(ctx);
  if (!hand.Contains(slot)) return;
  const double base = RowTop(ctx);
  for (int k = hand.first; k < hand.end; ++k)
    if (platform::Control* tile = OwnTile(ctx, k); tile && tile->Top() == base - kRaise) tile->SetTop(base);
  if (platform::Control* tile = OwnTile(ctx, slot)) tile->SetTop(base - kRaise);
}

void TileMouseMove(ClientContext& ctx, int image) {
  if (!ValidImage(image)) return;
  platform::Control& tile = TileImage(ctx, image);
  const double base = RowTop(ctx);
  const int slot = OwnHandSlotOf(ctx, image);
  if (tile.Top() < base - kRaise || !HandInPlay(ctx) || slot < 0) {
    tile.SetMousePointer(platform::kPointerDefault);
    return;
  }
  tile.SetMousePointer(platform::kPointerCustomHand);
  if (tile.Top() != base) return;  // raised already
  RaiseOwnSlot(ctx, slot);
}

void TableMouseMove(ClientContext& ctx, double x, double y) {
  if (!HandInPlay(ctx)) return;
  const SlotRange hand = OwnConcealedSlots(ctx);
  const double base = RowTop(ctx);
  for (int k = hand.first; k < hand.end; ++k) {
    platform::Control* tile = OwnTile(ctx, k);
    if (!tile || tile->Top() != base - kRaise) continue;
    // The tile and the strip below it that the raise left free.
    const bool over = tile->Left() < x && x < tile->Left() + tile->Width() && tile->Top() < y &&
                      y < tile->Top() + tile->Height() + kRaise;
    if (!over) {
      tile->SetTop(base);
      return;
    }
  }
}

void DiscardByPlayer(ClientContext& ctx, int slot) {
  round::Table& t = ctx.table;
  if (t.SpectatorMode != round::kFalse || !round::IsTileCode(t.custom[0].tiles[slot].code)) return;
  // A discard allowed for a hand that no longer owes one (the server has moved for the
  // player meanwhile) is stale: the tile stays.
  if (!OwnHandMustDiscard(ctx)) {
    t.DiscardAllowed = round::kFalse;
    return;
  }
  InputState& in = ctx.view.input;
  in.TimeoutCount = 0;
  in.DecisionState = kActing;
  t.DiscardAllowed = round::kFalse;
  StopCountdown(ctx);
  SendPassReply(ctx);
  HideOfferButtons(ctx);
  HideGangChooser(ctx);
  DiscardOwnTile(ctx, slot);
}

void PassByRightClick(ClientContext& ctx) {
  if (!ctx.session.TableActive) return;
  const platform::Control* pass = ctx.main().Find(ctl::Operation, kPassButton);
  if (!pass || !pass->Visible()) return;
  InputState& in = ctx.view.input;
  in.DecisionState = kActing;
  HideOfferButtons(ctx);
  // On the own turn the countdown keeps running for the discard that is still due.
  if (!OwnHandMustDiscard(ctx)) StopCountdown(ctx);
  SendPassReply(ctx);
  in.DecisionState = kAnswered;
}

void TileMouseDown(ClientContext& ctx, int image, int button) {
  if (!ctx.session.TableActive || !ValidImage(image)) return;
  const int slot = OwnHandSlotOf(ctx, image);
  if (slot >= 0) {
    if (ctx.table.DiscardAllowed != round::kFalse && ctx.view.input.DecisionState != kTimedOut)
      DiscardByPlayer(ctx, slot);
  } else if (button == platform::kRightButton) {
    PassByRightClick(ctx);
  }
  RevealAfterHand(ctx, image);
}

void TableMouseUp(ClientContext& ctx, int button) {
  if (button == platform::kRightButton) PassByRightClick(ctx);
}

void TableClick(ClientContext& ctx) {
  for (const char* name : {frm::Talk, frm::huifu, frm::Score, frm::Hero, frm::VosSet, frm::frmExit})
    if (platform::Form* f = ctx.ui.Find(name)) f->Hide();
}

void RevealAfterHand(ClientContext& ctx, int image) {
  round::Table& t = ctx.table;
  if (t.WinnerSeat < 0 || !ValidImage(image)) return;
  const int count = std::min<int>(t.ReplacementTileCount, static_cast<int>(t.ReplacementTiles.size()));
  for (int k = 0; k < count; ++k) {
    const auto entry = t.ReplacementTiles[k];
    if (entry.image != image) continue;
    LoadTilePicture(ctx, image, FacePicture(entry.code, entry.seat & 3, false));
    for (int j = k; j + 1 < count; ++j) t.ReplacementTiles[j] = t.ReplacementTiles[j + 1];
    t.ReplacementTileCount = count - 1;
    return;
  }
  const int peeks = std::min<int>(t.PeekCount, static_cast<int>(t.PeekPositions.size()));
  for (int k = 0; k < peeks; ++k)
    if (t.PeekPositions[k] == image) {
      LoadTilePicture(ctx, image, FacePicture(t.PeekTiles[k], WallFaceSet(WallSideOf(image)), false));
      return;
    }
}

}  // namespace tavrel::view
