// A whole recorded game replayed into a client on the sim backend: sixteen hands as
// tavrel-server sent them to one seat (bench/data/sixteen_hands.bin, recorded with
// tools/record_game.py --seed 1 --dice-doubling --wealth-rate 10), every animation,
// pause and countdown on the virtual clock. Target: the whole game under 2 s of real
// time; the per-packet cost is reported as the counter "per_packet".
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/client_context.h"
#include "platform/names.h"
#include "platform/sim/sim_platform.h"
#include "session/wire.h"

#ifndef TAVREL_SOURCE_DIR
#define TAVREL_SOURCE_DIR "."
#endif

namespace {

using namespace tavrel;

std::vector<std::uint8_t> LoadGame() {
  std::ifstream in(std::string(TAVREL_SOURCE_DIR) + "/bench/data/sixteen_hands.bin", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Replay {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tavrel-replay-" + std::to_string(::getpid()));
  platform::sim::SimPlatform p;
  ClientContext ctx{p};
  Replay() {
    std::filesystem::create_directories(folder);
    p.screen = {1280, 1024};
    p.simLobby().windows.insert("Virel山庄");
    // The record file is written as it is for a player: one replace per hand.
    p.programFolder = folder.string();
    InstallParts(ctx);
    ctx.hooks.prepareLayout();
    ctx.hooks.finishLayout();
    ctx.hooks.setUpSound();
    ctx.table.custom[0].name = "player";
    ctx.Winsock1->RemoteHost = "127.0.0.1";
    ctx.Winsock1->RemotePort = 4000;
    ctx.Winsock1->Connect();
    p.RunPending();
  }
  // Feeds the game as fast as the receive ring takes it; returns the virtual ms used.
  std::int64_t Play(const std::vector<std::uint8_t>& game) {
    constexpr std::size_t kChunk = 16 * kPacketSize;
    constexpr std::int64_t kLimitMs = 3600 * 1000;
    std::size_t sent = 0;
    std::int64_t ms = 0;
    const std::int64_t start = p.clock().NowMs();
    while (ms < kLimitMs && !p.Ending()) {
      while (sent < game.size() && ctx.session.RecvRing.Free() > static_cast<int>(kChunk)) {
        const std::size_t n = std::min(kChunk, game.size() - sent);
        p.socket(0)->PeerSendNow(platform::ByteVec(game.begin() + static_cast<long>(sent),
                                                   game.begin() + static_cast<long>(sent + n)));
        sent += n;
      }
      if (sent == game.size() && ctx.session.RecvRing.Queued() < static_cast<int>(kPacketSize)) break;
      p.Advance(50);
      ms += 50;
    }
    // The waits inside the handlers (dice, draws) move the virtual clock too.
    return p.clock().NowMs() - start;
  }
  ~Replay() { std::filesystem::remove_all(folder); }
  int Sheets() {
    const platform::Control* rows = ctx.ui.form(frm::Hero).Find(ctl::Hero::Num);
    return rows ? rows->ListCount() : 0;
  }
};

void BM_ReplaySixteenHands(benchmark::State& state) {
  const std::vector<std::uint8_t> game = LoadGame();
  if (game.size() < kPacketSize) {
    state.SkipWithError("bench/data/sixteen_hands.bin is missing");
    return;
  }
  const double packets = static_cast<double>(game.size() / kPacketSize);
  std::int64_t virtualMs = 0;
  int sheets = 0;
  for (auto _ : state) {
    Replay r;
    virtualMs = r.Play(game);
    sheets = r.Sheets();
  }
  if (sheets != 16) state.SkipWithError("the replay did not end sixteen hands with their sheets");
  state.counters["packets"] = packets;
  state.counters["hands"] = sheets;
  state.counters["virtual_s"] = static_cast<double>(virtualMs) / 1000.0;
  state.counters["per_packet"] =
      benchmark::Counter(packets, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReplaySixteenHands)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
