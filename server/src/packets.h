#pragma once
// Builders of the packets the server sends, each field where the client reads it.
// Seats are indexes 0..3 here and travel as one-hot masks. Tokens are stamped later,
// when a packet is queued for one connection.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "scoring.h"
#include "session/wire.h"
#include "tiles.h"

namespace tavrel::server {

constexpr int MaskOf(int seat) { return 1 << (seat & 3); }

// What the client shows of a player (UserInfo).
struct PlayerCard {
  std::string_view account;  // single-byte user ID, also the table name
  std::string_view display;  // UTF-8 display name
  std::string_view face;     // m1..m10, w1..w10
  bool male = true;
  std::string_view region;
  std::string_view tag;
  std::int64_t points = 0;
  std::int64_t credit = 100;
  std::int64_t gold = 0;
  std::uint32_t logins = 1;
  std::uint32_t drops = 0;
  std::uint32_t wins = 0;
  std::uint32_t losses = 0;
  std::uint64_t userId = 0;
  bool ready = false;
  std::uint32_t wealthRate = 0;  // the table's wealth doubling; 0 = none
  bool diceRule = false;         // the table doubles by the dice
  bool props = false;            // props at this table (--props); otherwise byte 255 says none
};

// Command and values; everything else zero.
Packet Basic(int command, int seatMask, std::array<int, 4> values = {0, 0, 0, 0}, int reserved7 = 0);

Packet LoginResultPacket(int result, int turnClock, int timeoutLimit);
Packet SeatNamePacket(int seat, std::string_view account);
// `seatField` is the seat mask, or 15 for the receiver's own record.
Packet UserInfoPacket(const PlayerCard& card, int seatField);
Packet DealerPacket(int dealer, int dealerCount, std::uint32_t reconnectNumber);
Packet GoldOutPacket(int remainingMask, int changeRoomMask);
// The seats will be drawn anew: automatically at the next Continue, and/or shown at once.
Packet SeatChangePacket(bool automatic, bool showNow);
Packet TableUsersPacket(std::string_view account, bool shortCountdown);
Packet PlayerReadyPacket(std::string_view account);
Packet TableClosedPacket(std::string_view textUtf8);
Packet ReconnectResultPacket(bool accepted);

// `diceDoubling`: the second throw's dice multiply the stakes (offset 18).
Packet NewHandPacket(int dealer, const std::array<int, 4>& dice, bool diceDoubling = false);
// `tiles` null for a viewer who is not the seat (no codes).
Packet DealPacket(int seat, const std::array<Tile, 12>* tiles);
Packet DrawPacket(int seat, Tile tileOrZero);
Packet HandParamsPacket(Tile wild, Tile indicator);
Packet ClaimOptionsPacket(int seat, int options, int decisionSeconds);
Packet ClaimResultPacket(int seat, int type, Tile tile);
// A chow or pung: the seat's two tiles in value(1), value(2), the claimed one in value(3).
Packet MeldResultPacket(int seat, int type, const std::array<Tile, 3>& tiles);
Packet DiscardPacket(int seat, Tile tile);
Packet ShowdownPacket(int seat, std::span<const Tile> upToFour, const std::array<Tile, 5>& peek);

Packet HandOverPacket(int seat, std::int64_t total, std::string_view captionUtf8);
Packet SettlementPacket(int seat, const SeatScore& s, int roomBase, std::string_view levelTitleUtf8);

// Rebuild of a running hand for a joining or returning viewer.
// `dealerRel` is the dealer's seat as the viewer's client sees it.
Packet TableResetPacket(int dealer, int dealerRel, const std::array<int, 4>& dice, Tile wild, Tile indicator);
struct SeatTilesView {
  std::span<const Tile> open;       // set-aside 中, then the gangs' tiles
  std::span<const Tile> concealed;  // codes, or zeros for a seat the viewer does not see
  int discardsInRow = 0;
  int frontSteps = 0;
  int backTaken = 0;
};
Packet SeatTilesPacket(int seat, const SeatTilesView& view);
// The number the client's restore moves its back end by, for `backTaken` replacement tiles.
int RestoreBackNumber(int backTaken);

}  // namespace tavrel::server
