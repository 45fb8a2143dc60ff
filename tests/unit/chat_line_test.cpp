// The chat line: the Enter-send with its rate limit, the send button, the
// spectator, what a received line becomes in the history and on the table, the
// history's wrap and its emptying, the chat button's blink and the history window.
#include <gtest/gtest.h>

#include "chat_fixture.h"
#include "fake_prop_plugin.h"

namespace tavrel::testing {
namespace {

using chat::WrapIntoList;

struct ChatLine : ChatFixture {};

std::vector<std::string> Wrapped(const std::string& text, int width = chat::kHistoryWidth) {
  platform::Form form("f");
  platform::Control& list = form.Get(ctl::Talk::Text1);
  WrapIntoList(list, text, width);
  return list.Items();
}

// The lines joined again: each continuation without its leading space.
std::string Unwrapped(const std::vector<std::string>& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) out += i == 0 ? lines[i] : lines[i].substr(1);
  return out;
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(WrapIntoList, LinesOfTheWidthWithContinuationSpacesAndNothingLost) {
  const std::string a46 = Repeat("a", 46), a47 = Repeat("a", 47);
  const struct {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"abc", {"abc"}},
      {a46, {a46}},
      // The first line takes the character that reaches the width with it.
      {a47 + "xyz", {a47, " xyz"}},
      // Two-byte characters count 2: the 24th reaches 46.
      {Repeat("中", 30), {Repeat("中", 24), " " + Repeat("中", 6)}},
      // Later lines stop before the character that reaches the width; it opens the next.
      {a47 + Repeat("b", 45) + Repeat("c", 8), {a47, " " + Repeat("b", 45), " " + Repeat("c", 8)}},
      // The last character always ends the last line, even when it reaches the width.
      {a47 + Repeat("b", 46), {a47, " " + Repeat("b", 46)}},
      // Everything after a NUL is not part of the text.
      {std::string("ab\0cd", 5), {"ab"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Wrapped(c.text), c.lines) << c.text.size() << " bytes";
    const auto lines = Wrapped(c.text);
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i][0], ' ');
  }
}

TEST(WrapIntoList, LongMixedTextsLoseNoCharacter) {
  for (int n = 1; n <= 120; ++n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += i % 3 == 0 ? "麻" : i % 3 == 1 ? "x" : "将";
    EXPECT_EQ(Unwrapped(Wrapped(text)), text) << n;
  }
}

TEST_F(ChatLine, EnterSendsTheLineAndAHurriedSecondEnterOnlyWarns) {
  Type("你好");
  Enter();
  ASSERT_EQ(SentChats().size(), 1u);
  const Packet sent = SentChats()[0];
  EXPECT_EQ(TextOf(sent), "p0说道: 你好");
  EXPECT_EQ(sent[off::kSeat], Mask(0));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ValueOf(sent, i), 0) << i;
  EXPECT_EQ(Line().Text(), "");

  platform.Advance(chat::kChatRateMs - 50);
  Type("再说一句");
  Enter();
  EXPECT_EQ(SentChats().size(), 1u);
  EXPECT_EQ(Line().Text(), "再说一句") << "the typed text stays";
  EXPECT_EQ(History(), std::vector<std::string>{chat::kMsgTooFast});

  platform.Advance(50);
  Enter();
  ASSERT_EQ(SentChats().size(), 2u);
  EXPECT_EQ(TextOf(SentChats()[1]), "p0说道: 再说一句");
}

TEST_F(ChatLine, AnEmptyEnterArmsTheLimitTooButWarnsOnlyAboutTypedText) {
  Enter();
  EXPECT_TRUE(SentChats().empty());
  Enter();  // too fast, but nothing typed: no warning
  EXPECT_TRUE(History().empty());
  Type("x");
  Enter();
  EXPECT_TRUE(SentChats().empty());
  EXPECT_EQ(History(), std::vector<std::string>{chat::kMsgTooFast});
  platform.Advance(chat::kChatRateMs);
  Enter();
  EXPECT_EQ(SentChats().size(), 1u);
}

TEST_F(ChatLine, TheSendButtonSendsAtAnyRateAndKeepsALineItDoesNotSend) {
  for (const char* text : {"一", "二", "三"}) {
    Type(text);
    Button(0);
  }
  ASSERT_EQ(SentChats().size(), 3u);
  EXPECT_EQ(TextOf(SentChats()[2]), "p0说道: 三");
  // An Enter right after the button is not slowed by it.
  Type("四");
  Enter();
  EXPECT_EQ(SentChats().size(), 4u);

  Button(0);
  EXPECT_EQ(SentChats().size(), 4u) << "an empty line is not sent";
}

TEST_F(ChatLine, ASpectatorsEnterSendsNothingButTheButtonDoes) {
  c->table.SpectatorMode = round::kTrue;
  Type("观战");
  Enter();
  EXPECT_TRUE(SentChats().empty());
  EXPECT_EQ(Line().Text(), "观战");
  Button(0);
  EXPECT_EQ(SentChats().size(), 1u);
}

TEST_F(ChatLine, TheOwnNameIsShownAsYou) {
  c->players.Detail[0].Tag = "VIP";
  const struct {
    std::string received, shown;
  } cases[] = {
      {"p0说道: 大家好", "你说道: 大家好"},
      // Named twice: only the first occurrence.
      {"p1说道: p0快出牌, p0!", "p1说道: 你快出牌, p0!"},
      // The name with the own bracket tag, everywhere; then the first plain name.
      {"[VIP]p0来了, [VIP]p0走了, p0", "你来了, 你走了, 你"},
      // Lines of the system keep the plain name.
      {"系统提示: p0获得了宝箱", "系统提示: p0获得了宝箱"},
      {"系统提示: [VIP]p0获得了宝箱", "系统提示: 你获得了宝箱"},
      // The receiver of a private line.
      {"p1对p0说: 悄悄话", "p1对你说: 悄悄话"},
      {"p3说道: 与我无关", "p3说道: 与我无关"},
  };
  for (const auto& k : cases) {
    c->main().Get(ctl::Sysmsg, 0).Clear();
    c->main().Get(ctl::Sysmsg, 1).Clear();
    Say(1, k.received);
    EXPECT_EQ(History().back(), k.shown);
    EXPECT_EQ(TableLine(0).back(), k.shown);
  }
}

TEST_F(ChatLine, AClientWithoutItsOwnNameShowsLinesUnchanged) {
  c->table.custom[0].name.clear();
  Say(1, "p1说道: 你好");
  EXPECT_EQ(History().back(), "p1说道: 你好");
}

TEST_F(ChatLine, TheHistoryIsEmptiedAtTheFirstKeyAfterItPassedAHundredLines) {
  for (const int lines : {100, 101}) {
    chat::History(*c).Clear();
    for (int i = 0; i < lines; ++i) Say(1, "p1说道: " + std::to_string(i));
    EXPECT_EQ(History().size(), static_cast<std::size_t>(lines)) << "not when it passes";
    Key('a');
    EXPECT_EQ(History().size(), lines > chat::kHistoryLimit ? 0u : static_cast<std::size_t>(lines)) << lines;
  }
}

TEST_F(ChatLine, TheTableShowsTheTwoNewestLinesTheNewestBelow) {
  Say(1, "p1说道: 一");
  EXPECT_EQ(TableLine(0), std::vector<std::string>{"p1说道: 一"});
  EXPECT_TRUE(TableLine(1).empty());
  Say(2, "p2说道: 二");
  Say(3, "p3说道: 三");
  EXPECT_EQ(TableLine(0), std::vector<std::string>{"p2说道: 二"});
  EXPECT_EQ(TableLine(1), std::vector<std::string>{"p3说道: 三"});
  // Forty-five characters on the table, the whole line in the history.
  const std::string longLine = "p1说道: " + Repeat("长", 60);
  Say(1, longLine);
  EXPECT_EQ(TableLine(1).back(), text::FirstChars(longLine, chat::kTableLineChars));
  const auto history = History();
  EXPECT_EQ(Unwrapped({history.end() - 3, history.end()}), longLine);
}

TEST_F(ChatLine, AnotherSeatsLineBlinksTheChatButtonEightHalfBlinks) {
  const int normal = view::ButtonPicture(*c, 1, false), hover = view::ButtonPicture(*c, 1, true);
  const platform::Control& button = *Find(ctl::AnNiu, 1);
  Say(0, "p0说道: 自己的话");
  Ticks(16);
  EXPECT_EQ(button.Picture(), normal) << "the own line does not blink";

  Say(2, "p2说道: 你好");
  EXPECT_TRUE(c->sched.BlinkOn);
  std::vector<int> seen;
  for (int run = 0; run < 10; ++run) {
    Ticks(8);
    seen.push_back(button.Picture() == hover ? 1 : 0);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 1, 0, 1, 0, 1, 0, 0, 0}));
  EXPECT_EQ(c->chat.BlinkCount, 0);
}

TEST_F(ChatLine, TheHistoryWindowTogglesOverTheTableAndClosesByItsLabelOrAltC) {
  platform::Form& talk = c->ui.form(frm::Talk);
  EXPECT_FALSE(talk.Visible());
  Button(1);
  ASSERT_TRUE(talk.Visible());
  EXPECT_TRUE(talk.Topmost());
  EXPECT_EQ(talk.Alpha(), chat::kTalkAlpha);
  // 0.3 and 0.66 of the table surface, which sits at (8, 20) in the framed window.
  EXPECT_DOUBLE_EQ(talk.Bounds().left, 8 + 0.3 * 1024);
  EXPECT_DOUBLE_EQ(talk.Bounds().top, 20 + 0.66 * 768);
  Button(1);
  EXPECT_FALSE(talk.Visible());

  Event(c->main(), ctl::Lbchat, platform::UiEventType::Click);
  EXPECT_TRUE(talk.Visible());
  Event(talk, ctl::Talk::Label1, platform::UiEventType::Click);
  EXPECT_FALSE(talk.Visible());

  Button(1);
  for (int key : {18, 67}) {
    platform::UiEvent e;
    e.type = platform::UiEventType::KeyDown;
    e.control = ctl::Talk::Text1.name;
    e.key = key;
    talk.Dispatch(e);
  }
  EXPECT_FALSE(talk.Visible());
}

TEST_F(ChatLine, InTheChatLineF1HidesTheWindowAndIsTheOnlyFKeyThePlugInGets) {
  FakePropPlugin plugin;
  plugin.Activate(*c);
  const std::vector<int>& forwarded = plugin.keys;
  c->ui.form(frm::Talk).Show();
  Type("半句");
  auto keyDown = [&](int key) {
    platform::UiEvent e;
    e.type = platform::UiEventType::KeyDown;
    e.control = ctl::Chat.name;
    e.key = key;
    c->main().Dispatch(e);
  };
  for (int key : {113, 114, 117, 65}) keyDown(key);
  EXPECT_TRUE(forwarded.empty()) << "F2..F6 stay with the text box";
  EXPECT_FALSE(c->view.BossKeyActive);

  keyDown(112);
  EXPECT_EQ(forwarded, std::vector<int>{112});
  EXPECT_TRUE(c->view.BossKeyActive);
  EXPECT_EQ(c->main().State(), platform::WindowState::Minimized);
  EXPECT_FALSE(c->ui.form(frm::Talk).Visible());
  EXPECT_EQ(Line().Text(), "半句") << "what was typed stays";
}

TEST_F(ChatLine, OnASmallScreenTheHistoryWindowTakesTheSmallFactors) {
  Build(800, 600);
  c->session.TableActive = true;
  Button(1);
  const platform::Form& talk = c->ui.form(frm::Talk);
  EXPECT_DOUBLE_EQ(talk.Bounds().left, 0.22 * 800);
  EXPECT_DOUBLE_EQ(talk.Bounds().top, 0.6 * 600);
}

TEST_F(ChatLine, ClosingTheTableClearsTheChat) {
  Say(1, "p1说道: 你好");
  c->session.TableActive = true;
  Type("没说完");
  c->chat.PrivatePrefix = "你对p1说: ";
  for (auto& step : c->hooks.closeTableSteps) step();
  EXPECT_TRUE(History().empty());
  EXPECT_EQ(Line().Text(), "");
  EXPECT_TRUE(c->chat.PrivatePrefix.empty());
  EXPECT_EQ(c->chat.BlinkCount, 0);
  EXPECT_EQ(Find(ctl::AnNiu, 1)->Picture(), view::ButtonPicture(*c, 1, false));
}

}  // namespace
}  // namespace tavrel::testing
