#include "platform/shell/shell_background.h"

#include "platform/win32/rect.h"
#include "platform/window/framework.h"
#include "platform/window/paint.h"
#include "platform/window/painted_wnd.h"
#include "platform/window/shell_look.h"
#include "platform/window/window.h"

namespace shell {

namespace {

class ShellBackground : public CPaintedWnd {
 public:
  bool Make() {
    const SIZE s = window::GetScreenSize();
    if (!CreateEx(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, u"DesktopExplorerWindow", u"Desktop", WS_POPUP | WS_VISIBLE,
                  MakeRect(0, 0, s.cx, s.cy), nullptr, 0)) {
      return false;
    }
    window::SetShellWindow(m_hWnd);
    // Under every window there is and will be: new windows go on top.
    ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
  }

  void Layout() {
    const SIZE s = window::GetScreenSize();
    ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, s.cx, s.cy, SWP_NOACTIVATE);
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_LBUTTONDOWN:
        m_pressed = true;
        return 0;
      case WM_LBUTTONUP:
        // The press and the release both on the background: a tap.
        if (m_pressed) window::RestoreMinimizedWindow();
        m_pressed = false;
        return 0;
      default:
        return CPaintedWnd::WindowProc(message, wParam, lParam);
    }
  }

 private:
  void Paint(HDC dc) override {
    RECT c;
    GetClientRect(&c);
    shell_look::FillGradient(dc, c, shell_look::kDesktopTop, shell_look::kDesktopBottom);
  }

  bool m_pressed = false;  // a press began on the background
};

ShellBackground*& Background() {
  static ShellBackground* background = nullptr;  // owned; null outside StartShellBackground .. Stop
  return background;
}

}  // namespace

void StartShellBackground() {
  ShellBackground*& b = Background();
  if (b && b->m_hWnd) return;
  delete b;
  b = new ShellBackground;
  if (!b->Make()) {
    delete b;
    b = nullptr;
    return;
  }
  static bool listening = false;
  if (!listening) {
    listening = true;
    window::AddScreenListener([](int, int) {
      if (Background() && Background()->m_hWnd) Background()->Layout();
    });
  }
}

void StopShellBackground() {
  delete Background();  // destroys its window
  Background() = nullptr;
}

HWND ShellBackgroundWindow() { return Background() ? Background()->m_hWnd : nullptr; }

}  // namespace shell
