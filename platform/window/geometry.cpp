// Geometry and z-order: placing, sizing and stacking windows, converting
// coordinates, and finding the window under a point.
#include <algorithm>
#include <vector>

#include "platform/win32/rect.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

using namespace window::detail;

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  const CheckInvariantsOnReturn check;
  Wnd* w = Lookup(hwnd);
  if (!w) return FALSE;
  const gdi::Region before = VisibleRegion(w, false);
  const RECT oldRect = w->rect;
  RECT newRect = oldRect;
  if (!(flags & SWP_NOMOVE)) OffsetRect(&newRect, x - oldRect.left, y - oldRect.top);
  if (!(flags & SWP_NOSIZE)) {
    newRect.right = newRect.left + std::max(cx, 0);
    newRect.bottom = newRect.top + std::max(cy, 0);
  }
  bool zChanged = false;
  if (!(flags & SWP_NOZORDER)) {
    std::vector<Wnd*>& list = SiblingList(w);
    const auto oldIndex = std::find(list.begin(), list.end(), w) - list.begin();
    if (after == HWND_TOPMOST && !w->parent) w->exStyle |= WS_EX_TOPMOST;
    if (after == HWND_NOTOPMOST && !w->parent) w->exStyle &= ~WS_EX_TOPMOST;
    Wnd* afterWnd = nullptr;
    bool valid = true;
    if (after != HWND_TOP && after != HWND_BOTTOM && after != HWND_TOPMOST && after != HWND_NOTOPMOST) {
      afterWnd = LookupQuiet(after);
      valid = afterWnd && afterWnd != w && afterWnd->parent == w->parent;
    }
    if (valid) {
      RemoveFromList(list, w);
      std::size_t index;
      if (afterWnd) {
        index = static_cast<std::size_t>(std::find(list.begin(), list.end(), afterWnd) - list.begin()) + 1;
      } else if (after == HWND_BOTTOM) {
        index = list.size();
      } else {
        index = TopInsertIndex(list, w);
      }
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(index, list.size())), w);
      zChanged = (std::find(list.begin(), list.end(), w) - list.begin()) != oldIndex;
    }
  }
  const bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
  const bool sized = RectWidth(newRect) != RectWidth(oldRect) || RectHeight(newRect) != RectHeight(oldRect);
  w->rect = newRect;

  if (flags & SWP_SHOWWINDOW) {
    ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  } else if (flags & SWP_HIDEWINDOW) {
    ShowWindow(hwnd, SW_HIDE);
  }
  if (w->destroyed) return TRUE;

  if ((moved || sized || zChanged) && IsVisibleChain(w)) {
    // The old area shows what lies beneath; the window and its children repaint in full.
    gdi::Region uncovered = before;
    uncovered.Subtract(VisibleRegion(w, false));
    Expose(uncovered);
    if (!(flags & SWP_NOREDRAW)) InvalidateTree(w);
  }
  if (sized) {
    CallProc(w, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(static_cast<WORD>(RectWidth(newRect)), static_cast<WORD>(RectHeight(newRect))));
  }
  if (moved && !w->destroyed) {
    CallProc(w, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(newRect.left), static_cast<WORD>(newRect.top)));
  }
  if ((moved || sized || zChanged) && !w->destroyed) {
    WINDOWPOS wp{hwnd, after, newRect.left, newRect.top, RectWidth(newRect), RectHeight(newRect), flags};
    CallProc(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  }
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  Wnd* w = Lookup(hwnd);
  if (!w || !rect) return FALSE;
  *rect = ClientRect(w);
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  Wnd* w = Lookup(hwnd);
  if (!w || !rect) return FALSE;
  *rect = ScreenRect(w);
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* pt) {
  Wnd* w = Lookup(hwnd);
  if (!w || !pt) return FALSE;
  const POINT o = ScreenOrigin(w);
  pt->x += o.x;
  pt->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt) {
  Wnd* w = Lookup(hwnd);
  if (!w || !pt) return FALSE;
  const POINT o = ScreenOrigin(w);
  pt->x -= o.x;
  pt->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  POINT fo{}, to_{};
  if (from) {
    Wnd* f = Lookup(from);
    if (!f) return 0;
    fo = ScreenOrigin(f);
  }
  if (to) {
    Wnd* t = Lookup(to);
    if (!t) return 0;
    to_ = ScreenOrigin(t);
  }
  const int dx = fo.x - to_.x, dy = fo.y - to_.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

namespace {

Wnd* DeepestAt(Wnd* w, POINT screenPt) {
  for (Wnd* c : w->children) {
    if (!(c->style & WS_VISIBLE)) continue;
    if (!PtInRect(&c->rect, MakePoint(screenPt.x - ScreenOrigin(w).x, screenPt.y - ScreenOrigin(w).y))) continue;
    if (c->style & WS_DISABLED) return w;  // a disabled child's input goes nowhere below it
    return DeepestAt(c, screenPt);
  }
  return w;
}

}  // namespace

HWND WindowFromPoint(POINT pt) {
  WindowSystem& s = Sys();
  for (Wnd* t : s.topLevel) {
    if (!(t->style & WS_VISIBLE) || (t->style & WS_DISABLED)) continue;
    if (!PtInRect(&t->rect, pt)) continue;
    return DeepestAt(t, pt)->handle;
  }
  return nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
  Wnd* p = Lookup(parent);
  if (!p) return nullptr;
  const RECT client = ClientRect(p);
  if (!PtInRect(&client, pt)) return nullptr;
  for (Wnd* c : p->children) {
    if ((c->style & WS_VISIBLE) && PtInRect(&c->rect, pt)) return c->handle;
  }
  return parent;
}
