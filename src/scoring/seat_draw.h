#pragma once
// The seat draw once the table is full: four tiles face down at the centre, one of
// them turns to the local player's wind, then all four go.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::scoring {

inline constexpr int kSeatDrawStepMs = 500;

void SeatDraw(ClientContext& ctx);
// TilePictures entry of the wind of a seat index in the standing set: 3 東 .. 0 北.
constexpr int SeatWindPicture(int seatIndex) { return 144 + (3 - (seatIndex & 3)); }

}  // namespace tavrel::scoring
