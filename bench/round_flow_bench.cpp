// The hand's pictures cost nothing noticeable: the own hand sorted after a draw,
// and a draw and a discard of another seat handled from the receive ring, control
// model included. Targets: under 50 µs and under 20 µs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "app/client_context.h"
#include "platform/sim/sim_platform.h"
#include "round/table_reset.h"
#include "session/command_record.h"
#include "session/transport.h"
#include "view/hand_view.h"
#include "view/pictures.h"

namespace {

using namespace tavrel;

struct Table {
  platform::sim::SimPlatform p;
  ClientContext ctx{p};
  Table() {
    p.screen = {1280, 1024};
    InstallParts(ctx);
    ctx.hooks.prepareLayout();
    ctx.hooks.finishLayout();
    for (int r = 0; r < 4; ++r) ctx.table.custom[r].seat = round::MaskAt(2, r);
  }
  void Receive(int command, int seat, std::array<int, 4> v) {
    Info info;
    info.Cmd = static_cast<std::int16_t>(command);
    info.Seat = static_cast<std::uint8_t>(seat);
    for (int i = 0; i < 4; ++i) info.value[i] = static_cast<std::int16_t>(v[i]);
    const Packet packet = EncodeRecord(info, {1, 2});
    ctx.session.RecvRing.PushAll(packet.data(), static_cast<int>(kPacketSize));
    session::ReceiveNextPacket(ctx);
  }
  // A fresh hand: the wall, the deal, the wild tile.
  void Deal() {
    round::ResetTableForNewHand(ctx);
    Receive(4, round::MaskAt(2, 0), {1, 2, 3, 4});
    Info info;
    info.Cmd = 1;
    info.Seat = round::MaskAt(2, 0);
    info.value[1] = 12;
    Packet deal = EncodeRecord(info, {1, 2});
    const int codes[12] = {0x11, 0x23, 0x41, 0x89, 0x21, 0x15, 0x47, 0x82, 0x29, 0x23, 0x44, 0x17};
    for (int i = 0; i < 12; ++i) wire::PutU16BE(deal, off::kDealtTiles + 2 * i, static_cast<std::uint16_t>(codes[i]));
    ctx.session.RecvRing.PushAll(deal.data(), static_cast<int>(kPacketSize));
    session::ReceiveNextPacket(ctx);
    Receive(14, 0, {0, 0, 0x27, 0x26});
  }
};

void BM_SortAndShowHandAfterDraw(benchmark::State& state) {
  Table t;
  t.Deal();
  auto& own = t.ctx.table.custom[0];
  // Fourteen tiles, the drawn one last: many hands in a random order, one per run.
  std::mt19937 rng(5);
  std::vector<std::array<round::TileSlot, round::kSlotCount>> hands;
  const int codes[14] = {0x81, 0x85, 0x89, 0x42, 0x42, 0x47, 0x23, 0x24, 0x25, 0x29, 0x11, 0x13, 0x16, 0x27};
  for (int h = 0; h < 64; ++h) {
    std::array<int, 14> order;
    std::copy(std::begin(codes), std::end(codes), order.begin());
    std::shuffle(order.begin(), order.end(), rng);
    auto slots = own.tiles;
    for (int k = 0; k < 14; ++k) slots[4 + k] = {1, static_cast<std::int16_t>(order[k]), static_cast<std::int16_t>(k)};
    hands.push_back(slots);
  }
  own.concealedCount = 14;
  std::size_t n = 0;
  for (auto _ : state) {
    own.tiles = hands[n++ % hands.size()];
    view::SortAndShowHand(t.ctx, 0, 14);
    benchmark::DoNotOptimize(own.tiles[4].code);
  }
}
BENCHMARK(BM_SortAndShowHandAfterDraw)->Unit(benchmark::kMicrosecond);

void BM_DrawAndDiscardThroughTheDispatcher(benchmark::State& state) {
  Table t;
  t.Deal();
  const int left = round::MaskAt(2, 1);
  int pairs = 0;
  for (auto _ : state) {
    // Twenty pairs take what the wall has left after the deal; then a fresh hand.
    if (++pairs % 20 == 0) {
      state.PauseTiming();
      t.Deal();
      state.ResumeTiming();
    }
    t.Receive(5, left, {0, 0, 0, 0});
    t.Receive(2, left, {0, 0, 0, 0x21 + pairs % 9});
  }
  benchmark::DoNotOptimize(t.ctx.table.LastDiscardImage);
}
BENCHMARK(BM_DrawAndDiscardThroughTheDispatcher)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
