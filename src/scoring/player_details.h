#pragma once
// The players' details by relative seat, decoded from UserInfo packets, and what
// the seating keeps between them: the sheet's copies, the wealth rates, the
// seatless players, the round of details after the seat names.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "session/wire.h"

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

// The name and avatar index that the settlement sheet, the history window and the
// record file show for a position.
struct SheetFace {
  std::string name;
  int avatar = 0;
};

struct Players {
  std::array<scoring::Detail, 4> Detail{};
  // Sum of each seat's results since the seat names were last announced.
  std::array<double, 4> RunningTotal{};
  // The record file may be there: left by an earlier run, or written since this
  // client last deleted it. A series of four names then deletes it only once.
  bool RecordFileMayExist = true;

  std::array<scoring::SheetFace, 4> SheetFace{};
  // Each position's wealth-doubling rate as last received; 0 = none.
  std::array<std::uint32_t, 4> WealthRates{};
  // The table's wealth flag: the rate received last (0 = no wealth doubling).
  std::uint32_t TableWealthRate = 0;

  // Players placed without a seat mask (0..3), and where the last one went.
  int SeatlessCount = 0;
  int LastSeatlessPosition = 1;
  // From the first seat name of a table until the fourth details after it.
  bool InfoRound = false;
  int InfoCount = 0;
  // The four seat names of the current table have arrived.
  bool SeatNamesReceived = false;

  // A spectator collects the four details before it places anybody.
  std::array<Packet, 4> SpectatorSlots{};
  int SpectatorSlotCount = 0;

  // Cycles the seat-change caption while the seats are drawn anew. Shared, so
  // that a saved copy of the state refers to the same timer.
  std::shared_ptr<platform::Timer> TimerShuffle;
  int ShuffleStep = 0;
};

}  // namespace tavrel::scoring
