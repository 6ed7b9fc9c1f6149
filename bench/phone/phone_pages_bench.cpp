// The phone pages at VGA (480x640) inside the whole application, each read
// against a plain SQLite query of the same rows measured in the same run:
//
// - one key on the contacts page's keypad over 10,000 contacts: the search
//   text grows by a digit, the list is filtered again and painted (budget
//   20 ms, aim 5 ms); the baseline is a LIKE query over the same names;
// - opening the Inbox page of 10,000 messages: the page takes the folder,
//   makes a card per message and paints (budget 100 ms, aim 30 ms); the
//   baseline reads the same messages' rows.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_core.h"
#include "app/main_frame.h"
#include "app/mivo_app.h"
#include "pim/phone_page.h"
#include "pim/sms_items_page.h"
#include "pim/sms_store.h"
#include "platform/device/device.h"
#include "platform/device/pim_db.h"
#include "platform/device/sms_network.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/database.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/clock.h"
#include "platform/win32/text.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kContacts = 10000;
constexpr int kMessages = 10000;

// Names to build 10,000 contacts from, accents included.
const char16_t* const kFirst[] = {u"Jan",   u"Jana",   u"Petr",   u"Eva",    u"Tomáš", u"Lucie",  u"Jiří",
                                  u"Anna",  u"Karel",  u"Zuzana", u"Martin", u"Hana",  u"Ondřej", u"Klára",
                                  u"Pavel", u"Eliška", u"David",  u"Tereza", u"Lukáš", u"Věra"};
const char16_t* const kLast[] = {u"Novák",    u"Svoboda", u"Novotný", u"Dvořák",  u"Černý",    u"Procházka",
                                 u"Kučera",   u"Veselý",  u"Horák",   u"Němec",   u"Marek",    u"Pospíšil",
                                 u"Hájek",    u"Jelínek", u"Král",    u"Růžička", u"Beneš",    u"Fiala",
                                 u"Sedláček", u"Doležal", u"Zeman",   u"Kolář",   u"Navrátil", u"Čermák"};

// The application on a fresh device holding 10,000 contacts and 10,000 messages.
class App {
 public:
  App() {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "mivo_bench_phone";
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::filesystem::create_directories(dir, ec);
    device::DeviceOptions options;
    options.provision = false;
    std::string error;
    if (!device::OpenDevice(dir.string(), &error, options)) std::abort();
    Fill();
    sysclock::UseVirtualTime();
    window::SetScreenSize(480, 640);
    window::CreateFramebuffer(480, 640);
    gdi::SetLogPixels(window::ShellScale() == 2 ? 192 : 96);
    shell::StartPhoneShell();
    m_app = std::make_unique<CmivoApp>();
    m_app->InitInstance();
    window::PumpPending();
  }
  ~App() {
    if (m_app->m_pCore) m_app->m_pCore->RequestExit();
    for (int i = 0; i < 10 && !window::QuitPending(); ++i) window::PumpPending();
    m_app->ExitInstance();
    m_app.reset();
    shell::StopPhoneShell();
    window::ResetWindowSystem();
    const std::string folder = device::DeviceFolder();
    device::CloseDevice();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  mivoAppCore& Core() { return *m_app->m_pCore; }

 private:
  static void Fill() {
    devdb::Database* db = devdb::DeviceDatabase();
    std::lock_guard<std::recursive_mutex> lock(db->mutex());
    db->Transaction([&] {
      for (int i = 0; i < kContacts; ++i) {
        device::ContactRecord c;
        c.firstName = kFirst[i % 20];
        c.lastName = kLast[(i / 20) % 24];
        c.mobile = u"+420 6" + text::Format(u"%02d %03d %03d", i % 97, (i * 37) % 1000, (i * 7919) % 1000);
        if (i % 3 == 0) c.home = u"+420 2" + text::Format(u"%02d %03d %03d", i % 89, (i * 13) % 1000, i % 1000);
        if (i % 5 == 0) c.company = u"Firma " + text::FromInt(i % 400);
        if (i % 4 == 0) c.email1 = text::ToLower(c.lastName) + text::FromInt(i) + u"@example.cz";
        if (device::AddContact(&c) == 0) return false;
      }
      for (int i = 0; i < kMessages; ++i) {
        device::SMSRecord r;
        r.folder = u"inbox";
        r.senderName = u"Sender " + text::FromInt(i % 150);
        r.senderNumber = u"+420 603 " + text::FromInt(100000 + i % 150);
        r.text = u"Message number " + text::FromInt(i) + u": see you at the station at seven, don't be late!";
        r.read = i % 7 != 0;
        r.unixMs = 1268643900000LL - static_cast<std::int64_t>((i * 7919) % kMessages) * 60000;
        if (!device::StoreSMS(db->handle(), r, 0)) return false;
      }
      return true;
    });
  }

  std::unique_ptr<CmivoApp> m_app;
};

App& TheApp() {
  static App app;
  return app;
}

// The plain query of the names, as a database would answer "who holds JAN".
double LikeQueryNs() {
  devdb::Database* db = devdb::DeviceDatabase();
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(db->handle(),
                      "SELECT oid, first_name, last_name FROM contacts WHERE first_name LIKE '%jan%' OR "
                      "last_name LIKE '%jan%'");
  constexpr int kRuns = 20;
  const auto start = Clock::now();
  for (int run = 0; run < kRuns; ++run) {
    while (st.Step() == SQLITE_ROW) benchmark::DoNotOptimize(st.Int(0));
    sqlite3_reset(st.get());
  }
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kRuns;
}

double MessagesQueryNs() {
  devdb::Database* db = devdb::DeviceDatabase();
  std::lock_guard<std::recursive_mutex> lock(db->mutex());
  devdb::Statement st(db->handle(),
                      "SELECT id, class, subject, sender_name, sender_address, flags, delivery_time FROM messages "
                      "WHERE folder IN (SELECT f.id FROM msg_folders f JOIN msg_stores s ON f.store = s.id "
                      "WHERE f.role = 'inbox' AND s.name = 'SMS') ORDER BY delivery_time DESC");
  constexpr int kRuns = 20;
  const auto start = Clock::now();
  for (int run = 0; run < kRuns; ++run) {
    std::size_t rows = 0;
    while (st.Step() == SQLITE_ROW) {
      benchmark::DoNotOptimize(st.Text16(2));
      ++rows;
    }
    sqlite3_reset(st.get());
    if (rows != kMessages) {
      std::fprintf(stderr, "the query read %zu rows\n", rows);
      std::abort();
    }
  }
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kRuns;
}

void BM_DialPadKeyOver10000Contacts(benchmark::State& state) {
  App& app = TheApp();
  auto* page = dynamic_cast<CmivoPhonePageWnd*>(app.Core().GetPage(19));
  if (!page) std::abort();
  page->SetPageParam(0, 0);
  app.Core().ShowPage(page);
  window::PumpPending();
  // Keys typed one after the other: 5, 2, 6, then back to the empty search.
  const int keys[] = {6, 3, 7, kKeypadClear};
  const double baseline = LikeQueryNs();
  double ns = 0;
  std::int64_t presses = 0;
  std::size_t next = 0;
  for (auto _ : state) {
    const int key = keys[next++ % 4];
    const auto start = Clock::now();
    // The keypad's message, the refilter it asks for and the paint that follows.
    page->SendMessage(WM_MIVO_PHONE_KEY, static_cast<WPARAM>(key));
    window::PumpPending();
    ns += std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    ++presses;
    benchmark::DoNotOptimize(page->List().GetItemCount());
  }
  state.counters["ms_per_key"] = ns / static_cast<double>(std::max<std::int64_t>(presses, 1)) / 1e6;
  state.counters["like_query_ms"] = baseline / 1e6;
  state.counters["ratio_to_query"] = ns / static_cast<double>(std::max<std::int64_t>(presses, 1)) / baseline;
}
BENCHMARK(BM_DialPadKeyOver10000Contacts)->Unit(benchmark::kMillisecond);

void BM_OpenInboxPageOf10000(benchmark::State& state) {
  App& app = TheApp();
  auto* page = dynamic_cast<CmivoSMSItemsPage*>(app.Core().GetPage(8));
  if (!page) std::abort();
  // The store opens and loads the folder on the first request; that once is
  // the store's own benchmark (bench_pim).
  page->SetPageParam(static_cast<int>(PR_CE_IPM_INBOX_ENTRYID), 0);
  app.Core().ShowPage(page);
  window::PumpPending();
  const double baseline = MessagesQueryNs();
  double ns = 0;
  std::int64_t opens = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    page->SetPageParam(static_cast<int>(PR_CE_IPM_INBOX_ENTRYID), 0);
    window::PumpPending();
    ns += std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    ++opens;
    if (page->ListBox().GetItemCount() != kMessages + 1) {
      std::fprintf(stderr, "%d rows\n", page->ListBox().GetItemCount());
      std::abort();
    }
  }
  state.counters["ms_per_open"] = ns / static_cast<double>(std::max<std::int64_t>(opens, 1)) / 1e6;
  state.counters["baseline_query_ms"] = baseline / 1e6;
  state.counters["ratio_to_query"] = ns / static_cast<double>(std::max<std::int64_t>(opens, 1)) / baseline;
}
BENCHMARK(BM_OpenInboxPageOf10000)->Unit(benchmark::kMillisecond);

}  // namespace
