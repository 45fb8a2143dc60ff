// The end of a hand: the four results, the drawn hand's sheet, the wait for the
// Settlement packets, the messages and the countdown to the next hand.
#include "fake_prop_plugin.h"
#include "hand_end_fixture.h"
#include "scoring/continue_step.h"
#include "scoring/settlement.h"
#include "session/commands.h"
#include "view/layout.h"
#include "view/window_frame.h"

namespace tavrel::testing {
namespace {

using HandOverTest = HandEndFixture;

TEST_F(HandOverTest, DrawnHandShowsItsSheetAtOnce) {
  HandOvers({0, 0, 0, 0});
  for (int s = 0; s < 4; ++s) {
    EXPECT_EQ(Column(s), std::vector<std::string>{"      黄  庄"}) << s;
    EXPECT_EQ(Column(s + 4), std::vector<std::string>{"最终分：0金币"}) << s;
    EXPECT_EQ(Grades(s), std::vector<std::string>{"        0金币"}) << s;
    EXPECT_EQ(sheet().Get(ctl::Score::ID, s).ForeColor(), platform::kRed);
    EXPECT_EQ(sheet().Get(ctl::Score::ID, s).Caption(), PersonAt(s).name);
  }
  EXPECT_EQ(hero().Get(ctl::Hero::Num).Items(), std::vector<std::string>{"           1"});
  EXPECT_TRUE(sheet().Visible());
  EXPECT_EQ(Lines(0), std::vector<std::string>{"请点击【继续】按钮继续游戏！"});
  EXPECT_EQ(Lines(1), std::vector<std::string>{"游戏将在15秒内开始"});
  EXPECT_TRUE(c->sched.ContinueClockOn);
  EXPECT_EQ(Caption(ctl::Number), "15");
  EXPECT_FALSE(c->table.Playing);
  EXPECT_FALSE(c->handEnd.Continued);
  EXPECT_FALSE(c->session.HandResultWait);
  EXPECT_EQ(ReadRecord(1, "count( 0 )( 0 )"), "黄  庄");
}

TEST_F(HandOverTest, ResultsAreReadWithTheirSign) {
  struct Case {
    const char* what;
    std::uint64_t bytes;
    int v1;
    double expected;
  };
  const Case cases[] = {
      {"300 with value(1) 0 is a loss", 300, 0, -300},
      {"two's complement of -300 keeps its sign", static_cast<std::uint64_t>(-300), 1, -300},
      {"top bit alone is negative", 0x8000000000000000ull, 1, -9223372036854775808.0},
      {"500 as it is", 500, 1, 500},
      {"any value(1) other than 0 keeps the sign", 250, 7, 250},
  };
  for (const Case& k : cases) {
    Receive(HandOver(Mask(2), static_cast<std::int64_t>(k.bytes), k.v1));
    EXPECT_EQ(c->table.custom[2].HandTotal, k.expected) << k.what;
  }
}

TEST_F(HandOverTest, WonHandWaitsForTheSettlementAndKeepsTheCaption) {
  HandOvers({500, 0, -250, -250}, "  自摸胡牌  ");
  EXPECT_EQ(c->handEnd.WinnerCaption, "自摸胡牌");
  EXPECT_TRUE(Column(0).empty());
  EXPECT_TRUE(hero().Get(ctl::Hero::Num).Items().empty());
  EXPECT_FALSE(c->sched.ContinueClockOn);
  EXPECT_TRUE(c->session.HandResultWait);
  EXPECT_EQ(c->handEnd.HandOverCount, 0);
}

TEST_F(HandOverTest, CaptionZeroBytesReadAsSpacesAndAreTrimmed) {
  Packet p = HandOver(Mask(3), 100);
  const std::string bytes = "  ABCD";  // four characters behind two spaces, then zero bytes
  wire::PutBytes(p, off::kWinnerCaption, bytes, bytes.size());
  for (int r = 0; r < 3; ++r) Receive(HandOver(Mask(r), -r));
  Receive(p);
  EXPECT_EQ(c->handEnd.WinnerCaption, "ABCD");
}

TEST_F(HandOverTest, RepeatedSeatStillCountsAndTheFourthDecides) {
  Receive(HandOver(Mask(1), 100));
  Receive(HandOver(Mask(1), 0));  // overwrites seat 1
  Receive(HandOver(Mask(2), 0));
  EXPECT_TRUE(Column(0).empty());
  Receive(HandOver(Mask(3), 0));
  // Seat 0 was never sent: all four results read 0, the hand is drawn.
  EXPECT_EQ(Column(0), std::vector<std::string>{"      黄  庄"});
}

TEST_F(HandOverTest, SpectatorGetsSheetAndMessagesButNoCountdown) {
  c->startup.Spectator = true;
  HandOvers({0, 0, 0, 0});
  EXPECT_TRUE(sheet().Visible());
  EXPECT_EQ(Lines(0).size(), 1u);
  EXPECT_FALSE(c->sched.ContinueClockOn);
  c->startup.Spectator = true;
  NextHand();
  WonHand({300, -100, -100, -100});
  EXPECT_FALSE(c->sched.ContinueClockOn);
  EXPECT_EQ(Grades(0).size(), 2u);
}

TEST_F(HandOverTest, CountdownLengthByHandAndClockMode) {
  struct Case {
    bool shortClock, drawn;
    const char* seconds;
  };
  for (const Case k : {Case{false, true, "15"}, Case{true, true, "15"}, Case{false, false, "15"}, Case{true, false, "3"}}) {
    c->startup.ShortClockMode = k.shortClock;
    NextHand();
    if (k.drawn) HandOvers({0, 0, 0, 0});
    else WonHand({60, -20, -20, -20});
    EXPECT_EQ(Caption(ctl::Number), k.seconds) << "short " << k.shortClock << " drawn " << k.drawn;
  }
}

TEST_F(HandOverTest, PropShowDefersTheSheetAndHoldsTheDeparture) {
  FakePropPlugin plugin;
  plugin.Activate(*c);
  WonHand({500, 0, -250, -250});
  EXPECT_EQ(plugin.Count("InitShowEnd"), 1) << "the plug-in's show";
  EXPECT_TRUE(c->props.SettlementPending);
  EXPECT_FALSE(c->props.DrawSettlement);
  EXPECT_TRUE(c->handEnd.SheetPending);
  EXPECT_TRUE(Column(0).empty());
  // A departure during the show waits in the ring.
  Packet leave = TableUsers(PersonAt(1).account);
  c->session.RecvRing.PushAll(leave.data(), static_cast<int>(kPacketSize));
  session::ReceiveNextPacket(*c);
  EXPECT_EQ(Caption(ctl::Nid, 1), "[玩家] " + PersonAt(1).name);
  // The show is over: the bridge builds the sheet with the seats' prop lines.
  c->handEnd.PropLines[0] = "宝箱 +20";
  c->handEnd.PropScore[0] = 20;
  scoring::BuildSettlementSheet(*c);
  EXPECT_FALSE(c->handEnd.SheetPending);
  EXPECT_EQ(c->props.show, props::HandEndShow::SheetShown);
  EXPECT_EQ(Column(4), std::vector<std::string>{"最终分：520金币"});
  session::ReceiveNextPacket(*c);
  EXPECT_EQ(Caption(ctl::Nid, 1), "");

  // A drawn hand: the show first, then the bridge's own variant of the drawn sheet.
  NextHand();
  HandOvers({0, 0, 0, 0});
  EXPECT_EQ(plugin.Count("InitShowEnd"), 2);
  EXPECT_TRUE(c->props.DrawSettlement);
  EXPECT_TRUE(c->handEnd.DrawPending);
  EXPECT_TRUE(Column(0).empty());
  c->handEnd.PropLines[2] = "道具|00065280";
  c->handEnd.PropScore[2] = -5;
  c->handEnd.SheetPending = false;
  scoring::BuildDrawSheet(*c, true);
  EXPECT_EQ(Column(2), (std::vector<std::string>{"      黄  庄", "", "道具", "", ""}));
  EXPECT_EQ(sheet().Get(ctl::Score::State, 2).ForeColor(), platform::kGreen);
  EXPECT_EQ(Column(6), std::vector<std::string>{"最终分：-5金币"});
  EXPECT_EQ(Grades(2).back(), "       -5金币");
  EXPECT_EQ(hero().Get(ctl::Hero::sumScore, 2).Caption(), "-255金币");
  EXPECT_TRUE(c->handEnd.DrawPending) << "until the next layout reset";
  view::ResetLayout(*c);
  EXPECT_FALSE(c->handEnd.DrawPending);
}

TEST_F(HandOverTest, ContinueAfterTheSheetSendsContinueOnce) {
  c->session.TableActive = true;
  HandOvers({0, 0, 0, 0});
  Connect();
  for (int i = 0; i < 17 * 20; ++i) Ticks(1);
  int continues = 0;
  for (const Packet& p : SentPackets()) continues += wire::U8(p, off::kCmd) == cmd::kContinue;
  EXPECT_EQ(continues, 1);
  EXPECT_TRUE(c->handEnd.Continued);
  EXPECT_FALSE(Shown(ctl::Number));
}

TEST_F(HandOverTest, ResultsButtonShowsThePreviousHandWhileOneIsPlayed) {
  // Before the first hand has ended: hand 0, nothing new.
  c->table.Playing = false;
  c->table.HandNo = 0;
  view::AnNiuClick(*c, 5);
  EXPECT_TRUE(sheet().Visible());
  EXPECT_TRUE(Column(0).empty());
  view::AnNiuClick(*c, 5);
  EXPECT_FALSE(sheet().Visible());

  c->table.HandNo = 1;
  c->table.Playing = true;
  HandOvers({0, 0, 0, 0});
  NextHand();
  WonHand({300, -100, -100, -100});
  NextHand();  // hand 3 under way
  sheet().Hide();
  view::AnNiuClick(*c, 5);
  EXPECT_EQ(Column(4), std::vector<std::string>{"最终分：300金币"}) << "hand 2's sheet, not hand 3's";
  // Its results in: the current hand's own sheet.
  HandOvers({0, 0, 0, 0});
  sheet().Hide();
  view::AnNiuClick(*c, 5);
  EXPECT_EQ(Column(0), std::vector<std::string>{"黄  庄"});
}

}  // namespace
}  // namespace tavrel::testing
