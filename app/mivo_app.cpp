#include "app/mivo_app.h"

#include "app/app_core.h"
#include "app/main_frame.h"
#include "app/trace.h"
#include "core/messages.h"
#include "core/settings.h"
#include "platform/shell/kernel.h"
#include "platform/win32/file_defs.h"

namespace {
CmivoApp* g_app = nullptr;
}  // namespace

CmivoApp::CmivoApp() : CWinApp(u"mivo") { g_app = this; }

CmivoApp::~CmivoApp() {
  // Normally ExitInstance has done all this already.
  delete m_pCore;
  m_pCore = nullptr;
  if (m_watcher.Stop()) {
    m_pFrame.reset();
  } else {
    // The watcher may still read the frame: leave the object be.
    (void)m_pFrame.release();
  }
  if (g_app == this) g_app = nullptr;
}

CmivoApp* CmivoApp::Get() { return g_app; }

BOOL CmivoApp::InitInstance() {
  // The activation event, auto-reset and not signalled (the single-instance
  // check ran before the application object was made).
  lifecycle::Trace("app: activation event");
  m_watcher.CreateEvent();

  // The shell's controls need no set-up here; the framework's profile key
  // is named but unused (the settings have their own key).
  lifecycle::Trace("app: shell controls, registry key");
  SetRegistryKey(u"mivo");

  // The frame object, not yet a window.
  lifecycle::Trace("app: frame object");
  m_pFrame = std::make_unique<CMainFrame>();

  // The watcher thread; the frame becomes the main window.
  lifecycle::Trace("app: watcher thread");
  m_watcher.StartThread(m_pFrame.get());
  m_pMainWnd = m_pFrame.get();

  // The frame's window (its creation builds the core), shown.
  lifecycle::Trace("app: load frame");
  if (!m_pFrame->LoadFrame(IDR_MIVO_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) return FALSE;
  lifecycle::Trace("app: show frame");
  m_pFrame->ShowWindow(SW_SHOW);
  m_pFrame->UpdateWindow();
  return TRUE;
}

int CmivoApp::ExitInstance() {
  lifecycle::Trace("app: ExitInstance");
  // A frame still standing (the loop ended without it closing) goes first,
  // so that its root page and subscriptions go before the core.
  if (m_pFrame && m_pFrame->m_hWnd) m_pFrame->DestroyWindow();

  lifecycle::Trace("app: remove wake-up registration");
  CeRunAppAtEvent(kActivationEventApplication, NOTIFICATION_EVENT_NONE);

  lifecycle::Trace("app: destroy core");
  delete m_pCore;
  m_pCore = nullptr;

  if (m_watcher.Stop()) m_pFrame.reset();
  lifecycle::Trace("app: framework exit");
  return CWinApp::ExitInstance();
}
