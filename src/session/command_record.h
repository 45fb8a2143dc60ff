#pragma once
// The command record `info` and its packet encoding (without the rings and the
// chat text rules, which belong to the client's send path).
#include <array>
#include <cstdint>

#include "session/wire.h"

namespace tavrel {

// Offsets within a packet.
namespace off {
inline constexpr std::size_t kCmdHigh = 2;
inline constexpr std::size_t kCmd = 3;
inline constexpr std::size_t kReserved5 = 5;
inline constexpr std::size_t kSeat = 6;
inline constexpr std::size_t kReserved7 = 7;
inline constexpr std::size_t kValues = 8;  // value(i) at 8 + 2i, high byte first
inline constexpr std::size_t kPayload = 16;
inline constexpr std::size_t kToken = 260;
inline constexpr std::size_t kTailNumber = 268;  // ReconnectNumber, 32-bit little-endian
inline constexpr std::size_t kPropMarker = 236;  // chat: 32-bit big-endian prop marker
}  // namespace off

using SessionToken = std::array<std::uint8_t, 2>;

struct Info {
  std::int16_t Cmd = 0;
  std::uint8_t Reserved5 = 0;
  std::uint8_t Seat = 0;
  std::uint8_t Reserved7 = 0;
  std::array<std::int16_t, 4> value{};
};

// Commands whose four values are read as full signed 16-bit numbers; all others keep the low byte.
constexpr bool HasSignedValues(int command) { return command == 6 || command == 17; }

// Record to packet: 272 zero bytes with the record fields and the token filled in.
Packet EncodeRecord(const Info& info, SessionToken token);
// Packet to record, following the receiver's rules (offset 3 alone is the command,
// the seat is kept modulo 16, values truncated to their low byte except for 6 and 17).
Info DecodeRecord(wire::Bytes packet);

inline SessionToken TokenOf(wire::Bytes packet) {
  return {wire::U8(packet, off::kToken), wire::U8(packet, off::kToken + 1)};
}
inline void StampToken(Packet& p, SessionToken token) {
  p[off::kToken] = token[0];
  p[off::kToken + 1] = token[1];
}

// Seat index of a one-hot mask: the number of halvings while the byte is 2 or more.
constexpr int SeatIndexOfMask(int mask) {
  int n = 0;
  mask &= 0xFF;
  while (mask >= 2) {
    mask /= 2;
    ++n;
  }
  return n;
}

}  // namespace tavrel
