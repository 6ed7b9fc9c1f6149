#include "platform/window/metrics.h"

#include <algorithm>

#include "platform/win32/errors.h"
#include "platform/win32/rect.h"
#include "platform/window/window.h"

namespace window {

namespace {
int g_insetTop = 0;     // the task bar, while visible
int g_insetBottom = 0;  // the input panel, while shown
}  // namespace

int ShellScale() { return GetScreenSize().cy >= 480 ? 2 : 1; }

int ShellBarHeight() { return 26 * ShellScale(); }

void SetWorkAreaInsets(int top, int bottom) {
  g_insetTop = std::max(0, top);
  g_insetBottom = std::max(0, bottom);
}

RECT GetWorkArea() {
  const SIZE s = GetScreenSize();
  const int top = std::min<int>(g_insetTop, s.cy);
  const int bottom = std::max<int>(top, s.cy - g_insetBottom);
  return MakeRect(0, top, s.cx, bottom);
}

}  // namespace window

int GetSystemMetrics(int index) {
  const SIZE s = window::GetScreenSize();
  const int scale = window::ShellScale();
  switch (index) {
    case SM_CXSCREEN:
      return s.cx;
    case SM_CYSCREEN:
      return s.cy;
    case SM_CYCAPTION:
    case SM_CYMENU:
      return window::ShellBarHeight();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return 13 * scale;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXICON:
    case SM_CYICON:
      return 32 * scale;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16 * scale;
    default:
      return 0;
  }
}

BOOL SystemParametersInfoW(UINT action, UINT, PVOID data, UINT) {
  if (action == SPI_GETWORKAREA) {
    if (!data) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    *static_cast<RECT*>(data) = window::GetWorkArea();
    return TRUE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
