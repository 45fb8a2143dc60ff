#include "session/debug_log.h"

#include <cstdio>

#include "app/client_context.h"
#include "session/commands.h"

namespace tavrel::session {
namespace {

std::string TimeStamp(ClientContext& ctx) {
  const auto t = ctx.platform.clock().Now();
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return buf;
}

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
  // The payload up to its last non-zero byte; the key of a login is never written.
  std::size_t last = kPacketSize;
  while (last > off::kPayload && wire::U8(p, last - 1) == 0) --last;
  out += " payload=";
  const bool mask = CarriesKey(sent, p);
  char hex[3];
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

std::string MaskedCommandLine(const Startup& st) {
  std::string out;
  for (int i = 0; i < st.fieldCount && i < kFieldCount; ++i) {
    const bool secret = i == 1 || i == 9;
    out += (secret && !st.fields[i].empty() ? std::string("***") : st.fields[i]) + "$";
  }
  if (st.Spectator) out += std::to_string(static_cast<long long>(st.SpectatorUserId));
  return out;
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
