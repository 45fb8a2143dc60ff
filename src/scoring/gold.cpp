#include "scoring/gold.h"

#include <cmath>
#include <cstdio>

#include "app/client_context.h"
#include "platform/names.h"

namespace tavrel::scoring {
namespace {

void AddGold(ClientContext& ctx, int position, double amount) {
  double& coins = ctx.players.Detail[position].Coins;
  coins += amount;
  if (coins < 0) coins = 0;
  ShowGold(ctx, position);
}

}  // namespace

std::string FormatAmount(double v) {
  if (!std::isfinite(v)) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.0f", v);
  return std::string(buf) == "-0" ? "0" : buf;
}

void ShowGold(ClientContext& ctx, int position) {
  ctx.main().Get(ctl::Cash, position).SetCaption(FormatAmount(ctx.players.Detail[position].Coins) + "金币");
}

void OnOwnGoldChange(ClientContext& ctx) {
  AddGold(ctx, 0, wire::SignedAmount(ctx.session.RecvPacket, off::kGoldAmount));
}

void OnGoldChange(ClientContext& ctx) {
  const auto& p = ctx.session.RecvPacket;
  const double amount = wire::SignedAmount(p, off::kGoldAmount);
  const std::string userId = wire::GbkText(p, off::kGoldUserId, off::kGoldUserIdBytes);
  for (int pos = 1; pos <= 3; ++pos) {
    const auto& d = ctx.players.Detail[pos];
    if (!userId.empty() && d.Account == userId) AddGold(ctx, pos, amount);
  }
}

}  // namespace tavrel::scoring
