#pragma once
// What the sound module keeps for the process: the switches, the effect files,
// the voice folder, which voice numbers the seats have drawn and what the
// settings window has to undo.
#include <array>
#include <string>
#include <vector>

namespace tavrel::sound {

struct SoundState {
  bool SoundOn = true;  // effects and voices allowed
  bool LoopOn = true;   // background sound wanted
  // Voices of the other players' quick phrases (the settings window's second switch).
  bool PhraseVoicesOn = true;
  // SoundFiles(1..6) at 1..6; entry 0 unused.
  std::array<std::string, 7> SoundFiles{};
  std::string VoiceFolder;
  // The voice code each position drew, so that the collection switch can give it back.
  std::array<std::string, 4> AssignedVoiceCode{};
  std::array<int, 4> AssignedVoiceNumber{};
  // Until this moment (ms of the platform clock) the shared channel keeps the voice it
  // plays: effects that come meanwhile are left out.
  long long SharedHeldUntilMs = 0;

  // The settings window: the switches pressed since it was opened, in order, and the
  // voice collection it was opened with (cancel goes back to it).
  std::vector<int> PressedSwitches;
  bool OpenedWithCommonCollection = false;
};

}  // namespace tavrel::sound
