#pragma once
// Our rules for a complete hand: four sets (runs or triplets; a gang counts as a
// set already laid down) and a pair, or seven pairs. The hand's wild tile stands
// for any tile.
#include <array>
#include <span>
#include <vector>

#include "tiles.h"

namespace tavrel::server {

struct TileCounts {
  std::array<int, kKinds> count{};
  int wild = 0;
};
TileCounts CountTiles(std::span<const Tile> tiles, Tile wild);

// The concealed tiles (3n+2 of them, with n = 4 - gangs) form a winning hand.
bool IsWinningHand(std::span<const Tile> concealed, int gangs, Tile wild);
// Seven-pairs kind of fourteen concealed tiles: 0 none, 1 plain, 3 with one four of a
// kind, 5 with two or more.
int SevenPairsKind(std::span<const Tile> concealed, int gangs, Tile wild);

// Tiles the seat could declare as a concealed gang (four real ones in the hand; never
// the wild tile).
std::vector<Tile> ConcealedGangTiles(std::span<const Tile> concealed, Tile wild);
// Three real copies of the discard are held (never for the wild tile).
bool CanExposedGang(std::span<const Tile> concealed, Tile discard, Tile wild);

}  // namespace tavrel::server
