#include "platform/shell/single_instance.h"

#include <chrono>
#include <thread>

#include "platform/shell/kernel.h"
#include "platform/shell/process_windows.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace shell {

std::u16string InstanceMutexName() {
  char16_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::u16string name = module;
  for (char16_t& c : name)
    if (c == u'\\') c = u'/';
  return name;
}

InstanceClaim ClaimSingleInstance() {
  static HANDLE s_mutex = nullptr;
  if (s_mutex) return InstanceClaim::kFirst;
  HANDLE h = CreateMutexW(nullptr, FALSE, InstanceMutexName().c_str());
  if (!h) return InstanceClaim::kFailed;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(h);
    return InstanceClaim::kAnotherRuns;
  }
  s_mutex = h;
  return InstanceClaim::kFirst;
}

bool ActivateRunningInstance(int attempts, int intervalMs) {
  char16_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  for (int i = 0; i < attempts; ++i) {
    for (const ProcessWindow& w : ListOtherWindows()) {
      if (w.hostProgram || !w.visible || !text::EqualsNoCase(w.module, module)) continue;
      if (text::EqualsNoCase(w.className, u"shfind") || text::EqualsNoCase(w.className, u"static") ||
          text::EqualsNoCase(w.className, u"CursorWindow")) {
        continue;
      }
      if (RequestForeground(w.pid, w.hwnd | 1)) return true;
    }
    if (i + 1 < attempts) std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
  }
  return false;
}

}  // namespace shell
