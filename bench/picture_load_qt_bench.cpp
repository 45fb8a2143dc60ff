// Loading a picture that is already decoded: the pack lookup alone, and the
// whole LoadResourcePicture into a control. Target: under 20 µs.
#include <benchmark/benchmark.h>

#include "qt_table_setup.h"

namespace {

void BM_CachedPackLoad(benchmark::State& state) {
  tavrel::bench::QtTable table;
  table.pictures->Load(245);
  for (auto _ : state) benchmark::DoNotOptimize(table.pictures->Load(245));
}
BENCHMARK(BM_CachedPackLoad);

void BM_CachedLoadResourcePicture(benchmark::State& state) {
  tavrel::bench::QtTable table;
  auto& image = tavrel::view::TileImage(*table.ctx, 30);
  int picture = 0;
  for (auto _ : state) {
    picture = (picture + 1) % 180;  // every face of every set, decoded on the first round only
    tavrel::view::LoadTilePicture(*table.ctx, 30, picture);
  }
  benchmark::DoNotOptimize(image.Picture());
}
BENCHMARK(BM_CachedLoadResourcePicture);

// First use of a picture: read and decode the PNG (a fresh pack each time).
void BM_FirstDecode(benchmark::State& state) {
  for (auto _ : state) {
    tavrel::platform::qt::QtPictures pictures(tavrel::bench::PackFolder());
    benchmark::DoNotOptimize(pictures.Load(201 + static_cast<int>(state.iterations() % 180)));
  }
}
BENCHMARK(BM_FirstDecode)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return tavrel::bench::RunWithQt(argc, argv); }
