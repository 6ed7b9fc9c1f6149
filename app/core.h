// mivoCore: the central state object. The main frame builds it while it is
// created; it owns every long-lived object (settings, look, actions, pages and
// the stores made on first use) and is reached from every window through
// mivoClass. There is exactly one, destroyed when the application exits.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/types.h"

class CCommandBar;
class CMainFrame;
class CmivoAnimateWnd;
class CmivoPageWnd;
class mivoAction;
class mivoActions;
class mivoAppearance;
class mivoSettings;
class mivoFileOperationsUI;

// Objects of later parts of the system, made on first use.
class POApplication;               // the Outlook store
class mivoCallLog;                 // the device's call log
class mivoSMSStore;                // the SMS store
class mivoPhoneLine;               // the telephony line
class mivoControlPanelCatalogue;   // the control-panel applets
class mivoConnectionManager;       // the wireless device list
class mivoPluginRegistry;          // the gadget plug-in libraries
class CmivoPleaseWaitWnd;          // the please-wait bar
class mivoContactDirectoryService; // the contacts as the actions see them
class mivoSMSSenderService;        // sending SMS as the actions see it

// Screen modes of the main frame.
constexpr int kScreenModeStandard = 0;        // task bar and menu bar shown
constexpr int kScreenModeFullScreen = 1;      // the whole screen, no bars
constexpr int kScreenModeFullScreenMenu = 2;  // the whole screen above the menu bar
constexpr int kScreenModeCurrent = 3;         // ApplyScreenMode: the current mode again

// Slots of the page catalogue (page indices 0..35).
constexpr int kPageCatalogueSize = 36;

class mivoCore {
 public:
  // The construction steps, in order; see core.cpp.
  explicit mivoCore(CMainFrame* frame);
  // Saves, then deletes the pages, then the stores; see core.cpp.
  ~mivoCore();
  mivoCore(const mivoCore&) = delete;
  mivoCore& operator=(const mivoCore&) = delete;

  // ---- The application ----
  // The program's folder with its trailing backslash, taken once from the
  // module file name ("\Program Files\mivo\").
  const std::u16string& GetProgramFolder();
  static const char16_t* GetVersionText();  // "2.3 beta 4"
  // Dispatches at most one pending message with an id from 0 to 0x400, so
  // painting happens between visible steps; private messages stay queued.
  static void PumpOneMessage();
  // Portrait when the frame's client area is at least as high as wide, or
  // on a square screen. Per-orientation settings use landscape exactly when false.
  bool IsPortrait() const;
  // Lays the frame out for a mode (kScreenModeCurrent: the current one again);
  // nothing when the requested mode is the current one.
  void ApplyScreenMode(CCommandBar* menuBar, int mode);
  // Stores a new mode and asks the frame to apply it at its next activation.
  void SetScreenMode(int mode);
  int GetScreenMode() const { return m_screenMode; }
  // Ends the program in order: posts the exit request to the frame.
  void RequestExit();
  // The soft-key labels (null: leave that key as it is). They must stay valid
  // until the frame handles the message: pass static texts.
  void PostSoftKeys(const char16_t* left, const char16_t* right);
  void MinimizeApplication();

  // ---- Owned objects ----
  mivoSettings& Settings() { return *m_pSettings; }
  mivoAppearance* GetAppearance() { return m_pAppearance.get(); }
  mivoActions* GetActions() { return m_pActions.get(); }
  // Runs an action (which stays with its caller) and counts it in the
  // actions history: every tappable row, tile, favourite and gadget calls it.
  void RunAction(mivoAction* action);
  CMainFrame* GetMainFrame() const { return m_pMainFrame; }
  bool AnimationsOn() const { return m_animationsOn; }

  // Made on first use by the parts that bring them; null until then.
  // The Outlook store (contacts, tasks, appointments) and the SMS store are
  // made at their first request and registered with the actions.
  POApplication* GetOutlookStore();
  mivoSMSStore* GetSMSStore();
  mivoControlPanelCatalogue* GetControlPanelCatalogue();
  mivoConnectionManager* GetConnectionManager();
  mivoPluginRegistry* GetPluginRegistry();
  // The phone object: the call log and dialling; made with the core.
  mivoCallLog* GetCallLog() { return m_pCallLog; }

  // ---- Pages ----
  // The root page, set by the frame at its first activation.
  CmivoPageWnd* GetDesktopPage() const { return m_pDesktopPage; }
  void SetDesktopPage(CmivoPageWnd* page) { m_pDesktopPage = page; }
  // Pushes the page and shows it over the current one (with the slide when
  // animations are on); nothing for null. A request made while another
  // switch is under way waits until that switch has ended.
  void ShowPage(CmivoPageWnd* page);
  void ShowPageById(int index);
  // Back: uncovers the page below; the root page is never popped.
  void PopPage();
  CmivoPageWnd* TopPage() const;
  // The catalogue's page for an index, made on first use; null for none.
  CmivoPageWnd* GetPage(int index);
  // Pages of the program outside the catalogue (the skin editor's pages, the
  // theme lists): made by `make` on the first request for the name, then the
  // same page every time; deleted with the catalogue's pages.
  CmivoPageWnd* GetNamedPage(const std::string& name, const std::function<CmivoPageWnd*(mivoCore*)>& make);
  // Bottom (the root page) first.
  const std::vector<CmivoPageWnd*>& PageStack() const { return m_pageStack; }
  // Drops every entry of a page that is going away (the stack, the waiting
  // requests, the catalogue's slot); when it was on top, the page below shows.
  void ForgetPage(CmivoPageWnd* page);
  // Takes a page away: forgotten now, deleted once the message being
  // handled has returned (its own handler may be running).
  void DestroyPage(CmivoPageWnd* page);
  // Runs `deleter` after the message being handled now has returned, from
  // the program's own loop: for objects (rows, actions, menus, pages) that
  // may be deleted from inside one of their own handlers.
  void DeleteLater(std::function<void()> deleter);
  // Runs what DeleteLater queued (the frame does it on its private message).
  void RunDeferredDeletes();
  // True while ShowPage or PopPage runs.
  bool IsSwitchingPages() const { return m_switching; }
  // The slide's window object (its window is made with the first page).
  CmivoAnimateWnd* GetAnimateWnd() const { return m_pAnimate.get(); }

  // ---- Overlays ----
  // The skinned message box: 1 for OK or yes, 2 for no, 0 when the program ends meanwhile.
  int RunMessageBox(const std::u16string& title, const std::u16string& text, bool okOnly);
  void ShowMessage(const std::u16string& text, const std::u16string& title);
  bool AskYesNo(const std::u16string& text, const std::u16string& title);
  // Titled "Error".
  void ShowError(const std::u16string& text);
  // The prefix, a line break and the platform's text for GetLastError.
  void ShowLastError(const std::u16string& prefix);
  // True for OK: `text` then holds the typed text; else it is left as it was.
  bool EnterText(const std::u16string& title, const std::u16string& prompt, std::u16string* text, bool multiLine);
  // The please-wait bar; calls nest, the last hide removes it.
  void ShowPleaseWait(const std::u16string& text);
  void HidePleaseWait();
  int PleaseWaitDepth() const { return m_pleaseWaitDepth; }
  CmivoPleaseWaitWnd* GetPleaseWaitWnd() const { return m_pPleaseWait; }
  // The overlays as the file operations use them.
  mivoFileOperationsUI& FileOperationsUI();

  // ---- System state (kept by the main frame) ----
  DWORD BatteryFlags = 0;    // low word of the battery value
  DWORD BatteryLevel = 0;    // high word of the battery value plus 19; not limited
  DWORD SignalStrength = 0;  // raw signal strength as read, 0..100

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
  // The please-wait bar stays above a page shown while it is up.
  void RaisePleaseWait();

  // A page switch asked for while another one runs.
  struct NavigationRequest {
    CmivoPageWnd* page = nullptr;  // the page to show; null for Back
  };

  POApplication* m_pOutlook = nullptr;                 // made on first use
  std::unique_ptr<mivoAppearance> m_pAppearance;       // the look object
  mivoCallLog* m_pCallLog = nullptr;                   // made at construction
  mivoSMSStore* m_pSMSStore = nullptr;                 // made on first use
  std::unique_ptr<mivoContactDirectoryService> m_pContactService;  // with the Outlook store
  std::unique_ptr<mivoSMSSenderService> m_pSMSService;             // with the SMS store
  mivoPhoneLine* m_pPhoneLine = nullptr;               // made on first use
  CMainFrame* m_pMainFrame = nullptr;                  // the frame that built the core; not owned
  CmivoPageWnd* m_pDesktopPage = nullptr;              // the root page; not owned here
  mivoControlPanelCatalogue* m_pControlPanel = nullptr;  // made on first use
  mivoConnectionManager* m_pConnectionManager = nullptr;  // made on first use
  mivoPluginRegistry* m_pPluginRegistry = nullptr;     // made on first use
  std::vector<CmivoPageWnd*> m_pageStack;              // bottom = root page, top = visible page
  std::array<CmivoPageWnd*, kPageCatalogueSize> m_pageCatalogue{};  // pages made on first use, owned
  std::vector<std::pair<std::string, CmivoPageWnd*>> m_namedPages;  // GetNamedPage's pages, owned
  int m_screenMode = kScreenModeStandard;              // the frame's current layout
  std::unique_ptr<mivoActions> m_pActions;             // action factory, favourites, history
  std::u16string m_programFolder;                      // cached by GetProgramFolder
  std::unique_ptr<mivoSettings> m_pSettings;           // the settings accessor
  bool m_animationsOn = true;                          // AnimationsEnabled, taken at start
  int m_pleaseWaitDepth = 0;                           // nesting of ShowPleaseWait
  CmivoPleaseWaitWnd* m_pPleaseWait = nullptr;         // made on first use
  std::unique_ptr<CmivoAnimateWnd> m_pAnimate;         // the slide; its window comes with the first page
  std::deque<NavigationRequest> m_waitingNavigation;   // requests made during a switch, in order
  bool m_switching = false;                            // ShowPage or PopPage is running
  std::vector<std::function<void()>> m_deferred;       // DeleteLater's work, in order
  bool m_deferredPosted = false;                       // the frame has been asked to run it
  bool m_destroying = false;                           // the core is going: pages only leave
  std::unique_ptr<mivoFileOperationsUI> m_pFileOperationsUI;  // made on first use
};
