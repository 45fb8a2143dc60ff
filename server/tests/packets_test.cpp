// Fields of the server's packets where the client reads them.
#include <gtest/gtest.h>

#include "packets.h"
#include "session/command_record.h"
#include "wall.h"

namespace tavrel::server {
namespace {

namespace w = tavrel::wire;

TEST(Packets, RestoreBackNumberLandsOnTheNextReplacementTile) {
  // The client moves its back end from break + 82 by n + 1 (n odd) or n - 3 (n even).
  for (int breakPos = 0; breakPos < 84; breakPos += 2)
    for (int taken = 0; taken < 30; ++taken) {
      int back = (breakPos + 82) % 84;
      for (int i = 0; i < taken; ++i) back = BackStep(back);
      const int n = RestoreBackNumber(taken);
      const int clientBack = ((breakPos + 82) % 84 + (n % 2 == 1 ? n + 1 : n - 3) + 84) % 84;
      EXPECT_EQ(clientBack, back) << "break " << breakPos << " taken " << taken;
    }
}

TEST(Packets, TableResetGivesAWatcherTheWallBreak) {
  const std::array<std::array<int, 4>, 3> dice = {{{1, 2, 3, 4}, {6, 6, 6, 6}, {1, 1, 1, 1}}};
  for (const auto& d : dice)
    for (int rel = 0; rel < 4; ++rel) {
      const Packet p = TableResetPacket(2, rel, d, 0x23, 0x22);
      const Info info = DecodeRecord(p);
      const int x = info.value[0], y = info.value[1];
      const int clientFront = (2 * (17 * ((rel + 13 - x) % 4) + x + y)) % 84;
      EXPECT_EQ(clientFront, WallBreak(rel, d));
      EXPECT_EQ(info.Seat, 4);
      EXPECT_EQ(info.value[2], 0x23);
      EXPECT_EQ(info.value[3], 0x22);
    }
}

TEST(Packets, LoginResultCarriesClockAndTimeOutLimit) {
  const Packet p = LoginResultPacket(1, 12, 3);
  EXPECT_EQ(p[3], 18);
  EXPECT_EQ(p[9], 3);
  EXPECT_EQ(p[11] & 0x0F, 12);
  EXPECT_EQ(p[15], 1);
}

TEST(Packets, HandOverAndSettlementAgreeOnALoss) {
  const Packet over = HandOverPacket(1, -300, "点炮胡牌");
  EXPECT_EQ(over[6], 2);
  EXPECT_EQ(over[11], 1);  // the number keeps its own sign
  EXPECT_EQ(w::I64LE(over, 16), -300);
  EXPECT_EQ(w::GbkText(over, 46, 20), "点炮胡牌");

  SeatScore s;
  s.amount = -300;
  s.fedWin = true;
  s.dealerCount = 2;
  const Packet settle = SettlementPacket(1, s, 10, "新手");
  const Info info = DecodeRecord(settle);
  EXPECT_EQ(info.value[0] * 256 + info.value[1], 10);
  EXPECT_EQ(info.value[3], 1);
  EXPECT_EQ(w::U64LE(settle, 36), 300u);
  EXPECT_EQ(settle[44], 2);
  EXPECT_EQ(settle[20], 1);
  EXPECT_EQ(settle[27], 2);
  EXPECT_EQ(settle[19] & 0x0F, 0);  // not a winner
  // The level title travels in two-byte pairs.
  EXPECT_GE(settle[45], 0x81);
  EXPECT_EQ(settle[49], 0);
}

TEST(Packets, WinnerRecordCarriesItsPatterns) {
  SeatScore s;
  s.winner = true;
  s.selfDrawn = true;
  s.handShape = 0x11;
  s.concealedGangs = 1;
  s.missingSuits = 2;
  s.gangKai = true;
  s.amount = 900;
  const Packet p = SettlementPacket(3, s, 10, "高手");
  EXPECT_EQ(p[6], 8);
  EXPECT_EQ(p[17], 0x11);
  EXPECT_NE(p[19] & 0x0F, 0);
  EXPECT_EQ(p[21], 1);
  EXPECT_EQ(p[23], 1);
  EXPECT_EQ(p[25], 1);
  EXPECT_EQ(p[26], 2);
  EXPECT_EQ(p[44], 1);
}

TEST(Packets, UserInfoFieldsAndOwnRecord) {
  PlayerCard c;
  c.account = "alice";
  c.display = "爱丽丝";
  c.face = "w3";
  c.male = false;
  c.region = "本地";
  c.tag = "玩家";
  c.gold = 1000;
  c.points = 250;
  c.userId = 1002;
  c.ready = true;
  const Packet p = UserInfoPacket(c, 15);
  EXPECT_EQ(p[6], 15);
  EXPECT_EQ(w::GbkText(p, 16, 32), "爱丽丝");
  EXPECT_EQ(w::SingleByteText(p, 48, 16), "w3");
  EXPECT_EQ(p[64], 0);
  EXPECT_EQ(w::U64LE(p, 96), 1000u);
  EXPECT_EQ(w::SingleByteText(p, 168, 16), "alice");
  EXPECT_EQ(p[208], 1);
  EXPECT_EQ(w::U64LE(p, 226), 1002u);
  EXPECT_EQ(p[255], 1);  // no props
}

TEST(Packets, DealCarriesCodesOnlyForItsSeat) {
  std::array<Tile, 12> tiles{0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x41, 0x42, 0x43};
  const Packet own = DealPacket(2, &tiles);
  EXPECT_EQ(own[6], 4);
  EXPECT_EQ(own[11], 12);
  EXPECT_EQ(w::U16BE(own, 16), 0x21);
  EXPECT_EQ(w::U16BE(own, 38), 0x43);
  const Packet blind = DealPacket(2, nullptr);
  for (int i = 16; i < 40; ++i) EXPECT_EQ(blind[i], 0);
}

TEST(Packets, ClaimOptionsCarryTheDecisionTime) {
  const Packet p = ClaimOptionsPacket(0, 0x81, 12);
  EXPECT_EQ(DecodeRecord(p).value[0], 0x81);
  EXPECT_EQ(p[100], 12);
}

TEST(Packets, DealerAnnouncementCarriesTheReconnectNumber) {
  const Packet p = DealerPacket(3, 2, 1000000);
  EXPECT_EQ(p[6], 8);
  EXPECT_EQ(p[11], 2);
  EXPECT_EQ(p[15], 2);
  EXPECT_EQ(p[268], 0x40);
  EXPECT_EQ(p[269], 0x42);
  EXPECT_EQ(p[270], 0x0F);
  EXPECT_EQ(p[271], 0x00);
}

TEST(Packets, SeatTilesListsOpenThenConcealed) {
  const std::vector<Tile> open = {kRedDragon, 0x23, 0x23, 0x23, 0x23};
  const std::vector<Tile> concealed = {0, 0, 0};
  const Packet p = SeatTilesPacket(1, {open, concealed, 5, 60, 3});
  EXPECT_EQ(p[7], 5);
  EXPECT_EQ(DecodeRecord(p).value[1], 60);
  EXPECT_EQ(p[16], 0x20);
  EXPECT_EQ(p[17], kRedDragon);
  EXPECT_EQ(p[16 + 2 * 5], 0x10);
  EXPECT_EQ(p[16 + 2 * 8], 0);  // nothing after the last tile
}

TEST(Packets, DoublingRulesReachTheClient) {
  EXPECT_EQ(NewHandPacket(1, {1, 2, 3, 4})[18], 0);
  EXPECT_EQ(NewHandPacket(1, {1, 2, 3, 4}, true)[18], 1);
  PlayerCard c;
  c.account = "p";
  c.wealthRate = 10;
  c.diceRule = true;
  const Packet p = UserInfoPacket(c, 1);
  EXPECT_EQ(w::U32LE(p, 234), 10u);
  EXPECT_EQ(p[240], 1);
}

}  // namespace
}  // namespace tavrel::server
