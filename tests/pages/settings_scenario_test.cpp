// The program's settings page in the real program: every row changes its
// setting, a new start shows what was stored, and values out of range are
// shown sensibly without being written back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pages/session_util.h"

namespace {

using pagestest::Json;
using pagestest::Rows;
using testing_support::FreshDir;
using testing_support::MivoSession;
using testing_support::WindowOf;

using pagestest::kSettingsPath;
constexpr auto& Get = pagestest::RegGet;

void Set(const std::string& dir, const std::string& name, int value) {
  pagestest::RegSet(dir, kSettingsPath, name, "dword", std::to_string(value));
}

// Main menu, Settings, "mivo".
Json OpenSettings(pagestest::Session& walk) {
  walk.Step("key RETURN");  // the desktop's Enter opens the main menu
  walk.Step("tap 185 190");
  Json d = walk.ActivateRow("mivo");
  EXPECT_EQ(d["top"]["class"].AsString(), "CmivoAdvSettingsPage");
  EXPECT_EQ(d["top"]["title"].AsString(), "mivo Settings");
  return d;
}

const std::vector<std::string> kDefaults = {
    "Language", "Auto show: off", "Internal image viewer: off", "Full screen: off", "Animations: on",
    "Tap on contact: smart call", "Desktops count: 4", "Ask before Exit: on", "Ask before make a call: on",
    "Ask before execute file: on", "Ask before Control panel: on", "Skin settings"};

TEST(SettingsScenario, EveryRowChangesItsSettingAndANewStartShowsTheStoredValues) {
  const std::string dir = FreshDir("settings_every_row");
  ASSERT_EQ(pagestest::Device(dir, {"init"}).code, 0);
  const std::vector<std::string> changed = {
      "Language", "Auto show: on", "Internal image viewer: on", "Full screen: on", "Animations: off",
      "Tap on contact: show contact info", "Desktops count: 5", "Ask before Exit: off",
      "Ask before make a call: off", "Ask before execute file: off", "Ask before Control panel: off",
      "Skin settings"};
  {
    MivoSession s(dir);
    pagestest::Session walk(s);
    Json d = OpenSettings(walk);
    ASSERT_EQ(Rows(d), kDefaults);
    for (std::size_t i = 1; i + 1 < kDefaults.size(); ++i) {
      d = walk.ActivateRow(kDefaults[i]);
      EXPECT_EQ(Rows(d)[i], changed[i]);
      // Full screen takes effect at once: the task bar goes, the menu bar stays
      // under the frame, and the page fills the frame from the screen's top.
      if (i == 3) {
        EXPECT_EQ(d["screen"]["mode"].AsInt(), 2);
        const Json* frame = WindowOf(d, "CMainFrame");
        const Json* bar = WindowOf(d, "menu_worker");
        ASSERT_TRUE(frame && bar);
        EXPECT_EQ((*frame)["rect"][1].AsInt(), 0);
        EXPECT_EQ((*frame)["rect"][3].AsInt(), (*bar)["rect"][1].AsInt());
        EXPECT_EQ((*bar)["rect"][3].AsInt(), 320);
        for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(d["top"]["rect"][k].AsInt(), (*frame)["rect"][k].AsInt());
      }
    }
    EXPECT_EQ(Rows(d), changed);
    // The two rows that open pages.
    d = walk.ActivateRow("Skin settings");
    EXPECT_EQ(d["top"]["class"].AsString(), "CmivoSkinsSettingsPage");
    d = walk.Step("key F1");
    d = walk.ActivateRow("Language");
    EXPECT_EQ(d["top"]["class"].AsString(), "CmivoAdvLanguagesPage");
    // Back on the desktop, full screen is the whole screen again.
    for (int i = 0; i < 4; ++i) d = walk.Step("key F1");
    ASSERT_EQ(d["top"]["class"].AsString(), "CmivoDesktopPage");
    EXPECT_EQ(d["screen"]["mode"].AsInt(), 1);
    EXPECT_EQ((*WindowOf(d, "CMainFrame"))["rect"][3].AsInt(), 320);
    EXPECT_EQ(s.Finish(), 0);
  }
  EXPECT_EQ(Get(dir, kSettingsPath + "\\Registration", "AutoShow"), "1");
  for (auto [name, value] : {std::pair{"UseInternalImageViewer", "1"}, {"UseFullScreen", "1"},
                             {"AnimationsEnabled", "0"}, {"TapOnContact", "2"}, {"DesktopsCount", "5"},
                             {"AskBeforeExit", "0"}, {"AskBeforeMakeCall", "0"}, {"AskBeforeExecuteFile", "0"},
                             {"AskBeforeControlPanel", "0"}})
    EXPECT_EQ(Get(dir, kSettingsPath, name), value) << name;

  // A new start shows them; a second tap of each goes back.
  MivoSession s(dir);
  pagestest::Session walk(s);
  Json d = OpenSettings(walk);
  EXPECT_EQ(Rows(d), changed);
  EXPECT_EQ(d["screen"]["mode"].AsInt(), 2);
  for (std::size_t i = 1; i + 1 < kDefaults.size(); ++i) {
    if (i == 5 || i == 6) continue;  // the two numbers move on rather than back
    d = walk.ActivateRow(changed[i]);
  }
  d = walk.Dump();
  EXPECT_EQ(d["screen"]["mode"].AsInt(), 0);
  for (std::size_t i : {1u, 2u, 3u, 4u, 7u, 8u, 9u, 10u}) EXPECT_EQ(Rows(d)[i], kDefaults[i]);
  EXPECT_EQ(s.Finish(), 0);
}

TEST(SettingsScenario, NumbersWrapAndValuesOutOfRangeShowSensiblyWithoutBeingWrittenBack) {
  const std::string dir = FreshDir("settings_numbers");
  ASSERT_EQ(pagestest::Device(dir, {"init"}).code, 0);
  Set(dir, "DesktopsCount", 40);
  Set(dir, "TapOnContact", 7);
  {
    MivoSession s(dir);
    pagestest::Session walk(s);
    Json d = OpenSettings(walk);
    EXPECT_EQ(Rows(d)[6], "Desktops count: 4");
    EXPECT_EQ(Rows(d)[5], "Tap on contact: ");
    // Reading writes nothing.
    EXPECT_EQ(Get(dir, kSettingsPath, "DesktopsCount"), "40");
    // A number the page does not know stays as it is.
    d = walk.ActivateRow("Tap on contact: ");
    EXPECT_EQ(Rows(d)[5], "Tap on contact: ");
    EXPECT_EQ(Get(dir, kSettingsPath, "TapOnContact"), "7");
    // Tapping the help button shows the help and changes nothing.
    const Json& row = d["top"]["rows"][6];
    d = walk.Step("tap " + std::to_string(row["rect"][2].AsInt() - 20) + " " +
                  std::to_string((row["rect"][1].AsInt() + row["rect"][3].AsInt()) / 2));
    EXPECT_TRUE(d["top"]["rows"][6]["expanded"].AsBool());
    EXPECT_EQ(Get(dir, kSettingsPath, "DesktopsCount"), "40");
    d = walk.ActivateRow("Desktops count: 4");
    EXPECT_EQ(Rows(d)[6], "Desktops count: 5");
    EXPECT_EQ(Get(dir, kSettingsPath, "DesktopsCount"), "5");
    EXPECT_EQ(s.Finish(), 0);
  }
  Set(dir, "DesktopsCount", 32);
  MivoSession s(dir);
  pagestest::Session walk(s);
  Json d = OpenSettings(walk);
  d = walk.ActivateRow("Desktops count: 32");
  EXPECT_EQ(Rows(d)[6], "Desktops count: 1");
  EXPECT_EQ(Get(dir, kSettingsPath, "DesktopsCount"), "1");
  EXPECT_EQ(s.Finish(), 0);
}

}  // namespace
