#pragma once
// The receive and send rings of the one game connection, and the small buffer
// that collects proxy handshake replies.
#include <array>
#include <cstdint>
#include <vector>

#include "session/wire.h"

namespace tavrel::session {

inline constexpr int kRingSize = 34816;  // 0x8800 = 128 packets; at most one byte less is queued
inline constexpr int kProxyBufferSize = 1024;

// Head and tail indices over a fixed buffer; empty when head == tail.
struct ByteRing {
  std::array<std::uint8_t, kRingSize> bytes{};
  std::int32_t head = 0;
  std::int32_t tail = 0;

  int Queued() const { return (tail + kRingSize - head) % kRingSize; }
  int Free() const { return kRingSize - 1 - Queued(); }
  std::uint8_t At(int offsetFromHead) const { return bytes[(head + offsetFromHead) % kRingSize]; }
  // Appends one byte; false when the ring became full (tail caught up with head).
  bool Push(std::uint8_t b) {
    bytes[tail] = b;
    tail = (tail + 1) % kRingSize;
    return tail != head;
  }
  // Copies the packet at head without moving it.
  Packet Peek() const {
    Packet p;
    for (int i = 0; i < static_cast<int>(kPacketSize); ++i) p[i] = At(i);
    return p;
  }
  void Advance(int n) { head = (head + n) % kRingSize; }
  void Reset() { head = tail = 0; }
};

struct ProxyBuffer {
  std::array<std::uint8_t, kProxyBufferSize> bytes{};
  int write = 0;  // ProxyWrite
  int read = 0;   // ProxyRead
  void Reset() { write = read = 0; }
};

}  // namespace tavrel::session
