#include "app/core.h"

#include <algorithm>

#include "actions/actions.h"
#include "app/main_frame.h"
#include "app/messages.h"
#include "app/pim_services.h"
#include "app/settings.h"
#include "app/trace.h"
#include "look/appearance.h"
#include "look/file_operations.h"
#include "look/language.h"
#include "pages/page_catalogue.h"
#include "pim/call_log.h"
#include "pim/outlook_app.h"
#include "pim/sms_store.h"
#include "platform/fs/files.h"
#include "platform/shell/fullscreen.h"
#include "platform/shell/input_panel.h"
#include "platform/shell/kernel.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/format_message.h"
#include "platform/win32/local_memory.h"
#include "platform/win32/rect.h"
#include "platform/win32/text.h"
#include "platform/window/command_bar.h"
#include "platform/window/describe.h"
#include "platform/window/message.h"
#include "platform/window/message_box.h"
#include "platform/window/metrics.h"
#include "platform/window/window.h"
#include "ui/animate_wnd.h"
#include "ui/enter_text.h"
#include "ui/message_box.h"
#include "ui/page_wnd.h"
#include "ui/please_wait.h"

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
  //    object is made now, its window with the first page.
  spine::Trace("core: program folder cache, animation window");
  m_programFolder.clear();
  m_pAnimate = std::make_unique<CmivoAnimateWnd>(this);

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

  // 10. The call log; no SMS store, phone line or root page yet.
  spine::Trace("core: call log");
  m_pCallLog = new mivoCallLog;
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
  // From here pages only leave: nothing is shown in place of a page that goes.
  m_destroying = true;
  RunDeferredDeletes();
  for (std::size_t i = 0; i < m_pageCatalogue.size(); ++i) {
    CmivoPageWnd* page = m_pageCatalogue[i];
    if (!page) continue;
    m_pageCatalogue[i] = nullptr;
    ForgetPage(page);
    delete page;
  }
  while (!m_namedPages.empty()) {
    CmivoPageWnd* page = m_namedPages.back().second;
    m_namedPages.pop_back();
    ForgetPage(page);
    delete page;
  }
  m_pageStack.clear();
  m_waitingNavigation.clear();

  // The stores made on first use are deleted by the parts that bring them,
  // each at its place in this order.
  spine::Trace("core: destroy Outlook store");
  m_pContactService.reset();
  delete m_pOutlook;
  m_pOutlook = nullptr;
  spine::Trace("core: destroy look object");
  m_pAppearance.reset();
  spine::Trace("core: destroy call log");
  delete m_pCallLog;
  m_pCallLog = nullptr;
  spine::Trace("core: close phone line");
  spine::Trace("core: destroy SMS store");
  m_pSMSService.reset();
  delete m_pSMSStore;
  m_pSMSStore = nullptr;
  spine::Trace("core: destroy plug-in registry");
  spine::Trace("core: destroy control-panel catalogue");
  spine::Trace("core: destroy connection manager");
  spine::Trace("core: destroy please-wait window");
  delete m_pPleaseWait;
  m_pPleaseWait = nullptr;
  spine::Trace("core: destroy animation window");
  m_pAnimate.reset();
  // What pages and rows queued to delete goes before the stores they used.
  RunDeferredDeletes();
  m_pFileOperationsUI.reset();
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

void mivoCore::RunAction(mivoAction* action) {
  if (m_pActions) m_pActions->RunAction(action);
}

// ---- Made on first use ------------------------------------------------------------

POApplication* mivoCore::GetOutlookStore() {
  // Not while the core goes: nothing is made then.
  if (!m_pOutlook && !m_destroying) {
    HWND frame = m_pMainFrame ? m_pMainFrame->m_hWnd : nullptr;
    m_pOutlook = new POApplication(frame);
    m_pContactService = std::make_unique<mivoContactDirectoryService>(m_pOutlook, m_pActions.get());
  }
  return m_pOutlook;
}

mivoSMSStore* mivoCore::GetSMSStore() {
  if (!m_pSMSStore && !m_destroying) {
    m_pSMSStore = new mivoSMSStore;
    m_pSMSService = std::make_unique<mivoSMSSenderService>(m_pSMSStore, m_pActions.get());
  }
  return m_pSMSStore;
}
mivoControlPanelCatalogue* mivoCore::GetControlPanelCatalogue() { return m_pControlPanel; }
mivoConnectionManager* mivoCore::GetConnectionManager() { return m_pConnectionManager; }
mivoPluginRegistry* mivoCore::GetPluginRegistry() { return m_pPluginRegistry; }

// ---- Pages ---------------------------------------------------------------------------

CmivoPageWnd* mivoCore::TopPage() const { return m_pageStack.empty() ? nullptr : m_pageStack.back(); }

CmivoPageWnd* mivoCore::GetPage(int index) {
  if (!CatalogueHasPage(index)) return nullptr;
  CmivoPageWnd*& slot = m_pageCatalogue[static_cast<std::size_t>(index)];
  // Made on the first request and kept; a page that could not be made is
  // tried again at the next request.
  if (!slot) slot = CreateCataloguePage(this, index);
  if (slot) PrepareCataloguePage(slot, index);
  return slot;
}

void mivoCore::ShowPageById(int index) { ShowPage(GetPage(index)); }

void mivoCore::ForgetPage(CmivoPageWnd* page) {
  if (!page) return;
  const bool wasTop = TopPage() == page;
  std::erase(m_pageStack, page);
  std::erase_if(m_waitingNavigation, [page](const NavigationRequest& r) { return r.page == page; });
  if (m_pDesktopPage == page) m_pDesktopPage = nullptr;
  for (CmivoPageWnd*& slot : m_pageCatalogue) {
    if (slot == page) slot = nullptr;
  }
  std::erase_if(m_namedPages, [page](const auto& named) { return named.second == page; });
  // The page under a page that went away is the visible one now.
  if (wasTop && !m_destroying) {
    CmivoPageWnd* top = TopPage();
    if (top && top->m_hWnd && !top->IsWindowVisible()) {
      top->UpdateSoftKeys();
      top->ShowWindow(SW_SHOW);
      ActivatePage(top);
      top->SetFocus();
    }
  }
}

CmivoPageWnd* mivoCore::GetNamedPage(const std::string& name, const std::function<CmivoPageWnd*(mivoCore*)>& make) {
  for (const auto& [key, page] : m_namedPages) {
    if (key == name) return page;
  }
  if (!make || m_destroying) return nullptr;
  CmivoPageWnd* page = make(this);
  if (page) m_namedPages.emplace_back(name, page);
  return page;
}

void mivoCore::DestroyPage(CmivoPageWnd* page) {
  if (!page) return;
  ForgetPage(page);
  if (page->m_hWnd) page->ShowWindow(SW_HIDE);
  DeleteLater([page] { delete page; });
}

void mivoCore::DeleteLater(std::function<void()> deleter) {
  if (!deleter) return;
  m_deferred.push_back(std::move(deleter));
  if (m_deferredPosted || m_destroying) return;
  // Private messages are never taken by PumpOneMessage nor by an overlay's
  // loop: this one runs only when the program's own loop is back in charge.
  if (m_pMainFrame && m_pMainFrame->m_hWnd && m_pMainFrame->PostMessage(WM_MIVO_RUN_DEFERRED)) {
    m_deferredPosted = true;
  }
}

void mivoCore::RunDeferredDeletes() {
  m_deferredPosted = false;
  // A deletion may queue further ones; they run in this same pass.
  while (!m_deferred.empty()) {
    std::vector<std::function<void()>> work;
    work.swap(m_deferred);
    for (auto& fn : work) fn();
  }
}

void mivoCore::ActivatePage(CmivoPageWnd* page) {
  SipShowIM(SIPF_OFF);
  page->ResetSwipeState();
  page->ClearPressPending();
  page->OnPageShown();
}

void mivoCore::DeactivatePage(CmivoPageWnd* page) {
  page->ResetSwipeState();
  page->OnPageHidden();
}

void mivoCore::RequestModeFor(CmivoPageWnd* page) {
  if (!m_pSettings || !m_pSettings->GetUseFullScreen()) return;
  const int wanted = page == m_pDesktopPage ? kScreenModeFullScreen : kScreenModeFullScreenMenu;
  SetScreenMode(wanted);
}

void mivoCore::EnsureAnimationWindow() {
  if (m_pAnimate && !m_pAnimate->m_hWnd && m_pMainFrame && m_pMainFrame->m_hWnd) {
    m_pAnimate->CreateAnimation(m_pMainFrame);
  }
}

void mivoCore::RaisePleaseWait() {
  if (m_pleaseWaitDepth > 0 && m_pPleaseWait && m_pPleaseWait->m_hWnd && m_pPleaseWait->IsWindowVisible()) {
    ::SetWindowPos(m_pPleaseWait->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

namespace {
// Marks a page switch as running for its whole length.
class SwitchScope {
 public:
  explicit SwitchScope(bool& flag) : m_flag(flag) { m_flag = true; }
  ~SwitchScope() { m_flag = false; }
  SwitchScope(const SwitchScope&) = delete;
  SwitchScope& operator=(const SwitchScope&) = delete;

 private:
  bool& m_flag;
};
}  // namespace

void mivoCore::ShowPage(CmivoPageWnd* page) {
  if (!page) return;
  if (m_switching) {
    // A tap handled while a switch pumps a message waits for the switch.
    m_waitingNavigation.push_back(NavigationRequest{page});
    return;
  }
  SwitchToPage(page);
  RunWaitingNavigation();
}

void mivoCore::PopPage() {
  if (m_switching) {
    m_waitingNavigation.push_back(NavigationRequest{nullptr});
    return;
  }
  SwitchBack();
  RunWaitingNavigation();
}

void mivoCore::RunWaitingNavigation() {
  while (!m_waitingNavigation.empty() && !m_switching) {
    const NavigationRequest request = m_waitingNavigation.front();
    m_waitingNavigation.pop_front();
    if (request.page) {
      SwitchToPage(request.page);
    } else {
      SwitchBack();
    }
  }
}

void mivoCore::SwitchToPage(CmivoPageWnd* page) {
  SwitchScope scope(m_switching);
  CmivoPageWnd* top = TopPage();
  const bool animate = m_animationsOn && top && !(top == m_pDesktopPage && page == m_pDesktopPage);
  // The screen as it is now is where the slide starts.
  if (animate && m_pAnimate) m_pAnimate->TakeSnapshot();

  // 1. The page on top goes, even when it is the one coming back (wake-up).
  if (top && top->m_hWnd) {
    top->ShowWindow(SW_HIDE);
    DeactivatePage(top);
  }
  // The stack is right before anything below can pump a message: always
  // pushed, even when the page is on the stack already or on top.
  m_pageStack.push_back(page);
  // 2. Its window on first show, and the slide's window with the first page.
  if (!page->m_hWnd && m_pMainFrame && m_pMainFrame->m_hWnd) page->CreatePage(m_pMainFrame);
  EnsureAnimationWindow();
  // 3.
  ActivatePage(page);
  // 4.
  if (animate && m_pAnimate) m_pAnimate->Animate(top, page, 1);
  // 5.
  page->UpdateSoftKeys();
  if (m_animationsOn) page->RequestBufferedPaint();
  // 6.
  if (page->m_hWnd) {
    page->ShowWindow(SW_SHOW);
    page->SetFocus();
  }
  RaisePleaseWait();
  // 7. The full-screen setting is read now: the root page takes the whole
  //    screen, other pages leave room for the menu bar.
  RequestModeFor(page);
  // 9.
  PumpOneMessage();
}

void mivoCore::SwitchBack() {
  // 1. The root page is never popped.
  if (m_pageStack.size() <= 1) return;
  SwitchScope scope(m_switching);
  // 2.
  CmivoPageWnd* top = m_pageStack.back();
  CmivoPageWnd* below = m_pageStack[m_pageStack.size() - 2];
  if (m_animationsOn && m_pAnimate) m_pAnimate->TakeSnapshot();
  // The stack is right before anything can pump a message; the page object
  // and its window stay alive for the next time.
  m_pageStack.pop_back();
  // 3.
  if (m_pSettings && m_pSettings->GetUseFullScreen()) {
    RequestModeFor(below);
    PumpOneMessage();
  }
  // 4.
  if (top->m_hWnd) top->ShowWindow(SW_HIDE);
  DeactivatePage(top);
  // 5.
  if (m_animationsOn && m_pAnimate) {
    EnsureAnimationWindow();
    m_pAnimate->Animate(top, below, 0);
  }
  // 6.
  below->UpdateSoftKeys();
  if (m_animationsOn) below->RequestBufferedPaint();
  if (below->m_hWnd) below->ShowWindow(SW_SHOW);
  ActivatePage(below);
  if (below->m_hWnd) below->SetFocus();
  RaisePleaseWait();
}

// ---- Overlays ------------------------------------------------------------------------

int mivoCore::RunMessageBox(const std::u16string& title, const std::u16string& text, bool okOnly) {
  CmivoMessageBox box(this);
  return box.Run(title, text, okOnly);
}

void mivoCore::ShowMessage(const std::u16string& text, const std::u16string& title) {
  RunMessageBox(title, text, true);
}

bool mivoCore::AskYesNo(const std::u16string& text, const std::u16string& title) {
  return RunMessageBox(title, text, false) == 1;
}

void mivoCore::ShowError(const std::u16string& text) { RunMessageBox(GetString(2), text, true); }

void mivoCore::ShowLastError(const std::u16string& prefix) {
  const DWORD error = GetLastError();
  LPWSTR buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, error, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::u16string text = prefix + u"\n";
  if (buffer) {
    text.append(buffer, n);
    LocalFree(buffer);
  }
  ShowError(text);
}

bool mivoCore::EnterText(const std::u16string& title, const std::u16string& prompt, std::u16string* text,
                         bool multiLine) {
  CmivoEnterTextWnd entry(this);
  return entry.Run(title, prompt, text, multiLine);
}

void mivoCore::ShowPleaseWait(const std::u16string& text) {
  // 1.
  if (!m_pPleaseWait && m_pMainFrame && m_pMainFrame->m_hWnd) {
    m_pPleaseWait = new CmivoPleaseWaitWnd(this);
    if (!m_pPleaseWait->CreateBar(m_pMainFrame)) {
      delete m_pPleaseWait;
      m_pPleaseWait = nullptr;
    }
  }
  // 2. Placed and shown by the outermost call only.
  if (m_pleaseWaitDepth <= 0 && m_pPleaseWait) m_pPleaseWait->Place();
  // 3. A nested call's text shows at once.
  if (m_pPleaseWait) m_pPleaseWait->SetText(text);
  m_pleaseWaitDepth = std::max(0, m_pleaseWaitDepth) + 1;
}

void mivoCore::HidePleaseWait() {
  // An unbalanced call never takes the depth below 0.
  if (m_pleaseWaitDepth <= 0) {
    m_pleaseWaitDepth = 0;
    return;
  }
  --m_pleaseWaitDepth;
  if (m_pleaseWaitDepth == 0 && m_pPleaseWait) m_pPleaseWait->Hide();
}

namespace {
// The file operations' view of the overlays.
class CoreFileOperationsUI : public mivoFileOperationsUI {
 public:
  explicit CoreFileOperationsUI(mivoCore* core) : m_pCore(core) {}
  void ShowSystemError(int stringId) override {
    // The texts end with their own line break before the system's part.
    const std::u16string text = GetString(stringId) + SystemErrorText(GetLastError());
    m_pCore->ShowError(text);
  }
  bool EnterText(std::u16string_view text, std::u16string_view caption, std::u16string* value) override {
    return m_pCore->EnterText(std::u16string(caption), std::u16string(text), value, false);
  }

 private:
  mivoCore* m_pCore;
};
}  // namespace

mivoFileOperationsUI& mivoCore::FileOperationsUI() {
  if (!m_pFileOperationsUI) m_pFileOperationsUI = std::make_unique<CoreFileOperationsUI>(this);
  return *m_pFileOperationsUI;
}
