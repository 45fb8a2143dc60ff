#pragma once
// Speech bubbles: a received quick phrase shown beside the speaker's place in a
// frameless, bubble-shaped, see-through window (frmSpeakBox) that fades in,
// stays and fades out. One bubble per relative seat; a new one replaces it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/platform.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::chat {

// The values of a received phrase: target opacity, fade steps, hold.
inline constexpr int kPhrasePerc = 210, kPhraseFadeIn = 8, kPhraseFadeOut = 4, kPhraseShowTime = 2000;
// The fade's counts were made for a timer asked for 1 ms that ticks about every
// 16 ms: at a true 1 ms a bubble would be gone in a third of a second. So the fade
// ticks every 16 ms, about five seconds from the first tick to the parking.
inline constexpr int kFadeTickMs = 16;

// The window of relative seat `seat` in the control model ("frmSpeakBox0".."frmSpeakBox3").
std::string SpeakBoxFormName(int seat);
// The form of the loaded bubble whose tag is "speak" and the seat digit, if any.
platform::Form* FindBubble(ClientContext& ctx, int seat);

// The window shape of a picture: row by row, the runs of pixels that are not the
// key colour, each a rectangle one pixel high. No key colour: the whole picture.
std::vector<platform::Rect> ShapeRegion(const platform::PixelMap& picture, std::uint32_t keyColour);

// ShowPhraseBubble: PrepareBubble, then showMe with the received-phrase values.
void ShowPhraseBubble(ClientContext& ctx, int seat, const std::string& phrase);
// A fresh bubble window for the seat (the seat's old one goes), shaped, invisible,
// waiting beside the table.
platform::Form& PrepareBubble(ClientContext& ctx, int seat);
// Unloads the seat's previous bubble, tags the form, takes the seat's picture and
// cuts the window to it; keyColour below 1 takes the colour of pixel (0, 0).
void ShapeBubbleWindow(ClientContext& ctx, platform::Form& form, int seat, std::int64_t keyColour);
// Shows the bubble at its seat's place and starts the fade.
void showMe(ClientContext& ctx, int seat, const std::string& phrase, int perc, int fadeIn, int fadeOut, int showTime);
// One tick of tmrFadeIn.
void FadeTick(ClientContext& ctx, int seat);
// The window's opacity 0..255; false (nothing changed) for any other value.
bool SetWindowAlpha(platform::Form& form, int alpha);

// Every bubble unloaded and its fade stopped (the table shut down).
void UnloadBubbles(ClientContext& ctx);

}  // namespace tavrel::chat
