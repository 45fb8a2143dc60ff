// Wave files as the sound device reads them: the formats it plays, decoded to 16-bit,
// and every kind of bad file refused from its header.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/wave_file.h"

namespace tavrel::testing {
namespace {

using platform::WaveError;
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void Tag(Bytes& b, const char* t) { b.insert(b.end(), t, t + 4); }

struct Format {
  unsigned format = 1, channels = 1, bits = 16;
  std::uint32_t rate = 22050;
  bool extensible = false;
};

// A wave file with the given samples' bytes; dataSize overrides the data chunk's size.
Bytes Wave(const Format& f, const Bytes& samples, long long dataSize = -1, bool listChunk = false) {
  Bytes b;
  Tag(b, "RIFF");
  Put32(b, 0);
  Tag(b, "WAVE");
  if (listChunk) {
    Tag(b, "LIST");
    Put32(b, 5);
    b.insert(b.end(), {'I', 'N', 'F', 'O', 'x', 0});  // odd size, padded
  }
  Tag(b, "fmt ");
  Put32(b, f.extensible ? 40 : 16);
  Put16(b, f.extensible ? 0xFFFE : f.format);
  Put16(b, f.channels);
  Put32(b, f.rate);
  Put32(b, f.rate * f.channels * f.bits / 8);
  Put16(b, f.channels * f.bits / 8);
  Put16(b, f.bits);
  if (f.extensible) {
    Put16(b, 22);
    Put16(b, f.bits);
    Put32(b, 0);
    Put16(b, f.format);
    for (int i = 0; i < 14; ++i) b.push_back(0);
  }
  Tag(b, "data");
  Put32(b, dataSize >= 0 ? static_cast<std::uint32_t>(dataSize) : static_cast<std::uint32_t>(samples.size()));
  b.insert(b.end(), samples.begin(), samples.end());
  const auto riff = static_cast<std::uint32_t>(b.size() - 8);
  for (int i = 0; i < 4; ++i) b[4 + i] = (riff >> (8 * i)) & 0xFF;
  return b;
}

platform::WaveResult Decode(const Bytes& b) { return platform::DecodeWave(b.data(), b.size()); }

TEST(WaveFile, FormatsItPlaysBecomeSixteenBitSamples) {
  struct Case {
    const char* what;
    Format format;
    Bytes samples;
    std::vector<std::int16_t> expected;
    bool list = false;
  } cases[] = {
      {"8-bit unsigned", {1, 1, 8}, {0, 128, 255}, {-32768, 0, 32512}},
      {"16-bit", {1, 1, 16}, {0x34, 0x12, 0xFF, 0xFF}, {0x1234, -1}},
      {"16-bit stereo", {1, 2, 16}, {1, 0, 2, 0, 3, 0, 4, 0}, {1, 2, 3, 4}},
      {"24-bit keeps the top", {1, 1, 24}, {0xAA, 0x34, 0x12}, {0x1234}},
      {"32-bit keeps the top", {1, 1, 32}, {0xAA, 0xBB, 0x34, 0x12}, {0x1234}},
      {"float", {3, 1, 32}, {0, 0, 0, 0x3F, 0, 0, 0x80, 0xBF, 0, 0, 0, 0x40}, {16384, -32767, 32767}},
      {"extensible 16-bit", {1, 1, 16, 22050, true}, {5, 0}, {5}},
      {"chunks before the format", {1, 1, 16}, {7, 0}, {7}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto r = Decode(Wave(c.format, c.samples, -1, c.list));
    ASSERT_TRUE(r.sound) << platform::WaveErrorText(r.error);
    EXPECT_EQ(r.sound->channels, static_cast<int>(c.format.channels));
    EXPECT_EQ(r.sound->sampleRate, static_cast<int>(c.format.rate));
    EXPECT_EQ(r.sound->samples, c.expected);
  }
}

TEST(WaveFile, BadFilesAreRefusedFromTheirHeader) {
  const Bytes second(44100, 0);  // one second of 16-bit mono at 22050 Hz
  Bytes truncated = Wave({}, second);
  truncated.resize(truncated.size() / 2);
  Bytes notRiff = Wave({}, second);
  notRiff[0] = 'X';
  Bytes noFormat;
  Tag(noFormat, "RIFF");
  Put32(noFormat, 12);
  Tag(noFormat, "WAVE");
  Tag(noFormat, "data");
  Put32(noFormat, 0);
  struct Case {
    const char* what;
    Bytes bytes;
    WaveError error;
  } cases[] = {
      {"empty", {}, WaveError::Empty},
      {"a few bytes", {'R', 'I', 'F', 'F'}, WaveError::NotWave},
      {"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '\n'}, WaveError::NotWave},
      {"not RIFF", notRiff, WaveError::NotWave},
      {"data before the format", noFormat, WaveError::NotWave},
      {"cut short", truncated, WaveError::Truncated},
      {"a stream of unknown length", Wave({}, second, 0xFFFFFFFFll), WaveError::Truncated},
      {"no samples", Wave({}, {}), WaveError::NoSamples},
      {"compressed", Wave({2, 1, 4}, Bytes(100, 0)), WaveError::Unsupported},
      {"six channels", Wave({1, 6, 16}, Bytes(120, 0)), WaveError::Unsupported},
      {"12-bit", Wave({1, 1, 12}, Bytes(100, 0)), WaveError::Unsupported},
      {"rate 0", Wave({1, 1, 16, 0}, Bytes(100, 0)), WaveError::Unsupported},
      {"64-bit float", Wave({3, 1, 64}, Bytes(80, 0)), WaveError::Unsupported},
      // Ten minutes of 8-bit mono at 8 kHz: 4.8 MB, refused before a sample is read.
      {"ten minutes", Wave({1, 1, 8, 8000}, Bytes(8000 * 600, 128)), WaveError::TooLong},
  };
  for (const Case& c : cases) {
    const auto r = Decode(c.bytes);
    EXPECT_FALSE(r.sound) << c.what;
    EXPECT_EQ(r.error, c.error) << c.what << ": " << platform::WaveErrorText(r.error);
  }
}

TEST(WaveFile, FilesAreReadHeaderFirst) {
  const auto dir = std::filesystem::temp_directory_path() / ("tavrel-wave-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  auto write = [&](const char* name, const Bytes& b) {
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
    return (dir / name).string();
  };
  Bytes truncated = Wave({}, Bytes(44100, 1));
  truncated.resize(100);
  Bytes big(platform::kMaxWaveFileBytes + 1, 0);
  EXPECT_EQ(platform::ReadWaveFile(write("ok.wav", Wave({}, Bytes(441, 1)))).error, WaveError::None);
  EXPECT_EQ(platform::ReadWaveFile(write("empty.wav", {})).error, WaveError::Empty);
  EXPECT_EQ(platform::ReadWaveFile(write("cut.wav", truncated)).error, WaveError::Truncated);
  EXPECT_EQ(platform::ReadWaveFile(write("big.wav", big)).error, WaveError::TooLarge);
  EXPECT_EQ(platform::ReadWaveFile((dir / "none.wav").string()).error, WaveError::Missing);
  EXPECT_EQ(platform::ReadWaveFile(dir.string()).error, WaveError::Missing);
  std::filesystem::remove_all(dir);
}

TEST(WaveCache, DecodesOnceAndDropsWhatIsNotPlayingWhenFull) {
  const auto dir = std::filesystem::temp_directory_path() / ("tavrel-cache-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  auto write = [&](const char* name, std::size_t bytes) {
    const Bytes b = Wave({}, Bytes(bytes, 1));
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
    return (dir / name).string();
  };
  platform::WaveCache cache(3000);
  const std::string a = write("a.wav", 1000), b = write("b.wav", 1000), c = write("c.wav", 1600);
  const auto playing = cache.Get(a).sound;
  EXPECT_EQ(cache.Get(a).sound, playing);  // decoded once
  cache.Get(b);
  EXPECT_EQ(cache.Count(), 2u);
  cache.Get(c);  // over the budget: b goes, a is still playing
  EXPECT_EQ(cache.Count(), 2u);
  EXPECT_EQ(cache.Get(a).sound, playing);
  EXPECT_EQ(cache.Bytes(), 2600u);
  EXPECT_FALSE(cache.Get((dir / "missing.wav").string()).sound);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tavrel::testing
