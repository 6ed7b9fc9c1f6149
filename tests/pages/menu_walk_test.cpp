// Every entry of the main menu and its sub-menus in the real program, at
// 240x320 and at 640x480: each opens a page of its own under its name, the
// office entries start their programs, and the walk ends at the desktop.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/pages/session_util.h"

namespace {

using pagestest::Json;
using pagestest::Rows;
using testing_support::FreshDir;
using testing_support::MivoSession;

class Walker {
 public:
  Walker(MivoSession& s, const std::string& shots) : m_walk(s), m_shots(shots) {}

  // Answers the help tutorial's first box with its last button (Cancel).
  Json Settle(Json d) {
    for (int guard = 0; guard < 3 && !d["overlay"].IsNull(); ++guard) {
      EXPECT_EQ(d["overlay"]["title"].AsString(), "Welcome") << d["overlay"]["text"].AsString();
      ++m_boxes;
      d = m_walk.Step("tap " + pagestest::Center(d["overlay"]["buttons"][d["overlay"]["buttons"].size() - 1]));
    }
    return d;
  }

  // Taps the top of main menu tile i, dragging the grid until it is in view.
  Json TapTile(std::size_t i) {
    for (int guard = 0; guard < 10; ++guard) {
      const Json d = m_walk.Dump();
      const Json& cell = d["top"]["cells"][i]["rect"];
      const Json& area = d["top"]["rect"];
      const int y = cell[1].AsInt() + 20, x = (cell[0].AsInt() + cell[2].AsInt()) / 2;
      const int middle = (area[1].AsInt() + area[3].AsInt()) / 2;
      if (y > area[1].AsInt() + 40 && y < area[3].AsInt() - 10) {
        return Settle(m_walk.Step("tap " + std::to_string(x) + " " + std::to_string(y)));
      }
      const int to = y >= area[3].AsInt() - 10 ? middle - 80 : middle + 80;
      m_walk.Step("drag 20 " + std::to_string(middle) + " 20 " + std::to_string(to) + " 400", 1500);
    }
    ADD_FAILURE() << "tile " << i << " never came into view";
    return m_walk.Dump();
  }

  Json BackTo(std::size_t depth, Json d) {
    for (int guard = 0; guard < 6 && d["pages"].size() > depth; ++guard) d = m_walk.Step("key F1");
    EXPECT_EQ(d["pages"].size(), depth);
    return d;
  }

  // What an entry opened: a sub-menu is walked, a page is noted (and shot).
  void Visit(const Json& d, const std::string& where, std::size_t depth) {
    if (d["pages"].size() <= depth) return;  // started something outside the program
    const Json& top = d["top"];
    const std::string cls = top["class"].AsString();
    m_built.insert(cls);
    if (cls == "CmivoAdvControlPanelPage") m_panels[top["title"].AsString()] = Rows(d);
    EXPECT_NE(top["header"].AsString(), "(unknown page name)") << where;
    Shot(where);
    if (cls == "CmivoAdvListBoxPage") WalkSubMenu(d, where);
  }

  void WalkSubMenu(const Json& menu, const std::string& path) {
    const std::size_t depth = menu["pages"].size();
    const std::vector<std::string> rows = Rows(menu);
    for (const std::string& row : rows) {
      Json d = Settle(m_walk.ActivateRow(row));
      ++m_entries;
      Visit(d, path + " - " + row, depth);
      BackTo(depth, d);
    }
  }

  // Keeps a picture of each page reached beside the test's device, for people to look at.
  void Shot(const std::string& where) {
    std::string name;
    for (char c : where) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    m_walk.Step("shot " + m_shots + "/" + name + ".png", 0);
  }

  pagestest::Session m_walk;
  std::string m_shots;
  std::set<std::string> m_built;
  std::map<std::string, std::vector<std::string>> m_panels;  // each control-panel page's rows, by its title
  int m_entries = 0;
  int m_boxes = 0;
};

class MenuWalk : public ::testing::TestWithParam<const char*> {};

TEST_P(MenuWalk, EveryEntryOpensABuiltPage) {
  const std::string size = GetParam();
  const std::string dir = FreshDir("menu_walk_" + size);
  ASSERT_EQ(pagestest::Device(dir, {"init"}).code, 0);
  for (const char* program : {"calendar.exe", "pword.exe", "pxl.exe", "notes.exe", "tasks.exe", "tmail.exe"}) {
    ASSERT_EQ(pagestest::Device(dir, {"reg", "set", "HKLM\\Device\\Host Programs", program, "sz", "true"}).code, 0);
  }
  MivoSession s(dir, {"--screen", size});
  ASSERT_TRUE(s.Running());
  Walker walker(s, dir);
  Json menu = walker.m_walk.Step("key RETURN");  // the desktop's Enter opens the main menu
  ASSERT_EQ(menu["top"]["class"].AsString(), "CmivoMainMenuPage");
  ASSERT_EQ(menu["top"]["cells"].size(), 10u);
  for (std::size_t i = 0; i + 1 < menu["top"]["cells"].size(); ++i) {
    const std::string tile = menu["top"]["cells"][i]["text"].AsString();
    Json d = walker.TapTile(i);
    ++walker.m_entries;
    // The file explorer's root is named "{Root}" in its header.
    EXPECT_EQ(d["top"]["title"].AsString(), tile == "Explore root" ? "{Root}" : tile);
    walker.Visit(d, tile, 2);
    menu = walker.BackTo(2, d);
    ASSERT_EQ(menu["top"]["class"].AsString(), "CmivoMainMenuPage") << tile;
  }
  // 9 tiles; SMS 6, Call log 4, Settings 4, System info 3, Office 7 + MS Calendar 5, Help 3.
  EXPECT_EQ(walker.m_entries, 9 + 6 + 4 + 4 + 3 + 7 + 5 + 3);
  for (const char* page : {"CmivoAdvProgramsPage", "CmivoAdvControlPanelPage", "CmivoAdvSettingsPage",
                           "CmivoAdvBatteryInfoPage", "CmivoAdvRunningAppsPage", "CmivoMemoryInfoPage",
                           "CmivoPhonePageWnd", "CmivoSMSItemsPage", "CmivoAdvCallLogPage", "CmivoCalendarPage",
                           "CmivoAdvTaskListPage"}) {
    EXPECT_TRUE(walker.m_built.count(page)) << page;
  }
  // Each control-panel page lists the applets of its group in the library's order.
  const std::map<std::string, std::vector<std::string>> panels = {
      {"Personal",
       {"Lock", "Menus", "Owner Information", "Input", "Sounds & Notifications", "Buttons", "Today", "Phone"}},
      {"System",
       {"Power", "Memory", "About", "Backlight", "Screen", "Remove Programs", "Error Reporting", "Clock & Alarms",
        "Regional Settings", "Certificates"}},
      {"Connections", {"Beam", "Network Cards", "Connections", "Bluetooth", "Wi-Fi", "USB to PC"}}};
  EXPECT_EQ(walker.m_panels, panels);
  menu = walker.BackTo(1, menu);
  EXPECT_EQ(menu["top"]["class"].AsString(), "CmivoDesktopPage");
  EXPECT_TRUE(menu["overlay"].IsNull());
  EXPECT_EQ(walker.m_boxes, 1);  // the tutorial's first box, ended by Cancel
  EXPECT_EQ(s.Finish(), 0);

  // What the office entries started, in the device's launch record.
  const std::string launches = pagestest::Device(dir, {"launches"}).out;
  for (const char* started : {"calendar.exe -new", "calendar.exe -va -d0", "calendar.exe -va -d1",
                              "calendar.exe -vw -d0", "calendar.exe -vm -d0", "tmail.exe"}) {
    EXPECT_NE(launches.find(started), std::string::npos) << started << " in\n" << launches;
  }
  EXPECT_EQ(launches.find("failed"), std::string::npos) << launches;
}

INSTANTIATE_TEST_SUITE_P(Screens, MenuWalk, ::testing::Values("240x320", "640x480"), [](const auto& info) {
  return std::string(info.param) == "240x320" ? "Qvga" : "VgaLandscape";
});

}  // namespace
