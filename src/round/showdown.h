#pragma once
// Hand showdown: HandShowdown (command 15) reveals the other seats' concealed tiles,
// four a packet; once all three are known every hand is laid open. The first packet
// of a hand also names the next tiles of the wall (the peek), for the player to turn
// over after the hand.
#include <array>
#include <cstdint>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::round {

void OnHandShowdown(ClientContext& ctx);
void ShowHands(ClientContext& ctx, int seatMask, const std::array<std::int16_t, 4>& values);

}  // namespace tavrel::round
