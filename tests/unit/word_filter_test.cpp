// The chat word filter: the fixed entries in their order, exact comparison, one
// pass per entry; the deployment's four entries ahead of them, read from its file.
#include <gtest/gtest.h>

#include <fstream>

#include "chat/word_filter.h"
#include "chat_fixture.h"

namespace tavrel::testing {
namespace {

using chat::FilterChat;
using Entries = std::array<std::string, chat::kDeploymentEntries>;

TEST(FilterChat, FixedEntriesAreCutOutInTheirOrder) {
  const struct {
    const char* text;
    const char* filtered;
  } cases[] = {
      {"婊子养的", ""},                       // entry 9 before entry 10: whole
      {"你这婊子养的东西", "你这东西"},
      {"婊子", ""},
      {"SHIT happens, Fuck", "SHIT happens, Fuck"},  // exact case only
      {"bullshitter fucking", "bullter ing"},      // cut out of longer words, the rest stays
      {"他他妈的妈的", "他妈的"},                  // what the removal joins stays
      {"他妈的她妈的它妈的淫色情黄色shitfuck法轮功", ""},
      {"黄色的花", "的花"},
      {"普通的一句话", "普通的一句话"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FilterChat(Entries{}, c.text), c.filtered) << c.text;
}

TEST(FilterChat, TheDeploymentsEntriesComeFirstAndEmptyOnesCutNothing) {
  // Applied after the fixed ones, "X他妈" would find nothing left to cut.
  EXPECT_EQ(FilterChat(Entries{"X他妈", "", "", ""}, "X他妈的"), "的");
  EXPECT_EQ(FilterChat(Entries{"甲乙", "丙", "", "丁"}, "甲乙丙丁戊"), "戊");
  EXPECT_EQ(FilterChat(Entries{}, "甲乙丙丁戊"), "甲乙丙丁戊");
}

struct FilterFile : ChatFixture {
  std::string Write(const std::string& bytes) {
    const std::string path = (folder / chat::kFilterFileName).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
};

TEST_F(FilterFile, OneExactStringALineInUtf8OrCodePage936) {
  const struct {
    std::string bytes;
    Entries entries;
  } cases[] = {
      {"甲乙\n丙丁\n", {"甲乙", "丙丁", "", ""}},
      {"\xEF\xBB\xBF甲乙\r\n\r\n 丙丁 \r\n", {"甲乙", " 丙丁 ", "", ""}},   // mark, CRLF, blank lines; spaces kept
      {"\xbc\xd7\xd2\xd2\n\xb1\xfb\n", {"甲乙", "丙", "", ""}},          // code page 936
      {"一\n二\n三\n四\n五\n", {"一", "二", "三", "四"}},                  // only four
      {"", {"", "", "", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(chat::ReadFilterFile(Write(c.bytes)), c.entries) << c.bytes;
  EXPECT_EQ(chat::ReadFilterFile((folder / "none.txt").string()), Entries{});
}

TEST_F(FilterFile, TheEntriesBesideTheProgramFilterShownLines) {
  Write("甲乙\n");
  chat::LoadFilterEntries(*c);
  Say(1, "p1说道: 甲乙丙");
  EXPECT_EQ(History().back(), "p1说道: 丙");
  // Only what is shown is filtered: the own line goes out as typed.
  Type("甲乙丙");
  Enter();
  EXPECT_EQ(TextOf(SentChats().at(0)), "p0说道: 甲乙丙");
  // A line of nothing but listed words is an empty line on the table, nothing in the history.
  const std::size_t before = History().size();
  Say(2, "他妈的婊子");
  EXPECT_EQ(History().size(), before);
  EXPECT_EQ(TableLine(1).back(), "");
}

}  // namespace
}  // namespace tavrel::testing
