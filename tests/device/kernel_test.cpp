#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/device/device.h"
#include "platform/registry/registry.h"
#include "platform/shell/kernel.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_defs.h"
#include "tests/device/device_fixture.h"
#include "tests/fs/temp_dir.h"
#include "tests/tools/run_tool.h"

using testing_support::TempDir;

namespace {

constexpr char16_t kActivation[] = u"Vastelo_mivo_onActivateApplication";

using KernelTest = devicetest::DeviceTest;

TEST_F(KernelTest, AnAutoResetEventReleasesOneWaitAndManualResetStaysSignalled) {
  HANDLE autoEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_TIMEOUT);
  SetEvent(autoEvent);
  EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_TIMEOUT);
  HANDLE manual = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  ResetEvent(manual);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);

  // A wait on another thread ends when the event is signalled, and fails when
  // the handle is closed under it (how the activation watcher ends).
  std::atomic<DWORD> result{12345};
  std::thread waiter([&] { result = WaitForSingleObject(autoEvent, INFINITE); });
  SetEvent(autoEvent);
  waiter.join();
  EXPECT_EQ(result.load(), WAIT_OBJECT_0);
  std::thread closed([&] { result = WaitForSingleObject(autoEvent, INFINITE); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  CloseHandle(autoEvent);
  closed.join();
  EXPECT_EQ(result.load(), WAIT_FAILED);
  EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_FAILED);
  EXPECT_FALSE(SetEvent(autoEvent));
  CloseHandle(manual);
}

TEST_F(KernelTest, WakeSignalsTheRegisteredNamedEventInAnotherProcess) {
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, kActivation);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  HANDLE second = CreateEventW(nullptr, FALSE, FALSE, kActivation);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  CloseHandle(second);
  ASSERT_TRUE(CeRunAppAtEvent(u"\\\\.\\Notifications\\NamedEvents\\Vastelo_mivo_onActivateApplication",
                              NOTIFICATION_EVENT_WAKEUP));
  auto r = testing_support::RunMivoDevice({"--device", dir / "dev", "wake"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("signalled Vastelo_mivo_onActivateApplication"), std::string::npos) << r.out;
  EXPECT_EQ(WaitForSingleObject(event, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);

  // Removing the registration: wake has nothing to do.
  ASSERT_TRUE(CeRunAppAtEvent(u"\\\\.\\Notifications\\NamedEvents\\Vastelo_mivo_onActivateApplication",
                              NOTIFICATION_EVENT_NONE));
  r = testing_support::RunMivoDevice({"--device", dir / "dev", "wake"});
  EXPECT_NE(r.out.find("nothing is registered"), std::string::npos);
  CloseHandle(event);
  EXPECT_FALSE(shell::SignalNamedEvent(kActivation));  // nobody holds it now

  // A program registered for wake-up is started, and the launch recorded.
  ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, u"Device\\Host Programs", u"alarm.exe", u"true"));
  ASSERT_TRUE(CeRunAppAtEvent(u"\\Windows\\alarm.exe", NOTIFICATION_EVENT_WAKEUP));
  r = testing_support::RunMivoDevice({"--device", dir / "dev", "wake"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("started \\Windows\\alarm.exe"), std::string::npos) << r.out;
  r = testing_support::RunMivoDevice({"--device", dir / "dev", "launches"});
  EXPECT_NE(r.out.find("\\Windows\\alarm.exe  -> true (pid "), std::string::npos) << r.out;
}

TEST_F(KernelTest, ANamedMutexTellsASecondHolderAndIsFreedByItsOwnersEnd) {
  HANDLE m = CreateMutexW(nullptr, FALSE, u"/Program Files/mivo/mivo.exe");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  HANDLE again = CreateMutexW(nullptr, FALSE, u"/Program Files/mivo/mivo.exe");
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(WaitForSingleObject(m, 1000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);  // recursive for its owner
  EXPECT_TRUE(ReleaseMutex(m));
  EXPECT_TRUE(ReleaseMutex(m));
  EXPECT_FALSE(ReleaseMutex(m));
  EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
  CloseHandle(again);
  CloseHandle(m);
  HANDLE fresh = CreateMutexW(nullptr, FALSE, u"/Program Files/mivo/mivo.exe");
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  CloseHandle(fresh);
}

TEST_F(KernelTest, ThreadsAndModuleNameBehaveAsOnThePlatform) {
  HANDLE t = CreateThread(nullptr, 0, [](LPVOID p) -> DWORD { return *static_cast<DWORD*>(p) + 1; },
                          new DWORD(41), 0, nullptr);
  EXPECT_EQ(WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(t, &code));
  EXPECT_EQ(code, 42u);
  CloseHandle(t);
  char16_t name[MAX_PATH];
  EXPECT_EQ(GetModuleFileNameW(nullptr, name, MAX_PATH), 28u);
  EXPECT_EQ(std::u16string(name), u"\\Program Files\\mivo\\mivo.exe");
  char16_t small[5];
  EXPECT_EQ(GetModuleFileNameW(nullptr, small, 5), 5u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(small), u"\\Pro");
}

}  // namespace
