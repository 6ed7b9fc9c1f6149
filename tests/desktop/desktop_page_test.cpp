// The desktop page in the whole program: desktops and their switching, the
// gadgets' visibility, taps and swipes, the services it offers gadgets, and
// the design mode's grid, handles and keys.
#include <gtest/gtest.h>

#include "core/core.h"
#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "desktop/actions_history_gadget.h"
#include "desktop/details_panel_gadget.h"
#include "desktop/icon_text_gadget.h"
#include "look/appearance.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/text.h"
#include "platform/window/paint.h"
#include "platform/window/timer.h"
#include "platform/window/window.h"
#include "tests/desktop/desktop_harness.h"

namespace {

using desktoptest::DesktopHarness;
using desktoptest::ProbeGadget;

TEST(DesktopPage, TakesTheRootPagesPlaceAndWrapsAroundItsDesktopsWhoseCountTheMasksMustHold) {
  // No setting: four; 32 is the most the masks hold, more than that means four.
  for (DWORD count : {0u, 32u, 33u, 0xFFFFFFFFu}) {
    DesktopHarness h("count" + std::to_string(count), count);
    EXPECT_EQ(h.Core().PageStack().front(), &h.Page());
    EXPECT_EQ(h.Page().CurrentDesktop(), 1u);
    EXPECT_EQ(h.Page().DesktopsCount(), count == 32 ? 32 : 4) << count;
    h.Key(VK_LEFT);
    EXPECT_EQ(h.Page().CurrentDesktopIndex(), count == 32 ? 31 : 3) << "previous from desktop 0: " << count;
    EXPECT_EQ(h.Page().CurrentDesktop(), count == 32 ? 0x80000000u : 0x8u) << count;
    h.Key(VK_RIGHT);
    EXPECT_EQ(h.Page().CurrentDesktopIndex(), 0) << "next from the last desktop: " << count;
  }
}

TEST(DesktopPage, AGadgetShowsOnTheDesktopsOfItsMaskInItsOwnOrientationOnly) {
  DesktopHarness h("mask");
  ProbeGadget* g = h.AddProbe(RECT{10, 10, 60, 60}, 0x5);
  std::vector<bool> shown;
  for (int d = 0; d < 4; ++d) {
    h.Page().ShowDesktop(d);
    h.Pump();
    shown.push_back(g->IsVisible());
  }
  EXPECT_EQ(shown, (std::vector<bool>{true, false, true, false}));
  h.Page().ShowDesktop(0);
  h.Rotate();  // landscape
  EXPECT_FALSE(h.Page().IsPortraitLayout());
  EXPECT_FALSE(g->IsVisible());
  h.Rotate();
  EXPECT_TRUE(g->IsVisible());
}

TEST(DesktopPage, ATapGoesToTheGadgetAndOnFreeSpaceOpensTheMainMenu) {
  DesktopHarness h("taps");
  ProbeGadget* g = h.AddProbe(RECT{10, 10, 90, 90});
  h.TapAt(50, 50);
  EXPECT_EQ(g->downs, 1);
  EXPECT_EQ(g->taps, 1);
  EXPECT_EQ(h.Core().TopPage(), &h.Page());
  h.TapAt(150, 200);
  EXPECT_EQ(g->taps, 1);
  EXPECT_STREQ(h.Core().TopPage()->PageClassName(), "CmivoMainMenuPage");
}

TEST(DesktopPage, ASwipeOverAGadgetSwitchesDesktopsAndNeverTapsIt) {
  DesktopHarness h("swipe");
  ProbeGadget* g = h.AddProbe(RECT{0, 0, 240, 200}, 0xF);
  const POINT a = h.OnScreen(200, 100), b = h.OnScreen(60, 100);
  h.Drag(a.x, a.y, b.x, b.y);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 3) << "a leftward swipe shows the previous desktop";
  h.Drag(b.x, b.y, a.x, a.y);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 0);
  // A swipe whose finger then wanders off its line ends as nothing at all.
  h.Down(a.x, a.y);
  h.Move(b.x, b.y);
  h.Move(b.x, b.y + 40);
  h.Up(b.x, b.y + 40);
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 0);
  EXPECT_EQ(g->taps, 0);
  EXPECT_EQ(h.Core().TopPage(), &h.Page());
}

// (Enter opens the main menu: the user's day and the desktop scenario do it in the real program.)
TEST(DesktopPage, TypingALetterOpensTheContacts) {
  DesktopHarness h("typing");
  window::input::Char(u'?');
  h.Pump();
  EXPECT_EQ(h.Core().TopPage(), &h.Page()) << "nothing up to '?'";
  window::input::Char(u'a');
  h.Pump();
  EXPECT_EQ(h.Core().TopPage(), h.Core().GetPage(19));
}

TEST(DesktopPage, NotificationsAndTimersReachTheirGadgetsByIndexUntilUnregistered) {
  DesktopHarness h("services");
  CmivoDesktopPage& page = h.Page();
  ProbeGadget* a = h.AddProbe(RECT{0, 0, 40, 40});
  ProbeGadget* b = h.AddProbe(RECT{50, 0, 90, 40});
  EXPECT_EQ(page.RegisterNotification(a), 0x8B0u);
  EXPECT_EQ(page.RegisterNotification(b), 0x8B1u);
  PostMessageW(page.m_hWnd, 0x8B1, 0, 0);
  PostMessageW(page.m_hWnd, 0x8B0, 0, 0);
  h.Pump();
  EXPECT_EQ(a->states, 1);
  EXPECT_EQ(b->states, 1);
  page.UnregisterNotification(a);
  PostMessageW(page.m_hWnd, 0x8B0, 0, 0);
  PostMessageW(page.m_hWnd, 0x8B1, 0, 0);
  h.Pump();
  EXPECT_EQ(a->states, 1) << "an emptied entry is ignored";
  EXPECT_EQ(b->states, 2) << "the other indices stay";

  EXPECT_EQ(page.RegisterTimer(a, 100), 1000u);
  EXPECT_EQ(page.RegisterTimer(b, 300), 1001u);
  h.Wait(350);
  EXPECT_EQ(a->ticks, 3);
  EXPECT_EQ(b->ticks, 1);
  page.UnregisterTimer(a);
  EXPECT_FALSE(KillTimer(page.m_hWnd, 1000)) << "the platform's timer went with the entry";
  h.Wait(400);
  EXPECT_EQ(a->ticks, 3);
  EXPECT_EQ(b->ticks, 2);
  // A gadget that goes without unregistering leaves nothing ticking behind.
  page.Container().RemoveGadget(b);
  EXPECT_FALSE(KillTimer(page.m_hWnd, 1001));
}

TEST(DesktopPage, AGadgetIsActivatedOnceWhenItJoinsAndDeactivatedOnceWhenItLeaves) {
  DesktopHarness h("activation");
  int deleted = 0;
  ProbeGadget* g = h.AddProbe(RECT{0, 0, 40, 40}, 0, &deleted);
  EXPECT_EQ(g->activations, 1);
  h.Page().Container().AddGadget(nullptr);
  g->Activate();
  EXPECT_EQ(g->activations, 1);
  g->Deactivate();
  g->Deactivate();
  EXPECT_EQ(g->deactivations, 1);
  g->Activate();
  EXPECT_EQ(g->activations, 2);
  h.Page().Container().RemoveGadget(g);
  EXPECT_EQ(deleted, 1);
}

TEST(DesktopPage, SettingTheSameRectangleRepaintsNothing) {
  DesktopHarness h("repaint");
  ProbeGadget* g = h.AddProbe(RECT{10, 10, 60, 60});
  h.Pump();
  RECT dirty{};
  ASSERT_FALSE(GetUpdateRect(h.Page().m_hWnd, &dirty, FALSE));
  g->SetRect(RECT{10, 10, 60, 60}, true);
  g->SetRect(RECT{10, 10, 15, 15}, true);  // clamped to its minimum size: a change
  EXPECT_EQ(g->GetRect(), (RECT{10, 10, 30, 30}));
  EXPECT_TRUE(GetUpdateRect(h.Page().m_hWnd, &dirty, FALSE));
  h.Pump();
  g->SetRect(RECT{10, 10, 15, 15}, true);  // clamps to the same again
  EXPECT_FALSE(GetUpdateRect(h.Page().m_hWnd, &dirty, FALSE));
}

TEST(DesktopPage, RectanglesAreKeptInsideTheAreaOfTheGadgetsOwnOrientation) {
  DesktopHarness h("areas");
  CmivoDesktopPage& page = h.Page();
  EXPECT_EQ(page.GadgetArea(true).cx, 240);
  EXPECT_EQ(page.GadgetArea(true).cy, 268);
  EXPECT_EQ(page.GadgetArea(false).cx, 320);
  EXPECT_EQ(page.GadgetArea(false).cy, 188);
  ProbeGadget* g = h.AddProbe(RECT{-10, 5, 30, 40});
  EXPECT_EQ(g->GetRect(), (RECT{0, 5, 40, 40}));
  g->SetRect(RECT{200, 250, 300, 290}, false);
  EXPECT_EQ(g->GetRect(), (RECT{140, 228, 240, 268}));
  // A portrait gadget keeps its place while the screen is turned.
  h.Rotate();
  g->SetRect(RECT{140, 228, 240, 268}, false);
  EXPECT_EQ(g->GetRect(), (RECT{140, 228, 240, 268}));
}

// ---- The design mode -------------------------------------------------------------------------

TEST(DesignMode, DraggingSnapsTheStylusToTheGrid) {
  DesktopHarness h("drag");
  ProbeGadget* g = h.AddProbe(RECT{13, 27, 63, 77});
  h.Page().SetDesignMode(true);
  const POINT down = h.OnScreen(20, 30), to = h.OnScreen(47, 58);
  h.Down(down.x, down.y);
  EXPECT_EQ(h.Page().SelectedGadget(), g);
  h.Move(to.x, to.y);
  h.Up(to.x, to.y);
  EXPECT_EQ(g->GetRect(), (RECT{33, 47, 83, 97}));
  EXPECT_EQ(g->taps, 0) << "in design mode a press is no tap";
}

TEST(DesignMode, TheBottomRightHandleOfTheSelectedGadgetResizesItOnTheGrid) {
  DesktopHarness h("resize");
  ProbeGadget* g = h.AddProbe(RECT{20, 20, 80, 80});
  h.Page().SetDesignMode(true);
  h.TapAt(50, 50);  // selects it
  const POINT handle = h.OnScreen(75, 75), to = h.OnScreen(95, 123);
  h.Down(handle.x, handle.y);
  h.Move(to.x, to.y);
  h.Up(to.x, to.y);
  EXPECT_EQ(g->GetRect(), (RECT{20, 20, 90, 120}));
}

TEST(DesignMode, ArrowKeysMoveTheSelectedGadgetByOnePixel) {
  DesktopHarness h("keys");
  ProbeGadget* g = h.AddProbe(RECT{1, 1, 41, 41});
  h.Page().SetDesignMode(true);
  h.TapAt(20, 20);
  h.Key(VK_RIGHT);
  h.Key(VK_DOWN);
  EXPECT_EQ(g->GetRect(), (RECT{2, 2, 42, 42}));
  for (int i = 0; i < 3; ++i) h.Key(VK_LEFT);
  h.Key(VK_UP);
  EXPECT_EQ(g->GetRect(), (RECT{0, 1, 40, 41}));
  EXPECT_EQ(h.Page().CurrentDesktopIndex(), 0) << "the keys moved the gadget, not the desktop";
}

TEST(DesignMode, ADragEndsOnTapAndHoldAndTheMenuShowsTheGadgetsSettings) {
  DesktopHarness h("drag_hold");
  ProbeGadget* g = h.AddProbe(RECT{20, 20, 100, 100});
  h.Page().SetDesignMode(true);
  const POINT p = h.OnScreen(60, 60);
  h.Down(p.x, p.y);
  EXPECT_EQ(GetCapture(), h.Page().m_hWnd);
  h.Wait(700);
  EXPECT_NE(GetCapture(), h.Page().m_hWnd) << "the hold ended the drag";
  EXPECT_STREQ(h.Core().TopPage()->PageClassName(), "CmivoRightClickPage");
  h.Up(p.x, p.y);
  h.Move(p.x + 50, p.y + 50);
  EXPECT_EQ(g->GetRect(), (RECT{20, 20, 100, 100}));
  const std::vector<std::string> rows = uitest::Texts("rows");
  EXPECT_EQ(rows,
            (std::vector<std::string>{"General", "Exit Design mode", "Add gadget", "Delete gadget", "Switch to desktop",
                                      "Change desktop icon", "Change icons", "Gadget settings"}));
}

TEST(DesignMode, ADeletionTheGadgetRefusesLeavesItAndAnAllowedOneTakesItAway) {
  DesktopHarness h("delete");
  int deleted = 0;
  ProbeGadget* g = h.AddProbe(RECT{20, 20, 100, 100}, 0, &deleted);
  h.Page().SetDesignMode(true);
  g->deletable = false;
  h.HoldAt(60, 60);
  h.TapRow("Delete gadget");
  EXPECT_EQ(h.Page().Container().Count(), 1u);
  EXPECT_EQ(h.Core().TopPage(), &h.Page());
  g->deletable = true;
  h.HoldAt(60, 60);
  h.TapRow("Delete gadget");
  EXPECT_EQ(h.Page().Container().Count(), 0u);
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(h.Page().SelectedGadget(), nullptr);
}

TEST(DesignMode, TheDesktopListTogglesDesktopsButNeverTheLastOne) {
  DesktopHarness h("toggle");
  ProbeGadget* g = h.AddProbe(RECT{20, 20, 100, 100}, 0x1);
  h.Page().SetDesignMode(true);
  h.HoldAt(60, 60);
  h.TapRow("Switch to desktop");
  EXPECT_EQ(uitest::Texts("rows"),
            (std::vector<std::string>{"Desktop 1: on", "Desktop 2: off", "Desktop 3: off", "Desktop 4: off"}));
  h.TapRow("Desktop 3: off");
  EXPECT_EQ(g->Desktops(), 0x5u);
  EXPECT_EQ(uitest::Texts("rows")[2], "Desktop 3: on");
  h.TapRow("Desktop 1: on");
  // The refusal is a message box, answered as a user would.
  ui::OverlayDescription box;
  h.AtIdle([&] {
    box = uitest::OpenOverlay();
    uitest::TapOverlayButton(0);
  });
  h.TapRow("Desktop 3: on");
  EXPECT_EQ(g->Desktops(), 0x4u) << "the last desktop stays";
  EXPECT_NE(box.text.find(u"only desktop"), std::u16string::npos);
}

TEST(DesignMode, AnAddedGadgetStartsAtThePressWithAtLeastItsMinimumSize) {
  DesktopHarness h("catalogue");
  h.Page().SetDesignMode(true);
  h.HoldAt(150, 40);
  h.TapRow("Add gadget");
  // Every kind of the catalogue is built (the real program's menu offers them in its order).
  EXPECT_EQ(desktoptest::BuiltCatalogueNames().size(), gadget_catalogue::Entries().size());
  h.TapRow("Favorites");
  EXPECT_EQ(h.Core().TopPage(), &h.Page());
  ASSERT_EQ(h.Page().Container().Count(), 1u);
  CmivoGadget& added = *h.Page().Container().Gadgets()[0];
  EXPECT_EQ(added.TypeId(), 20u);
  EXPECT_EQ(added.GetRect().left, 150);
  EXPECT_EQ(added.GetRect().top, 40);
  EXPECT_EQ(added.Desktops(), 1u);
  EXPECT_EQ(h.Page().SelectedGadget(), &added);
  // The requested right edge (100) lies left of the press: the minimum width
  // wins (a plain gadget's 20); the bottom (100) is below it and stays.
  ProbeGadget probe(&h.Core(), &h.Page());
  EXPECT_EQ(probe.ClampRect(RECT{150, 40, 100, 100}, 240, 268), (RECT{150, 40, 170, 100}));
}

TEST(DesktopPage, AnswersTheTodayPlugInsColourQuestions) {
  DesktopHarness h("today");
  mivoAppearance* look = h.Core().GetAppearance();
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(h.Page().m_hWnd, WM_USER + 100, 0x10000004, 0)), look->TextColor);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(h.Page().m_hWnd, WM_USER + 100, 0x10000023, 0)), look->TextColor);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(h.Page().m_hWnd, WM_USER + 100, 0x10000001, 0)), look->BackgroundColor);
}

// An icon-text gadget with a square of colour for a picture and a number.
class CountIconText : public CmivoIconTextGadget {
 public:
  CountIconText(mivoCore* core, CmivoDesktopPage* page, bool picture) : CmivoIconTextGadget(core, page, 5) {
    m_text = u"42";
    if (picture) m_imageSize = SIZE{30, 30};
  }
  RECT DrawImage(HDC dc, const RECT& rect, UINT alignment) override {
    // Right-aligned pictures end at the box's right edge, the others start at its left.
    const int left = (alignment & kAlignRight) ? rect.right - 30 : rect.left;
    RECT r{left, rect.top, left + 30, rect.top + 30};
    HBRUSH brush = CreateSolidBrush(RGB(200, 0, 0));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    return r;
  }
  void OnIconTap(POINT) override { ++iconTaps; }
  void OnTextTap(POINT) override { ++textTaps; }
  int iconTaps = 0, textTaps = 0;
};

TEST(IconTextGadget, PlacesItsBlockByTheAlignmentAndSendsTapsToThePictureOrTheText) {
  EXPECT_EQ(CmivoIconTextGadget::PlaceBlock(8, 100, 50, 60, 20).x, 40);
  EXPECT_EQ(CmivoIconTextGadget::PlaceBlock(8, 100, 50, 60, 20).y, 30);
  EXPECT_EQ(CmivoIconTextGadget::PlaceBlock(4, 100, 50, 60, 20).x, 20);
  EXPECT_EQ(CmivoIconTextGadget::PlaceBlock(4, 100, 50, 60, 20).y, 15);
  EXPECT_EQ(CmivoIconTextGadget::PlaceBlock(0, 100, 50, 60, 20).x, 0);

  DesktopHarness h("icon_text");
  auto owned = std::make_unique<CountIconText>(&h.Core(), &h.Page(), true);
  owned->GetStyle().textPosition = kTextRightOfImage;
  CountIconText* g = h.Place(std::move(owned), RECT{20, 20, 220, 80});
  // The picture left of the text: the icon's part from the gadget's left edge.
  const RECT icon = g->IconTapRect(), text = g->TextTapRect();
  EXPECT_EQ(icon.left, 20);
  EXPECT_EQ(text.right, 220);
  EXPECT_LE(icon.right, text.left);
  uitest::UiHarness::Shot("icon_text", "desktop");
  h.TapAt(icon.left + 2, 50);
  h.TapAt(text.right - 2, 50);
  EXPECT_EQ(g->iconTaps, 1);
  EXPECT_EQ(g->textTaps, 1);
  // In design mode neither: the page selects.
  h.Page().SetDesignMode(true);
  h.TapAt(icon.left + 2, 50);
  EXPECT_EQ(g->iconTaps, 1);

  // Its menu: a picture offers the text position.
  h.HoldAt(120, 50);
  EXPECT_TRUE(h.HasRow("Text position"));
  h.TapRow("Bold");
  EXPECT_TRUE(g->GetStyle().bold);
  EXPECT_EQ(h.Core().TopPage(), &h.Page());
  // Sizes on a page of their own; a choice leads back to the desktop.
  h.HoldAt(120, 50);
  h.TapRow("Text size");
  EXPECT_EQ(uitest::Texts("rows").front(), "10 point(s)");
  h.TapRow("26 point(s)");
  EXPECT_EQ(g->GetStyle().textSize, 26);
  EXPECT_EQ(h.Core().TopPage(), &h.Page());
  uitest::UiHarness::Shot("icon_text_bold_26_design", "desktop");

  // Without a picture there is no text position to offer.
  h.Add<CountIconText>(RECT{20, 100, 220, 160}, false);
  h.HoldAt(120, 130);
  EXPECT_FALSE(h.HasRow("Text position"));
  EXPECT_TRUE(h.HasRow("Text color"));
  EXPECT_TRUE(h.HasRow("Align"));
}

// A panel that counts the taps on its two parts.
class CountPanel : public CmivoDetailsPanelGadget {
 public:
  CountPanel(mivoCore* core, CmivoDesktopPage* page) : CmivoDetailsPanelGadget(core, page, 11) {}
  void DrawIcon(HDC, const RECT& rect) override { icon = rect; }
  void DrawDetails(HDC, const RECT& rect) override { details = rect; }
  void OnIconTap(POINT) override { ++iconTaps; }
  void OnDetailsTap(POINT) override { ++detailsTaps; }
  RECT icon{}, details{};
  int iconTaps = 0, detailsTaps = 0;
};

TEST(DetailsPanelGadget, SpansThePageAtItsTopAndSendsTapsToItsTwoParts) {
  DesktopHarness h("panel");
  CountPanel* p = h.Add<CountPanel>(RECT{30, 100, 90, 130});
  EXPECT_EQ(p->GetRect(), (RECT{0, 100, 240, 150}));
  EXPECT_EQ(p->icon, (RECT{0, 100, 50, 150}));
  EXPECT_EQ(p->details, (RECT{60, 100, 240, 150}));
  h.TapAt(20, 120);
  h.TapAt(200, 120);
  h.TapAt(55, 120);  // between the parts: the general tap, the main menu
  EXPECT_EQ(p->iconTaps, 1);
  EXPECT_EQ(p->detailsTaps, 1);
  EXPECT_STREQ(h.Core().TopPage()->PageClassName(), "CmivoMainMenuPage");
}

// A most-used grid of every action.
class EveryAction : public CmivoActionsHistoryGadget {
 public:
  EveryAction(mivoCore* core, CmivoDesktopPage* page) : CmivoActionsHistoryGadget(core, page, 31) {}
  bool AcceptsAction(mivoAction& action) override { return action.TypeId() != kActionWriteSMS; }
};

TEST(ActionsHistoryGadget, ShowsTheAcceptedEntriesThatFitInTheGridAndRunsATappedOne) {
  DesktopHarness h("history");
  mivoActions& actions = *h.Core().GetActions();
  EveryAction* g = h.Add<EveryAction>(RECT{0, 0, 160, 180});
  // Pages that need no device folder (this harness has none).
  for (int page : {33, 34, 9}) actions.RecordAction(mivoActionShowPage(&h.Core(), page, 0, 0));
  actions.RecordAction(mivoActionWriteSMS(&h.Core(), u"123"));
  g->LayoutTiles();
  ASSERT_EQ(g->Tiles().size(), 3u) << "three accepted entries, the SMS left out";
  EXPECT_EQ(g->Tiles()[1].rect, (RECT{80, 0, 150, 80}));
  EXPECT_EQ(g->Tiles()[2].rect, (RECT{0, 90, 70, 170}));
  h.TapAt(30, 30);
  EXPECT_EQ(h.Core().TopPage(), h.Core().GetPage(33));
  EXPECT_EQ(actions.History().Entry(0)->Count(), 2) << "the start was counted";
}

}  // namespace
