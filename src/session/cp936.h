#pragma once
// Code page 936 (GBK) text, the encoding of every text in packets and files.
// Inside the program text is UTF-8; these helpers convert at the edges.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tavrel::text {

// Replacement for a byte sequence that is no character: U+FFFD.
inline constexpr char32_t kReplacement = 0xFFFD;
// Stand-in for a character that code page 936 cannot express.
inline constexpr char kUnmappable = '?';

// GBK bytes to UTF-8. A byte below 0x80 is one character; a lead byte takes the
// next byte with it. A pair that maps to nothing becomes one U+FFFD; a lead byte
// whose next byte cannot be a trail byte (or is missing) becomes U+FFFD on its own
// and the next byte is read afresh, so nothing that follows is swallowed.
std::string Cp936ToUtf8(std::string_view gbk);
// UTF-8 to GBK; characters outside the code page become '?', broken UTF-8 too.
std::string Utf8ToCp936(std::string_view utf8);

// Decoded code points of UTF-8 (broken sequences give U+FFFD per byte).
std::u32string DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(std::u32string_view chars);
void AppendUtf8(std::string& out, char32_t c);

// Counts and cuts in characters, not bytes.
std::size_t CharCount(std::string_view utf8);
std::string FirstChars(std::string_view utf8, std::size_t n);
std::string LastChars(std::string_view utf8, std::size_t n);
// Spaces in front until the text is n characters long (longer text unchanged).
std::string PadLeft(std::string_view utf8, std::size_t n);
// Spaces after until the text is n characters long (longer text unchanged).
std::string PadRight(std::string_view utf8, std::size_t n);
// Spaces (only ' ') trimmed from both ends.
std::string TrimSpaces(std::string_view s);

// Fixed text fields of packets. Both stop at the first zero byte or the field end.
// Single-byte text: one character per byte (bytes of 0x80 and more as U+0080..U+00FF).
std::string SingleByteField(std::span<const std::uint8_t> field);
// GBK text field.
std::string GbkField(std::span<const std::uint8_t> field);
// Single-byte encoding of a name: one byte per character (characters above U+00FF as '?').
std::string ToSingleByte(std::string_view utf8);

}  // namespace tavrel::text
