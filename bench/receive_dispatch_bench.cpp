// Decode plus dispatch straight from the receive ring.
#include <benchmark/benchmark.h>

#include "app/client_context.h"
#include "platform/sim/sim_platform.h"
#include "session/command_record.h"
#include "session/dispatcher.h"
#include "session/packet_io.h"
#include "session/transport.h"

namespace {

using namespace tavrel;

void BM_DecodeAndDispatch(benchmark::State& state) {
  platform::sim::SimPlatform p;
  ClientContext ctx(p);
  InstallParts(ctx);
  std::int64_t sum = 0;
  session::RegisterHandler(ctx, 2, [&sum](ClientContext& cx) { sum += cx.session.info.value[3]; });
  // A realistic mix: discards (own handler), gold changes (a real handler) and an unknown command.
  std::vector<Packet> mix;
  for (int i = 0; i < 8; ++i) {
    Info info;
    info.Cmd = static_cast<std::int16_t>(i % 4 == 3 ? 91 : i % 4 == 2 ? 200 : 2);
    info.Seat = 1;
    info.value[3] = static_cast<std::int16_t>(i);
    mix.push_back(EncodeRecord(info, {1, 2}));
  }
  auto& ring = ctx.session.RecvRing;
  std::size_t k = 0;
  for (auto _ : state) {
    if (ring.Queued() < static_cast<int>(kPacketSize)) {
      // Refill as the socket's data event would: 100 packets arrive at once.
      for (int i = 0; i < 100; ++i) ring.PushAll(mix[k++ % mix.size()].data(), static_cast<int>(kPacketSize));
    }
    session::ReceiveNextPacket(ctx);
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeAndDispatch);

}  // namespace

BENCHMARK_MAIN();
