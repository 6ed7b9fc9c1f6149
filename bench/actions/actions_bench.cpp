// The actions store's hot paths: recording a start into a history of 1,000
// distinct entries (what every tap costs beyond the action itself), and
// loading and saving a history file of 100,000 records (what start-up and
// exit cost after years of use). Each prints its time per operation and its
// ratio to copying one 480x640 32-bit frame, measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

#include "bench/support/frame_baseline.h"
#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "look/archive.h"
#include "platform/fs/device_path.h"
#include "platform/win32/text.h"

namespace {

using bench_support::Measure;

// A history of 1,000 distinct calls with falling counts.
void FillHistory(mivoActions& store) {
  for (int i = 0; i < 1000; ++i) {
    const mivoActionMakeCall call(nullptr, u"+420 600 " + text::FromInt(100000 + i));
    for (int n = 0; n <= (1000 - i) / 100; ++n) store.RecordAction(call);
  }
}

// 100,000 records over 1,000 distinct files, interleaved as a log.
std::vector<std::uint8_t> LongLog() {
  mivoArchiveWriter log;
  for (int i = 0; i < 100000; ++i) {
    const int f = (i * 7919) % 1000 / ((i % 3) + 1);
    mivoActionExecuteFile(nullptr, u"\\My Documents\\File " + text::FromInt(f) + u".doc").SaveRecord(log);
  }
  log.WriteU32(0xFFFFFFFFu);
  return log.Take();
}

void BM_RunActionIntoAThousandEntries(benchmark::State& state) {
  mivoActions store(nullptr);
  FillHistory(store);
  // Starting entries from the tail: each climbs past a run of equal counts.
  int i = 0;
  Measure(state, [&] {
    mivoActionMakeCall call(nullptr, u"+420 600 " + text::FromInt(100000 + 999 - (i++ % 1000)));
    store.RunAction(&call);
  });
}
BENCHMARK(BM_RunActionIntoAThousandEntries);

void BM_LoadHundredThousandRecordHistory(benchmark::State& state) {
  const auto bytes = LongLog();
  Measure(state, [&] {
    mivoActions store(nullptr);
    store.ReadHistory(bytes);
    benchmark::DoNotOptimize(store.History().Count());
  });
}
BENCHMARK(BM_LoadHundredThousandRecordHistory)->Unit(benchmark::kMillisecond);

void BM_SaveHundredThousandRecordHistory(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "mivo_bench_actions";
  std::filesystem::create_directories(dir / "Program Files" / "mivo");
  fs::SetDeviceRoot(dir.string());
  mivoActions store(nullptr);
  store.SetDataFolder(u"\\Program Files\\mivo\\");
  store.ReadHistory(LongLog());
  Measure(state, [&] { store.SaveHistory(); });
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveHundredThousandRecordHistory)->Unit(benchmark::kMillisecond);

}  // namespace
