// Hand record work on a record file that already holds 100 hands: writing one
// hand's 120 keys (target: under 20 ms) and reading a hand back.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "session/ini_file.h"

namespace {

namespace fs = std::filesystem;
using tavrel::classIniFile;

constexpr int kHandsInFile = 100;
constexpr int kColumnLines = 24;  // 4 columns of 24 lines, 4 result lines: 120 keys a hand

std::string Section(int hand) { return "juNum:" + std::to_string(hand); }

// The keys of one hand in the order the record writer uses.
template <typename Fn>
void ForEachRecordKey(Fn&& fn) {
  for (int i = 0; i < 4; ++i) {
    const std::string n = std::to_string(i);
    fn("name( " + n + " )", "玩家" + n);
    fn("PicIndex( " + n + " )", std::to_string(i * 3));
  }
  for (int i = 0; i < 8; ++i) {
    const std::string count = "count( " + std::to_string(i) + " )";
    const int lines = i < 4 ? kColumnLines : 1;
    fn(count, std::to_string(lines));
    for (int j = 0; j < lines; ++j)
      fn(count + "( " + std::to_string(j) + " )", i < 4 ? "  清一色        8嘴" : "最终分：-1200金币");
  }
  for (int i = 0; i < 4; ++i) fn("count( " + std::to_string(i) + " ) ForeColor", "65280");
}

// A folder with a record file of 100 hands, and a pristine copy to restore.
struct RecordFolder {
  fs::path dir, file, pristine;
  RecordFolder() {
    std::string tmpl = (fs::temp_directory_path() / "ini_bench.XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp");
    dir = tmpl;
    file = dir / "info.vl";
    pristine = dir / "pristine.vl";
    classIniFile ini(pristine.string());
    classIniFile::Batch batch(ini);
    for (int hand = 1; hand <= kHandsInFile; ++hand)
      ForEachRecordKey([&](const std::string& k, const std::string& v) { ini.WriteIniKey(Section(hand), k, v); });
  }
  ~RecordFolder() { fs::remove_all(dir); }
  void Restore() const { fs::copy_file(pristine, file, fs::copy_options::overwrite_existing); }
};

void WriteHand(benchmark::State& state, bool batched) {
  RecordFolder folder;
  for (auto _ : state) {
    state.PauseTiming();
    folder.Restore();
    state.ResumeTiming();
    classIniFile ini(folder.file.string());
    if (batched) ini.BeginBatch();
    ForEachRecordKey([&](const std::string& k, const std::string& v) { ini.WriteIniKey(Section(101), k, v); });
    if (batched) ini.EndBatch();
  }
  state.counters["file_KiB"] = static_cast<double>(fs::file_size(folder.file)) / 1024.0;
}

void BM_WriteHandBatched(benchmark::State& state) { WriteHand(state, true); }
void BM_WriteHandEachKeyDurable(benchmark::State& state) { WriteHand(state, false); }

void BM_ReadHand(benchmark::State& state) {
  RecordFolder folder;
  folder.Restore();
  for (auto _ : state) {
    classIniFile ini(folder.file.string());
    ForEachRecordKey([&](const std::string& k, const std::string&) {
      benchmark::DoNotOptimize(ini.GetIniKey(Section(kHandsInFile / 2), k));
    });
  }
}

BENCHMARK(BM_WriteHandBatched)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteHandEachKeyDurable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadHand)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
