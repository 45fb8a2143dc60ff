#include "round/draw_discard.h"

#include <algorithm>

#include "app/client_context.h"
#include "platform/names.h"
#include "round/hand_order.h"
#include "round/watcher_view.h"
#include "sound/sound.h"
#include "view/hand_view.h"
#include "view/layout.h"
#include "view/offer_buttons.h"
#include "view/own_discard.h"
#include "view/pictures.h"
#include "view/row_layout.h"

namespace tavrel::round {

namespace {

constexpr int kDrawPauseMs = 400;
constexpr int kDiscardPauseMs = 50;
constexpr int kTurnOverMs = 1000, kWatchedTurnOverMs = 800;
constexpr int kRowLength = 8;
constexpr int kBlinks = 3;
constexpr int kGenZhuang = 3;  // value(0) of a DiscardTile that follows the dealer

bool ValidImage(int image) { return image >= 0 && image < kWallSize; }

// The picture of a wall position for a tile leaving the wall; -1 when that position
// has gone already (more draws than the wall holds).
int Take(Table& t, int position) {
  if (position < 0 || position >= kWallSize || t.WallTaken[position]) return -1;
  t.WallTaken[position] = true;
  return position;
}

// The next wall tile: from the front, or after a gang from the back.
int TakeFromWall(Table& t) {
  if (t.NextFromFront != kFalse) {
    const int image = Take(t, t.WallFront);
    WallStep(t);
    return image;
  }
  const int image = Take(t, t.WallBack);
  BackStep(t);
  return image;
}

void PlaceInRow(ClientContext& ctx, int image, int picture, const view::TileBox& box) {
  if (!ValidImage(image)) return;
  view::PlaceTile(ctx, image, box);
  view::LoadTilePicture(ctx, image, picture);
  view::TileImage(ctx, image).BringToFront();
}

void PutGroup(ClientContext& ctx, int r, const std::array<std::int16_t, 4>& tiles) {
  Table& t = ctx.table;
  PlayerEntry& seat = t.custom[r];
  for (std::int16_t tile : tiles) {
    const int p = seat.firstConcealed + seat.concealedCount;
    const int image = Take(t, t.WallFront);
    WallStep(t);
    if (p < 0 || p >= kSlotCount) {
      // No room in the row: the tile has left the wall all the same.
      if (ValidImage(image)) view::TileImage(ctx, image).SetVisible(false);
      continue;
    }
    TileSlot& slot = seat.tiles[p];
    slot = {1, static_cast<std::int16_t>(tile & 0xFF), static_cast<std::int16_t>(image)};
    // A watcher sees the watched player's tiles face down.
    const int picture = r == 0 && t.SpectatorMode == kFalse
                            ? view::FacePicture(slot.code, view::kTileSetOwnStanding, true)
                            : view::StandingBackPicture(r);
    PlaceInRow(ctx, image, picture, view::RowSlotBox(ctx, r, p));
    ++seat.concealedCount;
  }
  view::StackRow(ctx, r);
  t.NextFromFront = kTrue;
}

void PutDrawnTile(ClientContext& ctx, int r, int tile) {
  Table& t = ctx.table;
  PlayerEntry& seat = t.custom[r];
  if (r == 0) {
    if (t.WildTile > 0) {
      // Play has begun: the gap a discard left closes; a replacement draw sorts first.
      if (t.NextFromFront == kFalse) {
        if (t.SpectatorMode == kFalse)
          view::SortAndShowHand(ctx, 0, seat.concealedCount);
        else
          SortConcealedCodes(seat, seat.concealedCount);  // the watched hand stays face down
      }
      view::LayOutConcealedRow(ctx, 0);
    }
  } else {
    // The tile drawn before stands in line again.
    view::LayOutConcealedRow(ctx, r);
  }
  const int p = seat.firstConcealed + seat.concealedCount;
  const int image = TakeFromWall(t);
  if (p < 0 || p >= kSlotCount) {
    if (ValidImage(image)) view::TileImage(ctx, image).SetVisible(false);
    return;
  }
  TileSlot& slot = seat.tiles[p];
  slot.kind = 1;
  slot.imageIndex = static_cast<std::int16_t>(image);
  int picture = view::StandingBackPicture(r);
  if (r == 0) {
    slot.code = static_cast<std::int16_t>(tile & 0xFF);
    if (t.SpectatorMode == kFalse) picture = view::FacePicture(slot.code, view::kTileSetOwnStanding, true);
  }
  PlaceInRow(ctx, image, picture, view::DrawnTileBox(ctx, r, p));
  ++seat.concealedCount;
  view::StackRow(ctx, r);
}

// The freshly dealt hand in the own position: shown as backs for a moment, then
// sorted; face up for the player after 1 s, still face down for a watcher after
// 0.8 s (its codes are the watched player's).
void TurnOverOwnHand(ClientContext& ctx, bool faceUp) {
  PlayerEntry& own = ctx.table.custom[0];
  const int first = std::max<int>(0, own.firstConcealed);
  const int end = std::min<int>(kSlotCount, first + own.concealedCount);
  for (int k = first; k < end; ++k) view::LoadTilePicture(ctx, own.tiles[k].imageIndex, view::StandingBackPicture(0));
  ctx.platform.PumpFor(faceUp ? kTurnOverMs : kWatchedTurnOverMs);
  if (ctx.platform.Ending()) return;
  if (faceUp)
    view::SortAndShowHand(ctx, 0, own.concealedCount);
  else
    SortConcealedCodes(own, own.concealedCount);
  view::LayOutConcealedRow(ctx, 0);
}

void AdvanceDiscardPlace(ClientContext& ctx, int d) {
  Table& t = ctx.table;
  PlayerEntry& seat = t.custom[d];
  const double s = ctx.view.LayoutScale;
  const auto size = view::LyingTileSize(d);
  const double w = view::ScaledInt(ctx, size.width), h = view::ScaledInt(ctx, size.height);
  auto store = [](std::int16_t& field, double v) { field = view::RoundHalfEven(v); };
  // The next place along the row.
  switch (d) {
    case 0: store(seat.discardX, seat.discardX + w); break;
    case 1:
      store(seat.discardY, seat.discardY + h - 17 * s);
      store(seat.discardX, seat.discardX - 5);
      break;
    case 2: store(seat.discardX, seat.discardX - w); break;
    default:
      store(seat.discardY, seat.discardY - (h - 17 * s));
      store(seat.discardX, seat.discardX - 5);
      break;
  }
  // A row holds eight tiles; then the next row begins beside it. The tiles are
  // counted rather than the distance measured, so that the rounded steps of the
  // small screen still end a row after the eighth.
  if (++t.RowDiscards[d] % kRowLength != 0) return;
  switch (d) {
    case 0:
      seat.discardX = seat.discardRowX;
      store(seat.discardY, seat.discardY - h + 18 * s);
      break;
    case 1:
      seat.discardY = seat.discardRowY;
      store(seat.discardX, seat.discardX + w + 40 - 5 * s);
      break;
    case 2:
      seat.discardX = seat.discardRowX;
      store(seat.discardY, seat.discardY + h - 14 * s);
      break;
    default:
      seat.discardY = seat.discardRowY;
      store(seat.discardX, seat.discardX - w + 40 + 5 * s);
      break;
  }
}

void ShowGenZhuangBubble(ClientContext& ctx, int d) {
  const double s = ctx.view.LayoutScale;
  platform::Control& bubble = view::OnTable(ctx, ctl::tsSpeak, d - 1);
  view::LoadResourcePicture(ctx, ctx.view.GenZhuangPictures[d - 1], bubble);
  if (d == 1) {
    bubble.Move(8 * s, 280 * s);
  } else if (d == 2) {
    const platform::Control& avatar = view::OnTable(ctx, ctl::Tou, 2);
    bubble.Move(avatar.Left() + 0.8 * avatar.Width(), avatar.Top() + 0.8 * avatar.Height());
  } else {
    bubble.Move(936 * s, 280 * s);
  }
  view::OnTable(ctx, ctl::Speak, d - 1).SetVisible(false);
  bubble.BringToFront();
  bubble.SetVisible(true);
  ctx.sched.BubblesShown = true;
  ctx.sched.bubblesCounter = 0;
  ctx.table.BubbleSeat = static_cast<std::int16_t>(d - 1);
}

// The own discard was made without the local input (by the server for a silent
// seat): take the tile out of the own hand here, so that the row stays the
// server's.
void TakeOwnDiscardFromHand(ClientContext& ctx, int tile) {
  const PlayerEntry& own = ctx.table.custom[0];
  if (own.concealedCount <= 0) return;
  int slot = view::OwnSlotHolding(ctx, tile);
  if (slot < 0) slot = own.firstConcealed + own.concealedCount - 1;
  view::MoveOwnTileToCentre(ctx, slot, tile);
}

bool OwnDiscardShownByInput(const ClientContext& ctx) {
  const Table& t = ctx.table;
  return t.LastDiscardSeat == 0 && t.LastDiscardImage >= 0 && !view::IsOwnHandImage(ctx, t.LastDiscardImage);
}

}  // namespace

void OnDrawTile(ClientContext& ctx) {
  const Info info = ctx.session.info;
  // Whoever draws, the claims on the last discard are settled.
  view::OfferOvertaken(ctx);
  ctx.sched.ContinueClockOn = false;
  ctx.table.DrawValueOne = info.value[1] == 1 ? kTrue : kFalse;
  PutTilesInRow(ctx, info.Seat, 1, info.value);
}

void PutTilesInRow(ClientContext& ctx, int seatMask, int count, const std::array<std::int16_t, 4>& tiles) {
  Table& t = ctx.table;
  const bool spectator = t.SpectatorMode != kFalse;
  if (count == 1) ctx.platform.Sleep(kDrawPauseMs);
  // A watcher's discards went into their rows at once: nothing waits at the centre.
  if (!spectator && t.SkipFlush == kFalse && t.LastDiscardImage >= 0 && t.LastDiscardCode >= 1)
    FlushLastDiscard(ctx, seatMask);
  t.SkipFlush = kFalse;
  const int r = RelSeat(t, seatMask);
  view::SetRowTileSize(ctx, r);
  if (count == 4)
    PutGroup(ctx, r, tiles);
  else
    PutDrawnTile(ctx, r, tiles[3]);
  t.NextFromFront = kTrue;

  const PlayerEntry& own = t.custom[0];
  const bool complete = own.concealedCount == 14 || (own.concealedCount == 13 && own.isDealer == kFalse);
  if (r != 0 || t.WildTile != -1 || !complete) return;
  if (!spectator || t.RestoreDone != kFalse) TurnOverOwnHand(ctx, !spectator);
}

void OnDiscardTile(ClientContext& ctx) {
  const Info info = ctx.session.info;
  sound::PlayEffect(ctx, sound::kDiscard);
  const int seat = info.Seat % 16;
  ShowDiscard(ctx, seat, info.value[3]);
  const int d = RelSeat(ctx.table, seat);
  if (info.value[0] == kGenZhuang && d != 0) ShowGenZhuangBubble(ctx, d);
}

void ShowDiscard(ClientContext& ctx, int seatMask, int tile) {
  Table& t = ctx.table;
  if (t.SpectatorMode != kFalse) {
    ShowDiscardSpectator(ctx, seatMask, tile);
    return;
  }
  // Whether the local input has already put this own discard at the centre.
  const bool shownByInput = OwnDiscardShownByInput(ctx);
  ctx.platform.Sleep(kDiscardPauseMs);
  t.LastDiscardCode = static_cast<std::int16_t>(tile);
  if (tile == 0) return;
  const int d = RelSeat(t, seatMask);
  if (d == 0 && !shownByInput) TakeOwnDiscardFromHand(ctx, tile);
  // A discard the player did not make here ends whatever the player was deciding.
  if (d != 0 || !shownByInput) view::OfferOvertaken(ctx);
  t.LastDiscardSeat = static_cast<std::uint8_t>(d);
  sound::PlayTileVoice(ctx, d, tile);
  if (d == 0) {
    if (t.LastDiscardImage >= 0) t.LastDiscardFlushed = false;
    return;
  }
  PlayerEntry& seat = t.custom[d];
  const int k = seat.firstConcealed + seat.concealedCount - 1;
  if (seat.concealedCount <= 0 || k < 0 || k >= kSlotCount) return;  // nothing to show
  const int image = seat.tiles[k].imageIndex;
  seat.tiles[k] = TileSlot{};
  --seat.concealedCount;
  if (!ValidImage(image)) return;
  t.LastDiscardImage = static_cast<std::int16_t>(image);
  t.LastDiscardFlushed = false;
  view::PlaceTile(ctx, image, view::CentreBox(ctx, d));
  view::LoadTilePicture(ctx, image, view::FacePicture(tile, d, false));
  view::TileImage(ctx, image).BringToFront();
}

void FlushLastDiscard(ClientContext& ctx, int receivingMask) {
  Table& t = ctx.table;
  if (t.LastDiscardFlushed) return;  // already in its row
  const int d = t.LastDiscardSeat & 3;
  // The own discard waits for the seat at the right, who plays next.
  if (d == 0 && receivingMask != t.custom[3].seat) return;
  bool move = true;
  if (d != 0) {
    if (t.SeatDiscardPinned[d] == 1)
      move = false;
    else if (t.DrawValueOne != kFalse)
      t.SeatDiscardPinned[d] = 1;
  }
  if (move) {
    const PlayerEntry& seat = t.custom[d];
    view::SetLyingTileSize(ctx, d);
    const auto size = view::LyingTileSize(d);
    const double s = ctx.view.LayoutScale;
    view::PlaceTile(ctx, t.LastDiscardImage, {double(seat.discardX), double(seat.discardY), size.width * s, size.height * s});
    if (ValidImage(t.LastDiscardImage)) view::TileImage(ctx, t.LastDiscardImage).BringToFront();
    t.FlushX = seat.discardX;
    t.FlushY = seat.discardY;
  }
  AdvanceDiscardPlace(ctx, d);
  t.BlinkCount = d != 0 && t.DrawValueOne != kFalse ? 0 : kBlinks;
  t.LastDiscardFlushed = true;
}

void LayIntoDiscardRow(ClientContext& ctx, int d, int image) {
  d &= 3;
  const PlayerEntry& seat = ctx.table.custom[d];
  const auto size = view::LyingTileSize(d);
  const double s = ctx.view.LayoutScale;
  view::PlaceTile(ctx, image, {double(seat.discardX), double(seat.discardY), size.width * s, size.height * s});
  if (ValidImage(image)) view::TileImage(ctx, image).BringToFront();
  AdvanceDiscardPlace(ctx, d);
}

void OnClaimOptions(ClientContext& ctx) {
  if ((ctx.session.info.Seat & 0xF) != (ctx.table.custom[0].seat & 0xF)) return;
  view::ShowOffer(ctx, ctx.session.info.value[0] & 0xFF, ctx.session.RecvPacket);
}

void BlinkTask(ClientContext& ctx) {
  Table& t = ctx.table;
  if (t.BlinkCount > 0) {
    --t.BlinkCount;
    if (t.BlinkPrev >= 0 && t.BlinkPrev != t.LastDiscardImage && ValidImage(t.BlinkPrev))
      view::TileImage(ctx, t.BlinkPrev).SetVisible(true);
    if (ValidImage(t.LastDiscardImage)) {
      platform::Control& tile = view::TileImage(ctx, t.LastDiscardImage);
      tile.SetVisible(!tile.Visible());
    }
    t.BlinkPrev = t.LastDiscardImage;
  } else if (ValidImage(t.LastDiscardImage)) {
    view::TileImage(ctx, t.LastDiscardImage).SetVisible(true);
  }
}

void BubblesTask(ClientContext& ctx) {
  platform::Form& form = ctx.main();
  for (int i = 0; i < 3; ++i)
    for (const auto& name : {ctl::Speak, ctl::tsSpeak, ctl::Image1})
      if (platform::Control* c = form.Find(name, i)) c->SetVisible(false);
  if (platform::Control* words = form.Find(ctl::Words)) words->SetVisible(false);
  ctx.sched.BubblesShown = false;
}

}  // namespace tavrel::round
