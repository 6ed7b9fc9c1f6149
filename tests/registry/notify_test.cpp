#include "platform/registry/notify.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/registry/change_watcher.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "platform/win32/errors.h"
#include "tests/fs/temp_dir.h"
#include "tests/registry/child_process.h"

using testing_support::TempDir;

namespace {

struct Posted {
  HWND window;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

// Records what the notifications post, in place of the window system.
class NotifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(devdb::OpenDeviceDatabase(db(), devdb::OpenMode::kCreateIfMissing, &error)) << error;
    reg::SetMessagePoster([this](HWND w, UINT m, WPARAM wp, LPARAM lp) {
      std::lock_guard<std::mutex> lock(mutex);
      posted.push_back({w, m, wp, lp});
      cv.notify_all();
    });
  }
  void TearDown() override {
    reg::SetMessagePoster(nullptr);
    devdb::CloseDeviceDatabase();
  }
  std::string db() const { return dir / "device.db"; }
  std::vector<Posted> Snapshot() {
    std::lock_guard<std::mutex> lock(mutex);
    return posted;
  }
  // Runs the helper as another process and waits for it.
  int Helper(const std::vector<std::string>& args) {
    std::vector<std::string> all = {db()};
    all.insert(all.end(), args.begin(), args.end());
    return testing_support::WaitProcess(testing_support::StartProcess(testing_support::HelperProgram(), all));
  }
  // Notifications of this value's changes, posted to `window` as `msg`.
  HREGNOTIFY Watch(HKEY root, const char16_t* key, const char16_t* value, UINT msg, LPARAM lParam = 0,
                   NOTIFICATIONCONDITION* cond = nullptr) {
    HREGNOTIFY n = nullptr;
    EXPECT_EQ(RegistryNotifyWindow(root, key, value, window, msg, lParam, cond, &n), S_OK);
    return n;
  }
  bool WaitForCount(std::size_t n) {
    std::unique_lock<std::mutex> lock(mutex);
    return cv.wait_for(lock, std::chrono::seconds(5), [&] { return posted.size() >= n; });
  }

  TempDir dir;
  std::mutex mutex;
  std::condition_variable cv;
  std::vector<Posted> posted;
  HWND window = reinterpret_cast<HWND>(0x1000);
};

TEST_F(NotifyTest, AChangeByAnotherProcessIsPostedExactlyOncePerChange) {
  HREGNOTIFY n = Watch(HKEY_CURRENT_USER, u"System\\State\\Phone", u"Missed Call Count", 0x8B0, 42);
  ASSERT_EQ(Helper({"set-dword", "SYSTEM\\State\\Phone", "missed call count", "3"}), 0);
  ASSERT_TRUE(WaitForCount(1));
  ASSERT_EQ(Helper({"set-dword", "System\\State\\Phone", "Missed Call Count", "3"}), 0);  // no change
  ASSERT_EQ(Helper({"set-dword", "System\\State\\Phone", "Missed Call Count", "4"}), 0);
  ASSERT_EQ(Helper({"set-dword", "System\\State\\Phone", "Other", "4"}), 0);  // another value
  ASSERT_TRUE(WaitForCount(2));
  ASSERT_TRUE(devdb::SyncChangeWatcher());
  auto p = Snapshot();
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].window, window);
  EXPECT_EQ(p[0].msg, 0x8B0u);
  EXPECT_EQ(p[0].wParam, 3u);
  EXPECT_EQ(p[0].lParam, 42);
  EXPECT_EQ(p[1].wParam, 4u);
  EXPECT_EQ(RegistryCloseNotification(n), S_OK);
  EXPECT_EQ(RegistryCloseNotification(n), E_INVALIDARG);
}

TEST_F(NotifyTest, ChangesOfThisProcessAndDeletionsNotifyAndClosingStops) {
  HREGNOTIFY a = Watch(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", 0x402);
  HREGNOTIFY b = Watch(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", 0x403);
  ASSERT_EQ(RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", 0x00500008), S_OK);
  ASSERT_TRUE(devdb::SyncChangeWatcher());
  auto p = Snapshot();
  ASSERT_EQ(p.size(), 2u);  // one per subscription
  EXPECT_EQ(p[0].wParam, 0x00500008u);
  EXPECT_NE(p[0].msg, p[1].msg);

  RegistryCloseNotification(b);
  ASSERT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"System\\State\\Battery"), ERROR_SUCCESS);
  ASSERT_TRUE(devdb::SyncChangeWatcher());
  p = Snapshot();
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[2].msg, 0x402u);
  EXPECT_EQ(p[2].wParam, 0u);
  RegistryCloseNotification(a);
}

TEST_F(NotifyTest, AConditionLimitsThePostsToMatchingValues) {
  NOTIFICATIONCONDITION cond;
  cond.ctComparisonType = REG_CT_GREATER;
  cond.TargetValue.dw = 50;
  HREGNOTIFY n = Watch(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw", 0x404, 0, &cond);
  for (DWORD v : {10u, 60u, 40u, 90u}) reg::SetDword(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Signal Strength Raw", v);
  ASSERT_TRUE(devdb::SyncChangeWatcher());
  auto p = Snapshot();
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].wParam, 60u);
  EXPECT_EQ(p[1].wParam, 90u);
  RegistryCloseNotification(n);
  EXPECT_EQ(RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"x", u"y", nullptr, 1, 0, nullptr, &n), E_INVALIDARG);
  EXPECT_EQ(RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"x", u"y", window, 1, 0, nullptr, nullptr), E_INVALIDARG);
}

TEST_F(NotifyTest, TwoProcessesWritingAThousandValuesEachLoseNone) {
  pid_t a = testing_support::StartProcess(testing_support::HelperProgram(), {db(), "write-values", "a", "1000"});
  pid_t b = testing_support::StartProcess(testing_support::HelperProgram(), {db(), "write-values", "b", "1000"});
  ASSERT_EQ(testing_support::WaitProcess(a), 0);
  ASSERT_EQ(testing_support::WaitProcess(b), 0);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Test\\Bulk", 0, 0, &key), ERROR_SUCCESS);
  DWORD values = 0;
  ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                             nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, 2000u);
  DWORD v = 0;
  EXPECT_TRUE(reg::GetDword(HKEY_CURRENT_USER, u"Test\\Bulk", u"a999", &v));
  EXPECT_EQ(v, 999u);
  EXPECT_TRUE(reg::GetDword(HKEY_CURRENT_USER, u"Test\\Bulk", u"b0", &v));
  RegCloseKey(key);
}

}  // namespace
