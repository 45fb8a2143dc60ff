// The sample prop plug-in's side of the table (plugins/sample_props/sample_protocol.h):
// the bank's answer, props thrown at other players, and a treasure chest for the
// winner of a hand. Only with --props; otherwise prop packets are ignored.
#include "sample_protocol.h"
#include "table.h"

namespace tavrel::server {
namespace {

namespace sp = sample_props;
namespace w = tavrel::wire;

constexpr std::uint32_t kBankFirst = 50000;  // every seat's bank, for the demo
constexpr int kChestSteps = 9;               // a chest holds 100, 150, ... 500 gold

int NumberOf(const Packet& p) { return p[sp::kNumberHigh] << 8 | p[sp::kNumberLow]; }

Packet FromServer(int number, int seatMask) {
  Packet p{};
  p[sp::kCommand] = sp::kFromServer;
  p[sp::kSeatMask] = static_cast<std::uint8_t>(seatMask);
  p[sp::kNumberHigh] = static_cast<std::uint8_t>(number >> 8);
  p[sp::kNumberLow] = static_cast<std::uint8_t>(number & 0xFF);
  return p;
}

}  // namespace

void Table::PropMessage(ConnId c, int seat, const Packet& p) {
  if (!config_.props) {
    log_.Warn(c, "prop message from seat " + std::to_string(seat) + " ignored: props are off");
    return;
  }
  switch (NumberOf(p)) {
    case sp::kBankQuery: {
      Packet answer = FromServer(sp::kBankQuery, MaskOf(seat));
      w::PutU32LE(answer, sp::kBankBalance, kBankFirst + 1000u * static_cast<std::uint32_t>(seat));
      Send(c, answer);
      return;
    }
    case sp::kUseProp: {
      const int prop = p[sp::kPropId], target = p[sp::kTargetMask];
      if ((prop != sp::kFlower && prop != sp::kEgg) || (target != 1 && target != 2 && target != 4 && target != 8)) {
        log_.Warn(c, "prop " + std::to_string(prop) + " at mask " + std::to_string(target) + " ignored");
        return;
      }
      Packet used = FromServer(sp::kUseProp, MaskOf(seat));
      used[sp::kPropId] = static_cast<std::uint8_t>(prop);
      used[sp::kTargetMask] = static_cast<std::uint8_t>(target);
      for (auto& [id, conn] : conns_)
        if (conn.role == Role::kSeat) Send(id, used);
      return;
    }
    default:
      log_.Warn(c, "prop message " + std::to_string(NumberOf(p)) + " ignored");
  }
}

void Table::GiveChest(int winner) {
  if (!config_.props || winner < 0 || winner > 3) return;
  const auto gold = static_cast<std::uint32_t>(
      100 + 50 * ((config_.seed + static_cast<std::uint64_t>(handsPlayed_) * 7) % kChestSteps));
  seats_[winner].gold += gold;
  log_.Event("seat " + std::to_string(winner) + " opens a chest of " + std::to_string(gold) + " gold");
  Packet score{};
  score[sp::kCommand] = sp::kPropScore;
  w::PutU32LE(score, sp::kChestGold + 4 * static_cast<std::size_t>(winner), gold);
  for (auto& [id, conn] : conns_)
    if (conn.role == Role::kSeat) Send(id, score);
}

}  // namespace tavrel::server
