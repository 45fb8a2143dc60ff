#pragma once
// The bots' play: always declare a win, pass every other offer, and discard by a
// simple rule: an isolated honour first, then an isolated terminal, then the tile
// just drawn (never the wild tile while another tile will do).
#include <span>

#include "hand.h"

namespace tavrel::server {

struct BotMove {
  int operation = op::kPass;  // the reply to the open offer
  Tile replyTile = kNoTile;   // the gang's tile, for a gang of the seat's own
  bool discard = false;
  Tile tile = kNoTile;        // the discard
};

Tile BotDiscard(std::span<const Tile> concealed, Tile drawn, Tile wild);
BotMove BotDecide(const Hand& hand, int seat);
// Under --bot-melds: a win first, then any gang, then 碰, then 吃; otherwise as BotDecide.
BotMove BotDecideWithMelds(const Hand& hand, int seat);

}  // namespace tavrel::server
