// The pages of the actions and what actions open, with the whole program in
// this process. A quit message posted before an action closes any question it
// asks as "no", so an action that asked leaves the stack as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "app/app_core.h"
#include "core/settings.h"
#include "look/archive.h"
#include "platform/device/phone.h"
#include "platform/fs/file_io.h"
#include "platform/fs/files.h"
#include "platform/shell/clipboard.h"
#include "platform/shell/launch.h"
#include "platform/win32/text.h"
#include "platform/window/message.h"
#include "tests/pages/pages_fixture.h"
#include "ui/items_page.h"

using pagestest::Json;
using pagestest::RowTexts;

namespace {

std::vector<std::string> CellTexts(const Json& d) {
  std::vector<std::string> out;
  for (const Json& c : d["top"]["cells"].Items()) out.push_back(c["text"].AsString());
  return out;
}

std::vector<std::string> PageTexts(const Json& d) {
  std::vector<std::string> out;
  for (const Json& t : d["top"]["texts"].Items()) out.push_back(t.AsString());
  return out;
}

class ActionPages : public pagestest::PagesTest {
 protected:
  // Runs an action as a tap would, with any question answered "no".
  void RunDeclining(mivoAction& action) {
    PostQuitMessage(0);
    Core().RunAction(&action);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    m_ui->Wait(600);
  }

  std::size_t Depth() { return Dump()["pages"].size(); }

  static std::u16string LastLaunch() {
    const auto launches = shell::RecentLaunches(1);
    return launches.empty() ? u"" : launches[0].file;
  }

  // Holds the top page's cell (or, on a list page, row) `index` and gives the menu page's row texts.
  std::vector<std::string> HoldCell(int index) {
    const Json d = Dump();
    const Json& cells = d["top"]["cells"].Items().empty() ? d["top"]["rows"] : d["top"]["cells"];
    const Json& rect = cells[static_cast<std::size_t>(index)]["rect"];
    m_ui->Hold(static_cast<int>((rect[0].AsInt() + rect[2].AsInt()) / 2),
               static_cast<int>((rect[1].AsInt() + rect[3].AsInt()) / 2));
    m_ui->Wait(600);
    return RowTexts(Dump());
  }
  static bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }

  static void WriteFile(std::u16string_view path) { ASSERT_TRUE(fs::WriteFileAtomic(path, {'x'})); }
};

TEST_F(ActionPages, TheCatalogueMakesEachPageOnceAndNothingForEmptyOrOutOfRangeSlots) {
  for (int index : {36, 2, 3, 23, 28, -1}) EXPECT_EQ(Core().GetPage(index), nullptr) << index;
  CmivoPageWnd* history = Core().GetPage(24);
  ASSERT_NE(history, nullptr);
  EXPECT_EQ(Core().GetPage(24), history);
  EXPECT_EQ(history->GetTitle(0, 0), u"Actions history");

  // The three control-panel slots are three pages, each in its own group.
  CmivoPageWnd* personal = Core().GetPage(29);
  CmivoPageWnd* system = Core().GetPage(30);
  CmivoPageWnd* connections = Core().GetPage(31);
  ASSERT_TRUE(personal && system && connections);
  EXPECT_NE(personal, system);
  EXPECT_NE(system, connections);
  EXPECT_EQ(personal->GetTitle(0, 0), u"Personal");
  EXPECT_EQ(connections->GetTitle(2, 0), u"Connections");
  EXPECT_NE(Core().GetPage(21), Core().GetPage(22));
  EXPECT_EQ(Core().GetPage(34)->GetTitle(0, 0), u"About");
  EXPECT_EQ(Core().GetPage(33)->GetTitle(0, 0), u"FAQ");
  EXPECT_STREQ(Core().GetPage(35)->PageClassName(), "CmivoAdvLanguagesPage");
  EXPECT_EQ(Core().GetPage(35)->GetTitle(0, 0), u"Language");
}

TEST_F(ActionPages, AFolderOpensItsListWithoutAskingAndOnlyAJpgOpensTheViewerWhenItIsOn) {
  ASSERT_TRUE(fs::CreateDirectories(u"\\My Documents\\Trips\\Alps"));
  WriteFile(u"\\My Documents\\Trips\\PHOTO.JPG");
  WriteFile(u"\\My Documents\\Trips\\photo.jpeg");
  WriteFile(u"\\My Documents\\Trips\\notes.txt");
  Core().Settings().SetAskBeforeExecuteFile(true);
  Core().Settings().SetUseInternalImageViewer(true);

  const std::size_t depth = Depth();
  mivoActionExecuteFile folder(&Core(), u"\\My Documents\\Trips");
  RunDeclining(folder);
  ASSERT_EQ(TopClass(), "CmivoAdvProgramsPage");
  Json d = Dump();
  EXPECT_EQ(d["top"]["title"].AsString(), "Trips");
  // Folders first, then the files by name, then the count.
  EXPECT_EQ(RowTexts(d), (std::vector<std::string>{"Alps", "notes.txt", "photo.jpeg", "PHOTO.JPG",
                                                   "Total folders: 1; total files: 3"}));
  Back();

  mivoActionExecuteFile jpg(&Core(), u"\\My Documents\\Trips\\PHOTO.JPG");
  RunDeclining(jpg);
  EXPECT_EQ(Core().TopPage(), Core().GetPage(14));
  Back();
  ASSERT_EQ(Depth(), depth);

  // ".jpeg" is no ".jpg": the question comes (and "no" starts nothing).
  const std::u16string before = LastLaunch();
  mivoActionExecuteFile jpeg(&Core(), u"\\My Documents\\Trips\\photo.jpeg");
  RunDeclining(jpeg);
  EXPECT_EQ(Depth(), depth);
  EXPECT_EQ(LastLaunch(), before);

  // With the viewer off a ".jpg" is a file like any other.
  Core().Settings().SetUseInternalImageViewer(false);
  RunDeclining(jpg);
  EXPECT_EQ(Depth(), depth);
  Core().Settings().SetAskBeforeExecuteFile(false);
  RunDeclining(jpg);
  EXPECT_EQ(Depth(), depth);
  EXPECT_EQ(LastLaunch(), u"\\My Documents\\Trips\\PHOTO.JPG");
  // Every start counts, the declined ones too: one entry of three.
  const mivoHistoryEntry* entry = Core().GetActions()->History().Find(jpg);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Count(), 3);
}

TEST_F(ActionPages, ACallAndAControlPanelAskFirstAndGoAheadWhenTheQuestionIsOff) {
  mivoActionMakeCall call(&Core(), u"+420 123-456");
  mivoActionControlPanel panel(&Core(), 4, 1);
  const auto dials = device::RecentDials(1).size();
  const std::u16string launched = LastLaunch();
  RunDeclining(call);
  RunDeclining(panel);
  EXPECT_EQ(device::RecentDials(1).size(), dials);
  EXPECT_EQ(LastLaunch(), launched);

  Core().Settings().SetAskBeforeMakeCall(false);
  Core().Settings().SetAskBeforeControlPanel(false);
  RunDeclining(call);
  RunDeclining(panel);
  const auto recent = device::RecentDials(1);
  ASSERT_EQ(recent.size(), 1u);
  EXPECT_EQ(recent[0].number, u"+420 123-456");
  const auto launches = shell::RecentLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].file, u"\\Windows\\ctlpnl.exe");
  EXPECT_EQ(launches[0].parameters, u"cplmain.cpl,4,1");
  // Declined or not, both were counted each time.
  EXPECT_EQ(Core().GetActions()->History().Find(call)->Count(), 2);
  EXPECT_EQ(Core().GetActions()->History().Find(panel)->Count(), 2);
}

TEST_F(ActionPages, AWordListWithoutDocumentsStartsTheProgramAndWithOneListsIt) {
  const std::size_t depth = Depth();
  mivoActionOffice word(&Core(), kOfficeWordList, 0);
  RunDeclining(word);
  EXPECT_EQ(Depth(), depth);
  EXPECT_EQ(LastLaunch(), u"pword.exe");

  ASSERT_TRUE(fs::CreateDirectories(u"\\My Documents\\Work"));
  WriteFile(u"\\My Documents\\Work\\Report.doc");
  WriteFile(u"\\My Documents\\Work\\Sheet.xls");
  RunDeclining(word);
  ASSERT_EQ(TopClass(), "CmivoFileListPage");
  const Json d = Dump();
  EXPECT_EQ(d["top"]["title"].AsString(), "Word documents");
  EXPECT_EQ(CellTexts(d), (std::vector<std::string>{"Run Pocket Word", "Report.doc"}));
}

TEST_F(ActionPages, TheHistoryPageRanksTheStartsAndShowsTheirCountsInDetailsView) {
  Json d = Show(24);
  EXPECT_TRUE(CellTexts(d).empty());
  EXPECT_EQ(PageTexts(d), (std::vector<std::string>{"The actions history list is empty."}));

  // Started while the page is shown: the cells follow at once.
  mivoActionShowPage about(&Core(), 34, 0, 0);
  mivoActionHelpTutorial tutorial(&Core());
  mivoActions& actions = *Core().GetActions();
  actions.RecordAction(about);
  actions.RecordAction(tutorial);
  actions.RecordAction(tutorial);
  m_ui->Wait(100);
  d = Dump();
  EXPECT_EQ(CellTexts(d), (std::vector<std::string>{"Help tutorial", "About"}));

  auto* page = dynamic_cast<CmivoItemsPageWnd*>(Core().GetPage(24));
  ASSERT_NE(page, nullptr);
  page->SetDetailsView();
  m_ui->Wait(100);
  d = Dump();
  EXPECT_EQ(PageTexts(d), (std::vector<std::string>{"Used 2x", "Used 1x"}));
  // One row per entry in details view, the full width.
  const Json& cells = d["top"]["cells"];
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[1]["rect"][1].AsInt(), cells[0]["rect"][3].AsInt());
}

TEST_F(ActionPages, AFavouriteTappedOnItsPageRunsAndIsCounted) {
  mivoActions& actions = *Core().GetActions();
  Json d = Show(15);
  EXPECT_TRUE(CellTexts(d).empty());
  EXPECT_EQ(PageTexts(d), (std::vector<std::string>{"There are no favorites added."}));

  actions.SetFavorite(0, std::make_unique<mivoActionShowPage>(&Core(), 33, 0, 0));
  actions.SetFavorite(2, std::make_unique<mivoActionShowPage>(&Core(), 34, 0, 0));
  m_ui->Wait(100);
  d = Dump();
  ASSERT_EQ(CellTexts(d), (std::vector<std::string>{"FAQ", "", "About", "", "", "", "", "", ""}));
  const Json& about = d["top"]["cells"][2]["rect"];
  m_ui->Tap(static_cast<int>((about[0].AsInt() + about[2].AsInt()) / 2),
            static_cast<int>((about[1].AsInt() + about[3].AsInt()) / 2));
  m_ui->Wait(600);
  EXPECT_EQ(TopClass(), "CmivoAboutPage");
  const mivoHistoryEntry* entry = actions.History().Find(*actions.Favorites().At(2));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Count(), 1);
}

TEST_F(ActionPages, HoldingAFileOffersTheFileEntriesAndPasteOnlyAfterACopy) {
  ASSERT_TRUE(fs::CreateDirectories(u"\\Pictures"));
  WriteFile(u"\\Pictures\\beach.jpg");
  WriteFile(u"\\Pictures\\list.txt");
  Core().Settings().SetDesktopsCount(4);
  mivoActionExecuteFile folder(&Core(), u"\\Pictures");
  RunDeclining(folder);
  ASSERT_EQ(RowTexts(Dump()), (std::vector<std::string>{"beach.jpg", "list.txt", "Total folders: 0; total files: 2"}));

  std::vector<std::string> menu = HoldCell(1);
  for (const char* entry : {"Add to favorites", "Rename file", "Copy file", "Cut file", "Delete file", "Create new folder"})
    EXPECT_TRUE(Has(menu, entry)) << entry;
  EXPECT_FALSE(Has(menu, "Paste"));
  EXPECT_FALSE(Has(menu, "Desktop 1"));
  ActivateRow("Copy file");
  EXPECT_EQ(TopClass(), "CmivoAdvProgramsPage");

  // A picture can dress each of the four desktops.
  menu = HoldCell(0);
  EXPECT_TRUE(Has(menu, "Paste"));
  for (const char* entry : {"Desktop 1", "Desktop 2", "Desktop 3", "Desktop 4"}) EXPECT_TRUE(Has(menu, entry)) << entry;
  EXPECT_FALSE(Has(menu, "Desktop 5"));
}

TEST_F(ActionPages, HoldingACallOffersTheNumbersEntriesAndCopiesTheNumber) {
  mivoActions& actions = *Core().GetActions();
  actions.SetFavorite(0, std::make_unique<mivoActionMakeCall>(&Core(), u"123"));
  Show(15);
  const std::vector<std::string> menu = HoldCell(0);
  for (const char* entry :
       {"Remove from favorites", "Change icons", "Call 123", "SMS to 123", "Copy phone number to clipboard"})
    EXPECT_TRUE(Has(menu, entry)) << entry;
  EXPECT_FALSE(Has(menu, "Add to favorites"));
  ActivateRow("Copy phone number to clipboard");
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const std::u16string copied = data ? std::u16string(static_cast<const char16_t*>(data)) : u"";
  CloseClipboard();
  EXPECT_EQ(copied, u"123");
}

TEST_F(ActionPages, ASubMenuReadBackFromARecordOpensWithTheMainMenusEntries) {
  mivoActions& actions = *Core().GetActions();
  // Records keep only the title; the nested "MS Calendar" is found too.
  for (const auto& [title, rows] : {std::pair{u"Office", 7u}, std::pair{u"MS Calendar", 5u}}) {
    mivoArchiveWriter out;
    mivoActionSubMenu(nullptr, title).SaveRecord(out);
    mivoArchiveReader in(out.Bytes());
    DWORD typeId = 0;
    bool failed = false;
    std::unique_ptr<mivoAction> menu = actions.ReadActionRecord(in, &typeId, &failed);
    ASSERT_TRUE(menu && !failed);
    RunDeclining(*menu);
    const Json d = Dump();
    EXPECT_EQ(d["top"]["title"].AsString(), text::ToUtf8(title));
    EXPECT_EQ(d["top"]["rows"].size(), rows);
    Back();
  }
  // A title the main menu does not have opens empty, without harm.
  mivoActionSubMenu unknown(&Core(), u"Games");
  RunDeclining(unknown);
  EXPECT_EQ(Dump()["top"]["rows"].size(), 0u);
}

}  // namespace
