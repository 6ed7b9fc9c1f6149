// mivoCore: what every window, page, list item and gadget needs of the
// program's central state object, reached through mivoClass. The page stack,
// the overlays, the owned stores, the settings, the screen and the system
// state values are offered here as an interface; the application (app/)
// makes the one object that implements it when its main frame is created and
// destroys it when the program exits. Nothing below the application knows
// that object's class, so the page framework, the actions and the pages
// depend on this interface only.
#pragma once

#include <functional>
#include <string>

#include "platform/win32/types.h"

class CFrameWnd;
class CmivoPageWnd;
class mivoAction;
class mivoActions;
class mivoAppearance;
class mivoSettings;
class mivoFileOperationsUI;

// Stores that later parts of the system bring; the core makes each on its
// first request once that part exists.
class POApplication;               // the Outlook store
class mivoCallLog;                 // the device's call log
class mivoSMSStore;                // the SMS store
class mivoControlPanelCatalogue;   // the control-panel applets
class mivoConnectionManager;       // the wireless device list
class mivoPluginRegistry;          // the gadget plug-in libraries

// Screen modes of the main frame.
constexpr int kScreenModeStandard = 0;        // task bar and menu bar shown
constexpr int kScreenModeFullScreen = 1;      // the whole screen, no bars
constexpr int kScreenModeFullScreenMenu = 2;  // the whole screen above the menu bar
constexpr int kScreenModeCurrent = 3;         // ApplyScreenMode: the current mode again

// Slots of the page catalogue (page indices 0..35).
constexpr int kPageCatalogueSize = 36;

class mivoCore {
 public:
  virtual ~mivoCore() = default;

  // ---- The application ----
  // The program's folder with its trailing backslash, taken once from the
  // module file name ("\Program Files\mivo\").
  virtual const std::u16string& GetProgramFolder() = 0;
  static const char16_t* GetVersionText();  // "2.3 beta 4"
  // Dispatches at most one pending message with an id from 0 to WM_USER, so
  // painting happens between visible steps; private messages stay queued.
  static void PumpOneMessage();
  // Portrait when the frame's client area is at least as high as wide, or
  // on a square screen. Per-orientation settings use landscape exactly when false.
  virtual bool IsPortrait() const = 0;
  // Stores a new screen mode and asks the frame to apply it at its next
  // activation (the full-screen setting takes effect this way).
  virtual void SetScreenMode(int mode) = 0;
  // Ends the program in order: posts the exit request to the frame.
  virtual void RequestExit() = 0;
  // The soft-key labels (null: leave that key as it is). They must stay valid
  // until the frame handles the message: pass static texts.
  virtual void PostSoftKeys(const char16_t* left, const char16_t* right) = 0;
  virtual void MinimizeApplication() = 0;
  // The main frame as a window: pages, overlays, the slide and the
  // please-wait bar are its children and take their size from its client
  // area. Null before the frame exists.
  virtual CFrameWnd* GetMainFrame() const = 0;

  // ---- Owned objects ----
  virtual mivoSettings& Settings() = 0;
  virtual mivoAppearance* GetAppearance() = 0;
  virtual mivoActions* GetActions() = 0;
  // Runs an action (which stays with its caller) and counts it in the
  // actions history: every tappable row, tile, favourite and gadget calls it.
  virtual void RunAction(mivoAction* action) = 0;

  // ---- Stores of later parts ----
  // Each part that brings one of these stores makes it here on the first
  // request; until that part exists the answer is null, and every caller
  // takes the fallback of a missing store.
  virtual POApplication* GetOutlookStore() = 0;
  virtual mivoSMSStore* GetSMSStore() = 0;
  virtual mivoCallLog* GetCallLog() = 0;
  virtual mivoControlPanelCatalogue* GetControlPanelCatalogue() = 0;
  virtual mivoConnectionManager* GetConnectionManager() = 0;
  virtual mivoPluginRegistry* GetPluginRegistry() = 0;

  // ---- Pages ----
  // The root page: the bottom of the stack once the frame was first activated.
  virtual CmivoPageWnd* GetDesktopPage() const = 0;
  // Pushes the page and shows it over the current one (with the slide when
  // animations are on); nothing for null. A request made while another
  // switch is under way waits until that switch has ended.
  virtual void ShowPage(CmivoPageWnd* page) = 0;
  void ShowPageById(int index) { ShowPage(GetPage(index)); }
  // Back: uncovers the page below; the root page is never popped.
  virtual void PopPage() = 0;
  virtual CmivoPageWnd* TopPage() const = 0;
  // The catalogue's page for an index, made on first use; null for none.
  virtual CmivoPageWnd* GetPage(int index) = 0;
  // Pages of the program outside the catalogue (the skin editor's pages, the
  // theme lists): made by `make` on the first request for the name, then the
  // same page every time; deleted with the catalogue's pages.
  virtual CmivoPageWnd* GetNamedPage(const std::string& name,
                                     const std::function<CmivoPageWnd*(mivoCore*)>& make) = 0;
  // Drops every entry of a page that is going away (the stack, the waiting
  // requests, the catalogue's slot); when it was on top, the page below shows.
  virtual void ForgetPage(CmivoPageWnd* page) = 0;
  // Takes a page away: forgotten now, deleted once the message being
  // handled has returned (its own handler may be running).
  virtual void DestroyPage(CmivoPageWnd* page) = 0;
  // Runs `deleter` after the message being handled now has returned, from
  // the program's own loop: for objects (rows, actions, menus, pages) that
  // may be deleted from inside one of their own handlers.
  virtual void DeleteLater(std::function<void()> deleter) = 0;
  // Runs what DeleteLater queued now (the frame does it on its private
  // message; a store that goes away does it for the pages it takes along).
  virtual void RunDeferredDeletes() = 0;

  // ---- Overlays ----
  // The skinned message box: 1 for OK or yes, 2 for no, 0 when the program ends meanwhile.
  virtual int RunMessageBox(const std::u16string& title, const std::u16string& text, bool okOnly) = 0;
  void ShowMessage(const std::u16string& text, const std::u16string& title);
  bool AskYesNo(const std::u16string& text, const std::u16string& title);
  // Titled "Error"; a please-wait bar that shows ends (the work it stood
  // for has failed, and the bar would stay under the box).
  void ShowError(const std::u16string& text);
  // The prefix, a line break and the platform's text for GetLastError.
  void ShowLastError(const std::u16string& prefix);
  // True for OK: `text` then holds the typed text; else it is left as it was.
  virtual bool EnterText(const std::u16string& title, const std::u16string& prompt, std::u16string* text,
                         bool multiLine) = 0;
  // The please-wait bar; calls nest, the last hide removes it.
  virtual void ShowPleaseWait(const std::u16string& text) = 0;
  virtual void HidePleaseWait() = 0;
  // Ends the wait whatever its nesting: the bar goes, and the hides still to
  // come for it change nothing. An error box ends the wait it interrupts.
  virtual void EndPleaseWait() = 0;
  // The overlays as the file operations use them.
  virtual mivoFileOperationsUI& FileOperationsUI() = 0;

  // ---- System state (kept by the main frame) ----
  virtual DWORD GetBatteryFlags() const = 0;     // low word of the battery value
  virtual DWORD GetBatteryLevel() const = 0;     // high word of the battery value plus 19; not limited
  virtual DWORD GetSignalStrength() const = 0;   // raw signal strength as read, 0..100
};
