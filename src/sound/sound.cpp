#include "sound/sound.h"

#include <array>
#include <cstdlib>

#include "app/client_context.h"

namespace tavrel::sound {

namespace {

constexpr std::array<const char*, 7> kEffectFiles = {"",          "majiang.wav", "dapai.wav", "qupai.wav",
                                                     "xipai.wav", "zhise.wav",   "tishi.wav"};

platform::AudioDevice& Device(ClientContext& ctx) { return ctx.platform.audio(); }

// A device error silences the table for the rest of the process.
void Check(ClientContext& ctx, bool ok) {
  if (!ok) ctx.sound.SoundOn = false;
}

bool IsMale(std::uint8_t gender) { return gender != 0; }

}  // namespace

std::string MusicFolder(const ClientContext& ctx) { return ctx.platform.ProgramFolder() + "/../common/music/"; }
std::string LocalVoiceFolder(const ClientContext& ctx) {
  return ctx.platform.ProgramFolder() + "/../common/tavrelmj/";
}
std::string CommonVoiceFolder(const ClientContext& ctx) { return ctx.platform.ProgramFolder() + "/../common/mj/"; }

void SetUpSound(ClientContext& ctx) {
  SoundState& s = ctx.sound;
  for (int i = 1; i <= 6; ++i) s.SoundFiles[i] = MusicFolder(ctx) + kEffectFiles[i];
  s.VoiceFolder = LocalVoiceFolder(ctx);
  if (!s.SoundOn) return;
  SoundInit(ctx);
  if (!s.SoundOn) return;
  StopShared(ctx);
  PlayShared(ctx, s.SoundFiles[kTableLoop], true);
  SetSharedVolume(ctx, kFullVolume);
}

void SoundInit(ClientContext& ctx) {
  if (!Device(ctx).Open()) ctx.sound.SoundOn = false;
}

void PlayShared(ClientContext& ctx, const std::string& path, bool loop) {
  if (ctx.platform.clock().NowMs() < ctx.sound.SharedHeldUntilMs) return;
  // A file that cannot be played leaves the channel silent; the switches stay.
  Device(ctx).Play(platform::kSharedChannel, path, loop);
}

void HoldSounds(ClientContext& ctx, int ms) { ctx.sound.SharedHeldUntilMs = ctx.platform.clock().NowMs() + ms; }

void StopShared(ClientContext& ctx) { Check(ctx, Device(ctx).Stop(platform::kSharedChannel)); }

void SetSharedVolume(ClientContext& ctx, int level) {
  if (level < 0 || level > kFullVolume) return;
  Check(ctx, Device(ctx).SetVolume(platform::kSharedChannel, level - kFullVolume));
}

void PlayVoice(ClientContext& ctx, const std::string& path, int position) {
  if (position < 0 || position > 3) return;
  const int channel = platform::VoiceChannel(position);
  if (!Device(ctx).Play(channel, path, false)) return;
  Check(ctx, Device(ctx).SetVolume(channel, kVoiceChannelVolume));
}

void PlayEffect(ClientContext& ctx, int effect) {
  if (!ctx.sound.SoundOn || effect < 1 || effect > 6) return;
  PlayShared(ctx, ctx.sound.SoundFiles[effect], effect == kTableLoop);
}

std::string VoicePrefix(const ClientContext& ctx, int position) {
  if (position < 0 || position > 3) return {};
  const scoring::Detail& d = ctx.players.Detail[position];
  // Any gender byte other than 0 is a man's voice: the files know only 0 and 1.
  const int gender = IsMale(d.Gender) ? 1 : 0;
  return ctx.sound.VoiceFolder + "v" + d.VoiceGroup + d.VoiceStyle + std::to_string(gender) +
         std::to_string(d.VoiceKind);
}

std::string TileVoiceSuffix(int code) {
  int suit = (code >> 4) & 0xF;
  if (suit == 4)
    suit = 8;
  else if (suit == 8)
    suit = 4;
  return std::to_string(suit) + std::to_string(code & 0xF) + ".wav";
}

void PlayTileVoice(ClientContext& ctx, int position, int code) {
  if (!ctx.sound.SoundOn || position < 0 || position > 3) return;
  PlayShared(ctx, VoicePrefix(ctx, position) + TileVoiceSuffix(code), false);
}

void PlayClaimVoice(ClientContext& ctx, int position, const std::string& suffix) {
  if (!ctx.sound.SoundOn || position < 0 || position > 3) return;
  PlayShared(ctx, VoicePrefix(ctx, position) + suffix, false);
}

void PlayPhraseVoice(ClientContext& ctx, int position, int phraseNumber) {
  if (!ctx.sound.SoundOn || position < 0 || position > 3) return;
  PlayVoice(ctx, VoicePrefix(ctx, position) + "0010" + std::to_string(phraseNumber) + ".wav", position);
}

void PlayOwnPhraseVoice(ClientContext& ctx, int phraseNumber) {
  if (!ctx.sound.SoundOn) return;
  StopShared(ctx);
  PlayShared(ctx, VoicePrefix(ctx, 0) + "a" + std::to_string(phraseNumber) + ".wav", false);
}

int PickVoiceNumber(std::vector<bool>& used, int draw) {
  const int count = static_cast<int>(used.size());
  if (count == 0) return 0;
  int k = draw < 0 || draw >= count ? 0 : draw;
  if (used[k])
    for (int i = 0; i < count; ++i)
      if (!used[i]) {
        k = i;
        break;
      }
  used[k] = true;
  return k;
}

std::string VoiceCodeOf(bool male, int number) {
  if (male) return number % 2 == 0 ? "10" : "30";
  return number % 3 == 0 ? "10" : number % 3 == 1 ? "20" : "30";
}

void AssignVoices(ClientContext& ctx) {
  ctx.Randomize();
  std::vector<bool> maleUsed(kMaleVoices), femaleUsed(kFemaleVoices);
  for (int p = 0; p < 4; ++p) {
    scoring::Detail& d = ctx.players.Detail[p];
    const bool male = IsMale(d.Gender);
    const int k = PickVoiceNumber(male ? maleUsed : femaleUsed, ctx.RandomBelow(male ? kMaleVoices : kFemaleVoices));
    d.VoiceGroup = kLocalDialect;
    d.VoiceStyle = VoiceCodeOf(male, k);
    d.VoiceKind = male ? 3 : 2;
    ctx.sound.AssignedVoiceNumber[p] = k;
    ctx.sound.AssignedVoiceCode[p] = d.VoiceStyle;
  }
}

void StopAll(ClientContext& ctx) {
  for (int channel = 0; channel <= 4; ++channel) ctx.platform.audio().Stop(channel);
}

}  // namespace tavrel::sound
