#pragma once
// The row change of a claim result: a chow or pung of three, a gang of three with the
// fourth on top, an added tile on its pung or set aside beside the row, and the win.
// Slots stay within the row: a meld that would pass its last slot is not laid.
#include <array>
#include <cstdint>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::round {

struct Table;

void LayMeld(ClientContext& ctx, int d, int type, const std::array<std::uint8_t, 3>& tiles);

// 中 and the hand's wild tile are set aside rather than added to a pung.
bool IsSetAsideTile(const Table& t, int code);

// Kinds of the slots of laid melds (kind 3 marks a pung, which an added gang may join).
inline constexpr int kChowSlot = 2;
inline constexpr int kPungSlot = 3;
inline constexpr int kExposedGangSlot = 4;
inline constexpr int kConcealedGangSlot = 5;
inline constexpr int kAddedGangSlot = 6;

// GangTops entries.
inline constexpr int kGangTopConcealed = 3;
inline constexpr int kGangTopAdded = 2;

}  // namespace tavrel::round
