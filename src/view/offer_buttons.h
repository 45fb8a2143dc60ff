#pragma once
// The offer of ClaimOptions (command 6) as the row of five buttons Operation(0..4)
// 吃 碰 杠 胡 过, the gang chooser Gang(0..4) stacked upward from the row, and
// what a click on them answers.
#include "session/wire.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::view {

// The own-seat part of ClaimOptions: the live buttons from the option byte, the
// discard allowed when one is due, the countdown from byte 100 of the packet.
void ShowOffer(ClientContext& ctx, int options, const Packet& packet);
// A click on offer button `index`; only a live button of an open offer acts.
void OperationClick(ClientContext& ctx, int index);
// The gang candidates of the hand for the offer's gang bits: one is sent at once,
// several are shown to choose from.
void ChooseGang(ClientContext& ctx);
// A click on chooser picture n.
void GangClick(ClientContext& ctx, int n);

// All five buttons hidden, grey and dead; the chooser hidden.
void HideOfferButtons(ClientContext& ctx);
void HideGangChooser(ClientContext& ctx);

// The server has moved on (a draw, another seat's discard, a discard it made for
// the player): an offer still open can no longer be answered, so it closes without
// a reply; the countdown stops unless the player still owes a discard.
void OfferOvertaken(ClientContext& ctx);

}  // namespace tavrel::view
