#pragma once
// Sound effects, the looping table sound and the seats' voices. Every call checks
// SoundOn itself; a missing wave file simply does not play.
#include <string>
#include <vector>

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

// Voice endings of the claims.
inline constexpr const char* kVoiceChi = "01.wav";
inline constexpr const char* kVoicePeng = "02.wav";
inline constexpr const char* kVoiceGang = "03.wav";
inline constexpr const char* kVoiceRedGang = "04.wav";
inline constexpr const char* kVoiceWildGang = "05.wav";
inline constexpr const char* kVoiceHu = "09.wav";

inline constexpr const char* kLocalDialect = "27";
inline constexpr const char* kCommonDialect = "00";

// Folders beside the program folder.
std::string MusicFolder(const ClientContext& ctx);
std::string LocalVoiceFolder(const ClientContext& ctx);
std::string CommonVoiceFolder(const ClientContext& ctx);

// Start-up: effect files, voice folder, the device, the looping table sound.
void SetUpSound(ClientContext& ctx);
// Opens the device; SoundOn false when there is none.
void SoundInit(ClientContext& ctx);

void PlayShared(ClientContext& ctx, const std::string& path, bool loop);
// For ms milliseconds nothing new starts on the shared channel (a claim voice is
// heard out).
void HoldSounds(ClientContext& ctx, int ms);
void StopShared(ClientContext& ctx);
// level 0..3000 sets (level - 3000) hundredths of a decibel.
void SetSharedVolume(ClientContext& ctx, int level);
// Plays once on the voice channel of seat position p, 8 dB down.
void PlayVoice(ClientContext& ctx, const std::string& path, int position);

// Effect 1..6 on the shared channel, when effects are on.
void PlayEffect(ClientContext& ctx, int effect);

// v + dialect + voice code + gender + tone, in the voice folder, for seat position p.
std::string VoicePrefix(const ClientContext& ctx, int position);
// Suit digit (honours 1, bamboo 2, characters 8, dots 4) and rank, then ".wav".
std::string TileVoiceSuffix(int code);
// The tile's name in seat p's voice, on the shared channel.
void PlayTileVoice(ClientContext& ctx, int position, int code);
// A claim word ("01.wav" ...) in seat p's voice, on the shared channel.
void PlayClaimVoice(ClientContext& ctx, int position, const std::string& suffix);
// A received phrase of the first list in seat p's voice, on its own channel.
void PlayPhraseVoice(ClientContext& ctx, int position, int phraseNumber);
// The local player's own phrase of the second list, on the shared channel.
void PlayOwnPhraseVoice(ClientContext& ctx, int phraseNumber);

inline constexpr int kMaleVoices = 5;
inline constexpr int kFemaleVoices = 6;
// Takes voice number `draw`, or the lowest free one when it is taken; marks it used.
int PickVoiceNumber(std::vector<bool>& used, int draw);
// The voice code of a voice number: men 0, 2, 4 "10", 1, 3 "30"; women 0, 3 "10",
// 1, 4 "20", 2, 5 "30".
std::string VoiceCodeOf(bool male, int number);

// Draws a voice set for every seated position from its gender; four players of
// one gender get four different sets.
void AssignVoices(ClientContext& ctx);

// The main window unloads: the loop and the effects stop.
void StopAll(ClientContext& ctx);

}  // namespace tavrel::sound
