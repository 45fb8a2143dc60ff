// Wave files as the sound device reads them: any bytes are refused or decoded
// within the limits, never read outside the buffer.
#include <cstddef>
#include <cstdint>

#include "platform/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tavrel::platform::WaveResult r = tavrel::platform::DecodeWave(data, size);
  if (r.sound && (r.sound->channels < 1 || r.sound->Seconds() > tavrel::platform::kMaxWaveSeconds)) __builtin_trap();
  return 0;
}
