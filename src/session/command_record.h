#pragma once
// The command record `info` and its packet encoding (without the rings and the
// chat text rules, which belong to the client's send path).
#include <array>
#include <cstdint>

#include "session/wire.h"

namespace tavrel {


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
  wire::PutU8(p, off::kToken, token[0]);
  wire::PutU8At(p, off::kToken, 1, token[1]);
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
