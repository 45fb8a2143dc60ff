#include "bot.h"

#include <algorithm>

#include "hand_rules.h"

namespace tavrel::server {

namespace {

int CountOf(std::span<const Tile> tiles, Tile t) {
  return static_cast<int>(std::count(tiles.begin(), tiles.end(), t));
}

bool HasNeighbour(std::span<const Tile> tiles, Tile t) {
  for (int delta : {-2, -1, 1, 2}) {
    const int rank = Rank(t) + delta;
    if (rank < 1 || rank > 9) continue;
    if (CountOf(tiles, static_cast<Tile>((t & 0xF0) | rank)) > 0) return true;
  }
  return false;
}

}  // namespace

Tile BotDiscard(std::span<const Tile> concealed, Tile drawn, Tile wild) {
  for (Tile t : concealed)
    if (t != wild && IsHonour(t) && CountOf(concealed, t) == 1) return t;
  for (Tile t : concealed)
    if (t != wild && IsTerminal(t) && CountOf(concealed, t) == 1 && !HasNeighbour(concealed, t)) return t;
  if (drawn != kNoTile && drawn != wild && CountOf(concealed, drawn) > 0) return drawn;
  for (auto it = concealed.rbegin(); it != concealed.rend(); ++it)
    if (*it != wild) return *it;
  return concealed.empty() ? kNoTile : concealed.back();
}

BotMove BotDecide(const Hand& hand, int seat) {
  BotMove move;
  const int options = hand.Options(seat);
  if (options & opt::kWin) {
    move.operation = op::kWin;
    return move;
  }
  move.operation = op::kPass;
  if (hand.OwnTurn(seat)) {
    move.discard = true;
    move.tile = BotDiscard(hand.Row(seat).concealed, hand.LastDrawn(seat), hand.WildTile());
  }
  return move;
}

}  // namespace tavrel::server
