// The touch scroller driven without a window, as a gadget drives it: a view
// of 100 pixels over 400 pixels of content, points in view coordinates.
#include "ui/touch_scroller.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class Content : public mivoTouchScroller::Target {
 public:
  int GetScrollOffset() const override { return offset; }
  int GetMaxScrollOffset() const override { return height - 100; }
  void SetScrollOffset(int value) override {
    offset = value;
    seen.push_back(value);
  }
  RECT GetScrollView() const override { return RECT{10, 20, 110, 120}; }

  int offset = 0;
  int height = 400;
  std::vector<int> seen;  // every offset set, in order
};

mivoTouchScroller::Options Stepwise() { return {.dragSlop = 5, .stripWidth = 15, .stripThumb = 5}; }

mivoTouchScroller::Options Flicking() {
  return {.dragSlop = 4, .stripWidth = 14, .stripThumb = 12, .follow = mivoTouchScroller::Follow::kFromGestureStart,
          .coasting = true};
}

using Gesture = mivoTouchScroller::Gesture;

TEST(TouchScroller, StepwiseDraggingStopsAtBothEndsAndTurnsBackAtOnce) {
  Content c;
  mivoTouchScroller s(c, Stepwise());
  s.Move(50, 10, 0);  // a move without a press does nothing
  EXPECT_TRUE(c.seen.empty());
  s.Press(50, 100, 0);
  s.Move(50, 90, 0);
  s.Move(50, -400, 0);  // far past the end
  EXPECT_EQ(c.offset, 300);
  s.Move(50, -390, 0);  // back by ten: the overshoot is not kept
  EXPECT_EQ(c.offset, 290);
  s.Move(50, 500, 0);
  EXPECT_EQ(c.offset, 0);
  s.Release(50, 500, 0);
  // Content that fits never moves.
  c.height = 80;
  s.Press(50, 100, 0);
  s.Move(50, 50, 0);
  s.Move(50, 10, 0);
  EXPECT_EQ(c.offset, 0);
}

TEST(TouchScroller, TheStripJumpsInProportionAndATapOnItIsNoTap) {
  Content c;
  mivoTouchScroller s(c, Stepwise());
  EXPECT_FALSE(s.InStrip(94));
  EXPECT_TRUE(s.InStrip(95));
  s.Press(100, 20 + 95, 0);  // the bottom of the span: the end
  EXPECT_EQ(s.Release(100, 20 + 95, 0), Gesture::kStripJump);
  EXPECT_EQ(c.offset, 300);
  s.JumpToStrip(20 + 19);  // 19 of 95: a fifth of the way
  EXPECT_EQ(c.offset, 60);
  s.JumpToStrip(0);  // above the view: clamped
  EXPECT_EQ(c.offset, 0);
  c.height = 100;  // everything fits: nothing to jump to
  c.seen.clear();
  s.JumpToStrip(100);
  EXPECT_TRUE(c.seen.empty());
}

TEST(TouchScroller, AFlickCoastsSlowingDownUntilItEndsAndATouchStopsItWithoutATap) {
  Content c;
  c.height = 5000;
  mivoTouchScroller s(c, Flicking());
  s.Press(50, 100, 1000);
  for (int i = 1; i <= 4; ++i) s.Move(50, 100 - 30 * i, 1000 + 10 * i);
  EXPECT_EQ(c.offset, 120);
  EXPECT_EQ(s.Release(50, -20, 1050), Gesture::kFlick);
  std::vector<int> steps;
  while (s.IsCoasting() && steps.size() < 4) {
    ASSERT_TRUE(s.CoastStep());
    steps.push_back(c.offset);
  }
  // It moves on in the flick's direction, slowing down.
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0], 120);
  EXPECT_GT(steps[3] - steps[2], 0);
  EXPECT_GT(steps[1] - steps[0], steps[3] - steps[2]);
  // A touch stops it and taps nothing, even when released at once.
  s.Press(50, 50, 2000);
  EXPECT_FALSE(s.IsCoasting());
  EXPECT_FALSE(s.CoastStep());
  EXPECT_EQ(s.Release(50, 50, 2010), Gesture::kNone);

  // Left alone, coasting ends by itself, never before the content's top.
  c.offset = 100;
  s.Press(50, 50, 3000);
  s.Move(50, 60, 3010);
  s.Move(50, 80, 3020);
  EXPECT_EQ(s.Release(50, 80, 3030), Gesture::kFlick);
  int guard = 0;
  while (s.CoastStep() && ++guard < 10000) EXPECT_GE(c.offset, 0);
  EXPECT_LT(guard, 10000);
  EXPECT_LT(c.offset, 70);
}

// A slow drag that does not coast is ListCtrlTouch's, on the grid's own scroller.
TEST(TouchScroller, TurningBackRestartsTheFlicksTiming) {
  Content c;
  mivoTouchScroller s(c, Flicking());
  // The finger goes down slowly, then up quickly: the quick part alone is
  // the flick, and the content runs on the way that part moved it.
  c.offset = 150;
  s.Press(50, 50, 1000);
  s.Move(50, 60, 1100);
  s.Move(50, 70, 1600);
  s.Move(50, 60, 1650);  // turns: the gesture starts again here
  s.Move(50, 50, 1660);
  EXPECT_EQ(s.Release(50, 50, 1670), Gesture::kFlick);
  const int before = c.offset;
  ASSERT_TRUE(s.CoastStep());
  ASSERT_TRUE(s.CoastStep());
  EXPECT_GT(c.offset, before);
  // A hold or a lost press ends the press without a tap.
  s.Press(50, 50, 2000);
  s.Hold();
  EXPECT_EQ(s.Release(50, 50, 2100), Gesture::kNone);
}

}  // namespace
