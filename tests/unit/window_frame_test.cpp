#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_prop_plugin.h"
#include "session/leave.h"
#include "session/lobby_ops.h"
#include "session/lobby_protocol.h"
#include "session/system_messages.h"
#include "view/picture_catalogue.h"
#include "view/window_frame.h"
#include "view_test_support.h"

namespace tavrel {
namespace {

using testing::FakePropPlugin;

using platform::UiEvent;
using platform::UiEventType;
using testing_support::LaidOutTable;

void Send(platform::Form& form, UiEventType type, const char* control, int index = -1, int button = 0) {
  UiEvent e;
  e.type = type;
  e.control = control;
  e.index = index;
  e.button = button;
  form.Dispatch(e);
}

TEST(WindowFrame, SizeAndSurfaceFollowTheScreen) {
  const struct {
    int w, h;
    double winW, winH, left, top, picW, picH, scale;
    bool skin;
  } cases[] = {
      {1280, 1024, 1040, 796, 8, 20, 1024, 768, 1.0, true},
      {800, 600, 800, 600, 0, 0, 800, 600, 0.78125, false},
      {1024, 768, 1024, 768, 0, 0, 1024, 768, 1.0, false},
  };
  for (const auto& c : cases) {
    LaidOutTable t(c.w, c.h);
    const auto& form = t.main();
    EXPECT_EQ(form.Bounds().width, c.winW) << c.w;
    EXPECT_EQ(form.Bounds().height, c.winH) << c.w;
    EXPECT_EQ(form.Bounds().left, 0);
    EXPECT_TRUE(form.Frameless());
    const auto& surface = t.control("Pic1");
    EXPECT_EQ(surface.Left(), c.left) << c.w;
    EXPECT_EQ(surface.Top(), c.top) << c.w;
    EXPECT_EQ(surface.Width(), c.picW) << c.w;
    EXPECT_EQ(surface.Height(), c.picH) << c.w;
    EXPECT_EQ(t.ctx->view.LayoutScale, c.scale);
    EXPECT_EQ(form.Find("Skin", 0) != nullptr, c.skin) << c.w;
  }
}

TEST(WindowFrame, SkinPiecesTitleButtonsAndCaption) {
  LaidOutTable t;
  const struct {
    int piece;
    platform::Rect dest, source;
  } cases[] = {
      {0, {0, 0, 8, 20}, {0, 0, 8, 20}},          {1, {8, 0, 1024, 20}, {8, 0, 8, 20}},
      {2, {1032, 0, 8, 20}, {38, 0, 8, 20}},      {3, {0, 20, 8, 768}, {0, 20, 8, 192}},
      {4, {1032, 20, 8, 768}, {38, 20, 8, 192}},  {5, {0, 788, 8, 8}, {0, 212, 8, 8}},
      {6, {8, 788, 1024, 8}, {8, 212, 8, 8}},     {7, {1032, 788, 8, 8}, {38, 212, 8, 8}},
  };
  for (const auto& c : cases) {
    const auto& piece = t.control("Skin", c.piece);
    EXPECT_EQ(piece.Left(), c.dest.left) << c.piece;
    EXPECT_EQ(piece.Top(), c.dest.top) << c.piece;
    EXPECT_EQ(piece.Width(), c.dest.width) << c.piece;
    EXPECT_EQ(piece.Height(), c.dest.height) << c.piece;
    EXPECT_EQ(piece.PictureClip().left, c.source.left) << c.piece;
    EXPECT_EQ(piece.PictureClip().height, c.source.height) << c.piece;
    EXPECT_EQ(piece.Picture(), view::kPicWindowSkin);
    EXPECT_LT(piece.Z(), t.control("Pic1").Z());
  }
  const auto& close = t.control("ImgClose", 0);
  const auto& min = t.control("ImgMin", 0);
  EXPECT_DOUBLE_EQ(close.Left(), 1040 - 22 - 70.0 / 15);
  EXPECT_DOUBLE_EQ(min.Left(), close.Left() - 22 - 2);
  EXPECT_EQ(close.Picture(), view::kPicCloseNormal);
  const auto& strip = t.control("LbMove");
  EXPECT_DOUBLE_EQ(strip.Left(), 290.0 / 15);
  EXPECT_DOUBLE_EQ(strip.Width(), min.Left() - 290.0 / 15);
  EXPECT_EQ(t.control("lcaption").Caption(), "Tavrel麻将");
  EXPECT_EQ(t.control("lcaption").ForeColor(), 0xFFFFFFu);
}

TEST(WindowButtons, HoverPictureTooltipAndBackOnTheTable) {
  const char* tips[9] = {"发送信息，快捷键为回车键", "点击打开聊天窗口", "点击开始新一局游戏",
                         "游戏的基本设置", "最小化窗口，快捷键为F1", "可以查看当前牌局详细结果",
                         "可以查看本次游戏的所有牌局详细结果", "点击这里了解游戏规则", "退出游戏"};
  const int normal[9] = {101, 103, 105, 109, 111, 113, 115, 117, 119};
  LaidOutTable t;
  auto& form = t.main();
  for (int i = 0; i < 9; ++i) {
    Send(form, UiEventType::MouseMove, "AnNiu", i);
    EXPECT_EQ(t.control("AnNiu", i).ToolTip(), tips[i]);
    EXPECT_EQ(t.control("AnNiu", i).Picture(), normal[i] + 1) << i;
    EXPECT_TRUE(t.ctx->view.ButtonHover[i]);
  }
  Send(form, UiEventType::MouseMove, "Pic1");
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(t.control("AnNiu", i).Picture(), normal[i]) << i;
    EXPECT_FALSE(t.ctx->view.ButtonHover[i]);
  }
}

TEST(WindowButtons, StartButtonShowsContinueAfterTheFirstHand) {
  LaidOutTable t;
  EXPECT_EQ(view::ButtonPicture(*t.ctx, 2, false), 105);
  t.ctx->table.HandNo = 1;
  EXPECT_EQ(view::ButtonPicture(*t.ctx, 2, true), 108);
  t.ctx->table.HandNo = 0;
  t.ctx->view.StartPictureMode = false;
  EXPECT_EQ(view::ButtonPicture(*t.ctx, 2, false), 107);

  LaidOutTable small(800, 600);
  EXPECT_EQ(view::ButtonPicture(*small.ctx, 2, false), 383);
  EXPECT_EQ(view::ButtonPicture(*small.ctx, 0, true), 102);
}

TEST(WindowButtons, StartButtonActiveClearsThePressedMark) {
  LaidOutTable t;
  t.control("AnNiu", 2).SetEnabled(false);
  view::StartButtonActive(*t.ctx);
  EXPECT_FALSE(t.ctx->view.HandStarted[2]);
  EXPECT_TRUE(t.control("AnNiu", 2).Enabled());
  EXPECT_EQ(t.control("AnNiu", 2).Picture(), 105);
}

TEST(WindowButtons, FreshLoginIdlesTheStartButtonAndTheShutdownFreesIt) {
  LaidOutTable t;
  view::StartButtonActive(*t.ctx);
  session::FreshLogin(*t.ctx);
  EXPECT_TRUE(t.ctx->view.HandStarted[2]) << "a click does nothing until the table is formed";

  t.control("lbwealth").SetCaption("20");
  t.control("lbwealth").SetVisible(true);
  t.control("Imgwealth").SetVisible(true);
  t.ctx->view.StartPictureMode = false;
  session::CloseTable(*t.ctx);
  EXPECT_FALSE(t.ctx->view.HandStarted[2]);
  EXPECT_TRUE(t.ctx->view.StartPictureMode);
  EXPECT_EQ(t.control("AnNiu", 2).Picture(), 105) << "开始 again";
  EXPECT_EQ(t.control("lbwealth").Caption(), "1");
  EXPECT_FALSE(t.control("lbwealth").Visible());
  EXPECT_FALSE(t.control("Imgwealth").Visible());
}

TEST(WindowButtons, QuitTogglesTheExitWindowCentredOverTheTable) {
  for (bool playing : {false, true}) {
    LaidOutTable t;
    auto& exit = t.ctx->ui.form("frmExit");
    exit.Move(0, 0, 300, 160);
    t.ctx->table.Playing = playing;
    FakePropPlugin plugin;
    plugin.Activate(*t.ctx);

    Send(t.main(), UiEventType::Click, "AnNiu", 8);
    EXPECT_TRUE(exit.Visible());
    EXPECT_TRUE(exit.Topmost());
    EXPECT_EQ(exit.Bounds().left, (1040 - 300) / 2);
    EXPECT_EQ(exit.Bounds().top, (796 - 160) / 2);
    EXPECT_EQ(exit.Find("Label2")->Visible(), playing);
    Send(t.main(), UiEventType::Click, "ImgClose", 0);
    EXPECT_FALSE(exit.Visible());
    EXPECT_EQ(plugin.bankStates, (std::vector<int>{2, 2}));
  }
}

TEST(WindowButtons, TheBankOpensThePluginsBankOrSaysWhyNot) {
  for (bool withProps : {false, true}) {
    SCOPED_TRACE(withProps);
    LaidOutTable t;
    FakePropPlugin plugin;
    if (withProps) plugin.Activate(*t.ctx);
    const auto& said = session::SysList(*t.ctx, 0).Items();
    const std::size_t before = said.size();
    Send(t.main(), UiEventType::Click, "Bank");
    EXPECT_EQ(plugin.bankStates, withProps ? std::vector<int>{0} : std::vector<int>{});
    ASSERT_EQ(said.size(), before + (withProps ? 0 : 1));
    if (!withProps) {
      EXPECT_EQ(said.back(), view::kBankUnavailable);
    }
  }
}

TEST(WindowButtons, SpectatorsAreNotWarnedAboutLeavingAHand) {
  LaidOutTable t;
  t.ctx->table.Playing = true;
  t.ctx->startup.Spectator = true;
  view::AnNiuClick(*t.ctx, 8);
  EXPECT_FALSE(t.ctx->ui.form("frmExit").Find("Label2")->Visible());
}

TEST(WindowButtons, HideMinimisesAndClosesThePopUps) {
  LaidOutTable t;
  for (const char* name : {"Hero", "Score", "Talk", "VosSet", "huifu"}) t.ctx->ui.form(name).Show();
  FakePropPlugin plugin;
  view::AnNiuClick(*t.ctx, 4);
  EXPECT_EQ(t.main().State(), platform::WindowState::Minimized);
  for (const char* name : {"Hero", "Score", "Talk", "VosSet", "huifu"}) EXPECT_FALSE(t.ctx->ui.form(name).Visible());
  EXPECT_TRUE(plugin.keys.empty()) << "no plug-in, nothing forwarded";
  EXPECT_FALSE(t.ctx->view.BossKeyActive);

  plugin.Activate(*t.ctx);
  Send(t.main(), UiEventType::Click, "ImgMin", 0);
  EXPECT_EQ(plugin.keys, (std::vector<int>{112}));
  EXPECT_EQ(t.main().State(), platform::WindowState::Minimized);
}

TEST(WindowButtons, RulesPageAndLaterWindowsHooks) {
  LaidOutTable t;
  view::AnNiuClick(*t.ctx, 7);
  ASSERT_EQ(t.platform.openedUrls.size(), 1u);
  EXPECT_NE(t.platform.openedUrls[0].find("/down/gameinfo_ins.php?name=tavrel"), std::string::npos);
  // Buttons whose windows belong to other parts do nothing until those parts set them.
  for (int i : {0, 1, 2, 3, 5, 6}) view::AnNiuClick(*t.ctx, i);
  std::vector<int> clicked;
  auto& a = t.ctx->view.actions;
  a.sendChat = [&] { clicked.push_back(0); };
  a.toggleChat = [&] { clicked.push_back(1); };
  a.startOrContinue = [&] { clicked.push_back(2); };
  a.toggleSettings = [&] { clicked.push_back(3); };
  a.toggleResults = [&] { clicked.push_back(5); };
  a.toggleHistory = [&] { clicked.push_back(6); };
  for (int i : {0, 1, 2, 3, 5, 6}) Send(t.main(), UiEventType::Click, "AnNiu", i);
  EXPECT_EQ(clicked, (std::vector<int>{0, 1, 2, 3, 5, 6}));
}

TEST(TitleStrip, CloseButtonPicturesFollowThePointer) {
  LaidOutTable t;
  auto& form = t.main();
  auto& close = t.control("ImgClose", 0);
  Send(form, UiEventType::MouseMove, "ImgClose", 0);
  EXPECT_EQ(close.Picture(), view::kPicCloseHover);
  EXPECT_FALSE(t.ctx->view.TitleButtonsNormal);
  Send(form, UiEventType::MouseDown, "ImgClose", 0, platform::kLeftButton);
  EXPECT_EQ(close.Picture(), view::kPicClosePressed);
  Send(form, UiEventType::MouseUp, "ImgClose", 0, platform::kLeftButton);
  EXPECT_EQ(close.Picture(), view::kPicCloseHover);
  // While one title button is lit the other stays normal.
  Send(form, UiEventType::MouseMove, "ImgMin", 0);
  EXPECT_EQ(t.control("ImgMin", 0).Picture(), view::kPicMinimiseNormal);
  Send(form, UiEventType::MouseMove, "");
  EXPECT_EQ(close.Picture(), view::kPicCloseNormal);
  EXPECT_TRUE(t.ctx->view.TitleButtonsNormal);
}

TEST(TitleStrip, DraggingClosesThePopUpsAndAsksForASystemMove) {
  LaidOutTable t;
  t.ctx->ui.form("Talk").Show();
  t.ctx->ui.form("Score").Show();
  const auto moves = t.main().SystemMoveRequests();
  Send(t.main(), UiEventType::MouseDown, "LbMove", -1, platform::kRightButton);
  EXPECT_EQ(t.main().SystemMoveRequests(), moves);
  Send(t.main(), UiEventType::MouseDown, "LbMove", -1, platform::kLeftButton);
  EXPECT_EQ(t.main().SystemMoveRequests(), moves + 1);
  EXPECT_FALSE(t.ctx->ui.form("Talk").Visible());
  EXPECT_FALSE(t.ctx->ui.form("Score").Visible());
  EXPECT_EQ(t.control("LbMove").MousePointer(), platform::kPointerSizeAll);
  Send(t.main(), UiEventType::MouseMove, "LbMove");
  EXPECT_EQ(t.control("LbMove").MousePointer(), platform::kPointerArrow);
}

TEST(FormResize, RestoreBringsTheWindowUpAndHidesTheLobby) {
  for (bool lobby : {true, false}) {
    LaidOutTable t;
    if (lobby) t.platform.simLobby().windows.insert(t.ctx->startup.LobbyCaption);
    t.ctx->view.BossKeyActive = true;
    FakePropPlugin plugin;
    plugin.Activate(*t.ctx);
    const auto raises = t.main().RaiseRequests();
    Send(t.main(), UiEventType::Resize, "");
    EXPECT_EQ(plugin.Count("FixBuffPos"), 1) << "the plug-in places its windows again";
    EXPECT_FALSE(t.ctx->view.BossKeyActive);
    EXPECT_EQ(t.main().RaiseRequests(), raises + 1);
    EXPECT_EQ(t.main().FocusControl(), "Chat");
    EXPECT_EQ(t.platform.simLobby().sysCommands.size(), lobby ? 1u : 0u);
    EXPECT_FALSE(t.platform.ended) << "restoring without a lobby must not end the client";
  }
}

TEST(FormResize, MinimisedOnlyClosesTheCameraWindows) {
  LaidOutTable t;
  int minimised = 0;
  t.ctx->view.actions.minimised = [&] { ++minimised; };
  FakePropPlugin plugin;
  plugin.Activate(*t.ctx);
  t.main().SetState(platform::WindowState::Minimized);
  Send(t.main(), UiEventType::Resize, "");
  EXPECT_EQ(minimised, 1);
  EXPECT_EQ(plugin.Count("FixBuffPos"), 0);
}

TEST(MultiplierTips, ShownOnlyWhileTheMultiplierApplies) {
  LaidOutTable t;
  t.control("lblDifen").SetCaption("7");
  Send(t.main(), UiEventType::MouseMove, "imgBeishu");
  EXPECT_EQ(t.control("imgBeishu").ToolTip(), "");
  t.ctx->view.diceDoubling = [] { return true; };
  Send(t.main(), UiEventType::MouseMove, "lblDifen");
  EXPECT_EQ(t.control("imgBeishu").ToolTip(), "骰子加倍 ×7");
  EXPECT_EQ(t.control("lblDifen").ToolTip(), "骰子加倍 ×7");
  t.ctx->view.wealthDoubling = [] { return true; };
  t.control("lbwealth").SetCaption("2");
  Send(t.main(), UiEventType::MouseMove, "Imgwealth");
  EXPECT_EQ(t.control("lbwealth").ToolTip(), "财富加倍 ×2");
}

}  // namespace
}  // namespace tavrel
