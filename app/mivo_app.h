// CmivoApp: the application object. It starts the program in its fixed
// order (activation event, main frame, watcher thread, the frame's window)
// and ends it in order (wake-up registration removed, core destroyed).
#pragma once

#include <memory>

#include "app/activation.h"
#include "platform/window/framework.h"

class CMainFrame;
class mivoAppCore;

class CmivoApp : public CWinApp {
 public:
  CmivoApp();
  ~CmivoApp() override;

  // The application object of this process, null when none.
  static CmivoApp* Get();

  // Start-up: the activation event, the frame object, the watcher thread and
  // the frame's window, in this order; false ends the program.
  BOOL InitInstance() override;
  // Removes the wake-up registration, destroys the core, ends the framework.
  int ExitInstance() override;

  CMainFrame* Frame() const { return m_pFrame.get(); }
  lifecycle::ActivationWatcher& Watcher() { return m_watcher; }

  mivoAppCore* m_pCore = nullptr;  // set while the frame is created; owned

 private:
  lifecycle::ActivationWatcher m_watcher;   // the activation event and its thread
  std::unique_ptr<CMainFrame> m_pFrame;  // outlives its window until the watcher has ended
};
