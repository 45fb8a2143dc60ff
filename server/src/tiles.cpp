#include "tiles.h"

namespace tavrel::server {

namespace {
constexpr std::array<int, 3> kSuitBits = {0x2, 0x4, 0x8};
}

bool IsValidTile(Tile t) { return KindOf(t) >= 0; }

int KindOf(Tile t) {
  const int rank = Rank(t);
  switch (SuitBits(t)) {
    case 0x1: return rank >= 1 && rank <= 7 ? rank - 1 : -1;
    case 0x2: return rank >= 1 && rank <= 9 ? 7 + rank - 1 : -1;
    case 0x4: return rank >= 1 && rank <= 9 ? 16 + rank - 1 : -1;
    case 0x8: return rank >= 1 && rank <= 9 ? 25 + rank - 1 : -1;
    default: return -1;
  }
}

Tile TileOfKind(int kind) {
  if (kind < 0 || kind >= kKinds) return kNoTile;
  if (kind < 7) return static_cast<Tile>(0x10 | (kind + 1));
  const int suit = (kind - 7) / 9;
  const int rank = (kind - 7) % 9 + 1;
  return static_cast<Tile>(kSuitBits[suit] << 4 | rank);
}

std::vector<Tile> FullSet() {
  std::vector<Tile> set;
  set.reserve(kSetSize);
  for (int k = 0; k < kKinds; ++k)
    for (int i = 0; i < 4; ++i) set.push_back(TileOfKind(k));
  return set;
}

Tile WildAfter(Tile indicator) {
  if (!IsValidTile(indicator)) return 0x16;
  const int limit = IsHonour(indicator) ? 7 : 9;
  Tile next = static_cast<Tile>((indicator & 0xF0) | (Rank(indicator) % limit + 1));
  return next == kRedDragon ? Tile{0x16} : next;
}

std::string TileName(Tile t) {
  static const char* const kHonours[] = {"東", "南", "西", "北", "中", "發", "白"};
  if (!IsValidTile(t)) return "?";
  if (IsHonour(t)) return kHonours[Rank(t) - 1];
  const char* suit = SuitBits(t) == 0x2 ? "条" : SuitBits(t) == 0x4 ? "万" : "筒";
  return std::to_string(Rank(t)) + suit;
}

}  // namespace tavrel::server
