#pragma once
// Hand-end flags shared by the continue step, the countdown and the departures.
namespace tavrel::scoring {

struct HandEnd {
  // True once the table has been reset for the coming hand.
  bool Continued = false;
  bool SeatChangePending = false;
  bool AutoSeatChange = false;
};

}  // namespace tavrel::scoring
