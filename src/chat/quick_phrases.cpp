#include "chat/quick_phrases.h"

#include <cctype>
#include <climits>

#include "app/client_context.h"
#include "chat/chat_line.h"
#include "chat/private_talk.h"
#include "chat/speech_bubbles.h"
#include "session/ini_file.h"
#include "sound/sound.h"

namespace tavrel::chat {
namespace {

using platform::Control;
using platform::Form;

constexpr double kPhraseWidth = 240, kPhraseHeight = 200;

Form& Phrases(ClientContext& ctx) { return ctx.ui.form(frm::huifu); }

Control& PhraseList(ClientContext& ctx, int list) {
  return Phrases(ctx).Get(list == 1 ? ctl::huifu::List1 : ctl::huifu::List2);
}

}  // namespace

long LeadingNumber(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    value = value > (LONG_MAX - 9) / 10 ? LONG_MAX : value * 10 + (text[i] - '0');
  return negative ? -value : value;
}

void CreatePhraseWindow(ClientContext& ctx) {
  Form& phrases = Phrases(ctx);
  SetUpChatWindow(phrases, kPhraseCaption, kPhraseWidth, kPhraseHeight, kPhraseAlpha, ctl::huifu::Label1);
  const platform::Rect place = ListPlace(kPhraseWidth, kPhraseHeight);
  for (int list = 1; list <= 2; ++list) {
    Control& l = PhraseList(ctx, list);
    l.Move(place.left, place.top, place.width, place.height);
    l.SetVisible(list == 1);
    l.SetMousePointer(platform::kPointerCustomHand);
  }
  ClientContext* c = &ctx;
  phrases.On(ctl::huifu::List1, platform::UiEventType::DblClick, [c](const platform::UiEvent&) { SendPhrase(*c, 1); });
  phrases.On(ctl::huifu::List2, platform::UiEventType::DblClick, [c](const platform::UiEvent&) { SendPhrase(*c, 2); });
}

void LoadPhrases(ClientContext& ctx) {
  if (ctx.chat.PhrasesLoaded) return;
  ctx.chat.PhrasesLoaded = true;
  classIniFile ini(classIniFile::JoinPath(ctx.platform.ProgramFolder(), kPhraseFileName));
  for (int list = 1; list <= 2; ++list) {
    Control& l = PhraseList(ctx, list);
    l.Clear();
    const char* section = kPhraseSections[list - 1];
    const long count = std::min<long>(LeadingNumber(ini.GetIniKey(section, "num")), kMaxPhrases);
    for (long i = 1; i <= count; ++i) l.AddItem(ini.GetIniKey(section, std::to_string(i)));
  }
}

void OpenPhrases(ClientContext& ctx, int list) {
  LoadPhrases(ctx);
  if (Form* talk = ctx.ui.Find(frm::Talk); talk && talk->Visible()) talk->Hide();
  Form& phrases = Phrases(ctx);
  Control& wanted = PhraseList(ctx, list);
  Control& other = PhraseList(ctx, list == 1 ? 2 : 1);
  if (phrases.Visible() && wanted.Visible()) {
    phrases.Hide();
    return;
  }
  if (!phrases.Visible()) {
    const platform::Rect place = ChatWindowPlace(ctx, phrases.Bounds().width, phrases.Bounds().height);
    phrases.SetTopmost(true);
    phrases.Move(place.left, place.top);
    phrases.Show();
  }
  wanted.SetVisible(true);
  other.SetVisible(false);
}

void SendPhrase(ClientContext& ctx, int list) {
  LoadPhrases(ctx);
  Control& l = PhraseList(ctx, list);
  const int index = l.ListIndex();
  if (l.ListCount() == 0 || index < 0 || index >= l.ListCount()) return;
  const int number = index + 1;
  Control& line = ctx.main().Get(ctl::Chat);
  // What was typed in the chat line gives way to the phrase; a private prefix keeps it private.
  const SentLine sent = ComposePhrase(ctx, line.Text(), l.Items()[static_cast<std::size_t>(index)]);
  line.SetText("");
  ctx.chat.PrivatePrefix.clear();
  SendChatCommand(ctx, list, number, sent);
  if (list == 2) sound::PlayOwnPhraseVoice(ctx, number);
  Phrases(ctx).Hide();
  ctx.main().SetFocus(ctl::Chat.name);
}

void ShowPhrase(ClientContext& ctx, int seat, int kind, int number) {
  LoadPhrases(ctx);
  const Control& l = PhraseList(ctx, kind);
  if (number >= 1 && number <= l.ListCount()) {
    const std::string& phrase = l.Items()[static_cast<std::size_t>(number - 1)];
    if (!phrase.empty() && ctx.main().State() != platform::WindowState::Minimized) ShowPhraseBubble(ctx, seat, phrase);
  }
  if (kind == 1) sound::PlayPhraseVoice(ctx, seat, number);
}

}  // namespace tavrel::chat
