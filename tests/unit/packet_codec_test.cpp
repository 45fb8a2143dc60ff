// The packet layout, the record encoding and the receiver's decoding rules.
#include <gtest/gtest.h>

#include "session/command_record.h"
#include "session/commands.h"
#include "session/wire.h"

namespace tavrel {
namespace {

TEST(PacketCodec, DiscardRecordEncodesToTheDocumentedBytes) {
  Info info;
  info.Cmd = 2;
  info.Seat = 4;
  info.value = {0, 0, 0, 0x4012};
  Packet p = EncodeRecord(info, {0xAB, 0xCD});
  Packet expected{};
  expected[3] = 0x02;
  expected[6] = 0x04;
  expected[14] = 0x40;
  expected[15] = 0x12;
  expected[260] = 0xAB;
  expected[261] = 0xCD;
  EXPECT_EQ(p, expected);
}

TEST(PacketCodec, NegativeValueIsFFFFAndDecodesByCommand) {
  struct Case {
    int command;
    int expected;
  } cases[] = {{17, -1}, {6, -1}, {7, 255}, {2, 255}};
  for (const auto& c : cases) {
    Info info;
    info.Cmd = static_cast<std::int16_t>(c.command);
    info.value[0] = -1;
    Packet p = EncodeRecord(info, {0, 0});
    EXPECT_EQ(p[8], 0xFF);
    EXPECT_EQ(p[9], 0xFF);
    EXPECT_EQ(DecodeRecord(p).value[0], c.expected) << "command " << c.command;
  }
}

TEST(PacketCodec, ReceiverReadsOffsetThreeAloneAndSeatModulo16) {
  Packet p{};
  p[2] = 1;
  p[3] = 2;
  p[6] = 0x34;
  p[7] = 9;
  Info info = DecodeRecord(p);
  EXPECT_EQ(info.Cmd, 2);
  EXPECT_EQ(info.Seat, 4);
  EXPECT_EQ(info.Reserved7, 9);
}

TEST(PacketCodec, LargeCommandNumbersSplitTowardZero) {
  Info info;
  info.Cmd = 300;
  Packet p = EncodeRecord(info, {0, 0});
  EXPECT_EQ(p[2], 1);
  EXPECT_EQ(p[3], 44);
}

TEST(PacketCodec, SeatIndexOfMask) {
  const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {2, 1}, {4, 2}, {8, 3}, {3, 1}, {255, 7}};
  for (auto [mask, index] : cases) EXPECT_EQ(SeatIndexOfMask(mask), index) << mask;
}

TEST(Wire, ReadsPastTheEndAreZeroAndWritesAreDropped) {
  std::array<std::uint8_t, 4> buf{1, 2, 3, 4};
  EXPECT_EQ(wire::U32BE(buf, 0), 0x01020304u);
  EXPECT_EQ(wire::U32LE(buf, 0), 0x04030201u);
  EXPECT_EQ(wire::U16BE(buf, 3), 0x0400);
  EXPECT_EQ(wire::U32BE(buf, 100), 0u);
  EXPECT_EQ(wire::U64LE(buf, 2), 0x0403u);
  wire::PutU32LE(buf, 2, 0xAABBCCDD);
  EXPECT_EQ(buf[2], 0xDD);
  EXPECT_EQ(buf[3], 0xCC);
  wire::PutU64LE(buf, static_cast<std::size_t>(-1), 7);  // far out of range: nothing written
  EXPECT_EQ(buf[0], 1);
}

TEST(Wire, SignedAmountIsSignBytePlusLittleEndianMagnitude) {
  Packet p{};
  wire::PutSignedAmount(p, 16, -500);
  EXPECT_EQ(p[16], 1);
  EXPECT_EQ(p[17], 0xF4);
  EXPECT_EQ(p[18], 0x01);
  EXPECT_DOUBLE_EQ(wire::SignedAmount(p, 16), -500.0);
  p[16] = 7;  // any non-zero sign byte means negative
  EXPECT_DOUBLE_EQ(wire::SignedAmount(p, 16), -500.0);
}

}  // namespace
}  // namespace tavrel
