// The settlement sheet of a won hand and the booking of the hand.
#include "hand_end_fixture.h"
#include "scoring/settlement.h"
#include "view/window_frame.h"

namespace tavrel::testing {
namespace {

struct SettlementTest : HandEndFixture {
  // The line after "小计:" in seat s's column, or "" when there is none.
  std::string LineStarting(int s, const std::string& prefix) {
    for (const std::string& line : Column(s))
      if (line.rfind(prefix, 0) == 0) return line;
    return {};
  }
  void Multipliers(bool dice, const std::string& difen, std::uint32_t wealthRate, const std::string& wealth) {
    c->table.DiceDoubling = dice ? 1 : 0;
    c->main().Get(ctl::lblDifen).SetCaption(difen);
    c->players.TableWealthRate = wealthRate;
    c->main().Get(ctl::lbwealth).SetCaption(wealth);
  }
};

TEST_F(SettlementTest, SheetOfAWonHand) {
  Record winner = Result(1500);
  winner.bytes[off::kScoreZiMo] = 1;
  winner.title = {0xB8, 0xDF, 0xCA, 0xD6};  // 高手
  HandOvers({1500, -500, -500, -500}, "自摸胡牌");
  Settlements({winner, Result(-500), Result(-500), Result(-500)});
  const std::vector<std::string> expected = {
      "   初始：5000金币", " -------------------  ", "", "   房间底金:  10", " ",
      scoring::PatternLine("胡牌", 15), "自摸", "------------------------------", "", " ",
      "胡牌总分：1500金币", "", "", "自摸胡牌", "最终分：1500金币"};
  EXPECT_EQ(Column(0), expected);
  EXPECT_EQ(Column(1)[13], " ") << "no caption for a loser";
  EXPECT_EQ(Column(4), std::vector<std::string>{"最终分：1500金币"});
  EXPECT_EQ(Caption(ctl::Level, 0), "高手");
  EXPECT_EQ(detail(0).LevelTitle, "高手");
  EXPECT_EQ(Caption(ctl::Level, 1), "") << "a title whose first byte is 0 is empty";
  EXPECT_EQ(Caption(ctl::Cash, 0), "6500金币");
  EXPECT_EQ(detail(0).Wins, PersonAt(0).wins + 1);
  EXPECT_EQ(hero().Get(ctl::Hero::sumScore, 0).Caption(), "1500金币");
  EXPECT_TRUE(sheet().Visible());
  EXPECT_EQ(sheet().Get(ctl::Score::ID, 2).Caption(), PersonAt(2).name);
  EXPECT_EQ(sheet().Get(ctl::Score::Tou, 2).Picture(), c->view.AvatarPictures[0]);
  EXPECT_EQ(Caption(ctl::Number), "15");
  EXPECT_FALSE(c->session.HandResultWait);
  EXPECT_FALSE(c->view.HandStarted[2]);
}

TEST_F(SettlementTest, LossWithTheClamps) {
  c->players.Detail[1].Coins = 1000;
  c->players.Detail[1].Points = 200;
  const int losses = detail(1).Losses;
  HandOvers({1500, -1500, 0, 0});
  Settlements({Result(1500), Result(-1500), Result(0), Result(0)});
  EXPECT_EQ(Column(5), std::vector<std::string>{"最终分：-1500金币"});
  EXPECT_EQ(detail(1).Coins, 0) << "not below 0";
  EXPECT_EQ(detail(1).Points, 1) << "a negative result leaves 1";
  EXPECT_EQ(detail(1).Losses, losses + 1);
  EXPECT_EQ(Grades(1), std::vector<std::string>{"    -1500金币"});
  EXPECT_EQ(Caption(ctl::Cash, 1), "0金币");
}

TEST_F(SettlementTest, SubtotalAndMultiplierLines) {
  struct Case {
    const char* what;
    bool dice;
    const char* difen;
    std::uint32_t wealthRate;
    const char* wealth;
    std::int64_t total;
    std::vector<std::string> lines;  // from the subtotal to the hand total
  };
  const Case cases[] = {
      {"dice 2, wealth off, 360", true, "2", 0, "1", 360, {"小计:180金币", "骰子加倍 ×2", "胡牌总分：360金币"}},
      {"both on, dice 2, wealth 10, 2000", true, "2", 10, "10", 2000,
       {"小计:100金币", "骰子加倍 ×2", "财富加倍 ×10", "胡牌总分：2000金币"}},
      {"25 over wealth 10 rounds to the even 2", false, "1", 10, "10", 25, {"小计:2金币", "财富加倍 ×10", "胡牌总分：25金币"}},
      {"35 over wealth 10 rounds to 4", false, "1", 10, "10", 35, {"小计:4金币", "财富加倍 ×10", "胡牌总分：35金币"}},
      {"a multiplier of 0 divides nothing", true, "0", 0, "1", 80, {"骰子加倍 ×0", "胡牌总分：80金币"}},
      {"wealth not a number: the dice divide", true, "4", 5, "x5", 80, {"小计:20金币", "骰子加倍 ×4", "财富加倍 ×x5", "胡牌总分：80金币"}},
      {"no doubling: no subtotal", false, "1", 0, "1", 80, {"胡牌总分：80金币"}},
  };
  for (const Case& k : cases) {
    Multipliers(k.dice, k.difen, k.wealthRate, k.wealth);
    NextHand();
    WonHand({k.total, -k.total, 0, 0});
    const auto column = Column(0);
    const auto from = std::find_if(column.begin(), column.end(), [](const std::string& l) {
      return l.rfind("小计:", 0) == 0 || l.rfind("骰子", 0) == 0 || l.rfind("财富", 0) == 0 || l.rfind("胡牌总分", 0) == 0;
    });
    ASSERT_NE(from, column.end()) << k.what;
    EXPECT_EQ(std::vector<std::string>(from, from + static_cast<long>(k.lines.size())), k.lines) << k.what;
  }
}

TEST_F(SettlementTest, GoldBarsForTheFiguresButNotTheSubtotal) {
  Multipliers(true, "2", 0, "1");
  Record bars = Result(400);
  bars.unit = 2;
  HandOvers({400, -400, 0, 0});
  Settlements({bars, Result(-400), Result(0), Result(0)});
  EXPECT_EQ(LineStarting(0, "小计:"), "小计:200金币");
  EXPECT_EQ(LineStarting(0, "胡牌总分"), "胡牌总分：400金条");
  EXPECT_EQ(Column(4), std::vector<std::string>{"最终分：400金条"});
  EXPECT_EQ(Grades(0), std::vector<std::string>{"      400金条"});
  EXPECT_EQ(Caption(ctl::Cash, 0), "5400金条");
  EXPECT_EQ(LineStarting(1, "胡牌总分"), "胡牌总分：-400金币");
}

TEST_F(SettlementTest, PropLinesAndTheirColour) {
  c->handEnd.PropLines[0] = "宝箱开出金币12345678|幸运星00065280";
  c->handEnd.PropScore[0] = 50;
  c->handEnd.PropLines[1] = "短句1234|255";
  WonHand({300, -300, 0, 0});
  const auto column = Column(0);
  ASSERT_GE(column.size(), 4u);
  const std::vector<std::string> tail(column.end() - 4, column.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"", "宝箱开出金币", "幸运星", ""}));
  EXPECT_EQ(sheet().Get(ctl::Score::State, 0).ForeColor(), platform::kGreen);
  EXPECT_EQ(*(column.end() - 5), "最终分：300金币") << "the column's final line is before the props";
  EXPECT_EQ(Column(4), std::vector<std::string>{"最终分：350金币"});
  EXPECT_EQ(Caption(ctl::Cash, 0), "5350金币");
  EXPECT_EQ(Grades(0), std::vector<std::string>{"      350金币"});
  EXPECT_EQ(hero().Get(ctl::Hero::sumScore, 0).Caption(), "350金币");
  // Pieces of 7 characters or fewer stay whole; "255" is a colour, "短句1234" is not 8 long.
  const auto second = Column(1);
  EXPECT_EQ(std::vector<std::string>(second.end() - 4, second.end()), (std::vector<std::string>{"", "短句1234", "255", ""}));
  EXPECT_EQ(sheet().Get(ctl::Score::State, 1).ForeColor(), platform::kRed);
  EXPECT_TRUE(c->handEnd.PropLines[0].empty());
  EXPECT_EQ(c->handEnd.PropScore[0], 0);
}

TEST_F(SettlementTest, EmptyLinesAlignTheSubtotalBlocks) {
  Record many = Result(300);
  many.bytes[off::kScoreAnGang] = 1;
  many.bytes[off::kScoreQueMen] = 1;
  WonHand({300, -300, 0, 0});  // a first hand to compare against
  NextHand();
  HandOvers({300, -300, 0, 0});
  Settlements({many, Result(-300), Result(0), Result(0)});
  for (int s = 0; s < 4; ++s) {
    const auto column = Column(s);
    const auto total = std::find_if(column.begin(), column.end(), [](const std::string& l) {
      return l.rfind("胡牌总分", 0) == 0;
    });
    EXPECT_EQ(total - column.begin(), 11) << s;
    // One empty line right before the " " that follows the dashed line.
    const auto dashes = std::find(column.begin(), column.end(), "------------------------------");
    ASSERT_NE(dashes, column.end());
    EXPECT_EQ(*(dashes + 1), "") << s;
    EXPECT_EQ(*(dashes + 2), " ") << s;
  }
}

TEST_F(SettlementTest, MinimisedWindowFillsTheSheetWithoutShowingIt) {
  c->main().SetState(platform::WindowState::Minimized);
  WonHand({300, -300, 0, 0});
  EXPECT_FALSE(sheet().Visible());
  EXPECT_FALSE(Column(4).empty());
  c->main().SetState(platform::WindowState::Normal);
  c->table.Playing = false;
  view::AnNiuClick(*c, 5);
  EXPECT_TRUE(sheet().Visible());
  EXPECT_EQ(Column(4), std::vector<std::string>{"最终分：300金币"});
}

TEST_F(SettlementTest, OneSheetPerHand) {
  WonHand({300, -300, 0, 0});
  const auto rows = hero().Get(ctl::Hero::Num).Items();
  Ticks(40);
  EXPECT_EQ(hero().Get(ctl::Hero::Num).Items(), rows);
  EXPECT_EQ(Grades(0).size(), 1u);
  EXPECT_EQ(c->players.RunningTotal[0], 300);
  // A repeated record still counts: the fourth of any seats builds the next sheet.
  NextHand();
  HandOvers({100, -100, 0, 0});
  for (int i = 0; i < 3; ++i) Receive(Settlement(Mask(0), Result(100)));
  EXPECT_EQ(Grades(0).size(), 1u);
  Receive(Settlement(Mask(1), Result(-100)));
  EXPECT_EQ(Grades(0).size(), 2u);
  EXPECT_EQ(c->players.RunningTotal[0], 400);
}

TEST_F(SettlementTest, RoomBaseAndHelpers) {
  EXPECT_EQ(scoring::RoundHalfEven(2.5), 2);
  EXPECT_EQ(scoring::RoundHalfEven(3.5), 4);
  EXPECT_EQ(scoring::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(scoring::RoundHalfEven(-2.6), -3);
  EXPECT_EQ(scoring::MultiplierValue(""), 0);
  EXPECT_EQ(scoring::MultiplierValue("1O"), 0);
  EXPECT_EQ(scoring::MultiplierValue("12"), 12);
  Record big = Result(300);
  big.base = 0x7F00 | 0x40;
  HandOvers({300, -300, 0, 0});
  Settlements({big, Result(-300), Result(0), Result(0)});
  EXPECT_EQ(Column(0)[3], "   房间底金:  " + std::to_string(0x7F * 256 + 0x40));
}

}  // namespace
}  // namespace tavrel::testing
