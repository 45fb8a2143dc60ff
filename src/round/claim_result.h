#pragma once
// Claims shown: ClaimResult (command 7) announced beside the claiming seat and laid
// into its row as a meld, a gang, a tile set aside or a win.
#include <array>
#include <cstdint>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::round {

// Result types (value(0)), the codes of the claim replies.
inline constexpr int kResultPass = 1;
inline constexpr int kResultChow = 4;
inline constexpr int kResultPung = 8;
inline constexpr int kResultExposedGang = 16;
inline constexpr int kResultConcealedGang = 32;
inline constexpr int kResultAddedGang = 64;
inline constexpr int kResultWin = 128;

void OnClaimResult(ClientContext& ctx);
// The announcement (for another seat) and the row change of a result; the spectator's
// announcement differs (Words for every gang, its own 2 s hiding).
void ShowMeld(ClientContext& ctx, int type, int seatMask, const std::array<std::uint8_t, 3>& tiles);

}  // namespace tavrel::round
