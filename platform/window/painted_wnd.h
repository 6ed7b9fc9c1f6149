// CPaintedWnd: a window of the phone shell's own (the plain message box, the
// pop-up menu, the input panel, the task bar, the background) that covers
// its whole client area when it paints. The paint message and the erase
// message are handled here once; a member draws in Paint and handles the
// messages of its own, passing the others to this base.
#pragma once

#include "platform/window/paint.h"
#include "platform/window/framework.h"
#include "platform/window/window.h"

class CPaintedWnd : public CWnd {
 protected:
  // Draws the whole client area into `dc` (between BeginPaint and EndPaint).
  virtual void Paint(HDC dc) = 0;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        if (dc) Paint(dc);
        EndPaint(m_hWnd, &ps);
        return 0;
      }
      case WM_ERASEBKGND:
        return 1;  // Paint covers every pixel: nothing to erase first
      default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
  }
};
