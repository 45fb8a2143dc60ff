#include "session/command_record.h"

#include "session/commands.h"

namespace tavrel {

Packet EncodeRecord(const Info& info, SessionToken token) {
  Packet p{};
  // Division toward zero and the remainder, as the wire format defines them.
  p[off::kCmdHigh] = static_cast<std::uint8_t>(info.Cmd / 256);
  p[off::kCmd] = static_cast<std::uint8_t>(info.Cmd % 256);
  p[off::kReserved5] = info.Reserved5;
  p[off::kSeat] = info.Seat;
  p[off::kReserved7] = info.Reserved7;
  for (int i = 0; i < 4; ++i)
    wire::PutU16BE(p, off::kValues + 2 * i, static_cast<std::uint16_t>(info.value[i]));
  StampToken(p, token);
  return p;
}

Info DecodeRecord(wire::Bytes packet) {
  Info info;
  info.Cmd = wire::U8(packet, off::kCmd);
  info.Reserved5 = wire::U8(packet, off::kReserved5);
  info.Seat = wire::U8(packet, off::kSeat) % 16;
  info.Reserved7 = wire::U8(packet, off::kReserved7);
  const bool full = HasSignedValues(info.Cmd);
  for (int i = 0; i < 4; ++i) {
    std::size_t at = off::kValues + 2 * i;
    info.value[i] = full ? wire::I16BE(packet, at) : static_cast<std::int16_t>(wire::U8(packet, at + 1));
  }
  return info;
}

}  // namespace tavrel

namespace tavrel::cmd {

const char* Name(int command, bool sent) {
  if (sent) {
    switch (command) {
      case 2: return "DiscardTile";
      case 7: return "ClaimReply";
      case 16: return "Continue/Leave";
      case 18: return "Login";
      case 19: return "Chat";
      case 24: return "KeepAlive";
      case 28: return "Reconnect";
      default: return "PluginPacket";
    }
  }
  switch (command) {
    case 1: return "DealTiles";
    case 2: return "DiscardTile";
    case 3: return "SeatName";
    case 4: return "NewHand";
    case 5: return "DrawTile";
    case 6: return "ClaimOptions";
    case 7: return "ClaimResult";
    case 9: return "HandOver";
    case 14: return "HandParams";
    case 15: return "HandShowdown";
    case 16: return "PlayerLeft";
    case 17: return "Settlement";
    case 18: return "LoginResult";
    case 19: return "Chat";
    case 20: return "UserInfo";
    case 21: return "TableUsers";
    case 22: return "TableClosed";
    case 23: return "PlayerReady";
    case 29: return "ReconnectResult";
    case 40: return "SeatTiles";
    case 41: return "TableReset";
    case 44:
    case 45: return "PropMessage";
    case 46: return "PropScore";
    case 91: return "OwnGoldChange";
    case 92: return "GoldChange";
    default: return "?";
  }
}

}  // namespace tavrel::cmd
