#include "app/core.h"

#include "actions/actions.h"
#include "app/main_frame.h"
#include "app/messages.h"
#include "app/page_wnd.h"
#include "app/settings.h"
#include "app/trace.h"
#include "look/appearance.h"
#include "look/language.h"
#include "platform/fs/files.h"
#include "platform/shell/fullscreen.h"
#include "platform/shell/input_panel.h"
#include "platform/shell/kernel.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/command_bar.h"
#include "platform/window/describe.h"
#include "platform/window/message.h"
#include "platform/window/message_box.h"
#include "platform/window/metrics.h"
#include "platform/window/window.h"

namespace {

constexpr UINT kModuleNameChars = 260;

// The language every text of the built-in table is written in: when its file
// is simply not there, the built-in table is that language complete.
bool BuiltInLanguageCovers(const std::u16string& programFolder, const std::u16string& language) {
  if (!text::EqualsNoCase(language, u"English")) return false;
  const std::u16string path = mivoLanguage::FilePath(programFolder, language);
  return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

// ---- Construction and destruction ----------------------------------------------

mivoCore::mivoCore(CMainFrame* frame) {
  // 1. Nothing on the stack or in the catalogue yet; the actions store first.
  spine::Trace("core: page stack, page catalogue, actions store");
  m_pageStack.clear();
  m_pageCatalogue.fill(nullptr);
  m_pActions = std::make_unique<mivoActions>(this);

  // 2. The program folder is looked up on first use; the slide's window
  //    object comes with the page framework.
  spine::Trace("core: program folder cache, animation window");
  m_programFolder.clear();

  // 3. The default skin package on the first start. The accessor is not made
  //    yet; the store alone reads and clears the flag.
  {
    mivoSettingsStore store;
    if (store.GetFinishInstallation()) {
      spine::Trace("core: install default skin");
      InstallDefaultSkin(store.LookSettings(), GetProgramFolder(), GetSystemMetrics(SM_CYSCREEN));
    }
  }

  // 4. Nothing of the stores made on first use exists yet.
  spine::Trace("core: please-wait, stores on first use, main frame");
  m_pleaseWaitDepth = 0;
  m_pPleaseWait = nullptr;
  m_pOutlook = nullptr;
  m_pControlPanel = nullptr;
  m_pConnectionManager = nullptr;
  m_pPluginRegistry = nullptr;
  m_pMainFrame = frame;

  // 5. The settings accessor renews the wake-up registration when AutoShow is on.
  spine::Trace("core: settings accessor");
  m_pSettings = std::make_unique<mivoSettings>();

  // 6. The language; a failure is said once and start-up goes on in English.
  spine::Trace("core: language");
  const std::u16string language = m_pSettings->GetLanguage();
  if (!LoadCurrentLanguage(GetProgramFolder(), language) && !BuiltInLanguageCovers(GetProgramFolder(), language)) {
    spine::Trace("core: language warning");
    const std::u16string warning(kLanguageLoadWarning);
    MessageBoxW(nullptr, warning.c_str(), u"mivo", MB_OK);
  }

  // 7. The copies taken at start.
  spine::Trace("core: screen mode and animations");
  m_screenMode = m_pSettings->GetUseFullScreen() ? kScreenModeFullScreen : kScreenModeStandard;
  window::SetDumpScreenMode(m_screenMode);
  m_animationsOn = m_pSettings->GetAnimationsEnabled();

  // 8. The actions history and the favourites.
  spine::Trace("core: load actions history");
  m_pActions->LoadHistoryAndFavorites();

  // 9. The look: DisplayScale, themes, fonts.
  spine::Trace("core: look object");
  m_pAppearance = std::make_unique<mivoAppearance>(m_pSettings->LookSettings(), GetProgramFolder(),
                                                   GetSystemMetrics(SM_CYSCREEN));

  // 10. The call log comes with the call log part; no SMS store, phone line
  //     or root page yet.
  spine::Trace("core: call log");
  m_pCallLog = nullptr;
  m_pSMSStore = nullptr;
  m_pPhoneLine = nullptr;
  m_pDesktopPage = nullptr;

  // 11.
  spine::Trace("core: page stack emptied");
  m_pageStack.clear();
}

mivoCore::~mivoCore() {
  // Everything that is written at the end is written first, while every page
  // and gadget still stands: the actions store only saves here. The pages
  // then go (their rows point at actions and skin images), and only then the
  // stores they pointed at. The files and their order are those of a plain
  // save-then-destroy: the history, the favourites, then the skin file when
  // the look object goes.
  spine::Trace("core: save actions history and favourites");
  if (m_pActions) m_pActions->SaveHistoryAndFavorites();

  spine::Trace("core: delete catalogue pages");
  for (CmivoPageWnd*& page : m_pageCatalogue) {
    if (!page) continue;
    ForgetPage(page);
    delete page;
    page = nullptr;
  }
  m_pageStack.clear();

  // The stores made on first use are deleted by the parts that bring them,
  // each at its place in this order.
  spine::Trace("core: destroy Outlook store");
  spine::Trace("core: destroy look object");
  m_pAppearance.reset();
  spine::Trace("core: destroy call log");
  spine::Trace("core: close phone line");
  spine::Trace("core: destroy SMS store");
  spine::Trace("core: destroy plug-in registry");
  spine::Trace("core: destroy control-panel catalogue");
  spine::Trace("core: destroy connection manager");
  spine::Trace("core: destroy please-wait window");
  spine::Trace("core: destroy animation window");
  spine::Trace("core: drop program folder");
  m_programFolder.clear();
  spine::Trace("core: destroy actions store");
  m_pActions.reset();
  // Last: the accessor removes the wake-up registration as it goes.
  spine::Trace("core: destroy settings accessor");
  m_pSettings.reset();
}

// ---- The application ---------------------------------------------------------------

const std::u16string& mivoCore::GetProgramFolder() {
  if (m_programFolder.empty()) {
    char16_t module[kModuleNameChars + 1] = {};
    const DWORD n = GetModuleFileNameW(nullptr, module, kModuleNameChars);
    std::u16string path(module, n);
    const std::size_t slash = path.rfind(u'\\');
    m_programFolder = slash == std::u16string::npos ? std::u16string(u"\\") : path.substr(0, slash + 1);
  }
  return m_programFolder;
}

const char16_t* mivoCore::GetVersionText() { return u"2.3 beta 4"; }

void mivoCore::PumpOneMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, WM_USER, PM_REMOVE)) return;
  if (msg.message == WM_QUIT) {
    // The program is ending: the loop that waits for this must still get it.
    PostQuitMessage(static_cast<int>(msg.wParam));
    return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool mivoCore::IsPortrait() const {
  if (GetSystemMetrics(SM_CXSCREEN) == GetSystemMetrics(SM_CYSCREEN)) return true;
  RECT client{};
  if (m_pMainFrame && m_pMainFrame->m_hWnd) {
    m_pMainFrame->GetClientRect(&client);
  } else {
    client = MakeRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  }
  return RectHeight(client) >= RectWidth(client);
}

void mivoCore::ApplyScreenMode(CCommandBar* menuBar, int mode) {
  if (mode != kScreenModeCurrent && mode == m_screenMode) return;
  const int m = mode == kScreenModeCurrent ? m_screenMode : mode;
  if (!m_pMainFrame || !m_pMainFrame->m_hWnd) return;
  const HWND frame = m_pMainFrame->m_hWnd;
  const HWND bar = menuBar ? menuBar->m_hWnd : nullptr;
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);

  switch (m) {
    case kScreenModeFullScreen: {
      if (!SHFullScreen(frame, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON)) return;
      m_pMainFrame->MoveWindow(0, 0, cx, cy);
      if (m_pDesktopPage && m_pDesktopPage->m_hWnd) m_pDesktopPage->MoveWindow(0, 0, cx, cy);
      if (bar) ::ShowWindow(bar, SW_HIDE);
      break;
    }
    case kScreenModeFullScreenMenu: {
      if (!bar) return;
      if (!SHFullScreen(frame, SHFS_HIDETASKBAR | SHFS_SHOWSIPBUTTON | SHFS_HIDESTARTICON)) return;
      RECT barRect{};
      ::GetWindowRect(bar, &barRect);
      m_pMainFrame->MoveWindow(0, 0, cx, cy - RectHeight(barRect));
      ::ShowWindow(bar, SW_SHOW);
      break;
    }
    case kScreenModeStandard: {
      if (!bar) return;
      if (!SHFullScreen(frame, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON | SHFS_SHOWSTARTICON)) return;
      ::ShowWindow(bar, SW_SHOW);
      PumpOneMessage();
      RECT work{};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      RECT barRect{};
      ::GetWindowRect(bar, &barRect);
      work.bottom = barRect.top;
      m_pMainFrame->MoveWindow(work);
      break;
    }
    default:
      return;
  }
  m_pMainFrame->Invalidate();
  if (CmivoPageWnd* top = TopPage(); top && top->m_hWnd) top->SetFocus();
  m_screenMode = m;
  window::SetDumpScreenMode(m);
}

void mivoCore::SetScreenMode(int mode) {
  if (mode == m_screenMode) return;
  m_screenMode = mode;
  if (m_pMainFrame && m_pMainFrame->m_hWnd) m_pMainFrame->PostMessage(WM_ACTIVATE, WA_ACTIVE, 0);
}

void mivoCore::RequestExit() {
  if (m_pMainFrame && m_pMainFrame->m_hWnd) m_pMainFrame->PostMessage(WM_MIVO_EXIT_REQUEST);
}

void mivoCore::PostSoftKeys(const char16_t* left, const char16_t* right) {
  if (!m_pMainFrame || !m_pMainFrame->m_hWnd) return;
  m_pMainFrame->PostMessage(WM_MIVO_SOFTKEYS, reinterpret_cast<WPARAM>(left), reinterpret_cast<LPARAM>(right));
}

void mivoCore::MinimizeApplication() {
  if (m_pMainFrame && m_pMainFrame->m_hWnd) m_pMainFrame->ShowWindow(SW_MINIMIZE);
}

// ---- Made on first use ------------------------------------------------------------

POApplication* mivoCore::GetOutlookStore() { return m_pOutlook; }
mivoSMSStore* mivoCore::GetSMSStore() { return m_pSMSStore; }
mivoControlPanelCatalogue* mivoCore::GetControlPanelCatalogue() { return m_pControlPanel; }
mivoConnectionManager* mivoCore::GetConnectionManager() { return m_pConnectionManager; }
mivoPluginRegistry* mivoCore::GetPluginRegistry() { return m_pPluginRegistry; }

// ---- Pages ---------------------------------------------------------------------------

CmivoPageWnd* mivoCore::TopPage() const { return m_pageStack.empty() ? nullptr : m_pageStack.back(); }

CmivoPageWnd* mivoCore::GetPage(int index) {
  if (index < 0 || index >= kPageCatalogueSize) return nullptr;
  // The main menu's catalogue makes its pages here on first request.
  return m_pageCatalogue[static_cast<std::size_t>(index)];
}

void mivoCore::ShowPageById(int index) { ShowPage(GetPage(index)); }

void mivoCore::ForgetPage(CmivoPageWnd* page) {
  std::erase(m_pageStack, page);
  if (m_pDesktopPage == page) m_pDesktopPage = nullptr;
}

void mivoCore::ActivatePage(CmivoPageWnd* page) {
  SipShowIM(SIPF_OFF);
  page->OnPageShown();
}

void mivoCore::DeactivatePage(CmivoPageWnd* page) { page->OnPageHidden(); }

void mivoCore::RequestModeFor(CmivoPageWnd* page) {
  if (!m_pSettings || !m_pSettings->GetUseFullScreen()) return;
  const int wanted = page == m_pDesktopPage ? kScreenModeFullScreen : kScreenModeFullScreenMenu;
  SetScreenMode(wanted);
}

void mivoCore::ShowPage(CmivoPageWnd* page) {
  if (!page) return;
  // 1. The page on top goes, even when it is the one coming back (wake-up).
  if (CmivoPageWnd* top = TopPage(); top && top->m_hWnd) {
    top->ShowWindow(SW_HIDE);
    DeactivatePage(top);
  }
  // 2. Its window on first show.
  if (!page->m_hWnd && m_pMainFrame && m_pMainFrame->m_hWnd) page->CreatePage(m_pMainFrame);
  // 3. Activation; 4. the slide comes with the page framework.
  ActivatePage(page);
  // 5.
  page->UpdateSoftKeys();
  if (m_animationsOn) page->RequestBufferedPaint();
  // 6.
  if (page->m_hWnd) {
    page->ShowWindow(SW_SHOW);
    page->SetFocus();
  }
  // 7. The full-screen setting is read now: the root page takes the whole
  //    screen, other pages leave room for the menu bar.
  RequestModeFor(page);
  // 8. Always pushed, even when it is on the stack already.
  m_pageStack.push_back(page);
  // 9.
  PumpOneMessage();
}

void mivoCore::PopPage() {
  if (m_pageStack.size() <= 1) return;
  CmivoPageWnd* top = m_pageStack.back();
  CmivoPageWnd* below = m_pageStack[m_pageStack.size() - 2];
  if (m_pSettings && m_pSettings->GetUseFullScreen()) {
    RequestModeFor(below);
    PumpOneMessage();
  }
  if (top->m_hWnd) top->ShowWindow(SW_HIDE);
  DeactivatePage(top);
  below->UpdateSoftKeys();
  if (below->m_hWnd) below->ShowWindow(SW_SHOW);
  ActivatePage(below);
  if (below->m_hWnd) below->SetFocus();
  // The page stays alive for the next time; only its entry goes.
  m_pageStack.pop_back();
}

// ---- Overlays ------------------------------------------------------------------------

void mivoCore::ShowPleaseWait(const std::u16string&) { ++m_pleaseWaitDepth; }
void mivoCore::HidePleaseWait() { --m_pleaseWaitDepth; }
void mivoCore::ShowMessage(const std::u16string&, const std::u16string&) {}
bool mivoCore::AskYesNo(const std::u16string&, const std::u16string&) { return false; }
bool mivoCore::EnterText(const std::u16string&, const std::u16string&, std::u16string*, bool) { return false; }
void mivoCore::ShowError(const std::u16string&) {}
void mivoCore::ShowLastError(const std::u16string&) {}
