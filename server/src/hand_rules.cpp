#include "hand_rules.h"

#include <algorithm>

namespace tavrel::server {

namespace {

bool SameSuitRun(int start) {
  // A run of three kinds from `start`, inside one suit of nine.
  if (start < 7 || start + 2 >= kKinds) return false;
  return (start - 7) / 9 == (start + 2 - 7) / 9;
}

// Can the counted tiles be split into sets alone (after the pair is taken)?
bool FormsSets(std::array<int, kKinds>& c, int wild) {
  int i = 0;
  while (i < kKinds && c[i] == 0) ++i;
  if (i == kKinds) return wild % 3 == 0;

  // Triplet of the lowest kind, filled up with wild tiles.
  {
    const int real = std::min(c[i], 3);
    const int need = 3 - real;
    if (need <= wild) {
      c[i] -= real;
      const bool ok = FormsSets(c, wild - need);
      c[i] += real;
      if (ok) return true;
    }
  }
  // Runs holding the lowest kind at any of their three places; places below it are wild.
  for (int start = i - 2; start <= i; ++start) {
    if (!SameSuitRun(start)) continue;
    int need = 0;
    std::array<bool, 3> usedReal{};
    for (int k = 0; k < 3; ++k) {
      const int kind = start + k;
      if (kind >= i && c[kind] > 0) {
        usedReal[k] = true;
      } else {
        ++need;
      }
    }
    if (!usedReal[i - start] || need > wild) continue;
    for (int k = 0; k < 3; ++k)
      if (usedReal[k]) --c[start + k];
    const bool ok = FormsSets(c, wild - need);
    for (int k = 0; k < 3; ++k)
      if (usedReal[k]) ++c[start + k];
    if (ok) return true;
  }
  return false;
}

}  // namespace

TileCounts CountTiles(std::span<const Tile> tiles, Tile wild) {
  TileCounts tc;
  for (Tile t : tiles) {
    if (t == wild) {
      ++tc.wild;
    } else if (int k = KindOf(t); k >= 0) {
      ++tc.count[k];
    }
  }
  return tc;
}

bool IsWinningHand(std::span<const Tile> concealed, int gangs, Tile wild) {
  const int sets = 4 - gangs;
  if (sets < 0 || static_cast<int>(concealed.size()) != 3 * sets + 2) return false;
  if (SevenPairsKind(concealed, gangs, wild) != 0) return true;
  TileCounts tc = CountTiles(concealed, wild);
  auto& c = tc.count;
  for (int k = 0; k < kKinds; ++k) {
    for (int real = 2; real >= 1; --real) {
      const int need = 2 - real;
      if (c[k] < real || need > tc.wild) continue;
      c[k] -= real;
      const bool ok = FormsSets(c, tc.wild - need);
      c[k] += real;
      if (ok) return true;
    }
  }
  return tc.wild >= 2 && [&] {
    auto copy = c;
    return FormsSets(copy, tc.wild - 2);
  }();
}

int SevenPairsKind(std::span<const Tile> concealed, int gangs, Tile wild) {
  if (gangs != 0 || concealed.size() != 14) return 0;
  const TileCounts tc = CountTiles(concealed, wild);
  int singles = 0;
  int fours = 0;
  for (int n : tc.count) {
    singles += n % 2;
    if (n == 4) ++fours;
  }
  if (singles > tc.wild || (tc.wild - singles) % 2 != 0) return 0;
  return fours == 0 ? 1 : fours == 1 ? 3 : 5;
}

std::vector<Tile> ConcealedGangTiles(std::span<const Tile> concealed, Tile wild) {
  const TileCounts tc = CountTiles(concealed, wild);
  std::vector<Tile> out;
  for (int k = 0; k < kKinds; ++k)
    if (tc.count[k] == 4) out.push_back(TileOfKind(k));
  return out;
}

bool CanExposedGang(std::span<const Tile> concealed, Tile discard, Tile wild) {
  if (discard == wild || !IsValidTile(discard)) return false;
  return std::count(concealed.begin(), concealed.end(), discard) == 3;
}

}  // namespace tavrel::server
