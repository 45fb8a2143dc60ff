#include "session/wire.h"

#include <algorithm>

#include "session/cp936.h"

namespace tavrel::wire {

std::uint16_t U16BE(Bytes b, std::size_t off) {
  return static_cast<std::uint16_t>(U8(b, off) << 8 | U8At(b, off, 1));
}

std::int16_t I16BE(Bytes b, std::size_t off) { return static_cast<std::int16_t>(U16BE(b, off)); }

std::uint32_t U32BE(Bytes b, std::size_t off) {
  return std::uint32_t(U8(b, off)) << 24 | std::uint32_t(U8At(b, off, 1)) << 16 |
         std::uint32_t(U8At(b, off, 2)) << 8 | std::uint32_t(U8At(b, off, 3));
}

std::uint32_t U32LE(Bytes b, std::size_t off) {
  return std::uint32_t(U8(b, off)) | std::uint32_t(U8At(b, off, 1)) << 8 |
         std::uint32_t(U8At(b, off, 2)) << 16 | std::uint32_t(U8At(b, off, 3)) << 24;
}

std::uint64_t U64LE(Bytes b, std::size_t off) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | U8At(b, off, i);
  return v;
}

std::int64_t I64LE(Bytes b, std::size_t off) { return static_cast<std::int64_t>(U64LE(b, off)); }

double SignedAmount(Bytes b, std::size_t signOff) {
  double magnitude = static_cast<double>(U64LE(b, signOff + 1));
  return U8(b, signOff) != 0 ? -magnitude : magnitude;
}

void PutU16BE(MutableBytes b, std::size_t off, std::uint16_t v) {
  PutU8(b, off, static_cast<std::uint8_t>(v >> 8));
  PutU8At(b, off, 1, static_cast<std::uint8_t>(v));
}

void PutU32BE(MutableBytes b, std::size_t off, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) PutU8At(b, off, i, static_cast<std::uint8_t>(v >> (24 - 8 * i)));
}

void PutU32LE(MutableBytes b, std::size_t off, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) PutU8At(b, off, i, static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutU64LE(MutableBytes b, std::size_t off, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) PutU8At(b, off, i, static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutSignedAmount(MutableBytes b, std::size_t signOff, std::int64_t amount) {
  PutU8(b, signOff, amount < 0 ? 1 : 0);
  std::uint64_t magnitude = amount < 0 ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
  PutU64LE(b, signOff + 1, magnitude);
}

void PutBytes(MutableBytes b, std::size_t off, std::string_view bytes, std::size_t width) {
  std::size_t n = std::min(bytes.size(), width);
  for (std::size_t i = 0; i < n; ++i) PutU8At(b, off, i, static_cast<std::uint8_t>(bytes[i]));
}

void PutSingleByteText(MutableBytes b, std::size_t off, std::string_view utf8, std::size_t width) {
  PutBytes(b, off, text::ToSingleByte(utf8), width);
}

void PutGbkText(MutableBytes b, std::size_t off, std::string_view utf8, std::size_t width) {
  std::string gbk = text::Utf8ToCp936(utf8);
  // Never leave half of a two-byte character at the end of the field.
  std::size_t n = 0;
  while (n < gbk.size()) {
    std::size_t len = static_cast<std::uint8_t>(gbk[n]) >= 0x81 ? 2 : 1;
    if (n + len > width) break;
    n += len;
  }
  PutBytes(b, off, std::string_view(gbk).substr(0, n), width);
}

std::string SingleByteText(Bytes b, std::size_t off, std::size_t width) {
  if (off >= b.size()) return {};
  return text::SingleByteField(b.subspan(off, std::min(width, b.size() - off)));
}

std::string GbkText(Bytes b, std::size_t off, std::size_t width) {
  if (off >= b.size()) return {};
  return text::GbkField(b.subspan(off, std::min(width, b.size() - off)));
}

}  // namespace tavrel::wire
