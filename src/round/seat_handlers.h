#pragma once
// The seat names (command 3) that turn the table around the local player, and
// the ready marks (command 23).
namespace tavrel {
struct ClientContext;
}

namespace tavrel::round {

void OnSeatName(ClientContext& ctx);
void OnPlayerReady(ClientContext& ctx);

}  // namespace tavrel::round
