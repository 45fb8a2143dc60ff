#pragma once
// Wave files for the sound device: the RIFF header is read and checked before any
// sample is, so that a file that is empty, cut short, not a wave, in a format we do
// not play, or longer than a table sound can be is refused cheaply. Accepted files
// are decoded to 16-bit samples, interleaved, at the file's own rate.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tavrel::platform {

// The longest sound the table plays (the looping background is a few seconds).
inline constexpr double kMaxWaveSeconds = 60;
// Files above this size are not opened further.
inline constexpr std::uint64_t kMaxWaveFileBytes = 24u << 20;
inline constexpr int kMinWaveRate = 4000, kMaxWaveRate = 96000;

enum class WaveError { None, Missing, Empty, TooLarge, NotWave, Unsupported, Truncated, NoSamples, TooLong };
const char* WaveErrorText(WaveError e);

struct WaveSound {
  int sampleRate = 0;
  int channels = 0;
  std::vector<std::int16_t> samples;  // interleaved
  std::size_t Frames() const { return channels > 0 ? samples.size() / channels : 0; }
  double Seconds() const { return sampleRate > 0 ? static_cast<double>(Frames()) / sampleRate : 0; }
  std::size_t Bytes() const { return samples.size() * sizeof(std::int16_t); }
};

struct WaveResult {
  std::shared_ptr<const WaveSound> sound;  // null on error
  WaveError error = WaveError::None;
};

// A whole file already in memory.
WaveResult DecodeWave(const std::uint8_t* data, std::size_t size);
// Reads the header first and the samples only when the header is acceptable.
WaveResult ReadWaveFile(const std::string& path);

// Decoded sounds by path, each decoded on first use. Sounds no longer playing are
// dropped when the cache grows past its budget; failures are not kept (the file may
// be fixed while the program runs).
class WaveCache {
 public:
  explicit WaveCache(std::size_t budgetBytes = 16u << 20) : budget_(budgetBytes) {}
  WaveResult Get(const std::string& path);
  std::size_t Bytes() const { return bytes_; }
  std::size_t Count() const { return sounds_.size(); }

 private:
  std::size_t budget_;
  std::size_t bytes_ = 0;
  std::unordered_map<std::string, std::shared_ptr<const WaveSound>> sounds_;
};

}  // namespace tavrel::platform
