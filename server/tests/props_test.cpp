// tavrel-server's side of the sample prop plug-in: the bank, props, chests.
#include <gtest/gtest.h>

#include <algorithm>

#include "sample_protocol.h"
#include "table_checks.h"
#include "table_harness.h"

namespace tavrel::server::testing {
namespace {

namespace sp = sample_props;

Packet PropPacket(int number, int seatMask, int a = 0, int b = 0) {
  Packet p = Command(sp::kToServer, seatMask, {number, 0, 0, 0});
  p[sp::kPayload] = static_cast<std::uint8_t>(a);
  p[sp::kPayload + 1] = static_cast<std::uint8_t>(b);
  return p;
}

struct PropsTable : ::testing::Test {
  TableConfig config = FastConfig(2, 11);
  std::unique_ptr<TableHarness> h;
  ScriptedClient alice{"alice"};

  void Open(bool props) {
    config.props = props;
    h = std::make_unique<TableHarness>(config);
    alice.SetContinueAfterHand(false);
    h->Join(1, alice);
    h->raw[2].clear();
    h->table.Receive(2, ScriptedClient("bob").LoginPacket(), h->now);
    h->Flow();
    h->raw[1].clear();
    h->raw[2].clear();
  }
  std::vector<Packet> PropsTo(ConnId id, int command) {
    std::vector<Packet> out;
    for (const Packet& p : h->raw[id])
      if (p[3] == command) out.push_back(p);
    return out;
  }
};

TEST_F(PropsTable, TheBankAnswersTheAskerOnlyAndPropsReachEverySeat) {
  Open(true);
  h->Send(2, PropPacket(sp::kBankQuery, 2));
  auto bank = PropsTo(2, sp::kFromServer);
  ASSERT_EQ(bank.size(), 1u);
  EXPECT_EQ(wire::U32LE(bank[0], sp::kBankBalance), 51000u);
  h->raw[2].clear();
  h->Send(2, PropPacket(sp::kUseProp, 2, sp::kEgg, 1));
  auto used = PropsTo(2, sp::kFromServer);
  ASSERT_EQ(used.size(), 1u);
  EXPECT_EQ(used[0][sp::kSeatMask], 2);
  EXPECT_EQ(used[0][sp::kPropId], sp::kEgg);
  EXPECT_EQ(used[0][sp::kTargetMask], 1);
  for (auto [prop, target] : {std::pair{9, 1}, std::pair{1, 3}, std::pair{1, 0}}) {
    h->raw[2].clear();
    h->Send(2, PropPacket(sp::kUseProp, 2, prop, target));
    EXPECT_TRUE(PropsTo(2, sp::kFromServer).empty()) << prop << " at " << target;
  }
}

TEST_F(PropsTable, WithoutPropsThePacketsAreIgnored) {
  Open(false);
  h->Send(2, PropPacket(sp::kBankQuery, 2));
  EXPECT_TRUE(PropsTo(2, sp::kFromServer).empty());
}

TEST_F(PropsTable, TheWinnerGetsAChestBeforeTheHandsResults) {
  int chests = 0;
  for (std::uint64_t seed = 1; seed <= 8; ++seed) {
    SCOPED_TRACE(seed);
    TableConfig c = FastConfig(3, seed);
    c.props = true;
    c.readyFirstHand = true;
    TableHarness table(c);
    h = nullptr;
    ScriptedClient alice("alice");
    alice.SetContinueAfterHand(false);
    table.Join(1, alice);
    ASSERT_TRUE(table.RunUntil([&] { return table.table.HandsPlayed() >= 1; }, 3600000));
    const auto& seen = alice.Commands();
    const auto chest = std::find(seen.begin(), seen.end(), sp::kPropScore);
    const auto handOver = std::find(seen.begin(), seen.end(), cmd::kHandOver);
    ASSERT_NE(handOver, seen.end());
    if (alice.DrawnHands() > 0) {
      EXPECT_EQ(chest, seen.end()) << "no chest for a drawn hand";
      continue;
    }
    ASSERT_NE(chest, seen.end());
    EXPECT_LT(chest - seen.begin(), handOver - seen.begin());
    ++chests;
  }
  EXPECT_GT(chests, 0);
}

}  // namespace
}  // namespace tavrel::server::testing
