// Bad input for the chat: broken code page 936 text, texts of nothing but lead
// bytes, any phrase number and kind, huge or negative phrase counts, and a stream
// of random chat packets. Nothing crashes, and the history keeps every character
// of every shown line.
#include <gtest/gtest.h>

#include <random>

#include "chat/quick_phrases.h"
#include "chat_fixture.h"

namespace tavrel::testing {
namespace {

struct ChatBadInput : ChatFixture {
  ChatBadInput() { DrawBubblePictures(); }
  // A chat packet whose 200 text bytes are exactly these.
  static Packet RawChat(int seatMask, const std::vector<std::uint8_t>& bytes, int kind = 0, int phrase = 0) {
    Packet p = Make(cmd::kChat, seatMask, {kind, 0, 0, phrase});
    for (std::size_t i = 0; i < bytes.size() && i < 200; ++i) p[off::kPayload + i] = bytes[i];
    return p;
  }
  // The history's last lines joined again, for a line that took `lines` of them.
  std::string LastShown(std::size_t lines) {
    const auto h = History();
    std::string out;
    for (std::size_t i = h.size() - lines; i < h.size(); ++i) out += i == h.size() - lines ? h[i] : h[i].substr(1);
    return out;
  }
};

TEST_F(ChatBadInput, BrokenTextIsShownWholeAndNothingOfItIsLost) {
  std::vector<std::vector<std::uint8_t>> texts;
  std::vector<std::uint8_t> broken, leads, lonely, trailing;
  for (int i = 0; i < 200; ++i) broken.push_back(i % 2 ? 0x20 : 0x81 + i % 0x7E);  // lead bytes before spaces
  for (int i = 0; i < 200; ++i) leads.push_back(static_cast<std::uint8_t>(0x81 + i % 0x7E));
  for (int i = 0; i < 200; ++i) lonely.push_back(i % 3 ? 0xFF : 0x80);
  trailing.assign(199, 'a');
  trailing.push_back(0xB0);  // a lead byte cut off by the field's end
  for (const auto& t : {broken, leads, lonely, trailing}) texts.push_back(t);

  for (const auto& bytes : texts) {
    const std::size_t before = History().size();
    Receive(RawChat(Mask(1), bytes));
    const Packet p = RawChat(Mask(1), bytes);
    const std::string decoded = wire::GbkText(p, off::kPayload, 200);
    const std::string shown = chat::ShownLine(*c, decoded);
    const std::size_t added = History().size() - before;
    ASSERT_GE(added, 1u);
    EXPECT_EQ(LastShown(added), shown);
    EXPECT_EQ(TableLine(1).empty() ? TableLine(0).back() : TableLine(1).back(), text::FirstChars(shown, 45));
  }
}

TEST_F(ChatBadInput, AnyPhraseNumberOrKindIsSafe) {
  WritePhrases("[Phrase1]\nnum=2\n1=甲\n2=乙\n[Phrase2]\nnum=1\n1=丙\n");
  for (int kind : {0, 1, 2, 3, 255})
    for (int number : {0, 1, 2, 3, 255, 65535, -1}) {
      Packet p = ChatPacket(Mask(2), "p2说道: 话", kind, 0, 0);
      wire::PutU16BE(p, 14, static_cast<std::uint16_t>(number));  // value(3) as the server may send it
      Receive(p);
      const int n = number & 0xFF;  // a chat command's values are read by their low byte
      const bool bubble = (kind == 1 && (n == 1 || n == 2)) || (kind == 2 && n == 1);
      EXPECT_EQ(Bubble(2) != nullptr && Bubble(2)->Visible(), bubble) << kind << " " << number;
      EXPECT_EQ(History().back(), "p2说道: 话");
      chat::UnloadBubbles(*c);
    }
}

TEST_F(ChatBadInput, TenThousandPhrasesOrANegativeCountLoadWithoutTrouble) {
  std::string ini = "[Phrase1]\nnum=10000\n";
  for (int i = 1; i <= 10000; ++i) ini += std::to_string(i) + "=第" + std::to_string(i) + "句\n";
  ini += "[Phrase2]\nnum=-1\n1=不该出现\n";
  WritePhrases(ini);
  chat::LoadPhrases(*c);
  const platform::Form& phrases = c->ui.form(frm::huifu);
  const auto& list1 = phrases.Find(ctl::huifu::List1)->Items();
  ASSERT_EQ(list1.size(), static_cast<std::size_t>(chat::kMaxPhrases)) << "as many as a phrase number can carry";
  EXPECT_EQ(list1.front(), "第1句");
  EXPECT_EQ(list1.back(), "第255句");
  EXPECT_TRUE(phrases.Find(ctl::huifu::List2)->Items().empty());
  Say(1, "p1说道: 第255句", 1, 255);
  ASSERT_NE(Bubble(1), nullptr);
  EXPECT_EQ(Bubble(1)->Get(ctl::frmSpeakBox::labPhrase).Caption(), "第255句");
}

TEST_F(ChatBadInput, ARandomStreamOfChatPacketsKeepsTheChatSound) {
  WritePhrases("[Phrase1]\nnum=3\n1=甲\n2=乙\n3=丙\n[Phrase2]\nnum=3\n1=丁\n2=戊\n3=己\n");
  std::mt19937 rng(14);
  auto byte = [&] { return static_cast<std::uint8_t>(rng() & 0xFF); };
  for (int round = 0; round < 1500; ++round) {
    Packet p = Make(cmd::kChat, 0);
    for (std::size_t i = 4; i < kPacketSize; ++i) p[i] = byte();
    p[off::kCmd] = cmd::kChat;
    if (round % 5 == 0) wire::PutU32BE(p, off::kPropMarker, 272);  // now and then a prop packet
    Receive(p);
    if (round % 7 == 0) Fade(rng() % 50);
    if (round % 11 == 0) {
      Type(std::string(1, static_cast<char>('a' + round % 26)));
      Enter();
    }
    ASSERT_LE(TableLine(0).size(), 1u);
    ASSERT_LE(TableLine(1).size(), 1u);
    for (int seat = 0; seat < 4; ++seat)
      if (platform::Form* b = Bubble(seat)) {
        ASSERT_TRUE(b->Alpha() >= 0 && b->Alpha() <= 255);
      }
  }
  EXPECT_FALSE(History().empty());
}

}  // namespace
}  // namespace tavrel::testing
