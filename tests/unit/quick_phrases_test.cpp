// Quick phrases: the lists from chat.ini, the phrase window, a phrase sent with
// its number (privately when a private prefix stands in the chat line), and a
// received phrase's bubble and voice.
#include <gtest/gtest.h>

#include <filesystem>

#include "chat/quick_phrases.h"
#include "chat_fixture.h"

namespace tavrel::testing {
namespace {

struct QuickPhrases : ChatFixture {
  platform::Form& Window() { return c->ui.form(frm::huifu); }
  platform::Control& List(int i) { return Window().Get(i == 1 ? ctl::huifu::List1 : ctl::huifu::List2); }
  std::vector<std::string> Items(int i) {
    chat::LoadPhrases(*c);
    return List(i).Items();
  }
  void DoubleClick(int list, int index) {
    chat::LoadPhrases(*c);
    List(list).SetListIndex(index);
    Event(Window(), list == 1 ? ctl::huifu::List1 : ctl::huifu::List2, platform::UiEventType::DblClick);
  }
  void Click(const platform::ControlName& button) { Event(c->main(), button, platform::UiEventType::Click); }
  std::string Phrases(int n1, int n2) {
    std::string ini = "[Phrase1]\nnum=" + std::to_string(n1) + "\n";
    for (int i = 1; i <= n1; ++i) ini += std::to_string(i) + "=一" + std::to_string(i) + "\n";
    ini += "[Phrase2]\nnum=" + std::to_string(n2) + "\n";
    for (int i = 1; i <= n2; ++i) ini += std::to_string(i) + "=二" + std::to_string(i) + "\n";
    return ini;
  }
};

TEST_F(QuickPhrases, WithoutChatIniBothListsAreEmptyAndADoubleClickSendsNothing) {
  EXPECT_TRUE(Items(1).empty());
  EXPECT_TRUE(Items(2).empty());
  DoubleClick(1, 0);
  DoubleClick(2, 0);
  EXPECT_TRUE(SentChats().empty());
}

TEST_F(QuickPhrases, TheListsFollowNumWhateverItHolds) {
  const struct {
    std::string ini;
    std::vector<std::string> list1;
  } cases[] = {
      {"[Phrase1]\nnum=3\n1=甲\n3=丙\n", {"甲", "", "丙"}},  // key 2 missing: an empty line
      {"[Phrase1]\n1=甲\n", {}},                              // no num
      {"[Phrase1]\nnum=-1\n1=甲\n", {}},
      {"[Phrase1]\nnum=abc\n1=甲\n", {}},
      {"[Phrase1]\nnum=2abc\n1=甲\n2=乙\n3=丙\n", {"甲", "乙"}},
      {"[Phrase1]\nnum=99999999999999999999\n1=甲\n", std::vector<std::string>(255)},
  };
  for (const auto& k : cases) {
    WritePhrases(k.ini);
    c->chat.PhrasesLoaded = false;
    auto list = Items(1);
    if (list.size() == 255) list.assign(255, std::string());  // only the count matters for the huge num
    EXPECT_EQ(list, k.list1) << k.ini;
  }
}

TEST_F(QuickPhrases, TheShippedChatIniHasTenPhrasesInEachList) {
  std::filesystem::copy_file(std::filesystem::path(TAVREL_SOURCE_DIR) / "assets/chat/chat.ini", folder / "chat.ini");
  const auto list1 = Items(1), list2 = Items(2);
  ASSERT_EQ(list1.size(), 10u);
  ASSERT_EQ(list2.size(), 10u);
  EXPECT_EQ(list1[0], "大家好，很高兴见到各位！");
  EXPECT_EQ(list2[9], "先走一步，各位玩好！");
  for (const auto& phrase : list1) EXPECT_FALSE(phrase.empty());
  for (const auto& phrase : list2) EXPECT_FALSE(phrase.empty());
}

TEST_F(QuickPhrases, ACodePage936ChatIniReadsToo) {
  WritePhrases("[Phrase1]\r\nnum=1\r\n1=\xc4\xe3\xba\xc3\r\n", false);  // 你好
  EXPECT_EQ(Items(1), std::vector<std::string>{"你好"});
}

TEST_F(QuickPhrases, TheButtonsOpenSwitchAndHideTheWindow) {
  WritePhrases(Phrases(2, 2));
  c->ui.form(frm::Talk).Show();
  Click(ctl::imgword1);
  EXPECT_FALSE(c->ui.form(frm::Talk).Visible()) << "the history gives way";
  ASSERT_TRUE(Window().Visible());
  EXPECT_TRUE(Window().Topmost());
  EXPECT_TRUE(List(1).Visible());
  EXPECT_FALSE(List(2).Visible());
  EXPECT_DOUBLE_EQ(Window().Bounds().left, 8 + 0.3 * 1024);
  Click(ctl::imgword2);
  EXPECT_TRUE(Window().Visible());
  EXPECT_TRUE(List(2).Visible());
  EXPECT_FALSE(List(1).Visible());
  Click(ctl::imgword2);
  EXPECT_FALSE(Window().Visible());
  Click(ctl::imgword2);
  EXPECT_TRUE(Window().Visible());
  EXPECT_TRUE(List(2).Visible());
  Event(Window(), ctl::huifu::Label1, platform::UiEventType::Click);
  EXPECT_FALSE(Window().Visible());
}

TEST_F(QuickPhrases, APhraseGoesWithItsNumberAndWhatWasTypedGivesWay) {
  WritePhrases(Phrases(3, 3));
  Type("打了一半");
  Click(ctl::imgword1);
  DoubleClick(1, 2);
  ASSERT_EQ(SentChats().size(), 1u);
  const Packet p = SentChats()[0];
  EXPECT_EQ(TextOf(p), "p0说道: 一3");
  EXPECT_EQ(ValueOf(p, 0), 1);
  EXPECT_EQ(ValueOf(p, 1), 0);
  EXPECT_EQ(ValueOf(p, 3), 3);
  EXPECT_EQ(Line().Text(), "");
  EXPECT_FALSE(Window().Visible());
  EXPECT_EQ(c->main().FocusControl(), "Chat");
  EXPECT_TRUE(platform.simAudio().played.empty()) << "list 1 plays no own voice";

  // No rate limit, and list 2 plays the own voice for the phrase.
  DoubleClick(2, 0);
  ASSERT_EQ(SentChats().size(), 2u);
  EXPECT_EQ(ValueOf(SentChats()[1], 0), 2);
  EXPECT_EQ(ValueOf(SentChats()[1], 3), 1);
  ASSERT_FALSE(platform.simAudio().played.empty());
  EXPECT_TRUE(platform.simAudio().played.back().path.ends_with("a1.wav")) << platform.simAudio().played.back().path;
}

TEST_F(QuickPhrases, APhraseSentWhileAPrivatePrefixStandsGoesToThatPlayerOnly) {
  WritePhrases(Phrases(2, 2));
  Event(c->main(), ctl::Tou, platform::UiEventType::Click, 3);
  DoubleClick(1, 1);
  ASSERT_EQ(SentChats().size(), 1u);
  EXPECT_EQ(TextOf(SentChats()[0]), "p0对p3说: 一2");
  EXPECT_EQ(ValueOf(SentChats()[0], 1), Mask(3));
  EXPECT_TRUE(c->chat.PrivatePrefix.empty());
}

TEST_F(QuickPhrases, AReceivedPhraseShowsTheLocalListsEntryInABubbleAndPlaysTheVoice) {
  WritePhrases(Phrases(3, 3));
  Say(1, "p1说道: 别人的文字", 1, 2);
  platform::Form* bubble = Bubble(1);
  ASSERT_NE(bubble, nullptr);
  EXPECT_TRUE(bubble->Visible());
  EXPECT_EQ(bubble->Get(ctl::frmSpeakBox::labPhrase).Caption(), "一2") << "the local list, not the packet";
  EXPECT_EQ(History().back(), "p1说道: 别人的文字") << "the line itself as it came";
  ASSERT_EQ(platform.simAudio().played.size(), 1u);
  EXPECT_TRUE(platform.simAudio().played[0].path.ends_with("00102.wav"));
  EXPECT_EQ(platform.simAudio().played[0].channel, platform::VoiceChannel(1));

  // List 2: a bubble, no voice.
  Say(3, "p3说道: x", 2, 3);
  ASSERT_NE(Bubble(3), nullptr);
  EXPECT_EQ(Bubble(3)->Get(ctl::frmSpeakBox::labPhrase).Caption(), "二3");
  EXPECT_EQ(platform.simAudio().played.size(), 1u);
}

TEST_F(QuickPhrases, APhraseBeyondTheLocalListOrAnEmptyOneShowsNoBubbleButTheLine) {
  WritePhrases("[Phrase1]\nnum=3\n1=甲\n3=丙\n");
  for (const int number : {0, 2, 4, 255}) {
    Say(2, "p2说道: 第" + std::to_string(number), 1, number);
    EXPECT_EQ(Bubble(2), nullptr) << number;
    EXPECT_EQ(History().back(), "p2说道: 第" + std::to_string(number));
  }
}

TEST_F(QuickPhrases, NoBubbleWhileTheWindowIsMinimised) {
  WritePhrases(Phrases(3, 3));
  c->main().SetState(platform::WindowState::Minimized);
  Say(1, "p1说道: 一1", 1, 1);
  EXPECT_EQ(Bubble(1), nullptr);
  EXPECT_EQ(History().back(), "p1说道: 一1");
  c->main().SetState(platform::WindowState::Normal);
  Say(1, "p1说道: 一1", 1, 1);
  EXPECT_NE(Bubble(1), nullptr);
}

TEST_F(QuickPhrases, NoPhraseHandlingBeforeTheSeatsAreKnown) {
  WritePhrases(Phrases(3, 3));
  c->table.custom[0].seat = 0;
  Say(1, "p1说道: 一1", 1, 1);
  Receive(ChatPacket(0, "无座位", 1, 0, 1));
  for (int seat = 0; seat < 4; ++seat) EXPECT_EQ(Bubble(seat), nullptr) << seat;
  EXPECT_EQ(History().size(), 2u);
}

}  // namespace
}  // namespace tavrel::testing
