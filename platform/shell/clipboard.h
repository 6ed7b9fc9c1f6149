// The clipboard: text (CF_UNICODETEXT) shared by the windows of the process,
// and joined to the host's clipboard when the screen is an SDL2 window (the
// display sets the hooks: then what is set here is set on the host, and what
// the host holds is what GetClipboardData gives).
#pragma once

#include <functional>
#include <string>

#include "platform/win32/types.h"

// The platform's calls. SetClipboardData takes ownership of a LocalAlloc
// block holding a terminated UTF-16 text; GetClipboardData's block belongs to
// the clipboard and stays valid until the clipboard is emptied or changed.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT format, HANDLE data);
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);

namespace shell {

struct HostClipboard {
  std::function<bool(std::u16string*)> get;         // false when the host has no text
  std::function<void(const std::u16string&)> set;
};
// The display installs the host's clipboard; an empty HostClipboard removes it.
void SetHostClipboard(HostClipboard host);
// Gives the edit controls this clipboard for their cut, copy and paste (the
// phone shell does at start).
void InstallEditClipboard();

}  // namespace shell
