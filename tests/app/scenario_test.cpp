// The real program: start-up and exit, screen modes, wake-up and a second start.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/display/png.h"
#include "tests/support/mivo_runner.h"
#include "tests/pages/session_util.h"
#include "tests/support/navigate.h"
#include "tests/tools/run_tool.h"

using testing_support::FreshDir;
using testing_support::ProgramFolder;
using testing_support::Json;
using testing_support::WindowOf;
using testing_support::MivoSession;
using testing_support::RunMivo;
using testing_support::RunMivoArgs;
using testing_support::RunMivoDevice;

namespace {

constexpr auto& Device = testing_support::RunDeviceIn;

using pagestest::kSettingsPath;
using pagestest::RegGet;
using pagestest::RegSet;

// The "trace: " lines of a run's standard error.
std::vector<std::string> TraceLines(const std::string& err) {
  std::vector<std::string> lines;
  std::istringstream in(err);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("trace: ", 0) == 0) lines.push_back(line.substr(7));
  }
  return lines;
}

struct Box {
  long long l = 0, t = 0, r = 0, b = 0;
  bool operator==(const Box&) const = default;
};
Box RectOf(const Json& rect) { return Box{rect[0].AsInt(), rect[1].AsInt(), rect[2].AsInt(), rect[3].AsInt()}; }

std::uint32_t Rgb(const display::Image& img, long long x, long long y) {
  return img.At(static_cast<int>(x), static_cast<int>(y)) & 0xFFFFFFu;
}

class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : m_name(name) { setenv(name, value, 1); }
  ~EnvVar() { unsetenv(m_name); }

 private:
  const char* m_name;
};

}  // namespace

TEST(StartUp, StartUpAndExitRunTheirStepsInOrder) {
  const std::string dir = FreshDir("app_order");
  EnvVar trace("MIVO_TRACE", "1");
  const auto r = RunMivo(dir, "dump\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> expected = {
      "app: single instance",
      "app: activation event",
      "app: shell controls, registry key",
      "app: frame object",
      "app: watcher thread",
      "app: load frame",
      "frame: WM_CREATE",
      "core: page stack, page catalogue, actions store",
      "core: program folder cache, animation window",
      "core: install default skin",
      "core: please-wait, stores on first use, main frame",
      "core: settings accessor",
      "core: language",
      "core: screen mode and animations",
      "core: load actions history",
      "core: look object",
      "core: call log",
      "core: page stack emptied",
      "frame: menu bar",
      "frame: subscribe time",
      "frame: subscribe signal",
      "frame: subscribe battery flags",
      "frame: subscribe battery level",
      "frame: read state",
      "app: show frame",
      "frame: WM_SHOWWINDOW shown",
      // Showing activates the frame; laying it out pumps one message, the
      // activation its creation posted, which makes the root page.
      "frame: WM_ACTIVATE",
      "frame: WM_ACTIVATE",
      "frame: root page",
      // The script's end closes the frame: the same steps as the exit request.
      "frame: exit request",
      "frame: WM_CLOSE",
      "frame: WM_DESTROY",
      "frame: close time",
      "frame: close signal",
      "frame: close battery level",
      "frame: close battery flags",
      "frame: delete root page",
      "app: ExitInstance",
      "app: remove wake-up registration",
      "app: destroy core",
      "core: save actions history and favourites",
      "core: delete catalogue pages",
      "core: destroy Outlook store",
      "core: destroy look object",
      "core: destroy call log",
      "core: close phone line",
      "core: destroy SMS store",
      "core: destroy plug-in registry",
      "core: destroy control-panel catalogue",
      "core: destroy connection manager",
      "core: destroy please-wait window",
      "core: destroy animation window",
      "core: drop program folder",
      "core: destroy actions store",
      "core: destroy settings accessor",
      "app: framework exit",
  };
  EXPECT_EQ(TraceLines(r.err), expected);
  ASSERT_EQ(r.dumps.size(), 1u);
  EXPECT_EQ(r.dumps[0]["pages"].size(), 1u);
  EXPECT_EQ(r.dumps[0]["pages"][0]["class"].AsString(), "CmivoDesktopPage");
  const Json* frame = WindowOf(r.dumps[0], "CMainFrame");
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ((*frame)["text"].AsString(), "mivo 2.3 beta 4");
}

TEST(StartUp, TheDefaultSkinIsInstalledOnTheFirstStartOnly) {
  const std::string dir = FreshDir("app_first_start");
  ASSERT_EQ(Device(dir, {"init"}).code, 0);
  // A small skin package in place of the shipped one.
  const std::string skinSource = dir + "/skin";
  std::filesystem::create_directories(skinSource);
  std::ofstream(skinSource + "/readme.txt") << "a test skin\n";
  const std::string skins = dir + "/device/fs/Program Files/mivo/Skins";
  std::filesystem::create_directories(skins);
  const std::string package = skins + "/Clear Horizon.minst";
  const auto pack = testing_support::RunMivoPack({"create", "skin", "Clear Horizon", skinSource, package});
  ASSERT_EQ(pack.code, 0) << pack.err;

  EnvVar trace("MIVO_TRACE", "1");
  auto first = RunMivo(dir, "dump\n");
  ASSERT_EQ(first.exitCode, 0) << first.err;  // its trace is the first start's of StartUpAndExitRunTheirStepsInOrder
  EXPECT_TRUE(std::filesystem::exists(skins + "/Clear Horizon/readme.txt"));
  EXPECT_FALSE(std::filesystem::exists(package));
  EXPECT_EQ(RegGet(dir, kSettingsPath, "SkinName"), "Clear Horizon");
  EXPECT_EQ(RegGet(dir, kSettingsPath, "FinishInstallation"), "0");

  auto second = RunMivo(dir, "dump\n");
  ASSERT_EQ(second.exitCode, 0) << second.err;
  const auto again = TraceLines(second.err);
  EXPECT_EQ(std::find(again.begin(), again.end(), "core: install default skin"), again.end());
}

TEST(StartUp, ALanguageThatDoesNotLoadIsSaidOnceAndTheProgramStillStarts) {
  const std::string dir = FreshDir("app_language");
  ASSERT_EQ(Device(dir, {"init"}).code, 0);
  RegSet(dir, kSettingsPath, "Language", "sz", "Klingon");
  const auto r = RunMivo(dir, "dump\nkey RETURN\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.dumps.size(), 2u);
  const Json& box = r.dumps[0]["overlay"];
  ASSERT_FALSE(box.IsNull());
  EXPECT_EQ(box["kind"].AsString(), "message");
  EXPECT_EQ(box["text"].AsString(),
            "The language either was not able to load or does not belongs to this mivo version. "
            "Some of the translation may not be seen.");
  EXPECT_EQ(box["buttons"].size(), 1u);
  // Answered once, it is gone and the program runs in English.
  EXPECT_TRUE(r.dumps[1]["overlay"].IsNull());
  ASSERT_EQ(r.dumps[1]["pages"].size(), 1u);
  EXPECT_EQ(r.dumps[1]["softkeys"][0].AsString(), "Back");
}

TEST(StartUp, WrongTypesInTheRegistryGiveTheDefaultsWithoutAWord) {
  const std::string dir = FreshDir("app_wrong_types");
  ASSERT_EQ(Device(dir, {"init"}).code, 0);
  for (const char* name : {"UseFullScreen", "AnimationsEnabled", "DesktopsCount", "FinishInstallation"})
    RegSet(dir, kSettingsPath, name, "sz", "1");
  RegSet(dir, kSettingsPath, "Language", "dword", "7");
  RegSet(dir, kSettingsPath, "ThemeName", "binary", "00ff00ff");
  RegSet(dir, kSettingsPath + "\\Registration", "AutoShow", "sz", "on");
  RegSet(dir, "HKLM\\System\\State\\Battery", "Main", "sz", "lots");
  RegSet(dir, "HKLM\\System\\State\\Phone", "Signal Strength Raw", "sz", "x");

  const auto r = RunMivo(dir, "dump\nkey F2\nkey F1\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  ASSERT_EQ(r.dumps.size(), 2u);
  EXPECT_EQ(r.dumps[0]["screen"]["mode"].AsInt(), 0);
  EXPECT_TRUE(r.dumps[0]["overlay"].IsNull());
  ASSERT_EQ(r.dumps[0]["softkeys"].size(), 2u);
  EXPECT_EQ(r.dumps[0]["softkeys"][0].AsString(), "Back");
  // The values were only read, never replaced.
  EXPECT_EQ(RegGet(dir, kSettingsPath, "UseFullScreen"), "1");
}

// Screen modes: with UseFullScreen off the frame sits between the task bar
// and the menu bar; with it on the desktop page fills the screen.
class ScreenModeScenario : public ::testing::TestWithParam<std::tuple<int, int, bool>> {};

TEST_P(ScreenModeScenario, TheFrameLeavesRoomForTheBarsOnlyInTheStandardMode) {
  const auto [w, h, fullScreen] = GetParam();
  const std::string size = std::to_string(w) + "x" + std::to_string(h);
  const std::string name = "app_mode_" + size + (fullScreen ? "_full" : "_standard");
  const std::string dir = FreshDir(name);
  ASSERT_EQ(Device(dir, {"init"}).code, 0);
  RegSet(dir, kSettingsPath, "UseFullScreen", "dword", fullScreen ? "1" : "0");
  // Without an installed wallpaper theme the desktop page is one colour, so its
  // edges show where the frame is.
  RegSet(dir, kSettingsPath, "WallpaperTheme", "sz", "None");
  const std::string shot = dir + "/" + name + ".png";
  const auto r = RunMivo(dir, "dump\nshot " + shot + "\nrotate\nwait 300\ndump\n", {"--screen", size});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.dumps.size(), 2u);
  const Json& d = r.dumps[0];
  const int s = h >= 480 ? 2 : 1;

  EXPECT_EQ(d["screen"]["mode"].AsInt(), fullScreen ? 1 : 0);
  const Json* frame = WindowOf(d, "CMainFrame");
  ASSERT_NE(frame, nullptr);
  const Box f = RectOf((*frame)["rect"]);
  ASSERT_TRUE((*frame)["visible"].AsBool());
  ASSERT_EQ(d["top"]["class"].AsString(), "CmivoDesktopPage");
  EXPECT_TRUE(RectOf(d["top"]["rect"]) == f) << "the desktop page fills the frame";

  display::Image img;
  std::string error;
  ASSERT_TRUE(display::ReadPng(shot, &img, &error)) << error;
  ASSERT_EQ(img.width, w);
  ASSERT_EQ(img.height, h);
  // The desktop page paints the page background over the whole frame (its
  // corners are free of gadgets).
  const std::uint32_t background = Rgb(img, f.l + 1, f.t + 1);
  for (auto [x, y] : {std::pair{f.r - 2, f.t + 1}, std::pair{f.r - 2, f.b - 2}, std::pair{f.l + 1, f.b - 2}}) {
    EXPECT_EQ(Rgb(img, x, y), background) << "at " << x << "," << y;
  }

  if (fullScreen) {
    EXPECT_EQ(f.t, 0);
    EXPECT_EQ(f.b, h);
    EXPECT_EQ(f.r, w);
    EXPECT_EQ(d["softkeys"].size(), 0u);
    // Nothing but the page: the corners are its background too.
    EXPECT_EQ(Rgb(img, 0, 0), background);
    EXPECT_EQ(Rgb(img, w - 1, h - 1), background);
  } else {
    const int bar = 26 * s;  // the task bar's and the menu bar's height
    EXPECT_EQ(f.t, bar);
    EXPECT_EQ(f.b, h - bar);
    EXPECT_EQ(f.r, w);
    ASSERT_EQ(d["softkeys"].size(), 2u);
    EXPECT_EQ(d["softkeys"][0].AsString(), "Back");
    EXPECT_EQ(d["softkeys"][1].AsString(), "Hide");
    // The bars are drawn above and below the page, not over it.
    int differentTop = 0, differentBottom = 0;
    for (int x = 0; x < w; ++x) {
      for (int y = 0; y < bar; ++y) differentTop += Rgb(img, x, y) != background;
      for (int y = h - bar; y < h; ++y) differentBottom += Rgb(img, x, y) != background;
    }
    EXPECT_GT(differentTop, w / 4);
    EXPECT_GT(differentBottom, w / 4);
    // Turned, the frame spans the new width between the bars, the page filling it.
    const Json& turned = r.dumps[1];
    EXPECT_FALSE(turned["screen"]["portrait"].AsBool());
    const Box t = RectOf((*WindowOf(turned, "CMainFrame"))["rect"]);
    const Box menu = RectOf((*WindowOf(turned, "menu_worker"))["rect"]);
    EXPECT_EQ(t.r, h);
    EXPECT_EQ(t.b, menu.t);
    EXPECT_EQ(menu.b, w);
    EXPECT_TRUE(RectOf(turned["top"]["rect"]) == t);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScreenModeScenario,
                         ::testing::Values(std::tuple{240, 320, false}, std::tuple{240, 320, true},
                                           std::tuple{480, 640, false}, std::tuple{480, 640, true}),
                         [](const auto& info) {
                           return std::to_string(std::get<0>(info.param)) + "x" +
                                  std::to_string(std::get<1>(info.param)) +
                                  (std::get<2>(info.param) ? "FullScreen" : "Standard");
                         });

TEST(Activation, WakingTheDeviceBringsBackTheFrameWithTheRootPageOnTopOnlyWithAutoShowOn) {
  const std::string dir = FreshDir("app_wake");
  ASSERT_EQ(Device(dir, {"init"}).code, 0);
  {
    // Off: the wake changes nothing.
    MivoSession s(dir);
    s.Send("key F2");
    EXPECT_NE(Device(dir, {"wake"}).out.find("nothing is registered"), std::string::npos);
    s.Send("wait 300");
    const Json d = s.Dump();
    EXPECT_EQ(d["pages"].size(), 1u);
    EXPECT_FALSE((*WindowOf(d, "CMainFrame"))["visible"].AsBool());
    EXPECT_EQ(s.Finish(), 0);
  }
  RegSet(dir, kSettingsPath + "\\Registration", "AutoShow", "dword", "1");
  MivoSession s(dir);
  ASSERT_TRUE(s.Running());
  pagestest::Session walk(s);
  // Back never pops the root page; Enter opens the main menu above it.
  Json d = walk.Step("key F1");
  ASSERT_EQ(d["pages"].size(), 1u);
  ASSERT_EQ(walk.Step("key RETURN")["top"]["class"].AsString(), "CmivoMainMenuPage");
  // The right soft key hides the program.
  s.Send("key F2");
  d = s.Dump();
  ASSERT_NE(WindowOf(d, "CMainFrame"), nullptr);
  EXPECT_FALSE((*WindowOf(d, "CMainFrame"))["visible"].AsBool());
  EXPECT_EQ(d["softkeys"].size(), 0u);

  const auto wake = Device(dir, {"wake"});
  ASSERT_EQ(wake.code, 0) << wake.err;
  EXPECT_NE(wake.out.find("signalled"), std::string::npos) << wake.out;
  d = walk.Until([](const Json& j) { return j["pages"].size() == 3; }, "the root page pushed");
  ASSERT_EQ(d["pages"].size(), 3u);
  EXPECT_EQ(d["pages"][2]["class"].AsString(), "CmivoDesktopPage");
  EXPECT_EQ(d["top"]["class"].AsString(), "CmivoDesktopPage");
  EXPECT_TRUE((*WindowOf(d, "CMainFrame"))["visible"].AsBool());
  EXPECT_EQ(d["softkeys"].size(), 2u);
  // In front again, the keys reach it: Back returns to the page shown before.
  EXPECT_EQ(walk.Step("key F1")["top"]["class"].AsString(), "CmivoMainMenuPage");
  EXPECT_EQ(s.Finish(), 0);
  // The registration lives only while the program runs.
  EXPECT_NE(Device(dir, {"wake"}).out.find("nothing is registered"), std::string::npos);
}

TEST(LookNames, ASkinNameThatLeadsOutOfTheSkinsFolderIsNeverWrittenTo) {
  const std::string dir = FreshDir("app_skin_name");
  ASSERT_EQ(RunMivo(dir, "exit\n").exitCode, 0);
  RegSet(dir, kSettingsPath, "SkinName", "sz", "..\\X");
  // The main menu asks the skin for its pictures: a skin file is then written at exit.
  const auto run = RunMivo(dir, "key RETURN\nwait 500\ndump\nexit\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string program = ProgramFolder(dir);
  EXPECT_FALSE(std::filesystem::exists(program + "/X.msk"));
  EXPECT_FALSE(std::filesystem::exists(program + "/X"));
}

TEST(SingleInstance, ASecondStartBringsTheFirstToTheFrontAndEndsWithoutAWindow) {
  const std::string dir = FreshDir("app_second");
  ASSERT_EQ(Device(dir, {"init"}).code, 0);
  MivoSession first(dir);
  ASSERT_TRUE(first.Running());
  first.Send("key F2");
  Json d = first.Dump();
  ASSERT_FALSE((*WindowOf(d, "CMainFrame"))["visible"].AsBool());

  const std::string script = dir + "/second.mvs";
  std::ofstream(script) << "dump\n";
  const auto second = RunMivoArgs(dir, {"--headless", "--device", dir + "/device", "--script", script});
  EXPECT_EQ(second.exitCode, 0) << second.err;
  EXPECT_TRUE(second.dumps.empty()) << second.out;  // it never ran its script

  pagestest::Session(first).Until(
      [](const Json& j) {
        const Json* f = WindowOf(j, "CMainFrame");
        return f && (*f)["visible"].AsBool();
      },
      "the first instance brought to the front");
  EXPECT_EQ(first.Finish(), 0);

  // With the first gone, a start is a start again.
  const auto third = RunMivoArgs(dir, {"--headless", "--device", dir + "/device", "--script", script});
  EXPECT_EQ(third.exitCode, 0) << third.err;
  EXPECT_EQ(third.dumps.size(), 1u);
}

// A device whose folder of named events and locks cannot be used: said at
// once, never a wait for an instance that may not exist, never a run
// without the lock.
TEST(SingleInstance, ALockThatCannotBeMadeEndsTheStartWithAMessageInsteadOfRunningUnprotected) {
  const std::string dir = FreshDir("app_no_lock");
  ASSERT_EQ(RunMivo(dir, "exit\n").exitCode, 0);
  for (auto [blocked, said] :
       {std::pair{"/device/run/mutexes", "runs only once"}, {"/device/run", "/run is a file, not a folder"}}) {
    std::filesystem::remove_all(dir + blocked);
    std::ofstream(dir + blocked) << "not a folder";
    const auto r = RunMivo(dir, "dump\nexit\n");
    EXPECT_EQ(r.exitCode, 1) << blocked;
    EXPECT_TRUE(r.dumps.empty()) << r.out;
    EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
  }
}

// What stands in the way of a start is named as it is: a file where the
// device needs a folder, a script that is a folder (a wrong usage, which
// leaves the device alone).
TEST(StartErrors, AFileWhereAFolderBelongsIsNamed) {
  const std::string dir = FreshDir("app_fs_file");
  std::ofstream(dir + "/device/fs") << "not a folder";
  const auto r = RunMivo(dir, "exit\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("/fs is a file, not a folder"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("cannot create"), std::string::npos) << r.err;

  const std::string other = FreshDir("app_script_folder");
  const auto usage = RunMivoArgs(other, {"--headless", "--device", other + "/device", "--script", other});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_NE(usage.err.find("is a folder"), std::string::npos) << usage.err;
  EXPECT_FALSE(std::filesystem::exists(other + "/device/device.db")) << "the device is left alone";
}

TEST(StartErrors, ADeviceFolderThatCannotBeWrittenIsSaidSoAndNotCalledDamaged) {
  const std::string dir = FreshDir("app_read_only");
  ASSERT_EQ(RunMivo(dir, "exit\n").exitCode, 0);
  const std::string device = std::filesystem::canonical(dir + "/device").string();
  const std::string mivo = testing_support::MivoPath();
  std::vector<std::string> args = {"--headless", "--device", device, "--script", "-"};
  if (geteuid() == 0) {
    // Rights mean nothing to root: the start is made as nobody, to whom the
    // device (root's) is read-only.
    if (!std::filesystem::exists("/usr/bin/setpriv")) GTEST_SKIP() << "setpriv is needed to start mivo as nobody";
    for (const auto& e : std::filesystem::recursive_directory_iterator(device))
      std::filesystem::permissions(e.path(), std::filesystem::perms::others_read, std::filesystem::perm_options::add);
    args.insert(args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", mivo});
    testing_support::SetProgramPath("/usr/bin/setpriv");
  } else {
    std::filesystem::permissions(device, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  }
  const auto r = RunMivoArgs(dir, args, "exit\n");
  testing_support::SetProgramPath(mivo);
  std::filesystem::permissions(device, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("cannot be written"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("damaged"), std::string::npos) << r.err;
}

namespace {

// The README's first command runs this tour where there is no display: it
// must walk to its end, leave every screenshot it names and end on the desktop.
TEST(Tour, TheTourOfTheReadmeRunsToItsEndAndLeavesItsScreenshots) {
  const std::string dir = FreshDir("tour");
  std::ifstream in(std::string(MIVO_SOURCE_DIR) + "/scripts/tour.mvs");
  std::stringstream script;
  script << in.rdbuf();
  const auto r = RunMivo(dir, script.str());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_FALSE(r.dumps.empty());
  EXPECT_EQ(r.dumps.back()["pages"].size(), 1u);
  std::string line;
  for (std::istringstream lines(script.str()); std::getline(lines, line);) {
    if (line.rfind("shot ", 0) != 0) continue;
    display::Image img;
    std::string error;
    EXPECT_TRUE(display::ReadPng(dir + "/" + line.substr(5), &img, &error)) << line << ": " << error;
  }
}

}  // namespace
