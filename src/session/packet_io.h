#pragma once
// The two ways to send (SendCommand, QueuePacket) and the one way to take a
// received packet off the ring (DecodePacket).
#include "session/command_record.h"

namespace tavrel {
struct ClientContext;
}

namespace tavrel::session {

inline constexpr int kChatMaxChars = 100;
inline constexpr int kChatTextBytes = 200;

// Encodes the record, stamps the token and appends it to the send ring. For a
// chat command it consumes PendingChatText; an empty chat text sends nothing.
void SendCommand(ClientContext& ctx, const Info& info);
// Stamps the current token into the caller's packet and appends it to the send ring.
void QueuePacket(ClientContext& ctx, Packet& packet);
// Precondition: at least 272 bytes queued in the receive ring.
void DecodePacket(ClientContext& ctx);

// Builds the 272 bytes of a chat command from the record and a UTF-8 text
// (cut at 100 characters, written as code page 936 from offset 16).
Packet EncodeChat(const Info& info, const std::string& text, SessionToken token);

}  // namespace tavrel::session
