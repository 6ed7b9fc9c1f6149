#include "app/single_instance.h"

#include "platform/shell/process_windows.h"
#include "platform/shell/single_instance.h"
#include "platform/window/framework.h"
#include "platform/window/message.h"
#include "platform/window/window.h"

namespace lifecycle {

InstanceCheck CheckSingleInstance() {
  switch (shell::ClaimSingleInstance()) {
    case shell::InstanceClaim::kFirst: return InstanceCheck::kRun;
    case shell::InstanceClaim::kFailed: return InstanceCheck::kFailed;
    case shell::InstanceClaim::kAnotherRuns: break;
  }
  // The other instance may still be starting: its frame shows up soon.
  return shell::ActivateRunningInstance() ? InstanceCheck::kEnd : InstanceCheck::kRun;
}

void StartForegroundRequests() {
  shell::StartForegroundListener([](std::uintptr_t value) {
    RunOnUiThread([value] {
      const HWND plain = reinterpret_cast<HWND>(value & ~std::uintptr_t{1});
      if (!IsWindow(plain)) return;
      if (!IsWindowVisible(plain) || IsIconic(plain)) ShowWindow(plain, SW_SHOW);
      SetForegroundWindow(reinterpret_cast<HWND>(value));
      if (window::EventSource* host = window::GetEventSource()) host->RaiseHostWindow();
    });
  });
}

void StopForegroundRequests() { shell::StopForegroundListener(); }

void PublishFrameWindow(CWnd* frame) {
  if (frame && frame->m_hWnd) PublishFrameWindow(frame, frame->IsWindowVisible() != FALSE);
}

void PublishFrameWindow(CWnd* frame, bool shown) {
  if (!frame || !frame->m_hWnd) return;
  char16_t className[64] = {};
  GetClassNameW(frame->m_hWnd, className, 64);
  const bool available = shown || IsIconic(frame->m_hWnd);
  shell::RecordWindow(reinterpret_cast<std::uintptr_t>(frame->m_hWnd), className, frame->GetWindowText(), available);
}

void ForgetFrameWindow(CWnd* frame) {
  if (frame && frame->m_hWnd) shell::ForgetWindow(reinterpret_cast<std::uintptr_t>(frame->m_hWnd));
}

}  // namespace lifecycle
