#pragma once
// The 84-position wall ring, taken exactly as the table client's picture takes it:
// ordinary draws walk forward from the break, replacement tiles walk backward from
// the stack behind it (even position of a stack first), and the front passes over
// a position the back has already taken.
#include <array>
#include <optional>

#include "tiles.h"

namespace tavrel::server {

inline constexpr int kWallSize = 84;

// Where each side of the ring begins, by seat relative to the viewer (own, left, top, right).
inline constexpr std::array<int, 4> kWallSides = {0, 22, 42, 64};

// Break position the client computes for a dealer at relative seat `dealerRel` and the four dice.
int WallBreak(int dealerRel, const std::array<int, 4>& dice);

// One step of the front and of the back, as the client's ring does them.
int FrontStep(int front, int back);
int BackStep(int back);

class Wall {
 public:
  Wall(const std::array<Tile, kWallSize>& tiles, int breakPos);

  struct Taken {
    Tile tile;
    int position;
    bool fromBack;
  };
  std::optional<Taken> DrawFront();
  std::optional<Taken> DrawBack();

  int Remaining() const { return kWallSize - takenCount_; }
  int TakenCount() const { return takenCount_; }
  int BreakPosition() const { return break_; }
  int Front() const { return front_; }
  int Back() const { return back_; }
  int FrontSteps() const { return frontSteps_; }
  int BackTaken() const { return backTaken_; }
  bool IsTaken(int pos) const { return taken_[pos]; }
  Tile At(int pos) const { return tiles_[pos]; }

  // The next tiles at the positions a finished hand shows: two from the back, then
  // three from the front; zeros after the first position that is gone.
  std::array<Tile, 5> Peek() const;

 private:
  std::optional<Taken> TakeAt(int pos, bool fromBack);
  int FirstUntaken() const;

  std::array<Tile, kWallSize> tiles_;
  std::array<bool, kWallSize> taken_{};
  int break_;
  int front_;
  int back_;
  int takenCount_ = 0;
  int frontSteps_ = 0;
  int backTaken_ = 0;
};

}  // namespace tavrel::server
