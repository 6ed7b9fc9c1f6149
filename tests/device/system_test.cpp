#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <random>
#include <thread>

#include "platform/device/device.h"
#include "platform/device/power.h"
#include "platform/device/system.h"
#include "platform/registry/database.h"
#include "platform/registry/registry.h"
#include "tests/device/device_fixture.h"
#include "tests/fs/temp_dir.h"
#include "tests/registry/child_process.h"

using testing_support::ReadText;
using testing_support::TempDir;
using testing_support::WriteText;

namespace {

class SystemTest : public devicetest::DeviceTest {
 protected:
  void TearDown() override {
    device::SetPowerSupplyFolder("/sys/class/power_supply");
    device::SetMemInfoFile("/proc/meminfo");
    DeviceTest::TearDown();
  }
};

TEST_F(SystemTest, TheHostsBatteryIsReadWhenItHasOneElseTheSimulatedOne) {
  std::string sys = dir / "power";
  for (auto [file, value] : {std::pair{"AC/type", "Mains"}, {"AC/online", "0"}, {"BAT0/type", "Battery"},
                             {"BAT0/capacity", "42"}, {"BAT0/status", "Discharging"}, {"BAT0/voltage_now", "3900000"},
                             {"BAT0/current_now", "500000"}, {"BAT0/temp", "312"}, {"BAT0/technology", "Li-poly"}})
    WriteText(sys + "/" + file, std::string(value) + "\n");
  device::SetPowerSupplyFolder(sys);
  SYSTEM_POWER_STATUS_EX2 s;
  ASSERT_EQ(GetSystemPowerStatusEx2(&s, sizeof s, TRUE), 56u);
  EXPECT_EQ(s.ACLineStatus, AC_LINE_OFFLINE);
  EXPECT_EQ(s.BatteryLifePercent, 42);
  EXPECT_EQ(s.BatteryFlag, 0);
  EXPECT_EQ(s.BatteryVoltage, 3900u);
  EXPECT_EQ(static_cast<LONG>(s.BatteryCurrent), -500);
  EXPECT_EQ(s.BatteryTemperature, 312u);
  EXPECT_EQ(s.BatteryChemistry, BATTERY_CHEMISTRY_LIPOLY);
  ASSERT_TRUE(device::UpdateBatteryState());
  DWORD main = 0;
  ASSERT_EQ(RegistryGetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Battery", u"Main", &main), S_OK);
  EXPECT_EQ((main >> 16) + 19, 42u);  // the level the system reads
  EXPECT_FALSE(device::UpdateBatteryState());  // unchanged: not written again

  // The simulated battery wins once set, until the host is chosen again.
  ASSERT_TRUE(device::SetSimulatedBattery(90, true));
  SYSTEM_POWER_STATUS_EX plain;
  ASSERT_TRUE(GetSystemPowerStatusEx(&plain, FALSE));
  EXPECT_EQ(plain.BatteryLifePercent, 90);
  EXPECT_EQ(plain.ACLineStatus, AC_LINE_ONLINE);
  EXPECT_EQ(plain.BatteryFlag, BATTERY_FLAG_HIGH | BATTERY_FLAG_CHARGING);
  ASSERT_TRUE(device::SetBatterySource("host"));
  ASSERT_TRUE(GetSystemPowerStatusEx(&plain, FALSE));
  EXPECT_EQ(plain.BatteryLifePercent, 42);
  device::SetPowerSupplyFolder(dir / "none");
  ASSERT_TRUE(GetSystemPowerStatusEx(&plain, FALSE));
  EXPECT_EQ(plain.BatteryFlag, BATTERY_FLAG_NO_BATTERY);
  EXPECT_EQ(plain.BatteryLifePercent, BATTERY_PERCENTAGE_UNKNOWN);
  SYSTEM_POWER_STATUS_EX2 partial;
  EXPECT_EQ(GetSystemPowerStatusEx2(&partial, 2, TRUE), 2u);
  EXPECT_EQ(GetSystemPowerStatusEx2(nullptr, 56, TRUE), 0u);
}

TEST_F(SystemTest, MemoryStatusComesFromMeminfoAndSaturatesAtFourGigabytes) {
  WriteText(dir / "meminfo", "MemTotal:       1000 kB\nMemFree:         100 kB\nMemAvailable:    250 kB\n"
                             "SwapTotal:      8000000 kB\nSwapFree:       6000000 kB\n");
  device::SetMemInfoFile(dir / "meminfo");
  MEMORYSTATUS m;
  GlobalMemoryStatus(&m);
  EXPECT_EQ(m.dwMemoryLoad, 75u);
  EXPECT_EQ(m.dwTotalPhys, 1024000u);
  EXPECT_EQ(m.dwAvailPhys, 256000u);
  EXPECT_EQ(m.dwTotalPageFile, 0xFFFFFFFFu);
  EXPECT_EQ(m.dwTotalVirtual, 0x7FFE0000u);
  EXPECT_LT(m.dwAvailVirtual, m.dwTotalVirtual);
  WriteText(dir / "meminfo", "garbage\n");
  GlobalMemoryStatus(&m);
  EXPECT_EQ(m.dwMemoryLoad, 0u);
}

TEST_F(SystemTest, VolumeAndSoundTypesPersistInTheDevice) {
  DWORD v = 0;
  EXPECT_EQ(waveOutGetVolume(nullptr, &v), MMSYSERR_NOERROR);
  EXPECT_EQ(v, 0xFFFFFFFFu);
  EXPECT_EQ(waveOutSetVolume(nullptr, 32766), MMSYSERR_NOERROR);
  SNDFILEINFO info;
  info.sstType = SND_SOUNDTYPE_VIBRATE;
  EXPECT_EQ(SndSetSound(SND_EVENT_ALL, &info, TRUE), S_OK);
  device::CloseDevice();
  std::string error;
  ASSERT_TRUE(device::OpenDevice(dir / "dev", &error)) << error;
  EXPECT_EQ(waveOutGetVolume(nullptr, &v), MMSYSERR_NOERROR);
  EXPECT_EQ(v, 32766u);
  SNDFILEINFO back;
  EXPECT_EQ(SndGetSound(SND_EVENT_RINGTONELINE1, &back), S_OK);
  EXPECT_EQ(back.sstType, SND_SOUNDTYPE_VIBRATE);
  EXPECT_EQ(SndGetSound(static_cast<SND_EVENT>(99), &back), E_INVALIDARG);
  EXPECT_EQ(waveOutGetVolume(nullptr, nullptr), MMSYSERR_INVALPARAM);
}

TEST_F(SystemTest, TheTimeValueChangesOncePerMinute) {
  SYSTEMTIME t;
  t.wYear = 2024, t.wMonth = 3, t.wDay = 1, t.wHour = 9, t.wMinute = 5, t.wSecond = 10;
  EXPECT_TRUE(device::UpdateTimeState(t));
  t.wSecond = 59;
  EXPECT_FALSE(device::UpdateTimeState(t));
  t.wMinute = 6, t.wSecond = 0;
  EXPECT_TRUE(device::UpdateTimeState(t));
  reg::Value v;
  ASSERT_TRUE(reg::Get(HKEY_LOCAL_MACHINE, u"System\\State\\DateTime", u"Time", &v));
  ASSERT_EQ(v.data.size(), 8u);
  std::uint64_t ticks = 0;
  for (int i = 7; i >= 0; --i) ticks = (ticks << 8) | static_cast<unsigned char>(v.data[i]);
  // 2024-03-01 09:06 is 1709283960 seconds after 1970.
  EXPECT_EQ(ticks, (1709283960ull + 11644473600ull) * 10000000ull);
  EXPECT_TRUE(device::SetTimeZone("Europe/Prague"));
  EXPECT_EQ(device::TimeZone(), "Europe/Prague");
  EXPECT_FALSE(device::SetTimeZone("../../etc/passwd x"));
}

// Kills a writer at random points: device.db stays intact and a file being
// replaced is always wholly old or wholly new.
TEST_F(SystemTest, AWriterKilledAtRandomPointsLeavesEverythingWhole) {
  std::string db = dir / "dev/device.db";
  std::string file = dir / "dev/fs/My Documents/churn.bin";
  std::mt19937 rnd(7);
  for (int round = 0; round < 6; ++round) {
    bool registry = round % 2 == 1;
    pid_t pid = testing_support::StartProcess(
        testing_support::HelperProgram(),
        registry ? std::vector<std::string>{db, "churn-registry"} : std::vector<std::string>{db, "churn-file", file});
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(40 + rnd() % 120));
    kill(pid, SIGKILL);
    testing_support::WaitProcess(pid);
    if (registry) {
      std::string error;
      auto check = devdb::Database::Open(db, devdb::OpenMode::kOpenExisting, &error);
      ASSERT_TRUE(check) << error;
      devdb::Statement st(check->handle(), "PRAGMA integrity_check");
      ASSERT_EQ(st.Step(), SQLITE_ROW);
      EXPECT_EQ(st.Text(0), "ok");
      DWORD a = 0, b = 0;
      if (reg::GetDword(HKEY_CURRENT_USER, u"Test\\Churn", u"A", &a) && reg::GetDword(HKEY_CURRENT_USER, u"Test\\Churn", u"B", &b)) {
        EXPECT_TRUE(a == b || a == b + 1) << a << " " << b;
      }
    } else {
      std::string content = ReadText(file);
      if (!content.empty()) {
        EXPECT_GE(content.size(), 200000u);
        EXPECT_EQ(content.find_first_not_of(content[0]), std::string::npos) << "a mix of two versions";
        EXPECT_EQ((content.size() - 200000) % 1000, 0u);
      }
    }
  }
}

}  // namespace
