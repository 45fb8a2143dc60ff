#pragma once
// The player card: the Information window with nine facts about a player, shown
// beside an avatar while the pointer rests on it.
#include <array>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

inline constexpr std::array<const char*, 9> kCardTitles = {"玩家昵称", "性    别", "所 在 地", "积    分", "信 用 度",
                                                          "登录次数", "掉线次数", "胜场次数", "败场次数"};
inline constexpr double kCardWidth = 220, kCardHeight = 206;

// Builds the card's window and connects the avatars' hover to it.
void CreatePlayerCard(ClientContext& ctx);
// The card of position p, beside its avatar; nothing when a card is shown already
// or nobody sits there.
void ShowPlayerCard(ClientContext& ctx, int p);
void HidePlayerCard(ClientContext& ctx);

}  // namespace tavrel::view
