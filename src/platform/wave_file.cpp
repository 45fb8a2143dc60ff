#include "platform/wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace tavrel::platform {
namespace {

// The chunks before "data" must lie within this head of the file.
constexpr std::size_t kHeadBytes = 64 * 1024;

constexpr std::uint16_t kFormatPcm = 1, kFormatFloat = 3, kFormatExtensible = 0xFFFE;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
bool Tag(const std::uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

struct Header {
  std::uint16_t format = 0;
  int channels = 0;
  int rate = 0;
  int bits = 0;
  int blockAlign = 0;
  std::uint64_t dataOffset = 0;
  std::uint64_t dataBytes = 0;
};

// Walks the chunks in the head of a file of fileSize bytes up to "data".
WaveError ParseHeader(const std::uint8_t* head, std::size_t headSize, std::uint64_t fileSize, Header& h) {
  if (fileSize == 0) return WaveError::Empty;
  if (headSize < 12 || !Tag(head, "RIFF") || !Tag(head + 8, "WAVE")) return WaveError::NotWave;
  bool haveFormat = false;
  std::uint64_t at = 12;
  while (true) {
    if (at + 8 > fileSize) return haveFormat ? WaveError::Truncated : WaveError::NotWave;
    if (at + 8 > headSize) return WaveError::Unsupported;
    const std::uint8_t* chunk = head + at;
    const std::uint64_t size = U32(chunk + 4);
    if (Tag(chunk, "fmt ")) {
      if (size < 16 || at + 8 + size > headSize) return WaveError::NotWave;
      const std::uint8_t* f = chunk + 8;
      h.format = U16(f);
      h.channels = U16(f + 2);
      h.rate = static_cast<int>(std::min<std::uint32_t>(U32(f + 4), 1u << 30));
      h.blockAlign = U16(f + 12);
      h.bits = U16(f + 14);
      if (h.format == kFormatExtensible) {
        if (size < 40) return WaveError::NotWave;
        h.format = U16(f + 24);  // the first two bytes of the sub-format's GUID
      }
      haveFormat = true;
    } else if (Tag(chunk, "data")) {
      if (!haveFormat) return WaveError::NotWave;
      h.dataOffset = at + 8;
      h.dataBytes = size;
      return WaveError::None;
    }
    at += 8 + size + (size & 1);
  }
}

WaveError Check(const Header& h, std::uint64_t fileSize) {
  const bool pcm = h.format == kFormatPcm && (h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32);
  const bool fl = h.format == kFormatFloat && h.bits == 32;
  if (!pcm && !fl) return WaveError::Unsupported;
  if (h.channels < 1 || h.channels > 2 || h.rate < kMinWaveRate || h.rate > kMaxWaveRate) return WaveError::Unsupported;
  if (h.blockAlign != h.channels * h.bits / 8) return WaveError::Unsupported;
  // A stream written without knowing its length, or a file cut short.
  if (h.dataOffset + h.dataBytes > fileSize) return WaveError::Truncated;
  if (h.dataBytes < static_cast<std::uint64_t>(h.blockAlign)) return WaveError::NoSamples;
  const double seconds = static_cast<double>(h.dataBytes / h.blockAlign) / h.rate;
  if (seconds > kMaxWaveSeconds) return WaveError::TooLong;
  return WaveError::None;
}

std::int16_t Sample(const std::uint8_t* p, const Header& h) {
  switch (h.bits) {
    case 8: return static_cast<std::int16_t>((p[0] - 128) * 256);
    case 16: return static_cast<std::int16_t>(U16(p));
    case 24: return static_cast<std::int16_t>(U16(p + 1));
    default: break;
  }
  if (h.format == kFormatPcm) return static_cast<std::int16_t>(U16(p + 2));
  float v;
  const std::uint32_t bits = U32(p);
  std::memcpy(&v, &bits, sizeof v);
  if (!std::isfinite(v)) return 0;
  return static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
}

WaveResult Decode(const Header& h, const std::uint8_t* data) {
  auto sound = std::make_shared<WaveSound>();
  sound->sampleRate = h.rate;
  sound->channels = h.channels;
  const std::size_t frames = static_cast<std::size_t>(h.dataBytes / h.blockAlign);
  const std::size_t bytesPerSample = static_cast<std::size_t>(h.bits / 8);
  sound->samples.resize(frames * h.channels);
  for (std::size_t i = 0; i < sound->samples.size(); ++i) sound->samples[i] = Sample(data + i * bytesPerSample, h);
  return {std::move(sound), WaveError::None};
}

}  // namespace

const char* WaveErrorText(WaveError e) {
  switch (e) {
    case WaveError::None: return "ok";
    case WaveError::Missing: return "missing";
    case WaveError::Empty: return "empty";
    case WaveError::TooLarge: return "too large";
    case WaveError::NotWave: return "not a wave file";
    case WaveError::Unsupported: return "unsupported format";
    case WaveError::Truncated: return "cut short";
    case WaveError::NoSamples: return "no samples";
    case WaveError::TooLong: return "too long";
  }
  return "?";
}

WaveResult DecodeWave(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxWaveFileBytes) return {nullptr, WaveError::TooLarge};
  Header h;
  WaveError e = ParseHeader(data, std::min(size, kHeadBytes), size, h);
  if (e == WaveError::None) e = Check(h, size);
  if (e != WaveError::None) return {nullptr, e};
  return Decode(h, data + h.dataOffset);
}

WaveResult ReadWaveFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return {nullptr, WaveError::Missing};
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return {nullptr, WaveError::Missing};
  const std::streamoff end = in.tellg();
  if (end < 0) return {nullptr, WaveError::Missing};
  const auto fileSize = static_cast<std::uint64_t>(end);
  if (fileSize == 0) return {nullptr, WaveError::Empty};
  if (fileSize > kMaxWaveFileBytes) return {nullptr, WaveError::TooLarge};
  std::vector<std::uint8_t> head(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kHeadBytes)));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size())))
    return {nullptr, WaveError::Truncated};
  Header h;
  WaveError e = ParseHeader(head.data(), head.size(), fileSize, h);
  if (e == WaveError::None) e = Check(h, fileSize);
  if (e != WaveError::None) return {nullptr, e};
  std::vector<std::uint8_t> data(static_cast<std::size_t>(h.dataBytes));
  in.seekg(static_cast<std::streamoff>(h.dataOffset));
  if (!in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size())))
    return {nullptr, WaveError::Truncated};
  return Decode(h, data.data());
}

WaveResult WaveCache::Get(const std::string& path) {
  if (auto it = sounds_.find(path); it != sounds_.end()) return {it->second, WaveError::None};
  WaveResult r = ReadWaveFile(path);
  if (!r.sound) return r;
  if (bytes_ + r.sound->Bytes() > budget_) {
    // Keep what is playing (held elsewhere too); drop the rest.
    for (auto it = sounds_.begin(); it != sounds_.end();) {
      if (it->second.use_count() == 1) {
        bytes_ -= it->second->Bytes();
        it = sounds_.erase(it);
      } else {
        ++it;
      }
    }
  }
  bytes_ += r.sound->Bytes();
  sounds_.emplace(path, r.sound);
  return r;
}

}  // namespace tavrel::platform
