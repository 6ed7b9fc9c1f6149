#include "app/app_core.h"

#include <algorithm>

#include "actions/actions.h"
#include "app/main_frame.h"
#include "app/pim_services.h"
#include "app/trace.h"
#include "core/assert.h"
#include "core/messages.h"
#include "core/settings.h"
#include "desktop/connection_manager.h"
#include "desktop/plugin_registry.h"
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

mivoAppCore::mivoAppCore(CMainFrame* frame) {
  // Nothing on the stack or in the catalogue yet; the actions store first.
  lifecycle::Trace("core: page stack, page catalogue, actions store");
  m_pageStack.clear();
  m_pageCatalogue.fill(nullptr);
  m_pActions = std::make_unique<mivoActions>(this);
  // Folders that run-file actions open show in the file explorer's page.
  m_pActions->SetFolderPageMaker(&CreateFolderPage);

  // The program folder is looked up on first use; the slide's window object
  // is made now, its window with the first page.
  lifecycle::Trace("core: program folder cache, animation window");
  m_programFolder.clear();
  m_pAnimate = std::make_unique<CmivoAnimateWnd>(this);

  // The default skin package on the first start. The accessor is not made
  // yet; the store alone reads and clears the flag.
  {
    mivoSettingsStore store;
    if (store.GetFinishInstallation()) {
      lifecycle::Trace("core: install default skin");
      InstallDefaultSkin(store.LookSettings(), GetProgramFolder(), GetSystemMetrics(SM_CYSCREEN));
    }
  }

  // Nothing of the stores made on first use exists yet.
  lifecycle::Trace("core: please-wait, stores on first use, main frame");
  m_pleaseWaitDepth = 0;
  m_pPleaseWait = nullptr;
  m_pOutlook = nullptr;
  m_pControlPanel = nullptr;
  m_pConnectionManager = nullptr;
  m_pPluginRegistry = nullptr;
  m_pMainFrame = frame;

  // The settings accessor renews the wake-up registration when AutoShow is on.
  lifecycle::Trace("core: settings accessor");
  m_pSettings = std::make_unique<mivoSettings>();

  // The language; a failure is said once and start-up goes on in English.
  lifecycle::Trace("core: language");
  const std::u16string language = m_pSettings->GetLanguage();
  if (!LoadCurrentLanguage(GetProgramFolder(), language) && !BuiltInLanguageCovers(GetProgramFolder(), language)) {
    lifecycle::Trace("core: language warning");
    const std::u16string warning(kLanguageLoadWarning);
    MessageBoxW(nullptr, warning.c_str(), u"mivo", MB_OK);
  }

  // The screen mode and the animations setting are copies taken at start.
  lifecycle::Trace("core: screen mode and animations");
  m_screenMode = m_pSettings->GetUseFullScreen() ? kScreenModeFullScreen : kScreenModeStandard;
  window::SetDumpScreenMode(m_screenMode);
  m_animationsOn = m_pSettings->GetAnimationsEnabled();

  // The actions history and the favourites.
  lifecycle::Trace("core: load actions history");
  m_pActions->LoadHistoryAndFavorites();

  // The look: DisplayScale, themes, fonts.
  lifecycle::Trace("core: look object");
  m_pAppearance = std::make_unique<mivoAppearance>(m_pSettings->LookSettings(), GetProgramFolder(),
                                                   GetSystemMetrics(SM_CYSCREEN));

  // The call log (the phone object); no SMS store, phone line or root page yet.
  lifecycle::Trace("core: call log");
  m_pCallLog = new mivoCallLog;
  m_pSMSStore = nullptr;
  m_pPhoneLine = nullptr;
  m_pDesktopPage = nullptr;

  // The stack stays empty until the frame's first activation pushes the root page.
  lifecycle::Trace("core: page stack emptied");
  m_pageStack.clear();
}

mivoAppCore::~mivoAppCore() {
  // Everything that is written at the end is written first, while every page
  // and gadget still stands: the actions store only saves here. The pages
  // then go (their rows point at actions and skin images), and only then the
  // stores they pointed at. The files and their order are those of a plain
  // save-then-destroy: the history, the favourites, then the skin file when
  // the look object goes.
  lifecycle::Trace("core: save actions history and favourites");
  if (m_pActions) m_pActions->SaveHistoryAndFavorites();

  lifecycle::Trace("core: delete catalogue pages");
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
  lifecycle::Trace("core: destroy Outlook store");
  m_pContactService.reset();
  delete m_pOutlook;
  m_pOutlook = nullptr;
  lifecycle::Trace("core: destroy look object");
  m_pAppearance.reset();
  lifecycle::Trace("core: destroy call log");
  delete m_pCallLog;
  m_pCallLog = nullptr;
  lifecycle::Trace("core: close phone line");
  lifecycle::Trace("core: destroy SMS store");
  m_pSMSService.reset();
  delete m_pSMSStore;
  m_pSMSStore = nullptr;
  lifecycle::Trace("core: destroy plug-in registry");
  delete m_pPluginRegistry;
  m_pPluginRegistry = nullptr;
  lifecycle::Trace("core: destroy control-panel catalogue");
  DestroyControlPanelCatalogue(this, m_pControlPanel);
  m_pControlPanel = nullptr;
  lifecycle::Trace("core: destroy connection manager");
  delete m_pConnectionManager;
  m_pConnectionManager = nullptr;
  lifecycle::Trace("core: destroy please-wait window");
  delete m_pPleaseWait;
  m_pPleaseWait = nullptr;
  lifecycle::Trace("core: destroy animation window");
  m_pAnimate.reset();
  // What pages and rows queued to delete goes before the stores they used.
  RunDeferredDeletes();
  m_pFileOperationsUI.reset();
  lifecycle::Trace("core: drop program folder");
  m_programFolder.clear();
  lifecycle::Trace("core: destroy actions store");
  m_pActions.reset();
  // Last: the accessor removes the wake-up registration as it goes.
  lifecycle::Trace("core: destroy settings accessor");
  m_pSettings.reset();
}

// ---- The application ---------------------------------------------------------------

const std::u16string& mivoAppCore::GetProgramFolder() {
  if (m_programFolder.empty()) {
    char16_t module[kModuleNameChars + 1] = {};
    const DWORD n = GetModuleFileNameW(nullptr, module, kModuleNameChars);
    std::u16string path(module, n);
    const std::size_t slash = path.rfind(u'\\');
    m_programFolder = slash == std::u16string::npos ? std::u16string(u"\\") : path.substr(0, slash + 1);
  }
  return m_programFolder;
}

bool mivoAppCore::IsPortrait() const {
  if (GetSystemMetrics(SM_CXSCREEN) == GetSystemMetrics(SM_CYSCREEN)) return true;
  RECT client{};
  if (m_pMainFrame && m_pMainFrame->m_hWnd) {
    m_pMainFrame->GetClientRect(&client);
  } else {
    client = MakeRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  }
  return RectHeight(client) >= RectWidth(client);
}

void mivoAppCore::ApplyScreenMode(CCommandBar* menuBar, int mode) {
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

void mivoAppCore::SetScreenMode(int mode) {
  if (mode == m_screenMode) return;
  m_screenMode = mode;
  if (m_pMainFrame && m_pMainFrame->m_hWnd) m_pMainFrame->PostMessage(WM_ACTIVATE, WA_ACTIVE, 0);
}

void mivoAppCore::RequestExit() {
  if (m_pMainFrame && m_pMainFrame->m_hWnd) m_pMainFrame->PostMessage(WM_MIVO_EXIT_REQUEST);
}

void mivoAppCore::PostSoftKeys(const char16_t* left, const char16_t* right) {
  if (!m_pMainFrame || !m_pMainFrame->m_hWnd) return;
  m_pMainFrame->PostMessage(WM_MIVO_SOFTKEYS, reinterpret_cast<WPARAM>(left), reinterpret_cast<LPARAM>(right));
}

void mivoAppCore::MinimizeApplication() {
  if (m_pMainFrame && m_pMainFrame->m_hWnd) m_pMainFrame->ShowWindow(SW_MINIMIZE);
}

CFrameWnd* mivoAppCore::GetMainFrame() const { return m_pMainFrame; }

void mivoAppCore::RunAction(mivoAction* action) {
  if (m_pActions) m_pActions->RunAction(action);
}

// ---- Stores made on first use -----------------------------------------------------------

POApplication* mivoAppCore::GetOutlookStore() {
  // Nothing is made while the core goes.
  if (!m_pOutlook && !m_destroying) {
    HWND frame = m_pMainFrame ? m_pMainFrame->m_hWnd : nullptr;
    m_pOutlook = new POApplication(frame);
    m_pContactService = std::make_unique<mivoContactDirectoryService>(m_pOutlook, m_pActions.get());
  }
  return m_pOutlook;
}

mivoSMSStore* mivoAppCore::GetSMSStore() {
  if (!m_pSMSStore && !m_destroying) {
    m_pSMSStore = new mivoSMSStore;
    m_pSMSService = std::make_unique<mivoSMSSenderService>(m_pSMSStore, m_pActions.get());
  }
  return m_pSMSStore;
}

mivoControlPanelCatalogue* mivoAppCore::GetControlPanelCatalogue() {
  if (!m_pControlPanel && !m_destroying) m_pControlPanel = CreateControlPanelCatalogue(this);
  return m_pControlPanel;
}

mivoConnectionManager* mivoAppCore::GetConnectionManager() {
  if (!m_pConnectionManager && !m_destroying) m_pConnectionManager = new mivoConnectionManager;
  return m_pConnectionManager;
}

mivoPluginRegistry* mivoAppCore::GetPluginRegistry() {
  if (!m_pPluginRegistry && !m_destroying) m_pPluginRegistry = new mivoPluginRegistry(this);
  return m_pPluginRegistry;
}

// ---- Pages ---------------------------------------------------------------------------

CmivoPageWnd* mivoAppCore::TopPage() const { return m_pageStack.empty() ? nullptr : m_pageStack.back(); }

CmivoPageWnd* mivoAppCore::GetPage(int index) {
  if (!CatalogueHasPage(index)) return nullptr;
  CmivoPageWnd*& slot = m_pageCatalogue[static_cast<std::size_t>(index)];
  // Made on the first request and kept; a page that could not be made is
  // tried again at the next request.
  if (!slot) slot = CreateCataloguePage(this, index);
  if (slot) PrepareCataloguePage(slot, index);
  return slot;
}

void mivoAppCore::ForgetPage(CmivoPageWnd* page) {
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

CmivoPageWnd* mivoAppCore::GetNamedPage(const std::string& name,
                                       const std::function<CmivoPageWnd*(mivoCore*)>& make) {
  for (const auto& [key, page] : m_namedPages) {
    if (key == name) return page;
  }
  if (!make || m_destroying) return nullptr;
  CmivoPageWnd* page = make(this);
  if (page) m_namedPages.emplace_back(name, page);
  return page;
}

void mivoAppCore::DestroyPage(CmivoPageWnd* page) {
  if (!page) return;
  ForgetPage(page);
  if (page->m_hWnd) page->ShowWindow(SW_HIDE);
  DeleteLater([page] { delete page; });
}

void mivoAppCore::DeleteLater(std::function<void()> deleter) {
  if (!deleter) return;
  m_deferred.push_back(std::move(deleter));
  if (m_deferredPosted || m_destroying) return;
  // Private messages are never taken by PumpOneMessage nor by an overlay's
  // loop: this one runs only when the program's own loop is back in charge.
  if (m_pMainFrame && m_pMainFrame->m_hWnd && m_pMainFrame->PostMessage(WM_MIVO_RUN_DEFERRED)) {
    m_deferredPosted = true;
  }
}

void mivoAppCore::RunDeferredDeletes() {
  m_deferredPosted = false;
  // A deletion may queue further ones; they run in this same pass.
  while (!m_deferred.empty()) {
    std::vector<std::function<void()>> work;
    work.swap(m_deferred);
    for (auto& fn : work) fn();
  }
}

void mivoAppCore::ActivatePage(CmivoPageWnd* page) {
  SipShowIM(SIPF_OFF);
  page->ResetSwipeState();
  page->ClearPressPending();
  page->OnPageShown();
}

void mivoAppCore::DeactivatePage(CmivoPageWnd* page) {
  page->ResetSwipeState();
  page->OnPageHidden();
}

void mivoAppCore::RequestModeFor(CmivoPageWnd* page) {
  if (!m_pSettings || !m_pSettings->GetUseFullScreen()) return;
  const int wanted = page == m_pDesktopPage ? kScreenModeFullScreen : kScreenModeFullScreenMenu;
  SetScreenMode(wanted);
}

void mivoAppCore::RefreshAnimationsSetting() {
  // The settings page turns the slide on and off while the program runs.
  if (m_pSettings) m_animationsOn = m_pSettings->GetAnimationsEnabled();
}

void mivoAppCore::EnsureAnimationWindow() {
  if (m_pAnimate && !m_pAnimate->m_hWnd && m_pMainFrame && m_pMainFrame->m_hWnd) {
    m_pAnimate->CreateAnimation(m_pMainFrame);
  }
}

void mivoAppCore::RaisePleaseWait() {
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

void mivoAppCore::ShowPage(CmivoPageWnd* page) {
  if (!page) return;
  if (m_switching) {
    // A tap handled while a switch pumps a message waits for the switch.
    m_waitingNavigation.push_back(NavigationRequest{page});
    return;
  }
  SwitchToPage(page);
  RunWaitingNavigation();
}

void mivoAppCore::PopPage() {
  if (m_switching) {
    m_waitingNavigation.push_back(NavigationRequest{nullptr});
    return;
  }
  SwitchBack();
  RunWaitingNavigation();
}

void mivoAppCore::RunWaitingNavigation() {
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

void mivoAppCore::SwitchToPage(CmivoPageWnd* page) {
  SwitchScope scope(m_switching);
  RefreshAnimationsSetting();
  CmivoPageWnd* top = TopPage();
  const bool animate = m_animationsOn && top && !(top == m_pDesktopPage && page == m_pDesktopPage);
  // The screen as it is now is where the slide starts.
  if (animate && m_pAnimate) m_pAnimate->TakeSnapshot();

  // The page on top goes, even when it is the one coming back (wake-up).
  if (top && top->m_hWnd) {
    top->ShowWindow(SW_HIDE);
    DeactivatePage(top);
  }
  // The stack is right before anything below can pump a message: always
  // pushed, even when the page is on the stack already or on top.
  m_pageStack.push_back(page);
  // Its window on first show, and the slide's window with the first page.
  if (!page->m_hWnd && m_pMainFrame && m_pMainFrame->m_hWnd) page->CreatePage(m_pMainFrame);
  EnsureAnimationWindow();
  // It is the top page now; the slide carries it in over the snapshot.
  ActivatePage(page);
  if (animate && m_pAnimate) m_pAnimate->Animate(top, page, 1);
  // Its soft keys, and a first paint in one piece after the slide.
  page->UpdateSoftKeys();
  if (m_animationsOn) page->RequestBufferedPaint();
  if (page->m_hWnd) {
    page->ShowWindow(SW_SHOW);
    page->SetFocus();
  }
  RaisePleaseWait();
  // The full-screen setting is read now: the root page takes the whole
  // screen, other pages leave room for the menu bar.
  RequestModeFor(page);
  // The new page paints before whatever the caller does next.
  PumpOneMessage();
}

void mivoAppCore::SwitchBack() {
  // The root page is never popped.
  if (m_pageStack.size() <= 1) return;
  SwitchScope scope(m_switching);
  RefreshAnimationsSetting();
  // The screen as it is now is where the slide starts.
  CmivoPageWnd* top = m_pageStack.back();
  CmivoPageWnd* below = m_pageStack[m_pageStack.size() - 2];
  // ShowPage refuses null and ForgetPage takes a page's every entry away.
  MIVO_ASSERT(top != nullptr && below != nullptr);
  if (m_animationsOn && m_pAnimate) m_pAnimate->TakeSnapshot();
  // The stack is right before anything can pump a message; the page object
  // and its window stay alive for the next time.
  m_pageStack.pop_back();
  // The page below may want the other full-screen mode; the frame takes it
  // before the page shows.
  if (m_pSettings && m_pSettings->GetUseFullScreen()) {
    RequestModeFor(below);
    PumpOneMessage();
  }
  if (top->m_hWnd) top->ShowWindow(SW_HIDE);
  DeactivatePage(top);
  // The slide carries the top page out over the one below.
  if (m_animationsOn && m_pAnimate) {
    EnsureAnimationWindow();
    m_pAnimate->Animate(top, below, 0);
  }
  // The page below is the top page now.
  below->UpdateSoftKeys();
  if (m_animationsOn) below->RequestBufferedPaint();
  if (below->m_hWnd) below->ShowWindow(SW_SHOW);
  ActivatePage(below);
  if (below->m_hWnd) below->SetFocus();
  RaisePleaseWait();
}

// ---- Overlays ------------------------------------------------------------------------

int mivoAppCore::RunMessageBox(const std::u16string& title, const std::u16string& text, bool okOnly) {
  CmivoMessageBox box(this);
  return box.Run(title, text, okOnly);
}

bool mivoAppCore::EnterText(const std::u16string& title, const std::u16string& prompt, std::u16string* text,
                            bool multiLine) {
  CmivoEnterTextWnd entry(this);
  return entry.Run(title, prompt, text, multiLine);
}

void mivoAppCore::ShowPleaseWait(const std::u16string& text) {
  // The bar's window is made at the first call that has a frame to show it in.
  if (!m_pPleaseWait && m_pMainFrame && m_pMainFrame->m_hWnd) {
    m_pPleaseWait = new CmivoPleaseWaitWnd(this);
    if (!m_pPleaseWait->CreateBar(m_pMainFrame)) {
      delete m_pPleaseWait;
      m_pPleaseWait = nullptr;
    }
  }
  // Placed and shown by the outermost call only.
  if (m_pleaseWaitDepth <= 0 && m_pPleaseWait) m_pPleaseWait->Place();
  // A nested call's text shows at once.
  if (m_pPleaseWait) m_pPleaseWait->SetText(text);
  m_pleaseWaitDepth = std::max(0, m_pleaseWaitDepth) + 1;
}

void mivoAppCore::HidePleaseWait() {
  // An unbalanced call never takes the depth below 0.
  if (m_pleaseWaitDepth <= 0) {
    m_pleaseWaitDepth = 0;
    return;
  }
  --m_pleaseWaitDepth;
  if (m_pleaseWaitDepth == 0 && m_pPleaseWait) m_pPleaseWait->Hide();
}

void mivoAppCore::EndPleaseWait() {
  // The hides that follow find the depth at 0 and change nothing.
  if (m_pleaseWaitDepth <= 0) return;
  m_pleaseWaitDepth = 0;
  if (m_pPleaseWait) m_pPleaseWait->Hide();
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

mivoFileOperationsUI& mivoAppCore::FileOperationsUI() {
  if (!m_pFileOperationsUI) m_pFileOperationsUI = std::make_unique<CoreFileOperationsUI>(this);
  return *m_pFileOperationsUI;
}
