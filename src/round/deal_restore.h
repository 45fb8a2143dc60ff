#pragma once
// Tiles into the seats' rows in bulk: the deal of a fresh hand (DealTiles, command
// 1) and the rebuilding of a running hand for a client that joins or rejoins it
// (SeatTiles, command 40, one packet per seat after TableReset).
namespace tavrel {
struct ClientContext;
}

namespace tavrel::round {

void OnDealTiles(ClientContext& ctx);
void OnSeatTiles(ClientContext& ctx);

// A TableReset starts a new series: the count of restored positions starts again,
// and the wall break of the running hand is found from the reset's values.
void BeginRestore(ClientContext& ctx);

// Whether wall position `pos` still lies in the wall of the hand being restored
// (between the front and the back that the series announces).
bool StillInWall(const ClientContext& ctx, int pos);

}  // namespace tavrel::round
