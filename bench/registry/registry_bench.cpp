// The settings store reads the registry on every use: RegistryGetDWORD must
// stay far below 5 us. Its baseline is a plain prepared SQLite query of the
// same row in the same run. The second pair measures the delay from a commit
// by another connection (as another process makes it) to the posted message,
// against the commit alone.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/registry/change_watcher.h"
#include "platform/registry/database.h"
#include "platform/registry/notify.h"
#include "platform/registry/registry.h"

namespace {

std::string DeviceDb() {
  static std::string path = [] {
    std::string templ = (std::filesystem::temp_directory_path() / "mivo-bench-XXXXXX").string();
    std::string dir = mkdtemp(templ.data());
    std::string db = dir + "/device.db";
    std::string error;
    devdb::OpenDeviceDatabase(db, devdb::OpenMode::kCreateIfMissing, &error);
    reg::SetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", 0x00500008);
    for (int i = 0; i < 200; ++i) reg::SetDword(HKEY_CURRENT_USER, u"Software\\mivo\\mivo", u"V" + std::u16string(1, u'A' + i % 26) + std::u16string(1, u'a' + i / 26), i);
    std::atexit([] {
      devdb::CloseDeviceDatabase();
      std::filesystem::remove_all(std::filesystem::path(path).parent_path());
    });
    return db;
  }();
  return path;
}

// Nanoseconds per plain prepared query of the same row, measured now.
double BaselineQueryNs() {
  std::string error;
  auto db = devdb::Database::Open(DeviceDb(), devdb::OpenMode::kOpenExisting, &error);
  devdb::Statement st(db->handle(),
                      "SELECT v.data FROM reg_values v JOIN reg_keys k ON k.id = v.key "
                      "WHERE k.root = 'hklm' AND k.path_lc = 'system\\state\\battery' AND v.name_lc = 'main'");
  constexpr int kRuns = 20000;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRuns; ++i) {
    st.Step();
    benchmark::DoNotOptimize(st.Blob(0));
    sqlite3_reset(st.get());
  }
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / kRuns;
}

void RunGetDword(benchmark::State& state) {
  double baseline = BaselineQueryNs();
  DWORD v = 0;
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    RegistryGetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", &v);
    benchmark::DoNotOptimize(v);
  }
  double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
              static_cast<double>(state.iterations());
  state.counters["baseline_query_ns"] = baseline;
  state.counters["ratio_to_query"] = ns / baseline;
}

// As in the launcher: the change watcher runs (the frame subscribes to state
// values at start), so a read costs a cache lookup.
void BM_RegistryGetDWORD(benchmark::State& state) {
  DeviceDb();
  int id = devdb::SubscribeChanges("reg", [](const devdb::Change&) {});
  RunGetDword(state);
  devdb::UnsubscribeChanges(id);
  devdb::StopChangeWatcher();
}
BENCHMARK(BM_RegistryGetDWORD);

// A process without the watcher (a tool) asks the database's data version on
// every read.
void BM_RegistryGetDWORD_WithoutWatcher(benchmark::State& state) {
  DeviceDb();
  RunGetDword(state);
}
BENCHMARK(BM_RegistryGetDWORD_WithoutWatcher);

std::atomic<int> g_posted{0};

void BM_ChangeToPostedMessage(benchmark::State& state) {
  DeviceDb();
  reg::SetMessagePoster([](HWND, UINT, WPARAM, LPARAM) { g_posted.fetch_add(1); });
  HREGNOTIFY n = nullptr;
  RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw", reinterpret_cast<HWND>(4),
                       0x404, 0, nullptr, &n);
  std::string error;
  auto other = devdb::Database::Open(DeviceDb(), devdb::OpenMode::kOpenExisting, &error);
  reg::SetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw", 0);
  devdb::Statement st(other->handle(), "UPDATE reg_values SET data = ?1 WHERE name_lc = 'signal strength raw'");
  std::uint32_t value = 1;
  // Baseline: the commit alone, in the same run.
  constexpr int kCommits = 200;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kCommits; ++i) {
    ++value;
    st.BindBlob(1, &value, 4);
    st.Run();
    sqlite3_reset(st.get());
  }
  double commitNs = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / kCommits;
  while (g_posted.load() < kCommits) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  g_posted = 0;
  start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    int before = g_posted.load();
    ++value;
    st.BindBlob(1, &value, 4);
    st.Run();
    sqlite3_reset(st.get());
    while (g_posted.load() == before) std::this_thread::sleep_for(std::chrono::microseconds(20));
  }
  double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
              static_cast<double>(state.iterations());
  state.counters["baseline_commit_ns"] = commitNs;
  state.counters["ratio_to_commit"] = ns / commitNs;
  RegistryCloseNotification(n);
  reg::SetMessagePoster(nullptr);
}
BENCHMARK(BM_ChangeToPostedMessage)->UseRealTime();

}  // namespace
