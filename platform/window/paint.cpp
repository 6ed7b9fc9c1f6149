#include "platform/window/paint.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"
#include "platform/win32/errors.h"
#include "platform/win32/rect.h"
#include "platform/window/message.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"


using namespace window::detail;

namespace {

struct Framebuffer {
  HBITMAP bitmap = nullptr;  // the screen's pixels, a bitmap of the drawing layer
  bool dirty = false;        // drawn into since the display last presented it
};

Framebuffer& Frame() {
  static Framebuffer f;
  return f;
}

gdi::PixelBuffer FramePixels() {
  Framebuffer& f = Frame();
  if (!f.bitmap) return gdi::PixelBuffer{};
  return gdi::BitmapPixels(f.bitmap);
}

HDC MakeDC(const Wnd* w, const gdi::Region& visibleScreen) {
  Framebuffer& f = Frame();
  if (!f.bitmap) return nullptr;
  return gdi::CreateWindowDC(f.bitmap, w ? ScreenOrigin(w) : POINT{}, visibleScreen);
}

void FreeDC(HDC dc) {
  if (dc) gdi::ReleaseWindowDC(dc);
}

// Fills the erase area with the class brush, as the default WM_ERASEBKGND does.
bool EraseWithClassBrush(Wnd* w, HDC dc, const RECT& area) {
  if (!dc || !w->cls || !w->cls->info.hbrBackground) return false;
  FillRect(dc, &area, w->cls->info.hbrBackground);
  return true;
}

void AddInvalid(Wnd* w, const gdi::Region& clientArea, bool erase) {
  gdi::Region r = clientArea;
  r.Intersect(ClientRect(w));
  if (r.IsEmpty()) return;
  w->invalid.Union(r);
  if (erase) w->eraseNeeded = true;
}

void InvalidateTreeImpl(Wnd* w) {
  AddInvalid(w, gdi::Region(ClientRect(w)), true);
  for (Wnd* c : w->children) {
    if (c->style & WS_VISIBLE) InvalidateTreeImpl(c);
  }
}

void ExposeIn(Wnd* w, const gdi::Region& screenArea) {
  if (!(w->style & WS_VISIBLE)) return;
  gdi::Region part = VisibleRegion(w, true);
  part.Intersect(screenArea);
  if (!part.IsEmpty()) {
    const POINT o = ScreenOrigin(w);
    part.Offset(-o.x, -o.y);
    AddInvalid(w, part, true);
  }
  for (Wnd* c : w->children) ExposeIn(c, screenArea);
}

Wnd* FindPaintIn(Wnd* w) {
  if (!(w->style & WS_VISIBLE) || w->destroyed) return nullptr;
  if (!w->invalid.IsEmpty()) return w;
  for (Wnd* c : w->children) {
    if (Wnd* found = FindPaintIn(c)) return found;
  }
  return nullptr;
}

// Sends WM_PAINT and validates a window that ignored it.
void PaintNow(Wnd* w) {
  const unsigned serial = w->paintSerial;
  const HWND h = w->handle;
  CallProc(w, WM_PAINT, 0, 0);
  Wnd* still = LookupQuiet(h);
  if (still && still->paintSerial == serial) {
    still->invalid.Clear();
    still->eraseNeeded = false;
  }
}

}  // namespace

namespace window::detail {

void Expose(const gdi::Region& screenArea) {
  if (screenArea.IsEmpty()) return;
  std::vector<Wnd*> tops = Sys().topLevel;
  for (Wnd* t : tops) ExposeIn(t, screenArea);
}

void InvalidateTree(Wnd* w) { InvalidateTreeImpl(w); }

Wnd* FindPaintWindow(Wnd* filter) {
  if (filter && IsVisibleChain(filter)) {
    if (Wnd* found = FindPaintIn(filter)) return found;
  }
  for (Wnd* t : Sys().topLevel) {
    if (filter && !t->independent) continue;
    if (Wnd* found = FindPaintIn(t)) return found;
  }
  return nullptr;
}

void ForgetWindowPainting(Wnd* w) {
  w->invalid.Clear();
  w->eraseNeeded = false;
}

// Dispatch of a WM_PAINT taken from the queue.
void DispatchPaint(Wnd* w) { PaintNow(w); }

}  // namespace window::detail

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Wnd* w = Lookup(hwnd);
  if (!w || !ps) return nullptr;
  *ps = PAINTSTRUCT{};
  gdi::Region area = w->invalid;
  area.Intersect(ClientRect(w));
  const bool erase = w->eraseNeeded;
  w->invalid.Clear();
  w->eraseNeeded = false;
  ++w->paintSerial;

  ps->rcPaint = area.Bounds();
  const POINT o = ScreenOrigin(w);
  gdi::Region clip = area;
  clip.Offset(o.x, o.y);
  clip.Intersect(VisibleRegion(w, true));
  ps->hdc = MakeDC(w, clip);
  ps->fErase = FALSE;
  if (erase) {
    const LRESULT erased = CallProc(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0);
    if (!erased && !EraseWithClassBrush(w, ps->hdc, ps->rcPaint)) ps->fErase = TRUE;
  }
  return ps->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  FreeDC(ps->hdc);
  window::MarkFrameDirty();
  (void)hwnd;
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd) {
    const SIZE s = window::GetScreenSize();
    return MakeDC(nullptr, gdi::Region(MakeRect(0, 0, s.cx, s.cy)));
  }
  Wnd* w = Lookup(hwnd);
  if (!w) return nullptr;
  return MakeDC(w, VisibleRegion(w, true));
}

HDC GetWindowDC(HWND hwnd) { return GetDC(hwnd); }

int ReleaseDC(HWND, HDC dc) {
  if (!dc) return 0;
  FreeDC(dc);
  window::MarkFrameDirty();
  return 1;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    std::vector<Wnd*> tops = Sys().topLevel;
    for (Wnd* t : tops) InvalidateTreeImpl(t);
    return TRUE;
  }
  Wnd* w = Lookup(hwnd);
  if (!w) return FALSE;
  AddInvalid(w, gdi::Region(rect ? *rect : ClientRect(w)), erase != FALSE);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Wnd* w = Lookup(hwnd);
  if (!w) return FALSE;
  if (rect) {
    w->invalid.Subtract(*rect);
  } else {
    w->invalid.Clear();
  }
  if (w->invalid.IsEmpty()) w->eraseNeeded = false;
  ++w->paintSerial;
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase) {
  Wnd* w = Lookup(hwnd);
  if (!w) return FALSE;
  if (rect) *rect = w->invalid.Bounds();
  if (erase && !w->invalid.IsEmpty() && w->eraseNeeded) {
    // As on the platform: asking with erase performs the erase now.
    HDC dc = GetDC(hwnd);
    if (CallProc(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)) w->eraseNeeded = false;
    ReleaseDC(hwnd, dc);
  }
  return w->invalid.IsEmpty() ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  Wnd* w = Lookup(hwnd);
  if (!w) return FALSE;
  if (IsVisibleChain(w) && !w->invalid.IsEmpty()) PaintNow(w);
  return TRUE;
}

namespace {
void UpdateTreeNow(Wnd* w) {
  const HWND h = w->handle;
  if (IsVisibleChain(w) && !w->invalid.IsEmpty()) PaintNow(w);
  Wnd* again = LookupQuiet(h);
  if (!again) return;
  std::vector<HWND> kids;
  for (Wnd* c : again->children) kids.push_back(c->handle);
  for (HWND k : kids) {
    if (Wnd* c = LookupQuiet(k)) UpdateTreeNow(c);
  }
}
void ValidateTree(Wnd* w, const gdi::Region* area, bool children) {
  if (area) {
    w->invalid.Subtract(*area);
  } else {
    w->invalid.Clear();
  }
  ++w->paintSerial;
  if (!children) return;
  for (Wnd* c : w->children) {
    if (area) {
      gdi::Region sub = *area;
      sub.Offset(-c->rect.left, -c->rect.top);
      ValidateTree(c, &sub, true);
    } else {
      ValidateTree(c, nullptr, true);
    }
  }
}
void InvalidateArea(Wnd* w, const gdi::Region& area, bool erase, bool children) {
  AddInvalid(w, area, erase);
  if (!children) return;
  for (Wnd* c : w->children) {
    if (!(c->style & WS_VISIBLE)) continue;
    gdi::Region sub = area;
    sub.Offset(-c->rect.left, -c->rect.top);
    InvalidateArea(c, sub, erase, true);
  }
}
}  // namespace

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
  std::vector<Wnd*> targets;
  if (hwnd) {
    Wnd* w = Lookup(hwnd);
    if (!w) return FALSE;
    targets.push_back(w);
  } else {
    targets = Sys().topLevel;
    flags |= RDW_ALLCHILDREN;
  }
  const bool children = (flags & RDW_ALLCHILDREN) != 0;
  for (Wnd* w : targets) {
    const gdi::Region area(rect && hwnd ? *rect : ClientRect(w));
    if (flags & RDW_INVALIDATE) InvalidateArea(w, area, (flags & RDW_ERASE) != 0, children);
    if (flags & RDW_VALIDATE) ValidateTree(w, rect && hwnd ? &area : nullptr, children);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
      if (children) {
        UpdateTreeNow(w);
      } else if (IsVisibleChain(w) && !w->invalid.IsEmpty()) {
        PaintNow(w);
      }
    }
  }
  return TRUE;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRegion,
                   RECT* update, UINT flags) {
  Wnd* w = Lookup(hwnd);
  if (!w) return ERROR_REGION;
  RECT area = scroll ? *scroll : ClientRect(w);
  const RECT client = ClientRect(w);
  IntersectRect(&area, &area, &client);
  if (clip) IntersectRect(&area, &area, clip);
  if (update) SetRectEmpty(update);

  if (flags & SW_SCROLLCHILDREN) {
    // Children move with the content (all of them when no scroll rectangle is given).
    std::vector<HWND> kids;
    for (Wnd* c : w->children) {
      RECT inter;
      if (!scroll || IntersectRect(&inter, &c->rect, scroll)) kids.push_back(c->handle);
    }
    for (HWND k : kids) {
      Wnd* c = LookupQuiet(k);
      if (c) {
        SetWindowPos(k, nullptr, c->rect.left + dx, c->rect.top + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
  }
  if (IsRectEmpty(&area)) return NULLREGION;

  const POINT o = ScreenOrigin(w);
  gdi::Region visible = VisibleRegion(w, true);  // screen
  gdi::Region areaScreen(area);
  areaScreen.Offset(o.x, o.y);
  visible.Intersect(areaScreen);

  // Pixels land where both the source and the destination are visible.
  gdi::Region moved = visible;
  moved.Offset(dx, dy);
  moved.Intersect(visible);

  gdi::PixelBuffer fb = FramePixels();
  if (fb.pixels && !moved.IsEmpty() && (dx || dy)) {
    std::vector<RECT> rects = moved.Rects();
    // Copy in an order that never reads a pixel already overwritten.
    std::sort(rects.begin(), rects.end(), [&](const RECT& a, const RECT& b) {
      if (dy != 0 && a.top != b.top) return dy > 0 ? a.top > b.top : a.top < b.top;
      return dx > 0 ? a.left > b.left : a.left < b.left;
    });
    for (const RECT& r : rects) {
      const int width = r.right - r.left;
      if (dy > 0) {
        for (int y = r.bottom - 1; y >= r.top; --y) {
          std::memmove(fb.pixels + static_cast<std::ptrdiff_t>(y) * fb.stride + r.left,
                       fb.pixels + static_cast<std::ptrdiff_t>(y - dy) * fb.stride + r.left - dx,
                       static_cast<std::size_t>(width) * 4);
        }
      } else {
        for (int y = r.top; y < r.bottom; ++y) {
          std::memmove(fb.pixels + static_cast<std::ptrdiff_t>(y) * fb.stride + r.left,
                       fb.pixels + static_cast<std::ptrdiff_t>(y - dy) * fb.stride + r.left - dx,
                       static_cast<std::size_t>(width) * 4);
        }
      }
    }
    window::MarkFrameDirty();
  }

  // The pending update region inside the area moves with the content.
  gdi::Region pendingInArea = w->invalid;
  pendingInArea.Intersect(area);
  if (!pendingInArea.IsEmpty()) {
    w->invalid.Subtract(area);
    pendingInArea.Offset(dx, dy);
    pendingInArea.Intersect(area);
    w->invalid.Union(pendingInArea);
  }

  // What could not be filled by moving is the uncovered band.
  gdi::Region uncovered = visible;
  uncovered.Subtract(moved);
  uncovered.Offset(-o.x, -o.y);
  if (update) *update = uncovered.Bounds();
  if (updateRegion) {
    SetRectRgn(updateRegion, 0, 0, 0, 0);
    for (const RECT& r : uncovered.Rects()) {
      HRGN part = CreateRectRgnIndirect(&r);
      CombineRgn(updateRegion, updateRegion, part, RGN_OR);
      DeleteObject(part);
    }
  }
  if (flags & SW_INVALIDATE) AddInvalid(w, uncovered, (flags & SW_ERASE) != 0);
  if (uncovered.IsEmpty()) return NULLREGION;
  return uncovered.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
  return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr,
                        SW_INVALIDATE | SW_ERASE | (scroll ? 0u : SW_SCROLLCHILDREN)) != ERROR_REGION;
}

namespace window {

void CreateFramebuffer(int width, int height) {
  Framebuffer& f = Frame();
  if (f.bitmap) DeleteObject(f.bitmap);
  f.bitmap = CreateBitmap(width, height, 1, 32, nullptr);
  gdi::PixelBuffer p = gdi::BitmapPixels(f.bitmap);
  for (int y = 0; p.pixels && y < p.height; ++y) {
    std::fill_n(p.pixels + static_cast<std::ptrdiff_t>(y) * p.stride, p.width, 0xFF000000u);
  }
  f.dirty = true;
  InvalidateRect(nullptr, nullptr, TRUE);
}

FrameView GetFramebuffer() {
  gdi::PixelBuffer p = FramePixels();
  FrameView v;
  v.pixels = p.pixels;
  v.width = p.width;
  v.height = p.height;
  v.stride = p.stride;
  return v;
}

HBITMAP GetFramebufferBitmap() { return Frame().bitmap; }

bool TakeFrameDirty() {
  const bool d = Frame().dirty;
  Frame().dirty = false;
  return d;
}

void MarkFrameDirty() { Frame().dirty = true; }

namespace {
std::function<void()>& Presenter() {
  static std::function<void()> p;
  return p;
}
}  // namespace

void SetPresenter(std::function<void()> presenter) { Presenter() = std::move(presenter); }

void PresentNow() {
  // Blits into a window DC do not mark the frame; whoever asks for it to be
  // shown has drawn something.
  MarkFrameDirty();
  if (Presenter()) Presenter()();
}

}  // namespace window
