// The grid list driven with the stylus and the keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_core.h"
#include "look/appearance.h"
#include "platform/win32/clock.h"
#include "platform/win32/rect.h"
#include "platform/window/describe.h"
#include "platform/window/input.h"
#include "platform/window/message.h"
#include "tests/lists/list_fixture.h"
#include "ui/list_ctrl.h"

using liststest::ListHarness;
using testing_support::Json;

namespace {

// A grid that records what the page would be told.
class Grid : public CmivoListCtrl {
 public:
  using CmivoListCtrl::CmivoListCtrl;
  void OnItemTap(int index, const mivoListElement& e) override {
    taps.push_back(index);
    if (onTap) onTap(e);
  }
  void OnItemHold(int index, const mivoListElement&) override { holds.push_back(index); }
  void OnItemRemoved(const mivoListElement& e) override { removed.push_back(e.Id); }
  void DrawItem(int index, const mivoListElement&, HDC, const RECT&) override { ++drawn; }

  std::vector<int> taps;
  std::vector<int> holds;
  std::vector<DWORD_PTR> removed;
  std::function<void(const mivoListElement&)> onTap;
  int drawn = 0;
};

class GridScene {
 public:
  GridScene(const std::string& name, int width = 240, int height = 320) : h(name, width, height) {
    grid = new Grid(&h.Core());
    grid->CreateListCtrl(&h.Frame(), h.FrameClient());
    mivoAppearance* look = h.Core().GetAppearance();
    grid->Columns = look->GridColumns;
    grid->CellHeight = look->GridCellHeight;
    grid->SetView(grid->Columns, grid->CellHeight, false);
    grid->SetFocus();
    h.Pump();
  }
  ~GridScene() { delete grid; }
  void Fill(int n) {
    for (int i = 0; i < n; ++i) {
      mivoListElement e;
      e.Id = static_cast<DWORD_PTR>(i);
      e.Text = u"Item " + std::u16string(1, u'A' + i % 26);
      grid->AddItem(e);
    }
    h.Pump();
  }
  void Details() {
    grid->SetView(1, 48, true);
    h.Pump();
  }
  POINT At(int x, int y) const {
    const RECT r = Screen();
    return POINT{r.left + x, r.top + y};
  }
  RECT Screen() const { return liststest::ScreenRectOf(grid->m_hWnd); }
  // The screen centre of cell i.
  POINT CellCentre(int i) const {
    const RECT c = grid->GetCellRect(i);
    return At((c.left + c.right) / 2, (c.top + c.bottom) / 2);
  }

  ListHarness h;
  Grid* grid = nullptr;
};

}  // namespace

TEST(ListCtrlLayout, TenElementsIn3x3ViewMakeFourRowsTheLastWithOneCellAndTwoBackgroundCells) {
  GridScene scene("ten_in_grid");
  scene.Fill(10);
  const int ch = 85;
  EXPECT_EQ(scene.grid->ContentHeight(), 4 * ch);
  EXPECT_EQ(scene.grid->MaxScrollTop(), 4 * ch + 30 - RectHeight(scene.Screen()));
  scene.grid->SetScrollTop(scene.grid->MaxScrollTop());
  scene.h.Pump();
  mivoAppearance* look = scene.h.Core().GetAppearance();
  const POINT p9 = scene.CellCentre(9), p10 = scene.CellCentre(10), p11 = scene.CellCentre(11);
  EXPECT_EQ(scene.h.Pixel(p9.x, p9.y), look->ColorTheme().GetColor(5)) << "the tenth element's cell";
  EXPECT_EQ(scene.h.Pixel(p10.x, p10.y), look->BackgroundColor);
  EXPECT_EQ(scene.h.Pixel(p11.x, p11.y), look->BackgroundColor);
  // A tap on a background cell taps nothing.
  scene.h.Tap(p10.x, p10.y);
  EXPECT_TRUE(scene.grid->taps.empty());
  scene.h.Tap(p9.x, p9.y);
  ASSERT_EQ(scene.grid->taps.size(), 1u);
  EXPECT_EQ(scene.grid->taps[0], 9);
}

TEST(ListCtrlLayout, TheDumpListsEveryCellWithItsTextAndPlaceAlsoOutOfView) {
  GridScene scene("cells_dump");
  scene.Fill(20);
  window::JsonWriter j;
  scene.grid->DescribeCells(j);
  Json cells = Json::Parse(j.Text());
  ASSERT_EQ(cells.size(), 20u);
  const RECT r = scene.Screen();
  const int w = scene.grid->CellWidth();
  EXPECT_EQ(cells[4]["text"].AsString(), "Item E");
  EXPECT_EQ(cells[4]["rect"][0].AsInt(), r.left + w);
  EXPECT_EQ(cells[4]["rect"][1].AsInt(), r.top + 85);
  EXPECT_EQ(cells[19]["rect"][1].AsInt(), r.top + 6 * 85) << "below the view";
}

TEST(ListCtrlLayout, AnEmptyListShowsItsTextAndIgnoresTapsHoldsAndEnter) {
  GridScene scene("empty_grid");
  const RECT r = scene.Screen();
  scene.h.Tap(r.left + 40, r.top + 40);
  scene.h.Hold(r.left + 40, r.top + 40);
  scene.h.Key(VK_RETURN);
  scene.h.Key(VK_DOWN);
  EXPECT_TRUE(scene.grid->taps.empty());
  EXPECT_TRUE(scene.grid->holds.empty());
  EXPECT_EQ(scene.grid->GetCursor(), -1);
  // The text starts at the top (no single-line centring): some text pixels near the top.
  const COLORREF background = scene.h.Core().GetAppearance()->BackgroundColor;
  int found = 0;
  for (int y = r.top; y < r.top + 20; ++y) {
    for (int x = r.left; x < r.right; ++x) found += scene.h.Pixel(x, y) != background;
  }
  EXPECT_GT(found, 10);
}

TEST(ListCtrlTouch, AFlickKeepsTheListMovingAndSlowingAndATouchStopsItWithoutTapping) {
  GridScene scene("flick");
  scene.Fill(60);
  const POINT a = scene.At(100, 200);
  // A quick upward drag: 5 moves of 20 pixels, 16 ms apart.
  scene.h.Down(a.x, a.y);
  for (int i = 1; i <= 5; ++i) {
    scene.h.Wait(16);
    scene.h.Move(a.x, a.y - 20 * i);
  }
  EXPECT_EQ(scene.grid->GetScrollTop(), 100);
  scene.h.Up(a.x, a.y - 100);
  // Coasting ran inside the release: the list went on beyond the finger.
  const int coasted = scene.grid->GetScrollTop();
  EXPECT_GT(coasted, 100 + 20);
  EXPECT_FALSE(scene.grid->IsCoasting());

  // Again, with a touch already waiting when the flick ends: the coasting
  // handles it after its first step and stops, and the touch taps nothing.
  scene.grid->SetScrollTop(0);
  scene.h.Down(a.x, a.y);
  for (int i = 1; i <= 5; ++i) {
    scene.h.Wait(16);
    scene.h.Move(a.x, a.y - 20 * i);
  }
  window::input::StylusUp(a.x, a.y - 100);
  window::input::StylusDown(a.x, a.y - 100);
  window::input::StylusUp(a.x, a.y - 100);
  scene.h.Pump();
  EXPECT_LT(scene.grid->GetScrollTop(), coasted) << "stopped early";
  EXPECT_GE(scene.grid->GetScrollTop(), 100);
  EXPECT_TRUE(scene.grid->taps.empty());
}

TEST(ListCtrlTouch, ASlowDragOrAMoveWithoutTimeDoesNotCoast) {
  GridScene scene("slow_drag");
  scene.Fill(60);
  const POINT a = scene.At(100, 250);
  scene.h.Down(a.x, a.y);
  for (int i = 1; i <= 10; ++i) {
    scene.h.Wait(60);
    scene.h.Move(a.x, a.y - 10 * i);
  }
  scene.h.Up(a.x, a.y - 100);
  EXPECT_EQ(scene.grid->GetScrollTop(), 100) << "600 ms is no flick";

  // One big move with no time passing: a drag, but no speed to coast with.
  scene.grid->SetScrollTop(0);
  scene.h.Down(a.x, a.y);
  scene.h.Move(a.x, a.y - 50);
  scene.h.Up(a.x, a.y - 50);
  EXPECT_EQ(scene.grid->GetScrollTop(), 50);
  EXPECT_TRUE(scene.grid->taps.empty());
}

TEST(ListCtrlTouch, InDetailsViewATapInTheSideZoneOfARowThatHasOneTapsNothing) {
  GridScene scene("side_zone");
  for (int i = 0; i < 4; ++i) {
    mivoListElement e;
    e.Id = static_cast<DWORD_PTR>(i);
    e.HasSideZone = i == 1;
    scene.grid->AddItem(e);
  }
  scene.Details();
  const RECT r = scene.Screen();
  const int w = RectWidth(r);
  scene.h.Tap(r.left + w - 10, r.top + 48 + 20);  // row 1, in the zone
  EXPECT_TRUE(scene.grid->taps.empty());
  scene.h.Tap(r.left + w - 25, r.top + 48 + 20);  // row 1, left of the zone
  scene.h.Tap(r.left + w - 30, r.top + 2 * 48 + 20);  // row 2 has no zone
  ASSERT_EQ(scene.grid->taps.size(), 2u);
  EXPECT_EQ(scene.grid->taps[0], 1);
  EXPECT_EQ(scene.grid->taps[1], 2);
}

TEST(ListCtrlTouch, AHoldTellsThePageAndClearingInsideATapKeepsTheTappedElementValid) {
  GridScene scene("hold_clear");
  scene.Fill(5);
  const POINT p = scene.At(20, 20);
  scene.h.Hold(p.x, p.y);
  ASSERT_EQ(scene.grid->holds.size(), 1u);
  EXPECT_EQ(scene.grid->holds[0], 0);
  EXPECT_TRUE(scene.grid->taps.empty());
  std::size_t removedDuringTap = 99;
  scene.grid->onTap = [&](const mivoListElement&) {
    scene.grid->Clear();
    removedDuringTap = scene.grid->removed.size();
  };
  scene.h.Tap(p.x, p.y);
  EXPECT_EQ(removedDuringTap, 0u) << "the releases wait until the tap returns";
  EXPECT_EQ(scene.grid->removed.size(), 5u);
  EXPECT_EQ(scene.grid->GetItemCount(), 0);
}

TEST(ListCtrlKeys, UpFromNoCursorGoesToTheLastElementAndDownToTheFirstAndBothClamp) {
  GridScene scene("grid_keys");
  scene.Fill(10);
  scene.h.Key(VK_UP);
  EXPECT_EQ(scene.grid->GetCursor(), 9);
  EXPECT_EQ(scene.grid->GetScrollTop(), scene.grid->ContentHeight() - RectHeight(scene.Screen()))
      << "the last row became the bottom row";
  scene.h.Key(VK_DOWN);
  EXPECT_EQ(scene.grid->GetCursor(), 9);
  scene.h.Key(VK_LEFT);
  EXPECT_EQ(scene.grid->GetCursor(), 8);
  scene.h.Key(VK_UP);
  EXPECT_EQ(scene.grid->GetCursor(), 5);
  scene.h.Key(VK_RETURN);
  ASSERT_EQ(scene.grid->taps.size(), 1u);
  EXPECT_EQ(scene.grid->taps[0], 5);
  scene.grid->SetCursor(-1);
  scene.h.Key(VK_DOWN);
  EXPECT_EQ(scene.grid->GetCursor(), 0);
  EXPECT_EQ(scene.grid->GetScrollTop(), 0);
  scene.h.Key(VK_UP);
  EXPECT_EQ(scene.grid->GetCursor(), 0);
  // One column: Left and Right do nothing.
  scene.Details();
  scene.h.Key(VK_RIGHT);
  EXPECT_EQ(scene.grid->GetCursor(), 0);
  scene.h.Key(VK_DOWN);
  EXPECT_EQ(scene.grid->GetCursor(), 1);
}

TEST(ListCtrlScale, AGridOfTenThousandElementsDrawsOnlyTheRowsInViewPlusTwo) {
  GridScene scene("grid_ten_thousand");
  scene.Fill(10000);
  scene.grid->drawn = 0;
  scene.grid->Invalidate(FALSE);
  scene.h.Pump();
  const int rows = RectHeight(scene.Screen()) / 85 + 2;
  EXPECT_LE(scene.grid->drawn, rows * 3);
  EXPECT_GT(scene.grid->drawn, 0);
  scene.grid->SetScrollTop(scene.grid->MaxScrollTop() / 2);
  EXPECT_EQ(scene.grid->HitTest(0, 0), scene.grid->GetScrollTop() / 85 * 3);
  EXPECT_EQ(scene.grid->HitTest(RectWidth(scene.Screen()) - 5, 10), -1) << "the strip hits no cell";
}
