#pragma once
// Tile codes as they travel on the wire: high nibble the suit bit (0x1 honours,
// 0x2 bamboo, 0x4 characters, 0x8 dots), low nibble the rank.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavrel::server {

using Tile = std::uint8_t;

inline constexpr Tile kNoTile = 0;
inline constexpr Tile kRedDragon = 0x15;  // 中: set aside whenever a seat holds one
inline constexpr int kKinds = 34;         // 7 honours + 3 suits of 9
inline constexpr int kSetSize = 136;      // four of every kind

constexpr int SuitBits(Tile t) { return t >> 4; }
constexpr int Rank(Tile t) { return t & 0x0F; }
constexpr bool IsHonour(Tile t) { return SuitBits(t) == 0x1; }
constexpr bool IsSuited(Tile t) { return SuitBits(t) == 0x2 || SuitBits(t) == 0x4 || SuitBits(t) == 0x8; }
constexpr bool IsTerminal(Tile t) { return IsSuited(t) && (Rank(t) == 1 || Rank(t) == 9); }
bool IsValidTile(Tile t);

// Dense index 0..33 (honours, bamboo, characters, dots); -1 for a code that is no tile.
int KindOf(Tile t);
Tile TileOfKind(int kind);

// The full set, four of every kind, in kind order.
std::vector<Tile> FullSet();

// The wild tile named by an indicator: the next rank of the same suit (9 wraps to 1,
// honours run 東南西北中發白 round); 中 is never wild, so it passes on to 發.
Tile WildAfter(Tile indicator);

// A short readable name for logs ("5万", "東").
std::string TileName(Tile t);

}  // namespace tavrel::server
