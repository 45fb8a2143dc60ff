#include "round/meld_rows.h"

#include <algorithm>
#include <vector>

#include "app/client_context.h"
#include "platform/names.h"
#include "round/claim_result.h"
#include "view/meld_view.h"
#include "view/pictures.h"
#include "view/row_layout.h"

namespace tavrel::round {

namespace {

constexpr std::uint32_t kLoserColour = 0xFF00;  // green
constexpr std::uint32_t kWinnerColour = 255;    // red

bool ValidImage(int image) { return image >= 0 && image < kWallSize; }

// The concealed part of a row, in slot order, as far as it lies inside the row.
std::vector<TileSlot> ConcealedOf(const PlayerEntry& seat) {
  std::vector<TileSlot> out;
  const int first = std::max<int>(0, seat.firstConcealed);
  const int end = std::min<int>(kSlotCount, first + std::max<int>(0, seat.concealedCount));
  for (int k = first; k < end; ++k) out.push_back(seat.tiles[k]);
  return out;
}

// The concealed tiles left after a meld, packed from `first` on; the old concealed
// slots are emptied first, so that nothing of them stays behind.
void Repack(PlayerEntry& seat, const std::vector<TileSlot>& rest, int first) {
  const int oldFirst = std::max<int>(0, seat.firstConcealed);
  const int oldEnd = std::min<int>(kSlotCount, oldFirst + std::max<int>(0, seat.concealedCount));
  for (int k = oldFirst; k < oldEnd; ++k) seat.tiles[k] = TileSlot{};
  seat.firstConcealed = static_cast<std::int16_t>(first);
  seat.concealedCount = static_cast<std::int16_t>(rest.size());
  for (std::size_t i = 0; i < rest.size(); ++i) {
    seat.tiles[first + i] = rest[i];
    seat.tiles[first + i].kind = 1;
  }
}

std::vector<TileSlot> Without(const std::vector<TileSlot>& hand, std::vector<int> taken) {
  std::sort(taken.begin(), taken.end());
  std::vector<TileSlot> rest;
  for (int i = 0; i < static_cast<int>(hand.size()); ++i)
    if (!std::binary_search(taken.begin(), taken.end(), i)) rest.push_back(hand[i]);
  return rest;
}

int Find(const std::vector<TileSlot>& hand, int code, const std::vector<int>& taken) {
  for (int i = 0; i < static_cast<int>(hand.size()); ++i)
    if (hand[i].code == code && std::find(taken.begin(), taken.end(), i) == taken.end()) return i;
  return -1;
}

// n tiles of one code from a known hand; the first adjacent ones when there are.
std::vector<int> TakeEqual(const std::vector<TileSlot>& hand, int code, int n) {
  std::vector<int> taken;
  for (int i = 0; i + n <= static_cast<int>(hand.size()); ++i) {
    bool run = true;
    for (int k = i; k < i + n && run; ++k) run = hand[k].code == code;
    if (!run) continue;
    for (int k = i; k < i + n; ++k) taken.push_back(k);
    return taken;
  }
  for (int k = 0; k < n; ++k) {
    const int i = Find(hand, code, taken);
    if (i < 0) return {};
    taken.push_back(i);
  }
  return taken;
}

bool IsRun(int a, int b, int c) {
  if (!IsTileCode(a) || !IsTileCode(b) || !IsTileCode(c)) return false;
  if ((a & 0xF0) != (b & 0xF0) || (a & 0xF0) != (c & 0xF0) || (a & 0xF0) == 0x10) return false;
  int r[3] = {Rank(a), Rank(b), Rank(c)};
  std::sort(r, r + 3);
  return r[1] == r[0] + 1 && r[2] == r[1] + 1;
}

// The two own tiles of a chow: those the result names when they make the run with
// the claimed tile, otherwise the first pair of the hand that completes it.
std::vector<int> TakeRun(const std::vector<TileSlot>& hand, const std::array<std::uint8_t, 3>& tiles) {
  const int claimed = tiles[2];
  std::vector<std::pair<int, int>> pairs;
  if (IsRun(tiles[0], tiles[1], claimed)) pairs.emplace_back(tiles[0], tiles[1]);
  for (auto [da, db] : {std::pair{-2, -1}, {-1, 1}, {1, 2}}) {
    const int a = claimed + da, b = claimed + db;
    if (IsRun(a, b, claimed)) pairs.emplace_back(a, b);
  }
  for (auto [a, b] : pairs) {
    std::vector<int> taken;
    const int i = Find(hand, a, taken);
    if (i < 0) continue;
    taken.push_back(i);
    const int j = Find(hand, b, taken);
    if (j < 0) continue;
    taken.push_back(j);
    return taken;
  }
  return {};
}

std::vector<int> FirstOf(int n) {
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  return v;
}

int TileOr(int code, int fallback) { return IsTileCode(code) ? code : fallback; }

// The meld's slots meldEnd - 2 .. meldEnd face up, the concealed tiles packed after them.
void ShowMeldSlots(ClientContext& ctx, int d, int from) {
  PlayerEntry& seat = ctx.table.custom[d];
  for (int k = from; k < from + 3; ++k)
    view::ShowFaceAt(ctx, seat.tiles[k].imageIndex, seat.tiles[k].code, d, view::MeldSlotBox(ctx, d, k));
  view::StackSlots(ctx, d, from, from + 3);
  view::LayOutConcealedRow(ctx, d);
}

// Three tiles into the meld slots meldEnd - 2 .. meldEnd and the rest packed behind
// firstConcealed + 3. `fromHand` are the hand's tiles (indices of `hand`), `claimed`
// the image of a tile from the centre (or -1).
bool LayThree(ClientContext& ctx, int d, const std::vector<TileSlot>& hand, const std::vector<int>& fromHand,
              std::array<int, 3> codes, int claimed, int kind) {
  PlayerEntry& seat = ctx.table.custom[d];
  const int m = seat.meldEnd;
  const int rest = static_cast<int>(hand.size() - fromHand.size());
  const int first = seat.firstConcealed + 3;
  if (m - 2 < 0 || m >= kSlotCount || first < 0 || first + rest > kSlotCount) return false;
  // The hand's tiles first; a chow or pung ends with the tile from the centre.
  std::array<int, 3> images{claimed, claimed, claimed};
  for (std::size_t i = 0; i < fromHand.size() && i < 3; ++i) images[i] = hand[fromHand[i]].imageIndex;
  Repack(seat, Without(hand, fromHand), first);
  for (int i = 0; i < 3; ++i)
    seat.tiles[m - 2 + i] = {static_cast<std::int16_t>(kind), static_cast<std::int16_t>(codes[i]),
                             static_cast<std::int16_t>(images[i])};
  seat.meldEnd = static_cast<std::int16_t>(m + 3);
  ShowMeldSlots(ctx, d, m - 2);
  return true;
}

void ChowOrPung(ClientContext& ctx, int d, int type, const std::array<std::uint8_t, 3>& tiles) {
  Table& t = ctx.table;
  const std::vector<TileSlot> hand = ConcealedOf(t.custom[d]);
  std::vector<int> take;
  // Only the own (or watched) row's codes are known; another seat gives its first two.
  if (d == 0) take = type == kResultPung ? TakeEqual(hand, tiles[2], 2) : TakeRun(hand, tiles);
  if (take.size() != 2) take = FirstOf(2);
  if (hand.size() < 2) return;
  std::array<int, 3> codes{tiles[0], tiles[1], tiles[2]};
  if (d == 0) codes = {hand[take[0]].code, hand[take[1]].code, tiles[2]};
  const int claimed = ValidImage(t.LastDiscardImage) ? t.LastDiscardImage : -1;
  if (!LayThree(ctx, d, hand, take, codes, claimed, type == kResultPung ? kPungSlot : kChowSlot)) return;
  // The claimed tile has left the centre for good.
  t.LastDiscardFlushed = true;
}

void Gang(ClientContext& ctx, int d, int type, const std::array<std::uint8_t, 3>& tiles) {
  Table& t = ctx.table;
  PlayerEntry& seat = t.custom[d];
  const bool concealed = type == kResultConcealedGang;
  const int need = concealed ? 4 : 3;
  const std::vector<TileSlot> hand = ConcealedOf(seat);
  if (static_cast<int>(hand.size()) < need) return;
  const int code = TileOr(tiles[2], TileOr(tiles[0], 0));
  std::vector<int> take;
  if (d == 0) take = TakeEqual(hand, code, need);
  if (static_cast<int>(take.size()) != need) {
    // Another seat: its first three, and for a concealed gang its last tile on top.
    take = FirstOf(3);
    if (concealed) take.push_back(static_cast<int>(hand.size()) - 1);
  }
  const int top = concealed ? hand[take[3]].imageIndex : (ValidImage(t.LastDiscardImage) ? t.LastDiscardImage : -1);
  const std::array<int, 3> codes{TileOr(tiles[0], code), TileOr(tiles[1], code), code};
  const int middle = seat.meldEnd - 1;
  // Three of the hand form the meld; the fourth (the discard, or the hand's own) lies on top.
  if (!LayThree(ctx, d, hand, take, codes, -1, concealed ? kConcealedGangSlot : kExposedGangSlot)) return;
  view::ShowFaceAt(ctx, top, code, d, view::GangTopBox(ctx, d, middle));
  if (concealed && t.GangTopCount[d] < static_cast<int>(t.GangTops.size()))
    t.GangTops[t.GangTopCount[d]++][d] = kGangTopConcealed;
  if (concealed && d != 0 && ValidImage(top)) {
    t.LastDiscardImage = static_cast<std::int16_t>(top);
    t.LastDiscardSeat = static_cast<std::uint8_t>(d);
  }
  t.LastDiscardFlushed = true;
}

// The middle slot of a pung of `code` in the seat's open part, or -1.
int PungMiddle(const PlayerEntry& seat, int code) {
  const int end = std::min<int>(kSlotCount, seat.firstConcealed);
  for (int k = 0; k + 2 < end; ++k) {
    bool pung = true;
    for (int j = k; j < k + 3 && pung; ++j) pung = seat.tiles[j].kind == kPungSlot && seat.tiles[j].code == code;
    if (pung) return k + 1;
  }
  return -1;
}

void SetAside(ClientContext& ctx, int d, int image, int code) {
  Table& t = ctx.table;
  PlayerEntry& seat = t.custom[d];
  const bool red = code == kRedCode;
  std::int16_t& count = red ? seat.redBonusCount : seat.wildBonusCount;
  const int spot = seat.redBonusCount + seat.wildBonusCount;
  if (count < 4) t.SeatSetAside[(red ? 0 : 4) + count][d] = static_cast<std::int16_t>(image);
  ++count;
  if (!ValidImage(image)) return;
  view::SetLyingTileSize(ctx, d);
  view::PlaceTile(ctx, image, view::SetAsideBox(ctx, d, spot));
  view::LoadTilePicture(ctx, image, view::FacePicture(code, d == 0 ? view::kTileSetOwnLying : d, false));
  view::TileImage(ctx, image).BringToFront();
}

void AddedGang(ClientContext& ctx, int d, const std::array<std::uint8_t, 3>& tiles) {
  Table& t = ctx.table;
  PlayerEntry& seat = t.custom[d];
  const int code = tiles[2];
  const bool aside = IsSetAsideTile(t, code);
  const std::vector<TileSlot> hand = ConcealedOf(seat);
  if (hand.empty()) return;
  int index = static_cast<int>(hand.size()) - 1;  // another seat: its last tile
  if (d == 0) {
    // The tile the player chose for the gang; a tile set aside is the server's move,
    // so it is looked up by its code.
    const int chosen = ctx.view.input.GangChoices[0] - seat.firstConcealed;
    if (!aside && chosen >= 0 && chosen < static_cast<int>(hand.size()) && hand[chosen].code == code)
      index = chosen;
    else if (const int found = Find(hand, code, {}); found >= 0)
      index = found;
  }
  const int image = hand[index].imageIndex;
  Repack(seat, Without(hand, {index}), seat.firstConcealed);
  // The slot the gang request marked becomes the next meld's again.
  if (d == 0 && seat.meldEnd - 2 >= 0 && seat.meldEnd - 2 < seat.firstConcealed &&
      seat.tiles[seat.meldEnd - 2].kind == kAddedGangSlot)
    seat.tiles[seat.meldEnd - 2] = TileSlot{};
  view::LayOutConcealedRow(ctx, d);
  if (d != 0 && ValidImage(image)) {
    t.LastDiscardImage = static_cast<std::int16_t>(image);
    t.LastDiscardSeat = static_cast<std::uint8_t>(d);
  }
  t.LastDiscardFlushed = true;
  if (aside) {
    SetAside(ctx, d, image, code);
    return;
  }
  const int middle = PungMiddle(seat, code);
  if (middle < 0) {
    // No pung of that tile in the row: it is nowhere to be shown.
    if (ValidImage(image)) view::TileImage(ctx, image).SetVisible(false);
    return;
  }
  for (int k = middle - 1; k <= middle + 1; ++k) seat.tiles[k].kind = kAddedGangSlot;
  view::ShowFaceAt(ctx, image, code, d, view::GangTopBox(ctx, d, middle));
  if (t.GangTopCount[d] < static_cast<int>(t.GangTops.size())) t.GangTops[t.GangTopCount[d]++][d] = kGangTopAdded;
}

void Win(ClientContext& ctx, int d) {
  Table& t = ctx.table;
  if (t.WinnerSeat != -1) return;
  platform::Form& score = ctx.ui.form(frm::Score);
  for (int i = 0; i < 4; ++i) score.Get(ctl::Score::ID, i).SetForeColor(kLoserColour);
  t.WinnerSeat = static_cast<std::int16_t>(d);
  score.Get(ctl::Score::ID, d).SetForeColor(kWinnerColour);
  if (d == 0) {
    // The own row stands again, for the tiles to be laid open.
    view::SetRowTileSize(ctx, 0);
    view::LayOutConcealedRow(ctx, 0);
  }
}

}  // namespace

bool IsSetAsideTile(const Table& t, int code) { return code == kRedCode || (IsTileCode(t.WildTile) && code == t.WildTile); }

void LayMeld(ClientContext& ctx, int d, int type, const std::array<std::uint8_t, 3>& tiles) {
  Table& t = ctx.table;
  d &= 3;
  switch (type) {
    case kResultChow:
    case kResultPung: ChowOrPung(ctx, d, type, tiles); break;
    case kResultExposedGang:
    case kResultConcealedGang:
      // The replacement comes from the back of the wall; the centre tile is in the meld.
      t.NextFromFront = kFalse;
      t.SkipFlush = kTrue;
      Gang(ctx, d, type, tiles);
      break;
    case kResultAddedGang:
      t.NextFromFront = kFalse;
      t.SkipFlush = kTrue;
      AddedGang(ctx, d, tiles);
      break;
    case kResultWin: Win(ctx, d); break;
    default: break;  // a pass, or a type the client does not know: the row stays
  }
}

}  // namespace tavrel::round
