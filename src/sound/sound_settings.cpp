#include "sound/sound_settings.h"

#include <array>

#include "app/client_context.h"
#include "props/props.h"
#include "platform/names.h"
#include "sound/sound.h"
#include "view/picture_catalogue.h"

namespace tavrel::sound {
namespace {

using platform::UiEvent;
using platform::UiEventType;

// Entries of the dialog-button pictures (130 + entry).
constexpr int kOkNormal = 0, kOkHover = 1, kCancelNormal = 2, kCancelHover = 3;
constexpr int kSwitchOff = 4, kSwitchOn = 5, kCommonVoices = 6, kLocalVoices = 7;

constexpr double kWidth = 250, kHeight = 226;
constexpr double kTitleTop = 10, kFirstRowTop = 42, kRowStep = 34;
constexpr double kCaptionLeft = 22, kCaptionWidth = 110, kSwitchLeft = 150;
constexpr double kButtonsTop = kFirstRowTop + kSwitchCount * kRowStep + 8;
constexpr double kOkLeft = 36, kCancelLeft = 138;
constexpr int kAlpha = 200;

platform::Form& Window(ClientContext& ctx) { return ctx.ui.form(frm::VosSet); }

int DialogPicture(const ClientContext& ctx, int entry) {
  const int id = ctx.view.DialogButtonPictures[entry];
  return id != 0 ? id : view::kPicDialogButtonFirst + entry;
}

// Switches 0..2 are toggles; undoing one is pressing it again.
void Toggle(ClientContext& ctx, int i) {
  SoundState& s = ctx.sound;
  switch (i) {
    case kSwitchBackground:
      s.LoopOn = !s.LoopOn;
      if (s.LoopOn)
        StartTableLoop(ctx);
      else
        StopShared(ctx);
      break;
    case kSwitchPhraseVoices: s.PhraseVoicesOn = !s.PhraseVoicesOn; break;
    case kSwitchEffects:
      s.SoundOn = !s.SoundOn;
      props::TellEffectsSwitch(ctx, s.SoundOn);
      break;
    default: break;
  }
}

// Positions 0..3 speak their drawn voice codes again (men's codes may have been
// replaced meanwhile by the details of the packet).
void RestoreMaleVoiceCodes(ClientContext& ctx) {
  for (int p = 0; p < 4; ++p) {
    scoring::Detail& d = ctx.players.Detail[p];
    if (d.Gender != 0 && !ctx.sound.AssignedVoiceCode[p].empty()) d.VoiceStyle = ctx.sound.AssignedVoiceCode[p];
  }
}

void PictureButton(ClientContext& ctx, const platform::ControlName& name, int index, int normal, int hover,
                   double left, double top) {
  platform::Form& form = Window(ctx);
  platform::Control& b = form.Get(name, index);
  b.Move(left, top, view::kDialogButtonSize.width, view::kDialogButtonSize.height);
  b.SetMousePointer(platform::kPointerCustomHand);
  if (normal < 0) return;
  ClientContext* c = &ctx;
  form.On(name, UiEventType::MouseMove, [c, &b, index, hover](const UiEvent& e) {
    if (e.index == index) b.SetPicture(DialogPicture(*c, hover));
  });
  form.On("", UiEventType::MouseMove, [c, &b, normal](const UiEvent&) { b.SetPicture(DialogPicture(*c, normal)); });
}

}  // namespace

int SwitchPicture(const ClientContext& ctx, int i) {
  const SoundState& s = ctx.sound;
  switch (i) {
    case kSwitchBackground: return DialogPicture(ctx, s.LoopOn ? kSwitchOn : kSwitchOff);
    case kSwitchPhraseVoices: return DialogPicture(ctx, s.PhraseVoicesOn ? kSwitchOn : kSwitchOff);
    case kSwitchEffects: return DialogPicture(ctx, s.SoundOn ? kSwitchOn : kSwitchOff);
    case kSwitchCollection: return DialogPicture(ctx, CommonCollectionSelected(ctx) ? kCommonVoices : kLocalVoices);
    default: return 0;
  }
}

void ShowSwitchPictures(ClientContext& ctx) {
  platform::Form& form = Window(ctx);
  for (int i = 0; i < kSwitchCount; ++i) form.Get(ctl::VosSet::Command2, i).SetPicture(SwitchPicture(ctx, i));
}

void CreateVosSet(ClientContext& ctx) {
  namespace vs = ctl::VosSet;
  platform::Form& form = Window(ctx);
  form.Move(0, 0, kWidth, kHeight);
  form.SetFrameless(true);
  form.SetTopmost(true);
  form.SetAlpha(kAlpha);
  // Clicking a switch leaves the keyboard with the table (the chat line).
  form.SetShowsWithoutFocus(true);
  platform::Control& title = form.Get(vs::lblTitle);
  title.Move(0, kTitleTop, kWidth, 22);
  title.SetCaption(kSettingsTitle);
  title.SetAlignment(2);
  title.SetFont(10.5, true);
  for (int i = 0; i < kSwitchCount; ++i) {
    const double top = kFirstRowTop + i * kRowStep;
    platform::Control& caption = form.Get(vs::Label1, i);
    caption.Move(kCaptionLeft, top + 5, kCaptionWidth, 20);
    caption.SetCaption(kSwitchCaptions[i]);
    PictureButton(ctx, vs::Command2, i, -1, -1, kSwitchLeft, top);
  }
  PictureButton(ctx, vs::Command1, 0, kOkNormal, kOkHover, kOkLeft, kButtonsTop);
  PictureButton(ctx, vs::Command1, 1, kCancelNormal, kCancelHover, kCancelLeft, kButtonsTop);
  form.Get(vs::Command1, 0).SetPicture(DialogPicture(ctx, kOkNormal));
  form.Get(vs::Command1, 1).SetPicture(DialogPicture(ctx, kCancelNormal));
  ShowSwitchPictures(ctx);

  ClientContext* c = &ctx;
  form.On(vs::Command2, UiEventType::Click, [c](const UiEvent& e) { PressSwitch(*c, e.index); });
  form.On(vs::Command1, UiEventType::Click, [c](const UiEvent& e) {
    if (e.index == 0) CloseVosSet(*c);
    if (e.index == 1) CancelVosSet(*c);
  });
}

void ToggleVosSet(ClientContext& ctx) {
  platform::Form& form = Window(ctx);
  if (form.Visible()) {
    form.Hide();
    return;
  }
  // Above the table's bottom right corner: right edge 0.1, bottom 0.35 of the window's
  // own size inside the table surface.
  const platform::Rect& main = ctx.main().Bounds();
  const platform::Control& surface = ctx.main().Get(ctl::Pic1);
  const double w = form.Bounds().width, h = form.Bounds().height;
  form.Move(main.left + surface.Left() + surface.Width() - 1.1 * w,
            main.top + surface.Top() + surface.Height() - 1.35 * h);
  ctx.sound.PressedSwitches.clear();
  ctx.sound.OpenedWithCommonCollection = CommonCollectionSelected(ctx);
  form.Get(ctl::VosSet::Command1, 0).SetPicture(DialogPicture(ctx, kOkNormal));
  form.Get(ctl::VosSet::Command1, 1).SetPicture(DialogPicture(ctx, kCancelNormal));
  ShowSwitchPictures(ctx);
  form.Show();
  form.Raise();
}

void PressSwitch(ClientContext& ctx, int i) {
  if (i < 0 || i >= kSwitchCount) return;
  ctx.sound.PressedSwitches.push_back(i);
  if (i == kSwitchCollection)
    SelectVoiceCollection(ctx, !CommonCollectionSelected(ctx));
  else
    Toggle(ctx, i);
  ShowSwitchPictures(ctx);
}

void CloseVosSet(ClientContext& ctx) {
  Window(ctx).Hide();
  ctx.sound.PressedSwitches.clear();
}

void CancelVosSet(ClientContext& ctx) {
  Window(ctx).Hide();
  std::array<int, kSwitchCount> presses{};
  for (int i : ctx.sound.PressedSwitches) ++presses[i];
  ctx.sound.PressedSwitches.clear();
  // A switch pressed twice is where it was; one pressed an odd number of times goes back.
  for (int i = 0; i < kSwitchCollection; ++i)
    if (presses[i] % 2 == 1) Toggle(ctx, i);
  if (presses[kSwitchCollection] > 0) {
    // Back to the collection the window was opened with, folder and dialect together.
    SelectVoiceCollection(ctx, ctx.sound.OpenedWithCommonCollection);
    RestoreMaleVoiceCodes(ctx);
  }
  ShowSwitchPictures(ctx);
}

}  // namespace tavrel::sound
