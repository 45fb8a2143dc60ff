#pragma once
// The local player's answers to an offer: ClaimReply (command 7) with pass, one of
// the three gangs or hu. Each sender sets ReplySent, so that at most one pass ever
// answers an offer and a later discard adds none.
namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

// The pass (value(0) = 1), unless the open offer has been answered already.
void SendPassReply(ClientContext& ctx);
// Gangs by the hand slot of their first tile; the chosen tiles are marked in the
// slots of the coming meld (kind 4, 5, 6) and the gang voice plays. A slot that no
// longer holds such a gang sends nothing and returns false.
bool SendExposedGang(ClientContext& ctx, int slot);
bool SendConcealedGang(ClientContext& ctx, int slot);
bool SendAddedGang(ClientContext& ctx, int slot);
void SendHu(ClientContext& ctx);

}  // namespace tavrel::view
