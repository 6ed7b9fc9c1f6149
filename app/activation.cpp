#include "app/activation.h"

#include "app/main_frame.h"
#include "core/messages.h"
#include "core/settings.h"
#include "platform/shell/kernel.h"
#include "platform/win32/file_defs.h"
#include "platform/window/message.h"

namespace lifecycle {

namespace {
// How long the end of the program waits for the watcher to notice.
constexpr DWORD kStopWaitMs = 2000;
}  // namespace

ActivationWatcher::~ActivationWatcher() { Stop(); }

bool ActivationWatcher::CreateEvent() {
  if (!m_event) m_event = CreateEventW(nullptr, FALSE, FALSE, kActivationEventName);
  return m_event != nullptr;
}

bool ActivationWatcher::StartThread(CMainFrame* frame) {
  if (!m_event || m_thread) return false;
  m_frame = frame;
  m_watchedEvent = m_event;
  m_thread = CreateThread(nullptr, 0, &ActivationWatcher::ThreadMain, this, 0, nullptr);
  return m_thread != nullptr;
}

DWORD ActivationWatcher::ThreadMain(LPVOID param) {
  auto* self = static_cast<ActivationWatcher*>(param);
  const HANDLE event = self->m_watchedEvent;
  while (WaitForSingleObject(event, INFINITE) == WAIT_OBJECT_0) {
    const HWND target = self->m_frame ? self->m_frame->PostTarget() : nullptr;
    if (target) PostMessageW(target, WM_MIVO_ACTIVATE_REQUEST, 0, 0);
  }
  return 0;
}

bool ActivationWatcher::Stop() {
  bool ended = true;
  if (m_event) {
    CloseHandle(m_event);
    m_event = nullptr;
  }
  if (m_thread) {
    ended = WaitForSingleObject(m_thread, kStopWaitMs) == WAIT_OBJECT_0;
    CloseHandle(m_thread);
    m_thread = nullptr;
  }
  return ended;
}

}  // namespace lifecycle
