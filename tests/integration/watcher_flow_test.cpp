// A spectator of a bot table with the real parts: tavrel-server with four bots that
// claim 碰 and 吃 and gang (--bot-melds), one move per bot delay so that the watcher's
// client, which shows each discard for a second, keeps up. The watcher joins in
// mid-hand (TableReset and four SeatTiles), sees that hand to its showdown and the
// whole next hand, and ends with the table's message when a bot leaves after it. A
// second watcher follows the bot that leaves: its watch ends with the same message.
// Screenshots in the build folder: watcher_joined.png, watcher_end.png.
#include "meld_table_harness.h"

namespace tavrel::itest {
namespace {

using SpectatorFlowTest = MeldTableTest;

TEST_F(SpectatorFlowTest, ASpectatorJoinsABotTableMidHandAndWatchesToTheEnd) {
  const int port = StartServer({"--bots", "4", "--bot-delay", "1600", "--bot-leaves-after", "2", "--seed", "3"});
  ASSERT_GT(port, 0) << "build tavrelmj, tavrel-lobby and tavrel-server first" << server.Output();
  Pump(8000);  // the first hand is under way
  // The watched player sits at seat 2; the bot that leaves after the second hand at seat 0.
  StartClient(port, {"--user", "watcher", "--key", "watch:1003", "--spectator", "1003"});
  // The second watcher in a runtime folder of its own (the client runs once per folder).
  SessionEnv leaverEnv;
  Child leaverWatcher;
  leaverWatcher.Start(kLobbyProgram,
                      {"--headless", "--server-port", QString::number(port), "--user", "watcher0", "--key",
                       "watch:1001", "--spectator", "1001"},
                      leaverEnv.Env());

  auto joined = WaitDump([](const Dump& d) { return d.restoreDone == 1; }, 500, 30000);
  ASSERT_TRUE(joined) << "the watcher did not rebuild the running hand" << Context();
  Shot("watcher_joined.png");
  ExpectOnTheFelt(*joined);
  EXPECT_EQ(joined->hand, 0) << "joined through TableReset, not a NewHand";

  // The joined hand's showdown, shown while the table pauses before the next hand.
  auto first = WaitDump([](const Dump& d) { return d.hand == 0 && d.LaidOpen(); }, 800, 120000);
  ASSERT_TRUE(first) << "the joined hand did not come to its showdown" << Context();
  Shot("watcher_end.png");
  ExpectOnTheFelt(*first);

  // The next hand from its NewHand to its showdown.
  auto whole = WaitDump([](const Dump& d) { return d.hand == 1 && d.LaidOpen(); }, 0, 150000);
  ASSERT_TRUE(whole) << "the next hand was not watched to its showdown" << Context();
  ExpectOnTheFelt(*whole);

  // After it a bot leaves: the watching ends with the table's message, for the watcher
  // of another seat and for the watcher of the bot that leaves.
  ASSERT_TRUE(lobby.WaitOutput(QStringLiteral("有用户退出，旁观结束！"), 30000)) << Context();
  EXPECT_TRUE(lobby.WaitOutput(QStringLiteral("client exited"), 10000)) << Context();
  EXPECT_TRUE(leaverWatcher.WaitOutput(QStringLiteral("有用户退出，旁观结束！"), 10000)) << leaverWatcher.Output();
  EXPECT_TRUE(leaverWatcher.WaitOutput(QStringLiteral("client exited"), 10000)) << leaverWatcher.Output();
}

}  // namespace
}  // namespace tavrel::itest
