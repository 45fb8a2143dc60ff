#include "packets.h"

#include <algorithm>

#include "session/command_record.h"
#include "session/commands.h"
#include "wall.h"

namespace tavrel::server {

namespace w = tavrel::wire;

Packet Basic(int command, int seatMask, std::array<int, 4> values, int reserved7) {
  Info info;
  info.Cmd = static_cast<std::int16_t>(command);
  info.Seat = static_cast<std::uint8_t>(seatMask);
  info.Reserved7 = static_cast<std::uint8_t>(reserved7);
  for (int i = 0; i < 4; ++i) info.value[i] = static_cast<std::int16_t>(values[i]);
  return EncodeRecord(info, SessionToken{0, 0});
}

Packet LoginResultPacket(int result, int turnClock, int timeoutLimit) {
  // value(0)'s low byte (offset 9) is the time-out limit, value(1) the turn clock.
  return Basic(cmd::kLoginResult, 0, {timeoutLimit & 0xFF, turnClock & 0x0F, 0, result});
}

Packet SeatNamePacket(int seat, std::string_view account) {
  Packet p = Basic(cmd::kSeatName, MaskOf(seat));
  w::PutSingleByteText(p, 16, account, 16);
  return p;
}

Packet UserInfoPacket(const PlayerCard& c, int seatField) {
  Packet p = Basic(cmd::kUserInfo, seatField);
  w::PutGbkText(p, 16, c.display, 32);
  w::PutSingleByteText(p, 48, c.face, 16);
  w::PutU8(p, 64, c.male ? 1 : 0);
  w::PutGbkText(p, 72, c.region, 4);  // 76.. is read as a number as well
  w::PutU64LE(p, 80, static_cast<std::uint64_t>(std::max<std::int64_t>(c.points, 0)));
  w::PutU64LE(p, 88, static_cast<std::uint64_t>(std::max<std::int64_t>(c.credit, 0)));
  w::PutU64LE(p, 96, static_cast<std::uint64_t>(std::max<std::int64_t>(c.gold, 0)));
  w::PutGbkText(p, 112, LevelTitle(c.points), 16);
  w::PutU32LE(p, 152, c.logins);
  w::PutU32LE(p, 156, c.drops);
  w::PutU32LE(p, 160, c.wins);
  w::PutU32LE(p, 164, c.losses);
  w::PutSingleByteText(p, 168, c.account, 16);
  w::PutGbkText(p, 184, c.tag, 24);
  w::PutU8(p, 208, c.ready ? 1 : 0);
  w::PutU64LE(p, 226, c.userId);
  w::PutU32LE(p, 234, c.wealthRate);
  w::PutU8(p, 238, 0);  // no personal gold cap
  w::PutU8(p, 240, c.diceRule ? 1 : 0);
  w::PutU8(p, 255, c.props ? 0 : 1);  // 1: no props at this table
  return p;
}

Packet DealerPacket(int dealer, int dealerCount, std::uint32_t reconnectNumber) {
  Packet p = Basic(cmd::kPlayerLeft, MaskOf(dealer), {0, dealerCount & 0xFF, 0, 2});
  w::PutU32LE(p, 268, reconnectNumber);
  return p;
}

Packet GoldOutPacket(int remainingMask, int changeRoomMask) {
  return Basic(cmd::kPlayerLeft, remainingMask & 0x0F, {0, changeRoomMask & 0x0F, 0, 3});
}

Packet SeatChangePacket(bool automatic, bool showNow) {
  // Offsets 16..19 stay 0: no wealth doubling at this table.
  return Basic(cmd::kPlayerLeft, 0, {0, automatic ? 1 : 0, showNow ? 1 : 0, 0});
}

Packet TableUsersPacket(std::string_view account, bool shortCountdown) {
  Packet p = Basic(cmd::kTableUsers, 0, {shortCountdown ? 1 : 0, 0, 0, 0});
  w::PutSingleByteText(p, 16, account, 16);
  return p;
}

Packet PlayerReadyPacket(std::string_view account) {
  Packet p = Basic(cmd::kPlayerReady, 0, {0, 0, 0, 1});
  w::PutSingleByteText(p, 16, account, 16);
  return p;
}

Packet TableClosedPacket(std::string_view textUtf8) {
  Packet p = Basic(cmd::kTableClosed, 0);
  w::PutGbkText(p, 16, textUtf8, 200);
  return p;
}

Packet ReconnectResultPacket(bool accepted) { return Basic(cmd::kReconnectResult, 0, {0, 0, 0, accepted ? 1 : 0}); }

Packet NewHandPacket(int dealer, const std::array<int, 4>& dice, bool diceDoubling) {
  Packet p = Basic(cmd::kNewHand, MaskOf(dealer), {dice[0], dice[1], dice[2], dice[3]});
  w::PutU8(p, 18, diceDoubling ? 1 : 0);
  return p;
}

Packet DealPacket(int seat, const std::array<Tile, 12>* tiles) {
  Packet p = Basic(cmd::kDealTiles, MaskOf(seat), {0, 12, 0, 0});
  if (tiles)
    for (int i = 0; i < 12; ++i) w::PutU16BE(p, 16 + 2 * i, (*tiles)[i]);
  return p;
}

Packet DrawPacket(int seat, Tile tileOrZero) { return Basic(cmd::kDrawTile, MaskOf(seat), {0, 0, 0, tileOrZero}); }

Packet HandParamsPacket(Tile wild, Tile indicator) { return Basic(cmd::kHandParams, 0, {0, 0, wild, indicator}); }

Packet ClaimOptionsPacket(int seat, int options, int decisionSeconds) {
  Packet p = Basic(cmd::kClaimOptions, MaskOf(seat), {options & 0xFF, 0, 0, 0});
  w::PutU8(p, 100, static_cast<std::uint8_t>(std::clamp(decisionSeconds, 0, 255)));
  return p;
}

Packet ClaimResultPacket(int seat, int type, Tile tile) {
  // A 中 set aside names only the tile (value(3)); gangs name it three times.
  const bool meld = type == 16 || type == 32;
  return Basic(cmd::kClaimResult, MaskOf(seat), {type, meld ? tile : 0, meld ? tile : 0, tile});
}

Packet MeldResultPacket(int seat, int type, const std::array<Tile, 3>& tiles) {
  return Basic(cmd::kClaimResult, MaskOf(seat), {type, tiles[0], tiles[1], tiles[2]});
}

Packet DiscardPacket(int seat, Tile tile) { return Basic(cmd::kDiscardTile, MaskOf(seat), {0, 0, 0, tile}); }

Packet ShowdownPacket(int seat, std::span<const Tile> upToFour, const std::array<Tile, 5>& peek) {
  std::array<int, 4> v{};
  for (std::size_t i = 0; i < 4 && i < upToFour.size(); ++i) v[i] = upToFour[i];
  Packet p = Basic(cmd::kHandShowdown, MaskOf(seat), v);
  for (std::size_t i = 0; i < off::kShowdownPeekCount; ++i) w::PutU8(p, off::kShowdownPeek + i, peek[i]);
  return p;
}

Packet HandOverPacket(int seat, std::int64_t total, std::string_view captionUtf8) {
  // value(1) = 1: the number at 16..23 carries its own sign.
  Packet p = Basic(cmd::kHandOver, MaskOf(seat), {0, 1, 0, 0});
  w::PutU64LE(p, 16, static_cast<std::uint64_t>(total));
  w::PutU8(p, 29, 0);
  w::PutGbkText(p, 46, captionUtf8, 20);
  return p;
}

Packet SettlementPacket(int seat, const SeatScore& s, int roomBase, std::string_view levelTitleUtf8) {
  Packet p = Basic(cmd::kSettlement, MaskOf(seat), {(roomBase >> 8) & 0x7F, roomBase & 0xFF, 0, 1});
  w::PutU8(p, 17, static_cast<std::uint8_t>(s.winner ? s.handShape : 0));
  w::PutU8(p, 19, s.winner ? 0x01 : 0x00);
  w::PutU8(p, 20, s.fedWin ? 1 : 0);
  w::PutU8(p, 21, s.winner && s.selfDrawn ? 1 : 0);
  w::PutU8(p, 23, static_cast<std::uint8_t>(s.winner ? s.concealedGangs : 0));
  w::PutU8(p, 25, s.winner && s.gangKai ? 1 : 0);
  w::PutU8(p, 26, static_cast<std::uint8_t>(s.winner ? s.missingSuits : 0));
  w::PutU8(p, 27, static_cast<std::uint8_t>(std::clamp(s.dealerCount, 0, 255)));
  const std::uint64_t magnitude =
      s.amount < 0 ? 0 - static_cast<std::uint64_t>(s.amount) : static_cast<std::uint64_t>(s.amount);
  w::PutU64LE(p, 36, magnitude);
  w::PutU8(p, 44, s.amount < 0 ? 2 : s.amount > 0 ? 1 : 0);
  w::PutGbkText(p, 45, levelTitleUtf8, 16);  // two-byte characters only: read in pairs
  return p;
}

Packet TableResetPacket(int dealer, int dealerRel, const std::array<int, 4>& dice, Tile wild, Tile indicator) {
  // A watching client finds the break from value(0) = x and value(1) = y as
  // 2 * (17 * ((p + 13 - x) mod 4) + x + y) mod 84; with x = 0 that is solved for y.
  const int half = WallBreak(dealerRel, dice) / 2;
  const int y = ((half - 17 * ((dealerRel + 13) % 4)) % 42 + 42) % 42;
  return Basic(cmd::kTableReset, MaskOf(dealer), {0, y, wild, indicator});
}

int RestoreBackNumber(int backTaken) {
  // The client moves its back end by n + 1 for an odd n and n - 3 for an even one;
  // this n lands it on the position the next replacement tile comes from.
  const int k = backTaken % 84;
  return k % 2 == 0 ? (83 - k + 84) % 84 : (89 - k) % 84;
}

Packet SeatTilesPacket(int seat, const SeatTilesView& v) {
  Packet p = Basic(cmd::kSeatTiles, MaskOf(seat), {0, v.frontSteps & 0xFF, 0, RestoreBackNumber(v.backTaken)},
                   std::clamp(v.discardsInRow, 0, 255));
  int pair = 0;
  for (Tile t : v.open) {
    if (pair >= 24) break;
    w::PutU8(p, 16 + 2 * pair, 0x20);
    w::PutU8(p, 17 + 2 * pair, t);
    ++pair;
  }
  for (Tile t : v.concealed) {
    if (pair >= 24) break;
    w::PutU8(p, 16 + 2 * pair, 0x10);
    w::PutU8(p, 17 + 2 * pair, t);
    ++pair;
  }
  return p;
}

}  // namespace tavrel::server
