#pragma once
// How voice files are named: v + dialect + voice code + gender digit + tone digit,
// then the ending of what is said. Plain functions, shared by the client and by the
// tool that speaks our voice pack, so both agree on every name.
#include <string>

namespace tavrel::sound {

inline constexpr const char* kLocalDialect = "27";   // common/tavrelmj/
inline constexpr const char* kCommonDialect = "00";  // common/mj/

// Voice endings of the claims.
inline constexpr const char* kVoiceChi = "01.wav";
inline constexpr const char* kVoicePeng = "02.wav";
inline constexpr const char* kVoiceGang = "03.wav";
inline constexpr const char* kVoiceRedGang = "04.wav";
inline constexpr const char* kVoiceWildGang = "05.wav";
inline constexpr const char* kVoiceHu = "09.wav";

inline constexpr int kMaleVoices = 5;
inline constexpr int kFemaleVoices = 6;

// The voice code of a voice number: men 0, 2, 4 "10", 1, 3 "30"; women 0, 3 "10",
// 1, 4 "20", 2, 5 "30".
inline std::string VoiceCodeOf(bool male, int number) {
  if (male) return number % 2 == 0 ? "10" : "30";
  return number % 3 == 0 ? "10" : number % 3 == 1 ? "20" : "30";
}

// "v" + dialect + code + gender (1 man, 0 woman) + tone (3 man, 2 woman).
inline std::string VoiceSetName(const std::string& dialect, const std::string& code, bool male) {
  return "v" + dialect + code + (male ? "13" : "02");
}

// Suit digit (honours 1, bamboo 2, characters 8, dots 4) and rank, then ".wav".
inline std::string TileVoiceSuffix(int code) {
  int suit = (code >> 4) & 0xF;
  if (suit == 4)
    suit = 8;
  else if (suit == 8)
    suit = 4;
  return std::to_string(suit) + std::to_string(code & 0xF) + ".wav";
}

// A received phrase of the first list and the own phrase of the second list.
inline std::string PhraseVoiceSuffix(int phraseNumber) { return "0010" + std::to_string(phraseNumber) + ".wav"; }
inline std::string OwnPhraseVoiceSuffix(int phraseNumber) { return "a" + std::to_string(phraseNumber) + ".wav"; }

}  // namespace tavrel::sound
