// mivo-device's radio and volume commands: what they set, what they print,
// and wrong usage refused with exit code 2 before anything changes.
#include <gtest/gtest.h>

#include "tests/fs/temp_dir.h"
#include "tests/tools/run_tool.h"

using testing_support::RunMivoDevice;
using testing_support::TempDir;

namespace {

class RadioVolumeTool : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Run({"init"}).code, 0); }
  testing_support::ToolResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--device", std::string(dir / "dev")});
    return RunMivoDevice(args);
  }
  TempDir dir;
};

TEST_F(RadioVolumeTool, RadiosAreListedAndSwitched) {
  EXPECT_EQ(Run({"radio", "list"}).out,
            "wifi       off           Wi-Fi\n"
            "phone      on            Phone\n"
            "bluetooth  off           Bluetooth\n");
  EXPECT_EQ(Run({"radio", "bluetooth", "discoverable"}).code, 0);
  EXPECT_EQ(Run({"radio", "wifi", "on"}).code, 0);
  EXPECT_EQ(Run({"radio", "phone", "off"}).code, 0);
  EXPECT_EQ(Run({"radio", "list"}).out,
            "wifi       on            Wi-Fi\n"
            "phone      off           Phone\n"
            "bluetooth  discoverable  Bluetooth\n");
  // The phone's network went with its radio.
  EXPECT_EQ(Run({"reg", "get", "HKLM\\System\\State\\Phone", "Signal Strength Raw"}).out, "0\n");
}

TEST_F(RadioVolumeTool, VolumesAndTheSoundTypeAreSetAndPrinted) {
  auto r = Run({"volume", "system", "3", "ring", "5", "vibrate"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "system 3 (0x00007FFE)\nring 5\nsound vibrate\n");
  EXPECT_EQ(Run({"volume", "mute"}).out, "system 3 (0x00007FFE)\nring 5\nsound mute\n");
  EXPECT_EQ(Run({"volume"}).out, "system 3 (0x00007FFE)\nring 5\nsound mute\n");
  EXPECT_EQ(Run({"reg", "get", "HKCU\\ControlPanel\\SoundCategories\\Ring", "InitVol"}).out, "5\n");
}

TEST_F(RadioVolumeTool, WrongUsageChangesNothingAndExitsWithTwo) {
  const std::string before = Run({"radio", "list"}).out + Run({"volume"}).out;
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"radio"},
                                             {"radio", "wifi"},
                                             {"radio", "modem", "on"},
                                             {"radio", "phone", "standby"},
                                             {"radio", "phone", "discoverable"},
                                             {"radio", "wifi", "discoverable"},
                                             {"volume", "system"},
                                             {"volume", "system", "7"},
                                             {"volume", "ring", "-1"},
                                             {"volume", "ring", "2", "loud"},
                                             {"volume", "system", "2", "ring"}}) {
    const auto r = Run(args);
    EXPECT_EQ(r.code, 2) << args.back();
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
  EXPECT_EQ(Run({"radio", "list"}).out + Run({"volume"}).out, before);
  EXPECT_EQ(Run({"radio", "--help"}).code, 0);
  EXPECT_EQ(Run({"volume", "--help"}).code, 0);
}

}  // namespace
