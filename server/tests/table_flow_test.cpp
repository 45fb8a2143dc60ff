// The table's flow around the hands: logins, validation, reconnection, departures,
// chat, spectators and gold, driven without sockets on a virtual clock.
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
using testing::ScriptedClient;
using testing::TableHarness;
namespace w = tavrel::wire;

TEST(TableFlow, FullTableGetsNamesDetailsAndDealerThenWaitsForContinue) {
  TableHarness h(FastConfig(3, 5));
  ScriptedClient client("solo");
  client.SetContinueAfterHand(false);
  h.Join(1, client);
  const std::vector<int> expected = {18, 3, 3, 3, 3, 20, 20, 20, 20, 16};
  EXPECT_EQ(client.Commands(), expected);
  EXPECT_EQ(client.OwnSeat(), 0);
  EXPECT_EQ(h.table.CurrentHand(), nullptr);
  h.Send(1, Command(cmd::kContinue, 1, {0, 0, 0, 1}));
  ASSERT_NE(h.table.CurrentHand(), nullptr);
  EXPECT_NE(std::find(client.Commands().begin(), client.Commands().end(), cmd::kNewHand), client.Commands().end());
  EXPECT_TRUE(client.Problems().empty());
}

TEST(TableFlow, ReadyFirstHandStartsWithoutContinueOnlyOnce) {
  TableConfig config = FastConfig(3, 5);
  config.readyFirstHand = true;
  TableHarness h(config);
  ScriptedClient client("solo");
  client.SetContinueAfterHand(false);
  h.Join(1, client);
  ASSERT_NE(h.table.CurrentHand(), nullptr) << "the first hand starts with the table";
  const auto& seen = client.Commands();
  const auto newHand = std::find(seen.begin(), seen.end(), cmd::kNewHand);
  ASSERT_NE(newHand, seen.end());
  EXPECT_NE(std::find(seen.begin(), newHand, cmd::kPlayerLeft), newHand) << "after the dealer announcement";
  ASSERT_TRUE(h.RunUntil([&] { return h.table.HandsPlayed() == 1; }, 600000));
  const long hands = std::count(seen.begin(), seen.end(), cmd::kNewHand);
  h.RunUntil([] { return false; }, 60000);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), cmd::kNewHand), hands) << "the second hand waits for Continue";
  EXPECT_TRUE(client.Problems().empty());
}

TEST(TableFlow, LoginsThatAreRefused) {
  struct Case {
    const char* what;
    int bots;
    std::string key;
    std::vector<std::pair<std::string, std::string>> logins;  // name, key; the last one is refused
    int expected;
  };
  const std::vector<Case> cases = {
      {"table full", 3, "", {{"first", ""}, {"second", ""}}, 2},
      {"wrong key", 3, "secret", {{"first", "guess"}}, 3},
      {"name already seated", 2, "", {{"twin", ""}, {"twin", ""}}, 2},
      {"no name", 3, "", {{"", ""}}, 3},
      {"watching nobody", 3, "", {{"fan", "watch:9999"}}, 2},
  };
  for (const auto& c : cases) {
    TableConfig config = FastConfig(c.bots, 1);
    config.key = c.key;
    TableHarness h(config);
    ConnId id = 1;
    for (const auto& [name, key] : c.logins) h.Send(id++, LoginOf(name, key));
    const ConnId last = id - 1;
    ASSERT_FALSE(h.raw[last].empty()) << c.what;
    EXPECT_EQ(h.raw[last].front()[3], cmd::kLoginResult) << c.what;
    EXPECT_EQ(h.raw[last].front()[15], c.expected) << c.what;
    EXPECT_TRUE(h.WasClosed(last)) << c.what;
  }
}

TEST(TableFlow, FirstPacketThatIsNoLoginClosesTheConnection) {
  TableHarness h(FastConfig(3, 1));
  h.Send(7, Command(cmd::kDiscardTile, 1, {0, 0, 0, 0x4021}));
  EXPECT_TRUE(h.WasClosed(7));
  EXPECT_TRUE(h.raw[7].empty());
}

// Brings a silent player to its first open decision.
void AwaitFirstDecision(TableHarness& h, ScriptedClient& client) {
  client.SetSilent(true);
  h.Join(1, client);
  h.Send(1, Command(cmd::kContinue, 1, {0, 0, 0, 1}));
  EXPECT_TRUE(h.RunUntil([&] { return h.table.CurrentHand() && h.table.CurrentHand()->Awaiting(0); }, 3600000));
}

struct DiscardCounter : TableObserver {
  void OnHandEvent(const Hand&, const HandEvent& e) override {
    if (auto* d = std::get_if<EvDiscard>(&e); d && d->seat == 0) ++ownDiscards;
    if (auto* o = std::get_if<EvOffer>(&e); o && o->seat == 0) ++ownOffers;
  }
  int ownDiscards = 0;
  int ownOffers = 0;
};

TEST(TableValidation, IllegalMovesAreIgnoredUntilTheServerActsForTheSeat) {
  TableHarness h(FastConfig(3, 8));
  DiscardCounter counter;
  h.table.SetObserver(&counter);
  ScriptedClient client("quiet");
  AwaitFirstDecision(h, client);
  const Hand& hand = *h.table.CurrentHand();
  const auto before = hand.Row(0).concealed;
  const std::int64_t offeredAt = h.now;

  Tile notHeld = kNoTile;
  for (Tile t : FullSet())
    if (std::find(before.begin(), before.end(), t) == before.end()) notHeld = t;
  const bool ownTurn = hand.OwnTurn(0);
  const std::vector<Packet> bad = {
      Command(cmd::kDiscardTile, 1, {0, 0, 0, notHeld | 0x4000}),
      Command(cmd::kClaimReply, 1, {64, 0, 0, before[0] | 0x2000}),  // never offered
      Command(cmd::kClaimReply, 1, {(hand.Options(0) & 0x80) ? 32 : 128, 0, 0, 0}),
      Command(cmd::kClaimReply, 1, {0x55, 0, 0, 0}),
      Command(ownTurn ? cmd::kClaimReply : cmd::kDiscardTile, 1, {ownTurn ? 16 : 0, 0, 0, before[0] | 0x4000}),
      Command(99, 1, {1, 2, 3, 4}),
      Command(cmd::kContinue, 1, {0, 0, 0, 1}),  // not between hands
  };
  for (const Packet& p : bad) h.Send(1, p);
  ASSERT_TRUE(h.table.CurrentHand()->Awaiting(0));
  EXPECT_EQ(h.table.CurrentHand()->Row(0).concealed, before);

  // The client counts 8 s down and shows 0 for a second; the server waits its grace more.
  const std::int64_t due = offeredAt + 9000 + TableConfig{}.graceMs;
  h.AdvanceTo(due - 1);
  EXPECT_TRUE(h.table.CurrentHand()->Awaiting(0));
  EXPECT_EQ(counter.ownDiscards, 0);
  const int offers = counter.ownOffers;
  h.AdvanceTo(due);
  // The server answered for the seat: a pass, and on its own turn the tile just drawn.
  EXPECT_EQ(counter.ownDiscards, ownTurn ? 1 : 0);
  EXPECT_TRUE(h.table.CurrentHand()->Over() || counter.ownOffers > offers || !h.table.CurrentHand()->Awaiting(0));
}

TEST(TableReconnect, RightTokenAndNumberRebuildTheTable) {
  TableConfig config = FastConfig(3, 21);
  config.botDelayMs = 1000;
  TableHarness h(config);
  ScriptedClient client("rover");
  AwaitFirstDecision(h, client);
  h.Drop(1);

  // A wrong number, then a wrong token: refused and closed.
  Packet wrongNumber = client.ReconnectPacket();
  w::PutU32LE(wrongNumber, off::kTailNumber, client.ReconnectNumber() + 1);
  h.Send(2, wrongNumber);
  Packet wrongToken = client.ReconnectPacket();
  wrongToken[off::kToken] ^= 0x5A;
  wrongToken[off::kToken + 1] ^= 0xA5;
  h.Send(3, wrongToken);
  for (ConnId id : {2, 3}) {
    ASSERT_EQ(h.raw[id].size(), 1u);
    EXPECT_EQ(h.raw[id][0][3], cmd::kReconnectResult);
    EXPECT_EQ(h.raw[id][0][15], 0);
    EXPECT_TRUE(h.WasClosed(id));
  }

  client.SetSilent(false);
  const std::size_t seen = client.Commands().size();
  h.clients[4] = &client;
  h.Send(4, client.ReconnectPacket());
  std::vector<int> after(client.Commands().begin() + static_cast<std::ptrdiff_t>(seen), client.Commands().end());
  ASSERT_GE(after.size(), 7u);
  const std::vector<int> restore = {29, 41, 40, 40, 40, 40, 6};
  EXPECT_EQ(std::vector<int>(after.begin(), after.begin() + 7), restore);
  ASSERT_TRUE(h.RunUntil([&] { return client.WonHands() + client.DrawnHands() == 1; }, 3600000));
  for (const auto& p : client.Problems()) ADD_FAILURE() << p;
}

TEST(TableReconnect, ReturningBetweenHandsIsDealtIntoTheNextHand) {
  TableHarness h(FastConfig(3, 30));
  ScriptedClient client("back");
  client.SetContinueAfterHand(false);
  h.Join(1, client);
  h.Send(1, Command(cmd::kContinue, 1, {0, 0, 0, 1}));
  ASSERT_TRUE(h.RunUntil([&] { return client.WonHands() + client.DrawnHands() == 1; }, 3600000));
  h.Drop(1);
  const std::size_t seen = client.Commands().size();
  h.clients[2] = &client;
  h.Send(2, client.ReconnectPacket());
  ASSERT_GE(client.Commands().size(), seen + 2);
  EXPECT_EQ(client.Commands()[seen], cmd::kReconnectResult);
  EXPECT_EQ(client.Commands()[seen + 1], cmd::kNewHand);
}

TEST(TableReconnect, SeatIsGivenUpAfterNinetySeconds) {
  TableConfig config = FastConfig(2, 4);
  TableHarness h(config);
  h.Send(1, LoginOf("stays"));
  ScriptedClient leaver("goes");
  leaver.SetContinueAfterHand(false);
  h.Join(2, leaver);
  h.Drop(2);
  h.raw[1].clear();
  h.AdvanceTo(h.now + 89999);
  EXPECT_TRUE(h.raw[1].empty());
  h.AdvanceTo(h.now + 1);
  ASSERT_FALSE(h.raw[1].empty());
  EXPECT_EQ(h.raw[1][0][3], cmd::kTableUsers);
  EXPECT_EQ(w::SingleByteText(h.raw[1][0], 16, 16), "goes");
}

TEST(TableDepartures, LeaveBetweenHandsTellsTheOthersAndABotSitsDown) {
  TableHarness h(FastConfig(2, 6));
  h.Send(1, LoginOf("watcher"));
  ScriptedClient bob("bob");
  bob.SetContinueAfterHand(false);
  h.Join(2, bob);
  const int bobSeat = bob.OwnSeat();
  h.raw[1].clear();
  h.Send(2, Command(cmd::kLeave, 1 << bobSeat, {0, 0, 0, 0}));
  const auto& got = h.raw[1];
  ASSERT_GE(got.size(), 6u);
  EXPECT_EQ(got[0][3], cmd::kTableUsers);
  EXPECT_EQ(w::SingleByteText(got[0], 16, 16), "bob");
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(got[i][3], cmd::kSeatName);
  EXPECT_EQ(w::SingleByteText(got[1 + bobSeat], 16, 16).rfind("robot", 0), 0u);
  // The seat is a bot's now: the remaining player alone starts the next hand.
  h.Send(1, Command(cmd::kContinue, 1, {0, 0, 0, 1}));
  EXPECT_NE(h.table.CurrentHand(), nullptr);
}

TEST(TableDepartures, LeaveDuringAHandIsToldAfterTheHand) {
  TableConfig config = FastConfig(2, 9);
  config.botDelayMs = 500;
  TableHarness h(config);
  ScriptedClient stays("stays");
  h.Join(1, stays);
  ScriptedClient goes("goes");
  goes.SetSilent(true);
  h.Join(2, goes);
  h.Send(2, Command(cmd::kContinue, 1 << goes.OwnSeat(), {0, 0, 0, 1}));
  ASSERT_NE(h.table.CurrentHand(), nullptr);
  h.Send(2, Command(cmd::kLeave, 1 << goes.OwnSeat(), {0, 0, 0, 0}));
  h.clients.erase(2);
  ASSERT_TRUE(h.RunUntil([&] { return stays.WonHands() + stays.DrawnHands() >= 1; }, 3600000));
  const auto& cmds = stays.Commands();
  const auto users = std::find(cmds.begin(), cmds.end(), cmd::kTableUsers);
  ASSERT_NE(users, cmds.end());
  const auto lastOver = std::find(std::make_reverse_iterator(users), cmds.rend(), cmd::kHandOver);
  EXPECT_NE(lastOver, cmds.rend());  // the notice follows the hand's results
  EXPECT_TRUE(stays.Problems().empty());
}

TEST(TableDepartures, ABotLeavesAfterTheConfiguredHandAndTheSeatsAreDrawnAgain) {
  TableConfig config = FastConfig(3, 4);
  config.readyFirstHand = true;
  config.botLeavesAfter = 1;
  TableHarness h(config);
  h.Send(1, LoginOf("solo"));  // seat 0; the bots robot1..robot3 hold seats 1..3
  ASSERT_TRUE(h.RunUntil([&] { return h.table.HandsPlayed() == 1; }, 3600000));
  const auto& got = h.raw[1];
  std::size_t at = 0;
  for (std::size_t i = 0; i < got.size(); ++i)
    if (got[i][3] == cmd::kHandOver) at = i;
  while (at < got.size() && (got[at][3] == cmd::kHandOver || got[at][3] == cmd::kSettlement)) ++at;
  // After the hand's results: the bot's name with the short countdown, then the seat change.
  ASSERT_EQ(got.size(), at + 2) << "nothing else before the player's Continue";
  EXPECT_EQ(got[at][3], cmd::kTableUsers);
  EXPECT_EQ(w::SingleByteText(got[at], 16, 16), "robot1");
  EXPECT_EQ(got[at][9], 1);
  EXPECT_EQ(got[at + 1][3], cmd::kPlayerLeft);
  EXPECT_EQ(got[at + 1][15], 0) << "the seat change notice";
  EXPECT_EQ(got[at + 1][11], 1) << "seats drawn automatically at the Continue";
  EXPECT_EQ(got[at + 1][13], 0);

  // The player's Continue: the table as it now sits, and the next hand at once.
  h.raw[1].clear();
  h.Send(1, Command(cmd::kContinue, 1, {0, 0, 0, 1}));
  const std::vector<int> order = CommandsOf(h.raw[1]);
  const std::vector<int> announcement = {3, 3, 3, 3, 20, 20, 20, 20, 16, 4};
  ASSERT_GE(order.size(), announcement.size());
  EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 10), announcement);
  EXPECT_EQ(w::SingleByteText(h.raw[1][1], 16, 16), "robot4") << "another bot at seat 1";
  EXPECT_EQ(h.raw[1][5][208], 1) << "the new bot is ready";
  ASSERT_NE(h.table.CurrentHand(), nullptr);
  ASSERT_TRUE(h.RunUntil([&] { return h.table.HandsPlayed() == 2; }, 3600000));
  const std::vector<int> later = CommandsOf(h.raw[1]);
  EXPECT_EQ(std::count(later.begin(), later.end(), cmd::kTableUsers), 0) << "one departure only";
}

TEST(TableChat, PublicLinesReachAllPrivateLinesOnlyTheAddresseeAndPropsPassUntouched) {
  TableHarness h(FastConfig(1, 3));
  for (ConnId id : {1, 2, 3}) h.Send(id, LoginOf("p" + std::to_string(id)));
  for (auto& [id, packets] : h.raw) packets.clear();

  Packet line = Command(cmd::kChat, 1, {0, 0, 0, 0});
  w::PutGbkText(line, 16, "p1说道: 你好", 200);
  h.Send(1, line);
  for (ConnId id : {1, 2, 3}) {
    ASSERT_EQ(h.raw[id].size(), 1u) << id;
    EXPECT_EQ(h.raw[id][0][6], 1);
    EXPECT_EQ(w::GbkText(h.raw[id][0], 16, 200), "p1说道: 你好");
    h.raw[id].clear();
  }

  Packet secret = Command(cmd::kChat, 1, {0, 2, 0, 0});  // to seat 1
  w::PutGbkText(secret, 16, "悄悄话", 200);
  h.Send(1, secret);
  EXPECT_EQ(h.raw[1].size(), 1u);
  EXPECT_EQ(h.raw[2].size(), 1u);
  EXPECT_TRUE(h.raw[3].empty());
  for (auto& [id, packets] : h.raw) packets.clear();

  Packet prop{};
  for (std::size_t i = 0; i < prop.size(); ++i) prop[i] = static_cast<std::uint8_t>(i * 7);
  prop[3] = cmd::kChat;
  w::PutU32BE(prop, off::kPropMarker, cmd::kPropMarkerA);
  h.Send(1, prop);
  EXPECT_TRUE(h.raw[1].empty());
  for (ConnId id : {2, 3}) {
    ASSERT_EQ(h.raw[id].size(), 1u);
    for (std::size_t i = 0; i < off::kToken; ++i) EXPECT_EQ(h.raw[id][0][i], prop[i]) << i;
  }
}

TEST(TableSpectator, WatcherGetsTheWatchedSeatsViewAndNoOffers) {
  TableConfig config = FastConfig(3, 12);
  config.botDelayMs = 300;
  TableHarness h(config);
  ScriptedClient player("star");
  player.SetContinueAfterHand(false);
  h.Join(1, player);
  h.Send(9, LoginOf("fan", "watch:1001"));
  const std::vector<int> greeting = {18, 3, 3, 3, 3, 20, 20, 20, 20, 16};
  EXPECT_EQ(CommandsOf(h.raw[9]), greeting);
  for (const Packet& p : h.raw[9]) {
    if (p[3] == cmd::kUserInfo) {
      EXPECT_NE(p[6], 15);
    }
  }
  player.SetContinueAfterHand(true);
  h.Send(1, Command(cmd::kContinue, 1, {0, 0, 0, 1}));

  ASSERT_TRUE(h.RunUntil([&] { return player.WonHands() + player.DrawnHands() >= 1; }, 3600000));
  int deals = 0;
  for (const Packet& p : h.raw[9]) {
    EXPECT_NE(p[3], cmd::kClaimOptions);
    if (p[3] == cmd::kDealTiles) {
      ++deals;
      EXPECT_EQ(p[6], 1);
      EXPECT_NE(p[17], 0);
    }
    if (p[3] == cmd::kDrawTile) {
      EXPECT_EQ(p[15] != 0, p[6] == 1);
    }
  }
  EXPECT_GE(deals, 1);

  // A watcher arriving during a hand gets the wall break before the players, the seats after.
  ScriptedClient slow("slow");
  TableHarness h2(config);
  AwaitFirstDecision(h2, slow);
  h2.Send(9, LoginOf("late", "watch:slow"));
  const auto cmds = CommandsOf(h2.raw[9]);
  const std::vector<int> join = {18, 3, 3, 3, 3, 41, 20, 20, 20, 20, 40, 40, 40, 40, 16};
  EXPECT_EQ(cmds, join);
}

TEST(TableGold, PlayerOutOfGoldGetsTheGoldNoticeAndABotTakesTheSeat) {
  TableConfig config = FastConfig(3, 2);
  config.startGold = 40;
  TableHarness h(config);
  ScriptedClient poor("poor");
  h.Join(1, poor);
  ASSERT_TRUE(h.RunUntil([&] { return poor.GoldOutNotices() > 0; }, 24LL * 3600 * 1000));
  EXPECT_EQ(h.table.Gold(0), config.startGold);  // the stand-in bot's fresh stack
  for (const auto& p : poor.Problems()) ADD_FAILURE() << p;
}


// A watcher follows a bot-only table move by move: no two discards come closer than
// the bot delay (without a watcher on a table with a player, the bots answer in one go).
TEST(TableSpectator, ABotOnlyTableMovesOncePerBotDelay) {
  TableConfig config = FastConfig(4, 5);
  config.botDelayMs = 700;
  config.hands = 1;
  config.botMelds = true;
  TableHarness h(config);
  h.Send(9, LoginOf("fan", "watch:0"));
  std::vector<std::int64_t> discards;
  std::size_t seen = 0;
  while (!h.table.Finished() && h.now < 3600000) {
    const std::int64_t next = h.table.NextDeadline();
    if (next < 0) break;
    h.AdvanceTo(std::max(h.now, next));
    for (; seen < h.raw[9].size(); ++seen)
      if (h.raw[9][seen][3] == cmd::kDiscardTile) discards.push_back(h.now);
  }
  EXPECT_TRUE(h.table.Finished());
  ASSERT_GT(discards.size(), 10u);
  for (std::size_t i = 1; i < discards.size(); ++i) EXPECT_GE(discards[i] - discards[i - 1], 700) << i;
}

}  // namespace
}  // namespace tavrel::server
