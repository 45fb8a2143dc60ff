#pragma once
// The receive and send rings of the one game connection, and the small buffer
// that collects proxy handshake replies.
#include <array>
#include <cstdint>
#include <cstring>
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
  // Appends bytes in order; false when they do not all fit, which is the moment a
  // byte-by-byte append would have made the tail catch up with the head. The bytes
  // that fit are appended either way.
  bool PushAll(const std::uint8_t* data, int n) {
    const int room = Free();
    const int take = n <= room ? n : room + 1;  // the byte that fills the ring is written too
    const int first = take < kRingSize - tail ? take : kRingSize - tail;
    std::memcpy(bytes.data() + tail, data, static_cast<std::size_t>(first));
    std::memcpy(bytes.data(), data + first, static_cast<std::size_t>(take - first));
    tail = (tail + take) % kRingSize;
    return n <= room;
  }
  // Copies the packet at head without moving it.
  Packet Peek() const {
    Packet p;
    const int first = static_cast<int>(kPacketSize) < kRingSize - head ? static_cast<int>(kPacketSize) : kRingSize - head;
    std::memcpy(p.data(), bytes.data() + head, static_cast<std::size_t>(first));
    std::memcpy(p.data() + first, bytes.data(), kPacketSize - static_cast<std::size_t>(first));
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
