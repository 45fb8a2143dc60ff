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

// A voice on the shared channel replaces whatever plays there and holds the effects
// back while it is spoken.
void PlaySharedVoice(ClientContext& ctx, const std::string& path) {
  if (Device(ctx).Play(platform::kSharedChannel, path, false)) HoldSounds(ctx, kVoiceHoldMs);
}

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
  // A file that cannot be played is left out; the switches stay.
  Device(ctx).Play(platform::kSharedChannel, path, loop);
}

void HoldSounds(ClientContext& ctx, int ms) { ctx.sound.SharedHeldUntilMs = ctx.platform.clock().NowMs() + ms; }

bool SoundsHeld(const ClientContext& ctx) { return ctx.platform.clock().NowMs() < ctx.sound.SharedHeldUntilMs; }

void StopShared(ClientContext& ctx) { Check(ctx, Device(ctx).Stop(platform::kSharedChannel)); }

void SetSharedVolume(ClientContext& ctx, int level) {
  if (level < 0 || level > kFullVolume) return;
  Check(ctx, Device(ctx).SetVolume(platform::kSharedChannel, level - kFullVolume));
}

void PlayVoice(ClientContext& ctx, const std::string& path, int position) {
  if (position < 0 || position > 3) return;
  const int channel = platform::VoiceChannel(position);
  // The channel's level is set first, so that not even the start of the phrase is loud.
  Check(ctx, Device(ctx).SetVolume(channel, kVoiceChannelVolume));
  Device(ctx).Play(channel, path, false);
}

void PlayEffect(ClientContext& ctx, int effect) {
  if (!ctx.sound.SoundOn || effect < 1 || effect > 6 || SoundsHeld(ctx)) return;
  PlayShared(ctx, ctx.sound.SoundFiles[effect], effect == kTableLoop);
}

void StartTableLoop(ClientContext& ctx) {
  PlayShared(ctx, ctx.sound.SoundFiles[kTableLoop], true);
  SetSharedVolume(ctx, kFullVolume);
}

std::string VoicePrefix(const ClientContext& ctx, int position) {
  if (position < 0 || position > 3) return {};
  const scoring::Detail& d = ctx.players.Detail[position];
  // Any gender byte other than 0 is a man's voice: the files know only 0 and 1.
  const int gender = IsMale(d.Gender) ? 1 : 0;
  return ctx.sound.VoiceFolder + "v" + d.VoiceGroup + d.VoiceStyle + std::to_string(gender) +
         std::to_string(d.VoiceKind);
}

void PlayTileVoice(ClientContext& ctx, int position, int code) {
  if (!ctx.sound.SoundOn || position < 0 || position > 3) return;
  PlaySharedVoice(ctx, VoicePrefix(ctx, position) + TileVoiceSuffix(code));
}

void PlayClaimVoice(ClientContext& ctx, int position, const std::string& suffix) {
  if (!ctx.sound.SoundOn || position < 0 || position > 3) return;
  PlaySharedVoice(ctx, VoicePrefix(ctx, position) + suffix);
}

void PlayPhraseVoice(ClientContext& ctx, int position, int phraseNumber) {
  if (!ctx.sound.SoundOn || !ctx.sound.PhraseVoicesOn || position < 0 || position > 3) return;
  PlayVoice(ctx, VoicePrefix(ctx, position) + PhraseVoiceSuffix(phraseNumber), position);
}

void PlayOwnPhraseVoice(ClientContext& ctx, int phraseNumber) {
  if (!ctx.sound.SoundOn) return;
  StopShared(ctx);
  PlaySharedVoice(ctx, VoicePrefix(ctx, 0) + OwnPhraseVoiceSuffix(phraseNumber));
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

void AssignVoices(ClientContext& ctx) {
  // A table that fills after the player chose the common collection speaks from it:
  // the dialect code has to match the folder, or no voice file would be found.
  const char* dialect = CommonCollectionSelected(ctx) ? kCommonDialect : kLocalDialect;
  ctx.Randomize();
  std::vector<bool> maleUsed(kMaleVoices), femaleUsed(kFemaleVoices);
  for (int p = 0; p < 4; ++p) {
    scoring::Detail& d = ctx.players.Detail[p];
    d.VoiceKind = d.Gender != 0 ? 3 : 2;
    // A gender the files do not know (an empty seat's, say) draws no voice set, so
    // that it takes no number from the men.
    if (d.Gender > 1) {
      ctx.sound.AssignedVoiceCode[p].clear();
      continue;
    }
    const bool male = d.Gender == 1;
    const int k = PickVoiceNumber(male ? maleUsed : femaleUsed, ctx.RandomBelow(male ? kMaleVoices : kFemaleVoices));
    d.VoiceGroup = dialect;
    d.VoiceStyle = VoiceCodeOf(male, k);
    ctx.sound.AssignedVoiceNumber[p] = k;
    ctx.sound.AssignedVoiceCode[p] = d.VoiceStyle;
  }
}

bool CommonCollectionSelected(const ClientContext& ctx) {
  return !ctx.sound.VoiceFolder.empty() && ctx.sound.VoiceFolder == CommonVoiceFolder(ctx);
}

void SelectVoiceCollection(ClientContext& ctx, bool common) {
  ctx.sound.VoiceFolder = common ? CommonVoiceFolder(ctx) : LocalVoiceFolder(ctx);
  for (scoring::Detail& d : ctx.players.Detail) d.VoiceGroup = common ? kCommonDialect : kLocalDialect;
}

void StopAll(ClientContext& ctx) {
  for (int channel = 0; channel <= 4; ++channel) ctx.platform.audio().Stop(channel);
}

}  // namespace tavrel::sound
