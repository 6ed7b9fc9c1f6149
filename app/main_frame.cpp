#include "app/main_frame.h"

#include <string>

#include "app/app_core.h"
#include "app/mivo_app.h"
#include "desktop/desktop_page.h"
#include "app/single_instance.h"
#include "app/trace.h"
#include "core/messages.h"
#include "look/appearance.h"
#include "pim/outlook_app.h"
#include "platform/shell/taskbar.h"
#include "platform/win32/text.h"
#include "platform/window/message.h"
#include "platform/window/window.h"

namespace {

// The platform's structure size for TB_SETBUTTONINFO.
constexpr UINT kButtonInfoSize = 32;

BOOL SendRelayout(HWND hwnd, LPARAM) {
  SendMessageW(hwnd, WM_MIVO_RELAYOUT, 0, 0);
  return TRUE;
}

}  // namespace

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
  // A frame whose window is still there goes through its destruction first.
  if (m_hWnd) DestroyWindow();
  delete m_pRootPage;
}

BOOL CMainFrame::LoadFrame(UINT, DWORD style, CWnd* parent) {
  WNDCLASSW wc;
  if (!GetClassInfoW(nullptr, RuntimeClassName(), &wc)) {
    wc = WNDCLASSW{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = RuntimeClassName();
    if (!RegisterClassW(&wc)) return FALSE;
  }
  CWinApp* app = AfxGetApp();
  const std::u16string title = app ? app->m_appName : u"mivo";
  return Create(RuntimeClassName(), title.c_str(), style, rectDefault, parent);
}

mivoAppCore* CMainFrame::Core() const {
  CmivoApp* app = CmivoApp::Get();
  return app ? app->m_pCore : nullptr;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(lParam);
    case WM_SIZE:
      OnSize(wParam, lParam);
      return 0;
    case WM_ACTIVATE:
      OnActivate(wParam, lParam);
      return 0;
    case WM_SHOWWINDOW:
      OnShowWindow(wParam, lParam);
      return 0;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_SETTINGCHANGE:
      // The shell's bars moved or the screen turned: the current mode lays
      // the frame out again over what the screen now offers (a hidden frame
      // waits until it shows again).
      if (wParam == SPI_SETWORKAREA && IsWindowVisible()) {
        if (mivoAppCore* core = Core(); core && m_wndCommandBar.m_hWnd) {
          core->ApplyScreenMode(&m_wndCommandBar, kScreenModeCurrent);
        }
      }
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return CFrameWnd::WindowProc(message, wParam, lParam);
    case WM_MIVO_TIME_CHANGED:
      return OnTimeChanged();
    case WM_MIVO_BATTERY_FLAGS:
      return OnBatteryFlags();
    case WM_MIVO_BATTERY_LEVEL:
      return OnBatteryLevel();
    case WM_MIVO_SIGNAL_CHANGED:
      return OnSignalChanged();
    case WM_MIVO_ACTIVATE_REQUEST:
      OnActivateRequest();
      return 0;
    case WM_MIVO_EXIT_REQUEST:
      OnExitRequest();
      return 0;
    case WM_MIVO_SOFTKEYS:
      OnSoftKeys(reinterpret_cast<const char16_t*>(wParam), reinterpret_cast<const char16_t*>(lParam));
      return 0;
    case WM_MIVO_BACK_REQUEST:
      OnBackRequest();
      return 0;
    case WM_MIVO_RUN_DEFERRED:
      if (mivoAppCore* core = Core()) core->RunDeferredDeletes();
      return 0;
    case WM_MIVO_RELAYOUT:
      // Not the frame's own business: windows that handle it lay themselves out.
      return 0;
    default:
      if (message >= WM_MIVO_OUTLOOK_FIRST && message <= WM_MIVO_OUTLOOK_LAST) {
        // The Outlook store (made if needed) handles its own notifications.
        if (mivoAppCore* core = Core())
          if (POApplication* outlook = core->GetOutlookStore()) outlook->HandleNotification(message, wParam, lParam);
        return 1;
      }
      return CFrameWnd::WindowProc(message, wParam, lParam);
  }
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg) {
  if (msg->message >= WM_MIVO_ROOT_PAGE_FIRST) {
    return m_pRootPage ? m_pRootPage->PreTranslateMessage(msg) : FALSE;
  }
  return CFrameWnd::PreTranslateMessage(msg);
}

// ---- Creation ----------------------------------------------------------------------

LRESULT CMainFrame::OnCreate(LPARAM lParam) {
  lifecycle::Trace("frame: WM_CREATE");
  // The framework's creation.
  if (CFrameWnd::WindowProc(WM_CREATE, 0, lParam) == -1) return -1;
  m_postTarget = m_hWnd;

  // The core, which every page reaches through its mivoClass base.
  CmivoApp* app = CmivoApp::Get();
  mivoAppCore* core = new mivoAppCore(this);
  if (app) {
    app->m_pCore = core;
  }

  // The caption names the version.
  const std::u16string title = std::u16string(u"mivo ") + mivoCore::GetVersionText();
  SetWindowText(title);
  // The shell's start button shows mivo's own emblem, drawn for the skin.
  if (mivoAppearance* look = core->GetAppearance()) {
    shell::SetStartIconPicture(look->GetSkinImagePath(look->GetSkinImage(u"start_emblem")));
  }

  // The menu bar, hidden until a screen mode shows it.
  lifecycle::Trace("frame: menu bar");
  if (!m_wndCommandBar.Create(this, AFX_IDW_TOOLBAR) || !m_wndCommandBar.InsertMenuBar(IDR_MIVO_MENUBAR)) {
    return -1;
  }
  m_wndCommandBar.ShowWindow(SW_HIDE);
  AddDumpSections();

  // The first activation is asked for; it shows the root page.
  mivoCore::PumpOneMessage();
  PostMessage(WM_ACTIVATE, WA_ACTIVE, 0);

  // The system state values, and their current readings.
  SubscribeState();
  lifecycle::Trace("frame: read state");
  OnTimeChanged();
  OnBatteryFlags();
  OnBatteryLevel();
  OnSignalChanged();
  lifecycle::PublishFrameWindow(this);
  return 0;
}

// ---- Layout and screen modes ------------------------------------------------------------

void CMainFrame::OnSize(WPARAM wParam, LPARAM lParam) {
  CFrameWnd::WindowProc(WM_SIZE, wParam, lParam);
  // Every window below, at every depth, lays itself out again.
  if (m_hWnd) EnumChildWindows(m_hWnd, SendRelayout, 0);
}

void CMainFrame::OnShowWindow(WPARAM wParam, LPARAM lParam) {
  CFrameWnd::WindowProc(WM_SHOWWINDOW, wParam, lParam);
  lifecycle::Trace(wParam ? "frame: WM_SHOWWINDOW shown" : "frame: WM_SHOWWINDOW hidden");
  mivoAppCore* core = Core();
  if (wParam && core && m_hWnd && m_wndCommandBar.m_hWnd) core->ApplyScreenMode(&m_wndCommandBar, kScreenModeCurrent);
  // The soft keys belong to the frame: hidden (minimised) it takes them along,
  // and the screen mode shows them again when the frame comes back.
  if (!wParam && m_wndCommandBar.m_hWnd) m_wndCommandBar.ShowWindow(SW_HIDE);
  // The desktop's gadgets stop polling while the program is off the screen.
  if (auto* desktop = dynamic_cast<CmivoDesktopPage*>(m_pRootPage)) desktop->OnFrameShown(wParam != 0);
  lifecycle::PublishFrameWindow(this, wParam != 0);
}

void CMainFrame::OnActivate(WPARAM wParam, LPARAM lParam) {
  CFrameWnd::WindowProc(WM_ACTIVATE, wParam, lParam);
  if (LOWORD(wParam) == WA_INACTIVE) return;
  mivoAppCore* core = Core();
  if (!core || !m_hWnd || !m_wndCommandBar.m_hWnd) return;
  lifecycle::Trace("frame: WM_ACTIVATE");

  // The page on top paints through a buffer while the frame settles.
  CmivoPageWnd* remembered = core->TopPage();
  bool rememberedBuffering = false;
  if (remembered) {
    rememberedBuffering = remembered->IsDoubleBuffered();
    remembered->SetDoubleBuffered(true);
  }
  // The current screen mode again: the frame may have been moved meanwhile.
  core->ApplyScreenMode(&m_wndCommandBar, kScreenModeCurrent);
  // The first activation makes the root page. It is stored before it is
  // shown, so an activation that arrives while it shows does not make another.
  if (!core->GetDesktopPage()) {
    lifecycle::Trace("frame: root page");
    CmivoPageWnd* root = new CmivoDesktopPage(core);
    m_pRootPage = root;
    core->SetDesktopPage(root);
    rememberedBuffering = root->IsDoubleBuffered();
    core->ShowPage(root);
    SetForegroundWindow();
    mivoCore::PumpOneMessage();
  }
  // The frame paints in its new layout before the buffering is restored.
  mivoCore::PumpOneMessage();
  // The page now on top keeps the buffering it had.
  if (CmivoPageWnd* top = core->TopPage()) top->SetDoubleBuffered(rememberedBuffering);
}

// ---- Commands and private messages ----------------------------------------------------

void CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case ID_MIVO_SOFTKEY_LEFT:
      PostMessage(WM_MIVO_BACK_REQUEST);
      return;
    case ID_MIVO_SOFTKEY_RIGHT:
      if (mivoAppCore* core = Core()) {
        if (CmivoPageWnd* top = core->TopPage()) top->HideApplication();
      }
      return;
    default:
      CFrameWnd::WindowProc(WM_COMMAND, wParam, lParam);
      return;
  }
}

void CMainFrame::OnActivateRequest() {
  lifecycle::Trace("frame: activate request");
  mivoAppCore* core = Core();
  if (!core || !core->GetDesktopPage()) return;
  core->ShowPage(core->GetDesktopPage());
  // A minimised frame comes back before it comes to the front.
  if (!IsWindowVisible() || IsIconic(m_hWnd)) ShowWindow(SW_SHOW);
  SetForegroundWindow();
}

void CMainFrame::OnSoftKeys(const char16_t* left, const char16_t* right) {
  if (left) SetSoftKeyText(ID_MIVO_SOFTKEY_LEFT, left);
  if (right) SetSoftKeyText(ID_MIVO_SOFTKEY_RIGHT, right);
}

void CMainFrame::SetSoftKeyText(UINT command, const char16_t* label) {
  if (!m_wndCommandBar.m_hWnd) return;
  TBBUTTONINFOW info{};
  info.cbSize = kButtonInfoSize;
  info.dwMask = TBIF_TEXT;
  info.pszText = const_cast<LPWSTR>(label);
  m_wndCommandBar.SendMessage(TB_SETBUTTONINFO, command, reinterpret_cast<LPARAM>(&info));
}

void CMainFrame::OnBackRequest() {
  mivoAppCore* core = Core();
  if (!core) return;
  if (CmivoPageWnd* top = core->TopPage()) top->GoBack();
}

// ---- Exit ---------------------------------------------------------------------------------

void CMainFrame::OnExitRequest() {
  // A second request while the first is on its way changes nothing.
  if (m_exitRequested) return;
  lifecycle::Trace("frame: exit request");
  m_exitRequested = true;
  // The root page stores what it must keep, then its window goes.
  if (m_pRootPage) {
    m_pRootPage->OnExitRequest();
    if (m_pRootPage->m_hWnd) m_pRootPage->DestroyWindow();
  }
  mivoCore::PumpOneMessage();
  PostMessage(WM_CLOSE);
}

void CMainFrame::OnClose() {
  // A close from outside (the window's close button, the end of a script)
  // is an exit like any other: what is saved at exit is saved.
  if (!m_exitRequested) {
    OnExitRequest();
    return;
  }
  lifecycle::Trace("frame: WM_CLOSE");
  DestroyWindow();
}

void CMainFrame::OnDestroy() {
  lifecycle::Trace("frame: WM_DESTROY");
  UnsubscribeState();
  RemoveDumpSections();
  lifecycle::ForgetFrameWindow(this);
  m_postTarget = nullptr;
}

void CMainFrame::PostNcDestroy() {
  // The whole window tree is gone by now, the root page's window with it.
  if (m_pRootPage) {
    if (mivoAppCore* core = Core()) core->ForgetPage(m_pRootPage);
    lifecycle::Trace("frame: delete root page");
    delete m_pRootPage;
    m_pRootPage = nullptr;
  }
}
