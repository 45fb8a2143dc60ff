#include "wall.h"

namespace tavrel::server {

int WallBreak(int dealerRel, const std::array<int, 4>& dice) {
  int sum = 0;
  for (int d : dice) sum += d < 1 ? 1 : d;  // the client shows a 0 as 1
  return (2 * sum + kWallSides[dealerRel & 3]) % kWallSize;
}

int FrontStep(int front, int back) {
  front = (front + 1) % kWallSize;
  if (back % 2 == 1 && back == front + 1) front = (front + 1) % kWallSize;
  return front;
}

int BackStep(int back) { return back % 2 == 1 ? (back + 81) % kWallSize : (back + 1) % kWallSize; }

Wall::Wall(const std::array<Tile, kWallSize>& tiles, int breakPos)
    : tiles_(tiles), break_(breakPos % kWallSize), front_(break_), back_((break_ + 82) % kWallSize) {}

std::optional<Wall::Taken> Wall::TakeAt(int pos, bool fromBack) {
  if (takenCount_ >= kWallSize) return std::nullopt;
  // Only the very last tile can meet a position the other end already took;
  // the remaining tile is then the one handed out.
  if (taken_[pos]) pos = FirstUntaken();
  taken_[pos] = true;
  ++takenCount_;
  return Taken{tiles_[pos], pos, fromBack};
}

int Wall::FirstUntaken() const {
  for (int i = 0; i < kWallSize; ++i)
    if (!taken_[(front_ + i) % kWallSize]) return (front_ + i) % kWallSize;
  return front_;
}

std::optional<Wall::Taken> Wall::DrawFront() {
  auto t = TakeAt(front_, false);
  if (!t) return t;
  const int before = front_;
  front_ = FrontStep(front_, back_);
  frontSteps_ += (front_ - before + kWallSize) % kWallSize;
  return t;
}

std::optional<Wall::Taken> Wall::DrawBack() {
  auto t = TakeAt(back_, true);
  if (!t) return t;
  back_ = BackStep(back_);
  ++backTaken_;
  return t;
}

std::array<Tile, 5> Wall::Peek() const {
  const std::array<int, 5> positions = {back_, BackStep(back_), front_, (front_ + 1) % kWallSize,
                                        (front_ + 2) % kWallSize};
  std::array<Tile, 5> out{};
  std::array<bool, kWallSize> seen{};
  for (int i = 0; i < 5; ++i) {
    const int p = positions[i];
    if (taken_[p] || seen[p]) break;
    seen[p] = true;
    out[i] = tiles_[p];
  }
  return out;
}

}  // namespace tavrel::server
