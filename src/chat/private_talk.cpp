#include "chat/private_talk.h"

#include "app/client_context.h"
#include "session/commands.h"
#include "session/cp936.h"
#include "session/packet_io.h"

namespace tavrel::chat {
namespace {

constexpr const char* kPrivateLead = "你对";
constexpr const char* kPrivateSaid = "说: ";

platform::Control& ChatLine(ClientContext& ctx) { return ctx.main().Get(ctl::Chat); }

// The prefix without its first character: "对<name>说: ".
std::string_view AfterYou(std::string_view prefix) { return prefix.substr(text::FirstChars(prefix, 1).size()); }

void CaretToEnd(platform::Control& line) { line.SetSelStart(static_cast<int>(text::CharCount(line.Text()))); }

}  // namespace

std::string WithoutPrefix(std::string_view line, std::string_view prefix) {
  const std::size_t at = prefix.empty() ? std::string_view::npos : line.find(prefix);
  if (at == std::string_view::npos) return std::string(line);
  return std::string(line.substr(0, at)).append(line.substr(at + prefix.size()));
}

SentLine ComposePhrase(const ClientContext& ctx, std::string_view line, std::string_view phrase) {
  const std::string& own = ctx.table.custom[0].name;
  const std::string& prefix = ctx.chat.PrivatePrefix;
  if (!prefix.empty() && line.find(prefix) != std::string_view::npos)
    return {own + std::string(AfterYou(prefix)) + std::string(phrase), ctx.chat.PrivateTarget};
  return {own + kSaid + std::string(phrase), 0};
}

SentLine ComposeLine(const ClientContext& ctx, std::string_view line) {
  return ComposePhrase(ctx, line, WithoutPrefix(line, ctx.chat.PrivatePrefix));
}

void SendChatCommand(ClientContext& ctx, int kind, int phrase, const SentLine& line) {
  Info info;
  info.Cmd = cmd::kChat;
  info.Seat = ctx.table.custom[0].seat;
  info.value = {static_cast<std::int16_t>(kind), static_cast<std::int16_t>(line.target), 0,
                static_cast<std::int16_t>(phrase)};
  ctx.session.PendingChatText = line.text;
  session::SendCommand(ctx, info);
}

void TouClick(ClientContext& ctx, int index) {
  if (!ctx.session.TableActive || index < 1 || index > 3) return;
  const round::PlayerEntry& player = ctx.table.custom[index];
  if (player.name.empty()) return;
  ChatState& s = ctx.chat;
  platform::Control& line = ChatLine(ctx);
  s.PrivateTypedText = line.Text();
  s.PrivateTarget = player.seat;
  // Another addressee replaces the prefix and keeps what was typed after it.
  if (!s.PrivatePrefix.empty()) s.PrivateTypedText = WithoutPrefix(line.Text(), s.PrivatePrefix);
  s.PrivatePrefix = kPrivateLead + player.name + kPrivateSaid;
  line.SetText(s.PrivatePrefix + s.PrivateTypedText);
  CaretToEnd(line);
  ctx.main().SetFocus(ctl::Chat.name);
}

void NoteBackspace(ClientContext& ctx) {
  ChatState& s = ctx.chat;
  if (s.PrivatePrefix.empty()) return;
  const platform::Control& line = ChatLine(ctx);
  s.TextBeforeBackspace = line.Text();
  const std::size_t at = line.Text().find(s.PrivatePrefix);
  if (at == std::string::npos) return;
  // Inside the prefix or right after it; a Backspace before it deletes nothing of it.
  const int start = static_cast<int>(text::CharCount(std::string_view(line.Text()).substr(0, at)));
  const int end = start + static_cast<int>(text::CharCount(s.PrivatePrefix));
  const int caret = line.SelStart();
  if (caret > start && caret <= end) s.RemovePrefix = true;
}

void ChatChange(ClientContext& ctx) {
  ChatState& s = ctx.chat;
  if (!s.RemovePrefix) return;
  s.RemovePrefix = false;
  platform::Control& line = ChatLine(ctx);
  line.SetText(WithoutPrefix(s.TextBeforeBackspace, s.PrivatePrefix));
  s.PrivatePrefix.clear();
  s.PrivateTypedText.clear();
  s.PrivateTarget = 0;
  CaretToEnd(line);
}

}  // namespace tavrel::chat
