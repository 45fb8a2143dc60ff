#pragma once
// Sound effects, the looping table sound and the seats' voices. Every call checks
// SoundOn itself; a missing wave file simply does not play.
#include <string>
#include <vector>

#include "sound/voice_names.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::sound {

// Effects by their number in SoundFiles.
enum Effect : int {
  kTableLoop = 1,  // majiang.wav, looping
  kDiscard = 2,    // dapai.wav
  kDraw = 3,       // qupai.wav, dealing and drawing
  kShuffle = 4,    // xipai.wav, the wall at a new hand
  kDice = 5,       // zhise.wav
  kWarning = 6,    // tishi.wav, the turn clock below 6 seconds
};

// Effect volume scale: callers pass 0..3000; 3000 is full volume.
inline constexpr int kFullVolume = 3000;
// Voice channels play a received phrase this many hundredths of a decibel down.
inline constexpr int kVoiceChannelVolume = -800;
// A voice on the shared channel is heard out: effects wait this long behind it.
inline constexpr int kVoiceHoldMs = 3000;

// Folders beside the program folder.
std::string MusicFolder(const ClientContext& ctx);
std::string LocalVoiceFolder(const ClientContext& ctx);
std::string CommonVoiceFolder(const ClientContext& ctx);

// Start-up: effect files, voice folder, the device, the looping table sound.
void SetUpSound(ClientContext& ctx);
// Opens the device; SoundOn false when there is none.
void SoundInit(ClientContext& ctx);

void PlayShared(ClientContext& ctx, const std::string& path, bool loop);
// For ms milliseconds no effect starts on the shared channel, so that the voice it
// plays is heard out; a newer voice still replaces it.
void HoldSounds(ClientContext& ctx, int ms);
bool SoundsHeld(const ClientContext& ctx);
void StopShared(ClientContext& ctx);
// level 0..3000 sets (level - 3000) hundredths of a decibel.
void SetSharedVolume(ClientContext& ctx, int level);
// Plays once on the voice channel of seat position p, 8 dB down.
void PlayVoice(ClientContext& ctx, const std::string& path, int position);

// Effect 1..6 on the shared channel, when effects are on and no voice holds it.
void PlayEffect(ClientContext& ctx, int effect);
// The table loop again from its start (the background switch), at full volume.
void StartTableLoop(ClientContext& ctx);

// v + dialect + voice code + gender + tone, in the voice folder, for seat position p.
std::string VoicePrefix(const ClientContext& ctx, int position);
// The tile's name in seat p's voice, on the shared channel.
void PlayTileVoice(ClientContext& ctx, int position, int code);
// A claim word ("01.wav" ...) in seat p's voice, on the shared channel.
void PlayClaimVoice(ClientContext& ctx, int position, const std::string& suffix);
// A received phrase of the first list in seat p's voice, on its own channel, unless
// phrase voices are switched off.
void PlayPhraseVoice(ClientContext& ctx, int position, int phraseNumber);
// The local player's own phrase of the second list, on the shared channel.
void PlayOwnPhraseVoice(ClientContext& ctx, int phraseNumber);

// Takes voice number `draw`, or the lowest free one when it is taken; marks it used.
int PickVoiceNumber(std::vector<bool>& used, int draw);

// Draws a voice set for every seated position from its gender; four players of
// one gender get four different sets, in the voice collection now selected.
void AssignVoices(ClientContext& ctx);

// The voice collections: the local one ("27", common/tavrelmj/) or the common
// Mandarin one ("00", common/mj/).
bool CommonCollectionSelected(const ClientContext& ctx);
// Sets the voice folder and every position's dialect code.
void SelectVoiceCollection(ClientContext& ctx, bool common);

// The main window unloads: the loop and the effects stop.
void StopAll(ClientContext& ctx);

}  // namespace tavrel::sound
