#include "platform/window/input.h"

#include <vector>

#include "platform/win32/rect.h"
#include "platform/window/message.h"
#include "platform/window/timer.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

using namespace window::detail;

namespace window::input {

namespace {

struct StylusState {
  bool down = false;        // a press is in progress
  bool held = false;        // the press became a tap-and-hold: its release is swallowed
  POINT press{};            // where it started (screen)
  POINT last{};             // the latest point (screen)
  InternalTimerId holdTimer = 0;
  std::vector<std::pair<KeyHookId, KeyHook>> keyHooks;  // asked last-added first
  KeyHookId nextHookId = 1;
};

StylusState& S() {
  static StylusState s;
  return s;
}

bool HookedKey(UINT vk, bool down) {
  const auto hooks = S().keyHooks;  // a hook may add or remove hooks
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
    if (it->second && it->second(vk, down)) return true;
  }
  return false;
}

HWND MouseTarget(POINT pt) {
  if (HWND cap = GetCapture()) return cap;
  return WindowFromPoint(pt);
}

void PostMouse(UINT msg, POINT pt, WPARAM keys) {
  const HWND target = MouseTarget(pt);
  if (!target) return;
  POINT client = pt;
  ScreenToClient(target, &client);
  PostMessageW(target, msg, keys, MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
}

void CancelHold() {
  if (S().holdTimer) KillInternalTimer(S().holdTimer);
  S().holdTimer = 0;
}

void OnHold() {
  StylusState& s = S();
  s.holdTimer = 0;
  if (!s.down) return;
  s.held = true;
  // The press became a gesture of its own: whoever holds the capture for it
  // will not see its release, so it loses the capture now (WM_CAPTURECHANGED).
  if (GetCapture()) ReleaseCapture();
  const HWND target = WindowFromPoint(s.last);
  if (!target) return;
  PostMessageW(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target),
               MAKELPARAM(static_cast<WORD>(s.last.x), static_cast<WORD>(s.last.y)));
}

}  // namespace

void StylusDown(int x, int y) {
  StylusState& s = S();
  if (s.down) StylusUp(s.last.x, s.last.y);  // a lost release: end the old press first
  s.down = true;
  s.held = false;
  s.press = s.last = MakePoint(x, y);
  CancelHold();
  s.holdTimer = SetInternalTimer(kHoldMs, OnHold);
  PostMouse(WM_LBUTTONDOWN, s.press, MK_LBUTTON);
}

void StylusMove(int x, int y) {
  StylusState& s = S();
  if (!s.down) return;  // a touch screen knows no hovering
  s.last = MakePoint(x, y);
  const int dx = x - s.press.x, dy = y - s.press.y;
  if (s.holdTimer && dx * dx + dy * dy > kHoldSlop * kHoldSlop) CancelHold();
  if (!s.held) PostMouse(WM_MOUSEMOVE, s.last, MK_LBUTTON);
}

void StylusUp(int x, int y) {
  StylusState& s = S();
  if (!s.down) return;
  s.last = MakePoint(x, y);
  s.down = false;
  CancelHold();
  if (s.held) {
    s.held = false;
    return;  // the hold was the gesture; the release belongs to it
  }
  PostMouse(WM_LBUTTONUP, s.last, 0);
}

bool StylusIsDown() { return S().down; }

HWND KeyTarget() {
  if (HWND f = GetFocus()) return f;
  return GetActiveWindow();
}

void KeyDown(UINT vk, bool typesText) {
  if (HookedKey(vk, true)) return;
  const HWND target = KeyTarget();
  if (!target) return;
  PostMessageW(target, WM_KEYDOWN, vk, 1 | (typesText ? kNoCharFlag : 0));
}

void KeyUp(UINT vk) {
  if (HookedKey(vk, false)) return;
  const HWND target = KeyTarget();
  if (!target) return;
  PostMessageW(target, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
}

void Char(char16_t c) {
  const HWND target = KeyTarget();
  if (!target) return;
  PostMessageW(target, WM_CHAR, c, 1);
}

void Text(const std::u16string& text) {
  for (char16_t c : text) Char(c);
}

KeyHookId AddKeyHook(KeyHook hook) {
  const KeyHookId id = S().nextHookId++;
  S().keyHooks.emplace_back(id, std::move(hook));
  return id;
}

void RemoveKeyHook(KeyHookId id) {
  auto& hooks = S().keyHooks;
  for (auto it = hooks.begin(); it != hooks.end(); ++it) {
    if (it->first == id) {
      hooks.erase(it);
      return;
    }
  }
}

char16_t CharForKey(UINT vk, LPARAM lParam) {
  if (lParam & kNoCharFlag) {
    // The backend types text itself; only the control keys remain to translate.
    if (vk == VK_RETURN || vk == VK_BACK || vk == VK_ESCAPE || vk == VK_TAB) return static_cast<char16_t>(vk);
    return 0;
  }
  switch (vk) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE:
      return static_cast<char16_t>(vk);
    default:
      break;
  }
  if (vk >= '0' && vk <= '9') return static_cast<char16_t>(vk);
  if (vk >= 'A' && vk <= 'Z') return static_cast<char16_t>(vk - 'A' + 'a');
  return 0;
}

POINT LastPoint() { return S().last; }

void ResetInput() {
  CancelHold();
  S().down = false;
  S().held = false;
}

}  // namespace window::input
