#pragma once
// The players' details by relative seat, decoded from UserInfo packets.
#include <array>
#include <cstdint>
#include <string>

namespace tavrel::scoring {

struct Detail {
  std::string username, Face, Region, LevelTitle, Account, Tag;
  std::string VoiceGroup, VoiceStyle;
  std::uint8_t Gender = 0;
  std::uint8_t VoiceKind = 0;
  double Points = 0, Credit = 0, Coins = 0, Reserved40 = 0, Reserved52 = 0, Reserved60 = 0, Reserved68 = 0;
  std::int32_t LoginCount = 0, DropCount = 0, Wins = 0, Losses = 0;
  double UserId = 0;
};

struct Players {
  std::array<scoring::Detail, 4> Detail{};
  // Sum of each seat's results since the seat names were last announced.
  std::array<double, 4> RunningTotal{};
};

}  // namespace tavrel::scoring
