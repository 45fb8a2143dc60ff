// 吃, 碰 and the added gang: claims the reference rules leave out, played by bots that
// are given them (--bot-melds), so that a table shows every meld a client must draw.
#include <algorithm>

#include "hand.h"
#include "hand_rules.h"

namespace tavrel::server {

namespace {

int CountOf(const std::vector<Tile>& tiles, Tile t) { return static_cast<int>(std::count(tiles.begin(), tiles.end(), t)); }

// The seat's two tiles that make a run with the discard, lowest run first.
std::optional<std::array<Tile, 2>> ChowPair(const std::vector<Tile>& concealed, Tile discard, Tile wild) {
  if (!IsSuited(discard) || discard == wild) return std::nullopt;
  for (auto [da, db] : {std::pair{-2, -1}, {-1, 1}, {1, 2}}) {
    const int ra = Rank(discard) + da, rb = Rank(discard) + db;
    if (ra < 1 || rb > 9) continue;
    const Tile a = static_cast<Tile>((discard & 0xF0) | ra), b = static_cast<Tile>((discard & 0xF0) | rb);
    if (a == wild || b == wild) continue;
    if (CountOf(concealed, a) > 0 && CountOf(concealed, b) > 0) return std::array<Tile, 2>{a, b};
  }
  return std::nullopt;
}

}  // namespace

int Hand::SetsLaid(int seat) const {
  return static_cast<int>(rows_[seat].gangs.size() + rows_[seat].melds.size());
}

std::vector<Tile> Hand::AddedGangTiles(int seat) const {
  std::vector<Tile> out;
  const SeatRow& row = rows_[seat];
  for (const Meld& m : row.melds)
    if (m.type == op::kPung && m.tiles[2] != wild_ && CountOf(row.concealed, m.tiles[2]) > 0) out.push_back(m.tiles[2]);
  return out;
}

int Hand::MeldOptions(int seat, Tile discard) const {
  // Only between seats that take melds: a player's discards are never claimed so.
  if (!setup_.meldSeats[seat] || discarder_ < 0 || !setup_.meldSeats[discarder_]) return 0;
  if (discard == wild_ || discard == kRedDragon) return 0;
  const SeatRow& row = rows_[seat];
  int options = 0;
  if (CountOf(row.concealed, discard) >= 2) options |= opt::kPung;
  if (seat == (discarder_ + 1) % 4 && ChowPair(row.concealed, discard, wild_)) options |= opt::kChow;
  return options;
}

bool Hand::ResolveMelds() {
  // A pung goes before a chow; the nearest seat after the discarder first.
  for (int type : {op::kPung, op::kChow})
    for (int i = 1; i < 4; ++i) {
      const int s = (discarder_ + i) % 4;
      if (claimReplies_[s] != type) continue;
      SeatRow& row = rows_[s];
      std::array<Tile, 3> tiles{claimTile_, claimTile_, claimTile_};
      if (type == op::kChow) {
        const auto pair = ChowPair(row.concealed, claimTile_, wild_);
        if (!pair) continue;
        tiles = {(*pair)[0], (*pair)[1], claimTile_};
      }
      RemoveOne(s, tiles[0]);
      RemoveOne(s, tiles[1]);
      row.melds.push_back({type, tiles});
      rows_[discarder_].discardsInRow -= 1;
      Emit(EvMeld{s, type, tiles});
      // No draw: the seat discards from what it holds.
      BeginTurn(s);
      return true;
    }
  return false;
}

bool Hand::AddedGang(int seat, Tile tile) {
  SeatRow& row = rows_[seat];
  const auto tiles = AddedGangTiles(seat);
  if (std::find(tiles.begin(), tiles.end(), tile) == tiles.end()) return false;
  RemoveOne(seat, tile);
  auto pung = std::find_if(row.melds.begin(), row.melds.end(),
                           [&](const Meld& m) { return m.type == op::kPung && m.tiles[2] == tile; });
  row.melds.erase(pung);
  row.gangs.push_back({tile, op::kAddedGang});
  Emit(EvGang{seat, op::kAddedGang, tile});
  AfterGang(seat);
  return true;
}

}  // namespace tavrel::server
