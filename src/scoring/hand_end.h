#pragma once
// Hand-end flags shared by the continue step, the countdown and the departures.
namespace tavrel::scoring {

struct HandEnd {
  // True once the table has been reset for the coming hand.
  bool Continued = false;
  bool SeatChangePending = false;
  bool AutoSeatChange = false;
  // The table stands formed (a dealer announcement or a departure was handled last);
  // the next departure or seat change notice starts from it.
  bool TableFormed = false;
};

}  // namespace tavrel::scoring
