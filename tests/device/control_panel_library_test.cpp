// The device's control-panel library and host program: the applet calls a
// control panel makes, and what opening an applet starts and records.
#include <gtest/gtest.h>

#include "platform/device/control_panel.h"
#include "platform/device/device.h"
#include "platform/registry/registry.h"
#include "platform/shell/kernel.h"
#include "platform/shell/launch.h"
#include "platform/shell/library.h"
#include "platform/win32/errors.h"
#include "tests/device/device_fixture.h"
#include "tests/fs/temp_dir.h"
#include "tests/tools/run_tool.h"

namespace {

using testing_support::TempDir;

using ControlPanelLibrary = devicetest::DeviceTest;

TEST_F(ControlPanelLibrary, AnswersTheAppletCallsOfAControlPanel) {
  HMODULE library = LoadLibraryW(u"\\Windows\\CPLMAIN.CPL");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(LoadLibraryW(u"cplmain.cpl"), library);  // the same library, one more reference
  auto applet = reinterpret_cast<APPLET_PROC>(GetProcAddressW(library, u"CPlApplet"));
  ASSERT_NE(applet, nullptr);
  EXPECT_EQ(GetProcAddressW(library, u"NoSuchExport"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_NE(applet(nullptr, CPL_INIT, 0, 0), 0);
  EXPECT_EQ(applet(nullptr, CPL_GETCOUNT, 0, 0), device::ControlPanelAppletCount());
  NEWCPLINFO info;
  ASSERT_EQ(applet(nullptr, CPL_NEWINQUIRE, 23, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(std::u16string(info.szName), u"Bluetooth");
  WCHAR key[32] = {};
  ASSERT_EQ(applet(nullptr, CPL_IDNAME, 23, reinterpret_cast<LPARAM>(key)), 0);
  EXPECT_EQ(std::u16string(key), u"Bluetooth");
  // The applets this device lacks, and records of the wrong size, fail.
  EXPECT_NE(applet(nullptr, CPL_NEWINQUIRE, 14, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_NE(applet(nullptr, CPL_IDNAME, 99, reinterpret_cast<LPARAM>(key)), 0);
  info.dwSize = 12;
  EXPECT_NE(applet(nullptr, CPL_NEWINQUIRE, 7, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_TRUE(FreeLibrary(library));
  EXPECT_TRUE(FreeLibrary(library));
  EXPECT_FALSE(FreeLibrary(library));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GetProcAddressW(library, u"CPlApplet"), nullptr);
  EXPECT_EQ(LoadLibraryW(u"\\Windows\\nothere.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  // Every applet of the library is placed in one of the three groups.
  for (const device::ControlPanelApplet& a : device::ControlPanelApplets()) {
    DWORD group = 9;
    EXPECT_TRUE(reg::GetDword(HKEY_LOCAL_MACHINE, u"ControlPanel\\" + std::u16string(a.key), u"Group", &group));
    EXPECT_LE(group, 2u);
  }
}

TEST_F(ControlPanelLibrary, OpeningAnAppletStartsTheHostsSettingsOrIsRecordedAsOpenedOnTheDevice) {
  std::u16string line = u"cplmain.cpl,23,1";
  PROCESS_INFORMATION process;
  ASSERT_TRUE(CreateProcessW(u"\\Windows\\ctlpnl.exe", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             nullptr, &process));
  EXPECT_EQ(process.hProcess, nullptr);  // nothing runs on the host: this host has no such program
  auto launches = shell::RecentLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].pid, 0);
  EXPECT_EQ(launches[0].error, 0u);
  EXPECT_EQ(launches[0].command, u"(on the device) control panel: Bluetooth, tab 1");
  const auto out = testing_support::RunMivoDevice({"--device", dir / "dev", "launches", "1"});
  EXPECT_NE(out.out.find("\\Windows\\ctlpnl.exe cplmain.cpl,23,1  -> (on the device) control panel: Bluetooth, tab 1"),
            std::string::npos)
      << out.out;
  // A tab of its own may have settings of its own.
  ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, u"Device\\Host Programs\\Control Panel", u"Regional,3", u"true time"));
  line = u"cplmain.cpl,18,3";
  ASSERT_TRUE(CreateProcessW(u"\\Windows\\ctlpnl.exe", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             nullptr, &process));
  if (process.hProcess) CloseHandle(process.hProcess);
  launches = shell::RecentLaunches(1);
  EXPECT_GT(launches[0].pid, 0);
  EXPECT_EQ(launches[0].command, u"true time");
  // A command line that names no applet of the library starts nothing.
  for (const char16_t* bad : {u"cplmain.cpl", u"other.cpl,3,0", u"cplmain.cpl,14,0", u"cplmain.cpl,x"}) {
    line = bad;
    EXPECT_FALSE(CreateProcessW(u"\\Windows\\ctlpnl.exe", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                nullptr, &process))
        << std::string(line.begin(), line.end());
  }
}

}  // namespace
