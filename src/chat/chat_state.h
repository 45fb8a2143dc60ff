#pragma once
// What the chat module keeps for the process: the chat line's send state and
// private talk, the chat button's blink, the filter's deployment entries, the
// quick phrases' loading and the speech bubbles with their fades.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace tavrel::chat {

// One frmSpeakBox: the bubble window of a relative seat, what showMe stored and the fade.
struct SpeakBox {
  std::string BubbleTag;  // "speak" and the seat digit while the window is loaded; empty once unloaded
  int perc = 0;           // target opacity, then the opacity while fading out
  int fadeIn = 0;         // opacity step per tick while fading in
  int fadeOut = 0;        // step per tick while fading out
  int showTime = 0;       // hold, in the units of the fade counter
  int FadeCounter = 0;
  std::shared_ptr<platform::Timer> tmrFadeIn;  // shared: a saved copy of the state refers to the same timer
};

struct ChatState {
  // An Enter-send is allowed now; TimerChat gives it back 800 ms after one.
  bool ChatSendReady = true;
  std::shared_ptr<platform::Timer> TimerChat;  // shared, as the fade timers

  // Private talk: the prefix in the chat line (empty = public), the addressee's seat
  // mask, what had been typed when the prefix was set.
  std::string PrivatePrefix;
  std::uint8_t PrivateTarget = 0;
  std::string PrivateTypedText;
  // A Backspace into the prefix asks the next change of the chat line to drop the
  // prefix; the line as it was before that Backspace.
  bool RemovePrefix = false;
  std::string TextBeforeBackspace;

  // The chat line has the keyboard (only F1 goes on to the plug-in then).
  bool ChatLineFocus = false;
  // Alt, then C in the history list hides it.
  bool TalkAltPressed = false;

  // Half-blinks of the chat button still to do.
  std::int16_t BlinkCount = 0;

  // Filter entries 1..4, supplied by the deployment (empty when it supplies none).
  std::array<std::string, 4> DeploymentFilterEntries{};

  // The quick-phrase lists are filled from chat.ini once, when first needed.
  bool PhrasesLoaded = false;

  // The bubble windows, by relative seat.
  std::array<SpeakBox, 4> bubbles{};
};

}  // namespace tavrel::chat
