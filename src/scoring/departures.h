#pragma once
// Between hands the table changes: PlayerLeft (command 16) announces a seat change,
// players who left, the next dealer or players short of gold; TableUsers (21) names
// one player who has left.
#include <string>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

inline constexpr const char* kMsgLeftGame = "退出了游戏！ ";
inline constexpr const char* kMsgRestartGame = "请退出重新开始游戏.";
inline constexpr const char* kMsgLeftGameEnd = "退出了游戏！游戏结束！";
inline constexpr const char* kMsgPlayer = "玩家";
inline constexpr const char* kMsgGoldTooLow = "金币不够，退出游戏！";
inline constexpr const char* kMsgChangeRoom = "您的金币不够，请更换房间或充值后继续游戏！";
inline constexpr const char* kMsgAllowance = "您的金币不够，请领取低保或充值后继续游戏！";
inline constexpr const char* kMsgSpectatorEnd = "有用户退出，旁观结束！";
inline constexpr const char* kMsgUserLeft = "退出了游戏 ";
inline constexpr const char* kLogTableUsers = "21桌上的人：";
inline constexpr int kDepartureCountdown = 15;
inline constexpr int kShortDepartureCountdown = 10;
inline constexpr int kHiddenDepartureCountdown = 1;

// PlayerLeft forms by value(3).
inline constexpr int kSeatChangeNotice = 0;
inline constexpr int kPlayersLeft = 1;
inline constexpr int kDealerAnnouncement = 2;

void OnPlayerLeft(ClientContext& ctx);
void OnTableUsers(ClientContext& ctx);

// Position p emptied: ready mark, avatar, labels, table name and the details
// (the account, tag, voice and user ID stay).
void ClearPosition(ClientContext& ctx, int p);
// ClearPosition, then the plug-in and the table's wealth forget the player.
void ReleasePosition(ClientContext& ctx, int p);
// The time of day as hour:minute:second, each without leading zeros.
std::string ClockText(ClientContext& ctx);
// The prop plug-in told that the table is gone, and switched off.
void ShutDownProps(ClientContext& ctx);

}  // namespace tavrel::scoring
