#pragma once
// The spectator's variants of the round flow: the watched player sits in the own
// position with its tiles face down, a discard is shown beside its seat for a second
// and goes straight into the discard row, and the claims hide their own words.
#include <array>
#include <cstdint>

namespace tavrel {
struct ClientContext;
}

namespace tavrel::round {

// ShowDiscard for a watcher.
void ShowDiscardSpectator(ClientContext& ctx, int seatMask, int tile);

}  // namespace tavrel::round
