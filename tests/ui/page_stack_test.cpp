// The page stack: Back at the root, animations off, requests during a switch,
// pages that go away while stacked or while their own handler runs.
#include <gtest/gtest.h>

#include "core/messages.h"
#include "platform/window/window.h"
#include "tests/ui/ui_harness.h"
#include "ui/animate_wnd.h"
#include "ui/overlay.h"

using uitest::ColorPage;
using uitest::UiHarness;

namespace {

// Records what the stack looked like while it was being activated.
class RecordingPage : public ColorPage {
 public:
  RecordingPage(mivoCore* core, COLORREF color) : ColorPage(core, color) {}
  void OnPageShown() override {
    ColorPage::OnPageShown();
    stackSizeWhenShown = static_cast<mivoAppCore*>(m_pCore)->PageStack().size();
    topWhenShown = m_pCore->TopPage();
    if (next) {
      CmivoPageWnd* n = next;
      next = nullptr;
      m_pCore->ShowPage(n);
    }
    if (popWhenShown) {
      popWhenShown = false;
      m_pCore->PopPage();
    }
  }
  std::size_t stackSizeWhenShown = 0;
  CmivoPageWnd* topWhenShown = nullptr;
  CmivoPageWnd* next = nullptr;   // shown from inside this page's activation
  bool popWhenShown = false;      // Back from inside this page's activation
};

}  // namespace

TEST(PageStack, BackOnTheRootPageAloneChangesNothingAndOpeningItWhileOnTopStacksItTwiceWithoutSlide) {
  UiHarness h("back_root");
  ASSERT_TRUE(h.Start());
  mivoAppCore& core = h.Core();
  CmivoPageWnd* root = core.TopPage();
  ASSERT_NE(root, nullptr);
  h.Frame().SendMessage(WM_COMMAND, ID_MIVO_SOFTKEY_LEFT, 0);
  h.Pump();
  core.PopPage();
  h.Drag(200, 150, 40, 150);
  ASSERT_EQ(core.PageStack().size(), 1u);
  EXPECT_EQ(core.TopPage(), root);
  EXPECT_TRUE(root->IsWindowVisible());

  h.CaptureFrames(true);
  core.ShowPage(root);
  h.Pump();
  ASSERT_EQ(core.PageStack().size(), 2u);
  EXPECT_EQ(core.PageStack()[0], root);
  EXPECT_EQ(core.PageStack()[1], root);
  EXPECT_TRUE(root->IsWindowVisible());
  EXPECT_TRUE(h.Frames().empty());
  // Back takes one entry off; the page stays.
  core.PopPage();
  h.Pump();
  EXPECT_EQ(core.PageStack().size(), 1u);
  EXPECT_TRUE(root->IsWindowVisible());
}

TEST(PageStack, WithAnimationsOffPagesSwitchWithoutTheSlideWindowEverShowing) {
  UiHarness h("no_animations");
  h.SetSetting(u"AnimationsEnabled", 0);
  ASSERT_TRUE(h.Start());
  mivoAppCore& core = h.Core();
  ColorPage a(&core, RGB(200, 0, 0));
  h.CaptureFrames(true);
  core.ShowPage(&a);
  h.Pump();
  core.PopPage();
  h.Pump();
  EXPECT_TRUE(h.Frames().empty());
  CmivoAnimateWnd* slide = core.GetAnimateWnd();
  ASSERT_NE(slide, nullptr);
  EXPECT_EQ(slide->LastFrameCount(), 0);
  EXPECT_FALSE(slide->m_hWnd && slide->IsWindowVisible());
  EXPECT_EQ(a.shown, 1);
  EXPECT_EQ(a.hidden, 1);
}

TEST(PageStack, ActivationSeesTheStackWithItsPageOnTopAndEachSwitchActivatesAndDeactivatesOnce) {
  UiHarness h("activation");
  ASSERT_TRUE(h.Start());
  mivoAppCore& core = h.Core();
  RecordingPage a(&core, RGB(0, 120, 0));
  ColorPage b(&core, RGB(0, 0, 120));
  core.ShowPage(&a);
  EXPECT_EQ(a.stackSizeWhenShown, 2u);
  EXPECT_EQ(a.topWhenShown, &a);
  core.ShowPage(&b);
  core.PopPage();
  h.Pump();
  EXPECT_EQ(a.shown, 2);
  EXPECT_EQ(a.hidden, 1);
  EXPECT_EQ(b.shown, 1);
  EXPECT_EQ(b.hidden, 1);
  EXPECT_TRUE(a.IsWindowVisible());
  EXPECT_FALSE(b.IsWindowVisible());
  // The soft keys read Back and Hide once a page was shown.
  h.Pump();
  EXPECT_EQ(h.Frame().MenuBar().GetButtonText(ID_MIVO_SOFTKEY_LEFT), u"Back");
  EXPECT_EQ(h.Frame().MenuBar().GetButtonText(ID_MIVO_SOFTKEY_RIGHT), u"Hide");
}

TEST(PageStack, ARequestMadeDuringASwitchWaitsUntilTheSwitchHasEnded) {
  UiHarness h("waiting_requests");
  ASSERT_TRUE(h.Start());
  mivoAppCore& core = h.Core();
  RecordingPage a(&core, RGB(0, 120, 0));
  ColorPage b(&core, RGB(0, 0, 120));
  a.next = &b;
  core.ShowPage(&a);
  h.Pump();
  // a finished its switch before b started: both are stacked, b on top.
  ASSERT_EQ(core.PageStack().size(), 3u);
  EXPECT_EQ(core.PageStack()[1], &a);
  EXPECT_EQ(core.TopPage(), &b);
  EXPECT_TRUE(b.IsWindowVisible());
  EXPECT_FALSE(a.IsWindowVisible());
  EXPECT_EQ(a.hidden, 1);

  // Back asked for while a page is being activated also waits, then acts.
  RecordingPage c(&core, RGB(90, 90, 0));
  c.popWhenShown = true;
  core.ShowPage(&c);
  h.Pump();
  EXPECT_EQ(core.TopPage(), &b);
  EXPECT_TRUE(b.IsWindowVisible());
  EXPECT_FALSE(c.IsWindowVisible());
}

TEST(PageStack, APageThatGoesAwayLeavesTheStackAndUncoversThePageBelow) {
  UiHarness h("page_goes");
  ASSERT_TRUE(h.Start());
  mivoAppCore& core = h.Core();
  ColorPage a(&core, RGB(0, 120, 0));
  auto* b = new ColorPage(&core, RGB(0, 0, 120));
  core.ShowPage(&a);
  core.ShowPage(b);
  core.ShowPage(&a);
  core.ShowPage(b);
  h.Pump();
  ASSERT_EQ(core.PageStack().size(), 5u);
  delete b;
  h.Pump();
  ASSERT_EQ(core.PageStack().size(), 3u);
  EXPECT_EQ(core.TopPage(), &a);
  EXPECT_TRUE(a.IsWindowVisible());
  // Back still works over what is left.
  core.PopPage();
  core.PopPage();
  h.Pump();
  EXPECT_EQ(core.PageStack().size(), 1u);
}

namespace {
// A page whose tap destroys it from inside its own handler, then still reads its state.
class SelfDestroyingPage : public ColorPage {
 public:
  SelfDestroyingPage(mivoCore* core, bool* deleted) : ColorPage(core, RGB(120, 0, 120)), m_deleted(deleted) {}
  ~SelfDestroyingPage() override { *m_deleted = true; }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_LBUTTONUP) {
      m_pCore->DestroyPage(this);
      // Still here: the page's own handler is running.
      stillAlive = !*m_deleted;
      m_color = RGB(1, 2, 3);
    }
    return ColorPage::WindowProc(message, wParam, lParam);
  }
  static inline bool stillAlive = false;

 private:
  bool* m_deleted;
};
}  // namespace

TEST(PageStack, APageDestroyedFromItsOwnTapIsDeletedOnlyAfterTheTapReturns) {
  UiHarness h("deferred_delete");
  ASSERT_TRUE(h.Start());
  mivoAppCore& core = h.Core();
  bool deleted = false;
  auto* page = new SelfDestroyingPage(&core, &deleted);
  core.ShowPage(page);
  h.Pump();
  h.Tap(120, 160);
  EXPECT_TRUE(SelfDestroyingPage::stillAlive);
  EXPECT_TRUE(deleted);
  EXPECT_EQ(core.PageStack().size(), 1u);
  EXPECT_TRUE(core.TopPage()->IsWindowVisible());
}

TEST(PageStack, WorkQueuedForLaterWaitsWhileAnOverlayLoopRuns) {
  UiHarness h("deferred_modal");
  ASSERT_TRUE(h.Start());
  mivoAppCore& core = h.Core();
  int runs = 0;
  core.DeleteLater([&] { ++runs; });
  h.AtIdle([&] {
    // Inside the message box's loop the queued work has not run.
    EXPECT_EQ(runs, 0);
    uitest::TapOverlayButton(0);
  });
  core.ShowMessage(u"Saved.", u"Note");
  EXPECT_EQ(runs, 0);
  h.Pump();
  EXPECT_EQ(runs, 1);
}
