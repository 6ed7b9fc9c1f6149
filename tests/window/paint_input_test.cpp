// Painting and the stylus.
#include "fixture.h"
#include "platform/gdi/gdi.h"

namespace {

std::uint32_t PixelAt(int x, int y) {
  const window::FrameView f = window::GetFramebuffer();
  return f.pixels[static_cast<std::ptrdiff_t>(y) * f.stride + x] & 0xFFFFFFu;
}

// A paint handler that fills the update area with one colour and records it.
std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)> Filler(COLORREF color, std::vector<RECT>* painted) {
  return [color, painted](HWND h, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    if (painted) painted->push_back(ps.rcPaint);
    HBRUSH b = CreateSolidBrush(color);
    FillRect(dc, &ps.rcPaint, b);
    DeleteObject(b);
    EndPaint(h, &ps);
    return true;
  };
}

}  // namespace

using Painting = WindowTest;

TEST_F(Painting, PaintComesOnlyWhenTheQueueIsEmptyAndOncePerInvalidArea) {
  std::vector<RECT> painted;
  handlers["b"] = Filler(RGB(255, 0, 0), &painted);
  HWND a = Make("a", WS_VISIBLE, R(0, 0, 100, 100));
  HWND b = Make("b", WS_VISIBLE, R(120, 0, 220, 100));
  Settle();
  painted.clear();
  const RECT small = R(10, 10, 50, 30);
  InvalidateRect(a, nullptr, TRUE);
  InvalidateRect(a, nullptr, TRUE);
  InvalidateRect(b, &small, FALSE);
  InvalidateRect(b, &small, FALSE);
  PostMessageW(a, WM_USER, 0, 0);
  PostMessageW(b, WM_USER, 0, 0);
  window::PumpPending();
  window::PumpPending();
  EXPECT_EQ(Ids("", {WM_USER, WM_PAINT}), (std::vector<UINT>{WM_USER, WM_USER, WM_PAINT, WM_PAINT}));
  ASSERT_EQ(painted.size(), 1u);
  EXPECT_EQ(painted[0], small);
  RECT none;
  EXPECT_FALSE(GetUpdateRect(b, &none, FALSE));
  // Erasing was asked for a only.
  EXPECT_EQ(Count("a", WM_ERASEBKGND), 1);
  EXPECT_EQ(Count("b", WM_ERASEBKGND), 0);
}

TEST_F(Painting, AHandlerThatIgnoresPaintIsValidatedInsteadOfAskedForever) {
  handlers["lazy"] = [](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
    *r = 0;
    return m == WM_PAINT;  // never calls BeginPaint
  };
  Make("lazy", WS_VISIBLE, R(0, 0, 10, 10));
  EXPECT_LT(window::PumpPending(), 5);
  EXPECT_EQ(Count("lazy", WM_PAINT), 1);
}

TEST_F(Painting, AChildPaintsOverItsParentAndASiblingAboveCoversOneBelow) {
  handlers["parent"] = Filler(RGB(0, 0, 255), nullptr);
  handlers["child"] = Filler(RGB(0, 255, 0), nullptr);
  handlers["low"] = Filler(RGB(255, 0, 0), nullptr);
  handlers["high"] = Filler(RGB(255, 255, 0), nullptr);
  HWND parent = Make("parent", WS_VISIBLE, R(0, 0, 240, 320));
  Make("child", WS_CHILD | WS_VISIBLE, R(20, 20, 120, 120), parent);
  Make("low", WS_CHILD | WS_VISIBLE, R(100, 150, 200, 250), parent);
  Make("high", WS_CHILD | WS_VISIBLE, R(150, 200, 230, 300), parent);  // created later: on top
  window::PumpPending();
  // The framebuffer holds 0xRRGGBB (under the alpha byte).
  EXPECT_EQ(PixelAt(5, 5), 0x0000FFu);      // the parent, blue
  EXPECT_EQ(PixelAt(50, 50), 0x00FF00u);    // the child
  EXPECT_EQ(PixelAt(120, 160), 0xFF0000u);  // low, red
  EXPECT_EQ(PixelAt(170, 220), 0xFFFF00u);  // high covers low where they overlap
  // The parent repainting its whole area does not paint over its children.
  InvalidateRect(parent, nullptr, TRUE);
  window::PumpPending();
  EXPECT_EQ(PixelAt(50, 50), 0x00FF00u);
  EXPECT_EQ(PixelAt(170, 220), 0xFFFF00u);
}

TEST_F(Painting, HidingAWindowRepaintsWhatWasUnderIt) {
  std::vector<RECT> painted;
  handlers["back"] = Filler(RGB(0, 0, 255), &painted);
  handlers["front"] = Filler(RGB(0, 255, 0), nullptr);
  Make("back", WS_VISIBLE, R(0, 0, 240, 320));
  HWND front = Make("front", WS_VISIBLE, R(40, 40, 140, 140));
  window::PumpPending();
  EXPECT_EQ(PixelAt(60, 60), 0x00FF00u);
  painted.clear();
  ShowWindow(front, SW_HIDE);
  window::PumpPending();
  ASSERT_EQ(painted.size(), 1u);
  EXPECT_EQ(painted[0], R(40, 40, 140, 140));
  EXPECT_EQ(PixelAt(60, 60), 0x0000FFu);
}

TEST_F(Painting, ScrollWindowExMovesThePixelsAndInvalidatesTheUncoveredBand) {
  HWND w = Make("w", WS_VISIBLE, R(0, 0, 100, 100));
  window::PumpPending();
  HDC dc = GetDC(w);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT stripe = R(0, 50, 100, 60);
  FillRect(dc, &stripe, red);
  DeleteObject(red);
  ReleaseDC(w, dc);
  RECT update;
  const int kind = ScrollWindowEx(w, 0, -20, nullptr, nullptr, nullptr, &update, SW_INVALIDATE);
  EXPECT_EQ(kind, SIMPLEREGION);
  EXPECT_EQ(update, R(0, 80, 100, 100));
  EXPECT_EQ(PixelAt(10, 35), 0xFF0000u);  // the stripe moved up by 20
  EXPECT_EQ(PixelAt(10, 55), 0x000000u);
  RECT pending;
  ASSERT_TRUE(GetUpdateRect(w, &pending, FALSE));
  EXPECT_EQ(pending, R(0, 80, 100, 100));
}

using Stylus = WindowTest;

TEST_F(Stylus, AQuickTapGivesDownAndUpOnlyToTheWindowUnderIt) {
  HWND top = Make("top", WS_VISIBLE, R(0, 0, 240, 320));
  Make("button", WS_CHILD | WS_VISIBLE, R(20, 20, 120, 60), top);
  Settle();
  RunScript({"tap 30 30", "wait 1000"});
  const std::vector<UINT> mouse = {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_CONTEXTMENU};
  EXPECT_EQ(Ids("button", mouse), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_TRUE(Ids("top", mouse).empty());
  const Logged down = Last("button", WM_LBUTTONDOWN);
  EXPECT_EQ(GET_X_LPARAM(down.lParam), 10);  // client coordinates
  EXPECT_EQ(GET_Y_LPARAM(down.lParam), 10);
  EXPECT_EQ(down.wParam, MK_LBUTTON);
}

TEST_F(Stylus, HoldingStillHalfASecondGivesContextMenuAndSwallowsTheReleaseAndMovingCancelsIt) {
  HWND top = Make("top", WS_VISIBLE, R(0, 0, 240, 320));
  Make("item", WS_CHILD | WS_VISIBLE, R(0, 100, 240, 160), top);
  Settle();
  RunScript({"down 50 120", "wait 499", "move 53 123", "wait 1", "up 53 123"});
  EXPECT_EQ(Ids("item", {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_CONTEXTMENU}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_CONTEXTMENU}));
  for (const char* to : {"item", "top"}) {
    EXPECT_EQ(GET_X_LPARAM(Last(to, WM_CONTEXTMENU).lParam), 53) << to;  // the screen point
    EXPECT_EQ(GET_Y_LPARAM(Last(to, WM_CONTEXTMENU).lParam), 123) << to;
  }
  // The unhandled context menu went on to the parent as well.
  EXPECT_EQ(Count("top", WM_CONTEXTMENU), 1);
  // Moving six pixels first cancels the hold: the release comes instead.
  log.clear();
  RunScript({"down 50 120", "wait 100", "move 56 120", "wait 1000", "up 56 120"});
  EXPECT_EQ(Ids("item", {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_CONTEXTMENU}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}));
}

TEST_F(Stylus, TheCaptureGetsTheMovesAndTheReleaseOutsideIt) {
  HWND top = Make("top", WS_VISIBLE, R(0, 0, 240, 320));
  Make("slider", WS_CHILD | WS_VISIBLE, R(0, 0, 50, 50), top);
  handlers["slider"] = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m == WM_LBUTTONDOWN) SetCapture(h);
    if (m == WM_LBUTTONUP) ReleaseCapture();
    return false;
  };
  Settle();
  RunScript({"drag 10 10 200 300 100"});
  EXPECT_TRUE(Ids("top", {WM_MOUSEMOVE, WM_LBUTTONUP}).empty());
  EXPECT_EQ(Count("slider", WM_LBUTTONUP), 1);
  const Logged last = Last("slider", WM_LBUTTONUP);
  EXPECT_EQ(GET_X_LPARAM(last.lParam), 200);
  EXPECT_EQ(GET_Y_LPARAM(last.lParam), 300);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Painting, AnAnimationInsideOnePaintShowsEveryFrameItPresents) {
  display::HeadlessScreen screen;
  Open(screen);
  window::SetPresenter([&screen] { screen.PresentIfDirty(); });
  int frames = 0;
  handlers["slide"] = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    for (int x = 0; x <= 240; x += 80) {  // four frames of a slide, no return to the loop between them
      RECT band = R(0, 0, x, 320);
      HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
      FillRect(dc, &band, b);
      DeleteObject(b);
      window::PresentNow();
      ++frames;
    }
    EndPaint(h, &ps);
    return true;
  };
  HWND slide = Make("slide", WS_VISIBLE, R(0, 0, 240, 320));
  const long long before = screen.PresentedFrames();
  UpdateWindow(slide);
  EXPECT_EQ(frames, 4);
  EXPECT_EQ(screen.PresentedFrames() - before, 4);
  // The last presented frame is the whole slide.
  EXPECT_EQ(screen.PresentedPixels()[320 * 240 - 1] & 0xFFFFFFu, 0x0000FFu);
  window::SetPresenter(nullptr);
}
