// The advanced list box driven as a user drives it, checked by its state, its rows and the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_core.h"
#include "look/appearance.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/rect.h"
#include "platform/window/describe.h"
#include "tests/lists/list_fixture.h"
#include "ui/adv_list_box.h"
#include "ui/adv_list_box_card.h"
#include "ui/adv_list_box_items.h"

using liststest::ListHarness;
using testing_support::Json;

namespace {

// What the rows of a test saw.
struct Log {
  std::vector<std::u16string> taps;
  std::vector<std::u16string> holds;
  int draws = 0;
  int deleted = 0;
};

class Row : public CmivoAdvListBoxItem {
 public:
  Row(mivoCore* core, std::u16string name, Log* log, int height = 0)
      : CmivoAdvListBoxItem(core), m_name(std::move(name)), m_log(log) {
    if (height > 0) m_height = height;
  }
  ~Row() override { ++m_log->deleted; }
  int Draw(CmivoAdvListBox* box, HDC dc, RECT* rect) override {
    ++m_log->draws;
    return CmivoAdvListBoxItem::Draw(box, dc, rect);
  }
  bool OnTap(UINT, int, int) override {
    m_log->taps.push_back(m_name);
    if (onTap) onTap();
    return true;
  }
  bool OnTapAndHold(int, int) override {
    m_log->holds.push_back(m_name);
    return true;
  }
  void Describe(mivoRowText* out) const override { out->text = m_name; }
  std::function<void()> onTap;

 private:
  std::u16string m_name;
  Log* m_log;
};

// A list box over the frame's whole client area.
class ListScene {
 public:
  ListScene(const std::string& name, int width = 240, int height = 320) : h(name, width, height) {
    box = new CmivoAdvListBox(&h.Core());
    box->CreateListBox(&h.Frame(), h.FrameClient());
    box->SetOwnerPage(h.Core().TopPage());
    box->SetFocus();
    h.Pump();
  }
  ~ListScene() { delete box; }

  // n rows "0".."n-1" of the default height.
  void Fill(int n) {
    for (int i = 0; i < n; ++i) box->AddItem(new Row(&h.Core(), std::u16string(1, u'0' + i % 10) + (i >= 10 ? u"+" : u""), &log));
    h.Pump();
  }
  RECT Screen() const { return liststest::ScreenRectOf(box->m_hWnd); }
  // Screen point of a list point.
  POINT At(int x, int y) const {
    const RECT r = Screen();
    return POINT{r.left + x, r.top + y};
  }
  void Tap(int x, int y) {
    const POINT p = At(x, y);
    h.Tap(p.x, p.y);
  }
  Json Rows() const {
    window::JsonWriter j;
    box->DescribeRows(j);
    return Json::Parse(j.Text());
  }

  ListHarness h;
  Log log;  // what the rows saw
  CmivoAdvListBox* box = nullptr;
};

int ItemHeight() { return 63 * DisplayScale; }

// A memory DC with a bitmap of its own, put back and freed at the end.
struct Canvas {
  Canvas(int w, int h) : dc(CreateCompatibleDC(nullptr)), bmp(CreateCompatibleBitmap(nullptr, w, h)), old(SelectObject(dc, bmp)) {}
  ~Canvas() {
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
};

}  // namespace

TEST(AdvListBoxTouch, AMoveUnderFiveScaledPixelsIsATapAndFromFiveOnADragThatTapsNothing) {
  for (const auto& [w, hgt] : {std::pair{240, 320}, std::pair{480, 640}}) {
    ListScene scene("touch_slop_" + std::to_string(w), w, hgt);
    scene.Fill(20);
    const int s = DisplayScale;
    POINT p = scene.At(50, 10 * s);
    scene.h.Down(p.x, p.y);
    scene.h.Move(p.x, p.y + 5 * s - 1);
    scene.h.Up(p.x, p.y + 5 * s - 1);
    ASSERT_EQ(scene.log.taps.size(), 1u) << w;
    EXPECT_EQ(scene.log.taps[0], u"0");
    EXPECT_EQ(scene.box->GetScrollTop(), 0);

    // Five scaled pixels make a drag: the first move only arms it, the next
    // moves the content with the finger.
    p = scene.At(50, 100 * s);
    scene.h.Down(p.x, p.y);
    scene.h.Move(p.x, p.y - 5 * s);
    scene.h.Move(p.x, p.y - 40 * s);
    scene.h.Up(p.x, p.y - 40 * s);
    EXPECT_EQ(scene.log.taps.size(), 1u) << "the release after a drag taps nothing";
    EXPECT_EQ(scene.box->GetScrollTop(), 40 * s);
  }
}

TEST(AdvListBoxTouch, TheScrollStripJumpsInProportionToTheFingerAndNeverPastEitherEnd) {
  ListScene scene("strip_jump");
  scene.Fill(30);
  const RECT r = scene.Screen();
  const int view = RectHeight(r);
  const int range = scene.box->GetTotalHeight() - view;
  const int stripX = RectWidth(r) - 5;
  // A tap in the strip jumps there.
  scene.Tap(stripX, view / 2);
  EXPECT_EQ(scene.box->GetScrollTop(), range * (view / 2) / (view - 5));
  EXPECT_TRUE(scene.log.taps.empty()) << "a tap in the strip taps no row";
  // A drag in the strip follows the finger, past the window's edges too.
  POINT p = scene.At(stripX, 40);
  scene.h.Down(p.x, p.y);
  scene.h.Move(p.x, p.y + 10);
  scene.h.Move(p.x, r.bottom + 400);
  EXPECT_EQ(scene.box->GetScrollTop(), range);
  scene.h.Move(p.x, r.top - 400);
  EXPECT_EQ(scene.box->GetScrollTop(), 0);
  scene.h.Up(p.x, r.top - 400);
}

TEST(AdvListBoxPaint, WhenEveryItemFitsTheListStaysAtTheTopAndTheStripIsPlainBackground) {
  ListScene scene("all_fit");
  scene.Fill(2);
  scene.box->SetScrollTop(50);
  EXPECT_EQ(scene.box->GetScrollTop(), 0);
  const RECT r = scene.Screen();
  const COLORREF background = scene.h.Core().GetAppearance()->BackgroundColor;
  for (int y = r.top; y < r.bottom; y += 7) {
    for (int x = r.right - 15; x < r.right; ++x) ASSERT_EQ(scene.h.Pixel(x, y), background) << x << "," << y;
  }
}

TEST(AdvListBoxPaint, AScrollableListShowsTheTrackAndAThumbThatMovesWithTheContent) {
  ListScene scene("strip_thumb");
  scene.Fill(30);
  mivoAppearance* look = scene.h.Core().GetAppearance();
  const COLORREF track = look->ColorTheme().GetColor(8);
  const COLORREF thumb = look->ColorTheme().GetColor(9);
  const RECT r = scene.Screen();
  const int x = r.right - 7;
  EXPECT_EQ(scene.h.Pixel(x, r.top + 1), thumb);
  EXPECT_EQ(scene.h.Pixel(x, r.top + 100), track);
  EXPECT_EQ(scene.h.Pixel(r.right - 2, r.top + 100), look->BackgroundColor) << "right of the band";
  EXPECT_EQ(scene.h.Pixel(r.right - 12, r.top + 100), look->BackgroundColor) << "left of the band";
  scene.box->SetScrollTop(scene.box->ScrollRange());
  EXPECT_EQ(scene.h.Pixel(x, r.bottom - 2), thumb);
  EXPECT_EQ(scene.h.Pixel(x, r.top + 1), track);
}

TEST(AdvListBoxPaint, ARowIsACardOfThemeColoursAndTheSelectedRowUsesTheSelectedColours) {
  ListScene scene("card_colours");
  scene.Fill(3);
  mivoColorTheme& theme = scene.h.Core().GetAppearance()->ColorTheme();
  const RECT r = scene.Screen();
  const int mid = r.top + ItemHeight() / 2;
  EXPECT_EQ(scene.h.Pixel(r.left + 2, mid), theme.GetColor(1)) << "left margin";
  EXPECT_EQ(scene.h.Pixel(r.left + 5, mid), theme.GetColor(4)) << "outline";
  EXPECT_EQ(scene.h.Pixel(r.left + 40, mid), theme.GetColor(5)) << "fill";
  scene.h.Key(VK_DOWN);
  EXPECT_EQ(scene.box->GetSelectedItem(), scene.box->GetItem(0));
  EXPECT_EQ(scene.h.Pixel(r.left + 5, mid), theme.GetColor(6));
  EXPECT_EQ(scene.h.Pixel(r.left + 40, mid), theme.GetColor(7));
  EXPECT_EQ(scene.h.Pixel(r.left + 40, mid + ItemHeight()), theme.GetColor(5)) << "the next row is not selected";
}

TEST(AdvListBoxPaint, CardsBuiltFromCachedCornersLookExactlyLikeOneRoundRect) {
  ListScene scene("card_corners", 480, 640);
  mivoAppearance& look = *scene.h.Core().GetAppearance();
  for (bool selected : {false, true}) {
    for (const SIZE size : {SIZE{200, 126}, SIZE{41, 40}, SIZE{300, 41}}) {
      const RECT all{0, 0, size.cx + 4, size.cy + 4};
      Canvas a(all.right, all.bottom), b(all.right, all.bottom);
      FillRect(a.dc, &all, look.BackgroundBrush);
      FillRect(b.dc, &all, look.BackgroundBrush);
      const RECT box{2, 2, 2 + size.cx, 2 + size.cy};
      DrawAdvListBoxCardShape(look, a.dc, box, selected);
      SelectObject(b.dc, selected ? look.ThemePen6 : look.ThemePen4);
      SelectObject(b.dc, selected ? look.ThemeBrush7 : look.ThemeBrush5);
      RoundRect(b.dc, box.left, box.top, box.right, box.bottom, 40, 40);
      int differences = 0;
      for (int y = 0; y < all.bottom; ++y) {
        for (int x = 0; x < all.right; ++x) differences += GetPixel(a.dc, x, y) != GetPixel(b.dc, x, y);
      }
      EXPECT_EQ(differences, 0) << size.cx << "x" << size.cy << (selected ? " selected" : "");
    }
  }
}

TEST(AdvListBoxHelp, AHelpRowExpandsToFitItsTextOnTheFirstPaintAndLeftCollapsesIt) {
  ListScene scene("help_row");
  const std::u16string help =
      u"A help text long enough to wrap over several lines of the small font, so that the card grows.";
  auto* row = new CmivoAdvListBoxTextWithHelp(&scene.h.Core(), u"Vibrate", help);
  scene.box->AddItem(row);
  scene.h.Pump();
  EXPECT_EQ(row->GetSideButtonKind(), CmivoAdvListBoxSideButtonItem::kSideButtonHelp);
  const int base = row->GetHeight();
  const RECT button = row->GetSideButtonRect();
  ASSERT_FALSE(IsRectEmpty(&button));
  scene.Tap((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  // The tap expanded the card; the paints that followed measured the text.
  EXPECT_TRUE(row->IsExpanded());
  EXPECT_EQ(row->GetSideButtonKind(), CmivoAdvListBoxSideButtonItem::kSideButtonCollapse);
  EXPECT_GT(row->GetExtraHeight(), 20 * DisplayScale) << "the first guess was corrected";
  EXPECT_EQ(row->GetHeight(), base + row->GetExtraHeight());
  EXPECT_EQ(scene.box->GetTotalHeight(), row->GetHeight());
  EXPECT_TRUE(scene.Rows()[0]["expanded"].AsBool());
  // The help text is drawn in white inside the card.
  const RECT r = scene.Screen();
  int white = 0;
  for (int y = r.top + base; y < r.top + row->GetHeight(); ++y) {
    for (int x = r.left; x < r.right - 15; ++x) {
      const COLORREF c = scene.h.Pixel(x, y);
      white += GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200;
    }
  }
  EXPECT_GT(white, 20);
  scene.h.Key(VK_DOWN);  // select it
  scene.h.Key(VK_LEFT);
  EXPECT_FALSE(row->IsExpanded());
  EXPECT_EQ(row->GetHeight(), base);
  EXPECT_EQ(row->GetSideButtonKind(), CmivoAdvListBoxSideButtonItem::kSideButtonHelp);
  scene.h.Key(VK_RIGHT);
  EXPECT_TRUE(row->IsExpanded());
}

TEST(AdvListBoxHelp, ARowWithoutHelpShowsNoSideButtonEvenAfterItsTitleChanges) {
  ListScene scene("no_help");
  auto* row = new CmivoAdvListBoxTextWithHelp(&scene.h.Core(), u"Plain");
  scene.box->AddItem(row);
  scene.h.Pump();
  EXPECT_EQ(row->GetSideButtonKind(), CmivoAdvListBoxSideButtonItem::kSideButtonNone);
  row->SetTitle(u"A title long enough to take two or three lines of the title font in this row");
  scene.h.Pump();
  EXPECT_EQ(row->GetSideButtonKind(), CmivoAdvListBoxSideButtonItem::kSideButtonNone);
  EXPECT_GT(row->GetHeight(), 63 * DisplayScale) << "the row grew to its title";
  scene.h.Key(VK_DOWN);
  scene.h.Key(VK_RIGHT);
  EXPECT_FALSE(row->IsExpanded()) << "nothing to expand";
}

TEST(AdvListBoxHelp, TheSideButtonIsFoundAfterTheListScrolled) {
  ListScene scene("button_after_scroll");
  scene.Fill(2);
  auto* row = new CmivoAdvListBoxTextWithHelp(&scene.h.Core(), u"Helpful", u"Some help.");
  scene.box->AddItem(row);
  scene.Fill(6);
  scene.box->SetScrollTop(30);
  scene.h.Pump();
  const RECT button = row->GetSideButtonRect();
  const RECT itemRect = scene.box->GetItemRect(row);
  EXPECT_GE(button.top, itemRect.top);
  EXPECT_LE(button.bottom, itemRect.bottom);
  scene.Tap((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  EXPECT_TRUE(row->IsExpanded());
}

TEST(AdvListBoxKeys, UpFromTheFirstSelectableRowWrapsToTheLastAndSkipsSummaryLines) {
  ListScene scene("keys_wrap");
  auto& core = scene.h.Core();
  scene.box->AddItem(new CmivoAdvListBoxSimpleTextItem(&core, u"Total: 3"));
  scene.box->AddItem(new Row(&core, u"a", &scene.log));
  scene.box->AddItem(new Row(&core, u"b", &scene.log));
  scene.box->AddItem(new Row(&core, u"c", &scene.log));
  scene.box->AddItem(new CmivoAdvListBoxSimpleTextItem(&core, u"the end"));
  scene.h.Pump();
  scene.h.Key(VK_DOWN);
  EXPECT_EQ(scene.box->GetSelectedItem(), scene.box->GetItem(1)) << "Down from none: the first selectable";
  scene.h.Key(VK_UP);
  EXPECT_EQ(scene.box->GetSelectedItem(), scene.box->GetItem(3)) << "wrapped over both summary lines";
  scene.h.Key(VK_DOWN);
  EXPECT_EQ(scene.box->GetSelectedItem(), scene.box->GetItem(1));
  scene.h.Key(VK_RETURN);
  ASSERT_EQ(scene.log.taps.size(), 1u);
  EXPECT_EQ(scene.log.taps[0], u"a");
  Json rows = scene.Rows();
  EXPECT_EQ(rows[0]["text"].AsString(), "Total: 3");
  EXPECT_TRUE(rows[1]["selected"].AsBool());
  EXPECT_FALSE(rows[2]["selected"].AsBool());
}

TEST(AdvListBoxKeys, KeysInAnEmptyListOrAListOfSummaryLinesSelectNothing) {
  ListScene scene("keys_empty");
  for (UINT vk : {VK_UP, VK_DOWN, VK_RETURN, VK_LEFT, VK_RIGHT}) scene.h.Key(vk);
  EXPECT_EQ(scene.box->GetSelectedItem(), nullptr);
  scene.box->AddItem(new CmivoAdvListBoxSimpleTextItem(&scene.h.Core(), u"Total: 0"));
  scene.h.Key(VK_DOWN);
  scene.h.Key(VK_UP);
  EXPECT_EQ(scene.box->GetSelectedItem(), nullptr);
}

TEST(AdvListBoxKeys, KeysScrollTheSelectionIntoViewWithOneMoreRowBelowButNotPastTheEnd) {
  ListScene scene("keys_scroll");
  scene.Fill(12);
  const int view = RectHeight(scene.Screen());
  const int h = ItemHeight();
  for (int i = 0; i < 5; ++i) scene.h.Key(VK_DOWN);
  // Row 4 (the fifth) and one more row height below it are in view.
  EXPECT_EQ(scene.box->GetScrollTop(), 6 * h - view);
  for (int i = 0; i < 7; ++i) scene.h.Key(VK_DOWN);
  EXPECT_EQ(scene.box->GetSelectedItem(), scene.box->GetItem(11));
  EXPECT_EQ(scene.box->GetScrollTop(), scene.box->ScrollRange());
  scene.h.Key(VK_DOWN);  // wraps to the top
  EXPECT_EQ(scene.box->GetSelectedItem(), scene.box->GetItem(0));
  EXPECT_EQ(scene.box->GetScrollTop(), 0);
}

TEST(AdvListBoxItems, RemovingTheSelectedItemClearsTheSelectionAndKeepsTheTotalRight) {
  ListScene scene("remove_selected");
  scene.Fill(4);
  scene.h.Key(VK_DOWN);
  scene.h.Key(VK_DOWN);
  CmivoAdvListBoxItem* selected = scene.box->GetSelectedItem();
  ASSERT_EQ(selected, scene.box->GetItem(1));
  scene.box->RemoveItem(selected, true);
  EXPECT_EQ(scene.log.deleted, 1);
  EXPECT_EQ(scene.box->GetSelectedItem(), nullptr);
  EXPECT_EQ(scene.box->GetTotalHeight(), 3 * ItemHeight());
  scene.h.Key(VK_DOWN);  // no stale selection to send keys to
  EXPECT_EQ(scene.box->GetSelectedItem(), scene.box->GetItem(0));
  // An item deleted behind the list's back leaves it.
  delete scene.box->GetItem(2);
  EXPECT_EQ(scene.box->GetItemCount(), 2);
  EXPECT_EQ(scene.box->GetTotalHeight(), 2 * ItemHeight());
  scene.box->Clear(true);
  EXPECT_EQ(scene.log.deleted, 4);
  EXPECT_EQ(scene.box->GetTotalHeight(), 0);
}

TEST(AdvListBoxItems, ARowDeletedFromInsideItsOwnTapGoesOnlyAfterTheTapReturns) {
  ListScene scene("delete_in_tap");
  scene.Fill(3);
  auto* first = static_cast<Row*>(scene.box->GetItem(0));
  bool aliveAfterClear = false;
  first->onTap = [&] {
    scene.box->Clear(true);  // a page refilling its list from a row's tap
    aliveAfterClear = scene.log.deleted == 0;
  };
  scene.Tap(50, 20);
  EXPECT_TRUE(aliveAfterClear);
  EXPECT_EQ(scene.log.deleted, 3);
  EXPECT_EQ(scene.box->GetItemCount(), 0);
}

TEST(AdvListBoxItems, SortedInsertPutsAnItemAfterAllThatCompareEqual) {
  ListScene scene("sorted");
  struct ByHeight : CmivoAdvListBoxComparer {
    int Compare(CmivoAdvListBoxItem* a, CmivoAdvListBoxItem* b) override { return a->GetHeight() - b->GetHeight(); }
  } comparer;
  scene.box->SetComparer(&comparer);
  auto& core = scene.h.Core();
  for (auto [name, height] : {std::pair{u"b1", 20}, {u"a", 10}, {u"c", 30}, {u"b2", 20}, {u"a2", 10}}) {
    scene.box->InsertItemSorted(new Row(&core, name, &scene.log, height));
  }
  std::string order;
  Json rows = scene.Rows();
  for (const Json& r : rows.Items()) order += r["text"].AsString() + " ";
  EXPECT_EQ(order, "a a2 b1 b2 c ");
  EXPECT_EQ(scene.box->GetTotalHeight(), 90);
  scene.box->SetComparer(nullptr);
}

TEST(AdvListBoxGeometry, APointOnTheBoundaryOfTwoRowsHitsTheUpperOne) {
  ListScene scene("boundary");
  scene.Fill(5);
  const int h = ItemHeight();
  EXPECT_EQ(scene.box->HitTest(0), scene.box->GetItem(0));
  EXPECT_EQ(scene.box->HitTest(h - 1), scene.box->GetItem(0));
  EXPECT_EQ(scene.box->HitTest(h), scene.box->GetItem(0));
  EXPECT_EQ(scene.box->HitTest(h + 1), scene.box->GetItem(1));
  EXPECT_EQ(scene.box->HitTest(5 * h), scene.box->GetItem(4));
  EXPECT_EQ(scene.box->HitTest(5 * h + 1), nullptr);
  scene.box->SetScrollTop(10);
  EXPECT_EQ(scene.box->HitTest(h - 10), scene.box->GetItem(0));
  EXPECT_EQ(scene.box->HitTest(h - 9), scene.box->GetItem(1));
}

TEST(AdvListBoxGeometry, TheDumpListsEveryRowAlsoThoseScrolledOutOfViewAtTheirWouldBePlaces) {
  ListScene scene("dump_rows");
  scene.Fill(12);
  scene.box->SetScrollTop(100);
  const RECT r = scene.Screen();
  Json rows = scene.Rows();
  ASSERT_EQ(rows.size(), 12u);
  const int h = ItemHeight();
  EXPECT_EQ(rows[0]["rect"][1].AsInt(), r.top - 100);
  EXPECT_EQ(rows[11]["rect"][1].AsInt(), r.top - 100 + 11 * h);
  EXPECT_EQ(rows[11]["rect"][3].AsInt(), r.top - 100 + 12 * h);
}

TEST(AdvListBoxGeometry, AHoldOnARowGoesToTheRowAndAHoldBelowTheRowsToTheParentPage) {
  ListScene scene("holds");
  scene.Fill(2);
  const RECT r = scene.Screen();
  scene.h.Hold(r.left + 60, r.top + 30);
  ASSERT_EQ(scene.log.holds.size(), 1u);
  EXPECT_EQ(scene.log.holds[0], u"0");
  EXPECT_TRUE(scene.log.taps.empty()) << "the release that ends a hold is no tap";
  scene.h.Hold(r.left + 60, r.bottom - 10);
  EXPECT_EQ(scene.log.holds.size(), 1u);
}

TEST(AdvListBoxScale, TenThousandRowsPaintAndScrollVisitingOnlyTheRowsInView) {
  ListScene scene("ten_thousand");
  auto& core = scene.h.Core();
  for (int i = 0; i < 10000; ++i) scene.box->AddItem(new Row(&core, u"r", &scene.log));
  scene.h.Pump();
  const int view = RectHeight(scene.Screen());
  const int perView = view / ItemHeight() + 2;
  scene.log.draws = 0;
  scene.box->Invalidate(FALSE);
  scene.h.Pump();
  EXPECT_LE(scene.log.draws, perView);
  scene.log.draws = 0;
  scene.box->SetScrollTop(scene.box->ScrollRange() / 2);
  EXPECT_LE(scene.log.draws, perView) << "a jump repaints one view";
  scene.log.draws = 0;
  scene.box->SetScrollTop(scene.box->GetScrollTop() + 10);
  EXPECT_LE(scene.log.draws, 2) << "a small step paints the uncovered band";
  EXPECT_EQ(scene.box->HitTest(0), scene.box->GetItem((scene.box->GetScrollTop()) / ItemHeight()));
}
