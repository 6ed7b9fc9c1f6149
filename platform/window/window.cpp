// Windows: the window table and its lookups, classes, creation and
// destruction, the default procedure, visibility and text. Beside it:
// geometry.cpp (placing and stacking), relations.cpp (parents, siblings,
// enumeration, window values), focus.cpp (focus, capture, activation) and
// screen.cpp (the screen's size and turning).
#include "platform/window/window.h"

#include <algorithm>
#include <cassert>
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

}  // namespace

std::vector<Wnd*>& SiblingList(Wnd* w) { return w->parent ? w->parent->children : Sys().topLevel; }

std::size_t TopInsertIndex(const std::vector<Wnd*>& list, const Wnd* w) {
  if (w->parent || (w->exStyle & WS_EX_TOPMOST)) return 0;
  std::size_t i = 0;
  while (i < list.size() && (list[i]->exStyle & WS_EX_TOPMOST)) ++i;
  return i;
}

void RemoveFromList(std::vector<Wnd*>& list, Wnd* w) {
  list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

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

#ifndef NDEBUG
void CheckInvariants() {
  WindowSystem& s = Sys();
  if (s.callDepth != 0) return;
  const auto live = [](const Wnd* w) { return w && !w->destroyed && LookupQuiet(w->handle) == w; };
  for (const auto& [handle, owned] : s.table) {
    const Wnd* w = owned.get();
    if (w->destroyed) continue;
    assert((!w->parent || live(w->parent)) && "a live window's parent is live");
    assert((!w->owner || live(w->owner)) && "a live window's owner is live");
    const std::vector<Wnd*>& list = w->parent ? w->parent->children : s.topLevel;
    assert(std::count(list.begin(), list.end(), w) == 1 && "a live window stands once in its sibling list");
    for (const Wnd* c : w->children) assert(live(c) && c->parent == w && "a window's children are live");
  }
  for (const Wnd* t : s.topLevel) assert(live(t) && !t->parent && "the top-level windows are live");
  assert((!s.focus || live(s.focus)) && "the focus is a live window");
  assert((!s.capture || live(s.capture)) && "the capture is a live window");
  assert((!s.active || live(s.active)) && "the active window is a live window");
}
#endif

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

void DestroyRecursive(Wnd* w, std::vector<Wnd*>& order) {
  w->destroying = true;
  CallProc(w, WM_DESTROY, 0, 0);
  w->closed = true;  // children made from here on would be missed below
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
  const CheckInvariantsOnReturn check;
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
      if (p->closed) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);  // on its way out, past its WM_DESTROY
        return nullptr;
      }
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
  const CheckInvariantsOnReturn check;
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
    // Owned windows lose their owner, even one made a child since.
    for (auto& [handle, t] : s.table) {
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

// ---- Visibility ------------------------------------------------------------------------

BOOL ShowWindow(HWND hwnd, int cmd) {
  const CheckInvariantsOnReturn check;
  Wnd* w = Lookup(hwnd);
  if (!w) return FALSE;
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  const bool wasMinimized = (w->style & WS_MINIMIZE) != 0;
  const bool minimize = cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE;
  const bool show = cmd != SW_HIDE && !minimize;
  if (minimize) {
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
  if (!w->parent && !w->destroyed && minimize != wasMinimized && (minimize || show)) NotifyMinimized(w, minimize);
  return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  Wnd* w = LookupQuiet(hwnd);
  return w && IsVisibleChain(w) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  const CheckInvariantsOnReturn check;
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

// ---- A fresh start ----------------------------------------------------------------------

namespace window {

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
