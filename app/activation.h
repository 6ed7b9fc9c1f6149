// Wake-up activation: the named event the platform signals when the device
// wakes up (with the AutoShow registration in place), and the thread that
// waits on it and asks the main frame to show the root page.
#pragma once

#include "platform/win32/types.h"

class CMainFrame;

namespace lifecycle {

class ActivationWatcher {
 public:
  ActivationWatcher() = default;
  // Closes the event, which ends the thread's wait, and waits for the thread.
  ~ActivationWatcher();
  ActivationWatcher(const ActivationWatcher&) = delete;
  ActivationWatcher& operator=(const ActivationWatcher&) = delete;

  // Made first at start: the named, auto-reset event, not signalled.
  bool CreateEvent();
  // Started once the frame object exists: the thread, which posts
  // WM_MIVO_ACTIVATE_REQUEST to the frame's window each time the event is
  // signalled and ends when a wait fails.
  bool StartThread(CMainFrame* frame);
  // Ends the thread (closing the event fails its wait); true when it ended in time.
  bool Stop();

  HANDLE Event() const { return m_event; }

 private:
  static DWORD ThreadMain(LPVOID self);

  HANDLE m_event = nullptr;   // "Vastelo_mivo_onActivateApplication"
  HANDLE m_watchedEvent = nullptr;  // the thread's copy, set before it starts
  HANDLE m_thread = nullptr;  // the watcher
  CMainFrame* m_frame = nullptr;  // read by the thread for its window handle only
};

}  // namespace lifecycle
