// The device information pages: memory, battery, running applications and
// the system summary, with the whole program in this process.
#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "pages/battery_info_page.h"
#include "pages/memory_info_page.h"
#include "pages/running_apps_page.h"
#include "platform/device/device.h"
#include "platform/device/power.h"
#include "platform/device/system.h"
#include "platform/shell/process_windows.h"
#include "tests/pages/pages_fixture.h"
#include "tests/registry/child_process.h"
#include "tests/support/scratch.h"

namespace {

using pagestest::Json;
using pagestest::RowTexts;
using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;

// A unit's first byte (1.00kB, 1.00MB, 1.00GB) is on the memory page below.
TEST(MemorySizeText, EachUnitFromItsFirstByteWithTwoDecimals) {
  EXPECT_EQ(MemorySizeText(0), u"0B");
  EXPECT_EQ(MemorySizeText(1023), u"1023B");
  EXPECT_EQ(MemorySizeText(1536), u"1.50kB");
  EXPECT_EQ(MemorySizeText(1048575), u"1024.00kB");
  EXPECT_EQ(MemorySizeText(3u * 1048576 / 2), u"1.50MB");
  EXPECT_EQ(MemorySizeText(0xFFFFFFFFu), u"4.00GB");
}

SYSTEM_POWER_STATUS_EX2 FullStatus() {
  SYSTEM_POWER_STATUS_EX2 s;
  s.ACLineStatus = 1;
  s.BatteryFlag = 8;
  s.BatteryLifePercent = 57;
  s.BatteryVoltage = 3900;
  s.BatteryCurrent = static_cast<DWORD>(-250);
  s.BatteryTemperature = 287;
  s.BatteryChemistry = 4;
  return s;
}

TEST(BatteryPairs, EachFieldShowsOnlyWhenTheFilledBytesReachIt) {
  const SYSTEM_POWER_STATUS_EX2 s = FullStatus();
  EXPECT_EQ(CmivoAdvBatteryInfoPage::Pairs(s, 56),
            (Pairs{{u"AC Line STATUS", u"Online"},
                   {u"Battery status", u"Charging"},
                   {u"Battery life percent", u"57%"},
                   {u"Battery voltage", u"3900mV"},
                   {u"Battery current", u"-250mA"},
                   {u"Battery temperature", u"29C"},
                   {u"Battery chemistry", u"Lithium Ion battery"}}));
  // Two bytes: the line status and the battery's; the percentage lies beyond them.
  EXPECT_EQ(CmivoAdvBatteryInfoPage::Pairs(s, 2), (Pairs{{u"AC Line STATUS", u"Online"},
                                                          {u"Battery status", u"Charging"}}));
  // The voltage needs its four bytes at 24, the chemistry its byte at 52.
  for (auto [bytes, fields] : {std::pair{3, 3u}, {27, 3u}, {28, 4u}, {52, 6u}, {53, 7u}})
    EXPECT_EQ(CmivoAdvBatteryInfoPage::Pairs(s, bytes).size(), fields) << bytes << " bytes";
  // Nothing filled: the line status as unknown, nothing read from the record.
  EXPECT_EQ(CmivoAdvBatteryInfoPage::Pairs(s, 0), (Pairs{{u"AC Line STATUS", u"Unknown"}}));
}

TEST(BatteryPairs, FlagsAndCodesOutsideTheirTablesAreUnknown) {
  SYSTEM_POWER_STATUS_EX2 s = FullStatus();
  s.ACLineStatus = 7;
  s.BatteryFlag = 9;  // charging and high together
  s.BatteryLifePercent = 255;
  s.BatteryChemistry = 9;
  const Pairs pairs = CmivoAdvBatteryInfoPage::Pairs(s, 56);
  for (std::size_t field : {0u, 1u, 2u, 6u}) EXPECT_EQ(pairs[field].second, u"Unknown") << field;
  s.BatteryFlag = 128;
  s.ACLineStatus = 2;
  EXPECT_EQ(CmivoAdvBatteryInfoPage::Pairs(s, 56)[1].second, u"No battery");
  EXPECT_EQ(CmivoAdvBatteryInfoPage::Pairs(s, 56)[0].second, u"Backup power");
}

class InfoPages : public pagestest::PagesTest {};

TEST_F(InfoPages, TheBatteryPageFollowsTheDeviceEveryTwoSecondsWhileShown) {
  ASSERT_TRUE(device::SetSimulatedBattery(40, false));
  Json d = Show(9);
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoAdvBatteryInfoPage");
  EXPECT_EQ(RowTexts(d), (std::vector<std::string>{"Battery info",
                                                   "The information returned by the system may be irrelevant."}));
  EXPECT_NE(d["top"]["rows"][0]["sub"].AsString().find("Battery life percent: 40%"), std::string::npos);
  ASSERT_TRUE(device::SetSimulatedBattery(75, true));
  m_ui->Wait(2100);
  d = Dump();
  EXPECT_NE(d["top"]["rows"][0]["sub"].AsString().find("Battery life percent: 75%"), std::string::npos);
  EXPECT_NE(d["top"]["rows"][0]["sub"].AsString().find("AC Line STATUS: Online"), std::string::npos);
  // Hidden, it reads nothing; shown again, it reads at once.
  auto* page = Core().TopPage();
  Back();
  ASSERT_TRUE(device::SetSimulatedBattery(12, false));
  m_ui->Wait(4100);
  auto* battery = dynamic_cast<CmivoAdvBatteryInfoPage*>(page);
  mivoRowText hidden;
  battery->GetItem(0)->Describe(&hidden);
  EXPECT_NE(hidden.sub.find(u"75%"), std::u16string::npos);
  EXPECT_NE(Show(9)["top"]["rows"][0]["sub"].AsString().find("12%"), std::string::npos);
}

TEST_F(InfoPages, TheMemoryPageShowsItsSixLinesAndPaintsThemAgainEveryTwoSeconds) {
  const std::filesystem::path file = testing_support::FreshScratchFolder("pages-meminfo") / "meminfo";
  auto write = [&](int freeKb) {
    std::ofstream(file) << "MemTotal: 2097152 kB\nMemAvailable: " << freeKb << " kB\nSwapTotal: 1024 kB\n"
                        << "SwapFree: 1 kB\n";
  };
  write(1048576);
  device::SetMemInfoFile(file.string());
  Json d = Show(27);
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoMemoryInfoPage");
  ASSERT_EQ(d["top"]["texts"].size(), 6u);
  EXPECT_EQ(d["top"]["texts"][0].AsString(), "Free physical memory: 1.00GB");
  EXPECT_EQ(d["top"]["texts"][1].AsString(), "Total physical memory: 2.00GB");
  EXPECT_EQ(d["top"]["texts"][4].AsString(), "Free page file memory: 1.00kB");
  EXPECT_EQ(d["top"]["texts"][5].AsString(), "Total page file memory: 1.00MB");
  // The figures on screen change with the next tick, not before it.
  const uitest::Capture before = uitest::UiHarness::Screen();
  write(512);
  m_ui->Wait(1000);
  EXPECT_EQ(uitest::UiHarness::Screen().pixels, before.pixels);
  m_ui->Wait(1100);
  EXPECT_NE(uitest::UiHarness::Screen().pixels, before.pixels);
  device::SetMemInfoFile("/proc/meminfo");
}

TEST_F(InfoPages, RunningApplicationsListsTheOtherProgramsCaptionedWindowsAndBringsOneForward) {
  const std::filesystem::path out = testing_support::FreshScratchFolder("pages-windows") / "fronts";
  const std::string db = device::DeviceFolder() + "/device.db";
  const pid_t helper = testing_support::StartProcess(testing_support::HelperProgram(), {db, "windows", out.string()});
  ASSERT_GT(helper, 0);
  ASSERT_TRUE(WaitFor([] { return shell::ListOtherWindows().size() == 3; }));
  Json d = Show(26);
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoAdvRunningAppsPage");
  // Neither the window without a caption nor the hidden one.
  EXPECT_EQ(RowTexts(d), (std::vector<std::string>{"Notes"}));
  TapRow("Notes");
  ASSERT_TRUE(WaitFor([&] {
    std::ifstream in(out);
    std::string line;
    return std::getline(in, line) && line == "front 49";  // 0x30 with its lowest bit set
  }));
  // Gone, it is gone from the list at the next showing.
  kill(helper, SIGKILL);
  testing_support::WaitProcess(helper);
  Back();
  EXPECT_TRUE(RowTexts(Show(26)).empty());
}

TEST_F(InfoPages, TheSystemInfoPageSumsUpTheDeviceAndOpensTheThreeInformationPages) {
  ASSERT_TRUE(device::SetSimulatedBattery(66, true));
  Json d = Show(25);
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoSystemInfoPage");
  EXPECT_EQ(RowTexts(d), (std::vector<std::string>{"System info", "Memory info", "Battery info",
                                                   "Running applications"}));
  const std::string card = d["top"]["rows"][0]["sub"].AsString();
  EXPECT_NE(card.find("mivo: 2.3 beta 4"), std::string::npos) << card;
  EXPECT_NE(card.find("Battery life percent: 66%"), std::string::npos) << card;
  ActivateRow("Battery info");
  EXPECT_EQ(TopClass(), "CmivoAdvBatteryInfoPage");
}

}  // namespace
