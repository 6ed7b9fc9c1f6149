// Input translation: the screen backends (SDL2, headless scripts) report the
// stylus and the keys here, and this turns them into the platform's messages.
//
// Stylus: press, move and release become WM_LBUTTONDOWN, WM_MOUSEMOVE and
// WM_LBUTTONUP to the window under the point (or the capture), with client
// coordinates in lParam and MK_LBUTTON while pressed. Holding still (within
// kHoldSlop pixels of the press) for kHoldMs is a tap-and-hold: WM_CONTEXTMENU
// goes to the window under the point with the screen point in lParam, and the
// release that ends that press is not delivered.
//
// Keys: WM_KEYDOWN/WM_KEYUP to the focus (or the active window); TranslateMessage
// makes WM_CHAR for the keys that type (Enter, Backspace, Escape, Tab, Space,
// letters, digits) unless the backend types the text itself (`typesText`).
// Soft keys, rotation and similar shell keys can be intercepted with a key hook.
#pragma once

#include <functional>
#include <string>

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

namespace window::input {

constexpr int kHoldMs = 500;
constexpr int kHoldSlop = 5;

// lParam bit of WM_KEYDOWN set by a backend that delivers the typed text as
// WM_CHAR of its own (SDL2 text input), so TranslateMessage adds none.
constexpr LPARAM kNoCharFlag = LPARAM{1} << 28;

void StylusDown(int x, int y);
void StylusMove(int x, int y);
void StylusUp(int x, int y);
bool StylusIsDown();

void KeyDown(UINT vk, bool typesText = false);
void KeyUp(UINT vk);
// One typed character (a UTF-16 unit) as WM_CHAR to the focus.
void Char(char16_t c);
// Text typed as WM_CHAR messages, one per UTF-16 unit.
void Text(const std::u16string& text);

// Key hooks see every key first (soft keys go to the menu bar, F3 rotates);
// true means the hook consumed the key (no WM_KEYDOWN/WM_KEYUP). The most
// recently added hook is asked first.
using KeyHook = std::function<bool(UINT vk, bool down)>;
using KeyHookId = int;
KeyHookId AddKeyHook(KeyHook hook);
void RemoveKeyHook(KeyHookId id);

// The window that gets keys: the focus, else the active window.
HWND KeyTarget();

// The character a key types for TranslateMessage, 0 for none.
char16_t CharForKey(UINT vk, LPARAM lParam);
// The last stylus point, screen coordinates (MSG::pt).
POINT LastPoint();

// Forgets a press in progress (ResetWindowSystem, rotation).
void ResetInput();

}  // namespace window::input
