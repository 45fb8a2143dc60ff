#pragma once
// A player at a position on the table: avatar, name, gold and level, the copies
// the sheet and the history window show, the rule lines and the wealth display.
#include <cstdint>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

inline constexpr const char* kCapRuleText = "个人金币数封顶";
inline constexpr const char* kWealthRuleText = "最少金币定倍数";
inline constexpr const char* kDiceRuleText = "骰子点数加倍";

// Shows Detail(p) at position p and keeps its sheet face.
void ShowPlayer(ClientContext& ctx, int p);
// The three rule lines of a UserInfo packet: the personal gold cap, the wealth
// rate, the dice doubling (each shown when its rule is on, left alone otherwise).
void ShowRuleIndicators(ClientContext& ctx, bool capRule, bool diceRule, std::uint32_t wealthRate);
// The wealth display after a rate was received: TableWealth in lbwealth, shown,
// when the rate is not 0; both hidden otherwise. The rate becomes the table's flag.
void ShowWealthAfterRate(ClientContext& ctx, std::uint32_t rateJustReceived);
// The wealth display for a table rate (the seat change notice): shown with that
// number, or hidden when it is 0.
void ShowTableWealthRate(ClientContext& ctx, std::uint32_t rate);

}  // namespace tavrel::scoring
