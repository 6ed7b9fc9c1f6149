// Reading the personal data as the pages do: the contacts collection of
// 10,000 contacts made and every contact's name and mobile number read (the
// contacts page's first showing), and a call log of 5,000 calls read entry
// by entry through the phone library (the call log page). Each is read
// against a plain SQLite query of the same rows, measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <mutex>
#include <string>

#include "bench/support/scratch_device.h"
#include "pim/call_log.h"
#include "pim/outlook_app.h"
#include "platform/device/call_log.h"
#include "platform/device/pim_db.h"
#include "platform/registry/database.h"
#include "platform/win32/text.h"

namespace {

constexpr int kContacts = 10000;
constexpr int kCalls = 5000;

// A device with 10,000 contacts and 5,000 calls, made once.
void MakeDevice() {
  bench_support::OpenScratchDevice([](devdb::Database&) {
    for (int i = 0; i < kContacts; ++i) {
      device::ContactRecord c;
      c.firstName = u"First" + text::FromInt((i * 7919) % kContacts);
      c.lastName = u"Last" + text::FromInt((i * 104729) % 977);
      c.mobile = u"+420 603 " + text::FromInt(100000 + i);
      if (i % 3 == 0) c.home = u"+420 224 " + text::FromInt(200000 + i);
      if (!device::AddContact(&c)) return false;
    }
    for (int i = 0; i < kCalls; ++i) {
      device::CallRecord call;
      call.direction = static_cast<DWORD>(i % 3);
      call.number = u"+420 603 " + text::FromInt(100000 + (i * 31) % kContacts);
      call.name = u"Caller " + text::FromInt(i % 400);  // named, so no contact is looked up while writing
      call.startUnixMs = 1268643900000LL - static_cast<std::int64_t>(i) * 3600000;
      call.endUnixMs = call.startUnixMs + (i % 3 ? 60000 : 0);
      if (!device::AddCall(call)) return false;
    }
    return true;
  });
}

// Nanoseconds of one plain query reading `rows` rows of two text columns.
double BaselineQueryNs(const char* sql, int rows) {
  devdb::Database* db = devdb::DeviceDatabase();
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(db->handle(), sql);
  constexpr int kRuns = 20;
  auto start = std::chrono::steady_clock::now();
  for (int run = 0; run < kRuns; ++run) {
    int read = 0;
    while (st.Step() == SQLITE_ROW) {
      benchmark::DoNotOptimize(st.Text16(0));
      benchmark::DoNotOptimize(st.Text16(1));
      ++read;
    }
    sqlite3_reset(st.get());
    if (read != rows) std::abort();
  }
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / kRuns;
}

template <typename Fn>
void Measure(benchmark::State& state, double baselineNs, const char* counter, Fn once) {
  std::int64_t n = 0;
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    once();
    ++n;
  }
  const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
                    static_cast<double>(std::max<std::int64_t>(n, 1));
  state.counters[counter] = ns / 1e6;
  state.counters["baseline_query_ms"] = baselineNs / 1e6;
  state.counters["ratio_to_query"] = ns / baselineNs;
}

void BM_EnumerateContactsOf10000(benchmark::State& state) {
  MakeDevice();
  const double baseline =
      BaselineQueryNs("SELECT first_name, mobile FROM contacts ORDER BY last_name, first_name", kContacts);
  Measure(state, baseline, "ms_per_enumeration", [] {
    POApplication app(nullptr);
    POContactsCollection* contacts = app.GetContacts();
    if (!contacts || contacts->GetCount() != kContacts) std::abort();
    for (std::size_t i = 0; i < contacts->GetCount(); ++i) {
      POContact* c = contacts->GetContactAt(i);
      benchmark::DoNotOptimize(c->GetDisplayName());
      benchmark::DoNotOptimize(c->GetNumber(kPhoneKindMobile));
    }
  });
}
BENCHMARK(BM_EnumerateContactsOf10000)->Unit(benchmark::kMillisecond);

void BM_ReadCallLogOf5000(benchmark::State& state) {
  MakeDevice();
  const double baseline =
      BaselineQueryNs("SELECT number, name FROM call_log ORDER BY start_time DESC, id DESC", kCalls);
  Measure(state, baseline, "ms_per_read", [] {
    mivoCallLog log;
    log.ReadCallLog();
    if (log.GetEntries().size() != static_cast<std::size_t>(kCalls)) std::abort();
    benchmark::DoNotOptimize(log.GetEntries().back().pszNumber);
  });
}
BENCHMARK(BM_ReadCallLogOf5000)->Unit(benchmark::kMillisecond);

}  // namespace
