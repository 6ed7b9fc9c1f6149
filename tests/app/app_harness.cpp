#include "tests/app/app_harness.h"

#include "platform/gdi/gdi.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/clock.h"
#include "platform/window/message.h"
#include "platform/window/metrics.h"
#include "platform/window/paint.h"
#include "platform/window/window.h"

namespace apptest {

AppHarness::AppHarness(const std::string& name, int width, int height) : m_device(name) {
  sysclock::UseVirtualTime();
  window::SetScreenSize(width, height);
  window::CreateFramebuffer(width, height);
  gdi::SetLogPixels(window::ShellScale() == 2 ? 192 : 96);
  shell::StartPhoneShell();
  m_app = std::make_unique<CmivoApp>();
}

AppHarness::~AppHarness() {
  if (!m_exited && m_app->Frame()) Exit();
  m_app.reset();
  shell::StopPhoneShell();
  window::ResetWindowSystem();
}

bool AppHarness::Start() {
  const bool ok = m_app->InitInstance() != FALSE;
  Pump();
  return ok;
}

int AppHarness::Pump() { return window::PumpPending(); }

int AppHarness::Exit() {
  m_exited = true;
  if (m_app->m_pCore) m_app->m_pCore->RequestExit();
  // Up to the quit message the frame's destruction posts.
  for (int i = 0; i < 10 && !window::QuitPending(); ++i) Pump();
  return m_app->ExitInstance();
}

}  // namespace apptest
