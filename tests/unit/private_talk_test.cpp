// Private talk: the prefix an avatar click puts into the chat line, the private
// send, another avatar replacing the prefix, the own avatar, and the one
// Backspace that takes the whole prefix.
#include <gtest/gtest.h>

#include "chat_fixture.h"

namespace tavrel::testing {
namespace {

struct PrivateTalk : ChatFixture {
  void Avatar(int index) { Event(c->main(), ctl::Tou, platform::UiEventType::Click, index); }
};

TEST_F(PrivateTalk, AnAvatarClickStartsAPrivateLineThatGoesToThatPlayer) {
  c->main().SetFocus(ctl::Pic1.name);
  Avatar(2);
  EXPECT_EQ(Line().Text(), "你对p2说: ");
  EXPECT_EQ(Line().SelStart(), 7) << "the caret at the end";
  EXPECT_EQ(c->main().FocusControl(), "Chat");
  EXPECT_EQ(c->chat.PrivateTarget, Mask(2));

  Type(Line().Text() + "一起吃饭?");
  Enter();
  ASSERT_EQ(SentChats().size(), 1u);
  EXPECT_EQ(TextOf(SentChats()[0]), "p0对p2说: 一起吃饭?");
  EXPECT_EQ(ValueOf(SentChats()[0], 1), Mask(2));
  EXPECT_EQ(ValueOf(SentChats()[0], 0), 0);
  EXPECT_TRUE(c->chat.PrivatePrefix.empty());
  EXPECT_EQ(c->chat.PrivateTarget, Mask(2)) << "kept until a new prefix is set";

  // The next line is public again.
  platform.Advance(chat::kChatRateMs);
  Type("大家好");
  Enter();
  EXPECT_EQ(TextOf(SentChats()[1]), "p0说道: 大家好");
  EXPECT_EQ(ValueOf(SentChats()[1], 1), 0);
}

TEST_F(PrivateTalk, AnotherAvatarReplacesThePrefixAndKeepsTheTypedText) {
  Type("先打的字");
  Avatar(1);
  EXPECT_EQ(Line().Text(), "你对p1说: 先打的字");
  Type(Line().Text() + "和后打的");
  Avatar(3);
  EXPECT_EQ(Line().Text(), "你对p3说: 先打的字和后打的");
  EXPECT_EQ(c->chat.PrivateTarget, Mask(3));
  Button(0);
  EXPECT_EQ(TextOf(SentChats().at(0)), "p0对p3说: 先打的字和后打的");
  EXPECT_EQ(ValueOf(SentChats().at(0), 1), Mask(3));
}

TEST_F(PrivateTalk, TheOwnAvatarAnEmptySeatOrAClosedTableDoNothing) {
  Type("原样");
  Avatar(0);
  c->table.custom[2].name.clear();
  Avatar(2);
  c->session.TableActive = false;
  Avatar(1);
  EXPECT_EQ(Line().Text(), "原样");
  EXPECT_TRUE(c->chat.PrivatePrefix.empty());
}

TEST_F(PrivateTalk, ALineOfOnlyThePrefixIsNotSent) {
  for (const char* extra : {"", "   "}) {
    Avatar(1);
    Type(Line().Text() + extra);
    Enter();
    EXPECT_TRUE(SentChats().empty()) << '"' << extra << '"';
    platform.Advance(chat::kChatRateMs);
  }
  Avatar(1);
  Button(0);
  EXPECT_TRUE(SentChats().empty());
  EXPECT_EQ(Line().Text(), "你对p1说: ") << "the button leaves a line it does not send";
}

TEST_F(PrivateTalk, OneBackspaceIntoThePrefixTakesTheWholePrefixAndNothingElse) {
  Avatar(2);
  Type(Line().Text() + "ab");
  // In the typed text: an ordinary Backspace.
  Backspace();
  EXPECT_EQ(Line().Text(), "你对p2说: a");
  // Right after the prefix: the prefix goes, the rest stays.
  Line().NoteSelStart(7);
  Backspace();
  EXPECT_EQ(Line().Text(), "a");
  EXPECT_TRUE(c->chat.PrivatePrefix.empty());
  EXPECT_EQ(c->chat.PrivateTarget, 0);
  EXPECT_EQ(Line().SelStart(), 1);
  // Inside the prefix.
  Avatar(1);
  Line().NoteSelStart(3);
  Backspace();
  EXPECT_EQ(Line().Text(), "a");
  // At the very start a Backspace deletes nothing, so nothing is marked.
  Avatar(1);
  Line().NoteSelStart(0);
  Backspace();
  EXPECT_EQ(Line().Text(), "你对p1说: a");
  EXPECT_FALSE(c->chat.RemovePrefix);
}

}  // namespace
}  // namespace tavrel::testing
