// What the window system holds of a library's code, dropped before the
// library is unloaded (window.h, ForgetModuleCode).
#include <algorithm>
#include <vector>

#include "platform/win32/text.h"
#include "platform/window/window.h"
#include "platform/window/window_impl.h"

using namespace window::detail;

namespace window {

namespace {

bool ClassOfModule(const WindowClass& cls, HINSTANCE instance, const std::function<bool(const void*)>& isCode) {
  if (instance && cls.info.hInstance == instance) return true;
  return cls.info.lpfnWndProc && isCode(reinterpret_cast<const void*>(cls.info.lpfnWndProc));
}

}  // namespace

void ForgetModuleCode(HINSTANCE instance, const std::function<bool(const void*)>& isLibraryCode) {
  WindowSystem& s = Sys();
  std::vector<HWND> doomed;
  for (const auto& [handle, w] : s.table) {
    if (w->destroyed) continue;
    if (w->cls && ClassOfModule(*w->cls, instance, isLibraryCode)) {
      doomed.push_back(handle);
    } else if (w->proc && isLibraryCode(reinterpret_cast<const void*>(w->proc))) {
      // Another's window the library subclassed: its class's procedure again.
      w->proc = w->cls ? w->cls->info.lpfnWndProc : nullptr;
    }
  }
  // Each goes with its descendants; one already taken along by an ancestor
  // is no window any more.
  for (HWND hwnd : doomed) {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  KillTimersCalling(isLibraryCode);
  std::vector<std::u16string> classes;
  for (const auto& [key, cls] : s.classes) {
    if (ClassOfModule(*cls, instance, isLibraryCode)) classes.push_back(cls->name);
  }
  for (const std::u16string& name : classes) UnregisterClassW(name.c_str(), instance);
}

}  // namespace window
