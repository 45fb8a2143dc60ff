// A full repaint of the table window: the felt, 84 tile pictures and every
// other control, offscreen. Target: under 3 ms.
#include <benchmark/benchmark.h>

#include "qt_table_setup.h"

namespace {

void BM_FullTableRepaint(benchmark::State& state) {
  tavrel::bench::QtTable table;
  auto* window = table.ui->Window(tavrel::kMainForm);
  window->repaint();  // scaled pictures are made once, on the first paint
  for (auto _ : state) window->repaint();
}
BENCHMARK(BM_FullTableRepaint)->Unit(benchmark::kMicrosecond);

// One tile moved (a discard): the model change, the sync and the partial repaint.
void BM_DiscardRepaint(benchmark::State& state) {
  tavrel::bench::QtTable table;
  auto* window = table.ui->Window(tavrel::kMainForm);
  window->repaint();
  auto& tile = tavrel::view::TileImage(*table.ctx, 5);
  bool centre = false;
  for (auto _ : state) {
    centre = !centre;
    tile.Move(centre ? 494 : 259, centre ? 359 : 564);
    table.ui->SyncNow();
    QCoreApplication::processEvents();  // the queued partial repaint
  }
}
BENCHMARK(BM_DiscardRepaint)->Unit(benchmark::kMicrosecond);

// Rendering into an image, as the screenshots do.
void BM_RenderToImage(benchmark::State& state) {
  tavrel::bench::QtTable table;
  auto* window = table.ui->Window(tavrel::kMainForm);
  for (auto _ : state) benchmark::DoNotOptimize(window->Render());
}
BENCHMARK(BM_RenderToImage)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return tavrel::bench::RunWithQt(argc, argv); }
