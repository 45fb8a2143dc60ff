#include "round/showdown.h"

#include <algorithm>

#include "app/client_context.h"
#include "round/hand_order.h"
#include "view/meld_view.h"
#include "view/pictures.h"
#include "view/row_layout.h"

namespace tavrel::round {

namespace {

constexpr int kPeekTiles = static_cast<int>(off::kShowdownPeekCount);
constexpr int kMaxRevealed = 14;

bool HoldsFourteenth(int n) { return n >= 2 && (n - 2) % 3 == 0; }

// The seat's tiles face up at the size of a hand laid open, in their row places.
void LayOpen(ClientContext& ctx, int r, int n, bool apartLast) {
  PlayerEntry& seat = ctx.table.custom[r];
  const int first = std::max<int>(0, seat.firstConcealed);
  const int end = std::min<int>(kSlotCount, first + n);
  for (int k = first; k < end; ++k) {
    const bool apart = apartLast && k == end - 1;
    view::ShowFaceAt(ctx, seat.tiles[k].imageIndex, seat.tiles[k].code, r, view::ShownSlotBox(ctx, r, k, apart));
  }
  view::StackSlots(ctx, r, first, end);
}

void LayTableOpen(ClientContext& ctx) {
  Table& t = ctx.table;
  PlayerEntry& own = t.custom[0];
  // The own hand is known: a watcher's is sorted first (its tiles stood face down).
  if (t.SpectatorMode != kFalse) SortConcealedCodes(own, own.concealedCount);
  LayOpen(ctx, 0, own.concealedCount, false);
  for (int c = 1; c < 4; ++c) {
    const int n = std::min(t.RevealedCount[c], kSlotCount);
    const bool apart = HoldsFourteenth(n);
    SortConcealedCodes(t.custom[c], apart ? n - 1 : n);
    LayOpen(ctx, c, n, apart);
  }
}

void ReadPeek(ClientContext& ctx) {
  Table& t = ctx.table;
  const Packet& p = ctx.session.RecvPacket;
  int count = 0;
  for (int i = 0; i < kPeekTiles; ++i) {
    t.PeekTiles[i] = wire::U8(p, off::kShowdownPeek + i);
    if (t.PeekTiles[i] != 0) ++count;
  }
  t.PeekCount = static_cast<std::uint8_t>(count);
  // The next two replacement tiles from the back, then the next tiles from the front.
  t.PeekPositions[0] = t.WallBack;
  t.PeekPositions[1] = static_cast<std::int16_t>(t.WallBack % 2 == 1 ? (t.WallBack + 81) % kWallSize
                                                                       : (t.WallBack + 1) % kWallSize);
  for (int k = 2; k < count; ++k) t.PeekPositions[k] = static_cast<std::int16_t>((t.WallFront + k - 2) % kWallSize);
}

}  // namespace

void OnHandShowdown(ClientContext& ctx) {
  const Info info = ctx.session.info;
  ShowHands(ctx, info.Seat % 16, info.value);
  if (ctx.table.PeekCount != 0) return;
  ReadPeek(ctx);
}

void ShowHands(ClientContext& ctx, int seatMask, const std::array<std::int16_t, 4>& values) {
  Table& t = ctx.table;
  view::SetShownHandSizes(ctx);
  const int c = RelSeat(t, seatMask);
  if (c != 0) {
    PlayerEntry& seat = t.custom[c];
    int& n = t.RevealedCount[c];
    // While the seat has tiles not yet shown; a value of 0 counts as a tile too.
    for (std::int16_t v : values) {
      if (seat.concealedCount <= 0 || n >= kMaxRevealed) break;
      const int slot = seat.firstConcealed + n;
      if (slot < 0 || slot >= kSlotCount) break;
      t.RevealedTiles[n][c] = static_cast<std::int16_t>(v & 0xFF);
      seat.tiles[slot].code = static_cast<std::int16_t>(v & 0xFF);
      --seat.concealedCount;
      ++n;
    }
  }
  for (int r = 1; r < 4; ++r)
    if (t.custom[r].concealedCount > 0) return;
  LayTableOpen(ctx);
}

}  // namespace tavrel::round
