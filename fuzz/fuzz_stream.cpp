// Arbitrary bytes from the server: through the socket's data event, the receive
// task and DispatchCommand with every handler registered so far. Seeds under
// fuzz/corpus/fuzz_stream: a recorded hand (login, seats, deal, draws and
// discards, showdown, hand over) and a rejoin (TableReset and four SeatTiles).
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "app/client_context.h"
#include "platform/sim/sim_platform.h"
#include "session/transport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrel;
  platform::sim::SimPlatform p;
  p.simLobby().windows.insert("Virel山庄");
  ClientContext ctx(p);
  InstallParts(ctx);
  ctx.table.custom[0].name = "a";
  ctx.Winsock1->RemoteHost = "127.0.0.1";
  ctx.Winsock1->Connect();
  p.RunPending();
  auto* sock = p.socket(0);
  // The first byte picks the chunk size, so arrivals split packets anywhere; a long
  // input arrives in at most 64 pieces, so that an input costs its packets, not its bytes.
  const std::size_t chunk = size ? std::max<std::size_t>(1 + data[0] * 3, size / 64 + 1) : 1;
  for (std::size_t at = size ? 1 : 0; at < size && !p.ended; at += chunk) {
    const std::size_t n = at + chunk <= size ? chunk : size - at;
    sock->PeerSendNow(platform::ByteVec(data + at, data + at + n));
    p.Advance(100);
  }
  // What is still queued is handled one packet a tick; then the timed tasks get a turn.
  for (int tick = 0; tick < 400 && !p.ended && ctx.session.RecvRing.Queued() >= static_cast<int>(kPacketSize); ++tick)
    p.Advance(50);
  p.Advance(50 * 10);
  return 0;
}
