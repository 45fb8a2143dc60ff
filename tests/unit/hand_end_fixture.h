#pragma once
// A formed table (players_fixture.h) at the end of a hand: the four HandOver and
// Settlement packets as the server sends them, the sheet and the history read back,
// and a folder of its own for the record file.
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "players_fixture.h"
#include "scoring/hand_over.h"
#include "scoring/hand_record.h"
#include "session/ini_file.h"

namespace tavrel::testing {

// One seat's score record: the pattern bytes by packet offset, the amount and its sign.
struct Record {
  std::map<std::size_t, int> bytes;
  std::uint64_t amount = 0;
  int sign = 0;
  int unit = 1;
  int base = 10;
  std::vector<std::uint8_t> title;  // the level title's byte pairs, raw
};

struct HandEndFixture : PlayersFixture {
  std::filesystem::path folder;

  HandEndFixture() {
    folder = std::filesystem::temp_directory_path() /
             ("tavrel-hand-end-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    platform.programFolder = folder.string();
    FormTable();
    platform.simAudio().played.clear();
    // A hand under way: the start of the hand's gold as NewHand keeps it.
    c->table.HandNo = 1;
    c->table.Playing = true;
    for (int r = 0; r < 4; ++r) c->table.InitialGold[r] = "5000金币";
  }
  ~HandEndFixture() override { std::filesystem::remove_all(folder); }

  static Packet HandOver(int seatMask, std::int64_t total, int v1 = 1, int cap = 0, const std::string& caption = "") {
    Packet p = Make(9, seatMask, {0, v1, 0, 0});
    wire::PutU64LE(p, off::kHandTotal, static_cast<std::uint64_t>(total));
    wire::PutU8(p, off::kHandCapHit, static_cast<std::uint8_t>(cap));
    wire::PutGbkText(p, off::kWinnerCaption, caption, off::kWinnerCaptionBytes);
    return p;
  }
  static Packet Settlement(int seatMask, const Record& r) {
    Packet p = Make(17, seatMask, {(r.base >> 8) & 0x7F, r.base & 0xFF, 0, r.unit});
    for (const auto& [offset, value] : r.bytes) wire::PutU8(p, offset, static_cast<std::uint8_t>(value));
    wire::PutU64LE(p, off::kScoreAmount, r.amount);
    wire::PutU8(p, off::kScoreAmountSign, static_cast<std::uint8_t>(r.sign));
    for (std::size_t i = 0; i < r.title.size() && i < 16; ++i) wire::PutU8(p, off::kScoreLevelTitle + i, r.title[i]);
    return p;
  }
  // A record with the amount signed as the server sends it (2 = lost).
  static Record Result(std::int64_t amount) {
    Record r;
    r.amount = static_cast<std::uint64_t>(amount < 0 ? -amount : amount);
    r.sign = amount < 0 ? 2 : amount > 0 ? 1 : 0;
    if (amount > 0) r.bytes[off::kScoreWinFlags] = 1;
    return r;
  }

  // The four HandOver packets of relative seats 0..3, the last with the caption.
  void HandOvers(std::array<std::int64_t, 4> totals, const std::string& caption = "自摸胡牌") {
    for (int r = 0; r < 4; ++r) Receive(HandOver(Mask(r), totals[r], 1, 0, r == 3 ? caption : ""));
  }
  void Settlements(const std::array<Record, 4>& records) {
    for (int r = 0; r < 4; ++r) Receive(Settlement(Mask(r), records[r]));
  }
  // A won hand: results and records with the same amounts.
  void WonHand(std::array<std::int64_t, 4> totals, const std::string& caption = "自摸胡牌") {
    HandOvers(totals, caption);
    Settlements({Result(totals[0]), Result(totals[1]), Result(totals[2]), Result(totals[3])});
  }
  // The next hand under way (what NewHand does for the hand end).
  void NextHand() {
    ++c->table.HandNo;
    c->table.Playing = true;
  }

  platform::Form& sheet() { return c->ui.form(frm::Score); }
  platform::Form& hero() { return c->ui.form(frm::Hero); }
  std::vector<std::string> Column(int i) { return sheet().Get(ctl::Score::State, i).Items(); }
  std::vector<std::string> Grades(int s) { return hero().Get(ctl::Hero::Grade, s).Items(); }
  std::string RecordPath() { return scoring::RecordFilePath(*c); }
  std::string ReadRecord(int hand, const std::string& key) {
    classIniFile ini(RecordPath());
    return ini.GetIniKey(scoring::RecordSection(hand), key);
  }
};

}  // namespace tavrel::testing
