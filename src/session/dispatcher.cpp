#include "session/dispatcher.h"

#include "app/client_context.h"
#include "props/props.h"
#include "session/commands.h"

namespace tavrel::session {

Dispatcher::Dispatcher() {
  // Every received command of the catalogue has a slot; later modules fill them.
  for (int c : {cmd::kDealTiles, cmd::kDiscardTile, cmd::kSeatName, cmd::kNewHand, cmd::kDrawTile,
                cmd::kClaimOptions, cmd::kClaimResult, cmd::kHandOver, cmd::kHandParams, cmd::kHandShowdown,
                cmd::kPlayerLeft, cmd::kSettlement, cmd::kLoginResult, cmd::kChat, cmd::kUserInfo,
                cmd::kTableUsers, cmd::kTableClosed, cmd::kPlayerReady, cmd::kReconnectResult, cmd::kSeatTiles,
                cmd::kTableReset, cmd::kPropMessage44, cmd::kPropMessage45, cmd::kPropScore, cmd::kOwnGoldChange,
                cmd::kGoldChange})
    known[c] = true;
}

void RegisterHandler(ClientContext& ctx, int command, CommandHandler handler) {
  if (command <= 0 || command > 255) return;
  ctx.dispatcher.known[command] = true;
  ctx.dispatcher.handlers[command] = std::move(handler);
  ++ctx.dispatcher.registrations;
}

void DispatchCommand(ClientContext& ctx) {
  auto& s = ctx.session;
  const int command = s.RecvPacket[off::kCmd];
  // Every packet but a reconnect answer carries the token the server expects back.
  if (command != cmd::kReconnectResult) s.token = TokenOf(s.RecvPacket);

  if (command == 0 || !ctx.dispatcher.known[command]) {
    props::TellPacket(ctx, s.RecvPacket);
    return;
  }
  if (command == cmd::kChat) {
    // The chat line was shown while decoding; the handlers see the sender's relative seat.
    s.info.Seat = static_cast<std::uint8_t>(round::RelSeat(ctx.table, s.info.Seat));
  }
  if (const auto& h = ctx.dispatcher.handlers[command]) h(ctx);
}

}  // namespace tavrel::session
