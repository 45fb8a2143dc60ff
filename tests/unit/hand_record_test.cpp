// The record file of the table's hands and the history window that reads it.
#include <fstream>
#include <sys/stat.h>

#include "hand_end_fixture.h"
#include "session/cp936.h"
#include "session/leave.h"
#include "platform/writable_folder.h"
#include "view/sheet_windows.h"
#include "view/window_frame.h"

namespace tavrel::testing {
namespace {

using HandRecordTest = HandEndFixture;

TEST_F(HandRecordTest, SectionsAndKeysOfTwoHands) {
  WonHand({300, -100, -100, -100});
  NextHand();
  WonHand({300, -100, -100, -100});
  EXPECT_EQ(RecordPath(), (folder / "info.vl").string());
  const auto lines = Column(0);
  ASSERT_EQ(lines.size(), 14u);
  for (int hand : {1, 2}) {
    EXPECT_EQ(ReadRecord(hand, "count( 0 )"), "14") << hand;
    EXPECT_EQ(ReadRecord(hand, "name( 2 )"), PersonAt(2).name);
    EXPECT_EQ(ReadRecord(hand, "PicIndex( 2 )"), "0");
    EXPECT_EQ(ReadRecord(hand, "count( 4 )"), "1");
    EXPECT_EQ(ReadRecord(hand, "count( 4 )( 0 )"), "最终分：300金币");
    EXPECT_EQ(ReadRecord(hand, "count( 0 ) ForeColor"), "0");
    EXPECT_EQ(ReadRecord(hand, "count( 4 ) ForeColor"), "");
  }
  EXPECT_EQ(ReadRecord(2, "count( 0 )( 0 )"), "初始：5000金币");
  EXPECT_EQ(ReadRecord(2, "count( 0 )( 13 )"), "最终分：300金币");
  EXPECT_EQ(ReadRecord(2, "count( 0 )( 14 )"), "");
  // The file's order: names and avatars, then each list's count and lines, then the colours.
  std::ifstream in(RecordPath(), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto at = [&](const std::string& s) { return text.find(s, text.find("[juNum:2]")); };
  EXPECT_LT(at("name( 0 )="), at("PicIndex( 0 )="));
  EXPECT_LT(at("PicIndex( 0 )="), at("name( 1 )="));
  EXPECT_LT(at("PicIndex( 3 )="), at("count( 0 )=14"));
  EXPECT_LT(at("count( 0 )( 13 )="), at("count( 1 )="));
  EXPECT_LT(at("count( 7 )( 0 )="), at("count( 0 ) ForeColor="));
}

TEST_F(HandRecordTest, ReloadTrimsPadsAndColours) {
  HandOvers({0, 0, 0, 0});  // hand 1, drawn
  NextHand();
  c->handEnd.PropLines[1] = "幸运星00065280";
  WonHand({300, -300, 0, 0});  // hand 2: a longer sheet, column 1 green
  sheet().Get(ctl::Score::ID, 0).SetForeColor(platform::kGreen);

  scoring::ShowHandRecord(*c, 1);  // into the longer sheet: surplus lines go
  for (int s = 0; s < 4; ++s) {
    EXPECT_EQ(Column(s), std::vector<std::string>{"黄  庄"}) << s;
    EXPECT_EQ(Column(s + 4), std::vector<std::string>{"最终分：0金币"});
    EXPECT_EQ(sheet().Get(ctl::Score::ID, s).ForeColor(), platform::kRed);
    EXPECT_EQ(sheet().Get(ctl::Score::State, s).ForeColor(), platform::kBlack);
  }
  scoring::ShowHandRecord(*c, 2);  // into the shorter one: padded, then overwritten
  const auto column = Column(0);
  ASSERT_EQ(column.size(), 14u);
  EXPECT_EQ(column[0], "初始：5000金币") << "leading spaces are lost on reload";
  EXPECT_EQ(column[2], " ") << "an empty line comes back as one space";
  EXPECT_EQ(column[1], "-------------------");
  EXPECT_EQ(sheet().Get(ctl::Score::State, 1).ForeColor(), platform::kGreen);
  EXPECT_EQ(sheet().Get(ctl::Score::ID, 1).Caption(), PersonAt(1).name);
}

TEST_F(HandRecordTest, MissingSectionBlanksTheNamesOnly) {
  WonHand({300, -300, 0, 0});
  const auto before = Column(0);
  scoring::ShowHandRecord(*c, 7);
  EXPECT_EQ(sheet().Get(ctl::Score::ID, 0).Caption(), "");
  EXPECT_EQ(Column(0), before);
  scoring::ShowHandRecord(*c, 0);  // hand 0: nothing at all
  EXPECT_EQ(Column(0), before);
}

TEST_F(HandRecordTest, HistoryRowsMoveTogetherAndReloadByDoubleClick) {
  HandOvers({0, 0, 0, 0});
  NextHand();
  WonHand({300, -300, 0, 0});
  sheet().Hide();
  // Nothing selected: the sheet comes up with what it holds.
  const auto shown = Column(0);
  hero().Dispatch({platform::UiEventType::DblClick, ctl::Hero::Num.name, -1});
  EXPECT_TRUE(sheet().Visible());
  EXPECT_TRUE(sheet().Topmost());
  EXPECT_EQ(Column(0), shown);

  hero().Get(ctl::Hero::Grade, 2).SetListIndex(0);
  hero().Dispatch({platform::UiEventType::MouseDown, ctl::Hero::Grade.name, 2});
  EXPECT_EQ(hero().Get(ctl::Hero::Num).ListIndex(), 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(hero().Get(ctl::Hero::Grade, i).ListIndex(), 0) << i;
  hero().Dispatch({platform::UiEventType::DblClick, ctl::Hero::Grade.name, 2});
  EXPECT_EQ(Column(0), std::vector<std::string>{"黄  庄"});

  hero().Get(ctl::Hero::Num).SetListIndex(1);
  hero().Dispatch({platform::UiEventType::MouseDown, ctl::Hero::Num.name, -1});
  for (int i = 0; i < 4; ++i) EXPECT_EQ(hero().Get(ctl::Hero::Grade, i).ListIndex(), 1) << i;
  hero().Dispatch({platform::UiEventType::DblClick, ctl::Hero::Num.name, -1});
  EXPECT_EQ(Column(4), std::vector<std::string>{"最终分：300金币"});
}

TEST_F(HandRecordTest, WindowsDragCloseAndToggle) {
  HandOvers({0, 0, 0, 0});
  const auto drags = sheet().SystemMoveRequests();
  sheet().Dispatch({platform::UiEventType::MouseDown, "", -1, platform::kLeftButton});
  EXPECT_EQ(sheet().SystemMoveRequests(), drags + 1);
  sheet().Dispatch({platform::UiEventType::Click, ctl::Score::Image1.name, -1});
  EXPECT_FALSE(sheet().Visible());

  view::AnNiuClick(*c, 6);
  EXPECT_TRUE(hero().Visible());
  EXPECT_EQ(hero().Alpha(), 200);
  EXPECT_EQ(hero().Caption(), "英雄榜");
  EXPECT_EQ(hero().Get(ctl::Hero::Label1).Caption(), "点击查看明细");
  EXPECT_EQ(hero().Get(ctl::Hero::Label2).Caption(), "输赢总分：");
  // Centred over the table surface.
  const auto& surface = c->main().Get(ctl::Pic1);
  const auto& m = c->main().Bounds();
  EXPECT_NEAR(hero().Bounds().left + hero().Bounds().width / 2, m.left + surface.Left() + surface.Width() / 2, 0.5);
  EXPECT_NEAR(hero().Bounds().top + hero().Bounds().height / 2, m.top + surface.Top() + surface.Height() / 2, 0.5);
  const auto heroDrags = hero().SystemMoveRequests();
  for (const auto& name : {ctl::Hero::ID, ctl::Hero::Label1, ctl::Hero::Tou})
    hero().Dispatch({platform::UiEventType::MouseDown, name.name, 1, platform::kLeftButton});
  EXPECT_EQ(hero().SystemMoveRequests(), heroDrags + 3);
  view::AnNiuClick(*c, 6);
  EXPECT_FALSE(hero().Visible());
  // Asked for over an open sheet, the history comes in front of it; both stay topmost.
  view::AnNiuClick(*c, 5);
  ASSERT_TRUE(sheet().Visible());
  const auto raises = hero().RaiseRequests();
  view::AnNiuClick(*c, 6);
  EXPECT_EQ(hero().RaiseRequests(), raises + 1);
  EXPECT_TRUE(hero().Topmost());
  EXPECT_TRUE(sheet().Topmost());
  view::AnNiuClick(*c, 5);
  view::AnNiuClick(*c, 6);
  EXPECT_FALSE(hero().Visible());
  view::AnNiuClick(*c, 6);
  hero().Dispatch({platform::UiEventType::Click, ctl::Hero::Image1.name, -1});
  EXPECT_FALSE(hero().Visible());
  // The continue button hides both.
  view::AnNiuClick(*c, 6);
  view::AnNiuClick(*c, 2);
  EXPECT_FALSE(hero().Visible());
  EXPECT_FALSE(sheet().Visible());
}

TEST_F(HandRecordTest, TableCloseEmptiesTheHistoryAndDeletesTheFile) {
  WonHand({300, -300, 0, 0});
  ASSERT_TRUE(std::filesystem::exists(RecordPath()));
  session::CloseTable(*c);
  EXPECT_FALSE(std::filesystem::exists(RecordPath()));
  EXPECT_TRUE(hero().Get(ctl::Hero::Num).Items().empty());
  EXPECT_TRUE(Grades(0).empty());
  EXPECT_FALSE(hero().Visible());
  EXPECT_FALSE(sheet().Visible());
  EXPECT_EQ(c->table.HandNo, 0);
}

TEST_F(HandRecordTest, NewSeatNamesDeleteTheFileButKeepTheRows) {
  WonHand({300, -300, 0, 0});
  Receive(SeatName(1, "someone"));
  EXPECT_FALSE(std::filesystem::exists(RecordPath()));
  EXPECT_EQ(Grades(0).size(), 1u);
  EXPECT_EQ(c->players.RunningTotal[0], 0);
}

TEST_F(HandRecordTest, ServerTextsThatLookLikeTheFormatStayInTheirKey) {
  const std::string caption = "a]b=[c";
  HandOvers({300, -300, 0, 0}, caption);
  Record w = Result(300);
  c->handEnd.PropLines[0] = "[juNum:9]|x=y\r\nz";
  Settlements({w, Result(-300), Result(0), Result(0)});
  const auto written = Column(0);
  scoring::ShowHandRecord(*c, 1);
  const auto reloaded = Column(0);
  ASSERT_EQ(reloaded.size(), written.size());
  for (std::size_t j = 0; j < written.size(); ++j) {
    // What the format implies: a line break is stored as one space, and the spaces
    // around a value go.
    std::string flat;
    for (std::size_t k = 0; k < written[j].size(); ++k) {
      const char ch = written[j][k];
      if (ch == '\r' && k + 1 < written[j].size() && written[j][k + 1] == '\n') continue;
      flat += ch == '\r' || ch == '\n' ? ' ' : ch;
    }
    flat = text::TrimSpaces(flat);
    EXPECT_EQ(reloaded[j], flat.empty() ? " " : flat) << j;
  }
  EXPECT_NE(std::find(reloaded.begin(), reloaded.end(), caption), reloaded.end());
  EXPECT_NE(std::find(reloaded.begin(), reloaded.end(), "x=y z"), reloaded.end());
  EXPECT_EQ(ReadRecord(1, "count( 1 )"), std::to_string(Column(1).size()));
  classIniFile ini(RecordPath());
  EXPECT_EQ(ini.GetIniKey("juNum:9", "count( 0 )"), "") << "no section made of a line";
}

TEST_F(HandRecordTest, NonsenseFileLeavesTheSheetStanding) {
  WonHand({300, -300, 0, 0});
  const auto before = Column(0);
  {
    std::ofstream out(RecordPath(), std::ios::binary | std::ios::trunc);
    out << "[juNum:1]\nname( 0 )=x\nPicIndex( 0 )=999\ncount( 0 )=1e12\ncount( 1 )=-3\ncount( 2 )=abc\n"
           "count( 3 )=2\ncount( 3 )( 0 )=\ncount( 0 ) ForeColor=99999999\ncount( 1 ) ForeColor=x\n\xff\xfe garbage\n[[[\n";
  }
  scoring::ShowHandRecord(*c, 1);
  EXPECT_EQ(sheet().Get(ctl::Score::ID, 0).Caption(), "x");
  EXPECT_EQ(Column(0), before) << "an absurd count leaves the list";
  EXPECT_TRUE(Column(1).empty());
  EXPECT_TRUE(Column(2).empty());
  EXPECT_EQ(Column(3), (std::vector<std::string>{" ", " "}));
  EXPECT_EQ(sheet().Get(ctl::Score::State, 0).ForeColor(), platform::kBlack);
}

TEST(WritableFolder, ProgramFolderFirstThenTheStateFolders) {
  const auto base = std::filesystem::temp_directory_path() / ("tavrel-writable-" + std::to_string(::getpid()));
  std::filesystem::remove_all(base);
  std::filesystem::create_directories(base / "program");
  const std::string program = (base / "program").string();
  const std::string missing = (base / "no-such-program").string();
  const std::string state = (base / "state").string();
  const std::string home = (base / "home").string();
  std::ofstream((base / "file").string()) << "x";
  const std::string underFile = (base / "file" / "deeper").string();

  EXPECT_EQ(platform::WritableFolderFor(program, state.c_str(), home.c_str()), program);
  EXPECT_EQ(platform::WritableFolderFor(missing, state.c_str(), home.c_str()), state + "/tavrel");
  EXPECT_EQ(platform::WritableFolderFor(missing, "relative", home.c_str()), home + "/.local/state/tavrel");
  EXPECT_EQ(platform::WritableFolderFor(missing, underFile.c_str(), home.c_str()), home + "/.local/state/tavrel");
  EXPECT_EQ(platform::WritableFolderFor(missing, nullptr, underFile.c_str()), "");
  struct stat st {};
  ASSERT_EQ(::stat((state + "/tavrel").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  std::filesystem::remove_all(base);
}

TEST_F(HandRecordTest, NoWritableFolderStillShowsTheSheet) {
  platform.programFolder = (folder / "missing").string();
  const char* savedState = std::getenv("XDG_STATE_HOME");
  const char* savedHome = std::getenv("HOME");
  const std::string keepState = savedState ? savedState : "", keepHome = savedHome ? savedHome : "";
  std::ofstream((folder / "file").string()) << "x";
  const std::string blocked = (folder / "file").string();
  ::setenv("XDG_STATE_HOME", blocked.c_str(), 1);
  ::setenv("HOME", blocked.c_str(), 1);
  EXPECT_EQ(RecordPath(), "");
  WonHand({300, -300, 0, 0});
  EXPECT_TRUE(sheet().Visible());
  EXPECT_EQ(Column(4), std::vector<std::string>{"最终分：300金币"});
  scoring::ShowHandRecord(*c, 1);
  EXPECT_EQ(Column(4), std::vector<std::string>{"最终分：300金币"});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1)
      << "nothing written anywhere";
  if (savedState) ::setenv("XDG_STATE_HOME", keepState.c_str(), 1); else ::unsetenv("XDG_STATE_HOME");
  if (savedHome) ::setenv("HOME", keepHome.c_str(), 1); else ::unsetenv("HOME");
}

}  // namespace
}  // namespace tavrel::testing
