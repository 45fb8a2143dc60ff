#include "round/hand_order.h"

#include <algorithm>
#include <utility>

namespace tavrel::round {

namespace {
// True when the tile in slot i must come after the tile in slot j.
bool OutOfOrder(int a, int b) {
  const int suitA = (a >> 4) & 0xF, suitB = (b >> 4) & 0xF;
  return suitA < suitB || (suitA == suitB && (a & 0xF) > (b & 0xF));
}
}  // namespace

void SortConcealedCodes(PlayerEntry& seat, int n) {
  const int first = std::max<int>(0, seat.firstConcealed);
  const int end = std::min(kSlotCount, first + std::max(0, n));
  for (int i = first; i < end; ++i)
    for (int j = i + 1; j < end; ++j)
      if (OutOfOrder(seat.tiles[i].code, seat.tiles[j].code)) std::swap(seat.tiles[i].code, seat.tiles[j].code);
}

void SortCodeList(std::vector<int>& codes) {
  for (std::size_t i = 0; i < codes.size(); ++i)
    for (std::size_t j = i + 1; j < codes.size(); ++j)
      if (OutOfOrder(codes[i], codes[j])) std::swap(codes[i], codes[j]);
}

}  // namespace tavrel::round
