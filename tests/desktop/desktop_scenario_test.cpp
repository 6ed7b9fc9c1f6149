// The desktops in the real program: the factory layouts as a new device
// shows them, a user arranging the desktops in the design mode and finding
// the same arrangement after a restart and on a turned screen, a damaged
// layout file, and a save killed half way.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/display/png.h"
#include "tests/desktop/desktop_harness.h"
#include "tests/desktop/scenario.h"
#include "tests/fs/temp_dir.h"
#include "tests/support/mivo_runner.h"
#include "tests/support/navigate.h"
#include "tests/tools/run_tool.h"

namespace {

using namespace testing_support;
namespace stdfs = std::filesystem;

// A gadget as the dump lists it.
struct Gadget {
  long long type;
  std::vector<long long> rect;
  long long desktops;
  bool portrait;
  bool operator==(const Gadget&) const = default;
};

std::vector<Gadget> GadgetsOf(const Json& d) {
  std::vector<Gadget> out;
  for (const Json& g : d["desktop"]["gadgets"].Items()) {
    std::vector<long long> r;
    for (const Json& v : g["rect"].Items()) r.push_back(v.AsInt());
    out.push_back(Gadget{g["type"].AsInt(), r, g["desktops"].AsInt(), g["portrait"].AsBool()});
  }
  return out;
}

TEST(DesktopScenario, AUserArrangesTheDesktopsAndFindsThemSoAfterARestartAndOnATurnedScreen) {
  const std::string dir = FreshDir("desktop_arrange");
  MivoSession s(dir);
  ASSERT_TRUE(s.Running());
  Walk walk(s);
  Json d = s.Dump();
  const std::vector<Gadget> factory = GadgetsOf(d);
  ASSERT_FALSE(factory.empty()) << "the factory layout is there";
  const long long top = d["top"]["rect"][1].AsInt();  // the page's origin on the screen
  auto at = [top](int x, int y) { return std::to_string(x) + " " + std::to_string(y + top); };

  // The design mode, from the tap-and-hold menu (here held on the favourites panel).
  d = walk.HoldAndChoose(at(120, 195), "Design mode");
  ASSERT_TRUE(d["desktop"]["design"].AsBool());
  // One gadget of every kind the catalogue offers, where the hold was.
  d = walk.HoldAndChoose(at(40, 195), "Add gadget");
  const std::vector<std::string> kinds = [&] {
    std::vector<std::string> k;
    for (const Json& row : d["top"]["rows"].Items()) k.push_back(row["text"].AsString());
    return k;
  }();
  ASSERT_EQ(kinds, desktoptest::BuiltCatalogueNames());
  d = walk.TapRow(d, "Favorites");
  d = walk.TapRow(walk.HoldAndChoose(at(140, 195), "Add gadget"), "Actions history");
  ASSERT_EQ(GadgetsOf(d).size(), factory.size() + 2);
  const Json added = d["desktop"]["gadgets"][factory.size()];
  EXPECT_EQ(added["type"].AsInt(), 20);
  EXPECT_EQ(added["rect"][0].AsInt(), 40);
  EXPECT_EQ(added["rect"][3].AsInt() - top, 268) << "kept on the page: its tile is 80 high";
  walk.Step("shot " + dir + "/added.png");

  // Move the first, resize the second by its top-left handle.
  d = walk.Step("drag " + at(60, 220) + " " + at(200, 115) + " 300");
  const Json moved = d["desktop"]["gadgets"][factory.size()];
  EXPECT_NE(moved["rect"][0].AsInt(), 40);
  walk.Step("tap " + at(170, 230));  // selects the second
  d = walk.Step("drag " + at(143, 191) + " " + at(125, 176) + " 300");
  const Json resized = d["desktop"]["gadgets"][factory.size() + 1];
  EXPECT_EQ(resized["rect"][0].AsInt(), 120);
  EXPECT_EQ(resized["rect"][1].AsInt() - top, 170);
  // The clock (the first factory gadget) goes on desktop 2 as well.
  d = walk.HoldAndChoose(at(40, 50), "Switch to desktop");
  d = walk.TapRow(d, "Desktop 2: off");
  walk.Step("key F1");
  d = walk.Step("key F1");
  EXPECT_EQ(d["pages"].size(), 1u);
  EXPECT_EQ(d["desktop"]["gadgets"][0]["desktops"].AsInt(), 3);
  // The date goes.
  d = walk.HoldAndChoose(at(120, 68), "Delete gadget");
  EXPECT_EQ(GadgetsOf(d).size(), factory.size() + 1);
  walk.Step("shot " + dir + "/arranged.png");
  d = walk.HoldAndChoose(at(120, 195), "Exit Design mode");
  EXPECT_FALSE(d["desktop"]["design"].AsBool());
  EXPECT_TRUE(stdfs::exists(ProgramFolder(dir) + "/mivo_userdesktop.dat"));

  // A main-menu tile put on the current desktop, the second, from its tap-and-hold menu.
  walk.Step("key RIGHT");
  d = walk.Step("key RETURN");
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoMainMenuPage");
  d = walk.HoldAndChoose(CentreOf(d["top"]["cells"][3]["rect"]), "Add to desktop");
  d = walk.Step("key F1");
  EXPECT_EQ(d["pages"].size(), 1u);
  const std::vector<Gadget> arranged = GadgetsOf(d);
  ASSERT_EQ(arranged.size(), factory.size() + 2);
  EXPECT_EQ(arranged.back().type, 10);
  EXPECT_EQ(arranged.back().desktops, 2);
  EXPECT_EQ(arranged.back().rect, (std::vector<long long>{0, top, 80, top + 80})) << "a tile in the top-left corner";
  EXPECT_EQ(d["desktop"]["gadgets"][arranged.size() - 1]["text"].AsString(), "Programs");
  EXPECT_TRUE(d["desktop"]["gadgets"][arranged.size() - 1]["visible"].AsBool());
  EXPECT_EQ(s.Finish(), 0);

  // The next start shows exactly that.
  {
    MivoSession again(dir);
    EXPECT_EQ(GadgetsOf(again.Dump()), arranged);
    // Turned and turned back, nothing moved.
    again.Send("rotate");
    const Json turned = again.Dump();
    EXPECT_FALSE(turned["desktop"]["portrait"].AsBool());
    again.Send("rotate");
    EXPECT_EQ(GadgetsOf(again.Dump()), arranged);
    EXPECT_EQ(again.Finish(), 0);
  }
  // A start on the turned screen keeps the portrait desktops as they were.
  {
    MivoSession turned(dir, {"--screen", "320x240"});
    const Json t = turned.Dump();
    EXPECT_FALSE(t["desktop"]["portrait"].AsBool());
    EXPECT_EQ(GadgetsOf(t), arranged);
    EXPECT_EQ(turned.Finish(), 0);
  }
  MivoSession last(dir);
  EXPECT_EQ(GadgetsOf(last.Dump()), arranged);
}

// The factory layout of each screen: every gadget where the file puts it (no
// clamping moved one), none covering another on its desktop, each with its
// text, at both sizes and in both orientations.
class FactoryLayout : public ::testing::TestWithParam<int> {};

TEST_P(FactoryLayout, FillsEveryDesktopInBothOrientationsWithoutOverlapsOrCorrections) {
  const int scale = GetParam();
  const std::string size = scale == 1 ? "240x320" : "480x640";
  const std::string dir = FreshDir("desktop_factory_" + size);
  // Without a wallpaper the page is one colour: what a gadget draws stands out.
  ASSERT_EQ(RunMivo(dir, "exit\n", {"--screen", size}).exitCode, 0);
  ASSERT_EQ(RunDeviceIn(dir, {"reg", "set", "HKCU\\Software\\mivo\\mivo", "WallpaperTheme", "sz", "None"}).code, 0);
  ASSERT_TRUE(stdfs::remove(ProgramFolder(dir) + "/mivo_userdesktop.dat"));
  std::string script;
  for (int i = 0; i < 4; ++i) script += "shot " + dir + "/p" + std::to_string(i + 1) + ".png\ndump\nkey RIGHT\n";
  script += "rotate\nwait 200\n";
  for (int i = 0; i < 4; ++i) script += "shot " + dir + "/l" + std::to_string(i + 1) + ".png\ndump\nkey RIGHT\n";
  const RunResult r = RunMivo(dir, script, {"--screen", size});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.dumps.size(), 8u);
  const std::string factory = ProgramFolder(dir) + (scale == 1 ? "/mivo_desktop.dat" : "/mivo_desktop_vga.dat");
  ASSERT_TRUE(stdfs::exists(factory));

  for (std::size_t i = 0; i < r.dumps.size(); ++i) {
    const Json& d = r.dumps[i];
    const long long top = d["top"]["rect"][1].AsInt();
    const long long width = d["top"]["rect"][2].AsInt(), bottom = d["top"]["rect"][3].AsInt();
    std::vector<std::vector<long long>> shown;
    for (const Json& g : d["desktop"]["gadgets"].Items()) {
      if (!g["visible"].AsBool()) continue;
      std::vector<long long> rect;
      for (const Json& v : g["rect"].Items()) rect.push_back(v.AsInt());
      EXPECT_GE(rect[0], 0);
      EXPECT_GE(rect[1], top);
      EXPECT_LE(rect[2], width);
      EXPECT_LE(rect[3], bottom);
      EXPECT_FALSE(g["text"].AsString().empty());
      for (const auto& other : shown) {
        const bool apart = rect[2] <= other[0] || other[2] <= rect[0] || rect[3] <= other[1] || other[3] <= rect[1];
        EXPECT_TRUE(apart) << "desktop " << d["desktop"]["current"].AsInt() << " " << size << (i >= 4 ? " turned" : "")
                           << ": " << g["text"].AsString() << " covers another gadget";
      }
      shown.push_back(rect);
    }
    EXPECT_GE(shown.size(), 5u) << "desktop " << i % 4 + 1 << (i >= 4 ? " turned" : "");
    // Every gadget shows a picture and its text: many colours on the plain page.
    display::Image img;
    std::string error;
    const std::string shot = dir + "/" + (i < 4 ? "p" : "l") + std::to_string(i % 4 + 1) + ".png";
    ASSERT_TRUE(display::ReadPng(shot, &img, &error)) << error;
    for (const auto& rect : shown) {
      std::set<std::uint32_t> colours;
      for (long long y = rect[1]; y < rect[3]; y += 2)
        for (long long x = rect[0]; x < rect[2]; x += 2)
          colours.insert(img.At(static_cast<int>(x), static_cast<int>(y)) & 0xFFFFFFu);
      EXPECT_GT(colours.size(), 6u) << shot;
    }
  }
  // The file's own rectangles are what the desktops show, in both orientations.
  const ToolResult printed = RunMivoPack({"layout", "print", factory});
  ASSERT_EQ(printed.code, 0) << printed.err;
  const std::string& text = printed.out;
  std::vector<std::vector<long long>> written;
  for (std::size_t at = text.find("rect="); at != std::string::npos; at = text.find("rect=", at + 1)) {
    std::vector<long long> rect(4);
    ASSERT_EQ(std::sscanf(text.c_str() + at, "rect=%lld,%lld,%lld,%lld", &rect[0], &rect[1], &rect[2], &rect[3]), 4);
    written.push_back(rect);
  }
  for (const Json& d : {r.dumps[0], r.dumps[4]}) {
    const long long top = d["top"]["rect"][1].AsInt();
    const Json& gadgets = d["desktop"]["gadgets"];
    ASSERT_EQ(gadgets.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
      const Json& g = gadgets[i]["rect"];
      EXPECT_EQ((std::vector<long long>{g[0].AsInt(), g[1].AsInt() - top, g[2].AsInt(), g[3].AsInt() - top}),
                written[i])
          << "gadget " << i << " (" << gadgets[i]["text"].AsString() << ") moved";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FactoryLayout, ::testing::Values(1, 2),
                         [](const auto& info) { return info.param == 1 ? "Qvga" : "Vga"; });

TEST(DesktopScenario, ADamagedLayoutShowsWhatWasReadSaysSoOnceAndIsKeptAsBad) {
  const std::string dir = FreshDir("desktop_damaged");
  ASSERT_EQ(RunMivo(dir, "exit\n").exitCode, 0);
  const std::string user = ProgramFolder(dir) + "/mivo_userdesktop.dat";
  const std::string whole = ReadText(user);
  ASSERT_GT(whole.size(), 200u);
  // Cut inside the third record.
  const std::string cut = whole.substr(0, 8 + 2 * 59 + 20);
  WriteText(user, cut);

  MivoSession s(dir);
  Json d = s.Dump();
  ASSERT_FALSE(d["overlay"].IsNull()) << "the fault is said";
  EXPECT_NE(d["overlay"]["text"].AsString().find("mivo_userdesktop.dat.bad"), std::string::npos);
  EXPECT_EQ(d["desktop"]["gadgets"].size(), 2u) << "the two records before the fault";
  s.Send("key RETURN");
  d = s.Dump();
  EXPECT_TRUE(d["overlay"].IsNull());
  EXPECT_EQ(s.Finish(), 0);
  // The exit stored the layout, the damaged file kept beside it.
  EXPECT_EQ(ReadText(user + ".bad"), cut);
  const ToolResult check = RunMivoPack({"layout", "check", user});
  EXPECT_EQ(check.code, 0) << check.out << check.err;
  // Read whole the next time: nothing to say.
  const RunResult next = RunMivo(dir, "dump\n");
  ASSERT_EQ(next.dumps.size(), 1u);
  EXPECT_TRUE(next.dumps[0]["overlay"].IsNull());
  EXPECT_EQ(next.dumps[0]["desktop"]["gadgets"].size(), 2u);
}

TEST(DesktopScenario, ASaveKilledAtAnyMomentLeavesTheOldLayoutOrTheNewOneWhole) {
  // A layout whose gadget the program moves back on screen: every start
  // stores a layout that differs from the file it read.
  const std::string dir = desktoptest::DeviceWithLayout(
      "desktop_killed", "action rect=300,300,380,380 desktops=1 portrait style=tile action=\"page 19\"\n");
  const std::string user = ProgramFolder(dir) + "/mivo_userdesktop.dat";
  const std::string old = ReadText(user);
  ASSERT_EQ(RunMivo(dir, "exit\n").exitCode, 0);
  const std::string stored = ReadText(user);
  ASSERT_NE(stored, old);

  std::mt19937 random(7);
  int killedBefore = 0, killedAfter = 0;
  for (int round = 0; round < 24; ++round) {
    WriteText(user, old);
    MivoSession s(dir);
    s.Dump();
    s.Send("exit");
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 6000));
    kill(s.Pid(), SIGKILL);
    s.Finish();
    const std::string now = ReadText(user);
    EXPECT_TRUE(now == old || now == stored) << "round " << round << ": " << now.size() << " bytes";
    (now == old ? killedBefore : killedAfter) += 1;
  }
  // The next start reads what is there whole.
  const RunResult next = RunMivo(dir, "dump\n");
  ASSERT_EQ(next.dumps.size(), 1u);
  EXPECT_TRUE(next.dumps[0]["overlay"].IsNull());
  EXPECT_EQ(next.dumps[0]["desktop"]["gadgets"].size(), 1u);
  std::printf("killed before the save %d times, after it %d times\n", killedBefore, killedAfter);
}

}  // namespace
