#pragma once
// The server's log: one line per packet in and out, and one per table event.
// Lines go to a file (--log) and, for warnings, also to standard error.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>

#include "session/wire.h"

namespace tavrel::server {

class Log {
 public:
  Log() = default;
  ~Log();
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;

  bool Open(const std::string& path);
  void SetClock(std::int64_t nowMs) { nowMs_ = nowMs; }
  void SetQuiet(bool quiet) { quiet_ = quiet; }

  void Event(std::string_view text);
  // An ignored or refused client packet; repeated warnings of one connection are capped.
  void Warn(int conn, std::string_view text);
  void PacketIn(int conn, int seat, const Packet& p);
  void PacketOut(int conn, int seat, const Packet& p);
  void ForgetConnection(int conn);

 private:
  void Line(const std::string& text, bool alsoStderr);

  std::FILE* file_ = nullptr;
  std::int64_t nowMs_ = 0;
  bool quiet_ = false;
  std::unordered_map<int, int> warnings_;
};

}  // namespace tavrel::server
