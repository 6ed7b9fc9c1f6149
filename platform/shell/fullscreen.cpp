#include "platform/shell/fullscreen.h"

#include "platform/shell/input_panel.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/errors.h"
#include "platform/window/command_bar.h"
#include "platform/window/window.h"

BOOL SHFullScreen(HWND hwnd, DWORD state) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const auto both = [state](DWORD show, DWORD hide) { return (state & show) && (state & hide); };
  if (both(SHFS_SHOWTASKBAR, SHFS_HIDETASKBAR) || both(SHFS_SHOWSIPBUTTON, SHFS_HIDESIPBUTTON) ||
      both(SHFS_SHOWSTARTICON, SHFS_HIDESTARTICON)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (state & SHFS_HIDETASKBAR) shell::ShowTaskBar(false);
  if (state & SHFS_SHOWTASKBAR) shell::ShowTaskBar(true);
  if (state & (SHFS_SHOWSIPBUTTON | SHFS_HIDESIPBUTTON)) {
    CCommandBar::SetInputPanelButton((state & SHFS_SHOWSIPBUTTON) != 0, nullptr);
  }
  if (state & SHFS_HIDESTARTICON) shell::ShowStartIcon(false);
  if (state & SHFS_SHOWSTARTICON) shell::ShowStartIcon(true);
  return TRUE;
}
