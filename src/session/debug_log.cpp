#include "session/debug_log.h"

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/client_context.h"
#include "session/commands.h"

namespace tavrel::session {
namespace {

std::string TimeStamp(ClientContext& ctx) { return LogTime(ctx.platform.clock().SecondsOfDay()); }

void WriteLine(ClientContext& ctx, const std::string& text) {
  std::FILE* f = ctx.startup.debugLog.file.get();
  if (!f) return;
  const std::string line = TimeStamp(ctx) + " " + text + "\n";
  std::fwrite(line.data(), 1, line.size(), f);
  std::fflush(f);
}

bool CarriesKey(bool sent, const Packet& p) {
  const int command = wire::U8(p, off::kCmd);
  return sent && (command == cmd::kLogin || command == cmd::kReconnect);
}

}  // namespace

std::string PacketLogText(bool sent, const Packet& p) {
  const Info info = DecodeRecord(p);
  const int command = wire::U8(p, off::kCmd);
  std::string out = sent ? "send " : "recv ";
  out += std::to_string(command) + " " + cmd::Name(command, sent);
  out += " seat=" + std::to_string(wire::U8(p, off::kSeat)) + " values=";
  for (int i = 0; i < 4; ++i) out += (i ? "," : "") + std::to_string(info.value[i]);
  // The frame as it came (the full values, the reserved bytes, the discard count of
  // SeatTiles), so that a replay can rebuild the packet byte for byte.
  char hex[3];
  out += " head=";
  for (std::size_t i = 0; i < off::kPayload; ++i) {
    std::snprintf(hex, sizeof hex, "%02X", wire::U8(p, i));
    out += hex;
  }
  // The payload up to its last non-zero byte; the key of a login is never written.
  std::size_t last = kPacketSize;
  while (last > off::kPayload && wire::U8(p, last - 1) == 0) --last;
  out += " payload=";
  const bool mask = CarriesKey(sent, p);
  for (std::size_t i = off::kPayload; i < last; ++i) {
    if (mask && i >= off::kLoginKey && i < off::kLoginKey + off::kLoginKeyBytes) {
      out += "**";
      continue;
    }
    std::snprintf(hex, sizeof hex, "%02X", wire::U8(p, i));
    out += hex;
  }
  if (last < kPacketSize) out += " (+" + std::to_string(kPacketSize - last) + " zero)";
  return out;
}

std::string LogTime(double secondsOfDay) {
  long long ms = std::llround(secondsOfDay * 1000.0) % kDayMs;
  if (ms < 0) ms += kDayMs;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld.%03lld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
  return buf;
}

std::string MaskedCommandLine(const Startup& st) {
  std::string out;
  for (int i = 0; i < st.fieldCount && i < kFieldCount; ++i) {
    const bool secret = i == 1 || i == 9;
    out += (secret && !st.fields[i].empty() ? std::string("***") : st.fields[i]) + "$";
  }
  if (st.Spectator) out += std::to_string(static_cast<long long>(st.SpectatorUserId));
  return out;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Hex pairs into `out` from `at`; false on an odd length, a non-hex digit or too many bytes.
bool PutHex(std::string_view hex, Packet& out, std::size_t at) {
  if (hex.size() % 2 != 0 || at + hex.size() / 2 > kPacketSize) return false;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out[at + i / 2] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  return true;
}

bool Digits(std::string_view s, std::size_t from, std::size_t count) {
  if (s.size() < from + count) return false;
  for (std::size_t i = from; i < from + count; ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

int Number(std::string_view s, std::size_t from, std::size_t count) {
  int v = 0;
  for (std::size_t i = from; i < from + count; ++i) v = v * 10 + (s[i] - '0');
  return v;
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t end = std::min(s.find(' ', i), s.size());
    if (end > i) words.push_back(s.substr(i, end - i));
    i = end + 1;
  }
  return words;
}

LogLine Damaged(std::string why) {
  LogLine l;
  l.text = std::move(why);
  return l;
}

// "recv 5 DrawTile seat=2 values=... head=HEX payload=HEX (+N zero)".
LogLine ParsePacket(std::string_view body, LogLine l) {
  const auto w = Words(body);
  if (w.size() < 7) return Damaged("a packet line cut short");
  l.sent = w[0] == "send";
  if (w[5].substr(0, 5) != "head=") {
    l.kind = LogLine::Kind::Old;
    l.text = "a packet without its frame";
    return l;
  }
  const std::string_view head = w[5].substr(5);
  std::string_view payload = w[6].substr(std::min<std::size_t>(8, w[6].size()));
  // The key of a sent login is masked in the log: it reads back as zeros.
  std::string unmasked;
  if (l.sent && payload.find('*') != std::string_view::npos) {
    unmasked = std::string(payload);
    for (char& c : unmasked)
      if (c == '*') c = '0';
    payload = unmasked;
  }
  if (head.size() != 2 * off::kPayload || !PutHex(head, l.packet, 0)) return Damaged("a damaged packet frame");
  if (w[6].substr(0, 8) != "payload=" || !PutHex(payload, l.packet, off::kPayload))
    return Damaged("a damaged payload");
  std::size_t zeros = 0;
  if (w.size() == 9 && w[7].substr(0, 2) == "(+" && w[8] == "zero)" && Digits(w[7], 2, w[7].size() - 2) &&
      w[7].size() <= 5)
    zeros = static_cast<std::size_t>(Number(w[7], 2, w[7].size() - 2));
  else if (w.size() != 7)
    return Damaged("text after the payload");
  if (off::kPayload + payload.size() / 2 + zeros != kPacketSize) return Damaged("a packet of the wrong length");
  const std::string_view command = w[1];
  if (command.empty() || command.size() > 3 || !Digits(command, 0, command.size()) ||
      Number(command, 0, command.size()) != wire::U8(l.packet, off::kCmd))
    return Damaged("a command number that does not match its packet");
  l.kind = LogLine::Kind::Packet;
  return l;
}

}  // namespace

LogLine ParseLogLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  // "HH:MM:SS.mmm " before everything; an older client wrote whole seconds.
  const bool clock = Digits(line, 0, 2) && line[2] == ':' && Digits(line, 3, 2) && line[5] == ':' && Digits(line, 6, 2);
  if (!clock) return Damaged("no time at the start");
  LogLine l;
  l.ms = Number(line, 0, 2) * 3600000LL + Number(line, 3, 2) * 60000LL + Number(line, 6, 2) * 1000LL;
  if (line.size() > 8 && line[8] == ' ') {
    l.kind = LogLine::Kind::Old;
    l.text = "time without milliseconds";
    return l;
  }
  if (line.size() < 13 || line[8] != '.' || !Digits(line, 9, 3) || line[12] != ' ') return Damaged("a damaged time");
  l.ms += Number(line, 9, 3);
  if (l.ms >= kDayMs || Number(line, 3, 2) > 59 || Number(line, 6, 2) > 59) return Damaged("a time past the day");
  const std::string_view body = line.substr(13);
  if (body.substr(0, 5) == "recv " || body.substr(0, 5) == "send ") return ParsePacket(body, std::move(l));
  constexpr std::string_view kStartUp = "start-up: ";
  if (body.substr(0, kStartUp.size()) == kStartUp) {
    l.kind = LogLine::Kind::StartUp;
    l.text = std::string(body.substr(kStartUp.size()));
    return l;
  }
  l.kind = LogLine::Kind::Other;
  return l;
}

bool InstallDebugLog(ClientContext& ctx, const char* path) {
  if (!path || !*path) return true;
  std::FILE* f = std::fopen(path, "a");
  if (!f) return false;
  ctx.startup.debugLog.file.reset(f, FileCloser{});
  return true;
}

bool DebugLogOn(const ClientContext& ctx) { return ctx.startup.debugLog.file != nullptr; }

void DebugLine(ClientContext& ctx, const std::string& line) {
  if (DebugLogOn(ctx)) WriteLine(ctx, line);
}

void DebugPacket(ClientContext& ctx, bool sent, const Packet& packet) {
  if (DebugLogOn(ctx)) WriteLine(ctx, PacketLogText(sent, packet));
}

}  // namespace tavrel::session
