// The screen: its size, turning it, and the listeners that lay out what
// depends on it; and the marking of the shell's own windows.
#include <utility>
#include <vector>

#include "platform/win32/rect.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

using namespace window::detail;

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

}  // namespace window
