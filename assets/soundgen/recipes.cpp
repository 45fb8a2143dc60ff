#include "recipes.h"

#include "sound/voice_names.h"

namespace soundgen {
namespace {

namespace s = tavrel::sound;

constexpr const char* kNumerals[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
constexpr const char* kHonours[] = {"东风", "南风", "西风", "北风", "红中", "发财", "白板"};

// A voice set: an espeak-ng variant, a base pitch (0..99), a speed (words a minute) and
// a shift of the finished voice in cents (espeak's pitch alone moves some variants little).
struct VoiceSet {
  const char* code;
  bool male;
  const char* variant;
  int pitch;
  int speed;
  int shiftCents;
};

// The local collection speaks Cantonese, the common one Mandarin (hanzi read as pinyin).
// Within each, five clearly different people: the men low, the women high.
struct Collection {
  const char* dialect;
  const char* folder;
  const char* language;
  VoiceSet sets[5];
};

constexpr Collection kCollections[] = {
    {s::kLocalDialect, "tavrelmj", "yue",
     {{"10", true, "m2", 45, 160, 200}, {"30", true, "m6", 18, 145, -150},
      {"10", false, "f3", 62, 165, 0}, {"20", false, "f5", 74, 150, -80}, {"30", false, "f1", 88, 175, 150}}},
    {s::kCommonDialect, "mj", "cmn-latn-pinyin",
     {{"10", true, "m1", 50, 165, 200}, {"30", true, "m3", 20, 150, -150},
      {"10", false, "f1", 64, 170, 0}, {"20", false, "f2", 76, 158, 0}, {"30", false, "f4", 90, 180, 150}}},
};

struct Claim {
  const char* suffix;
  const char* words;
};
constexpr Claim kClaims[] = {{s::kVoiceChi, "吃"},     {s::kVoicePeng, "碰"},     {s::kVoiceGang, "杠"},
                             {s::kVoiceRedGang, "红中杠"}, {s::kVoiceWildGang, "混杠"}, {s::kVoiceHu, "胡"}};

// Speech to a 22.05 kHz mono file without the silence around it, levelled.
Job Speak(const Tools& t, const Collection& c, const VoiceSet& v, const std::string& suffix, const std::string& text) {
  Job job;
  job.file = std::string(c.folder) + "/" + s::VoiceSetName(c.dialect, v.code, v.male) + suffix;
  job.input = text;
  job.pipe.push_back({t.espeak, "-v", std::string(c.language) + "+" + v.variant, "-p", std::to_string(v.pitch), "-s",
                      std::to_string(v.speed), "-a", "160", "--stdin", "--stdout"});
  Command sox = {t.sox, "-q", "-t", "wav", "-", "-r", "22050", "-c", "1", "-b", "16", "-t", "wav", "{out}"};
  if (v.shiftCents != 0) sox.insert(sox.end(), {"pitch", std::to_string(v.shiftCents)});
  sox.insert(sox.end(), {"silence", "1", "0.02", "0.3%", "reverse", "silence", "1", "0.02", "0.3%", "reverse", "norm",
                         "-3", "pad", "0.02", "0.06"});
  job.pipe.push_back(std::move(sox));
  return job;
}

// A synthesised sound of `voices` generated channels, mixed to one.
Job Effect(const Tools& t, const std::string& name, int voices, std::vector<std::string> effects) {
  Job job;
  job.file = "music/" + name;
  Command cmd = {t.sox, "-q", "-r", "22050", "-c", std::to_string(voices), "-n", "-b", "16", "-c", "1", "-t", "wav",
                 "{out}"};
  cmd.insert(cmd.end(), effects.begin(), effects.end());
  job.pipe.push_back(std::move(cmd));
  return job;
}

}  // namespace

std::vector<int> AllTileCodes() {
  std::vector<int> codes;
  for (int r = 1; r <= 7; ++r) codes.push_back(0x10 | r);
  for (int suit : {0x20, 0x40, 0x80})
    for (int r = 1; r <= 9; ++r) codes.push_back(suit | r);
  return codes;
}

std::string TileWords(int code) {
  const int rank = code & 0xF;
  switch (code & 0xF0) {
    case 0x10: return kHonours[rank - 1];
    case 0x20: return std::string(kNumerals[rank - 1]) + "条";
    case 0x40: return std::string(kNumerals[rank - 1]) + "万";
    case 0x80: return std::string(kNumerals[rank - 1]) + "筒";
    default: return {};
  }
}

std::vector<Job> EffectJobs(const Tools& t) {
  // The loop's tones and its tremolo complete whole cycles in 8 s, so it joins without a click.
  return {
      Effect(t, "majiang.wav", 4,
             {"synth", "8", "sine", "220", "sine", "277.125", "sine", "329.625",
              "brownnoise", "remix", "1v0.30,2v0.22,3v0.18,4v0.04", "tremolo", "0.25", "45", "lowpass", "1800",
              "norm", "-16"}),
      Effect(t, "dapai.wav", 1,
             {"synth", "0.11", "whitenoise", "band", "2600", "900", "fade", "l",
              "0.001", "0.11", "0.1", "norm", "-3"}),
      Effect(t, "qupai.wav", 1,
             {"synth", "0.22", "pinknoise", "lowpass", "1600", "fade", "q", "0.04",
              "0.22", "0.16", "norm", "-12"}),
      Effect(t, "xipai.wav", 1,
             {"synth", "1.6", "whitenoise", "band", "2200", "1500", "tremolo", "23",
              "95", "tremolo", "6.5", "70", "fade", "q", "0.1", "1.6", "0.4", "norm", "-6"}),
      Effect(t, "zhise.wav", 1,
             {"synth", "0.7", "whitenoise", "band", "3400", "1200", "tremolo", "13",
              "100", "fade", "l", "0", "0.7", "0.62", "norm", "-5"}),
      Effect(t, "tishi.wav", 1,
             {"synth", "0.07", "sine", "1900", "fade", "l", "0", "0.07", "0.065",
              "norm", "-4"}),
  };
}

std::vector<Job> VoiceJobs(const Tools& t, const Phrases& phrases) {
  std::vector<Job> jobs;
  for (const Collection& c : kCollections)
    for (const VoiceSet& v : c.sets) {
      for (int code : AllTileCodes()) jobs.push_back(Speak(t, c, v, s::TileVoiceSuffix(code), TileWords(code)));
      for (const Claim& claim : kClaims) jobs.push_back(Speak(t, c, v, claim.suffix, claim.words));
      for (std::size_t i = 0; i < phrases.list1.size(); ++i)
        if (!phrases.list1[i].empty())
          jobs.push_back(Speak(t, c, v, s::PhraseVoiceSuffix(static_cast<int>(i) + 1), phrases.list1[i]));
      for (std::size_t i = 0; i < phrases.list2.size(); ++i)
        if (!phrases.list2[i].empty())
          jobs.push_back(Speak(t, c, v, s::OwnPhraseVoiceSuffix(static_cast<int>(i) + 1), phrases.list2[i]));
    }
  return jobs;
}

}  // namespace soundgen
