// Departures, seat changes and the dealer announcement between hands: PlayerLeft
// in its four forms and TableUsers.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "players_fixture.h"
#include "scoring/continue_step.h"
#include "scoring/departures.h"
#include "scoring/seat_change.h"
#include "view/player_card.h"
#include "session/commands.h"
#include "session/debug_log.h"
#include "session/leave.h"

namespace tavrel::testing {
namespace {

struct Departures : PlayersFixture {
  // The own seat is index 0 (mask 1), the table formed and the dealer announced.
  Departures() {
    Seat(0);
    Connect();
    c->session.TableActive = true;
    FormTable();
    c->handEnd.TableFormed = true;
  }
  int CountdownShown() {
    const auto* number = Find(ctl::Number);
    return number && number->Visible() && c->sched.ContinueClockOn ? std::stoi(number->Caption()) : -1;
  }
  bool LeaveSent() {
    for (const Packet& p : SentPackets())
      if (p[off::kCmd] == cmd::kLeave && wire::U8(p, off::kValue3Low) == 0) return true;
    return false;
  }
  bool PositionEmpty(int p) {
    return Caption(ctl::Nid, p).empty() && Caption(ctl::Cash, p).empty() && Caption(ctl::Level, p).empty() &&
           Find(ctl::Tou, p)->Picture() == 0 && !Shown(ctl::OK, p) && seat(p).name.empty() &&
           detail(p).username.empty() && detail(p).Coins == 0;
  }
  std::string Dialog() { return c->ui.form(frm::frmOtherExit).Get(ctl::frmOtherExit::Label1).Caption(); }
};

TEST_F(Departures, TableUsersWithAShiftedFirstCharacterNamesAob) {
  seat(3).name = "Aob";
  detail(3).username = "阿宝";
  detail(3).Account = "Aob";
  Packet p = TableUsers("Bob");
  wire::PutU8(p, off::kTableUsersShifted, 1);
  platform.simClock().now = (9 * 60 + 5) * 1000;  // 12:09:05
  Receive(p);
  EXPECT_TRUE(PositionEmpty(3));
  EXPECT_EQ(detail(3).Account, "Aob") << "the account stays";
  EXPECT_EQ(Lines(0), std::vector<std::string>{"阿宝退出了游戏 12:9:5"});
  EXPECT_TRUE(Lines(1).empty());
  EXPECT_EQ(seat(1).name, "acct1") << "the others stay";
  for (int r = 0; r < 4; ++r) EXPECT_EQ(seat(r).seat, 0) << "every seat mask goes";
  EXPECT_FALSE(c->handEnd.Continued);
}

TEST_F(Departures, TableUsersWritesTheTableToTheDebugLog) {
  const std::string path = ::testing::TempDir() + "/tavrel_table_users_log_test.log";
  std::remove(path.c_str());
  ASSERT_TRUE(session::InstallDebugLog(*c, path.c_str()));
  Receive(TableUsers("acct2"));
  c->startup.debugLog.file.reset();
  std::ifstream in(path);
  std::stringstream all;
  all << in.rdbuf();
  EXPECT_NE(all.str().find("21桌上的人：acct0+acct1+acct2+acct3  走人acct2"), std::string::npos) << all.str();
}

TEST_F(Departures, TableUsersRestartsTheCountdownOnAFormedTable) {
  const struct {
    const char* what;
    bool formed;
    int value0;
    bool bossKey;
    int seconds;  // -1: no countdown
  } cases[] = {
      {"formed", true, 0, false, 15},
      {"formed, short", true, 1, false, 10},
      {"formed, window hidden", true, 1, true, 1},
      {"not formed", false, 0, false, -1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    c->handEnd.TableFormed = k.formed;
    c->view.BossKeyActive = k.bossKey;
    c->sched.ContinueClockOn = false;
    Find(ctl::Number)->SetVisible(false);
    Find(ctl::Number)->SetForeColor(platform::kRed);
    c->view.HandStarted[2] = true;
    c->TimerKeepAlive->SetEnabled(false);
    Receive(TableUsers("nobody", k.value0));
    EXPECT_EQ(CountdownShown(), k.seconds);
    if (k.seconds > 0) {
      EXPECT_EQ(Find(ctl::Number)->ForeColor(), platform::kRed) << "the figure keeps its colour";
      EXPECT_FALSE(c->view.HandStarted[2]);
    }
    EXPECT_TRUE(c->handEnd.TableFormed);
    EXPECT_TRUE(c->TimerKeepAlive->Enabled());
  }
  // The countdown runs out into the continue step.
  c->handEnd.TableFormed = true;
  c->view.BossKeyActive = false;
  Receive(TableUsers("nobody", 1));
  const std::size_t before = SentPackets().size();
  Ticks(20 * 12);
  bool continued = false;
  const auto sent = SentPackets();
  for (std::size_t i = before; i < sent.size(); ++i)
    continued = continued || (sent[i][off::kCmd] == cmd::kContinue && wire::U8(sent[i], off::kValue3Low) == 1);
  EXPECT_TRUE(continued);
}

TEST_F(Departures, TableUsersNamingNobodyOrTheLocalPlayer) {
  Receive(TableUsers(""));
  for (int p = 1; p <= 3; ++p) EXPECT_FALSE(PositionEmpty(p)) << "an empty name matches nobody";
  seat(2).name.clear();
  Receive(TableUsers(""));
  EXPECT_EQ(detail(2).username, PersonAt(2).name) << "not even a seat whose table name is empty";
  EXPECT_FALSE(platform.ended);

  Receive(TableUsers(seat(0).name));
  EXPECT_TRUE(platform.ended) << "the local player's own name ends the program";
  EXPECT_EQ(platform.simLobby().sysCommands.back().message, session::kScRestore);
}

TEST_F(Departures, PlayersLeftNamesThemEndsTheGameAndLeaves) {
  // Seat 0x0B: the seat 4 player (top, 张三) is missing.
  detail(2).username = "张三";
  platform.simClock().now = 65 * 1000;  // 12:01:05
  Receive(PlayerLeft(0x0B, scoring::kPlayersLeft));
  EXPECT_EQ(Lines(0), std::vector<std::string>{"张三,退出了游戏！ 12:1:5"});
  EXPECT_EQ(Lines(1), std::vector<std::string>{"张三,请退出重新开始游戏."});
  for (int p = 1; p <= 3; ++p) EXPECT_TRUE(PositionEmpty(p)) << p;
  EXPECT_FALSE(PositionEmpty(0));
  EXPECT_EQ(Dialog(), "玩家张三,退出了游戏！游戏结束！");
  EXPECT_TRUE(c->ui.form(frm::frmOtherExit).Visible());
  EXPECT_TRUE(c->ui.form(frm::frmOtherExit).Topmost());
  EXPECT_TRUE(c->ui.form(frm::Hero).Visible());
  EXPECT_TRUE(LeaveSent());
  EXPECT_FALSE(c->table.Playing);
  EXPECT_FALSE(platform.ended);
}

TEST_F(Departures, PlayersLeftWithNobodyMissingOrOnlyTheLocalPlayer) {
  Receive(PlayerLeft(15, scoring::kPlayersLeft));
  EXPECT_FALSE(PositionEmpty(2));
  EXPECT_FALSE(c->ui.form(frm::frmOtherExit).Visible());

  Receive(PlayerLeft(0x0E, scoring::kPlayersLeft));
  EXPECT_TRUE(platform.ended) << "the local player is gone: the end, without a word";
  EXPECT_FALSE(c->ui.form(frm::frmOtherExit).Visible());
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(Departures, TheDealerAnnouncementShowsTheDealerAndKeepsTheReconnectNumber) {
  c->handEnd.TableFormed = false;
  scoring::ShowSeatChangeBanner(*c);
  c->main().SetState(platform::WindowState::Minimized);
  Packet p = PlayerLeft(4, scoring::kDealerAnnouncement, 3);
  wire::PutU32LE(p, off::kTailNumber, 0xA1B2C3D4u);
  Receive(p);
  EXPECT_EQ(Caption(ctl::Zhuang), "南");
  EXPECT_TRUE(seat(2).isDealer);
  EXPECT_EQ(Caption(ctl::lbl_zhuang), PersonAt(2).name);
  EXPECT_EQ(Caption(ctl::lbl_zhuangNum), "3");
  EXPECT_TRUE(Shown(ctl::img_lianzhuang));
  EXPECT_EQ(c->startup.reconnect.ReconnectNumber, 0xA1B2C3D4u);
  EXPECT_EQ(c->main().State(), platform::WindowState::Normal);
  EXPECT_EQ(platform.simLobby().sysCommands.back().message, session::kScMinimize);
  EXPECT_FALSE(Shown(ctl::ImgShuffle));
  EXPECT_FALSE(Shown(ctl::WebBrowser2));
  EXPECT_TRUE(c->handEnd.TableFormed);

  // A dealer who sits nowhere yet is kept for the first hand.
  for (auto& s : c->table.custom) s.seat = 0;
  Receive(PlayerLeft(2, scoring::kDealerAnnouncement, 1));
  EXPECT_EQ(table().FirstDealerSeat, 2);
}

TEST_F(Departures, TheSeatChangeNoticeLeadsToTheBannerAfterContinue) {
  c->players.TableWealthRate = 0;
  Receive(PlayerLeft(0, scoring::kSeatChangeNotice, 1, 0));
  EXPECT_FALSE(c->handEnd.TableFormed);
  EXPECT_TRUE(c->handEnd.SeatChangePending);
  EXPECT_TRUE(c->handEnd.AutoSeatChange);
  EXPECT_FALSE(Shown(ctl::ImgShuffle)) << "value(2) 0: not now";
  EXPECT_FALSE(Shown(ctl::lbwealth));

  // The continue step starts the display: masks cleared, caption moving.
  c->startup.ShuffleTexts = {"正在随机换座中..", "正在随机换座中...", "正在随机换座中....", "正在随机换座中....."};
  scoring::ContinueStep(*c);
  EXPECT_TRUE(Shown(ctl::ImgShuffle));
  EXPECT_TRUE(Shown(ctl::LblShuffle));
  EXPECT_TRUE(Shown(ctl::WebBrowser2));
  EXPECT_EQ(Caption(ctl::LblShuffle), "正在随机换座中..");
  for (int r = 0; r < 4; ++r) EXPECT_EQ(seat(r).seat, 0);
  EXPECT_FALSE(c->handEnd.SeatChangePending);
  platform.Advance(300);
  EXPECT_EQ(Caption(ctl::LblShuffle), "正在随机换座中...");
  platform.Advance(900);
  EXPECT_EQ(Caption(ctl::LblShuffle), "正在随机换座中..");

  // The next details end it.
  Receive(UserInfo(15, PersonAt(0)));
  EXPECT_FALSE(Shown(ctl::ImgShuffle));
  EXPECT_FALSE(Shown(ctl::LblShuffle));
  EXPECT_FALSE(Shown(ctl::WebBrowser2));
  EXPECT_FALSE(c->players.TimerShuffle->Enabled());
  EXPECT_FALSE(c->handEnd.AutoSeatChange);
}

TEST_F(Departures, TheSeatChangeNoticeShowsTheBannerAndTheNewWealthRate) {
  c->players.TableWealthRate = 5;
  Packet p = PlayerLeft(0, scoring::kSeatChangeNotice, 0, 1);
  wire::PutU32LE(p, off::kSeatChangeWealthRate, 40);
  Receive(p);
  EXPECT_TRUE(Shown(ctl::ImgShuffle));
  EXPECT_EQ(Caption(ctl::LblShuffle), "正在随机换座中..");
  EXPECT_FALSE(c->handEnd.AutoSeatChange);
  EXPECT_EQ(Caption(ctl::lbwealth), "40");
  EXPECT_TRUE(Shown(ctl::Imgwealth));

  // Without a formed table only the wealth display changes.
  c->handEnd.SeatChangePending = false;
  wire::PutU32LE(p, off::kSeatChangeWealthRate, 0);
  Receive(p);
  EXPECT_FALSE(c->handEnd.SeatChangePending);
  EXPECT_FALSE(Shown(ctl::lbwealth)) << "a rate of 0 is no doubling";
}

TEST_F(Departures, GoldTooLowForTheLocalPlayer) {
  const struct {
    int changeRoom;
    const char* text;
  } cases[] = {{1, "您的金币不够，请更换房间或充值后继续游戏！"}, {0, "您的金币不够，请领取低保或充值后继续游戏！"}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.changeRoom);
    Build(1280, 1024);
    Seat(0);
    Connect();
    FormTable();
    Receive(PlayerLeft(0x0E, 3, k.changeRoom));
    EXPECT_EQ(Dialog(), k.text);
    EXPECT_TRUE(c->ui.form(frm::frmOtherExit).Visible());
    EXPECT_TRUE(c->view.LeaveOnStart);
    EXPECT_FALSE(c->Connected());
    for (int p = 1; p <= 3; ++p) EXPECT_TRUE(PositionEmpty(p)) << p;
    EXPECT_TRUE(Lines(0).empty()) << "emptied with the positions";
    EXPECT_TRUE(c->ui.form(frm::Score).Visible());
    EXPECT_FALSE(c->TimerKeepAlive->Enabled());
    EXPECT_FALSE(platform.ended);
  }
}

TEST_F(Departures, GoldTooLowForAnotherPlayerLetsTheGameGoOn) {
  c->main().Get(ctl::Sysmsg, 0).AddItem("请点击【继续】按钮继续游戏！");
  Receive(PlayerLeft(0x0D, 3, 2));
  EXPECT_EQ(Lines(0), (std::vector<std::string>{"金币不够，退出游戏！", "请点击【继续】按钮继续游戏！"}));
  EXPECT_TRUE(c->ui.form(frm::Score).Visible());
  EXPECT_FALSE(c->ui.form(frm::frmOtherExit).Visible());
  EXPECT_FALSE(c->view.LeaveOnStart);
  EXPECT_TRUE(c->Connected());
  EXPECT_FALSE(LeaveSent());
  EXPECT_FALSE(c->handEnd.Continued);
  for (int p = 1; p <= 3; ++p) EXPECT_FALSE(PositionEmpty(p)) << p;
}

TEST_F(Departures, ASpectatorsWatchEndsWhenAPlayerLeaves) {
  // Position 0 is the watched player (mask 1, table name acct0): its leaving ends the
  // watch with the same message as anybody else's.
  const struct {
    const char* what;
    Packet packet;
    const char* dialog;  // frmOtherExit's text, or nullptr when it stays hidden
  } cases[] = {
      {"players left", PlayerLeft(0x0B, scoring::kPlayersLeft), "玩家玩家2,退出了游戏！游戏结束！"},
      {"gold", PlayerLeft(0x0B, 3), nullptr},
      {"table users", TableUsers("acct2"), nullptr},
      {"the watched player left", PlayerLeft(0x0E, scoring::kPlayersLeft), "玩家玩家0,退出了游戏！游戏结束！"},
      {"the watched player's gold", PlayerLeft(0x0E, 3, 1), nullptr},
      {"the watched player's name", TableUsers("acct0"), nullptr},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    Build(1280, 1024);
    Seat(0);
    Connect();
    FormTable();
    c->startup.Spectator = true;
    platform.boxes.clear();
    Receive(k.packet);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "有用户退出，旁观结束！");
    EXPECT_TRUE(platform.ended);
    // A spectator has no gold of its own at stake and never gets the start button's leave.
    EXPECT_EQ(c->ui.form(frm::frmOtherExit).Visible(), k.dialog != nullptr);
    if (k.dialog) {
      EXPECT_EQ(Dialog(), k.dialog);
    }
    EXPECT_FALSE(c->view.LeaveOnStart);
    platform.ended = false;
  }
}

TEST_F(Departures, ClosingTheTableForgetsThePlayers) {
  Receive(PlayerLeft(0, scoring::kSeatChangeNotice, 1, 1));
  c->players.TableWealthRate = 7;
  view::ShowPlayerCard(*c, 1);
  ASSERT_TRUE(c->ui.form(frm::Information).Visible());
  session::CloseTable(*c);
  EXPECT_FALSE(c->ui.form(frm::Information).Visible());
  EXPECT_FALSE(Shown(ctl::ImgShuffle));
  EXPECT_FALSE(c->players.TimerShuffle->Enabled());
  EXPECT_FALSE(c->players.SeatNamesReceived);
  EXPECT_FALSE(c->handEnd.TableFormed);
  EXPECT_EQ(c->players.TableWealthRate, 0u);
  EXPECT_TRUE(c->players.SheetFace[1].name.empty());
  EXPECT_TRUE(c->ui.form(frm::Hero).Get(ctl::Hero::ID, 1).Caption().empty());
  for (int p = 0; p < 4; ++p) EXPECT_TRUE(Caption(ctl::Nid, p).empty()) << p;
}

TEST_F(Departures, ReleasingAPositionLowersTheTableWealth) {
  c->players.TableWealthRate = 5;
  c->players.WealthRates = {0, 5, 20, 10};
  scoring::ReleasePosition(*c, 1);
  EXPECT_EQ(Caption(ctl::lbwealth), "10");
  EXPECT_TRUE(Shown(ctl::lbwealth));
  EXPECT_EQ(c->players.WealthRates[1], 0u);
  c->players.TableWealthRate = 0;
  scoring::ReleasePosition(*c, 2);
  EXPECT_FALSE(Shown(ctl::lbwealth));
}

}  // namespace
}  // namespace tavrel::testing
