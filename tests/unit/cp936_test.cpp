// Code page 936 text: conversions both ways and the repair of broken bytes.
#include <gtest/gtest.h>

#include "session/cp936.h"

namespace tavrel::text {
namespace {

TEST(Cp936, RoundTripsChineseAndAscii) {
  const std::string samples[] = {"", "abc", "麻将", "Tavrel麻将游戏已经运行！", "东南西北中發白", "金币 -1500"};
  for (const auto& s : samples) EXPECT_EQ(Cp936ToUtf8(Utf8ToCp936(s)), s) << s;
}

TEST(Cp936, EncodesTwoBytesPerChineseCharacter) {
  EXPECT_EQ(Utf8ToCp936("麻将"), std::string("\xC2\xE9\xBD\xAB"));
  EXPECT_EQ(Utf8ToCp936("a中"), std::string("a\xD6\xD0"));
}

TEST(Cp936, BrokenSequencesNeverSwallowFollowingCharacters) {
  struct Case {
    std::string bytes;
    std::string expected;
  } cases[] = {
      {"\xD6", "\xEF\xBF\xBD"},                 // truncated lead byte at the end
      {"\xD6" "a", "\xEF\xBF\xBD" "a"},          // 'a' (0x61) is a valid trail byte: pair unmapped or mapped, one char
      {"\xD6\x30" "b", "\xEF\xBF\xBD" "0b"},     // 0x30 cannot be a trail: lead alone is replaced
      {"\xFF" "x", "\xEF\xBF\xBD" "x"},          // 0xFF is no lead byte
      {"\xD6\xD0\xD6", "中\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    std::string out = Cp936ToUtf8(c.bytes);
    if (c.bytes == "\xD6" "a") {
      // Either a character or one replacement, but exactly one character in all.
      EXPECT_EQ(CharCount(out), 1u);
      continue;
    }
    EXPECT_EQ(out, c.expected);
  }
}

TEST(Cp936, UnmappableAndBrokenUtf8BecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp936("a\xF0\x9F\x98\x80" "b"), "a?b");  // an emoji has no code in the page
  EXPECT_EQ(Utf8ToCp936("a\xC3"), "a?");                    // truncated UTF-8
}

TEST(Cp936, CountsAndCutsInCharacters) {
  EXPECT_EQ(CharCount("麻将ab"), 4u);
  EXPECT_EQ(FirstChars("麻将ab", 3), "麻将a");
  EXPECT_EQ(LastChars("麻将ab", 3), "将ab");
  EXPECT_EQ(PadLeft("-1500", 9), "    -1500");
  EXPECT_EQ(PadRight("卡张", 10), "卡张        ");
  EXPECT_EQ(PadRight("十个字符十个字符十个", 10), "十个字符十个字符十个");
}

TEST(Cp936, PacketTextFields) {
  const std::uint8_t name[16] = {'a', 'b', 'c', 0, 'x'};
  EXPECT_EQ(SingleByteField(name), "abc");
  std::uint8_t full[16];
  for (int i = 0; i < 16; ++i) full[i] = static_cast<std::uint8_t>('a' + i);
  EXPECT_EQ(SingleByteField(full).size(), 16u);
  const std::uint8_t gbk[6] = {0xD6, 0xD0, 0xCE, 0xC4, 0, 0xD6};
  EXPECT_EQ(GbkField(gbk), "中文");
}

}  // namespace
}  // namespace tavrel::text
