#pragma once
#include <string>
// Handlers of the small commands that belong to no other module: seat names,
// player ready, gold changes.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

void OnSeatName(ClientContext& ctx);
void OnPlayerReady(ClientContext& ctx);
void OnOwnGoldChange(ClientContext& ctx);
void OnGoldChange(ClientContext& ctx);

// Shows a gold figure in the position's gold label: the number followed by "金币".
void ShowGold(ClientContext& ctx, int position);
// Plain decimal text of a whole number held as a double.
std::string FormatAmount(double v);

}  // namespace tavrel::session
