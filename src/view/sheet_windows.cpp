#include "view/sheet_windows.h"

#include <string>

#include "app/client_context.h"
#include "platform/names.h"
#include "scoring/hand_record.h"
#include "view/picture_catalogue.h"

namespace tavrel::view {
namespace {

using platform::Form;
using platform::UiEvent;
using platform::UiEventType;

constexpr int kSeeThroughAlpha = 200;
constexpr const char* kHistoryCaption = "英雄榜";
constexpr const char* kHistoryHint = "点击查看明细";
constexpr const char* kHistoryTotals = "输赢总分：";

// The sheet: four columns of a column list, the final line under it, avatar and name above.
constexpr double kSheetColumnLeft = 16, kSheetColumnStep = 154, kSheetColumnWidth = 148;
constexpr double kSheetAvatarTop = 38, kSheetAvatarWidth = 48, kSheetAvatarHeight = 51;
constexpr double kSheetNameTop = 54, kSheetNameHeight = 20;
constexpr double kSheetListTop = 96, kSheetListHeight = 300;
constexpr double kSheetFinalTop = 402, kSheetFinalHeight = 22;
// The history: the hand numbers, then one column per seat.
constexpr double kHistoryNumLeft = 16, kHistoryNumWidth = 92;
constexpr double kHistoryColumnLeft = 114, kHistoryColumnStep = 108, kHistoryColumnWidth = 102;
constexpr double kHistoryAvatarTop = 34, kHistoryAvatarWidth = 48, kHistoryAvatarHeight = 51;
constexpr double kHistoryNameTop = 90, kHistoryRowHeight = 18;
constexpr double kHistoryListTop = 112, kHistoryListHeight = 220;
constexpr double kHistoryTotalsTop = 342;
constexpr double kCloseInset = 8;

Form& Sheet(ClientContext& ctx) { return ctx.ui.form(frm::Score); }
Form& History(ClientContext& ctx) { return ctx.ui.form(frm::Hero); }

void Backdrop(Form& form, const platform::ControlName& name, int picture, PictureSize size) {
  form.Move(form.Bounds().left, form.Bounds().top, size.width, size.height);
  form.SetFrameless(true);
  platform::Control& back = form.Get(name);
  back.Move(0, 0, size.width, size.height);
  back.SetPicture(picture);
  back.SendToBack();
}

void CloseButton(Form& form, const platform::ControlName& name) {
  platform::Control& close = form.Get(name);
  close.Move(form.Bounds().width - kSheetCloseSize.width - kCloseInset, kCloseInset, kSheetCloseSize.width,
             kSheetCloseSize.height);
  close.SetPicture(kPicSheetClose);
  close.SetMousePointer(platform::kPointerCustomHand);
  close.BringToFront();
  form.On(name, UiEventType::Click, [&form](const UiEvent&) { form.Hide(); });
}

platform::Control& Label(Form& form, const platform::ControlName& name, int index, double left, double top,
                         double width, double height) {
  platform::Control& label = form.Get(name, index);
  label.Move(left, top, width, height);
  label.SetAlignment(2);
  label.BringToFront();
  return label;
}

void BuildSheet(Form& sheet) {
  namespace sc = ctl::Score;
  Backdrop(sheet, sc::Back, kPicSheetBack, kSheetSize);
  for (int s = 0; s < 4; ++s) {
    const double left = kSheetColumnLeft + s * kSheetColumnStep;
    platform::Control& avatar = sheet.Get(sc::Tou, s);
    avatar.Move(left, kSheetAvatarTop, kSheetAvatarWidth, kSheetAvatarHeight);
    avatar.BringToFront();
    platform::Control& name = Label(sheet, sc::ID, s, left + kSheetAvatarWidth + 4, kSheetNameTop,
                                    kSheetColumnWidth - kSheetAvatarWidth - 4, kSheetNameHeight);
    name.SetAlignment(0);
    name.SetFont(10, true);
    platform::Control& column = sheet.Get(sc::State, s);
    column.Move(left, kSheetListTop, kSheetColumnWidth, kSheetListHeight);
    column.SetBackColor(0xE8F4FB);
    platform::Control& final = sheet.Get(sc::State, s + 4);
    final.Move(left, kSheetFinalTop, kSheetColumnWidth, kSheetFinalHeight);
    final.SetBackColor(0xD8ECF8);
    final.SetFont(9, true);
  }
  CloseButton(sheet, sc::Image1);
}

void BuildHistory(Form& hero) {
  namespace h = ctl::Hero;
  hero.SetCaption(kHistoryCaption);
  Backdrop(hero, h::Back, kPicHistoryBack, kHistorySize);
  Label(hero, h::Label1, -1, kHistoryNumLeft, kHistoryNameTop, kHistoryNumWidth, kHistoryRowHeight)
      .SetCaption(kHistoryHint);
  Label(hero, h::Label2, -1, kHistoryNumLeft, kHistoryTotalsTop, kHistoryNumWidth, kHistoryRowHeight)
      .SetCaption(kHistoryTotals);
  platform::Control& num = hero.Get(h::Num);
  num.Move(kHistoryNumLeft, kHistoryListTop, kHistoryNumWidth, kHistoryListHeight);
  num.SetBackColor(0xE8F4FB);
  for (int i = 0; i < 4; ++i) {
    const double left = kHistoryColumnLeft + i * kHistoryColumnStep;
    platform::Control& avatar = hero.Get(h::Tou, i);
    avatar.Move(left + (kHistoryColumnWidth - kHistoryAvatarWidth) / 2, kHistoryAvatarTop, kHistoryAvatarWidth,
                kHistoryAvatarHeight);
    avatar.BringToFront();
    platform::Control& id = Label(hero, h::ID, i, left, kHistoryNameTop, kHistoryColumnWidth, kHistoryRowHeight);
    if (id.Caption().empty()) id.SetCaption("玩家" + std::to_string(i));
    id.SetFont(9, true);
    platform::Control& grade = hero.Get(h::Grade, i);
    grade.Move(left, kHistoryListTop, kHistoryColumnWidth, kHistoryListHeight);
    grade.SetBackColor(0xE8F4FB);
    platform::Control& total = Label(hero, h::sumScore, i, left, kHistoryTotalsTop, kHistoryColumnWidth,
                                     kHistoryRowHeight);
    total.SetFont(9, true);
    total.SetForeColor(platform::kRed);
  }
  CloseButton(hero, h::Image1);
}

// A press on the window, or on one of its labels and pictures, drags it.
void DragFrom(Form& form, const platform::ControlName& name) {
  form.On(name, UiEventType::MouseDown, [&form](const UiEvent& e) {
    if (e.button == platform::kLeftButton) form.BeginSystemMove();
  });
}

void InstallHandlers(ClientContext& ctx) {
  ClientContext* c = &ctx;
  Form& sheet = Sheet(ctx);
  Form& hero = History(ctx);
  for (Form* form : {&sheet, &hero})
    form->On("", UiEventType::MouseDown, [form](const UiEvent& e) {
      if (e.button == platform::kLeftButton) form->BeginSystemMove();
    });
  DragFrom(sheet, ctl::Score::Back);
  for (const auto& name : {ctl::Hero::Back, ctl::Hero::ID, ctl::Hero::Label1, ctl::Hero::Tou}) DragFrom(hero, name);
  // The row is chosen by the press; a window system's list reports it as a click.
  for (const UiEventType type : {UiEventType::MouseDown, UiEventType::Click}) {
    hero.On(ctl::Hero::Num, type, [c](const UiEvent&) { SelectHistoryRow(*c, -1); });
    hero.On(ctl::Hero::Grade, type, [c](const UiEvent& e) { SelectHistoryRow(*c, e.index); });
  }
  for (const auto& name : {ctl::Hero::Num, ctl::Hero::Grade})
    hero.On(name, UiEventType::DblClick, [c](const UiEvent&) { ShowSelectedHand(*c); });
}

}  // namespace

void CreateSheetWindows(ClientContext& ctx) {
  BuildSheet(Sheet(ctx));
  BuildHistory(History(ctx));
  InstallHandlers(ctx);
}

void CentreOverTable(ClientContext& ctx, Form& form) {
  const platform::Rect& main = ctx.main().Bounds();
  const platform::Control& surface = ctx.main().Get(ctl::Pic1);
  const platform::Rect& f = form.Bounds();
  form.Move(main.left + surface.Left() + (surface.Width() - f.width) / 2,
            main.top + surface.Top() + (surface.Height() - f.height) / 2);
}

void LoadSheetWindow(ClientContext& ctx, Form& form) {
  if (form.Loaded()) return;
  form.Load();
  form.SetAlpha(kSeeThroughAlpha);
  CentreOverTable(ctx, form);
  if (form.Name() != frm::Hero) return;
  form.SetState(platform::WindowState::Normal);
  for (int i = 0; i < 4; ++i) {
    platform::Control& grade = form.Get(ctl::Hero::Grade, i);
    if (grade.ListCount() > 0) grade.SetTopIndex(grade.ListCount() - 1);
  }
}

void ShowSheet(ClientContext& ctx) {
  Form& sheet = Sheet(ctx);
  LoadSheetWindow(ctx, sheet);
  if (ctx.main().State() != platform::WindowState::Minimized) sheet.Show();
}

void ToggleResults(ClientContext& ctx) {
  Form& sheet = Sheet(ctx);
  LoadSheetWindow(ctx, sheet);
  sheet.SetTopmost(true);
  if (sheet.Visible()) {
    sheet.Hide();
    return;
  }
  const int hand = ctx.table.HandNo;
  // While a hand is played its sheet does not exist yet: the previous hand's is shown.
  const bool inProgress = ctx.table.Playing && ctx.handEnd.ResultsHandNo != hand;
  scoring::ShowHandRecord(ctx, inProgress ? hand - 1 : hand);
  CentreOverTable(ctx, sheet);
  sheet.Show();
}

void ToggleHistory(ClientContext& ctx) {
  Form& hero = History(ctx);
  LoadSheetWindow(ctx, hero);
  hero.SetTopmost(true);
  const bool show = !hero.Visible();
  if (show) {
    CentreOverTable(ctx, hero);
    hero.Show();
  } else {
    hero.Hide();
  }
  Sheet(ctx).SetTopmost(true);
  // Both stay above the table; the window the player asked for comes in front, or an
  // open sheet, centred on the same place, would hide the history it covers.
  if (show) hero.Raise();
}

void ShowSelectedHand(ClientContext& ctx) {
  const int row = History(ctx).Get(ctl::Hero::Num).ListIndex();
  scoring::ShowHandRecord(ctx, row + 1);
  Form& sheet = Sheet(ctx);
  LoadSheetWindow(ctx, sheet);
  CentreOverTable(ctx, sheet);
  sheet.SetTopmost(true);
  sheet.Show();
  sheet.Raise();
}

void SelectHistoryRow(ClientContext& ctx, int gradeIndex) {
  if (gradeIndex > 3) return;
  Form& hero = History(ctx);
  const int row = gradeIndex < 0 ? hero.Get(ctl::Hero::Num).ListIndex()
                                 : hero.Get(ctl::Hero::Grade, gradeIndex).ListIndex();
  if (gradeIndex >= 0) hero.Get(ctl::Hero::Num).SetListIndex(row);
  for (int i = 0; i < 4; ++i)
    if (i != gradeIndex) hero.Get(ctl::Hero::Grade, i).SetListIndex(row);
}

}  // namespace tavrel::view
