// The bots of --bot-melds: they gang whenever they can and claim 碰 and 吃 when offered.
#include "bot.h"
#include "hand_rules.h"

namespace tavrel::server {

BotMove BotDecideWithMelds(const Hand& hand, int seat) {
  const int options = hand.Options(seat);
  if (options & opt::kWin) return BotDecide(hand, seat);
  if (options & opt::kConcealedGang) {
    const auto tiles = ConcealedGangTiles(hand.Row(seat).concealed, hand.WildTile());
    if (!tiles.empty()) return {op::kConcealedGang, tiles.front(), false, kNoTile};
  }
  if (options & opt::kAddedGang) {
    const auto tiles = hand.AddedGangTiles(seat);
    if (!tiles.empty()) return {op::kAddedGang, tiles.front(), false, kNoTile};
  }
  if (options & opt::kExposedGang) return {op::kExposedGang, kNoTile, false, kNoTile};
  if (options & opt::kPung) return {op::kPung, kNoTile, false, kNoTile};
  if (options & opt::kChow) return {op::kChow, kNoTile, false, kNoTile};
  return BotDecide(hand, seat);
}

}  // namespace tavrel::server
