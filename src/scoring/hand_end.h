#pragma once
// The hand end's state: the results of the hand (HandOver, Settlement), the sheet's
// progress and the flags shared by the continue step, the countdown and the departures.
#include <array>
#include <cstdint>
#include <string>

#include "scoring/patterns.h"

namespace tavrel::scoring {

struct HandEnd {
  // True once the table has been reset for the coming hand.
  bool Continued = false;
  bool SeatChangePending = false;
  bool AutoSeatChange = false;
  // The table stands formed (a dealer announcement or a departure was handled last);
  // the next departure or seat change notice starts from it.
  bool TableFormed = false;

  // ---- HandOver (the seats' results are in custom(s).HandTotal) ----
  std::array<std::uint8_t, 4> CapHit{};  // 1 = the seat's gold reached the table's cap
  std::string WinnerCaption;
  int HandOverCount = 0;
  // A drawn hand's sheet waits for the prop plug-in's show.
  bool DrawPending = false;
  // The hand number whose results have come in: the hand is no longer in progress for
  // the results button once this equals HandNo.
  int ResultsHandNo = -1;

  // ---- Settlement ----
  ScoreRecords Records{};
  int SettlementCount = 0;
  // From the fourth Settlement until the sheet is built.
  bool SheetPending = false;
  std::array<double, 4> FinalAmount{};
  // What the prop plug-in adds to a seat's column and result (props fill them).
  std::array<std::string, 4> PropLines{};
  std::array<double, 4> PropScore{};
};

}  // namespace tavrel::scoring
