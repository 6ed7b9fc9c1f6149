// The slide between pages: step and frame count per screen shape, and what the frames show.
#include <gtest/gtest.h>

#include "look/appearance.h"
#include "tests/ui/ui_harness.h"
#include "ui/animate_wnd.h"

using uitest::ColorPage;
using uitest::Pixel;
using uitest::UiHarness;

TEST(Slide, StepAndFrameCountFollowTheScreenShapeAndScale) {
  struct Case {
    int width;
    bool portrait;
    int scale;
    int step;
    int frames;
  };
  const Case cases[] = {
      {240, true, 1, 8, 31},    // QVGA portrait
      {320, false, 1, 32, 11},  // QVGA landscape
      {480, true, 2, 40, 13},   // VGA portrait
      {640, false, 2, 160, 5},  // VGA landscape
      {250, true, 1, 8, 33},    // a width that is no multiple of the step
      {20, true, 1, 1, 21},     // a narrow window still moves a pixel a frame
      {3, false, 2, 1, 4},
  };
  for (const Case& c : cases) {
    const int step = CmivoAnimateWnd::SlideStep(c.width, c.portrait, c.scale);
    EXPECT_EQ(step, c.step) << c.width;
    const std::vector<int> offsets = CmivoAnimateWnd::SlideOffsets(c.width, step);
    EXPECT_EQ(static_cast<int>(offsets.size()), c.frames) << c.width;
    ASSERT_FALSE(offsets.empty());
    EXPECT_EQ(offsets.front(), 0);
    // The last frame shows the entered page alone, and no offset passes the width.
    EXPECT_EQ(offsets.back(), c.width);
    for (std::size_t i = 1; i < offsets.size(); ++i) EXPECT_GT(offsets[i], offsets[i - 1]);
  }
  EXPECT_TRUE(CmivoAnimateWnd::SlideOffsets(0, 1).empty());
  EXPECT_EQ(CmivoAnimateWnd::SlideOffsets(5, 0).size(), 6u);
}

namespace {

// Frames of opening and Back between two pages of one colour each.
void CheckSlide(int width, int height) {
  SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
  UiHarness h("slide_" + std::to_string(width) + "x" + std::to_string(height), width, height);
  ASSERT_TRUE(h.Start());
  mivoAppCore& core = h.Core();
  const COLORREF oldColor = RGB(200, 30, 30);
  const COLORREF newColor = RGB(30, 30, 200);
  ColorPage a(&core, oldColor);
  ColorPage b(&core, newColor);
  core.ShowPage(&a);
  h.Pump();
  const RECT client = h.FrameClientOnScreen();
  const int W = RectWidth(client);
  const int y = client.top + RectHeight(client) / 2;
  const std::vector<int> offsets =
      CmivoAnimateWnd::SlideOffsets(W, CmivoAnimateWnd::SlideStep(W, core.IsPortrait(), DisplayScale));

  // Opening: the new page's right edge comes in from the left edge. Back: the
  // revealed page's left edge comes in from the right edge.
  for (const bool back : {false, true}) {
    SCOPED_TRACE(back ? "back" : "open");
    h.CaptureFrames(true);
    if (back) core.PopPage(); else core.ShowPage(&b);
    ASSERT_EQ(h.Frames().size(), offsets.size());
    const COLORREF entering = back ? oldColor : newColor, leaving = back ? newColor : oldColor;
    for (std::size_t i = 0; i < h.Frames().size(); ++i) {
      const int x = offsets[i];
      const int edge = back ? client.right - x : client.left + x;  // first column right of the seam
      if (x > 0) { EXPECT_EQ(h.Frames()[i].At(back ? edge : edge - 1, y), Pixel(entering)) << "frame " << i; }
      if (x < W) { EXPECT_EQ(h.Frames()[i].At(back ? edge - 1 : edge, y), Pixel(leaving)) << "frame " << i; }
    }
    h.CaptureFrames(false);
    h.Pump();
    EXPECT_EQ(UiHarness::Screen().At(back ? client.right - 1 : client.left + 1, y), Pixel(entering));
  }
  EXPECT_FALSE(core.GetAnimateWnd()->IsWindowVisible());
}

}  // namespace

TEST(Slide, FramesShowTheNewPageFromTheLeftAndTheRevealedPageFromTheRightOnEveryScreenShape) {
  CheckSlide(240, 320);
  CheckSlide(320, 240);
  CheckSlide(480, 640);
  CheckSlide(640, 480);
}
