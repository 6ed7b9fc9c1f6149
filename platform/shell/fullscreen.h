// SHFullScreen: a window asks the shell to hide or show the task bar, the
// input panel's button (on the menu bar) and the start icon (on the task bar).
// The work area (SystemParametersInfoW SPI_GETWORKAREA) follows the task bar.
#pragma once

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

// SHFS_SHOWTASKBAR / SHFS_HIDETASKBAR, SHFS_SHOWSIPBUTTON / SHFS_HIDESIPBUTTON,
// SHFS_SHOWSTARTICON / SHFS_HIDESTARTICON, combined. FALSE (last error
// ERROR_INVALID_WINDOW_HANDLE) for a window that does not exist, with nothing
// changed; FALSE (ERROR_INVALID_PARAMETER) when a show and a hide of the
// same thing are asked together.
BOOL SHFullScreen(HWND hwnd, DWORD state);
