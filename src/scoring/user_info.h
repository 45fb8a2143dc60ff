#pragma once
// The players' details (command 20): decoding, the seat each player takes, the
// round of details after the seat names, and the spectator's collection of four.
#include <array>
#include <cstdint>
#include <string>

#include "scoring/player_details.h"
#include "session/wire.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

inline constexpr const char* kMsgGameStartsSoon = "游戏将在15秒内开始";

// Fills a record from a UserInfo packet. Texts stop at their first zero byte or at
// the end of their field; 64-bit numbers are held as doubles.
void DecodeDetail(scoring::Detail& d, const Packet& packet);
// Avatar 0..19 of a face code: "m1".."m10" are 0..9, "w1".."w10" are 10..19; a
// code whose digits are no number in 1..10 gives 0 (10 for a "w" code).
int AvatarIndex(const std::string& face);
// The smallest rate above 0 (0 when none is).
std::uint32_t TableWealth(const std::array<std::uint32_t, 4>& rates);

// UserInfo (command 20): a player's details, or one of a spectator's four.
void OnUserInfo(ClientContext& ctx);
// The first seat name of a table starts the round of four details.
void StartInfoRound(ClientContext& ctx);
// A spectator's four details, handled together once the fourth has arrived.
void PlaceWatchedTable(ClientContext& ctx);
// The wall break of a rejoined table seen from a spectator whose dealer sits at
// position p, from the two values of the last TableReset; always 0..83.
int WatchedWallFront(int p, int x, int y);

}  // namespace tavrel::scoring
