// The chat module's part of the client: the chat line's keys and the send
// button, the history and phrase windows, private talk by the avatars, the chat
// button's blink in the blink task, and what the table's shutdown clears.
#include "app/client_context.h"
#include "app/registrations.h"
#include "chat/chat_line.h"
#include "chat/private_talk.h"
#include "chat/quick_phrases.h"
#include "chat/speech_bubbles.h"
#include "chat/word_filter.h"

namespace tavrel::chat {

using platform::UiEvent;
using platform::UiEventType;

void RegisterChat(ClientContext& ctx) {
  ClientContext* c = &ctx;
  ChatState& s = ctx.chat;
  s.TimerChat = ctx.platform.CreateTimer();
  s.TimerChat->SetInterval(kChatRateMs);
  s.TimerChat->SetEnabled(false);
  s.TimerChat->onTick = [c] { TimerChatTick(*c); };
  LoadFilterEntries(ctx);
  CreateTalkWindow(ctx);
  CreatePhraseWindow(ctx);

  platform::Form& main = ctx.main();
  main.On(ctl::Chat, UiEventType::KeyPress, [c](const UiEvent& e) { ChatKeyPress(*c, e.key); });
  main.On(ctl::Chat, UiEventType::KeyDown, [c](const UiEvent& e) { ChatKeyDown(*c, e.key); });
  main.On(ctl::Chat, UiEventType::Change, [c](const UiEvent&) { ChatChange(*c); });
  main.On(ctl::Chat, UiEventType::GotFocus, [c](const UiEvent&) { c->chat.ChatLineFocus = true; });
  main.On(ctl::Chat, UiEventType::LostFocus, [c](const UiEvent&) { c->chat.ChatLineFocus = false; });
  main.On(ctl::Lbchat, UiEventType::Click, [c](const UiEvent&) { ToggleTalk(*c); });
  main.On(ctl::imgword1, UiEventType::Click, [c](const UiEvent&) { OpenPhrases(*c, 1); });
  main.On(ctl::imgword2, UiEventType::Click, [c](const UiEvent&) { OpenPhrases(*c, 2); });
  main.On(ctl::Tou, UiEventType::Click, [c](const UiEvent& e) { TouClick(*c, e.index); });
  ctx.view.actions.sendChat = [c] { SendByButton(*c); };
  ctx.view.actions.toggleChat = [c] { ToggleTalk(*c); };

  // The chat button blinks in the same task as the last discard, after it.
  session::TaskBody discardBlink = ctx.sched.blinkBody;
  ctx.sched.blinkBody = [discardBlink](ClientContext& cx) {
    if (discardBlink) discardBlink(cx);
    ChatButtonBlink(cx);
  };

  ctx.hooks.closeTableSteps.push_back([c] {
    ClearChat(*c);
    UnloadBubbles(*c);
    c->chat.TimerChat->SetEnabled(false);
    c->chat.ChatSendReady = true;
  });
}

}  // namespace tavrel::chat
