// Relations and enumeration: parents, owners, siblings and children, finding
// windows, and the per-window values (GetWindowLong).
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/win32/errors.h"
#include "platform/win32/text.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

using namespace window::detail;

HWND GetParent(HWND hwnd) {
  Wnd* w = Lookup(hwnd);
  if (!w) return nullptr;
  if (w->parent) return w->parent->handle;
  return w->owner ? w->owner->handle : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  const CheckInvariantsOnReturn check;
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

namespace window {

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

}  // namespace window
