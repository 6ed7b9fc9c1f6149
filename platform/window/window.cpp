#include "platform/window/window.h"

#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "platform/win32/errors.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/framework.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/timer.h"
#include "platform/window/window_impl.h"

namespace window::detail {

namespace {

std::mutex g_liveLock;
std::unordered_set<HWND> g_live;  // handles of live windows, for other threads
std::thread::id g_uiThread;
bool g_uiThreadSet = false;

LRESULT CALLBACK_Default(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

std::u16string ClassKey(std::u16string_view name) { return text::ToLower(name); }

// The framework's own class, used by CWnd::Create when no class is named and
// by CreateWindowExW for names never registered by the program's framework.
const WindowClass* DefaultClass() {
  WindowSystem& s = Sys();
  auto it = s.classes.find(u"mivownd");
  if (it != s.classes.end()) return it->second.get();
  auto wc = std::make_unique<WindowClass>();
  wc->name = u"mivoWnd";
  wc->info.lpfnWndProc = CALLBACK_Default;
  const WindowClass* result = wc.get();
  s.classes[u"mivownd"] = std::move(wc);
  return result;
}

std::vector<Wnd*>& SiblingList(Wnd* w) { return w->parent ? w->parent->children : Sys().topLevel; }

// Index at which a window enters its sibling list when placed "on top":
// a top-level window that is not topmost goes below the topmost ones.
std::size_t TopInsertIndex(const std::vector<Wnd*>& list, const Wnd* w) {
  if (w->parent || (w->exStyle & WS_EX_TOPMOST)) return 0;
  std::size_t i = 0;
  while (i < list.size() && (list[i]->exStyle & WS_EX_TOPMOST)) ++i;
  return i;
}

void RemoveFromList(std::vector<Wnd*>& list, Wnd* w) {
  list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

}  // namespace

WindowSystem& Sys() {
  static WindowSystem s;
  return s;
}

void MarkUiThread() {
  if (!g_uiThreadSet) {
    g_uiThread = std::this_thread::get_id();
    g_uiThreadSet = true;
  }
}

bool OnUiThread() { return !g_uiThreadSet || std::this_thread::get_id() == g_uiThread; }

Wnd* LookupQuiet(HWND hwnd) {
  if (!hwnd) return nullptr;
  WindowSystem& s = Sys();
  auto it = s.table.find(hwnd);
  if (it == s.table.end() || it->second->destroyed) return nullptr;
  return it->second.get();
}

Wnd* Lookup(HWND hwnd) {
  Wnd* w = LookupQuiet(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

bool IsLiveHandle(HWND hwnd) {
  std::lock_guard<std::mutex> g(g_liveLock);
  return g_live.count(hwnd) != 0;
}

LRESULT CallProc(Wnd* w, UINT msg, WPARAM wp, LPARAM lp) {
  if (!w || w->destroyed) return 0;
  struct DepthGuard {
    DepthGuard() { ++Sys().callDepth; }
    ~DepthGuard() { --Sys().callDepth; }
  } guard;
  if (w->object) return w->object->WindowProc(msg, wp, lp);
  return (w->proc ? w->proc : CALLBACK_Default)(w->handle, msg, wp, lp);
}

void CollectGarbage() {
  WindowSystem& s = Sys();
  if (s.callDepth == 0) s.graveyard.clear();
}

POINT ScreenOrigin(const Wnd* w) {
  POINT p{};
  for (const Wnd* a = w; a; a = a->parent) {
    p.x += a->rect.left;
    p.y += a->rect.top;
  }
  return p;
}

RECT ScreenRect(const Wnd* w) {
  const POINT o = ScreenOrigin(w);
  return MakeRect(o.x, o.y, o.x + RectWidth(w->rect), o.y + RectHeight(w->rect));
}

RECT ClientRect(const Wnd* w) { return MakeRect(0, 0, RectWidth(w->rect), RectHeight(w->rect)); }

bool IsVisibleChain(const Wnd* w) {
  for (const Wnd* a = w; a; a = a->parent) {
    if (!(a->style & WS_VISIBLE)) return false;
  }
  return true;
}

bool IsDescendantOrSelf(const Wnd* w, const Wnd* ancestor) {
  for (const Wnd* a = w; a; a = a->parent) {
    if (a == ancestor) return true;
  }
  return false;
}

bool PassesFilter(const Wnd* w, const Wnd* filter) {
  if (!filter) return true;
  if (!w) return false;
  if (IsDescendantOrSelf(w, filter)) return true;
  const Wnd* root = w;
  while (root->parent) root = root->parent;
  return root->independent;
}

gdi::Region VisibleRegion(const Wnd* w, bool clipChildren) {
  if (!IsVisibleChain(w)) return gdi::Region();
  WindowSystem& s = Sys();
  gdi::Region r(ScreenRect(w));
  r.Intersect(MakeRect(0, 0, s.screenWidth, s.screenHeight));
  for (const Wnd* a = w; a && !r.IsEmpty(); a = a->parent) {
    if (a->parent) r.Intersect(ScreenRect(a->parent));
    const std::vector<Wnd*>& siblings = a->parent ? a->parent->children : s.topLevel;
    for (const Wnd* sib : siblings) {
      if (sib == a) break;
      if (sib->style & WS_VISIBLE) r.Subtract(ScreenRect(sib));
    }
  }
  if (clipChildren) {
    for (const Wnd* c : w->children) {
      if (c->style & WS_VISIBLE) r.Subtract(ScreenRect(c));
    }
  }
  return r;
}

}  // namespace window::detail

using namespace window::detail;

namespace {

void AddLive(HWND h) {
  std::lock_guard<std::mutex> g(g_liveLock);
  g_live.insert(h);
}
void RemoveLive(HWND h) {
  std::lock_guard<std::mutex> g(g_liveLock);
  g_live.erase(h);
}

void SendSizeAndMove(Wnd* w) {
  CallProc(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(RectWidth(w->rect)),
                                                 static_cast<WORD>(RectHeight(w->rect))));
  if (w->destroyed) return;
  CallProc(w, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(w->rect.left), static_cast<WORD>(w->rect.top)));
}

// The window leaves the screen: its area is repainted by what lies beneath.
void ExposeWindowArea(Wnd* w, const gdi::Region& wasVisible) {
  if (!wasVisible.IsEmpty()) Expose(wasVisible);
}

// Focus, capture and activation leave a window that is hidden or destroyed.
void DropInputState(Wnd* w, bool destroying) {
  WindowSystem& s = Sys();
  if (s.capture && IsDescendantOrSelf(s.capture, w)) {
    Wnd* old = s.capture;
    s.capture = nullptr;
    if (!old->destroyed) CallProc(old, WM_CAPTURECHANGED, 0, 0);
  }
  if (s.focus && IsDescendantOrSelf(s.focus, w)) {
    // The focus moves to the nearest visible ancestor outside the window.
    Wnd* next = w->parent;
    while (next && (!IsVisibleChain(next) || next->destroying)) next = next->parent;
    if (destroying) {
      Wnd* old = s.focus;
      s.focus = nullptr;
      if (!old->destroying && !old->destroyed) CallProc(old, WM_KILLFOCUS, 0, 0);
      if (next) SetFocus(next->handle);
    } else {
      SetFocus(next ? next->handle : nullptr);
    }
  }
  if (s.active == w) {
    s.active = nullptr;
    if (!destroying) CallProc(w, WM_ACTIVATE, WA_INACTIVE, 0);
    // The next visible top-level window becomes active.
    for (Wnd* t : s.topLevel) {
      if (t != w && (t->style & WS_VISIBLE) && !t->destroying && !(t->exStyle & WS_EX_NOACTIVATE)) {
        SetActiveWindow(t->handle);
        break;
      }
    }
  }
}

void DestroyRecursive(Wnd* w, std::vector<Wnd*>& order) {
  w->destroying = true;
  CallProc(w, WM_DESTROY, 0, 0);
  KillWindowTimers(w->handle);
  std::vector<Wnd*> kids = w->children;
  for (Wnd* c : kids) {
    if (!c->destroying) DestroyRecursive(c, order);
  }
  order.push_back(w);  // children are pushed before their parent
}

}  // namespace

// ---- Classes ---------------------------------------------------------------------

ATOM RegisterClassW(const WNDCLASSW* wc) {
  if (!wc || !wc->lpszClassName || !*wc->lpszClassName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WindowSystem& s = Sys();
  const std::u16string key = text::ToLower(wc->lpszClassName);
  if (s.classes.count(key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto cls = std::make_unique<WindowClass>();
  cls->name = wc->lpszClassName;
  cls->info = *wc;
  cls->info.lpszClassName = nullptr;
  cls->info.lpszMenuName = nullptr;
  s.classes[key] = std::move(cls);
  return static_cast<ATOM>(0xC000 + (s.classes.size() & 0x3FFF));
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
  if (!className) return FALSE;
  WindowSystem& s = Sys();
  auto it = s.classes.find(text::ToLower(className));
  if (it == s.classes.end()) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  for (auto& [h, w] : s.table) {
    if (!w->destroyed && w->cls == it->second.get()) {
      SetLastError(ERROR_ACCESS_DENIED);  // still in use
      return FALSE;
    }
  }
  s.classes.erase(it);
  return TRUE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, WNDCLASSW* wc) {
  if (!className || !wc) return FALSE;
  auto it = Sys().classes.find(text::ToLower(className));
  if (it == Sys().classes.end()) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *wc = it->second->info;
  wc->lpszClassName = it->second->name.c_str();
  return TRUE;
}

// ---- Creation and destruction ---------------------------------------------------------

namespace window::detail {

// CWnd::CreateEx binds its object before the first message; plain
// CreateWindowExW passes null.
HWND CreateWindowBound(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                       int width, int height, HWND parentHandle, HMENU menu, LPVOID param, CWnd* object) {
  MarkUiThread();
  WindowSystem& s = Sys();
  const WindowClass* cls = nullptr;
  if (className && *className) {
    auto it = s.classes.find(ClassKey(className));
    if (it != s.classes.end()) {
      cls = it->second.get();
    } else if (!object) {
      SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
      return nullptr;
    } else {
      // A framework object names its own class: it is registered on first use
      // with the default procedure (the object handles the messages).
      auto wc = std::make_unique<WindowClass>();
      wc->name = className;
      wc->info.lpfnWndProc = CALLBACK_Default;
      cls = wc.get();
      s.classes[ClassKey(className)] = std::move(wc);
    }
  }
  if (!cls) cls = DefaultClass();

  Wnd* parent = nullptr;
  Wnd* owner = nullptr;
  if (parentHandle) {
    Wnd* p = Lookup(reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(parentHandle) & ~std::uintptr_t{1}));
    if (!p) return nullptr;
    if (style & WS_CHILD) {
      parent = p;
    } else {
      owner = p;
      while (owner->parent) owner = owner->parent;
    }
  } else if (style & WS_CHILD) {
    SetLastError(ERROR_INVALID_PARAMETER);  // a child needs a parent
    return nullptr;
  }

  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) {
    width = parent ? 0 : s.screenWidth;
    height = parent ? 0 : s.screenHeight;
  }
  width = std::max(width, 0);
  height = std::max(height, 0);

  auto owned = std::make_unique<Wnd>();
  Wnd* w = owned.get();
  w->handle = reinterpret_cast<HWND>(s.nextHandle);
  s.nextHandle += 4;
  w->cls = cls;
  w->proc = cls->info.lpfnWndProc;
  w->object = object;
  w->style = (style & ~WS_VISIBLE) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  w->exStyle = exStyle;
  w->parent = parent;
  w->owner = owner;
  w->rect = MakeRect(x, y, x + width, y + height);
  w->id = (style & WS_CHILD) ? reinterpret_cast<UINT_PTR>(menu) : 0;
  w->extra.assign(static_cast<std::size_t>(std::max(0, cls->info.cbWndExtra)) / sizeof(LONG_PTR) + 1, 0);
  const HWND h = w->handle;
  s.table[h] = std::move(owned);
  AddLive(h);
  std::vector<Wnd*>& list = parent ? parent->children : s.topLevel;
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(TopInsertIndex(list, w)), w);
  if (object) object->AttachHandle(h);

  CREATESTRUCTW cs;
  cs.lpCreateParams = param;
  cs.hMenu = menu;
  cs.hwndParent = parentHandle;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  if (!CallProc(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    if (!w->destroyed) DestroyWindow(h);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (w->destroyed) return nullptr;
  // The default procedure stored the text on WM_NCCREATE; a procedure that
  // handled WM_NCCREATE itself still gets its name.
  if (windowName && w->text.empty()) w->text = windowName;
  if (CallProc(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (!w->destroyed) DestroyWindow(h);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (w->destroyed) return nullptr;
  w->created = true;
  SendSizeAndMove(w);
  if (w->destroyed) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return LookupQuiet(h) ? h : nullptr;
}

}  // namespace window::detail

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE, LPVOID param) {
  return CreateWindowBound(exStyle, className, windowName, style, x, y, width, height, parent, menu, param,
                           nullptr);
}

BOOL DestroyWindow(HWND hwnd) {
  Wnd* w = Lookup(hwnd);
  if (!w) return FALSE;
  if (w->destroying) return TRUE;  // already on its way out (a handler called it again)
  WindowSystem& s = Sys();

  // Owned pop-ups go first.
  std::vector<HWND> ownedWindows;
  for (Wnd* t : s.topLevel) {
    if (t->owner == w) ownedWindows.push_back(t->handle);
  }
  for (HWND o : ownedWindows) DestroyWindow(o);

  const gdi::Region wasVisible = VisibleRegion(w, false);
  w->style &= ~WS_VISIBLE;
  ExposeWindowArea(w, wasVisible);

  std::vector<Wnd*> order;
  w->destroying = true;
  DropInputState(w, true);
  DestroyRecursive(w, order);

  for (Wnd* d : order) {
    CallProc(d, WM_NCDESTROY, 0, 0);
    KillWindowTimers(d->handle);
    PurgeWindowMessages(d->handle);
    ForgetWindowPainting(d);
    if (s.focus == d) s.focus = nullptr;
    if (s.capture == d) s.capture = nullptr;
    if (s.active == d) s.active = nullptr;
    RemoveFromList(d->parent ? d->parent->children : s.topLevel, d);
    for (Wnd* t : s.topLevel) {
      if (t->owner == d) t->owner = nullptr;
    }
    d->destroyed = true;
    RemoveLive(d->handle);
    CWnd* object = d->object;
    d->object = nullptr;
    if (object) object->DetachAfterDestroy();
  }
  // Handles are never reused, so a stale one fails its lookup once the
  // object leaves the table. The objects themselves wait in the graveyard
  // until no handler can still hold a pointer to them.
  for (Wnd* d : order) {
    d->children.clear();
    d->invalid.Clear();
    auto it = s.table.find(d->handle);
    if (it != s.table.end()) {
      s.graveyard.push_back(std::move(it->second));
      s.table.erase(it);
    }
  }
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return LookupQuiet(hwnd) ? TRUE : FALSE; }

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!proc) return 0;
  return proc(hwnd, msg, wp, lp);
}

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Wnd* w = LookupQuiet(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
      if (cs && cs->lpszName) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_CONTEXTMENU:
      // An unhandled context menu goes up to the parent.
      if (w->parent) return SendMessageW(w->parent->handle, WM_CONTEXTMENU, wp, lp);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 0;  // painted by the window system's erase (paint.cpp) when the class has a brush
    case WM_SETTEXT: {
      const auto* t = reinterpret_cast<const char16_t*>(lp);
      w->text = t ? t : u"";
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<char16_t*>(lp);
      if (!buf || wp == 0) return 0;
      return static_cast<LRESULT>(text::CopyTo(buf, static_cast<std::size_t>(wp), w->text));
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wp);
      if (LOWORD(static_cast<std::uintptr_t>(lp))) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    case WM_ACTIVATE:
      // Activation gives the focus to the window unless it is already inside.
      if (LOWORD(wp) != WA_INACTIVE) {
        Wnd* f = Sys().focus;
        if (!f || !IsDescendantOrSelf(f, w)) SetFocus(hwnd);
      }
      return 0;
    case WM_SHOWWINDOW:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return 0;
    default:
      return 0;
  }
}

// ---- Geometry --------------------------------------------------------------------------

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  Wnd* w = Lookup(hwnd);
  if (!w) return FALSE;
  WindowSystem& s = Sys();
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
  (void)s;
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

// ---- Visibility ------------------------------------------------------------------------

BOOL ShowWindow(HWND hwnd, int cmd) {
  Wnd* w = Lookup(hwnd);
  if (!w) return FALSE;
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  const bool show = cmd != SW_HIDE && cmd != SW_MINIMIZE && cmd != SW_SHOWMINIMIZED && cmd != SW_SHOWMINNOACTIVE;
  if (cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE) {
    w->style |= WS_MINIMIZE;
  } else if (show) {
    w->style &= ~WS_MINIMIZE;
  }
  if (show != wasVisible) {
    CallProc(w, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (w->destroyed) return wasVisible;
    if (show) {
      w->style |= WS_VISIBLE;
      if (IsVisibleChain(w)) {
        // What it covers now is no longer visible below; it paints in full.
        InvalidateTree(w);
      }
    } else {
      const gdi::Region area = VisibleRegion(w, false);
      w->style &= ~WS_VISIBLE;
      Expose(area);
      DropInputState(w, false);
    }
  }
  if (show && !w->parent && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && !(w->exStyle & WS_EX_NOACTIVATE) &&
      Sys().active != w) {
    SetActiveWindow(hwnd);
  }
  return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  Wnd* w = LookupQuiet(hwnd);
  return w && IsVisibleChain(w) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Wnd* w = Lookup(hwnd);
  if (!w) return FALSE;
  const bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (enable && wasDisabled) {
    w->style &= ~WS_DISABLED;
    CallProc(w, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    w->style |= WS_DISABLED;
    if (Sys().focus && IsDescendantOrSelf(Sys().focus, w)) SetFocus(nullptr);
    if (Sys().capture == w) ReleaseCapture();
    CallProc(w, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Wnd* w = LookupQuiet(hwnd);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
  Wnd* w = LookupQuiet(hwnd);
  return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

// ---- Relations --------------------------------------------------------------------------

HWND GetParent(HWND hwnd) {
  Wnd* w = Lookup(hwnd);
  if (!w) return nullptr;
  if (w->parent) return w->parent->handle;
  return w->owner ? w->owner->handle : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  Wnd* w = Lookup(child);
  if (!w) return nullptr;
  Wnd* p = nullptr;
  if (newParent) {
    p = Lookup(newParent);
    if (!p || IsDescendantOrSelf(p, w)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  }
  WindowSystem& s = Sys();
  const HWND old = w->parent ? w->parent->handle : nullptr;
  const gdi::Region before = VisibleRegion(w, false);
  RemoveFromList(SiblingList(w), w);
  w->parent = p;
  if (p) {
    w->style |= WS_CHILD;
  } else {
    w->style &= ~WS_CHILD;
  }
  std::vector<Wnd*>& list = p ? p->children : s.topLevel;
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(TopInsertIndex(list, w)), w);
  Expose(before);
  if (IsVisibleChain(w)) InvalidateTree(w);
  return old;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Wnd* w = Lookup(hwnd);
  if (!w) return nullptr;
  switch (flags) {
    case GA_PARENT:
      return w->parent ? w->parent->handle : GetDesktopWindow();
    case GA_ROOT:
      while (w->parent) w = w->parent;
      return w->handle;
    case GA_ROOTOWNER:
      while (w->parent || w->owner) w = w->parent ? w->parent : w->owner;
      return w->handle;
    default:
      return nullptr;
  }
}

BOOL IsChild(HWND parent, HWND hwnd) {
  Wnd* p = LookupQuiet(parent);
  Wnd* w = LookupQuiet(hwnd);
  return p && w && w != p && IsDescendantOrSelf(w, p) ? TRUE : FALSE;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  Wnd* w = Lookup(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  if (cmd == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
  std::vector<Wnd*>& list = SiblingList(w);
  const auto it = std::find(list.begin(), list.end(), w);
  switch (cmd) {
    case GW_HWNDFIRST:
      return list.front()->handle;
    case GW_HWNDLAST:
      return list.back()->handle;
    case GW_HWNDNEXT:
      return (it + 1) != list.end() ? (*(it + 1))->handle : nullptr;
    case GW_HWNDPREV:
      return it != list.begin() ? (*(it - 1))->handle : nullptr;
    default:
      return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) return Sys().topLevel.empty() ? nullptr : Sys().topLevel.front()->handle;
  return GetWindow(hwnd, GW_CHILD);
}

HWND GetDlgItem(HWND parent, int id) {
  Wnd* p = Lookup(parent);
  if (!p) return nullptr;
  for (Wnd* c : p->children) {
    if (static_cast<int>(c->id) == id) return c->handle;
  }
  SetLastError(ERROR_NOT_FOUND);
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Wnd* w = Lookup(hwnd);
  return w ? static_cast<int>(w->id) : 0;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
  if (!callback) return FALSE;
  std::vector<HWND> handles;
  for (Wnd* t : Sys().topLevel) handles.push_back(t->handle);
  for (HWND h : handles) {
    if (!LookupQuiet(h)) continue;
    if (!callback(h, lParam)) return FALSE;
  }
  return TRUE;
}

namespace {
void CollectDescendants(Wnd* w, std::vector<HWND>& out) {
  for (Wnd* c : w->children) {
    out.push_back(c->handle);
    CollectDescendants(c, out);
  }
}
}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam) {
  Wnd* p = Lookup(parent);
  if (!p || !callback) return FALSE;
  std::vector<HWND> handles;
  CollectDescendants(p, handles);
  for (HWND h : handles) {
    if (!LookupQuiet(h)) continue;
    if (!callback(h, lParam)) return FALSE;
  }
  return TRUE;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  for (Wnd* t : Sys().topLevel) {
    if (className && !text::EqualsNoCase(t->cls->name, className)) continue;
    if (windowName && t->text != windowName) continue;
    return t->handle;
  }
  SetLastError(ERROR_NOT_FOUND);
  return nullptr;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount) {
  Wnd* w = Lookup(hwnd);
  if (!w || !buffer || maxCount <= 0) return 0;
  return static_cast<int>(text::CopyTo(buffer, static_cast<std::size_t>(maxCount), w->cls->name));
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  if (!LookupQuiet(hwnd)) return 0;
  if (processId) *processId = static_cast<DWORD>(getpid());
  return 1;
}

HWND GetDesktopWindow() { return nullptr; }

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
  Wnd* w = Lookup(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(w->exStyle);
    case GWL_USERDATA:
      return w->userData;
    case GWL_ID:
      return static_cast<LONG_PTR>(w->id);
    case GWL_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->parent ? w->parent->handle : (w->owner ? w->owner->handle : nullptr));
    default:
      if (index >= 0 && static_cast<std::size_t>(index) / sizeof(LONG_PTR) < w->extra.size()) {
        return w->extra[static_cast<std::size_t>(index) / sizeof(LONG_PTR)];
      }
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  Wnd* w = Lookup(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtrW(hwnd, index);
  switch (index) {
    case GWL_STYLE: {
      const DWORD visible = w->style & WS_VISIBLE;
      w->style = (static_cast<DWORD>(value) & ~WS_VISIBLE) | visible | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
      break;
    }
    case GWL_EXSTYLE:
      w->exStyle = static_cast<DWORD>(value);
      break;
    case GWL_USERDATA:
      w->userData = value;
      break;
    case GWL_ID:
      w->id = static_cast<UINT_PTR>(value);
      break;
    case GWL_WNDPROC:
      w->proc = reinterpret_cast<WNDPROC>(value);
      break;
    default:
      if (index >= 0 && static_cast<std::size_t>(index) / sizeof(LONG_PTR) < w->extra.size()) {
        w->extra[static_cast<std::size_t>(index) / sizeof(LONG_PTR)] = value;
      } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
      }
  }
  return old;
}

LONG GetWindowLongW(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtrW(hwnd, index)); }
LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrW(hwnd, index, value));
}

// ---- Text --------------------------------------------------------------------------------

BOOL SetWindowTextW(HWND hwnd, LPCWSTR textValue) {
  if (!Lookup(hwnd)) return FALSE;
  return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(textValue ? textValue : u"")) ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount) {
  if (!Lookup(hwnd) || !buffer || maxCount <= 0) return 0;
  buffer[0] = 0;
  return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                       reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) {
  if (!Lookup(hwnd)) return 0;
  return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

// ---- Focus, capture, activation ------------------------------------------------------------

HWND SetFocus(HWND hwnd) {
  WindowSystem& s = Sys();
  Wnd* w = nullptr;
  if (hwnd) {
    w = Lookup(hwnd);
    if (!w || w->destroying) return nullptr;
    if (w->style & WS_DISABLED) return nullptr;
  }
  Wnd* old = s.focus;
  const HWND oldHandle = old ? old->handle : nullptr;
  if (old == w) return oldHandle;
  // Focusing a window in another top-level window activates that one first.
  if (w) {
    Wnd* root = w;
    while (root->parent) root = root->parent;
    if (s.active != root && !(root->exStyle & WS_EX_NOACTIVATE)) {
      s.focus = nullptr;  // activation must not steal the focus back to the root
      if (old && !old->destroyed) CallProc(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
      Wnd* prevActive = s.active;
      s.active = root;
      if (prevActive && !prevActive->destroyed) {
        CallProc(prevActive, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(root->handle));
      }
      s.focus = w;
      CallProc(root, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(prevActive ? prevActive->handle : nullptr));
      if (s.focus == w && !w->destroyed) CallProc(w, WM_SETFOCUS, reinterpret_cast<WPARAM>(oldHandle), 0);
      return oldHandle;
    }
  }
  s.focus = w;
  if (old && !old->destroyed) CallProc(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (w && s.focus == w && !w->destroyed) CallProc(w, WM_SETFOCUS, reinterpret_cast<WPARAM>(oldHandle), 0);
  return oldHandle;
}

HWND GetFocus() { return Sys().focus ? Sys().focus->handle : nullptr; }

HWND SetCapture(HWND hwnd) {
  WindowSystem& s = Sys();
  Wnd* w = Lookup(hwnd);
  if (!w) return nullptr;
  Wnd* old = s.capture;
  const HWND oldHandle = old ? old->handle : nullptr;
  s.capture = w;
  if (old && old != w) CallProc(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return oldHandle;
}

BOOL ReleaseCapture() {
  WindowSystem& s = Sys();
  Wnd* old = s.capture;
  s.capture = nullptr;
  if (old) CallProc(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return Sys().capture ? Sys().capture->handle : nullptr; }

HWND SetActiveWindow(HWND hwnd) {
  WindowSystem& s = Sys();
  Wnd* w = Lookup(hwnd);
  if (!w) return nullptr;
  while (w->parent) w = w->parent;
  Wnd* old = s.active;
  const HWND oldHandle = old ? old->handle : nullptr;
  if (old == w) return oldHandle;
  s.active = w;
  if (old && !old->destroyed) CallProc(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(w->handle));
  if (!w->destroyed && s.active == w) CallProc(w, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(oldHandle));
  return oldHandle;
}

HWND GetActiveWindow() { return Sys().active ? Sys().active->handle : nullptr; }

BOOL SetForegroundWindow(HWND hwnd) {
  // The lowest bit asks for the owned pop-ups to come along; they are owned
  // and stay above their owner anyway.
  const HWND plain = reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(hwnd) & ~std::uintptr_t{1});
  Wnd* w = Lookup(plain);
  if (!w) return FALSE;
  while (w->parent) w = w->parent;
  SetWindowPos(w->handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Owned pop-ups are placed back above their owner.
  std::vector<Wnd*> owned;
  for (Wnd* t : Sys().topLevel) {
    if (t->owner == w) owned.push_back(t);
  }
  for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
    SetWindowPos((*it)->handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (LookupQuiet(w->handle)) SetActiveWindow(w->handle);
  return TRUE;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

// ---- The screen --------------------------------------------------------------------------

namespace window {

void SetShellWindow(HWND hwnd) {
  if (Wnd* w = Lookup(hwnd)) w->independent = true;
}

void SetScreenSize(int width, int height) {
  Sys().screenWidth = width;
  Sys().screenHeight = height;
}

SIZE GetScreenSize() {
  SIZE s;
  s.cx = Sys().screenWidth;
  s.cy = Sys().screenHeight;
  return s;
}

namespace {
std::vector<ScreenListener>& Listeners() {
  static std::vector<ScreenListener> l;
  return l;
}
}  // namespace

void AddScreenListener(ScreenListener listener) { Listeners().push_back(std::move(listener)); }

void ChangeScreenSize(int width, int height) {
  WindowSystem& s = Sys();
  const RECT oldScreen = MakeRect(0, 0, s.screenWidth, s.screenHeight);
  s.screenWidth = width;
  s.screenHeight = height;
  CreateFramebuffer(width, height);
  std::vector<HWND> full;
  for (Wnd* t : s.topLevel) {
    if (t->rect == oldScreen) full.push_back(t->handle);
  }
  for (HWND h : full) MoveWindow(h, 0, 0, width, height, TRUE);
  for (const ScreenListener& l : Listeners()) l(width, height);
  InvalidateRect(nullptr, nullptr, TRUE);
}

namespace {
void Walk(Wnd* w, int depth, const std::function<void(HWND, int)>& fn) {
  fn(w->handle, depth);
  std::vector<Wnd*> kids = w->children;
  for (Wnd* c : kids) {
    if (!c->destroyed) Walk(c, depth + 1, fn);
  }
}
}  // namespace

void ForEachWindow(const std::function<void(HWND, int)>& fn) {
  std::vector<Wnd*> tops = Sys().topLevel;
  for (Wnd* t : tops) {
    if (!t->destroyed) Walk(t, 0, fn);
  }
}

void ResetWindowSystem() {
  WindowSystem& s = Sys();
  while (!s.topLevel.empty()) {
    Wnd* t = s.topLevel.front();
    if (!DestroyWindow(t->handle)) RemoveFromList(s.topLevel, t);
  }
  s.table.clear();
  s.graveyard.clear();
  s.classes.clear();
  s.focus = s.active = s.capture = nullptr;
  {
    std::lock_guard<std::mutex> g(g_liveLock);
    g_live.clear();
  }
  ResetTimers();
  ResetQueue();
}

}  // namespace window
