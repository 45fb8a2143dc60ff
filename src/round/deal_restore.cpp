#include "round/deal_restore.h"

#include <algorithm>
#include <vector>

#include "app/client_context.h"
#include "platform/names.h"
#include "round/draw_discard.h"
#include "round/hand_order.h"
#include "round/new_hand.h"
#include "sound/sound.h"
#include "view/layout.h"
#include "view/pictures.h"
#include "view/row_layout.h"

namespace tavrel::round {

namespace {

constexpr int kGroup = 4;
constexpr int kMaxGroups = 3;            // twelve tiles a seat
constexpr std::size_t kMaxOpen = 24;     // list A: the seat's open tiles
constexpr std::size_t kMaxConcealed = 14;  // list B: its concealed tiles
constexpr int kOpenKind = 0x2, kConcealedKind = 0x1;  // high nibble of a pair's kind byte
constexpr int kPungKind = 3;

int Ring(int v) { return ((v % kWallSize) + kWallSize) % kWallSize; }

// WallBack once the series' back number has moved it.
int BackAfterRestore(int back, int n) { return Ring(n % 2 == 1 ? back + n + 1 : back + n - 3); }

// Whether `pos` lies between the wall's front and back. The back takes a stack's even
// tile first: with the back at an even position its stack is whole; at an odd one
// the even tile has gone.
bool LiesInWall(int pos, int front, int back) {
  const int last = back % 2 == 0 ? Ring(back + 1) : back;
  if (back % 2 == 1 && pos == back - 1) return false;
  return Ring(pos - front) < Ring(last - front + 1);
}

// The wall as the series announces it: the front moved by the largest front number,
// the back by the smallest back number.
bool InRestoredWall(const Table& t, int pos) {
  return LiesInWall(pos, Ring(t.WallFront + t.RestoreWallFront), BackAfterRestore(t.WallBack, t.RestoreWallBack));
}

// The next wall position for a restored tile. Positions that still lie in the wall
// are passed over, so that no picture is both a wall tile and a tile in a row; -1
// when every taken position has been used.
int NextRestorePosition(ClientContext& ctx) {
  Table& t = ctx.table;
  // Each position of the ring is offered once per series.
  while (t.RestoreCount < kWallSize) {
    const int pos = Ring(t.WallFront + t.RestoreCount);
    t.RestoreCount = static_cast<std::int16_t>(t.RestoreCount + 1);
    if (InRestoredWall(t, pos) || t.WallTaken[pos]) continue;
    t.WallTaken[pos] = true;
    return pos;
  }
  return -1;
}

void ShowAt(ClientContext& ctx, int image, int picture, const view::TileBox& box) {
  if (image < 0 || image >= kWallSize) return;
  view::PlaceTile(ctx, image, box);
  view::LoadTilePicture(ctx, image, picture);
  view::TileImage(ctx, image).BringToFront();
}

// A 中 or a wild tile set aside beside the seat's row.
void SetAside(ClientContext& ctx, int r, int code, bool red) {
  Table& t = ctx.table;
  PlayerEntry& seat = t.custom[r];
  std::int16_t& count = red ? seat.redBonusCount : seat.wildBonusCount;
  const int pos = NextRestorePosition(ctx);
  const int spot = seat.redBonusCount + seat.wildBonusCount;
  ShowAt(ctx, pos, view::FacePicture(code, r, false), view::SetAsideBox(ctx, r, spot));
  if (count < 4) t.SeatSetAside[(red ? 0 : 4) + count][r] = static_cast<std::int16_t>(pos);
  ++count;
}

void ReadLists(const Packet& p, std::vector<int>& open, std::vector<int>& concealed) {
  for (std::size_t i = 0; i < off::kSeatTilesPairCount; ++i) {
    const int kind = wire::U8(p, off::kSeatTilesPairs + 2 * i);
    const int code = wire::U8(p, off::kSeatTilesPairs + 2 * i + 1);
    if (kind >> 4 == kOpenKind && open.size() < kMaxOpen) open.push_back(code);
    else if (kind >> 4 == kConcealedKind && concealed.size() < kMaxConcealed) concealed.push_back(code);
  }
}

// The rejoining player sees the own hand: face up and sorted.
void ShowOwnHand(ClientContext& ctx) {
  PlayerEntry& own = ctx.table.custom[0];
  SortConcealedCodes(own, own.concealedCount);
  const int first = std::max<int>(0, own.firstConcealed);
  const int end = std::min<int>(kSlotCount, first + own.concealedCount);
  for (int k = first; k < end; ++k)
    view::LoadTilePicture(ctx, own.tiles[k].imageIndex, view::FacePicture(own.tiles[k].code, view::kTileSetOwnStanding, true));
  view::LayOutConcealedRow(ctx, 0);
}

void CompleteRestore(ClientContext& ctx) {
  Table& t = ctx.table;
  t.SeatPacketCount = 0;
  platform::Control& label = view::OnTable(ctx, ctl::WildTileLabel);
  label.SetVisible(true);
  platform::Control& wild = view::OnTable(ctx, ctl::WildTileImage);
  view::LoadResourcePicture(ctx, ctx.view.TilePictures[view::FacePicture(t.WildTile, view::kTileSetOwnStanding, true)], wild);
  wild.SetVisible(true);
  wild.BringToFront();

  // The rest of the wall, face down, from the front up to the back.
  const int front = Ring(t.WallFront + t.RestoreWallFront);
  const int back = BackAfterRestore(t.WallBack, t.RestoreWallBack);
  std::vector<int> wall;
  for (int pos = front, n = 0; n < kWallSize; pos = Ring(pos + 1), ++n)
    if (LiesInWall(pos, front, back)) wall.push_back(pos);
  for (int pos : wall) {
    view::LoadTilePicture(ctx, pos, view::WallBackPicture(view::WallSideOf(pos)));
    view::TileImage(ctx, pos).BringToFront();
  }

  // The discard rows: their faces are not sent, so they lie face down.
  for (int r = 0; r < 4; ++r)
    for (int i = 0; i < t.RestoredDiscards[r]; ++i) {
      const int pos = NextRestorePosition(ctx);
      if (pos < 0) break;
      view::LoadTilePicture(ctx, pos, view::FacePicture(0, r, false));
      LayIntoDiscardRow(ctx, r, pos);
      t.LastDiscardImage = static_cast<std::int16_t>(pos);
      t.LastDiscardSeat = static_cast<std::uint8_t>(r);
    }
  t.LastDiscardFlushed = true;

  // The indicator lies face up: on a taken position when one is left, otherwise in
  // the middle of the wall.
  int indicator = NextRestorePosition(ctx);
  if (indicator < 0 && !wall.empty()) indicator = wall[wall.size() / 2];
  t.IndicatorPosition = static_cast<std::int16_t>(indicator);
  if (indicator >= 0) {
    const int side = view::WallSideOf(indicator);
    view::LoadTilePicture(ctx, indicator, view::FacePicture(t.WildIndicator, side, false));
    view::TileImage(ctx, indicator).BringToFront();
  }

  t.WallFront = static_cast<std::int16_t>(front);
  t.WallBack = static_cast<std::int16_t>(back);
  t.RestoreDone = kTrue;
  ShowOwnHand(ctx);
  // The rebuilt table is a hand in play, with the compass as a dealt hand has it.
  ShowCompass(ctx);
  t.Playing = true;
}

}  // namespace

void OnDealTiles(ClientContext& ctx) {
  Table& t = ctx.table;
  const Info info = ctx.session.info;
  const Packet& p = ctx.session.RecvPacket;
  t.SkipFlush = kFalse;
  t.OwnDealTiles.fill(0);
  if (RelSeat(t, info.Seat) == 0)
    for (std::size_t i = 0; i < off::kDealtTileCount; ++i)
      t.OwnDealTiles[i] = wire::I16BE(p, off::kDealtTiles + 2 * i);
  const int own = SeatIndex(t.custom[0].seat) & 3;
  // Twelve tiles a seat; a count beyond that deals no more than the packet holds.
  const int groups = std::min(info.value[1] / kGroup, kMaxGroups);
  for (int g = 0; g < groups; ++g) {
    std::array<std::int16_t, 4> group{};
    for (int k = 0; k < kGroup; ++k) group[k] = t.OwnDealTiles[kGroup * g + k];
    // The local player first, then the seat at the right, the one opposite, the one at the left.
    for (int k = 0; k < 4; ++k) {
      if (ctx.sound.SoundOn) {
        sound::PlayEffect(ctx, sound::kDraw);
        sound::SetSharedVolume(ctx, sound::kFullVolume);
      }
      PutTilesInRow(ctx, 1 << ((own + k) % 4), kGroup, group);
    }
  }
}

void BeginRestore(ClientContext& ctx) {
  Table& t = ctx.table;
  t.RestoreCount = 0;
  t.RestoreWallFront = 0;
  t.RestoreWallBack = 0;
  t.RestoredDiscards.fill(0);
  t.IndicatorPosition = -1;
  t.RestoreDone = kFalse;
  // The wall break of the running hand, from the dealer's place and the reset's values.
  for (int p = 0; p < 4; ++p) {
    if (t.custom[p].seat == 0 || t.custom[p].seat != t.DealerSeat) continue;
    const int x = t.TableRestoreValues[0], y = t.TableRestoreValues[1];
    t.WallFront = static_cast<std::int16_t>(Ring(2 * (17 * ((p + 13 - x) % 4) + x + y)));
    t.WallBack = static_cast<std::int16_t>(Ring(t.WallFront + 82));
    break;
  }
}

bool StillInWall(const ClientContext& ctx, int pos) {
  return LiesInWall(pos, ctx.table.WallFront, ctx.table.WallBack);
}

void OnSeatTiles(ClientContext& ctx) {
  Table& t = ctx.table;
  const Info info = ctx.session.info;
  const Packet& p = ctx.session.RecvPacket;
  const int r = RelSeat(t, info.Seat);
  t.RestoredDiscards[r] = info.Reserved7;
  if (t.SeatPacketCount++ == 0) {
    t.RestoreWallFront = info.value[1];
    t.RestoreWallBack = info.value[3];
  } else {
    t.RestoreWallFront = std::max(t.RestoreWallFront, info.value[1]);
    t.RestoreWallBack = std::min(t.RestoreWallBack, info.value[3]);
  }

  std::vector<int> open, concealed;
  ReadLists(p, open, concealed);
  PlayerEntry& seat = t.custom[r];
  std::vector<int> melds;
  for (int code : open) {
    if (code == kRedCode) SetAside(ctx, r, code, true);
    else if (IsTileCode(t.WildTile) && code == t.WildTile) SetAside(ctx, r, code, false);
    else melds.push_back(code);
  }

  // The concealed tiles follow the open ones, and the row ends at its last slot.
  seat.firstConcealed = static_cast<std::int16_t>(
      std::min<int>(kSlotCount - seat.concealedCount, seat.firstConcealed + static_cast<int>(melds.size())));
  SortCodeList(melds);
  for (std::size_t i = 0; i + 2 < melds.size(); ++i) {
    if (melds[i] != melds[i + 1] || melds[i] != melds[i + 2]) continue;
    for (std::size_t k = i; k < i + 3; ++k) {
      const int slot = seat.meldEnd + static_cast<int>(k);
      if (slot >= 0 && slot < kSlotCount) seat.tiles[slot].kind = kPungKind;
    }
  }
  for (int code : melds) {
    const int slot = seat.meldEnd;
    const int pos = NextRestorePosition(ctx);
    seat.meldEnd = static_cast<std::int16_t>(seat.meldEnd + 1);
    if (slot < 0 || slot >= kSlotCount) continue;
    seat.tiles[slot].code = static_cast<std::int16_t>(code);
    seat.tiles[slot].imageIndex = static_cast<std::int16_t>(pos);
    const int set = r == 0 ? view::kTileSetOwnLying : r;
    ShowAt(ctx, pos, view::FacePicture(code, set, false), view::MeldSlotBox(ctx, r, slot));
  }
  for (int code : concealed) {
    const int slot = seat.firstConcealed + seat.concealedCount;
    const int pos = NextRestorePosition(ctx);
    if (slot < 0 || slot >= kSlotCount) continue;
    seat.tiles[slot] = {1, static_cast<std::int16_t>(code), static_cast<std::int16_t>(pos)};
    ++seat.concealedCount;
    ShowAt(ctx, pos, view::StandingBackPicture(r), view::RowSlotBox(ctx, r, slot));
  }
  view::SetRowTileSize(ctx, r);
  view::StackRow(ctx, r);

  if (t.SeatPacketCount >= 4) CompleteRestore(ctx);
}

}  // namespace tavrel::round
