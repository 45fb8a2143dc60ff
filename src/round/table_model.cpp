#include "round/table_model.h"

#include "session/cp936.h"

namespace tavrel::round {

std::string WindName(int seatIndex) {
  static const std::u32string winds = text::DecodeUtf8(WindChars);
  if (seatIndex < 0 || seatIndex >= static_cast<int>(winds.size())) return {};
  return text::EncodeUtf8(winds.substr(seatIndex, 1));
}

void WallStep(Table& t) {
  t.WallFront = static_cast<std::int16_t>((t.WallFront + 1) % kWallSize);
  // The back has already taken the stack's odd tile: pass over it.
  if (t.WallBack % 2 == 1 && t.WallBack == t.WallFront + 1)
    t.WallFront = static_cast<std::int16_t>((t.WallFront + 1) % kWallSize);
}

void BackStep(Table& t) {
  if (t.WallBack % 2 == 1)
    t.WallBack = static_cast<std::int16_t>((t.WallBack + 81) % kWallSize);
  else
    t.WallBack = static_cast<std::int16_t>((t.WallBack + 1) % kWallSize);
}

}  // namespace tavrel::round
