#pragma once
// A seated client (round_fixture.h) for the chat: typing into the chat line, the
// chat commands it queued, received chat lines, and a program folder of its own
// for chat.ini. The players are "p0" (the local player) .. "p3" by relative seat.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chat/chat_line.h"
#include "chat/speech_bubbles.h"
#include "round_fixture.h"
#include "session/commands.h"
#include "session/cp936.h"
#include "view/picture_catalogue.h"
#include "view/window_frame.h"

namespace tavrel::testing {

struct ChatFixture : RoundFixture {
  std::filesystem::path folder;

  ChatFixture() {
    c->session.TableActive = true;
    std::string tmpl = (std::filesystem::temp_directory_path() / "chat_test.XXXXXX").string();
    if (::mkdtemp(tmpl.data())) folder = tmpl;
    platform.programFolder = folder.string();
  }
  ~ChatFixture() override {
    std::error_code ec;
    if (!folder.empty()) std::filesystem::remove_all(folder, ec);
  }

  platform::Control& Line() { return c->main().Get(ctl::Chat); }
  // What the player typed, with the caret at its end.
  void Type(const std::string& text) {
    Line().SetText(text);
    Line().NoteSelStart(static_cast<int>(text::CharCount(text)));
  }
  void Key(int key) {
    platform::UiEvent e;
    e.type = platform::UiEventType::KeyPress;
    e.control = ctl::Chat.name;
    e.key = key;
    c->main().Dispatch(e);
  }
  void Enter() { Key(13); }
  // A Backspace as the text box does it: the key, then the line without the
  // character before the caret, then the change.
  void Backspace() {
    Key(8);
    std::u32string chars = text::DecodeUtf8(Line().Text());
    const int caret = Line().SelStart();
    if (caret > 0 && caret <= static_cast<int>(chars.size())) chars.erase(static_cast<std::size_t>(caret - 1), 1);
    Line().SetText(text::EncodeUtf8(chars));
    Line().NoteSelStart(caret > 0 ? caret - 1 : 0);
    Event(c->main(), ctl::Chat, platform::UiEventType::Change);
  }
  static void Event(platform::Form& form, const platform::ControlName& control, platform::UiEventType type,
                    int index = -1) {
    platform::UiEvent e;
    e.type = type;
    e.control = control.name;
    e.index = index;
    form.Dispatch(e);
  }
  void Button(int i) { view::AnNiuClick(*c, i); }
  void Ticks(int n) { platform.Advance(50LL * n); }

  // Chat commands queued for the server, oldest first.
  std::vector<Packet> SentChats() {
    std::vector<Packet> out;
    const auto& ring = c->session.SendRing;
    for (int at = 0; at + static_cast<int>(kPacketSize) <= ring.Queued(); at += static_cast<int>(kPacketSize)) {
      Packet p;
      for (std::size_t k = 0; k < kPacketSize; ++k) p[k] = ring.At(at + static_cast<int>(k));
      if (p[off::kCmd] == cmd::kChat) out.push_back(p);
    }
    return out;
  }
  static std::string TextOf(const Packet& p) { return wire::GbkText(p, off::kPayload, 200); }
  static int ValueOf(const Packet& p, int i) { return wire::I16BE(p, 8 + 2 * i); }

  static Packet ChatPacket(int seatMask, const std::string& text, int kind = 0, int target = 0, int phrase = 0) {
    Packet p = Make(cmd::kChat, seatMask, {kind, target, 0, phrase});
    wire::PutGbkText(p, off::kPayload, text, 200);
    return p;
  }
  void Say(int r, const std::string& text, int kind = 0, int phrase = 0) {
    Receive(ChatPacket(Mask(r), text, kind, 0, phrase));
  }

  std::vector<std::string> History() { return chat::History(*c).Items(); }
  std::vector<std::string> TableLine(int i) { return c->main().Get(ctl::Sysmsg, i).Items(); }

  // chat.ini as UTF-8 with its mark (as the shipped one), or the bytes as they are.
  void WritePhrases(const std::string& text, bool utf8Mark = true) {
    std::ofstream(folder / "chat.ini", std::ios::binary) << (utf8Mark ? "\xEF\xBB\xBF" : "") << text;
  }

  // The bubble pictures as the test draws them: w x h, the key colour outside an
  // inner rectangle from (1, 1) to (w - 2, h - 2).
  static constexpr std::uint32_t kKey = 0xFF00FF;
  void DrawBubblePictures(int w = 12, int h = 6) {
    for (int i = 0; i < 4; ++i) {
      platform::PixelMap m;
      m.width = w;
      m.height = h;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) m.pixels.push_back(x >= 1 && x <= w - 2 && y >= 1 && y <= h - 2 ? 0x20F0F0 : kKey);
      platform.simPictures().drawn[view::kPicSpeakBoxFirst + i] = m;
    }
  }
  platform::Form* Bubble(int seat) { return chat::FindBubble(*c, seat); }
  void Fade(int ticks) { platform.Advance(static_cast<std::int64_t>(chat::kFadeTickMs) * ticks); }
};

}  // namespace tavrel::testing
