#pragma once
// The start of a hand: NewHand (command 4), HandParams (14) and TableReset (41),
// the wall, the dice, the dealer badge and the compass.
#include <array>
#include <cstdint>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::round {

void OnNewHand(ClientContext& ctx);
void OnHandParams(ClientContext& ctx);
void OnTableReset(ClientContext& ctx);

// All 84 positions face down along the four sides, with the wall sound.
void BuildWall(ClientContext& ctx);
// The dealer's two throws (value(0..1), then value(2..3)), tumbling on screen.
void RollDice(ClientContext& ctx, int r, const std::array<std::int16_t, 4>& values);
// The dealer-streak plaque: the dealer's name and how many hands in a row.
void ShowDealer(ClientContext& ctx, int r, int count);
// The compass turned to the own wind.
void ShowCompass(ClientContext& ctx);
// The doubling dice and their sum when offset 18 of NewHand is set; hidden otherwise.
void ShowDiceDoubling(ClientContext& ctx, bool doubling, int die1, int die2);

// Wall break of a dealer at relative seat r with the four dice.
int WallBreak(int r, const std::array<std::int16_t, 4>& dice);

}  // namespace tavrel::round
