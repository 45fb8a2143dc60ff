#include "scoring/patterns.h"

#include <algorithm>

#include "app/client_context.h"
#include "platform/names.h"
#include "session/cp936.h"

namespace tavrel::scoring {
namespace {

constexpr std::size_t kLabelWidth = 10;

std::string Num(int n) { return std::to_string(n); }

// The dealer's line (row 22) for a seat that deals: the hand counts as won by discard
// when some seat fed the tile, as self-drawn when nobody did but somebody drew it.
void DealerLine(const ScoreRecords& all, const ScoreRecord& r, std::vector<std::string>& out) {
  const int d = r.Byte(off::kScoreZhuangCount);
  if (d <= 0) return;
  if (r.AmountSign() == 0) {
    out.push_back(PatternLine("庄家"));
    return;
  }
  const bool byDiscard = std::any_of(all.begin(), all.end(), [](const ScoreRecord& s) {
    return s.Byte(off::kScoreDianPao) == 1;
  });
  const bool selfDrawn = !byDiscard && std::any_of(all.begin(), all.end(), [](const ScoreRecord& s) {
    return s.Byte(off::kScoreZiMo) == 1;
  });
  if (!byDiscard && !selfDrawn) return;
  const int perDeal = byDiscard ? 2 : 4;
  out.push_back(PatternLine(d == 1 ? std::string("坐庄") : Num(d) + "连庄", perDeal * d));
}

std::vector<std::string> SeatLines(const ScoreRecords& all, const ScoreRecord& r) {
  std::vector<std::string> out;
  auto add = [&out](const std::string& label, int value) { out.push_back(PatternLine(label, value)); };
  const bool winner = r.Winner();
  const int shape = r.Byte(off::kScoreHandShape);
  const int pairs = shape & 0xF;
  const int pu = r.Byte(off::kScorePu);
  const int puLow = pu & 3, puMid = (pu >> 2) & 3, puHigh = pu >> 4;
  const int winFlags = r.Byte(off::kScoreWinFlags);

  if (winner) add("胡牌", 15);
  if (r.Byte(off::kScoreTianDi) > 0) {
    if (r.Byte(off::kScoreZhuangCount) >= 1) add("天胡", 200);
    else add("地胡", 150);
  }
  if ((shape >> 4) == 1) add("清一色", 100);
  if (pairs == 1) add("七对", 10);
  if (pairs == 3) add("豪华七对", 50);
  if (pairs == 5 || pairs == 9) add("超豪华七对", 100);
  // Any seven-pairs kind, named or not, leaves no room for the shapes of rows 5 to 8.
  if (pairs == 0) {
    if (puMid == 2) {
      add("双暗双铺", 100);
    } else {
      if (puHigh == 1 || puHigh == 3) add("四暗刻", 100);
      if (puHigh == 2 || puHigh == 3) add("三连坎", 100);
    }
    if (puHigh != 2 && puHigh != 3) {
      if (puLow > 0) add("明双铺" + Num(puLow) + "个", 2 * puLow);
      if (puMid == 1) add("暗双铺1个", 4);
    }
  }
  const int kan = winFlags >> 4;
  if (kan > 1) {
    const int n = kan >= 8 ? 3 : kan >= 4 ? 2 : 1;
    add("坎" + Num(n) + "个", n);
  }
  if ((r.Byte(off::kScoreFourKan) & 0xF) == 1) add("坎4个", 4);
  if (winFlags & 0x10) add("卡张", 1);
  if (winner) {
    if (const int n = r.Byte(off::kScoreAnGang); n > 0) add("暗杠" + Num(n) + "个", 4 * n);
    if (const int n = r.Byte(off::kScoreZhi); n > 0) add(Num(n + 8) + "支", n);
    if (const int n = r.Byte(off::kScoreQueMen); n > 0) add("缺" + Num(n) + "门", 2 * n);
    if (r.Byte(off::kScoreHaiLao) > 0) add("海捞", 15);
    if (r.Byte(off::kScoreShiTongZhang) > 0) add("十同张", 100);
    if (const int m = r.Byte(off::kScoreAnHuo) + r.Byte(off::kScoreSiHe); m > 0) add("四核" + Num(m) + "个", 4 * m);
    if (const int n = r.Byte(off::kScoreTongZhang); n > 0) add("同张" + Num(n + 4) + "张", n);
  }
  if (r.Byte(off::kScoreZiMo) > 0) out.push_back(PatternLine("自摸"));
  if (r.Byte(off::kScoreDianPao) > 0) out.push_back(PatternLine("点炮"));
  if (r.Byte(off::kScoreGangKai) > 0) out.push_back(PatternLine("杠开×2"));
  DealerLine(all, r, out);
  return out;
}

}  // namespace

bool ScoreRecord::Winner() const {
  return (Byte(off::kScoreWinFlags) & 0xF) != 0 || (Byte(off::kScoreHandShape) & 0xF) != 0;
}

double ScoreRecord::FinalAmount() const {
  const double amount = static_cast<double>(wire::U64LE(packet, off::kScoreAmount));
  return AmountSign() == 2 ? -amount : amount;
}

std::string ScoreRecord::LevelTitle() const {
  std::string title;
  for (std::size_t i = 0; i < off::kScoreLevelTitlePairs; ++i) {
    const std::uint8_t first = Byte(off::kScoreLevelTitle + 2 * i);
    if (first == 0) break;
    // Each pair is one character: a lead byte never takes the next pair's byte with it.
    std::string pair(1, static_cast<char>(first));
    if (const std::uint8_t second = Byte(off::kScoreLevelTitle + 2 * i + 1); second != 0)
      pair.push_back(static_cast<char>(second));
    title += text::Cp936ToUtf8(pair);
  }
  return title;
}

std::string PatternLine(const std::string& label, int value) {
  return text::PadRight(label, kLabelWidth) + std::to_string(value) + "嘴";
}

std::string PatternLine(const std::string& label) { return label; }

std::array<std::vector<std::string>, 4> PatternLines(const ScoreRecords& records) {
  std::array<std::vector<std::string>, 4> lines;
  std::size_t longest = 0;
  for (int s = 0; s < 4; ++s) {
    lines[s] = SeatLines(records, records[s]);
    longest = std::max(longest, lines[s].size());
  }
  for (auto& column : lines) column.resize(longest);
  return lines;
}

void BuildPatternLines(ClientContext& ctx) {
  platform::Form& sheet = ctx.ui.form(frm::Score);
  const auto lines = PatternLines(ctx.handEnd.Records);
  for (int s = 0; s < 4; ++s) {
    platform::Control& column = sheet.Get(ctl::Score::State, s);
    for (const std::string& line : lines[s]) column.AddItem(line);
  }
}

}  // namespace tavrel::scoring
