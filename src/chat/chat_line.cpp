#include "chat/chat_line.h"

#include "app/client_context.h"
#include "chat/private_talk.h"
#include "chat/quick_phrases.h"
#include "chat/word_filter.h"
#include "session/cp936.h"
#include "view/pictures.h"
#include "view/table_keys.h"
#include "view/window_frame.h"

namespace tavrel::chat {
namespace {

using platform::Control;
using platform::Form;

constexpr int kKeyEnter = 13;
constexpr int kKeyBackspace = 8;
constexpr int kKeyAlt = 18, kKeyC = 67;
constexpr int kChatButton = 1;
// The history window, and where the chat pop-ups stand over the table (parts of Pic1).
constexpr double kTalkWidth = 330, kTalkHeight = 170;
constexpr double kAcross = 0.3, kDown = 0.66, kSmallAcross = 0.22, kSmallDown = 0.6;

Control& ChatLine(ClientContext& ctx) { return ctx.main().Get(ctl::Chat); }

Form& Talk(ClientContext& ctx) { return ctx.ui.form(frm::Talk); }

void ScrollToEnd(Control& list) { list.SetTopIndex(list.ListCount() - 1); }

// The line into the two table lines: the newest below, the one before above it.
void ShowOnTable(ClientContext& ctx, const std::string& line) {
  Form& main = ctx.main();
  Control& upper = main.Get(ctl::Sysmsg, 0);
  Control& lower = main.Get(ctl::Sysmsg, 1);
  if (lower.ListCount() > 0) {
    const std::string previous = lower.Items().back();
    upper.Clear();
    upper.AddItem(previous);
    lower.Clear();
    lower.AddItem(line);
  } else if (upper.ListCount() > 0) {
    lower.AddItem(line);
  } else {
    upper.AddItem(line);
  }
}

// Replaces every occurrence (or only the first) of `what`; an empty `what` replaces nothing.
std::string Replace(std::string text, const std::string& what, const std::string& with, bool all) {
  if (what.empty()) return text;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
    if (!all) break;
  }
  return text;
}

// Steps 3 to 5 of a send: the line's text composed, the prefix given up, command 19 queued.
void SendTyped(ClientContext& ctx, const std::string& line) {
  const SentLine sent = ComposeLine(ctx, line);
  ctx.chat.PrivatePrefix.clear();
  SendChatCommand(ctx, 0, 0, sent);
}

// Nothing is sent for an empty line or one that holds only the private prefix.
bool NothingToSend(const ClientContext& ctx, const std::string& line) {
  return line.empty() ||
         (!ctx.chat.PrivatePrefix.empty() && text::TrimSpaces(line) == text::TrimSpaces(ctx.chat.PrivatePrefix));
}

}  // namespace

Control& History(ClientContext& ctx) { return Talk(ctx).Get(ctl::Talk::Text1); }

int CharWidth(char32_t c) {
  if (c < 0x80) return 1;
  return static_cast<int>(text::Utf8ToCp936(text::EncodeUtf8(std::u32string(1, c))).size());
}

void WrapIntoList(Control& list, std::string_view textIn, int width) {
  std::u32string chars = text::DecodeUtf8(textIn);
  if (const auto nul = chars.find(U'\0'); nul != std::u32string::npos) chars.resize(nul);
  const std::size_t n = chars.size();
  if (n == 0) return;
  // Positions are 1-based as the lines are counted: character i is chars[i - 1].
  auto part = [&](std::size_t from, std::size_t to) { return text::EncodeUtf8(std::u32string_view(chars).substr(from - 1, to - from + 1)); };
  bool added = false;
  std::size_t start = 1;
  int w = 0;
  for (std::size_t i = 1; i <= n; ++i) {
    if (i == n || w >= width) {
      if (!added) {
        // The first line takes character i with it.
        list.AddItem(part(start, i));
        start = i + 1;
        added = true;
      } else if (i == n) {
        // The last line always ends with the last character.
        list.AddItem(" " + part(start, n));
        start = n + 1;
      } else {
        // Continuation lines are indented by one space; character i opens the next.
        list.AddItem(" " + part(start, i - 1));
        start = i;
      }
      w = 0;
    }
    w += CharWidth(chars[i - 1]);
  }
}

void ChatKeyPress(ClientContext& ctx, int key) {
  ChatState& s = ctx.chat;
  Control& history = History(ctx);
  if (history.ListCount() > kHistoryLimit) history.Clear();
  if (key == kKeyEnter && ctx.table.SpectatorMode == round::kFalse) {
    Control& line = ChatLine(ctx);
    if (!s.ChatSendReady) {
      // Too fast: the warning only; what was typed stays in the line.
      if (!line.Text().empty()) {
        history.AddItem(kMsgTooFast);
        ScrollToEnd(history);
      }
      return;
    }
    s.ChatSendReady = false;
    s.TimerChat->SetEnabled(true);
    const std::string text = line.Text();
    line.SetText("");
    if (NothingToSend(ctx, text)) return;
    SendTyped(ctx, text);
    return;
  }
  if (key == kKeyBackspace) NoteBackspace(ctx);
}

void ChatKeyDown(ClientContext& ctx, int key) {
  // F1 hides the window here too (and reaches the plug-in); F2..F6 stay with the
  // text box while the player types.
  if (key == view::kKeyF1) view::BossKey(ctx);
}

void SendByButton(ClientContext& ctx) {
  Control& line = ChatLine(ctx);
  const std::string text = line.Text();
  if (NothingToSend(ctx, text)) return;
  line.SetText("");
  SendTyped(ctx, text);
}

void TimerChatTick(ClientContext& ctx) {
  ctx.chat.TimerChat->SetEnabled(false);
  ctx.chat.ChatSendReady = true;
}

std::string ShownLine(const ClientContext& ctx, const std::string& text) {
  const std::string& own = ctx.table.custom[0].name;
  std::string line = text;
  // Without a name of its own the client cannot tell which name is its own.
  if (!own.empty()) {
    line = Replace(line, "[" + ctx.players.Detail[0].Tag + "]" + own, kYou, true);
    if (!line.starts_with(kSystemNotice)) line = Replace(line, own, kYou, false);
  }
  return FilterChat(ctx, line);
}

void ShowSystemLine(ClientContext& ctx, const std::string& text) {
  Control& history = History(ctx);
  WrapIntoList(history, text, kHistoryWidth);
  ScrollToEnd(history);
  ShowOnTable(ctx, text::FirstChars(text, kTableLineChars));
}

void ShowChat(ClientContext& ctx, const Info& info, const std::string& text) {
  const int own = ctx.table.custom[0].seat & 0xF, speaker = info.Seat & 0xF;
  int r = 0;
  if (own != 0 && speaker != 0) {
    r = (SeatIndexOfMask(own) - SeatIndexOfMask(speaker) + 4) & 3;
    const int kind = info.value[0];
    if (kind == 1 || kind == 2) ShowPhrase(ctx, r, kind, info.value[3]);
  }
  const std::string line = ShownLine(ctx, text);
  Control& history = History(ctx);
  WrapIntoList(history, line, kHistoryWidth);
  ScrollToEnd(history);
  ShowOnTable(ctx, text::FirstChars(line, kTableLineChars));
  if (r != 0) {
    ctx.chat.BlinkCount = kChatBlinks;
    ctx.sched.BlinkOn = true;  // the blink task runs the chat button's half-blinks
  }
}

void ChatButtonBlink(ClientContext& ctx) {
  Control* button = ctx.main().Find(ctl::AnNiu, kChatButton);
  if (!button) return;
  std::int16_t& left = ctx.chat.BlinkCount;
  bool hover = ctx.view.ButtonHover[kChatButton];
  if (left > 0) {
    --left;
    hover = left % 2 == 1;
  }
  view::LoadResourcePicture(ctx, view::ButtonPicture(ctx, kChatButton, hover), *button);
}

platform::Rect ChatWindowPlace(ClientContext& ctx, double width, double height) {
  Form& main = ctx.main();
  const Control& surface = main.Get(ctl::Pic1);
  const bool small = ctx.view.LayoutScale < 1.0;
  const double across = small ? kSmallAcross : kAcross, down = small ? kSmallDown : kDown;
  return {main.Bounds().left + surface.Left() + across * surface.Width(),
          main.Bounds().top + surface.Top() + down * surface.Height(), width, height};
}

void SetUpChatWindow(Form& form, const char* caption, double width, double height, int alpha,
                     const platform::ControlName& close) {
  form.SetCaption(caption);
  form.Move(0, 0, width, height);
  form.SetFrameless(true);
  form.SetAlpha(alpha);
  Control& label = form.Get(close);
  label.Move(width - 52, 3, 46, 16);
  label.SetCaption("× 关闭");
  label.SetAlignment(1);
  label.SetMousePointer(platform::kPointerCustomHand);
  Form* f = &form;
  form.On(close, platform::UiEventType::Click, [f](const platform::UiEvent&) { f->Hide(); });
}

platform::Rect ListPlace(double width, double height) { return {6, 22, width - 12, height - 28}; }

void CreateTalkWindow(ClientContext& ctx) {
  Form& talk = Talk(ctx);
  SetUpChatWindow(talk, kTalkCaption, kTalkWidth, kTalkHeight, kTalkAlpha, ctl::Talk::Label1);
  const platform::Rect place = ListPlace(kTalkWidth, kTalkHeight);
  talk.Get(ctl::Talk::Text1).Move(place.left, place.top, place.width, place.height);
  ClientContext* c = &ctx;
  talk.On(ctl::Talk::Text1, platform::UiEventType::KeyDown, [c](const platform::UiEvent& e) {
    bool& alt = c->chat.TalkAltPressed;
    if (e.key == kKeyC && alt) Talk(*c).Hide();
    alt = e.key == kKeyAlt;
  });
}

void ToggleTalk(ClientContext& ctx) {
  Form& talk = Talk(ctx);
  if (talk.Visible()) {
    talk.Hide();
    return;
  }
  view::ShowTalkWindow(ctx);
}

void ClearChat(ClientContext& ctx) {
  ChatState& s = ctx.chat;
  History(ctx).Clear();
  if (Control* line = ctx.main().Find(ctl::Chat)) line->SetText("");
  s.PrivatePrefix.clear();
  s.PrivateTypedText.clear();
  s.PrivateTarget = 0;
  s.RemovePrefix = false;
  s.BlinkCount = 0;
  ChatButtonBlink(ctx);
}

}  // namespace tavrel::chat
