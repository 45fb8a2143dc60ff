#pragma once
// The scoring patterns of a won hand: each seat's score record as the server sends
// it (Settlement), and the pattern lines of the settlement sheet made from it. The
// client neither looks at tiles nor sums the lines: the values are the server's.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "session/wire.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

struct ScoreRecord {
  // value(0) x 256 + value(1): the room's base stake.
  std::int32_t RoomBase = 0;
  // Low byte of value(3): 1 = amounts in 金币, anything else 金条.
  std::uint8_t Unit = 0;
  // The Settlement packet; its bytes 16..69 are the record.
  Packet packet{};

  std::uint8_t Byte(std::size_t offset) const { return wire::U8(packet, offset); }
  // Low four bits of WinFlags, or a seven-pairs kind.
  bool Winner() const;
  // Amount, negated when AmountSign is 2.
  double FinalAmount() const;
  std::uint8_t AmountSign() const { return Byte(off::kScoreAmountSign); }
  bool InGold() const { return Unit == 1; }
  // The level title from its byte pairs (up to the first pair with a zero first byte).
  std::string LevelTitle() const;
};

using ScoreRecords = std::array<ScoreRecord, 4>;

// "胡牌" padded to 10 characters, then "15嘴"; a label without value stays unpadded.
std::string PatternLine(const std::string& label, int value);
std::string PatternLine(const std::string& label);

// The pattern lines of every seat, in the fixed order, the columns made equally long
// with empty lines.
std::array<std::vector<std::string>, 4> PatternLines(const ScoreRecords& records);

// Appends the pattern lines of the stored records to the sheet's four columns.
void BuildPatternLines(ClientContext& ctx);

}  // namespace tavrel::scoring
