#pragma once
// The socket side of the rings: arriving bytes into the receive ring, one packet
// at a time out of either ring.
#include "session/wire.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

void ResetRings(ClientContext& ctx);
// The socket's data event.
void OnDataArrival(ClientContext& ctx);
// Sends at most one queued packet (the send task).
void SendNextPacket(ClientContext& ctx);
// Handles at most one received packet (the receive task).
void ReceiveNextPacket(ClientContext& ctx);

// Appends a finished packet to the send ring and starts the send task.
// When the ring has no room for it, the oldest queued keep-alive is dropped to
// make room; a new keep-alive, or any packet when no keep-alive is queued, is
// refused instead. A queued packet is never overwritten.
// Returns false when the packet was refused.
bool EnqueueOutgoing(ClientContext& ctx, const Packet& packet);

// Replays the prop packets held back since the hand result (the hand start calls this).
void ReplayHeldPropPackets(ClientContext& ctx);
// Arms the holding of prop packets (the hand result calls this).
void ArmPropHolding(ClientContext& ctx);
// Clears both held packets and flags (the login result calls this).
void ClearHeldPropPackets(ClientContext& ctx);


}  // namespace tavrel::session
