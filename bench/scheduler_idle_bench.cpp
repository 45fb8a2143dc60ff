// What an idle client costs: a tick with nothing to do, the planning done on
// every turn of the event loop, and a whole idle minute of the sim clock.
#include <benchmark/benchmark.h>

#include "app/client_context.h"
#include "platform/sim/sim_platform.h"
#include "session/packet_io.h"
#include "session/scheduler.h"
#include "session/scheduler_idle.h"

namespace {

using namespace tavrel;

// Connected and logged in, the table shown, nothing happening: the login
// answered, the receive task and the watchdog on, the keep-alive off.
struct IdleClient {
  platform::sim::SimPlatform p;
  ClientContext ctx{p};
  IdleClient() {
    p.simLobby().windows.insert("Virel山庄");
    InstallParts(ctx);
    ctx.Winsock1->RemoteHost = "127.0.0.1";
    ctx.Winsock1->Connect();
    p.RunPending();
    session::StartWatchdog(ctx);
    session::StartReceiveTask(ctx);
    ctx.TimerKeepAlive->SetEnabled(false);
    p.Advance(1000);
  }
};

void BM_IdleTick(benchmark::State& state) {
  IdleClient c;
  for (auto _ : state) session::TimerBongTick(c.ctx);
}
BENCHMARK(BM_IdleTick);

void BM_PlanNextTick(benchmark::State& state) {
  IdleClient c;
  for (auto _ : state) session::PlanNextTick(c.ctx);
}
BENCHMARK(BM_PlanNextTick);

// A minute of the sim clock on an idle client; the counter is the ticks that ran.
void BM_IdleMinute(benchmark::State& state) {
  IdleClient c;
  int ticks = 0;
  auto tick = c.ctx.TimerBong->onTick;
  c.ctx.TimerBong->onTick = [&ticks, tick] {
    ++ticks;
    tick();
  };
  std::int64_t minutes = 0;
  for (auto _ : state) {
    c.p.Advance(60000);
    ++minutes;
  }
  state.counters["ticks_a_minute"] = static_cast<double>(ticks) / static_cast<double>(minutes);
}
BENCHMARK(BM_IdleMinute);

}  // namespace

BENCHMARK_MAIN();
