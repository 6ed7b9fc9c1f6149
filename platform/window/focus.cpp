// Focus, capture and activation: which window takes the keys, which one the
// stylus, and which top-level window is in front; and how they move on when
// their window is hidden or destroyed.
#include <cstdint>
#include <vector>

#include "platform/window/window.h"
#include "platform/window/window_impl.h"

namespace window::detail {

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

}  // namespace window::detail

using namespace window::detail;


HWND SetFocus(HWND hwnd) {
  const CheckInvariantsOnReturn check;
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
  const CheckInvariantsOnReturn check;
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
  const CheckInvariantsOnReturn check;
  WindowSystem& s = Sys();
  Wnd* old = s.capture;
  s.capture = nullptr;
  if (old) CallProc(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return Sys().capture ? Sys().capture->handle : nullptr; }

HWND SetActiveWindow(HWND hwnd) {
  const CheckInvariantsOnReturn check;
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
