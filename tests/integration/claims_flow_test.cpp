// Claims and the showdown with the real parts. tavrel-server's bots
// claim 碰 and 吃 on each other's discards and gang whenever they can
// (--bot-melds); the player (silent, the server and the client's own countdown move
// for it) only passes, gangs or wins. The client writes its table model
// (TAVREL_TABLE_DUMP); screenshots are kept in the build folder: claims_melds.png
// (melds, a gang's fourth tile on top, 中 beside the row) and claims_end.png (the
// hands laid open).
#include "meld_table_harness.h"

namespace tavrel::itest {
namespace {

using ClaimsFlowTest = MeldTableTest;

TEST_F(ClaimsFlowTest, BotsMeldGangAndWinAndTheHandsAreLaidOpen) {
  const int port = StartServer({"--bots", "3", "--bot-delay", "100", "--decision-seconds", "3", "--grace", "200",
                                "--ready-first-hand", "--seed", qEnvironmentVariable("TAVREL_CLAIMS_SEED", "367")});
  ASSERT_GT(port, 0) << "build tavrelmj, tavrel-lobby and tavrel-server first" << server.Output();
  StartClient(port, {"--user", "player"});

  // A hand with a chow or pung, a gang and 中 beside a row, then its end with a win.
  bool meldsShot = false;
  long hand = -1;
  QElapsedTimer total;
  total.start();
  std::optional<Dump> end;
  while (total.elapsed() < 200000 && !end) {
    auto d = WaitDump([](const Dump&) { return true; }, 0, 5000);
    ASSERT_TRUE(d) << "no table model" << Context();
    if (d->hand != hand) {
      hand = d->hand;
      meldsShot = false;
    }
    // Melds in play, before the hands are laid open.
    const bool melds = d->Kind(2) + d->Kind(3) > 0 && d->Gangs() > 0 && d->red > 0 && d->revealedSeats == 0;
    if (melds && !meldsShot) {
      auto still = WaitDump([](const Dump&) { return true; }, 600, 10000);
      if (still && still->hand == hand && still->Gangs() > 0 && still->revealedSeats == 0) {
        Shot("claims_melds.png");
        ExpectOnTheFelt(*still);
        meldsShot = true;
      }
    }
    if (meldsShot && d->LaidOpen() && d->winner >= 0) end = WaitDump([](const Dump& x) { return x.LaidOpen(); }, 1500, 10000);
  }
  ASSERT_TRUE(end) << "no hand with melds, a gang, 中 set aside and a win" << Context();
  Shot("claims_end.png");
  ExpectOnTheFelt(*end);
  int shown = 0;
  for (const auto& t : end->tiles) shown += t.visible;
  EXPECT_GE(shown, 80) << "the tiles of the hand lie on the table";
}

}  // namespace
}  // namespace tavrel::itest
