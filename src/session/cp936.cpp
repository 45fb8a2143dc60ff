#include "session/cp936.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#include <vector>

namespace tavrel::text {
namespace {

constexpr bool IsLead(std::uint8_t b) { return b >= 0x81 && b <= 0xFE; }
constexpr bool IsTrail(std::uint8_t b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
constexpr int kTrailCount = 0xFE - 0x40 + 1;

// Both directions of the code page as tables, built once from glibc's converter.
// Immutable after construction; per-character iconv calls would be far slower.
struct Cp936Tables {
  std::vector<char32_t> pairToChar;      // (lead-0x81)*kTrailCount + (trail-0x40) -> code point, 0 = none
  std::vector<std::uint16_t> charToCode; // BMP code point -> GBK code (1 or 2 bytes), 0 = none
  char32_t byte80 = 0;                   // single byte 0x80, if the code page maps it

  Cp936Tables() : pairToChar((0xFE - 0x81 + 1) * kTrailCount, 0), charToCode(0x10000, 0) {
    iconv_t cd = iconv_open("UTF-32LE", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    auto convert = [&](const char* in, std::size_t len) -> char32_t {
      char inbuf[2] = {in[0], len > 1 ? in[1] : '\0'};
      char outbuf[8];
      char* ip = inbuf;
      char* op = outbuf;
      std::size_t il = len, ol = sizeof outbuf;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1) || il != 0 || ol != 4) return 0;
      auto* u = reinterpret_cast<unsigned char*>(outbuf);
      return char32_t(u[0]) | char32_t(u[1]) << 8 | char32_t(u[2]) << 16 | char32_t(u[3]) << 24;
    };
    const char b80 = static_cast<char>(0x80);
    byte80 = convert(&b80, 1);
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char32_t c = convert(in, 2);
        pairToChar[(lead - 0x81) * kTrailCount + (trail - 0x40)] = c;
        if (c != 0 && c < 0x10000 && charToCode[c] == 0) charToCode[c] = static_cast<std::uint16_t>(lead << 8 | trail);
      }
    }
    if (byte80 != 0 && byte80 < 0x10000 && charToCode[byte80] == 0) charToCode[byte80] = 0x80;
    iconv_close(cd);
  }
};

const Cp936Tables& Tables() {
  static const Cp936Tables tables;
  return tables;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::u32string DecodeUtf8(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<std::uint8_t>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      const auto t = static_cast<std::uint8_t>(s[i + k]);
      if ((t & 0xC0) != 0x80) { ok = false; break; }
      c = (c << 6) | (t & 0x3F);
    }
    if (!ok) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    out.push_back(c);
    i += len;
  }
  return out;
}

std::string EncodeUtf8(std::u32string_view chars) {
  std::string out;
  out.reserve(chars.size());
  for (char32_t c : chars) AppendUtf8(out, c);
  return out;
}

std::string Cp936ToUtf8(std::string_view gbk) {
  const auto& t = Tables();
  std::string out;
  out.reserve(gbk.size() + gbk.size() / 2);
  std::size_t i = 0;
  while (i < gbk.size()) {
    const auto b = static_cast<std::uint8_t>(gbk[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
    } else if (b == 0x80) {
      AppendUtf8(out, t.byte80 ? t.byte80 : kReplacement);
      ++i;
    } else if (IsLead(b) && i + 1 < gbk.size() && IsTrail(static_cast<std::uint8_t>(gbk[i + 1]))) {
      const auto trail = static_cast<std::uint8_t>(gbk[i + 1]);
      char32_t c = t.pairToChar[(b - 0x81) * kTrailCount + (trail - 0x40)];
      AppendUtf8(out, c ? c : kReplacement);
      i += 2;
    } else {
      AppendUtf8(out, kReplacement);
      ++i;
    }
  }
  return out;
}

std::string Utf8ToCp936(std::string_view utf8) {
  const auto& t = Tables();
  std::string out;
  out.reserve(utf8.size());
  for (char32_t c : DecodeUtf8(utf8)) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    std::uint16_t code = c < 0x10000 ? t.charToCode[c] : 0;
    if (code == 0) {
      out.push_back(kUnmappable);
    } else if (code < 0x100) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return out;
}

std::size_t CharCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8)
    if ((static_cast<std::uint8_t>(c) & 0xC0) != 0x80) ++n;
  return n;
}

std::string FirstChars(std::string_view utf8, std::size_t n) {
  std::u32string chars = DecodeUtf8(utf8);
  if (chars.size() > n) chars.resize(n);
  return EncodeUtf8(chars);
}

std::string LastChars(std::string_view utf8, std::size_t n) {
  std::u32string chars = DecodeUtf8(utf8);
  if (chars.size() > n) chars.erase(0, chars.size() - n);
  return EncodeUtf8(chars);
}

std::string PadLeft(std::string_view utf8, std::size_t n) {
  std::size_t count = CharCount(utf8);
  std::string out;
  if (count < n) out.assign(n - count, ' ');
  out.append(utf8);
  return out;
}

std::string PadRight(std::string_view utf8, std::size_t n) {
  std::string out(utf8);
  std::size_t count = CharCount(utf8);
  if (count < n) out.append(n - count, ' ');
  return out;
}

std::string TrimSpaces(std::string_view s) {
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  std::size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

std::string SingleByteField(std::span<const std::uint8_t> field) {
  std::string out;
  for (std::uint8_t b : field) {
    if (b == 0) break;
    AppendUtf8(out, b);
  }
  return out;
}

std::string GbkField(std::span<const std::uint8_t> field) {
  std::size_t n = 0;
  while (n < field.size() && field[n] != 0) ++n;
  return Cp936ToUtf8(std::string_view(reinterpret_cast<const char*>(field.data()), n));
}

std::string ToSingleByte(std::string_view utf8) {
  std::string out;
  for (char32_t c : DecodeUtf8(utf8)) out.push_back(c <= 0xFF ? static_cast<char>(c) : kUnmappable);
  return out;
}

}  // namespace tavrel::text
