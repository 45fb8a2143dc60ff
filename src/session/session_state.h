#pragma once
// State of the game connection: the command record being handled, the token,
// the rings, the held prop packets and the flags that the transport Parts share.
#include <string>

#include "session/command_record.h"
#include "session/rings.h"

namespace tavrel::session {

struct SessionState {
  Info info;                 // the command being handled
  Packet RecvPacket{};       // copy of the packet being handled
  SessionToken token{0, 0};  // SessionToken
  std::string PendingChatText;

  ByteRing RecvRing;
  ByteRing SendRing;
  bool DirectMode = true;
  ProxyBuffer proxy;

  Packet HeldPropPacket1{}, HeldPropPacket2{};
  bool HoldProp1 = false, HoldProp2 = false;
  // Set by the hand result, cleared by the hand start, the login result, the sheet and the shutdown:
  // TableUsers packets wait in the receive ring while it is on.
  bool HandResultWait = false;

  bool TableActive = false;
  bool LoginAwaited = false;
  bool ReconnectAllowed = false;
  // Packets the send ring refused because it was full (see SendQueue).
  int RefusedPackets = 0;
  int DroppedKeepAlives = 0;
};

}  // namespace tavrel::session
