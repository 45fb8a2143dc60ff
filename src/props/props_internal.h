#pragma once
// Steps the props' own files share.
#include <optional>
#include <string>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::props {

// The settlement hand-off of a tick (hand_end_show.cpp).
void SettlementHandOff(ClientContext& ctx);
// One tick of TimerProp: the chest animation, or the floating message's time.
void TimerPropTick(ClientContext& ctx);
// A whole number written as the whole text ("3", " 12 "); nothing otherwise.
std::optional<int> WholeNumber(const std::string& text);

}  // namespace tavrel::props
