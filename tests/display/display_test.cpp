// The screen's pieces that stand alone: PNG files, script parsing, options.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/display/host.h"
#include "platform/display/png.h"
#include "platform/display/script.h"
#include "tests/support/mivo_runner.h"

using testing_support::FreshDir;

TEST(PngFiles, AFrameWrittenAndReadBackKeepsEveryPixel) {
  const std::string dir = FreshDir("png_roundtrip");
  std::vector<std::uint32_t> pixels(7 * 5);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 0x050301u);
  window::FrameView f{pixels.data(), 5, 5, 7};  // a stride wider than the width
  std::string error;
  ASSERT_TRUE(display::WritePng(dir + "/a.png", f, &error)) << error;
  display::Image img;
  ASSERT_TRUE(display::ReadPng(dir + "/a.png", &img, &error)) << error;
  ASSERT_EQ(img.width, 5);
  ASSERT_EQ(img.height, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(img.At(x, y), pixels[static_cast<std::size_t>(y) * 7 + x]);
  }
  // No temporary file is left beside it.
  EXPECT_FALSE(std::ifstream(dir + "/a.png.tmp").good());
}

TEST(PngFiles, MissingDamagedAndUnwritableFilesGiveMessagesNotCrashes) {
  const std::string dir = FreshDir("png_bad");
  display::Image img;
  std::string error;
  EXPECT_FALSE(display::ReadPng(dir + "/none.png", &img, &error));
  EXPECT_FALSE(error.empty());
  std::ofstream(dir + "/bad.png") << "\x89PNG\r\n\x1a\nthis is not a picture";
  error.clear();
  EXPECT_FALSE(display::ReadPng(dir + "/bad.png", &img, &error));
  EXPECT_FALSE(error.empty());
  std::uint32_t px = 0;
  window::FrameView f{&px, 1, 1, 1};
  error.clear();
  EXPECT_FALSE(display::WritePng(dir + "/no/such/folder/a.png", f, &error));
  EXPECT_NE(error.find("cannot write"), std::string::npos);
  EXPECT_FALSE(display::WritePng(dir + "/x.png", window::FrameView{}, &error));
}

TEST(ScenarioScripts, EveryCommandOfTheLanguageIsAccepted) {
  const std::vector<std::string> lines = {
      "# a comment", "", "tap 10 20", "hold 1 2", "down 3 4", "move 5 6", "up 7 8", "drag 0 0 100 100 250",
      "key LEFT", "key RETURN", "key F1", "key a", "key 7", "key VK_BACK", "char Žluťoučký kůň",
      "wait 500", "rotate", "time 2011-12-31T23:59", "time 2011-12-31T23:59:30", "shot out.png", "dump", "exit"};
  int bad = 0;
  std::string message;
  EXPECT_TRUE(display::ScriptRunner::Check(lines, &bad, &message)) << bad << ": " << message;
}

TEST(ScenarioScripts, BadLinesAreReportedWithTheirLineNumber) {
  struct Case {
    std::string line;
    std::string mentions;
  };
  const std::vector<Case> cases = {
      {"jump 1 2", "unknown command 'jump'"}, {"tap 10", "usage: tap X Y"},       {"tap a b", "bad point"},
      {"key NOPE", "unknown key 'NOPE'"},      {"wait -5", "bad time"},            {"wait soon", "bad time"},
      {"time 2011-13-01T10:00", "bad date-time"}, {"time 2011-02-30T10:00", "bad date-time"},
      {"shot", "usage: shot FILE.png"},        {"char", "usage: char TEXT"},       {"dump now", "usage: dump"},
      {"drag 1 2 3 4", "usage: drag"}};
  for (const Case& c : cases) {
    int bad = 0;
    std::string message;
    EXPECT_FALSE(display::ScriptRunner::Check({"tap 1 1", "", c.line}, &bad, &message)) << c.line;
    EXPECT_EQ(bad, 3) << c.line;
    EXPECT_NE(message.find(c.mentions), std::string::npos) << c.line << " -> " << message;
  }
}

TEST(ScenarioScripts, KeyNamesAreThePlatformsVirtualKeys) {
  const std::pair<const char*, UINT> keys[] = {{"LEFT", VK_LEFT}, {"return", VK_RETURN}, {"VK_ESCAPE", VK_ESCAPE},
                                                {"F2", VK_F2},     {"F24", VK_F24},       {"F25", 0},
                                                {"q", 'Q'},        {"", 0}};
  for (const auto& [name, vk] : keys) EXPECT_EQ(display::VirtualKeyFromName(name), vk) << name;
}

namespace {
bool Parse(std::vector<std::string> args, display::Options* o, int* code) {
  args.insert(args.begin(), "mivo");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  return display::ParseOptions(static_cast<int>(argv.size()), argv.data(), o, code);
}
}  // namespace

TEST(CommandLine, ScreenSizesOutsideTheRangeAndUnknownArgumentsAreRefused) {
  display::Options o;
  int code = -1;
  ASSERT_TRUE(Parse({"--screen", "480x640", "--headless", "--device", "/tmp/d", "--script", "-"}, &o, &code));
  EXPECT_EQ(o.width, 480);
  EXPECT_EQ(o.height, 640);
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.device, "/tmp/d");
  EXPECT_EQ(o.script, "-");
  for (const char* bad : {"99x320", "240x4097", "0x0", "240", "x320", "240x", "240x320x2", "-240x320"}) {
    code = -1;
    EXPECT_FALSE(Parse({"--screen", bad}, &o, &code)) << bad;
    EXPECT_EQ(code, 2) << bad;
  }
  EXPECT_TRUE(Parse({"--screen", "100x4096"}, &o, &code));
  EXPECT_FALSE(Parse({"--bogus"}, &o, &code));
  EXPECT_EQ(code, 2);
  EXPECT_FALSE(Parse({"--scale", "0"}, &o, &code));
  EXPECT_FALSE(Parse({"--device"}, &o, &code));
  EXPECT_FALSE(Parse({"--help"}, &o, &code));
  EXPECT_EQ(code, 0);
}

TEST(CommandLine, TheDefaultDeviceLivesInTheUsersDataFolder) {
  setenv("XDG_DATA_HOME", "/tmp/xdg-test", 1);
  EXPECT_EQ(display::DefaultDeviceFolder(), "/tmp/xdg-test/mivo/device");
  unsetenv("XDG_DATA_HOME");
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(display::DefaultDeviceFolder(), "/home/someone/.local/share/mivo/device");
}
