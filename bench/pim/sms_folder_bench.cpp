// Opening an SMS folder of 10,000 messages: logging on, finding the SMS
// store, opening the Inbox and loading its messages newest first, as the
// SMS list page does on its first showing (budget 100 ms, aim 30 ms). The
// baseline is a plain SQLite query of the same rows with the same columns,
// measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <mutex>
#include <string>

#include "bench/support/scratch_device.h"
#include "pim/sms_store.h"
#include "platform/device/message_db.h"
#include "platform/device/sms_network.h"
#include "platform/registry/change_watcher.h"
#include "platform/registry/database.h"
#include "platform/win32/text.h"

namespace {

constexpr int kMessages = 10000;

// A device with 10,000 messages in the SMS Inbox, made once.
void MakeDevice() {
  bench_support::OpenScratchDevice([](devdb::Database& db) {
    for (int i = 0; i < kMessages; ++i) {
      device::SMSRecord r;
      r.folder = u"inbox";
      r.senderName = u"Sender " + text::FromInt(i % 150);
      r.senderNumber = u"+420 603 " + text::FromInt(100000 + i % 150);
      r.text = u"Message number " + text::FromInt(i) + u": see you at the station at seven, don't be late!";
      r.read = i % 7 != 0;
      r.unixMs = 1268643900000LL - static_cast<std::int64_t>((i * 7919) % kMessages) * 60000;
      if (!device::StoreSMS(db.handle(), r, 0)) return false;
    }
    return true;
  });
}

// Nanoseconds of one plain query reading the same rows and columns.
double BaselineQueryNs() {
  devdb::Database* db = devdb::DeviceDatabase();
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(db->handle(),
                      "SELECT id, class, subject, sender_name, sender_address, flags, delivery_time FROM messages "
                      "WHERE folder = 6 ORDER BY delivery_time DESC");
  constexpr int kRuns = 20;
  auto start = std::chrono::steady_clock::now();
  for (int run = 0; run < kRuns; ++run) {
    std::size_t rows = 0;
    while (st.Step() == SQLITE_ROW) {
      benchmark::DoNotOptimize(st.Text16(2));
      benchmark::DoNotOptimize(st.Int(0));
      ++rows;
    }
    sqlite3_reset(st.get());
    if (rows != kMessages) std::abort();
  }
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / kRuns;
}

void BM_OpenSMSFolderOf10000(benchmark::State& state) {
  MakeDevice();
  // As in the launcher, the change watcher runs.
  int watch = devdb::SubscribeChanges("reg", [](const devdb::Change&) {});
  double baseline = BaselineQueryNs();
  std::int64_t n = 0;
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    mivoSMSStore store;
    mivoSMSFolder* inbox = store.GetFolder(PR_CE_IPM_INBOX_ENTRYID);
    if (!inbox || inbox->GetCount() != kMessages) std::abort();
    benchmark::DoNotOptimize(inbox->GetAt(0)->GetBody());
    ++n;
  }
  double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
              static_cast<double>(std::max<std::int64_t>(n, 1));
  state.counters["ms_per_open"] = ns / 1e6;
  state.counters["baseline_query_ms"] = baseline / 1e6;
  state.counters["ratio_to_query"] = ns / baseline;
  devdb::UnsubscribeChanges(watch);
}
BENCHMARK(BM_OpenSMSFolderOf10000)->Unit(benchmark::kMillisecond);

}  // namespace
