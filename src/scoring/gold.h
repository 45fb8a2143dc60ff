#pragma once
// Gold changes between hands (commands 91 and 92) and the gold labels Cash(0..3).
#include <string>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

void OnOwnGoldChange(ClientContext& ctx);
void OnGoldChange(ClientContext& ctx);

// Shows a gold figure in the position's gold label: the number followed by "金币".
void ShowGold(ClientContext& ctx, int position);
// Plain decimal text of a whole number held as a double.
std::string FormatAmount(double v);

}  // namespace tavrel::scoring
