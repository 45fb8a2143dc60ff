#include "view/window_frame.h"

#include "app/client_context.h"
#include "props/props.h"
#include "platform/names.h"
#include "session/lobby_ops.h"
#include "session/system_messages.h"
#include "view/decision_clock.h"
#include "view/exit_forms.h"
#include "view/layout.h"
#include "view/picture_catalogue.h"
#include "view/pictures.h"

namespace tavrel::view {

using platform::Control;
using platform::ControlKind;
using platform::Form;
using platform::UiEvent;
using platform::UiEventType;

namespace {

constexpr double kTwip = 1.0 / 15;  // the frame is designed in twips
constexpr int kFramedWidth = 1040, kFramedHeight = 796;
constexpr int kFrameBorder = 8, kTitleStrip = 20;

constexpr const char* kButtonTips[9] = {
    "发送信息，快捷键为回车键", "点击打开聊天窗口", "点击开始新一局游戏",
    "游戏的基本设置", "最小化窗口，快捷键为F1", "可以查看当前牌局详细结果",
    "可以查看本次游戏的所有牌局详细结果", "点击这里了解游戏规则", "退出游戏"};

void HideForms(ClientContext& ctx, std::initializer_list<const char*> names) {
  for (const char* name : names)
    if (Form* f = ctx.ui.Find(name)) f->Hide();
}

void Run(const std::function<void()>& action) {
  if (action) action();
}

Control& Frame(ClientContext& ctx, const platform::ControlName& name, int index = -1) {
  return ctx.main().Get(name, index);
}

// Title buttons: element 0 shows one of elements 1 (normal), 2 (hover), 3 (pressed).
void ShowTitleButton(ClientContext& ctx, const platform::ControlName& name, int element) {
  Control& shown = Frame(ctx, name, 0);
  shown.SetPicture(Frame(ctx, name, element).Picture());
}

void TitleButtonsToNormal(ClientContext& ctx) {
  if (ctx.view.TitleButtonsNormal) return;
  ShowTitleButton(ctx, ctl::ImgClose, 1);
  ShowTitleButton(ctx, ctl::ImgMin, 1);
  ctx.view.TitleButtonsNormal = true;
}

void ToggleExitWindow(ClientContext& ctx) {
  props::SetBankState(ctx, 2);
  Form& exit = ctx.ui.form(frm::frmExit);
  if (exit.Visible()) {
    exit.Hide();
    return;
  }
  ShowExitForm(ctx);
  exit.Raise();
}

void HideWindow(ClientContext& ctx) {
  ctx.main().SetState(platform::WindowState::Minimized);
  HideForms(ctx, {frm::Hero, frm::Score, frm::Talk, frm::VosSet, frm::huifu});
  // As F1 on the window, for the plug-in only: the boss key itself stays off.
  props::ForwardKey(ctx, 112);
}

void MultiplierTip(ClientContext& ctx, const std::function<bool()>& active, const platform::ControlName& picture,
                   const platform::ControlName& label, const char* text) {
  if (!active || !active()) return;
  Form& form = ctx.main();
  const std::string tip = std::string(text) + form.Get(label).Caption();
  form.Get(picture).SetToolTip(tip);
  form.Get(label).SetToolTip(tip);
}

// On a screen between the two designs the surface is larger than the felt: the felt gets
// the frame's wooden edge along its right and bottom, as the large design has it, and the
// room beyond stays in the surface's shadow colour. The pieces let the pointer through.
void EdgeTheFelt(ClientContext& ctx, const Control& surface) {
  const double s = ctx.view.LayoutScale, w = 1024 * s, h = 768 * s;
  const double b = kSkinBorder, t = kSkinTitleHeight, rx = kSkinRightPieceX, by = kSkinBottomPieceY;
  const bool right = surface.Width() > w, below = surface.Height() > h;
  struct Piece {
    bool shown;
    platform::Rect dest, source;
  };
  const Piece pieces[3] = {
      {right, {w, 0, b, h}, {rx, t, b, by - t}},
      {below, {0, h, w, b}, {b, by, b, b}},
      {right && below, {w, h, b, b}, {rx, by, b, b}},
  };
  for (int i = 0; i < 3; ++i) {
    if (!pieces[i].shown && !ctx.main().Find(ctl::FeltEdge, i)) continue;
    Control& piece = OnTable(ctx, ctl::FeltEdge, i);
    piece.Move(pieces[i].dest.left, pieces[i].dest.top, pieces[i].dest.width, pieces[i].dest.height);
    piece.SetPictureClip(pieces[i].source);
    LoadResourcePicture(ctx, kPicWindowSkin, piece);
    piece.SetEnabled(false);
    piece.SetVisible(pieces[i].shown);
  }
}

}  // namespace

void ApplyWindowFrame(ClientContext& ctx) {
  const platform::ScreenSize screen = ctx.platform.Screen();
  Form& form = ctx.main();
  form.SetFrameless(true);
  if (form.Caption().empty()) form.SetCaption(kWindowTitle);
  const bool tall = screen.height > 768, wide = screen.width > 1024;
  const double height = tall ? kFramedHeight : screen.height;
  const double width = wide ? kFramedWidth : screen.width;
  form.Move(0, 0, width, height);
  Control& surface = form.Get(ctl::Pic1);
  surface.Move(wide ? kFrameBorder : 0, tall ? kTitleStrip : 0,
               wide ? width - 2 * kFrameBorder : width, tall ? height - kTitleStrip - kFrameBorder : height);
  EdgeTheFelt(ctx, surface);
  if (tall || wide) DrawSkin(ctx);
}

void DrawSkin(ClientContext& ctx) {
  Form& form = ctx.main();
  const double W = form.Bounds().width, H = form.Bounds().height;
  const double b = kSkinBorder, t = kSkinTitleHeight, rx = kSkinRightPieceX, by = kSkinBottomPieceY;
  const double sideHeight = by - t;
  struct Piece {
    platform::Rect dest, source;
  };
  const Piece pieces[8] = {
      {{0, 0, b, t}, {0, 0, b, t}},
      {{b, 0, W - 2 * b, t}, {b, 0, b, t}},
      {{W - b, 0, b, t}, {rx, 0, b, t}},
      {{0, t, b, H - t - b}, {0, t, b, sideHeight}},
      {{W - b, t, b, H - t - b}, {rx, t, b, sideHeight}},
      {{0, H - b, b, b}, {0, by, b, b}},
      {{b, H - b, W - 2 * b, b}, {b, by, b, b}},
      {{W - b, H - b, b, b}, {rx, by, b, b}},
  };
  for (int i = 0; i < 8; ++i) {
    Control& piece = Frame(ctx, ctl::Skin, i);
    piece.Move(pieces[i].dest.left, pieces[i].dest.top, pieces[i].dest.width, pieces[i].dest.height);
    piece.SetPictureClip(pieces[i].source);
    LoadResourcePicture(ctx, kPicWindowSkin, piece);
    piece.SetVisible(true);
    piece.SendToBack();
    // Painted on the window, not a control of its own: the pointer goes through to the window.
    piece.SetEnabled(false);
  }
  Control& icon = Frame(ctx, ctl::ImgIcon);
  icon.Move(50 * kTwip, 50 * kTwip, 240 * kTwip, 240 * kTwip);
  LoadResourcePicture(ctx, kPicWindowIcon, icon);
  icon.SetEnabled(false);

  constexpr int kClose[3] = {kPicCloseNormal, kPicCloseHover, kPicClosePressed};
  constexpr int kMin[3] = {kPicMinimiseNormal, kPicMinimiseHover, kPicMinimisePressed};
  for (int e = 1; e <= 3; ++e) {
    Control& c = Frame(ctx, ctl::ImgClose, e);
    LoadResourcePicture(ctx, kClose[e - 1], c);
    c.SetVisible(false);
    Control& m = Frame(ctx, ctl::ImgMin, e);
    LoadResourcePicture(ctx, kMin[e - 1], m);
    m.SetVisible(false);
  }
  Control& close = Frame(ctx, ctl::ImgClose, 0);
  Control& min = Frame(ctx, ctl::ImgMin, 0);
  close.SetSize(kTitleButtonSize.width, kTitleButtonSize.height);
  min.SetSize(kTitleButtonSize.width, kTitleButtonSize.height);
  close.Move(W - close.Width() - 70 * kTwip, 25 * kTwip);
  ShowTitleButton(ctx, ctl::ImgClose, 1);
  close.BringToFront();
  min.Move(close.Left() - min.Width() - 30 * kTwip, 25 * kTwip);
  ShowTitleButton(ctx, ctl::ImgMin, 1);
  min.BringToFront();
  ctx.view.TitleButtonsNormal = true;

  Control& strip = Frame(ctx, ctl::LbMove);
  strip.Move(290 * kTwip, 0, min.Left() - 290 * kTwip, close.Height() + 50 * kTwip);
  Control& caption = Frame(ctx, ctl::lcaption);
  caption.Move(300 * kTwip, 25 * kTwip, 200, 16);
  caption.SetForeColor(platform::kWhite);
  caption.SetCaption(kWindowTitle);
  // The strip lies over the caption so that the whole title drags.
  strip.BringToFront();
}

int ButtonPicture(const ClientContext& ctx, int i, bool hover) {
  int entry = i < 2 ? 2 * i : 2 * i + 2;
  if (i == 2) entry = ctx.table.HandNo < 1 && ctx.view.StartPictureMode ? 4 : 6;
  return ctx.view.ButtonPictures[entry + (hover ? 1 : 0)];
}

void AnNiuMouseMove(ClientContext& ctx, int i) {
  if (i < 0 || i > 8) return;
  Control& button = ctx.main().Get(ctl::AnNiu, i);
  if (!ctx.view.ButtonHover[i]) {
    ctx.view.ButtonHover[i] = true;
    LoadResourcePicture(ctx, ButtonPicture(ctx, i, true), button);
  }
  button.SetToolTip(kButtonTips[i]);
}

void ClearButtonHover(ClientContext& ctx) {
  for (int i = 0; i <= 8; ++i) {
    if (!ctx.view.ButtonHover[i]) continue;
    ctx.view.ButtonHover[i] = false;
    LoadResourcePicture(ctx, ButtonPicture(ctx, i, false), ctx.main().Get(ctl::AnNiu, i));
  }
}

void AnNiuClick(ClientContext& ctx, int i) {
  const WindowButtonActions& a = ctx.view.actions;
  switch (i) {
    case 0: Run(a.sendChat); break;
    case 1: Run(a.toggleChat); break;
    case 2: Run(a.startOrContinue); break;
    case 3: Run(a.toggleSettings); break;
    case 4: HideWindow(ctx); break;
    case 5: Run(a.toggleResults); break;
    case 6: Run(a.toggleHistory); break;
    case 7: ctx.platform.OpenUrl(kRulesPage); break;
    case 8: ToggleExitWindow(ctx); break;
    default: break;
  }
}

void FormResize(ClientContext& ctx) {
  Form& form = ctx.main();
  if (form.State() == platform::WindowState::Minimized) {
    Run(ctx.view.actions.minimised);
    return;
  }
  form.Raise();
  const bool bossKeyWasActive = ctx.view.BossKeyActive;
  ctx.view.BossKeyActive = false;
  if (form.Find(ctl::Chat)) form.SetFocus(ctl::Chat.name);
  // Restoring must not end the program when the lobby is gone: only minimise one that exists.
  if (session::LobbyExists(ctx)) session::MinimizeLobby(ctx);
  DecisionClockRestored(ctx, bossKeyWasActive);
  props::WindowRestored(ctx);
}

void StartButtonActive(ClientContext& ctx) {
  ctx.view.HandStarted[2] = false;
  for (int i = 0; i <= 2; ++i) {
    Control& button = ctx.main().Get(ctl::AnNiu, i);
    button.SetEnabled(true);
    ctx.view.ButtonHover[i] = false;
    LoadResourcePicture(ctx, ButtonPicture(ctx, i, false), button);
  }
}

static void StartButtonPicture(ClientContext& ctx, bool clickStarts) {
  ctx.view.HandStarted[2] = !clickStarts;
  ctx.view.ButtonHover[2] = false;
  LoadResourcePicture(ctx, ButtonPicture(ctx, 2, false), ctx.main().Get(ctl::AnNiu, 2));
}

void StartButtonUsable(ClientContext& ctx) { StartButtonPicture(ctx, true); }

void StartButtonInHand(ClientContext& ctx) {
  // Also when the server dealt without waiting for a press: the hand is under way.
  ctx.view.HandStarted[2] = true;
  LoadResourcePicture(ctx, ButtonPicture(ctx, 2, ctx.view.ButtonHover[2]), ctx.main().Get(ctl::AnNiu, 2));
}
void StartButtonIdle(ClientContext& ctx) { StartButtonPicture(ctx, false); }

void ResetWealthDisplay(ClientContext& ctx) {
  Form& form = ctx.main();
  if (Control* label = form.Find(ctl::lbwealth)) {
    label->SetCaption("1");
    label->SetVisible(false);
  }
  if (Control* picture = form.Find(ctl::Imgwealth)) picture->SetVisible(false);
}

void InstallWindowFrameHandlers(ClientContext& ctx) {
  Form& form = ctx.main();
  ClientContext* c = &ctx;
  form.On(ctl::AnNiu, UiEventType::Click, [c](const UiEvent& e) { AnNiuClick(*c, e.index); });
  form.On(ctl::AnNiu, UiEventType::MouseMove, [c](const UiEvent& e) { AnNiuMouseMove(*c, e.index); });
  form.On(ctl::Pic1, UiEventType::MouseMove, [c](const UiEvent&) {
    ClearButtonHover(*c);
    // The pointer can leave a title button straight onto the table, past the thin frame.
    TitleButtonsToNormal(*c);
    if (Form* card = c->ui.Find(frm::Information)) card->Hide();
  });

  form.On(ctl::LbMove, UiEventType::MouseDown, [c](const UiEvent& e) {
    if (e.button != platform::kLeftButton) return;
    HideForms(*c, {frm::Talk, frm::huifu, frm::Score, frm::Hero, frm::VosSet});
    Form& main = c->main();
    main.Get(ctl::LbMove).SetMousePointer(platform::kPointerSizeAll);
    main.BeginSystemMove();
  });
  form.On(ctl::LbMove, UiEventType::MouseMove, [c](const UiEvent&) {
    c->main().Get(ctl::LbMove).SetMousePointer(platform::kPointerArrow);
    TitleButtonsToNormal(*c);
  });
  form.On("", UiEventType::MouseMove, [c](const UiEvent&) { TitleButtonsToNormal(*c); });

  for (const platform::ControlName& name : {ctl::ImgClose, ctl::ImgMin}) {
    form.On(name, UiEventType::MouseMove, [c, name](const UiEvent& e) {
      if (e.index != 0 || !c->view.TitleButtonsNormal) return;
      ShowTitleButton(*c, name, 2);
      c->view.TitleButtonsNormal = false;
    });
    form.On(name, UiEventType::MouseDown, [c, name](const UiEvent& e) {
      if (e.index == 0) ShowTitleButton(*c, name, 3);
    });
    form.On(name, UiEventType::MouseUp, [c, name](const UiEvent& e) {
      if (e.index == 0) ShowTitleButton(*c, name, 2);
    });
  }
  form.On(ctl::ImgClose, UiEventType::Click, [c](const UiEvent& e) {
    if (e.index == 0) AnNiuClick(*c, 8);
  });
  form.On(ctl::ImgMin, UiEventType::Click, [c](const UiEvent& e) {
    if (e.index != 0) return;
    AnNiuClick(*c, 4);
    c->main().SetState(platform::WindowState::Minimized);
  });

  form.On(ctl::Bank, UiEventType::Click, [c](const UiEvent&) {
    if (c->props.Active()) {
      props::SetBankState(*c, 0);
      return;
    }
    // The bank is the prop plug-in's: at a table without it, the player is told why nothing opens.
    session::ShowLine(*c, 0, kBankUnavailable);
  });
  for (const auto& name : {ctl::imgBeishu, ctl::lblDifen})
    form.On(name, UiEventType::MouseMove, [c](const UiEvent&) {
      MultiplierTip(*c, c->view.diceDoubling, ctl::imgBeishu, ctl::lblDifen, "骰子加倍 ×");
    });
  for (const auto& name : {ctl::Imgwealth, ctl::lbwealth})
    form.On(name, UiEventType::MouseMove, [c](const UiEvent&) {
      MultiplierTip(*c, c->view.wealthDoubling, ctl::Imgwealth, ctl::lbwealth, "财富加倍 ×");
    });
  form.On("", UiEventType::Resize, [c](const UiEvent&) { FormResize(*c); });
}

}  // namespace tavrel::view
