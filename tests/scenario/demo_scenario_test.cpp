// The demonstration program driven by scenario scripts.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/display/png.h"
#include "tests/support/mivo_runner.h"

using testing_support::FreshDir;
using testing_support::Json;
using testing_support::MivoSession;
using testing_support::RunMivo;
using testing_support::RunMivoArgs;

namespace {

// The text of the first window whose text starts with `prefix`.
std::string WindowText(const Json& dump, const std::string& prefix) {
  for (const Json& w : dump["windows"].Items()) {
    if (w["text"].AsString().rfind(prefix, 0) == 0) return w["text"].AsString();
  }
  return "(none)";
}

std::uint32_t ColourAt(const display::Image& img, int x, int y) { return img.At(x, y) & 0xFFFFFFu; }

}  // namespace

TEST(DemoScenario, TheDumpLineDescribesTheScreenAndWindowsThroughARotationAndAClockChange) {
  const std::string dir = FreshDir("demo_dump");
  const auto r = RunMivo(dir,
                         "dump\nrotate\ndump\nkey F3\ndump\n"
                         "time 2011-12-31T23:59:30\nwait 1000\ndump\nwait 30000\ndump\n",
                         {"--screen", "480x640"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.dumps.size(), 5u);
  const Json& d = r.dumps[0];
  ASSERT_TRUE(d.Error().empty()) << d.Error();
  EXPECT_EQ(d["screen"]["w"].AsInt(), 480);
  EXPECT_EQ(d["screen"]["h"].AsInt(), 640);
  EXPECT_EQ(d["screen"]["mode"].AsInt(), 0);
  EXPECT_TRUE(d["screen"]["portrait"].AsBool());
  for (const char* key : {"softkeys", "pages", "windows"}) EXPECT_EQ(d[key].type(), Json::Type::Array) << key;
  for (const char* key : {"top", "overlay", "desktop"}) {
    EXPECT_TRUE(d.Has(key)) << key;
    EXPECT_TRUE(d[key].IsNull()) << key;
  }
  // The frame lies between the task bar and the menu bar (52 pixels each on VGA).
  const Json* frame = nullptr;
  for (const Json& w : d["windows"].Items()) {
    if (w["text"].AsString() == "mivo") frame = &w;
  }
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ((*frame)["rect"][1].AsInt(), 52);
  EXPECT_EQ((*frame)["rect"][2].AsInt(), 480);
  EXPECT_EQ((*frame)["rect"][3].AsInt(), 640 - 52);
  EXPECT_TRUE((*frame)["visible"].AsBool());
  EXPECT_EQ(WindowText(d, "9:"), "9:05");  // the task bar's clock: the documented start of virtual time
  // Rotating swaps the screen and the frame follows; F3 turns it back.
  EXPECT_EQ(r.dumps[1]["screen"]["w"].AsInt(), 640);
  EXPECT_FALSE(r.dumps[1]["screen"]["portrait"].AsBool());
  for (const Json& w : r.dumps[1]["windows"].Items()) {
    if (w["text"].AsString() != "mivo") continue;
    EXPECT_EQ(w["rect"][2].AsInt(), 640);
    EXPECT_EQ(w["rect"][3].AsInt(), 480 - 52);
  }
  EXPECT_EQ(r.dumps[2]["screen"]["w"].AsInt(), 480);
  // Virtual time moves only with wait; time sets the clock.
  EXPECT_EQ(WindowText(r.dumps[3], "23:"), "23:59");
  EXPECT_EQ(WindowText(r.dumps[4], "0:"), "0:00");
}

TEST(DemoScenario, ScreenshotsHoldTheTilesAtBothScreenSizes) {
  for (const char* size : {"240x320", "480x640"}) {
    const std::string dir = FreshDir(std::string("demo_shot_") + size);
    const bool vga = std::string(size) == "480x640";
    const int k = vga ? 2 : 1;
    const auto r = RunMivo(dir, "tap " + std::to_string(60 * k) + " " + std::to_string(160 * k) + "\nshot s.png\n",
                           {"--screen", size});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    display::Image img;
    std::string error;
    ASSERT_TRUE(display::ReadPng(dir + "/s.png", &img, &error)) << error;
    EXPECT_EQ(img.width, 240 * k);
    EXPECT_EQ(img.height, 320 * k);
    EXPECT_EQ(ColourAt(img, 12 * k, 195 * k), 0x2E7D32u) << size;   // Contacts, green
    EXPECT_EQ(ColourAt(img, 135 * k, 195 * k), 0x1565C0u) << size;  // Messages, blue
    EXPECT_EQ(ColourAt(img, 12 * k, 282 * k), 0xC62828u) << size;   // Calls, red
    EXPECT_EQ(ColourAt(img, 3 * k, 204 * k), 0x212121u) << size;    // the frame between tiles
    // The caption is written in white on every tile; the tapped one also
    // says "1 tap" in its lower half, the others have nothing there.
    auto whiteIn = [&](int l, int t, int r_, int b) {
      int n = 0;
      for (int y = t * k; y < b * k; ++y) {
        for (int x = l * k; x < r_ * k; ++x) n += ColourAt(img, x, y) == 0xFFFFFFu;
      }
      return n;
    };
    EXPECT_GT(whiteIn(6, 120, 117, 160), 10) << size;    // "Contacts"
    EXPECT_GT(whiteIn(6, 162, 117, 185), 10) << size;    // "1 tap"
    EXPECT_EQ(whiteIn(123, 162, 234, 185), 0) << size;   // Messages: not tapped
  }
}

TEST(DemoScenario, FramesAreWrittenForEveryPresentedChange) {
  const std::string dir = FreshDir("demo_frames");
  const auto r = RunMivo(dir, "tap 60 160\nwait 100\ntap 60 160\n", {"--frames", dir + "/frames"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  int frames = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir + "/frames")) frames += e.path().extension() == ".png";
  // The first frame, then press and release of each tap: at least five.
  EXPECT_GE(frames, 5);
}

// A bad script line (in a file or on standard input) or a screen size out of
// range is a wrong usage: said with its place, before anything runs.
TEST(DemoScenario, BadLinesAndScreenSizesStopTheProgramBeforeAnythingRuns) {
  const std::string dir = FreshDir("demo_bad_usage");
  const auto r = RunMivo(dir, "shot before.png\ntap 1 1\nfly 3 4\n");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("script.mvs:3: unknown command 'fly'"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir + "/before.png"));

  const auto in = RunMivoArgs(dir, {"--headless", "--device", dir + "/device", "--script", "-"},
                              "dump\nwobble\ndump\n");
  EXPECT_EQ(in.exitCode, 2);
  EXPECT_EQ(in.dumps.size(), 1u);  // nothing after the bad line runs
  EXPECT_NE(in.err.find("standard input:2: unknown command 'wobble'"), std::string::npos) << in.err;

  for (const char* size : {"99x320", "240x5000"}) {
    const auto sized = RunMivoArgs(dir, {"--headless", "--screen", size, "--device", dir + "/device"});
    EXPECT_EQ(sized.exitCode, 2) << size;
    EXPECT_NE(sized.err.find("out of range"), std::string::npos) << sized.err;
  }
}

TEST(DemoScenario, TapsAndHoldsReachTheTilesUnderTheStylusAndEachDumpAnswersAtOnce) {
  const std::string dir = FreshDir("demo_session");
  MivoSession s(dir);
  ASSERT_TRUE(s.Running());
  Json d = s.Dump();
  ASSERT_TRUE(d.Error().empty()) << d.Error();
  EXPECT_EQ(WindowText(d, "Calls"), "Calls");
  s.Send("tap 60 250");
  EXPECT_EQ(WindowText(s.Dump(), "Calls"), "Calls: 1 tap");
  s.Send("tap 60 160");
  s.Send("tap 60 160");
  s.Send("hold 180 160");
  s.Send("hold 60 250");
  d = s.Dump();
  EXPECT_EQ(WindowText(d, "Contacts"), "Contacts: 2 taps");
  EXPECT_EQ(WindowText(d, "Messages"), "Messages: held");
  EXPECT_EQ(WindowText(d, "Calls"), "Calls: held");
  EXPECT_EQ(s.Finish(), 0);
}

