#include "session/packet_io.h"

#include "app/client_context.h"
#include "chat/chat_line.h"
#include "props/props.h"
#include "session/commands.h"
#include "session/cp936.h"
#include "session/transport.h"

namespace tavrel::session {

Packet EncodeChat(const Info& info, const std::string& text, SessionToken token) {
  Packet p = EncodeRecord(info, token);
  // At most 100 characters; each becomes one byte or a lead and a trail byte.
  std::string gbk = text::Utf8ToCp936(text::FirstChars(text, kChatMaxChars));
  wire::PutBytes(p, off::kPayload, gbk, kChatTextBytes);
  return p;
}

void SendCommand(ClientContext& ctx, const Info& info) {
  auto& s = ctx.session;
  Packet p;
  if (static_cast<std::uint8_t>(info.Cmd % 256) == cmd::kChat) {
    if (s.PendingChatText.empty()) return;
    p = EncodeChat(info, s.PendingChatText, s.token);
    s.PendingChatText.clear();
  } else {
    p = EncodeRecord(info, s.token);
  }
  EnqueueOutgoing(ctx, p);
}

void QueuePacket(ClientContext& ctx, Packet& packet) {
  StampToken(packet, ctx.session.token);
  EnqueueOutgoing(ctx, packet);
}

void DecodePacket(ClientContext& ctx) {
  auto& s = ctx.session;
  s.RecvPacket = s.RecvRing.Peek();
  s.info = DecodeRecord(s.RecvPacket);
  const Packet& p = s.RecvPacket;

  if (s.info.Cmd == cmd::kSeatName) {
    // Names accumulate in the slot of their absolute seat. A new series starts with
    // empty slots even when no table reset ran in between (a forced leave followed
    // by a fresh login), so that stale names can never hide the local player.
    if (ctx.table.SeatPacketCount == 0) ctx.table.SeatNames.fill(std::string());
    int seat = SeatIndexOfMask(s.info.Seat) & 3;
    ctx.table.SeatNames[seat] += wire::SingleByteText(p, off::kPayload, off::kNameBytes);
  } else if (s.info.Cmd == cmd::kChat) {
    std::uint32_t marker = wire::U32BE(p, off::kPropMarker);
    if (marker == cmd::kPropMarkerA || marker == cmd::kPropMarkerB) {
      props::TellPacket(ctx, p);
    } else {
      // The text field is 200 bytes from offset 16, ending at the first zero byte.
      chat::ShowChat(ctx, s.info, wire::GbkText(p, off::kPayload, kChatTextBytes));
    }
  }
  s.RecvRing.Advance(static_cast<int>(kPacketSize));
}

}  // namespace tavrel::session
