#include "log.h"

#include "session/command_record.h"
#include "session/commands.h"

namespace tavrel::server {

namespace {
constexpr int kWarningsPerConnection = 20;

std::string Describe(const Packet& p, bool fromClient) {
  const int command = p[off::kCmd];
  char buf[160];
  std::snprintf(buf, sizeof buf, "%s(%d) seat=%d v=%d,%d,%d,%d", cmd::Name(command, fromClient), command,
                p[off::kSeat], wire::I16BE(p, 8), wire::I16BE(p, 10), wire::I16BE(p, 12), wire::I16BE(p, 14));
  return buf;
}
}  // namespace

Log::~Log() {
  if (file_) std::fclose(file_);
}

bool Log::Open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "a");
  if (!file_) return false;
  std::setvbuf(file_, nullptr, _IOLBF, 0);
  return true;
}

void Log::Line(const std::string& text, bool alsoStderr) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%10.3f ", static_cast<double>(nowMs_) / 1000.0);
  if (file_) std::fprintf(file_, "%s%s\n", stamp, text.c_str());
  if (alsoStderr && !quiet_) std::fprintf(stderr, "tavrel-server: %s\n", text.c_str());
}

void Log::Event(std::string_view text) { Line(std::string(text), false); }

void Log::Warn(int conn, std::string_view text) {
  const int count = ++warnings_[conn];
  if (count > kWarningsPerConnection) {
    if (count == kWarningsPerConnection + 1)
      Line("conn " + std::to_string(conn) + ": further warnings of this connection suppressed", true);
    return;
  }
  Line("conn " + std::to_string(conn) + ": " + std::string(text), true);
}

void Log::PacketIn(int conn, int seat, const Packet& p) {
  if (!file_) return;
  Line("in  conn=" + std::to_string(conn) + " seat=" + std::to_string(seat) + " " + Describe(p, true), false);
}

void Log::PacketOut(int conn, int seat, const Packet& p) {
  if (!file_) return;
  Line("out conn=" + std::to_string(conn) + " seat=" + std::to_string(seat) + " " + Describe(p, false), false);
}

void Log::ForgetConnection(int conn) {
  warnings_.erase(conn);
}

}  // namespace tavrel::server
