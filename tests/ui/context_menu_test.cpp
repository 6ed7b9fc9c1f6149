// Context menus: captions and entries, taps, the help behind the side button,
// and menus rebuilt or owners gone while the menu is in use.
#include <gtest/gtest.h>

#include "look/appearance.h"
#include "tests/support/json.h"
#include "tests/ui/ui_harness.h"
#include "ui/adv_list_box.h"
#include "ui/context_menu.h"
#include "ui/right_click_page.h"

using testing_support::Json;
using uitest::ColorPage;
using uitest::UiHarness;

namespace {

mivoContextMenuEntry MakeEntry(DWORD id, std::u16string text, std::u16string help, bool close = false) {
  mivoContextMenuEntry e;
  e.CommandId = id;
  e.Text1 = std::move(text);
  e.HelpText = std::move(help);
  e.Close = close;
  return e;
}

// A handler of two commands, 3001 and 3002, that records what it was asked to do.
class RecordingHandler : public CmivoContextMenuHandler {
 public:
  RecordingHandler(mivoCore* core, std::vector<DWORD>* log) : CmivoContextMenuHandler(core), m_log(log) {}
  void FillMenu(CmivoContextMenu* menu) override {
    menu->AddMenuSection(u"Things");
    menu->AddMenuEntry(MakeEntry(3001, u"", u"Does the first thing."));
    menu->AddMenuEntry(MakeEntry(3002, u"", u"", true));
  }
  bool GetMenuItemLook(const mivoContextMenuEntry& entry, mivoMenuItemLook* look) override {
    if (entry.CommandId != 3001 && entry.CommandId != 3002) return false;
    look->text = entry.CommandId == 3001 ? u"First thing" : u"Second thing";
    return true;
  }
  bool OnMenuCommand(const mivoContextMenuEntry& entry) override {
    if (entry.CommandId != 3001 && entry.CommandId != 3002) return false;
    m_log->push_back(entry.CommandId);
    return true;
  }

 private:
  std::vector<DWORD>* m_log;
};

// A page that owns a menu, like the desktop page or a file list.
class OwnerPage : public ColorPage, public CmivoContextMenu {
 public:
  explicit OwnerPage(mivoCore* core) : ColorPage(core, RGB(0, 0, 0), u"Owner"), CmivoContextMenu(core) {}
  // Shows this page, then its menu over it.
  void Open(UiHarness& h) {
    h.Core().ShowPage(this);
    Build();
    h.Pump();
  }
  void Build() {
    ClearMenu();
    AddMenuSection(u"General");
    AddMenuEntry(MakeEntry(2000, u"Design mode", u"Arrange the gadgets."));
    AddMenuHandler(std::make_unique<RecordingHandler>(MenuCore(), &log));
    ShowMenu();
  }
  void OnMenuCommand(const mivoContextMenuEntry& entry) override {
    if (entry.CommandId == 2000) {
      log.push_back(2000);
      // A command may build the menu anew while its row is being tapped.
      if (rebuildOnCommand) {
        ClearMenu();
        AddMenuEntry(MakeEntry(2000, u"Exit Design mode", u""));
      }
      return;
    }
    CmivoContextMenu::OnMenuCommand(entry);
  }
  std::vector<DWORD> log;
  bool rebuildOnCommand = false;
};

}  // namespace

TEST(ContextMenu, TheMenuListsCaptionsAndEntriesWithTheTextsTheirHandlersGive) {
  for (const auto& [w, hgt] : {std::pair{240, 320}, std::pair{480, 640}}) {
    SCOPED_TRACE(w);
    UiHarness h("menu_rows_" + std::to_string(w), w, hgt);
    ASSERT_TRUE(h.Start());
    OwnerPage owner(&h.Core());
    owner.Open(h);
    const Json dump = Json::Parse(UiHarness::Dump());
    EXPECT_EQ(dump["top"]["class"].AsString(), "CmivoRightClickPage");
    EXPECT_EQ(dump["top"]["header"].AsString(), "Context menu");
    const Json& rows = dump["top"]["rows"];
    ASSERT_EQ(uitest::Texts("rows"),
              (std::vector<std::string>{"General", "Design mode", "Things", "First thing", "Second thing"}));
    // Captions are 25·S high; entries are cards.
    EXPECT_EQ(rows[0]["rect"][3].AsInt() - rows[0]["rect"][1].AsInt(), 25 * DisplayScale);
    UiHarness::Shot("context_menu_" + std::to_string(w));
    h.Core().PopPage();
  }
}

TEST(ContextMenu, TheSideButtonShowsTheHelpAndATapCarriesOutTheEntryGoingBackOnlyForEntriesThatClose) {
  UiHarness h("menu_tap");
  ASSERT_TRUE(h.Start());
  OwnerPage owner(&h.Core());
  owner.Open(h);
  auto* row = dynamic_cast<CmivoAdvListBoxContextMenuItem*>(owner.MenuPage()->GetItem(1));
  ASSERT_NE(row, nullptr);
  const RECT button = row->GetSideButtonRect();
  ASSERT_FALSE(IsRectEmpty(&button));
  POINT c{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  owner.MenuPage()->ListBox().ClientToScreen(&c);
  h.Tap(c.x, c.y);
  EXPECT_TRUE(row->IsExpanded());
  EXPECT_TRUE(owner.log.empty()) << "the side button carries out nothing";
  EXPECT_TRUE(Json::Parse(UiHarness::Dump())["top"]["rows"][1]["expanded"].AsBool());
  UiHarness::Shot("context_menu_help");

  uitest::TapText(h, "rows", "First thing");
  ASSERT_EQ(owner.log, (std::vector<DWORD>{3001}));
  EXPECT_EQ(h.Core().TopPage(), owner.MenuPage());
  uitest::TapText(h, "rows", "Second thing");
  EXPECT_EQ(owner.log, (std::vector<DWORD>{3001, 3002}));
  EXPECT_EQ(h.Core().TopPage(), &owner);
  // Captions do nothing.
  owner.Build();
  h.Pump();
  uitest::TapText(h, "rows", "Things");
  EXPECT_EQ(owner.log.size(), 2u);
  EXPECT_EQ(h.Core().TopPage(), owner.MenuPage());
}

TEST(ContextMenu, ACommandThatRebuildsTheMenuFromItsOwnRowLeavesEverythingStanding) {
  UiHarness h("menu_rebuild");
  ASSERT_TRUE(h.Start());
  OwnerPage owner(&h.Core());
  owner.rebuildOnCommand = true;
  owner.Open(h);
  uitest::TapText(h, "rows", "Design mode");
  h.Pump();
  EXPECT_EQ(owner.log, (std::vector<DWORD>{2000}));
  EXPECT_EQ(owner.MenuPage()->GetItemCount(), 1);
  EXPECT_TRUE(owner.Handlers().empty());
  const Json dump = Json::Parse(UiHarness::Dump());
  EXPECT_EQ(dump["top"]["rows"][0]["text"].AsString(), "Exit Design mode");
}

TEST(ContextMenu, AnOwnerThatGoesAwayTakesItsMenuPageOffTheStack) {
  UiHarness h("menu_owner_gone");
  ASSERT_TRUE(h.Start());
  auto owner = std::make_unique<OwnerPage>(&h.Core());
  owner->Open(h);
  ASSERT_EQ(h.Core().PageStack().size(), 3u);
  owner.reset();
  h.Pump();
  EXPECT_EQ(h.Core().PageStack().size(), 1u);
  EXPECT_TRUE(h.Core().TopPage()->IsWindowVisible());
}
