// The pattern lines of a won hand, from the score records alone.
#include <gtest/gtest.h>

#include <map>

#include "scoring/patterns.h"

namespace tavrel::testing {
namespace {

using scoring::PatternLine;
using scoring::ScoreRecord;
using scoring::ScoreRecords;

ScoreRecord Rec(std::map<std::size_t, int> bytes, int sign = 1) {
  ScoreRecord r;
  for (const auto& [offset, value] : bytes) wire::PutU8(r.packet, offset, static_cast<std::uint8_t>(value));
  wire::PutU8(r.packet, off::kScoreAmountSign, static_cast<std::uint8_t>(sign));
  return r;
}

using Lines = std::vector<std::string>;

TEST(Patterns, LabelsArePaddedToTenCharacters) {
  EXPECT_EQ(PatternLine("卡张", 1), "卡张        1嘴");
  EXPECT_EQ(PatternLine("10支", 2), "10支       2嘴");
  EXPECT_EQ(PatternLine("0123456789A", 5), "0123456789A5嘴");
  EXPECT_EQ(PatternLine("自摸"), "自摸");
}

// Seat 0's lines for one record; the other seats hold nothing.
Lines SeatZero(const ScoreRecord& r) {
  ScoreRecords all{};
  all[0] = r;
  return scoring::PatternLines(all)[0];
}

TEST(Patterns, ExamplesOfOneSeat) {
  using namespace off;
  struct Case {
    const char* what;
    ScoreRecord record;
    Lines lines;
  };
  const Case cases[] = {
      {"0x13: 清一色 and 豪华七对 block rows 5 to 8", Rec({{kScoreWinFlags, 1}, {kScoreHandShape, 0x13}, {kScorePu, 0xFF}}),
       {PatternLine("胡牌", 15), PatternLine("清一色", 100), PatternLine("豪华七对", 50)}},
      {"seven-pairs kind 7: no line, rows 5 to 8 still blocked", Rec({{kScoreHandShape, 7}, {kScorePu, 0x1A}}),
       {PatternLine("胡牌", 15)}},
      {"七对 and 超豪华七对 (5 and 9)", Rec({{kScoreHandShape, 9}}), {PatternLine("胡牌", 15), PatternLine("超豪华七对", 100)}},
      {"Pu 0x2A: 双暗双铺 only", Rec({{kScoreWinFlags, 1}, {kScorePu, 0x2A}}),
       {PatternLine("胡牌", 15), PatternLine("双暗双铺", 100)}},
      {"Pu 0x35: 四暗刻 and 三连坎, no 明双铺", Rec({{kScoreWinFlags, 1}, {kScorePu, 0x35}}),
       {PatternLine("胡牌", 15), PatternLine("四暗刻", 100), PatternLine("三连坎", 100)}},
      {"Pu 0x16: 四暗刻, 明双铺2个 and 暗双铺1个", Rec({{kScoreWinFlags, 1}, {kScorePu, 0x16}}),
       {PatternLine("胡牌", 15), PatternLine("四暗刻", 100), PatternLine("明双铺2个", 4), PatternLine("暗双铺1个", 4)}},
      {"WinFlags 0x31: winner, 坎1个, 卡张", Rec({{kScoreWinFlags, 0x31}}),
       {PatternLine("胡牌", 15), PatternLine("坎1个", 1), PatternLine("卡张", 1)}},
      {"WinFlags 0x80: 坎3个, not a winner", Rec({{kScoreWinFlags, 0x80}, {kScoreAnGang, 2}}), {PatternLine("坎3个", 3)}},
      {"WinFlags 0x40 and 4 坎", Rec({{kScoreWinFlags, 0x40}, {kScoreFourKan, 0x21}}),
       {PatternLine("坎2个", 2), PatternLine("坎4个", 4)}},
      {"10支 from Zhi 2", Rec({{kScoreWinFlags, 1}, {kScoreZhi, 2}}), {PatternLine("胡牌", 15), "10支       2嘴"}},
      {"天胡 for a dealer, 地胡 otherwise", Rec({{kScoreTianDi, 1}}), {PatternLine("地胡", 150)}},
      {"the winner's counted rows in order",
       Rec({{kScoreWinFlags, 1}, {kScoreAnGang, 1}, {kScoreQueMen, 2}, {kScoreHaiLao, 1}, {kScoreShiTongZhang, 1},
            {kScoreAnHuo, 1}, {kScoreSiHe, 2}, {kScoreTongZhang, 1}, {kScoreZiMo, 1}, {kScoreGangKai, 1}}),
       {PatternLine("胡牌", 15), PatternLine("暗杠1个", 4), PatternLine("缺2门", 4), PatternLine("海捞", 15),
        PatternLine("十同张", 100), PatternLine("四核3个", 12), PatternLine("同张5张", 1), "自摸", "杠开×2"}},
      {"rows 12 to 18 need a winner", Rec({{kScoreAnGang, 1}, {kScoreQueMen, 2}, {kScoreDianPao, 1}}), {"点炮"}},
  };
  for (const Case& k : cases) EXPECT_EQ(SeatZero(k.record), k.lines) << k.what;
}

TEST(Patterns, DealerRule) {
  using namespace off;
  struct Case {
    const char* what;
    int d, sign, fedBySeat, selfDrawnBySeat;
    Lines dealerLines;
  };
  const Case cases[] = {
      {"3连庄 losing a hand won by discard", 3, 2, 1, -1, {PatternLine("3连庄", 6)}},
      {"3连庄 in a self-drawn hand", 3, 2, -1, 1, {PatternLine("3连庄", 12)}},
      {"坐庄 by discard", 1, 2, 2, -1, {PatternLine("坐庄", 2)}},
      {"坐庄 self-drawn", 1, 1, -1, 0, {PatternLine("胡牌", 15), "自摸", PatternLine("坐庄", 4)}},
      {"庄家 alone when the dealer's result is zero", 4, 0, 1, -1, {"庄家"}},
      {"neither fed nor self-drawn: no line", 2, 2, -1, -1, {}},
  };
  for (const Case& k : cases) {
    ScoreRecords all{};
    for (int s = 0; s < 4; ++s) all[s] = Rec({}, 2);
    all[0] = Rec({{kScoreZhuangCount, k.d}}, k.sign);
    if (k.fedBySeat >= 0) wire::PutU8(all[k.fedBySeat].packet, kScoreDianPao, 1);
    if (k.selfDrawnBySeat >= 0) {
      wire::PutU8(all[k.selfDrawnBySeat].packet, kScoreZiMo, 1);
      wire::PutU8(all[k.selfDrawnBySeat].packet, kScoreWinFlags, 1);
    }
    Lines lines = scoring::PatternLines(all)[0];
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    EXPECT_EQ(lines, k.dealerLines) << k.what;
  }
}

TEST(Patterns, ColumnsEndOnTheSameRow) {
  using namespace off;
  ScoreRecords all{};
  // 3, 7, 0 and 5 lines.
  all[0] = Rec({{kScoreWinFlags, 0x31}});
  all[1] = Rec({{kScoreWinFlags, 1}, {kScoreAnGang, 1}, {kScoreZhi, 1}, {kScoreQueMen, 1}, {kScoreHaiLao, 1},
                {kScoreShiTongZhang, 1}, {kScoreSiHe, 1}});
  all[3] = Rec({{kScoreWinFlags, 1}, {kScoreAnHuo, 1}, {kScoreZiMo, 1}, {kScoreDianPao, 1}, {kScoreGangKai, 1}});
  const auto lines = scoring::PatternLines(all);
  const std::size_t written[4] = {3, 7, 0, 5};
  for (int s = 0; s < 4; ++s) {
    ASSERT_EQ(lines[s].size(), 7u) << s;
    for (std::size_t j = 0; j < 7; ++j) EXPECT_EQ(lines[s][j].empty(), j >= written[s]) << s << " " << j;
  }
}

TEST(Patterns, LevelTitleFromBytePairs) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    std::string title;
  };
  const Case cases[] = {
      {"two characters", {0xB8, 0xDF, 0xCA, 0xD6}, "高手"},
      {"a zero first byte ends it", {0xB8, 0xDF, 0x00, 0xD6, 0xCA, 0xD6}, "高"},
      {"zero at once: empty", {0x00, 0xB8, 0xDF}, ""},
      {"a pair of two single-byte characters", {'A', 'B'}, "AB"},
      {"a lead byte without its trail", {0xB8, 0x00, 0xCA, 0xD6}, "\xEF\xBF\xBD手"},
      {"eight pairs at most", std::vector<std::uint8_t>(20, 'x'), std::string(16, 'x')},
  };
  for (const Case& k : cases) {
    ScoreRecord r;
    for (std::size_t i = 0; i < k.bytes.size(); ++i) wire::PutU8(r.packet, off::kScoreLevelTitle + i, k.bytes[i]);
    EXPECT_EQ(r.LevelTitle(), k.title) << k.what;
  }
}

}  // namespace
}  // namespace tavrel::testing
