// The hand end under bad input: huge amounts, odd signs, broken level titles and a
// stream of random results. Nothing crashes, the sheet still shows.
#include <cmath>
#include <limits>
#include <random>

#include "hand_end_fixture.h"
#include "session/commands.h"

namespace tavrel::testing {
namespace {

using HandEndBadInput = HandEndFixture;

TEST_F(HandEndBadInput, AmountsNearTheLimitsAndOddSigns) {
  struct Case {
    const char* what;
    std::uint64_t amount;
    int sign;
    std::string final;
  };
  const Case cases[] = {
      {"2^63 lost", 0x8000000000000000ull, 2, "最终分：-9223372036854775808金币"},
      {"2^64 - 1 won", ~0ull, 1, "最终分：18446744073709551616金币"},
      {"sign 7 stays positive", 12, 7, "最终分：12金币"},
      {"sign 255 stays positive", 12, 255, "最终分：12金币"},
      {"sign 0 with an amount", 12, 0, "最终分：12金币"},
  };
  for (const Case& k : cases) {
    NextHand();
    Record r;
    r.amount = k.amount;
    r.sign = k.sign;
    r.bytes[off::kScoreWinFlags] = 1;
    HandOvers({std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(), 1, 0});
    Settlements({r, Result(0), Result(0), Result(0)});
    EXPECT_EQ(Column(4), std::vector<std::string>{k.final}) << k.what;
    EXPECT_TRUE(sheet().Visible()) << k.what;
    EXPECT_GE(detail(0).Coins, 0) << k.what;
  }
  // The running total and the gold are numbers still.
  EXPECT_TRUE(std::isfinite(c->players.RunningTotal[0]));
  EXPECT_EQ(ReadRecord(c->table.HandNo, "count( 4 )"), "1");
}

TEST_F(HandEndBadInput, RandomResultsNeverBreakTheSheet) {
  std::mt19937 rng(1234);
  for (int hand = 0; hand < 60; ++hand) {
    NextHand();
    const int packets = 1 + static_cast<int>(rng() % 10);
    for (int i = 0; i < packets; ++i) {
      Packet p{};
      for (auto& b : p) b = static_cast<std::uint8_t>(rng());
      wire::PutU8(p, off::kCmdHigh, 0);
      wire::PutU8(p, off::kCmd, static_cast<std::uint8_t>(rng() % 2 ? cmd::kHandOver : cmd::kSettlement));
      Receive(p);
    }
    for (int i = 0; i < 8; ++i) {
      Column(i);
      EXPECT_LE(sheet().Get(ctl::Score::State, i).ListCount(), 200) << hand;
    }
  }
  for (int s = 0; s < 4; ++s) EXPECT_GE(detail(s).Coins, 0);
  // The record is still a record: its last hand reads back.
  if (!hero().Get(ctl::Hero::Num).Items().empty()) {
    const int last = c->table.HandNo;
    scoring::ShowHandRecord(*c, last);
  }
  EXPECT_TRUE(std::filesystem::exists(folder));
}

}  // namespace
}  // namespace tavrel::testing
