#include "chat/speech_bubbles.h"

#include <algorithm>

#include "app/client_context.h"
#include "view/picture_catalogue.h"

namespace tavrel::chat {
namespace {

using platform::Control;
using platform::Form;

constexpr double kTwip = 1.0 / 15;
constexpr std::uint32_t kPhraseColour = 0x244660;  // dark brown, red in the low byte

// Per relative seat, in twips of the main window: where the bubble shows and where
// its text stands inside it.
struct SeatPlace {
  double left, top, labelLeft, labelTop;
};
constexpr SeatPlace kPlaces[4] = {
    {1500, 8550, 260, 180}, {1050, 3000, 570, 350}, {6150, 1050, 450, 620}, {11400, 3000, 270, 470}};
// Room the text leaves to the picture's right and bottom edges (the tails of seats 3 and 0).
constexpr double kLabelRightRoom[4] = {12, 12, 12, 28};
constexpr double kLabelBottomRoom[4] = {26, 8, 8, 8};

std::string Tag(int seat) { return "speak" + std::to_string(seat); }

bool ValidSeat(int seat) { return seat >= 0 && seat <= 3; }

// Seats 0 and 1 wait and park to the left of the window, seats 2 and 3 above it.
bool ParksLeft(int seat) { return seat <= 1; }

platform::Rect ShowingPlace(ClientContext& ctx, int seat, const Form& form) {
  const double s = ctx.view.LayoutScale * kTwip;
  const platform::Rect& main = ctx.main().Bounds();
  return {main.left + kPlaces[seat].left * s, main.top + kPlaces[seat].top * s, form.Bounds().width,
          form.Bounds().height};
}

// Off the window's side, by `widths` of the bubble (1 waiting, 2 parked).
void MoveAside(ClientContext& ctx, Form& form, int seat, int widths) {
  const platform::Rect show = ShowingPlace(ctx, seat, form);
  const platform::Rect& main = ctx.main().Bounds();
  if (ParksLeft(seat))
    form.Move(main.left - widths * show.width, show.top);
  else
    form.Move(show.left, main.top - widths * show.height);
}

platform::Timer& FadeTimer(ClientContext& ctx, int seat) {
  SpeakBox& box = ctx.chat.bubbles[seat];
  if (!box.tmrFadeIn) {
    box.tmrFadeIn = ctx.platform.CreateTimer();
    box.tmrFadeIn->SetInterval(kFadeTickMs);
    box.tmrFadeIn->SetEnabled(false);
    box.tmrFadeIn->onTick = [&ctx, seat] { FadeTick(ctx, seat); };
  }
  return *box.tmrFadeIn;
}

// The window's controls, made once: the four seat pictures, the work picture and the text.
Form& BubbleForm(ClientContext& ctx, int seat) {
  const std::string name = SpeakBoxFormName(seat);
  const bool fresh = ctx.ui.Find(name) == nullptr;
  Form& form = ctx.ui.form(name);
  if (!fresh) return form;
  form.SetFrameless(true);
  // A bubble never takes the keyboard from the chat line.
  form.SetShowsWithoutFocus(true);
  for (int i = 0; i < 4; ++i) {
    Control& picture = form.Get(ctl::frmSpeakBox::imgSpeakBox, i);
    picture.SetPicture(view::kPicSpeakBoxFirst + i);
    picture.SetVisible(false);
    picture.SetEnabled(false);
  }
  Control& work = form.Get(ctl::frmSpeakBox::picSplash);
  work.SetVisible(false);
  Control& text = form.Get(ctl::frmSpeakBox::labPhrase);
  text.SetForeColor(kPhraseColour);
  text.SetFont(10, true);
  text.SetEnabled(false);
  text.BringToFront();
  return form;
}

}  // namespace

std::string SpeakBoxFormName(int seat) { return std::string(frm::frmSpeakBox) + std::to_string(seat & 3); }

Form* FindBubble(ClientContext& ctx, int seat) {
  if (!ValidSeat(seat) || ctx.chat.bubbles[seat].BubbleTag != Tag(seat)) return nullptr;
  Form* form = ctx.ui.Find(SpeakBoxFormName(seat));
  return form && form->Loaded() ? form : nullptr;
}

std::vector<platform::Rect> ShapeRegion(const platform::PixelMap& picture, std::uint32_t keyColour) {
  std::vector<platform::Rect> region;
  const int W = picture.width - 1, H = picture.height - 1;
  if (W < 0 || H < 0 || picture.pixels.size() < static_cast<std::size_t>(picture.width) * picture.height)
    return region;
  for (int y = 0; y <= H; ++y) {
    int start = -1;
    for (int x = 0; x <= W; ++x) {
      const bool key = picture.At(x, y) == keyColour;
      if (!key && start == -1) start = x;
      if (start != -1 && (key || x == W)) {
        // A run that reaches the right edge keeps its last pixel.
        const int end = key ? x : x + 1;
        region.push_back({double(start), double(y), double(end - start), 1});
        start = -1;
      }
    }
  }
  return region;
}

bool SetWindowAlpha(Form& form, int alpha) {
  if (alpha < 0 || alpha > 255) return false;
  form.SetAlpha(alpha);
  return true;
}

void ShapeBubbleWindow(ClientContext& ctx, Form& form, int seat, std::int64_t keyColour) {
  if (!ValidSeat(seat)) return;
  if (Form* previous = FindBubble(ctx, seat)) {
    previous->Unload();
    FadeTimer(ctx, seat).SetEnabled(false);
  }
  ctx.chat.bubbles[seat].BubbleTag = Tag(seat);

  const int pictureId = form.Get(ctl::frmSpeakBox::imgSpeakBox, seat).Picture();
  Control& work = form.Get(ctl::frmSpeakBox::picSplash);
  work.SetPicture(pictureId);
  platform::PixelMap pixels;
  const bool readable = ctx.platform.pictures().ReadPixels(pictureId, pixels) && pixels.width > 0 && pixels.height > 0;
  double width = pixels.width, height = pixels.height;
  if (!readable) {
    const view::PictureInfo* info = view::FindPicture(pictureId);
    width = info ? info->width : view::kSpeakBoxSize.width;
    height = info ? info->height : view::kSpeakBoxSize.height;
  }
  work.Move(0, 0, width, height);
  form.Move(form.Bounds().left, form.Bounds().top, width, height);
  for (int i = 0; i < 4; ++i) {
    Control& picture = form.Get(ctl::frmSpeakBox::imgSpeakBox, i);
    picture.Move(0, 0, width, height);
    picture.SetVisible(i == seat);
  }
  // An unreadable picture leaves the window unshaped: a rectangle, but still shown.
  std::vector<platform::Rect> region;
  if (readable) {
    const std::uint32_t key = keyColour < 1 ? pixels.At(0, 0) : static_cast<std::uint32_t>(keyColour);
    region = ShapeRegion(pixels, key);
  }
  form.SetRegion(std::move(region));
  work.SetPicture(0);
}

Form& PrepareBubble(ClientContext& ctx, int seat) {
  Form& form = BubbleForm(ctx, seat);
  ShapeBubbleWindow(ctx, form, seat, 0);
  const double s = ctx.view.LayoutScale * kTwip;
  Control& text = form.Get(ctl::frmSpeakBox::labPhrase);
  text.SetCaption("  ");
  const double left = kPlaces[seat].labelLeft * s, top = kPlaces[seat].labelTop * s;
  text.Move(left, top, std::max(10.0, form.Bounds().width - left - kLabelRightRoom[seat]),
            std::max(10.0, form.Bounds().height - top - kLabelBottomRoom[seat]));
  MoveAside(ctx, form, seat, 1);
  form.SetTopmost(true);
  SetWindowAlpha(form, 0);
  form.Show();
  return form;
}

void showMe(ClientContext& ctx, int seat, const std::string& phrase, int perc, int fadeIn, int fadeOut,
            int showTime) {
  Form* form = FindBubble(ctx, seat);
  if (!form) return;
  const platform::Rect place = ShowingPlace(ctx, seat, *form);
  form->Move(place.left, place.top);
  SpeakBox& box = ctx.chat.bubbles[seat];
  box.perc = perc;
  box.fadeIn = fadeIn;
  box.fadeOut = fadeOut;
  box.showTime = showTime;
  form->Get(ctl::frmSpeakBox::labPhrase).SetCaption(phrase);
  box.FadeCounter = 0;
  FadeTimer(ctx, seat).SetEnabled(true);
}

void FadeTick(ClientContext& ctx, int seat) {
  if (!ValidSeat(seat)) return;
  SpeakBox& box = ctx.chat.bubbles[seat];
  Form* form = FindBubble(ctx, seat);
  if (!form) {
    FadeTimer(ctx, seat).SetEnabled(false);
    return;
  }
  box.FadeCounter += box.fadeIn;
  if (box.FadeCounter < box.perc) SetWindowAlpha(*form, box.FadeCounter);
  if (box.FadeCounter > box.perc + box.showTime) {
    box.perc -= box.fadeOut;
    if (box.perc > 1) {
      SetWindowAlpha(*form, box.perc);
      return;
    }
    FadeTimer(ctx, seat).SetEnabled(false);
    form->Get(ctl::frmSpeakBox::labPhrase).SetCaption("");
    MoveAside(ctx, *form, seat, 2);
    // Parked, and hidden too: a window system that cannot make it see-through
    // would otherwise leave the empty bubble standing beside the table.
    form->Hide();
  }
}

void ShowPhraseBubble(ClientContext& ctx, int seat, const std::string& phrase) {
  if (!ValidSeat(seat)) return;
  PrepareBubble(ctx, seat);
  showMe(ctx, seat, phrase, kPhrasePerc, kPhraseFadeIn, kPhraseFadeOut, kPhraseShowTime);
}

void UnloadBubbles(ClientContext& ctx) {
  for (int seat = 0; seat < 4; ++seat) {
    if (Form* form = FindBubble(ctx, seat)) form->Unload();
    if (ctx.chat.bubbles[seat].tmrFadeIn) ctx.chat.bubbles[seat].tmrFadeIn->SetEnabled(false);
    ctx.chat.bubbles[seat].BubbleTag.clear();
  }
}

}  // namespace tavrel::chat
