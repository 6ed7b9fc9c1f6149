// The platform's plain message box: modal, centred on the work area, in the
// shell's own simple look. MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL,
// MB_RETRYCANCEL and MB_ABORTRETRYIGNORE; the answer is IDOK, IDCANCEL,
// IDYES, IDNO, IDRETRY, IDABORT or IDIGNORE. A tap on a button answers it;
// Enter answers the first button; Escape answers Cancel (No without Cancel,
// OK in an OK-only box). The owner's window is disabled while the box is
// open, as on the platform, so taps on it go nowhere. A quit message ends the
// box with 0 and is posted again for the program's own loop.
//
// While a box is open the dump's "overlay" describes it:
// {"kind": "message" | "question", "title", "text", "buttons": [[l, t, r, b], ...]}.
#pragma once

#include "platform/win32/messages.h"
#include "platform/win32/types.h"

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
