// Arbitrary bytes from the server: through the socket's data event, the receive
// task and DispatchCommand with every handler registered so far.
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
  // The first byte picks the chunk size, so arrivals split packets anywhere.
  const std::size_t chunk = size ? 1 + data[0] * 3 : 1;
  for (std::size_t at = size ? 1 : 0; at < size && !p.ended; at += chunk) {
    const std::size_t n = at + chunk <= size ? chunk : size - at;
    sock->PeerSendNow(platform::ByteVec(data + at, data + at + n));
    p.Advance(100);
  }
  p.Advance(50 * 40);
  return 0;
}
