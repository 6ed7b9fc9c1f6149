// Swipes (Back, the drift limits, swipes handed to the window under the
// press point) and the window base's children.
#include <gtest/gtest.h>

#include "core/messages.h"
#include "platform/window/input.h"
#include "tests/ui/ui_harness.h"
#include "ui/child_wnd.h"

using uitest::ColorPage;
using uitest::UiHarness;

namespace {

class SwipePage : public ColorPage {
 public:
  explicit SwipePage(mivoCore* core) : ColorPage(core, RGB(0, 90, 0)) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_MIVO_SWIPE) {
      swipes.push_back(SwipeText());
      swipeX = static_cast<int>(wParam);
      swipeY = static_cast<int>(lParam);
      return 0;
    }
    if (message == WM_LBUTTONUP) ++releases;
    return ColorPage::WindowProc(message, wParam, lParam);
  }
  std::vector<std::u16string> swipes;
  int swipeX = -1, swipeY = -1;
  int releases = 0;
};

class CountingChild : public CmivoChildWnd {
 public:
  CountingChild(mivoCore* core, CmivoWnd* parent, RECT r) : CmivoChildWnd(core, parent) { m_rect = r; }
  void OnStylusDown(UINT, POINT) override { ++downs; }
  void OnTap(UINT, POINT) override { ++taps; }
  void Paint(HDC) override { ++paints; }
  int downs = 0, taps = 0, paints = 0;
};

// Client y of the frame's client area's middle, in screen pixels.
int MiddleY(UiHarness& h) {
  RECT r{};
  h.Frame().GetWindowRect(&r);
  return (r.top + r.bottom) / 2;
}

}  // namespace

TEST(Swipe, ALeftwardSwipeGoesBackUnlessItDriftsThirtyPixelsOrCrossesNoMoreThanAnEighthOfTheWidth) {
  UiHarness h("swipe_limits");
  ASSERT_TRUE(h.Start());
  SwipePage page(&h.Core());
  h.Core().ShowPage(&page);
  h.Pump();
  const int y = MiddleY(h);
  // 30 pixels of drift: no swipe. The finger went far enough across to be a
  // swipe on its way, so its release is no tap either.
  h.Drag(200, y, 60, y + 30);
  EXPECT_EQ(h.Core().TopPage(), &page);
  EXPECT_TRUE(page.swipes.empty());
  EXPECT_EQ(page.releases, 0);
  // Drifting 30 pixels down before going across: never a swipe, a plain release.
  h.Down(200, y);
  h.Move(200, y + 15);
  h.Move(200, y + 30);
  h.Move(150, y + 30);
  h.Move(60, y + 30);
  h.Up(60, y + 30);
  EXPECT_TRUE(page.swipes.empty());
  EXPECT_EQ(page.releases, 1);
  // Exactly an eighth of the width (240 / 8 = 30) is not more than it.
  h.Drag(200, y, 170, y);
  EXPECT_EQ(h.Core().TopPage(), &page);
  EXPECT_EQ(page.releases, 2);
  // 29 pixels of drift and 31 across is a swipe: it goes back, and neither
  // its release nor the swipe itself reaches the page.
  h.Drag(200, y, 169, y - 29);
  EXPECT_EQ(h.Core().PageStack().size(), 1u);
  EXPECT_EQ(page.releases, 2);
  EXPECT_TRUE(page.swipes.empty());
}

TEST(Swipe, OtherSwipesReachTheWindowUnderThePressPointWithTheirDirection) {
  UiHarness h("swipe_notify");
  ASSERT_TRUE(h.Start());
  SwipePage page(&h.Core());
  h.Core().ShowPage(&page);
  h.Pump();
  const int y = MiddleY(h);
  h.Drag(40, y, 200, y);
  ASSERT_EQ(page.swipes.size(), 1u);
  EXPECT_EQ(page.swipes[0], u"r");
  EXPECT_EQ(page.swipeX, 40);
  POINT press{40, y};
  page.ScreenToClient(&press);
  EXPECT_EQ(page.swipeY, press.y);
  EXPECT_TRUE(page.SwipeText().empty());
  EXPECT_EQ(page.releases, 0);

  // Without swipe-back a leftward swipe is the page's own too.
  page.SetSwipeBackEnabled(false);
  h.Drag(200, y, 40, y);
  ASSERT_EQ(page.swipes.size(), 2u);
  EXPECT_EQ(page.swipes[1], u"l");
  EXPECT_EQ(h.Core().TopPage(), &page);
}

TEST(Swipe, AChildThatKeepsTheStylusGetsItsTapAndNoSwipeStartsOnIt) {
  UiHarness h("swipe_child");
  ASSERT_TRUE(h.Start());
  SwipePage page(&h.Core());
  h.Core().ShowPage(&page);
  h.Pump();
  RECT client{};
  page.GetClientRect(&client);
  CountingChild keeper(&h.Core(), &page, RECT{0, 0, client.right, client.bottom / 2});
  keeper.SetAllowsPageSwipe(false);
  page.AddChild(&keeper);
  POINT top{0, 10};
  page.ClientToScreen(&top);
  h.Drag(200, top.y, 40, top.y);
  EXPECT_EQ(h.Core().TopPage(), &page);
  EXPECT_EQ(keeper.downs, 1);
  EXPECT_EQ(keeper.taps, 1);

  // A child that allows swipes loses the release of a swipe: no tap.
  CountingChild open(&h.Core(), &page, RECT{0, client.bottom / 2, client.right, client.bottom});
  page.AddChild(&open);
  POINT low{0, client.bottom - 20};
  page.ClientToScreen(&low);
  h.Drag(40, low.y, 200, low.y);
  EXPECT_EQ(open.downs, 1);
  EXPECT_EQ(open.taps, 0);
  ASSERT_EQ(page.swipes.size(), 1u);
  // And a plain tap on it is its tap.
  h.Tap(100, low.y);
  EXPECT_EQ(open.taps, 1);
  EXPECT_FALSE(page.MouseUnclaimed());
  page.RemoveChild(&keeper);
  page.RemoveChild(&open);
}

TEST(WindowBase, TheLastVisibleChildUnderAPointIsHitAndOnlyChildrenInTheAreaPaint) {
  UiHarness h("children");
  ASSERT_TRUE(h.Start());
  ColorPage page(&h.Core(), RGB(0, 0, 0));
  h.Core().ShowPage(&page);
  h.Pump();
  CountingChild a(&h.Core(), &page, RECT{10, 10, 110, 60});
  CountingChild b(&h.Core(), &page, RECT{50, 40, 150, 90});
  page.AddChild(&a);
  page.AddChild(&b);
  page.AddChild(&a);  // already there
  ASSERT_EQ(page.Children().size(), 2u);
  EXPECT_EQ(page.ChildAt(60, 50), &b);
  EXPECT_EQ(page.ChildAt(20, 20), &a);
  // The right and bottom edges are outside.
  EXPECT_EQ(page.ChildAt(150, 50), nullptr);
  EXPECT_EQ(page.ChildAt(60, 90), nullptr);
  b.SetVisible(false);
  EXPECT_EQ(page.ChildAt(60, 50), &a);
  b.SetVisible(true);

  // Painting a rectangle reaches only the children it meets.
  RECT area{0, 200, 240, 260};
  page.InvalidateRect(&area, FALSE);
  page.UpdateWindow();
  EXPECT_EQ(a.paints, 0);
  EXPECT_EQ(b.paints, 0);
  area = RECT{100, 0, 120, 20};
  page.InvalidateRect(&area, FALSE);
  page.UpdateWindow();
  EXPECT_EQ(a.paints, 1);
  EXPECT_EQ(b.paints, 0);

  // A child that goes away leaves the list.
  {
    CountingChild gone(&h.Core(), &page, RECT{0, 0, 5, 5});
    page.AddChild(&gone);
    EXPECT_EQ(page.Children().size(), 3u);
  }
  EXPECT_EQ(page.Children().size(), 2u);
  page.RemoveChild(&a);
  page.RemoveChild(&b);
  EXPECT_TRUE(page.Children().empty());
}
