// The list page and the items page on the page stack, driven through the program.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_core.h"
#include "look/appearance.h"
#include "look/toolkit.h"
#include "platform/win32/rect.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "tests/lists/list_fixture.h"
#include "ui/adv_list_box_items.h"
#include "ui/adv_list_box_page.h"
#include "ui/items_page.h"

using liststest::ListHarness;
using testing_support::Json;

namespace {

class SkinsPage : public CmivoAdvListBoxPage {
 public:
  explicit SkinsPage(mivoCore* core, int rows = 6) : CmivoAdvListBoxPage(core) {
    m_title = u"Skins";
    for (int i = 0; i < rows; ++i) {
      AddItem(new CmivoAdvListBoxTextWithHelp(core, u"Skin " + std::u16string(1, u'A' + i % 26),
                                              i == 0 ? u"The first skin." : u""));
    }
    AddItem(new CmivoAdvListBoxSimpleTextItem(core, u"Total skins: " + std::u16string(1, u'0' + rows % 10)));
  }
  const char* PageClassName() const override { return "SkinsPage"; }
};

// A list box that counts the swipes handed to it.
class SwipeListBox : public CmivoAdvListBox {
 public:
  using CmivoAdvListBox::CmivoAdvListBox;
  LRESULT OnSwipe(int x, int y) override {
    ++swipes;
    return 0;
  }
  int swipes = 0;
};

class SwipePage : public SkinsPage {
 public:
  explicit SwipePage(mivoCore* core) : SkinsPage(core) {
    auto box = std::make_unique<SwipeListBox>(core);
    listBox = box.get();
    ReplaceListBox(std::move(box));
  }
  SwipeListBox* listBox = nullptr;
};

class MenuPage : public CmivoItemsPageWnd {
 public:
  explicit MenuPage(mivoCore* core, int count = 10) : CmivoItemsPageWnd(core) {
    m_title = u"Main menu";
    for (int i = 0; i < count; ++i) {
      mivoListElement e;
      e.Id = static_cast<DWORD_PTR>(i);
      e.Text = u"Tile " + std::u16string(1, u'A' + i % 26);
      AddItem(e);
    }
  }
  ~MenuPage() override { ClearItems(); }
  const char* PageClassName() const override { return "MenuPage"; }
  void DrawItem(int, const mivoListElement& e, HDC dc, const RECT& rect) override {
    if (mivoAppearance* look = m_pCore->GetAppearance()) {
      DrawGridCellImage(*look, dc, nullptr, e.Text, rect, kSkinDrawOverColor5);
    }
  }
  void OnItemTap(int index, const mivoListElement&) override { taps.push_back(index); }
  void OnItemHold(int index, const mivoListElement&) override { holds.push_back(index); }
  void OnSwipe(int, int) override { ++swipes; }
  void OnItemRemoved(const mivoListElement& e) override { removed.push_back(e.Id); }
  std::vector<int> taps, holds;
  std::vector<DWORD_PTR> removed;
  int swipes = 0;
};

int S() { return DisplayScale; }

}  // namespace

TEST(ListPage, ShowsItsRowsUnderTheHeaderTheDumpListsThemAndKeysReachThem) {
  for (const auto& [w, h] : {std::pair{240, 320}, std::pair{480, 640}}) {
    ListHarness app("list_page_" + std::to_string(w), w, h);
    auto page = std::make_unique<SkinsPage>(&app.Core());
    app.Core().ShowPage(page.get());
    app.Pump();
    Json dump = app.Dump();
    const Json& top = dump["top"];
    EXPECT_EQ(top["class"].AsString(), "SkinsPage");
    EXPECT_EQ(top["header"].AsString(), "Skins");
    ASSERT_EQ(top["rows"].size(), 7u);
    EXPECT_EQ(top["rows"][0]["text"].AsString(), "Skin A");
    EXPECT_EQ(top["rows"][0]["help"].AsString(), "The first skin.");
    EXPECT_EQ(top["rows"][6]["text"].AsString(), "Total skins: 6");
    const RECT screen = liststest::ScreenRectOf(page->m_hWnd);
    EXPECT_EQ(top["rows"][0]["rect"][1].AsInt(), screen.top + 37 * S()) << "the first row starts under the header";
    EXPECT_EQ(top["rows"][1]["rect"][1].AsInt(), screen.top + 37 * S() + 63 * S());
    EXPECT_EQ(top["rows"][0]["rect"][2].AsInt(), screen.right - 15 * S());
    // The first row's card is on the screen in the theme's card colour.
    mivoAppearance* look = app.Core().GetAppearance();
    EXPECT_EQ(app.Pixel(screen.left + 30 * S(), screen.top + 37 * S() + 8 * S()), look->ColorTheme().GetColor(5));
    app.Shot("list_page_" + std::to_string(w) + "x" + std::to_string(h));
    // Keys reach the list: Down selects, Right and Left expand and collapse.
    app.Key(VK_DOWN);
    EXPECT_EQ(page->ListBox().GetSelectedItem(), page->GetItem(0));
    app.Key(VK_RIGHT);
    auto* first = static_cast<CmivoAdvListBoxTextWithHelp*>(page->GetItem(0));
    EXPECT_TRUE(first->IsExpanded());
    EXPECT_TRUE(app.Dump()["top"]["rows"][0]["selected"].AsBool());
    app.Key(VK_LEFT);
    EXPECT_FALSE(first->IsExpanded());
  }
}

TEST(ListPage, ALeftSwipeGoesBackAndARightSwipeReachesTheListBox) {
  ListHarness app("list_page_swipe");
  auto page = std::make_unique<SwipePage>(&app.Core());
  app.Core().ShowPage(page.get());
  app.Pump();
  const RECT r = liststest::ScreenRectOf(page->m_hWnd);
  const int y = r.top + 80 * S();
  app.Drag(r.left + 40, y, r.right - 40, y + 5, 100);
  EXPECT_EQ(page->listBox->swipes, 1);
  EXPECT_EQ(app.Core().TopPage(), page.get());
  EXPECT_EQ(page->ListBox().GetScrollTop(), 0) << "a sideways swipe scrolls nothing";
  app.Drag(r.right - 40, y, r.left + 40, y + 5, 100);
  EXPECT_NE(app.Core().TopPage(), page.get()) << "the leftward swipe went back";
  EXPECT_EQ(page->listBox->swipes, 1);
}

TEST(ListPage, TheSlidePaintsTheListPageWholeFromItsOwnDrawing) {
  ListHarness app("list_page_slide");
  app.CaptureFrames(true);
  auto page = std::make_unique<SkinsPage>(&app.Core());
  app.Core().ShowPage(page.get());
  app.Pump();
  ASSERT_GT(app.Frames().size(), 2u) << "the slide presented its frames";
  // The last frame of the slide is the entered page drawn off screen: the
  // first card's fill under the header, as the page itself then paints it.
  const RECT r = liststest::ScreenRectOf(page->m_hWnd);
  const int x = r.left + 30, y = r.top + 37 + 8;
  EXPECT_EQ(app.Frames().back().At(x, y), uitest::UiHarness::Screen().At(x, y));
  EXPECT_EQ(uitest::UiHarness::Screen().At(x, y), uitest::Pixel(app.Core().GetAppearance()->ColorTheme().GetColor(5)));
}

TEST(ItemsPage, StartsIn3x3ViewWithCellsUnderTheHeaderAndTellsThePageOfTapsAndHolds) {
  ListHarness app("items_page");
  auto page = std::make_unique<MenuPage>(&app.Core());
  app.Core().ShowPage(page.get());
  app.Pump();
  Json dump = app.Dump();
  const Json& cells = dump["top"]["cells"];
  ASSERT_EQ(cells.size(), 10u);
  EXPECT_EQ(cells[0]["text"].AsString(), "Tile A");
  const RECT r = liststest::ScreenRectOf(page->m_hWnd);
  EXPECT_EQ(cells[0]["rect"][1].AsInt(), r.top + 37);
  EXPECT_EQ(cells[3]["rect"][1].AsInt(), r.top + 37 + 85);
  EXPECT_EQ(cells[9]["rect"][1].AsInt(), r.top + 37 + 3 * 85) << "ten elements: the fourth row";
  EXPECT_FALSE(page->IsDetailsView());
  // A tap on the fifth cell, a hold on the first.
  const auto centre = [&](int i) {
    return POINT{static_cast<LONG>((cells[i]["rect"][0].AsInt() + cells[i]["rect"][2].AsInt()) / 2),
                 static_cast<LONG>((cells[i]["rect"][1].AsInt() + cells[i]["rect"][3].AsInt()) / 2)};
  };
  app.Tap(centre(4).x, centre(4).y);
  app.Hold(centre(0).x, centre(0).y);
  ASSERT_EQ(page->taps.size(), 1u);
  EXPECT_EQ(page->taps[0], 4);
  ASSERT_EQ(page->holds.size(), 1u);
  EXPECT_EQ(page->holds[0], 0);
  // Keys reach the list: Enter taps the cursor's element.
  app.Key(VK_DOWN);
  app.Key(VK_RETURN);
  EXPECT_EQ(page->taps.back(), 0);
  // A rightward swipe reaches the page.
  app.Drag(r.left + 30, r.top + 150, r.right - 30, r.top + 152, 100);
  EXPECT_EQ(page->swipes, 1);
  app.Shot("items_page_3x3_240x320");
}

TEST(ItemsPage, DetailsViewShowsOneColumnOfRowsAndSwitchingBackRestoresTheGrid) {
  ListHarness app("items_views", 480, 640);
  auto page = std::make_unique<MenuPage>(&app.Core(), 12);
  app.Core().ShowPage(page.get());
  app.Pump();
  page->SetDetailsView();
  app.Pump();
  Json dump = app.Dump();
  const Json& cells = dump["top"]["cells"];
  EXPECT_TRUE(page->IsDetailsView());
  EXPECT_EQ(cells[1]["rect"][1].AsInt() - cells[0]["rect"][1].AsInt(), 48 * S());
  EXPECT_EQ(cells[1]["rect"][0].AsInt(), cells[0]["rect"][0].AsInt());
  app.Shot("items_page_details_480x640");
  page->SetGridView();
  app.Pump();
  Json grid = app.Dump();
  EXPECT_EQ(grid["top"]["cells"][1]["rect"][1].AsInt(), grid["top"]["cells"][0]["rect"][1].AsInt());
  EXPECT_EQ(grid["top"]["cells"][3]["rect"][1].AsInt() - grid["top"]["cells"][0]["rect"][1].AsInt(), 85 * S());
}

TEST(ItemsPage, ClearingTellsThePageOfEveryElementInOrder) {
  ListHarness app("items_clear");
  auto page = std::make_unique<MenuPage>(&app.Core(), 4);
  page->ClearItems();
  EXPECT_EQ(page->removed, (std::vector<DWORD_PTR>{0, 1, 2, 3})) << "also before the page has a window";
  EXPECT_EQ(page->GetItemCount(), 0);
}

TEST(ListPage, RowsSizedByTheirTitlesMeasureThemAgainWhenTheScreenTurns) {
  ListHarness app("list_page_rotate");
  auto page = std::make_unique<SkinsPage>(&app.Core(), 2);
  auto* row = new CmivoAdvListBoxTextWithHelp(&app.Core(),
                                              u"A title long enough to need three lines on a narrow screen");
  page->AddItem(row);
  app.Core().ShowPage(page.get());
  app.Pump();
  const int portrait = row->GetHeight();
  EXPECT_GT(portrait, 63);
  window::ChangeScreenSize(320, 240);
  app.Pump();
  const int landscape = row->GetHeight();
  EXPECT_LT(landscape, portrait) << "fewer lines on the wider screen";
  EXPECT_EQ(page->ListBox().GetTotalHeight(), 2 * 63 + 20 + landscape);
  Json dump = app.Dump();
  EXPECT_EQ(dump["top"]["rows"][3]["rect"][3].AsInt() - dump["top"]["rows"][3]["rect"][1].AsInt(), landscape);
  window::ChangeScreenSize(240, 320);
  app.Pump();
  EXPECT_EQ(row->GetHeight(), portrait);
}
