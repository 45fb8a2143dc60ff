#pragma once
// The sample prop plug-in's packets, as it and tavrel-server understand them. Every
// packet is 272 bytes: offset 3 the command, 6 a seat mask, 8..9 the message number
// (high byte first), the payload from 16. The client stamps its token at 260..261.
#include <cstddef>
#include <cstdint>

namespace tavrel::sample_props {

inline constexpr std::size_t kPacketBytes = 272;
inline constexpr std::size_t kCommand = 3;
inline constexpr std::size_t kSeatMask = 6;
inline constexpr std::size_t kNumberHigh = 8, kNumberLow = 9;
inline constexpr std::size_t kPayload = 16;

// Commands.
inline constexpr std::uint8_t kToServer = 45;    // client -> server
inline constexpr std::uint8_t kFromServer = 44;  // server -> clients
inline constexpr std::uint8_t kPropScore = 46;   // server -> clients, before a won hand's results

// Message numbers of kToServer and kFromServer. (Numbers 1032..1039 and 3088..3095 of
// command 45 are held back by the client between hands; these are not.)
inline constexpr int kBankQuery = 1;  // to: the own seat mask. from: kBankBalance
inline constexpr int kUseProp = 2;    // to and from: the user's mask at kSeatMask, kPropId, kTargetMask

// kBankQuery answer: the balance, 32-bit little-endian at the payload.
inline constexpr std::size_t kBankBalance = kPayload;
// kUseProp.
inline constexpr std::size_t kPropId = kPayload;
inline constexpr std::size_t kTargetMask = kPayload + 1;
inline constexpr int kFlower = 1;  // 鲜花
inline constexpr int kEgg = 2;     // 鸡蛋

// kPropScore: per absolute seat s (0..3) the gold of its chest, 32-bit little-endian at
// kChestGold + 4 s; 0 = no chest.
inline constexpr std::size_t kChestGold = kPayload;

// The chests' pictures, drawn by sample-props-art into the picture pack.
inline constexpr int kPicChestClosed = 20001;
inline constexpr int kPicChestOpen = 20002;
inline constexpr int kChestWidth = 64, kChestHeight = 56;

}  // namespace tavrel::sample_props
