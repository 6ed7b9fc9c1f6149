// The whole application in this process: a fresh device, a headless screen
// on virtual time, the phone shell, and CmivoApp started as the program
// starts it. Messages are handled by Pump(), so tests decide when.
#pragma once

#include <memory>
#include <string>

#include "app/app_core.h"
#include "app/main_frame.h"
#include "app/mivo_app.h"
#include "desktop/desktop_page.h"
#include "tests/app/test_device.h"

namespace apptest {

class AppHarness {
 public:
  AppHarness(const std::string& name, int width = 240, int height = 320);
  ~AppHarness();
  AppHarness(const AppHarness&) = delete;
  AppHarness& operator=(const AppHarness&) = delete;

  // InitInstance, then everything it left queued.
  bool Start();
  // Handles whatever is ready (posted messages, paints, due timers).
  int Pump();
  // The exit request and everything after it, then ExitInstance.
  int Exit();

  CmivoApp& App() { return *m_app; }
  CMainFrame& Frame() { return *m_app->Frame(); }
  mivoAppCore& Core() { return *m_app->m_pCore; }
  // The device folder the program runs on (for mivo-device).
  const std::filesystem::path& DeviceDir() const { return m_device.Dir(); }

 private:
  TestDevice m_device;
  std::unique_ptr<CmivoApp> m_app;
  bool m_exited = false;
};

// A page with a header, whose indicator rectangles are known.
class HeaderPage : public CmivoPageWnd {
 public:
  explicit HeaderPage(mivoCore* core) : CmivoPageWnd(core) {
    m_title = u"Header";
    m_clockRect = RECT{100, 0, 140, 15};
    m_signalRect = RECT{0, 0, 16, 14};
    m_batteryRect = RECT{210, 0, 240, 12};
  }
  const char* PageClassName() const override { return "HeaderPage"; }
};

}  // namespace apptest
