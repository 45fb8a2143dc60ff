// Leaving the table: the exit confirmation, the table-closed notice, CloseTable and the main window's unload.
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "session/leave.h"
#include "view/exit_forms.h"
#include "session_fixture.h"

namespace tavrel::testing {
namespace {

using ::testing::ElementsAre;

struct LeaveTest : SessionFixture {
  LeaveTest() {
    folder = ::testing::TempDir() + "/tavrel_leave_" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    platform.programFolder = folder;
    LoggedIn();
    ClearSent();
  }
  ~LeaveTest() override { std::filesystem::remove_all(folder); }

  void Click(const char* form, const char* control) {
    platform::UiEvent e;
    e.type = platform::UiEventType::Click;
    e.control = control;
    ctx.ui.form(form).Dispatch(e);
  }
  std::string RecordFile() const { return folder + "/info.vl"; }
  bool RecordExists() const { return ::access(RecordFile().c_str(), F_OK) == 0; }
  void WriteRecord() {
    const int fd = ::open(RecordFile().c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
  }
  std::string folder;
};

TEST_F(LeaveTest, QuittingWhileConnectedSendsExactlyTheLeavePacket) {
  view::ShowExitForm(ctx);
  Click("frmExit", "pbCloseMe");
  ASSERT_EQ(sock().sendCalls.size(), 1u);
  const auto& p = sock().sendCalls[0];
  ASSERT_EQ(p.size(), kPacketSize);
  for (std::size_t i = 0; i < kPacketSize; ++i) {
    const int expected = i == 3 ? 16 : i == 6 ? 2 : 0;
    EXPECT_EQ(p[i], expected) << "offset " << i;
  }
  EXPECT_FALSE(ctx.Connected());
  EXPECT_FALSE(ctx.ui.form("frmExit").Loaded());
  EXPECT_EQ(ctx.main().State(), platform::WindowState::Minimized);
  EXPECT_TRUE(LobbyRestored());
  EXPECT_FALSE(platform.ended) << "the client waits for the next seat";
  EXPECT_FALSE(ctx.session.ReconnectAllowed);
  EXPECT_FALSE(ctx.TimerBong->Enabled());
  EXPECT_FALSE(ctx.TimerKeepAlive->Enabled());
  platform.Advance(60000);
  EXPECT_TRUE(sock().sendCalls.size() == 1u && !platform.ended) << "idle until the lobby acts";
}

TEST_F(LeaveTest, AnIdleClientEndsWhenItsLobbyGoesAway) {
  view::ShowExitForm(ctx);
  Click("frmExit", "pbCloseMe");
  platform.Advance(10000);
  EXPECT_FALSE(platform.ended);
  platform.simLobby().windows.clear();
  platform.Advance(session::kIdleLobbyWatchMs + 100);
  EXPECT_TRUE(platform.ended);
}

TEST_F(LeaveTest, ExitFormShowsTheRunawayLineOnlyWhilePlayingAsAPlayer) {
  struct Case {
    bool playing, spectator, lineShown;
  };
  for (const Case c : {Case{false, false, false}, Case{true, false, true}, Case{true, true, false}}) {
    ctx.table.Playing = c.playing;
    ctx.startup.Spectator = c.spectator;
    view::ShowExitForm(ctx);
    auto& form = ctx.ui.form("frmExit");
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Find("Label1")->Caption(), "您真的要退出吗？");
    EXPECT_EQ(form.Find("Label2")->Visible(), c.lineShown) << c.playing << c.spectator;
    EXPECT_EQ(form.Find("Label2")->Caption(), "游戏正在进行，逃跑会扣分！");
  }
}

TEST_F(LeaveTest, ExitFormButtonsUseTheDialogPictures) {
  auto& ex = ctx.ui.form("frmExit");
  EXPECT_EQ(ex.Find("pbCloseMe")->Picture(), 130);
  EXPECT_EQ(ex.Find("pbCancel")->Picture(), 132);
  platform::UiEvent move;
  move.type = platform::UiEventType::MouseMove;
  move.control = "pbCancel";
  ex.Dispatch(move);
  EXPECT_EQ(ex.Find("pbCancel")->Picture(), 133);
  move.control = "";
  ex.Dispatch(move);
  EXPECT_EQ(ex.Find("pbCancel")->Picture(), 132);
  auto& other = ctx.ui.form("frmOtherExit");
  EXPECT_EQ(other.Find("imgOK")->Width(), 70);
  EXPECT_EQ(other.Find("imgCancel")->Height(), 30);
}

TEST_F(LeaveTest, CancelLeavesEverythingAsItWas) {
  view::ShowExitForm(ctx);
  Click("frmExit", "pbCancel");
  EXPECT_FALSE(ctx.ui.form("frmExit").Loaded());
  EXPECT_TRUE(ctx.Connected());
  EXPECT_TRUE(sock().sendCalls.empty());
}

TEST_F(LeaveTest, QuittingWithTheLobbyGoneEndsTheProgram) {
  platform.simLobby().windows.clear();
  view::ShowExitForm(ctx);
  Click("frmExit", "pbCloseMe");
  EXPECT_TRUE(platform.ended);
}

TEST_F(LeaveTest, TableClosedShowsTheTextAndHasLeftBeforeTheAnswer) {
  Packet p = Make(cmd::kTableClosed);
  wire::PutGbkText(p, 16, "散桌", 200);  // two two-byte characters, zeros after
  Feed(p);
  Ticks(3);
  auto& other = ctx.ui.form("frmOtherExit");
  EXPECT_TRUE(other.Visible());
  EXPECT_TRUE(other.Topmost());
  EXPECT_EQ(other.Find("Label1")->Caption(), "散桌");
  ASSERT_EQ(sock().sendCalls.size(), 1u) << "the leave is out before the player answers";
  EXPECT_EQ(sock().sendCalls[0][3], 16);
  EXPECT_EQ(sock().sendCalls[0][15], 0);

  Click("frmOtherExit", "imgOK");
  EXPECT_FALSE(other.Loaded());
  EXPECT_FALSE(ctx.Connected());
  EXPECT_TRUE(LobbyRestored());
  EXPECT_FALSE(platform.ended);
}

TEST_F(LeaveTest, TableClosedCancelKeepsTheClosedTable) {
  Feed(Make(cmd::kTableClosed));
  Ticks(3);
  Click("frmOtherExit", "imgCancel");
  EXPECT_FALSE(ctx.ui.form("frmOtherExit").Loaded());
  EXPECT_FALSE(ctx.sched.ConnWatch);
  EXPECT_FALSE(LobbyRestored());
}

TEST_F(LeaveTest, CloseTableDeletesTheRecordFileAndClearsThePlayers) {
  WriteRecord();
  ASSERT_TRUE(RecordExists());
  ctx.players.Detail[2].username = "carol";
  ctx.table.custom[2].name = "carol";
  ctx.session.HandResultWait = true;
  int steps = 0;
  ctx.hooks.closeTableSteps.push_back([&] { ++steps; });
  session::CloseTable(ctx);
  EXPECT_FALSE(RecordExists());
  EXPECT_EQ(ctx.players.Detail[2].username, "");
  EXPECT_EQ(ctx.table.custom[2].name, "");
  EXPECT_EQ(ctx.table.custom[0].seat, 0);
  EXPECT_EQ(ctx.table.custom[0].name, "alice") << "the next table's seat names are matched against it";
  EXPECT_FALSE(ctx.session.HandResultWait);
  EXPECT_FALSE(ctx.session.LoginAwaited);
  EXPECT_TRUE(SysLines(0).empty());
  EXPECT_EQ(steps, 1);
  EXPECT_FALSE(ctx.Connected());
}

TEST_F(LeaveTest, LeaveWaitsLongerAfterAReconnection) {
  for (bool reconnected : {false, true}) {
    ctx.startup.reconnect.Reconnected = reconnected;
    const auto t0 = platform.Now();
    session::LeaveTable(ctx);
    EXPECT_EQ(platform.Now() - t0, reconnected ? 800 : 400);
  }
}

TEST_F(LeaveTest, UnloadingTheMainWindowEndsEverything) {
  view::ShowExitForm(ctx);
  platform::UiEvent e;
  e.type = platform::UiEventType::Unload;
  ctx.main().Dispatch(e);
  EXPECT_TRUE(platform.ended);
  EXPECT_FALSE(ctx.ui.form("frmExit").Loaded());
  EXPECT_FALSE(platform.simLobby().onMessage);
}

}  // namespace
}  // namespace tavrel::testing
