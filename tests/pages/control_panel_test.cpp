// The control-panel catalogue and its three pages, with the whole program in
// this process and the device's own control-panel library.
#include <gtest/gtest.h>

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "core/settings.h"
#include "pages/control_panel_catalogue.h"
#include "pages/control_panel_page.h"
#include "platform/device/control_panel.h"
#include "platform/registry/registry.h"
#include "platform/shell/launch.h"
#include "platform/shell/library.h"
#include "platform/win32/text.h"
#include "tests/pages/pages_fixture.h"

namespace {

using pagestest::Json;
using pagestest::RowTexts;

class ControlPanel : public pagestest::PagesTest {
 protected:
  void SetUp() override {
    pagestest::PagesTest::SetUp();
    ASSERT_TRUE(device::WriteControlPanelRegistry());
    Core().Settings().SetAskBeforeControlPanel(false);
  }
  std::vector<std::string> Open(int index) { return RowTexts(Show(index)); }
  static shell::LaunchRecord LastLaunch() {
    const auto launches = shell::RecentLaunches(1);
    return launches.empty() ? shell::LaunchRecord{} : launches[0];
  }
};

TEST_F(ControlPanel, AnAppletWithoutAGroupIsASystemOneAndOneOfGroupThreeIsOnNoPage) {
  ASSERT_TRUE(reg::Delete(HKEY_LOCAL_MACHINE, u"ControlPanel\\Beam", u"Group"));
  ASSERT_TRUE(reg::SetDword(HKEY_LOCAL_MACHINE, u"ControlPanel\\Lock", u"Group", 3));
  const std::vector<std::string> system = Open(30);
  EXPECT_EQ(system.size(), 11u);
  EXPECT_NE(std::find(system.begin(), system.end(), "Beam"), system.end());
  Core().PopPage();
  const std::vector<std::string> personal = Open(29);
  EXPECT_EQ(std::find(personal.begin(), personal.end(), "Lock"), personal.end());
  Core().PopPage();
  const std::vector<std::string> connections = Open(31);
  EXPECT_EQ(std::find(connections.begin(), connections.end(), "Beam"), connections.end());
}

TEST_F(ControlPanel, TheCatalogueIsBuiltOnceAndEachPageFillsOnce) {
  Open(30);
  mivoControlPanelCatalogue* catalogue = Core().GetControlPanelCatalogue();
  const int calls = catalogue->LibraryCalls();
  EXPECT_GT(calls, 0);
  Back();
  Open(30);
  Core().PopPage();
  Open(29);
  // The rows' names and icons were kept from the first reading.
  EXPECT_EQ(catalogue->LibraryCalls(), calls);
  EXPECT_EQ(Core().GetControlPanelCatalogue(), catalogue);
}

TEST_F(ControlPanel, ThePhoneExpandsToSixTabsAndTheFourthOpensTheHostAtThatTab) {
  Open(29);
  ActivateRow("Phone");
  m_ui->Wait(100);
  // Enter opened the applet itself at its data word.
  EXPECT_EQ(LastLaunch().file, u"\\Windows\\ctlpnl.exe");
  EXPECT_EQ(LastLaunch().parameters, u"cplmain.cpl,20,0");
  m_ui->Key(VK_RIGHT);
  m_ui->Wait(100);
  // The last row grew: the list is dragged up to its end.
  m_ui->Drag(120, 280, 120, 40, 600);
  m_ui->Wait(600);
  Json d = Dump();
  const Json* phone = nullptr;
  for (const Json& r : d["top"]["rows"].Items())
    if (r["text"].AsString() == "Phone") phone = &r;
  ASSERT_NE(phone, nullptr);
  EXPECT_TRUE((*phone)["expanded"].AsBool());
  EXPECT_EQ((*phone)["help"].AsString(), "Phone\nServices\nNetwork\nGPRS\nCSD\nMore");
  const int s = 1, top = (*phone)["rect"][1].AsInt(), bottom = (*phone)["rect"][3].AsInt();
  EXPECT_EQ(bottom - top, 63 * s + 6 * 40 * s);
  // The fourth sub-row: 3 x 40 below the card's own content, half a row further.
  m_ui->Tap(80, top + 63 * s - 5 + 3 * 40 * s + 20 * s);
  m_ui->Wait(100);
  const shell::LaunchRecord launch = LastLaunch();
  EXPECT_EQ(launch.parameters, u"cplmain.cpl,20,3");
  // This device's host has no phone settings: the device opened it itself.
  EXPECT_EQ(launch.pid, 0);
  EXPECT_EQ(launch.error, 0u);
  EXPECT_NE(launch.command.find(u"Phone"), std::u16string::npos);
  // The tab's action was counted in the history like any other.
  mivoActionControlPanel tab(&Core(), 20, 3);
  EXPECT_NE(Core().GetActions()->History().Find(tab), nullptr);
}

TEST_F(ControlPanel, AnAppletWithoutTabsHasNothingToExpandAndTheHostsSettingsStartWhereMapped) {
  Open(30);
  ActivateRow("About");
  m_ui->Key(VK_RIGHT);
  m_ui->Wait(100);
  for (const Json& r : Dump()["top"]["rows"].Items()) {
    if (r["text"].AsString() == "About") {
      EXPECT_FALSE(r["expanded"].AsBool());
    }
  }
  // Where the host has settings for an applet (here: a program that exists), they start.
  ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, u"Device\\Host Programs\\Control Panel", u"Screen", u"true display"));
  ActivateRow("Screen");
  const shell::LaunchRecord launch = LastLaunch();
  EXPECT_EQ(launch.parameters, u"cplmain.cpl,7,0");
  EXPECT_GT(launch.pid, 0);
  EXPECT_NE(launch.command.find(u"true display"), std::u16string::npos) << text::ToUtf8(launch.command);
  // A host command that is not there: the device opens the applet itself.
  ASSERT_TRUE(reg::SetString(HKEY_LOCAL_MACHINE, u"Device\\Host Programs\\Control Panel", u"Screen",
                             u"no-such-settings-program"));
  ActivateRow("Screen");
  EXPECT_EQ(LastLaunch().pid, 0);
  EXPECT_EQ(LastLaunch().error, 0u);
}

TEST_F(ControlPanel, WithoutTheLibrarysEntryPointTheCatalogueAndThePagesAreEmpty) {
  shell::RegisterBuiltInLibrary(u"cplmain.cpl", [](std::u16string_view) -> FARPROC { return nullptr; });
  EXPECT_TRUE(Open(30).empty());
  EXPECT_EQ(Core().GetControlPanelCatalogue()->GetCount(), 0);
  mivoControlPanelCatalogue::Entry entry;
  EXPECT_FALSE(Core().GetControlPanelCatalogue()->GetEntry(0, &entry));
  // The actions fall back to their unknown applet.
  mivoActionControlPanel action(&Core(), 7, 0);
  EXPECT_EQ(action.GetTitle(), u"Unknown control panel");
  device::RegisterControlPanel();
}

}  // namespace
