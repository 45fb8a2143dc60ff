#pragma once
// Scoring of a won hand, in 嘴 (points) and coins. Written down in server/README.md.
#include <array>
#include <cstdint>
#include <string>

#include "hand.h"

namespace tavrel::server {

inline constexpr int kWinPoints = 15;
inline constexpr int kSevenPairsPoints = 10;
inline constexpr int kLuxurySevenPairsPoints = 50;
inline constexpr int kSuperSevenPairsPoints = 100;
inline constexpr int kPureSuitPoints = 100;
inline constexpr int kConcealedGangPoints = 4;
inline constexpr int kMissingSuitPoints = 2;

// The facts of one seat that the settlement record carries.
struct SeatScore {
  bool winner = false;
  int handShape = 0;      // low nibble seven-pairs kind, high nibble 1 = 清一色
  bool fedWin = false;    // 点炮
  bool selfDrawn = false; // 自摸 (the winner's record)
  int concealedGangs = 0;
  bool gangKai = false;
  int missingSuits = 0;
  int dealerCount = 0;    // 0 not the dealer, else consecutive deals
  std::int64_t amount = 0;  // coins won (+) or paid (-)
};

struct HandScore {
  int winnerPoints = 0;  // the winner's 嘴 before the dealer bonus
  int multiplier = 1;    // 2 for 杠开
  std::array<SeatScore, 4> seats{};
};

// Scores a finished hand. `gold` is what each seat holds: nobody pays more than that,
// and the winner receives exactly what the others pay, so the amounts add up to zero.
HandScore ScoreHand(const Hand& hand, int dealerCount, const std::array<std::int64_t, 4>& gold,
                    int coinsPerPoint);

// Level title for a points figure (two-byte characters only: the settlement record
// carries it in byte pairs).
std::string LevelTitle(std::int64_t points);

}  // namespace tavrel::server
