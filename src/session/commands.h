#pragma once
// Command numbers of the game protocol (offset 3 of a packet).
#include <cstdint>

namespace tavrel::cmd {

// Received (server to client).
inline constexpr int kDealTiles = 1;
inline constexpr int kDiscardTile = 2;
inline constexpr int kSeatName = 3;
inline constexpr int kNewHand = 4;
inline constexpr int kDrawTile = 5;
inline constexpr int kClaimOptions = 6;
inline constexpr int kClaimResult = 7;
inline constexpr int kHandOver = 9;
inline constexpr int kHandParams = 14;
inline constexpr int kHandShowdown = 15;
inline constexpr int kPlayerLeft = 16;
inline constexpr int kSettlement = 17;
inline constexpr int kLoginResult = 18;
inline constexpr int kChat = 19;
inline constexpr int kUserInfo = 20;
inline constexpr int kTableUsers = 21;
inline constexpr int kTableClosed = 22;
inline constexpr int kPlayerReady = 23;
inline constexpr int kReconnectResult = 29;
inline constexpr int kSeatTiles = 40;
inline constexpr int kTableReset = 41;
inline constexpr int kPropMessage44 = 44;
inline constexpr int kPropMessage45 = 45;
inline constexpr int kPropScore = 46;
inline constexpr int kOwnGoldChange = 91;
inline constexpr int kGoldChange = 92;

// Sent (client to server); 2, 16, 18, 19 share numbers with received commands.
inline constexpr int kClaimReply = 7;
inline constexpr int kContinue = 16;  // value(3) = 1
inline constexpr int kLeave = 16;     // all values 0, no token
inline constexpr int kLogin = 18;
inline constexpr int kKeepAlive = 24;
inline constexpr int kReconnect = 28;

// Claim operations: value(0) of ClaimReply and of ClaimResult.
inline constexpr int kOpPass = 1;
inline constexpr int kOpChow = 4;
inline constexpr int kOpPung = 8;
inline constexpr int kOpExposedGang = 16;
inline constexpr int kOpConcealedGang = 32;
inline constexpr int kOpAddedGang = 64;
inline constexpr int kOpWin = 128;

// Chat packets whose 32-bit big-endian number at 236..239 is one of these carry props.
inline constexpr std::uint32_t kPropMarkerA = 272;
inline constexpr std::uint32_t kPropMarkerB = 260;

// Name of a command for logs; "?" for numbers outside the catalogue.
const char* Name(int command, bool sent);

}  // namespace tavrel::cmd
