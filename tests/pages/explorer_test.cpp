// The file explorer (catalogue pages 21 and 22 and the folders opened from
// them) with the whole program in this process.
#include <gtest/gtest.h>

#include <filesystem>

#include "actions/action_kinds.h"
#include "look/file_operations.h"
#include "pages/file_item.h"
#include "pages/programs_page.h"
#include "platform/fs/files.h"
#include "platform/win32/file_defs.h"
#include "tests/pages/pages_fixture.h"

namespace {

using pagestest::Json;
using pagestest::RowTexts;

class Explorer : public pagestest::PagesTest {
 protected:
  CmivoAdvProgramsPage* Root() { return dynamic_cast<CmivoAdvProgramsPage*>(Core().GetPage(22)); }
  CmivoAdvProgramsPage* Top() { return dynamic_cast<CmivoAdvProgramsPage*>(Core().TopPage()); }

  // Opens a folder as a run-file action does, and lets it paint.
  CmivoAdvProgramsPage* OpenFolder(const std::u16string& folder) {
    m_folderAction = std::make_unique<mivoActionExecuteFile>(&Core(), folder);
    Core().RunAction(m_folderAction.get());
    m_ui->Wait(600);
    return Top();
  }

  std::unique_ptr<mivoActionExecuteFile> m_folderAction;
};

TEST_F(Explorer, TheCatalogueResetsBothPagesOnEveryFetchAndNamesThemByTheirFolder) {
  ASSERT_TRUE(fs::CreateDirectories(u"\\Windows\\Start Menu\\Programs"));
  Show(21);
  auto* programs = Top();
  ASSERT_NE(programs, nullptr);
  // Read: the page now holds the programs folder's path, yet is still "Programs".
  EXPECT_EQ(programs->Folder(), u"\\Windows\\Start Menu\\Programs\\");
  EXPECT_EQ(programs->GetTitle(0, 0), u"Programs");
  EXPECT_EQ(Dump()["top"]["header"].AsString(), "Programs");
  Back();
  // The second opening shows the programs folder again, read anew.
  EXPECT_EQ(Core().GetPage(21), programs);
  EXPECT_FALSE(programs->IsFilled());
  EXPECT_EQ(programs->Folder(), u"");
  Show(21);
  EXPECT_EQ(programs->Folder(), u"\\Windows\\Start Menu\\Programs\\");
  EXPECT_TRUE(programs->IsFilled());

  EXPECT_EQ(Show(22)["top"]["header"].AsString(), "{Root}");
  EXPECT_EQ(Root()->GetTitle(0, 0), u"Explore root");
  EXPECT_EQ(Root()->Folder(), u"\\");
  auto* sub = OpenFolder(u"\\Windows");
  ASSERT_NE(sub, nullptr);
  EXPECT_NE(sub, Root());
  EXPECT_EQ(sub->GetTitle(0, 0), u"(explore unknown folder)");
  EXPECT_EQ(sub->GetPageIcon(0, 0), nullptr);
  EXPECT_NE(Root()->GetPageIcon(0, 0), nullptr);
}

TEST_F(Explorer, NoPathIsListedTwiceAndTheFolderIsWatchedOnceHoweverOftenItIsRead) {
  const auto dir = Host(u"\\Box");
  WriteHostFile(dir / "a.txt");
  CmivoAdvProgramsPage* page = OpenFolder(u"\\Box");
  ASSERT_NE(page, nullptr);
  // Notices that repeat what the list shows change nothing.
  page->OnFileChange(SHCNE_CREATE, u"\\Box\\a.txt", u"");
  page->OnFileChange(SHCNE_UPDATEITEM, u"\\box\\a.txt", u"");
  page->OnFileChange(SHCNE_CREATE, u"\\Elsewhere\\a.txt", u"");
  EXPECT_EQ(page->FileCount(), 1);
  for (int i = 0; i < 5; ++i) {
    page->SetFolder(u"", u"\\Box");
    page->ReadFolder();
  }
  WriteHostFile(dir / "b.txt");
  ASSERT_TRUE(WaitFor([&] { return page->FileCount() == 2; }));
  // Let every notice that was sent arrive: one registration, one row each.
  Settle(200);
  EXPECT_EQ(page->WatchRegistrations(), 1);
  EXPECT_EQ(RowTexts(Dump()), (std::vector<std::string>{"a.txt", "b.txt", "Total folders: 0; total files: 2"}));
  // Another folder is another registration.
  ASSERT_TRUE(fs::CreateDirectories(u"\\Windows"));
  page->SetFolder(u"", u"\\Windows");
  page->ReadFolder();
  EXPECT_EQ(page->WatchRegistrations(), 2);
}

TEST_F(Explorer, AFolderThatCannotBeReadShowsOnlyTheSummaryWithNoughts) {
  auto* explorer = dynamic_cast<CmivoAdvProgramsPage*>(Core().GetPage(22));
  explorer->SetFolder(u"", u"\\Nowhere");
  // The failed registration is said once.
  int boxes = 0;
  m_ui->AtIdle([&] {
    const ui::OverlayDescription box = uitest::OpenOverlay();
    EXPECT_EQ(box.title, u"Error");
    EXPECT_EQ(box.text, u"Cannot set file changes notification.");
    ++boxes;
    uitest::TapOverlayButton(0);
  });
  Core().ShowPage(explorer);
  m_ui->Wait(600);
  explorer->SetFolder(u"", u"\\Nowhere");
  m_ui->Wait(600);
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(RowTexts(Dump()), (std::vector<std::string>{"Total folders: 0; total files: 0"}));
  EXPECT_EQ(explorer->Folder(), u"\\Nowhere\\");
}

// (Pasting and creating a folder from this menu are in the explorer's scenario.)
TEST_F(Explorer, ThePagesMenuOffersPasteOnlyAfterACopyAlsoBelowTheRows) {
  WriteHostFile(Host(u"\\Box") / "a.txt");
  WriteHostFile(Host(u"\\Other\\note.txt"), "hello");
  ASSERT_NE(OpenFolder(u"\\Box"), nullptr);
  FileClipboard() = mivoFileClipboard{};
  HoldRow("Total folders: 0; total files: 1");
  ASSERT_EQ(TopClass(), "CmivoRightClickPage");
  EXPECT_EQ(RowTexts(Dump()), (std::vector<std::string>{"Create folder"}));
  m_ui->Key(VK_F1);
  m_ui->Wait(600);
  // Below the rows, the empty area holds the same menu.
  CopyToClipboard(u"\\Other\\note.txt", false);
  m_ui->Hold(120, 280);
  m_ui->Wait(600);
  ASSERT_EQ(TopClass(), "CmivoRightClickPage");
  EXPECT_EQ(RowTexts(Dump()), (std::vector<std::string>{"Create folder", "Paste"}));
}

TEST_F(Explorer, PictureRowsKeepABoundedNumberOfThumbnails) {
  const auto dir = Host(u"\\Pictures");
  // A picture, copied many times, and one that cannot be read.
  ASSERT_TRUE(fs::CreateDirectories(u"\\Pictures"));
  const std::vector<std::uint8_t> bmp = [] {
    // A 2 x 2 bitmap of 24 bits: the file header, the information header, then the rows.
    std::vector<std::uint8_t> b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0,
                                   0,   0,   1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                   0,   0,   0, 0, 0,  0};
    for (int i = 0; i < 16; ++i) b.push_back(static_cast<std::uint8_t>(i * 16));
    return b;
  }();
  for (int i = 0; i < 70; ++i) {
    std::ofstream(dir / ("p" + std::to_string(100 + i) + ".bmp"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  }
  WriteHostFile(dir / "broken.png", "not a picture");
  CmivoAdvProgramsPage* page = OpenFolder(u"\\Pictures");
  ASSERT_NE(page, nullptr);
  // Down the whole list and back up: every row is drawn on the way.
  for (int i = 0; i < 80; ++i) m_ui->Key(VK_DOWN);
  for (int i = 0; i < 80; ++i) m_ui->Key(VK_UP);
  m_ui->Wait(100);
  EXPECT_EQ(page->FileCount(), 71);
  EXPECT_LE(page->Thumbnails().Size(), mivoThumbnailCache::kCapacity);
  EXPECT_GT(page->Thumbnails().Decodes(), static_cast<int>(mivoThumbnailCache::kCapacity));
}

}  // namespace
