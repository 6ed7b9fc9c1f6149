// mivoAppCore: the program's central state object, the one implementation of
// mivoCore. The main frame builds it while it is created; it owns every
// long-lived object (settings, look, actions, pages and the stores made on
// first use) and is reached from every window through mivoClass. There is
// exactly one, destroyed when the application exits.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/core.h"

class CCommandBar;
class CMainFrame;
class CmivoAnimateWnd;
class CmivoPleaseWaitWnd;
class mivoPhoneLine;  // the telephony line
class mivoContactDirectoryService;  // the contacts as the actions see them
class mivoSMSSenderService;         // sending SMS as the actions see it

class mivoAppCore : public mivoCore {
 public:
  // The construction steps, in order; see app_core.cpp.
  explicit mivoAppCore(CMainFrame* frame);
  // Saves, then deletes the pages, then the stores; see app_core.cpp.
  ~mivoAppCore() override;
  mivoAppCore(const mivoAppCore&) = delete;
  mivoAppCore& operator=(const mivoAppCore&) = delete;

  // ---- The application ----
  const std::u16string& GetProgramFolder() override;
  bool IsPortrait() const override;
  // Lays the frame out for a mode (kScreenModeCurrent: the current one again);
  // nothing when the requested mode is the current one.
  void ApplyScreenMode(CCommandBar* menuBar, int mode);
  void SetScreenMode(int mode) override;
  int GetScreenMode() const { return m_screenMode; }
  void RequestExit() override;
  void PostSoftKeys(const char16_t* left, const char16_t* right) override;
  void MinimizeApplication() override;
  CFrameWnd* GetMainFrame() const override;

  // ---- Owned objects ----
  mivoSettings& Settings() override { return *m_pSettings; }
  mivoAppearance* GetAppearance() override { return m_pAppearance.get(); }
  mivoActions* GetActions() override { return m_pActions.get(); }
  void RunAction(mivoAction* action) override;

  // ---- Stores of later parts: null until their parts exist ----
  // The Outlook store and the SMS store are made at their first request and
  // registered with the actions; the phone object is made with the core.
  POApplication* GetOutlookStore() override;
  mivoSMSStore* GetSMSStore() override;
  mivoCallLog* GetCallLog() override { return m_pCallLog; }
  // Made on the first request and kept for the run.
  mivoControlPanelCatalogue* GetControlPanelCatalogue() override;
  mivoConnectionManager* GetConnectionManager() override;
  mivoPluginRegistry* GetPluginRegistry() override;

  // ---- Pages ----
  CmivoPageWnd* GetDesktopPage() const override { return m_pDesktopPage; }
  // The root page, set by the frame at its first activation.
  void SetDesktopPage(CmivoPageWnd* page) { m_pDesktopPage = page; }
  void ShowPage(CmivoPageWnd* page) override;
  void PopPage() override;
  CmivoPageWnd* TopPage() const override;
  CmivoPageWnd* GetPage(int index) override;
  CmivoPageWnd* GetNamedPage(const std::string& name,
                             const std::function<CmivoPageWnd*(mivoCore*)>& make) override;
  // Bottom (the root page) first.
  const std::vector<CmivoPageWnd*>& PageStack() const { return m_pageStack; }
  void ForgetPage(CmivoPageWnd* page) override;
  void DestroyPage(CmivoPageWnd* page) override;
  void DeleteLater(std::function<void()> deleter) override;
  void RunDeferredDeletes() override;
  // The slide's window object (its window is made with the first page).
  CmivoAnimateWnd* GetAnimateWnd() const { return m_pAnimate.get(); }

  // ---- Overlays ----
  int RunMessageBox(const std::u16string& title, const std::u16string& text, bool okOnly) override;
  bool EnterText(const std::u16string& title, const std::u16string& prompt, std::u16string* text,
                 bool multiLine) override;
  void ShowPleaseWait(const std::u16string& text) override;
  void HidePleaseWait() override;
  void EndPleaseWait() override;
  int PleaseWaitDepth() const { return m_pleaseWaitDepth; }
  CmivoPleaseWaitWnd* GetPleaseWaitWnd() const { return m_pPleaseWait; }
  mivoFileOperationsUI& FileOperationsUI() override;

  // ---- System state: the frame stores what it reads ----
  DWORD GetBatteryFlags() const override { return m_batteryFlags; }
  DWORD GetBatteryLevel() const override { return m_batteryLevel; }
  DWORD GetSignalStrength() const override { return m_signalStrength; }
  void SetBatteryFlags(DWORD flags) { m_batteryFlags = flags; }
  void SetBatteryLevel(DWORD level) { m_batteryLevel = level; }
  void SetSignalStrength(DWORD strength) { m_signalStrength = strength; }

 private:
  // Page activation and deactivation as the stack runs them.
  void ActivatePage(CmivoPageWnd* page);
  void DeactivatePage(CmivoPageWnd* page);
  // With UseFullScreen on, the mode a page wants (1 for the root page, 2 for
  // others); asks the frame to apply it when it differs.
  void RequestModeFor(CmivoPageWnd* page);
  // The switches themselves, and the requests that waited for them.
  void SwitchToPage(CmivoPageWnd* page);
  void SwitchBack();
  void RunWaitingNavigation();
  // The slide's window, made when the frame exists.
  void EnsureAnimationWindow();
  // Takes AnimationsEnabled again before a switch (it may have changed).
  void RefreshAnimationsSetting();
  // The please-wait bar stays above a page shown while it is up.
  void RaisePleaseWait();

  // A page switch asked for while another one runs.
  struct NavigationRequest {
    CmivoPageWnd* page = nullptr;  // the page to show; null for Back
  };

  POApplication* m_pOutlook = nullptr;                    // made on first use
  std::unique_ptr<mivoAppearance> m_pAppearance;          // the look object
  mivoCallLog* m_pCallLog = nullptr;                      // the phone object, made at construction
  mivoSMSStore* m_pSMSStore = nullptr;                    // made on first use
  std::unique_ptr<mivoContactDirectoryService> m_pContactService;  // with the Outlook store
  std::unique_ptr<mivoSMSSenderService> m_pSMSService;             // with the SMS store
  mivoPhoneLine* m_pPhoneLine = nullptr;                  // null until the call log part opens it; closed at exit
  CMainFrame* m_pMainFrame = nullptr;                     // the frame that built the core; not owned
  CmivoPageWnd* m_pDesktopPage = nullptr;                 // the root page; not owned here
  mivoControlPanelCatalogue* m_pControlPanel = nullptr;   // made on first use; owned
  mivoConnectionManager* m_pConnectionManager = nullptr;  // made on first use; owned
  mivoPluginRegistry* m_pPluginRegistry = nullptr;        // made on first use; owned
  std::vector<CmivoPageWnd*> m_pageStack;                 // bottom = root page, top = visible page
  std::array<CmivoPageWnd*, kPageCatalogueSize> m_pageCatalogue{};  // pages made on first use, owned
  std::vector<std::pair<std::string, CmivoPageWnd*>> m_namedPages;  // GetNamedPage's pages, owned
  int m_screenMode = kScreenModeStandard;                 // the frame's current layout
  std::unique_ptr<mivoActions> m_pActions;                // action factory, favourites, history
  std::u16string m_programFolder;                         // cached by GetProgramFolder
  std::unique_ptr<mivoSettings> m_pSettings;              // the settings accessor
  bool m_animationsOn = true;                             // AnimationsEnabled, taken at start and at each switch
  int m_pleaseWaitDepth = 0;                              // nesting of ShowPleaseWait
  CmivoPleaseWaitWnd* m_pPleaseWait = nullptr;            // made on first use
  std::unique_ptr<CmivoAnimateWnd> m_pAnimate;            // the slide; its window comes with the first page
  std::deque<NavigationRequest> m_waitingNavigation;      // requests made during a switch, in order
  bool m_switching = false;                               // ShowPage or PopPage is running
  std::vector<std::function<void()>> m_deferred;          // DeleteLater's work, in order
  bool m_deferredPosted = false;                          // the frame has been asked to run it
  bool m_destroying = false;                              // the core is going: pages only leave
  std::unique_ptr<mivoFileOperationsUI> m_pFileOperationsUI;  // made on first use
  DWORD m_batteryFlags = 0;                               // low word of the battery value
  DWORD m_batteryLevel = 0;                               // high word of the battery value plus 19
  DWORD m_signalStrength = 0;                             // raw signal strength as read
};
