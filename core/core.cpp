#include "core/core.h"

#include "look/language.h"
#include "look/string_ids.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/format_message.h"
#include "platform/win32/local_memory.h"
#include "platform/window/message.h"

// ---- The application ---------------------------------------------------------------

const char16_t* mivoCore::GetVersionText() { return u"2.3 beta 4"; }

void mivoCore::PumpOneMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, WM_USER, PM_REMOVE)) return;
  if (msg.message == WM_QUIT) {
    // The program is ending: the loop that waits for this must still get it.
    PostQuitMessage(static_cast<int>(msg.wParam));
    return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

// ---- Overlays ------------------------------------------------------------------------

void mivoCore::ShowMessage(const std::u16string& text, const std::u16string& title) {
  RunMessageBox(title, text, true);
}

bool mivoCore::AskYesNo(const std::u16string& text, const std::u16string& title) {
  return RunMessageBox(title, text, false) == 1;
}

void mivoCore::ShowError(const std::u16string& text) {
  EndPleaseWait();
  RunMessageBox(GetString(IDS_ERROR), text, true);
}

void mivoCore::ShowLastError(const std::u16string& prefix) {
  const DWORD error = GetLastError();
  LPWSTR buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, error, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::u16string text = prefix + u"\n";
  if (buffer) {
    text.append(buffer, n);
    LocalFree(buffer);
  }
  ShowError(text);
}
