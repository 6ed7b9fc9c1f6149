// The page header at both scales (pixel probes, screenshots for the eye) and
// the content rectangle with and without a header.
#include <gtest/gtest.h>

#include "core/messages.h"
#include "look/appearance.h"
#include "platform/registry/registry.h"
#include "tests/ui/ui_harness.h"

using uitest::ColorPage;
using uitest::Pixel;
using uitest::UiHarness;

namespace {

// The captured pixel at the page's client point.
std::uint32_t At(const uitest::Capture& f, CWnd& page, int x, int y) {
  POINT p{x, y};
  page.ClientToScreen(&p);
  return f.At(p.x, p.y);
}

// Columns of row y (client) of the header that show colour c, from x0 to x1.
std::vector<int> ColumnsOf(const uitest::Capture& f, CWnd& page, int y, int x0, int x1, COLORREF c) {
  std::vector<int> xs;
  for (int x = x0; x < x1; ++x)
    if (At(f, page, x, y) == Pixel(c)) xs.push_back(x);
  return xs;
}

// Groups of neighbouring columns.
int Runs(const std::vector<int>& xs) {
  int runs = 0;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    if (i == 0 || xs[i] != xs[i - 1] + 1) ++runs;
  }
  return runs;
}

}  // namespace

TEST(PageHeader, SignalBarsBatteryLevelAndBandsAreDrawnAsTheStateSaysAtBothScales) {
  for (const auto& [w, hgt] : {std::pair{240, 320}, std::pair{480, 640}}) {
    SCOPED_TRACE(w);
    UiHarness h("header_" + std::to_string(w), w, hgt);
    ASSERT_TRUE(h.Start());
    mivoAppCore& core = h.Core();
    mivoAppearance& look = *core.GetAppearance();
    const int S = DisplayScale;
    ColorPage page(&core, look.BackgroundColor, u"Contacts");
    core.ShowPage(&page);
    h.Pump();
    const COLORREF strip = look.ColorTheme().GetColor(2);
    const COLORREF band = look.ColorTheme().GetColor(5);
    RECT client{};
    page.GetClientRect(&client);
    const int r = client.right;

    core.SetSignalStrength(19);
    core.SetBatteryLevel(50);
    page.Invalidate(FALSE);
    h.Pump();
    uitest::Capture f = UiHarness::Screen();
    // The three bands.
    EXPECT_EQ(At(f, page, r / 2 + 40 * S, 1), Pixel(strip));
    EXPECT_EQ(At(f, page, 2, 15 * S + 2), Pixel(band));
    EXPECT_EQ(At(f, page, 2, 37 * S - 1), Pixel(look.BackgroundColor));
    EXPECT_EQ(At(f, page, 2, 37 * S + 1), Pixel(look.BackgroundColor));
    // Signal 19: no bar.
    EXPECT_EQ(Runs(ColumnsOf(f, page, 11 * S, 0, 16 * S, look.BackgroundColor)), 0);
    // Battery 50: the level bar ends at r - 30·S + 9·S.
    std::vector<int> level = ColumnsOf(f, page, 7 * S, r - 28 * S, r - 11 * S, look.BackgroundColor);
    ASSERT_FALSE(level.empty());
    EXPECT_EQ(level.front(), r - 28 * S);
    EXPECT_EQ(level.back(), r - 21 * S - 1);
    // The outline's left edge and the tip.
    EXPECT_EQ(At(f, page, r - 30 * S, 7 * S), Pixel(look.BackgroundColor));
    EXPECT_EQ(At(f, page, r - 8 * S, 7 * S), Pixel(look.BackgroundColor));

    core.SetSignalStrength(100);
    core.SetBatteryLevel(100);
    page.Invalidate(FALSE);
    h.Pump();
    f = UiHarness::Screen();
    EXPECT_EQ(Runs(ColumnsOf(f, page, 11 * S, 0, 16 * S, look.BackgroundColor)), 5);
    // The highest bar reaches 2·S from the top.
    EXPECT_EQ(Runs(ColumnsOf(f, page, 3 * S, 0, 16 * S, look.BackgroundColor)), 1);
    level = ColumnsOf(f, page, 7 * S, r - 28 * S, r - 11 * S, look.BackgroundColor);
    ASSERT_FALSE(level.empty());
    EXPECT_EQ(level.back(), r - 12 * S - 1);
    // The indicators' rectangles as the state changes repaint them.
    EXPECT_EQ(page.SignalRect().right, 16 * S);
    EXPECT_EQ(page.BatteryRect().left, r - 30 * S);
    EXPECT_EQ(page.BatteryRect().bottom, 12 * S);
    EXPECT_GT(RectWidth(page.ClockRect()), 0);
    EXPECT_EQ(page.ClockRect().top, 0);
    EXPECT_NEAR((page.ClockRect().left + page.ClockRect().right) / 2, r / 2, 1);
    UiHarness::Shot("header_" + std::to_string(w));
  }
}

TEST(PageHeader, ATitleTooLongForTheHeaderIsCutToItsWidthOnOneLine) {
  UiHarness h("header_long");
  ASSERT_TRUE(h.Start());
  mivoAppearance& look = *h.Core().GetAppearance();
  ColorPage page(&h.Core(), look.BackgroundColor,
                 u"Wallpaper themes and colour themes of every kind, all of them, for everyone");
  h.Core().ShowPage(&page);
  h.Pump();
  UiHarness::Shot("header_long_title");
  const uitest::Capture f = UiHarness::Screen();
  RECT client{};
  page.GetClientRect(&client);
  // The title's text colour shows near both ends of the header's lower part
  // but never in its outermost columns.
  int first = client.right, last = -1;
  for (int y = 16; y < 37; ++y) {
    for (int x = 0; x < client.right; ++x) {
      if (At(f, page, x, y) == Pixel(look.TextColor)) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
  }
  EXPECT_GT(first, 0);
  EXPECT_LT(first, 20);
  EXPECT_LT(last, client.right - 1);
  EXPECT_GT(last, client.right - 20);
  // Nothing of it spills below the header.
  for (int x = 0; x < client.right; ++x) {
    EXPECT_NE(At(f, page, x, 38), Pixel(look.TextColor)) << x;
  }
}

TEST(PageHeader, APageWithoutTitleHasNoHeaderAndItsContentStartsAtTheTop) {
  UiHarness h("header_none");
  ASSERT_TRUE(h.Start());
  ColorPage plain(&h.Core(), RGB(10, 20, 30));
  ColorPage titled(&h.Core(), RGB(10, 20, 30), u"Title");
  h.Core().ShowPage(&plain);
  h.Core().ShowPage(&titled);
  h.Pump();
  RECT client{};
  plain.GetClientRect(&client);
  EXPECT_TRUE(EqualRect(&plain.ContentRect(), &client));
  EXPECT_TRUE(IsRectEmpty(&plain.HeaderRect()));
  EXPECT_EQ(titled.ContentRect().top, 37);
  EXPECT_EQ(titled.ContentRect().bottom, client.bottom + 2);
  EXPECT_EQ(titled.HeaderRect().bottom, 37);
  // A title given later makes the header; taken away, the header goes.
  plain.SetTitle(u"Now titled");
  EXPECT_EQ(plain.ContentRect().top, 37);
  plain.SetTitle(u"");
  EXPECT_EQ(plain.ContentRect().top, 0);
  // The page's size follows the frame (relayout).
  h.Frame().MoveWindow(0, 0, 240, 200);
  h.Pump();
  RECT after{};
  titled.GetClientRect(&after);
  RECT frame{};
  h.Frame().GetClientRect(&frame);
  EXPECT_EQ(RectHeight(after), RectHeight(frame));
  EXPECT_EQ(titled.ContentRect().bottom, RectHeight(frame) + 2);
}
