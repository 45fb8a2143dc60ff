#pragma once
// What the sound module keeps for the process: the switches, the effect files,
// the voice folder and which voice numbers the seats have drawn.
#include <array>
#include <string>

namespace tavrel::sound {

struct SoundState {
  bool SoundOn = true;  // effects and voices allowed
  bool LoopOn = true;   // background sound wanted
  // SoundFiles(1..6) at 1..6; entry 0 unused.
  std::array<std::string, 7> SoundFiles{};
  std::string VoiceFolder;
  // The voice code each position drew, so that the collection switch can give it back.
  std::array<std::string, 4> AssignedVoiceCode{};
  std::array<int, 4> AssignedVoiceNumber{};
  // Until this moment (ms of the platform clock) the shared channel keeps what it plays.
  long long SharedHeldUntilMs = 0;
};

}  // namespace tavrel::sound
