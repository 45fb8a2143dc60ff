// Whole hands on the table state machine, checked move by move.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "table_checks.h"

namespace tavrel::server {
namespace {

using testing::Command;
using testing::CommandsOf;
using testing::FastConfig;
using testing::LoginOf;
using testing::Referee;
using testing::ScriptedClient;
using testing::TableHarness;
namespace w = tavrel::wire;

TEST(TablePlay, FiftyHandsAgainstThreeBots) {
  TableConfig config = FastConfig(3, 20261210);
  config.hands = 50;
  TableHarness h(config);
  Referee referee;
  h.table.SetObserver(&referee);
  ScriptedClient client("tester");
  h.Join(1, client);
  ASSERT_TRUE(h.RunUntil([&] { return h.table.Finished(); }, 24LL * 3600 * 1000));

  EXPECT_EQ(h.table.HandsPlayed(), 50);
  EXPECT_EQ(client.HandsSeen(), 50);
  EXPECT_EQ(client.WonHands() + client.DrawnHands(), 50);
  EXPECT_TRUE(client.TableClosed());
  EXPECT_EQ(client.GoldSeenTotal(), 0);
  for (const auto& p : client.Problems()) ADD_FAILURE() << "client: " << p;
  for (const auto& p : referee.problems) ADD_FAILURE() << "referee: " << p;
  EXPECT_GT(referee.wins, 0);
  EXPECT_GT(referee.setAsides, 0);
}

TEST(TablePlay, BotTablesKeepTheRulesOverManySeeds) {
  Referee referee;
  for (std::uint64_t seed = 1; seed <= 12; ++seed) {
    TableConfig config = FastConfig(4, seed);
    config.hands = 30;
    TableHarness h(config);
    h.table.SetObserver(&referee);
    ASSERT_TRUE(h.RunUntil([&] { return h.table.Finished(); }, 24LL * 3600 * 1000)) << "seed " << seed;
  }
  EXPECT_EQ(referee.hands, 12 * 30);
  EXPECT_EQ(referee.wins + referee.draws, referee.hands);
  EXPECT_GT(referee.wins, 0);
  for (const auto& p : referee.problems) ADD_FAILURE() << p;
}

TEST(TablePlay, BotsWithMeldsChowPungAndGangAndThePlayerStillOnlyPassesGangsOrWins) {
  Referee referee;
  for (std::uint64_t seed = 1; seed <= 6; ++seed) {
    TableConfig config = FastConfig(3, seed);
    config.hands = 20;
    config.botMelds = true;
    TableHarness h(config);
    h.table.SetObserver(&referee);
    ScriptedClient client("tester");
    h.Join(1, client);
    ASSERT_TRUE(h.RunUntil([&] { return h.table.Finished(); }, 24LL * 3600 * 1000)) << "seed " << seed;
    EXPECT_EQ(client.HandsSeen(), 20);
    // The client also checks that nothing but pass, gang and win is offered to it.
    for (const auto& p : client.Problems()) ADD_FAILURE() << "seed " << seed << " client: " << p;
  }
  for (const auto& p : referee.problems) ADD_FAILURE() << p;
  EXPECT_EQ(referee.wins + referee.draws, referee.hands);
  EXPECT_GT(referee.chows, 0);
  EXPECT_GT(referee.pungs, 0);
  EXPECT_GT(referee.addedGangs, 0);
  EXPECT_GT(referee.gangs, referee.addedGangs);
  EXPECT_GT(referee.wins, 0);
}

TEST(TableValidation, RandomPacketsFromASeatNeverBreakTheRules) {
  TableConfig config = FastConfig(3, 77);
  config.hands = 5;
  TableHarness h(config);
  Referee referee;
  h.table.SetObserver(&referee);
  ScriptedClient client("noisy");
  client.SetSilent(true);
  h.Join(1, client);
  std::mt19937 rng(3);
  const int commands[] = {cmd::kDiscardTile, cmd::kClaimReply, cmd::kContinue, cmd::kChat, cmd::kKeepAlive, 0, 255};
  int sent = 0;
  while (!h.table.Finished() && sent < 200000) {
    for (int i = 0; i < 50; ++i, ++sent) {
      Packet p{};
      for (auto& b : p) b = static_cast<std::uint8_t>(rng());
      p[3] = static_cast<std::uint8_t>(commands[rng() % 7]);
      if (p[3] == cmd::kContinue) p[15] = 1;  // a leave would end the test
      if (p[3] == cmd::kDiscardTile && h.table.CurrentHand() && !h.table.CurrentHand()->Row(0).concealed.empty())
        p[15] = h.table.CurrentHand()->Row(0).concealed[rng() % h.table.CurrentHand()->Row(0).concealed.size()];
      h.Send(1, p);
    }
    h.AdvanceTo(h.now + 1000);
  }
  EXPECT_TRUE(h.table.Finished());
  EXPECT_EQ(referee.hands, 5);
  for (const auto& p : referee.problems) ADD_FAILURE() << p;
}

}  // namespace
}  // namespace tavrel::server
