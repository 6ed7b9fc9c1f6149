// CmivoDesktopPage: the home screen, the page at the bottom of the stack.
// It shows one of several desktops, each a free arrangement of gadgets over
// its wallpaper; Left and Right (keys or swipes) flip between them, a tap on
// a gadget uses it and a tap on free space opens the main menu. Its
// tap-and-hold menu leads into the design mode, where gadgets are added from
// the catalogue, dragged on a 10-pixel grid, resized by their corner
// handles, deleted and put on other desktops. It is also the gadgets' host:
// it hands out state-notification messages and timers and calls the gadget
// back when they fire.
//
// The desktops count is the setting DesktopsCount (4 when missing or outside
// 1..32). Each orientation has its own desktops: a gadget shows on desktop n
// of the orientation its portrait flag names. The current desktop is not
// stored: every start shows desktop 0.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "actions/menu_handlers.h"
#include "desktop/gadget_container.h"
#include "platform/window/describe.h"
#include "ui/context_menu.h"
#include "ui/page_wnd.h"

class CmivoAdvChooseDesktopIcon;
class CmivoChooseDesktopColorPage;
class CmivoDesktopMenuPage;
class CmivoGadget;
class mivoSkinImage;

// The desktop page's commands (the context menu's 2000..2039).
enum : DWORD {
  kDesktopDesignMode = 2000,
  kDesktopExitDesignMode = 2001,
  kDesktopAddGadget = 2002,
  kDesktopDeleteGadget = 2003,
  kDesktopCatalogueEntry = 2004,  // value: the catalogue index
  kDesktopSwitchToDesktop = 2005,
  kDesktopToggleFirst = 2006,  // 2006 + k toggles desktop k in the selected gadget's mask
  kDesktopToggleLast = 2037,
  kDesktopColor = 2038,
  kDesktopChangeIcon = 2039,
};

// Messages and timer ids the page hands to gadgets.
constexpr UINT kGadgetNotificationFirst = 0x8B0;  // + the notification list index
constexpr UINT kGadgetTimerFirst = 1000;          // + the timer list index
constexpr int kMaxDesktops = 32;

// What a hosted Today plug-in hands with its watermark request: where it
// draws, the rectangle and its window.
struct mivoTodayWatermarkInfo {
  HDC hdc;
  RECT rc;
  HWND hwnd;
};

class CmivoDesktopPage : public CmivoPageWnd, public CmivoContextMenu, public mivoDesktopActionTarget {
 public:
  explicit CmivoDesktopPage(mivoCore* core);
  // Saves and releases the gadgets when the exit request did not already.
  ~CmivoDesktopPage() override;

  // ---- The page ----
  // The base creation, then the layout is loaded with this page as parent.
  BOOL CreatePage(CWnd* frame) override;
  // Decides every gadget's visibility, then the wallpaper when erasing.
  void DrawBackground(HDC dc, bool erase, int left, int top, int right, int bottom) override;
  // Stores the layout and releases the gadgets (the program is ending).
  void OnExitRequest() override;
  // The orientation may have changed: visibility again, and a full repaint.
  void LayoutPage() override;
  void OnPageShown() override;
  void OnPageHidden() override;
  void CollectImages(std::vector<mivoSkinImage*>& images) override;
  const char* PageClassName() const override { return "CmivoDesktopPage"; }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Gadget notifications (0x8B0 + n) arrive here before dispatch; in design
  // mode a press on a gadget is no swipe.
  BOOL PreTranslateMessage(MSG* msg) override;

  // ---- Services to gadgets ----
  // 0x8B0 + the gadget's index in the notification list.
  UINT RegisterNotification(CmivoGadget* gadget);
  // Empties every entry that holds the gadget; the other indices stay.
  void UnregisterNotification(CmivoGadget* gadget);
  // Starts a platform timer of the period on this page's window; its id is
  // 1000 + the gadget's index in the timer list. 0 when the page has no window.
  // The timers run only while the desktop shows (the top page, the program
  // on screen): covered or hidden they stop, and when it shows again each
  // gadget ticks once to catch up before they run on.
  UINT RegisterTimer(CmivoGadget* gadget, UINT periodMs);
  // Empties every entry that holds the gadget and kills their timers.
  void UnregisterTimer(CmivoGadget* gadget);
  // A gadget is going: nothing of the page points at it any more (its
  // notifications, timers, the selection). Called by the gadget's destructor.
  void ForgetGadget(CmivoGadget* gadget);
  // The main frame was shown or hidden (the program left the screen); the
  // gadgets' timers stop while it is hidden.
  void OnFrameShown(bool shown);
  // Whether the gadgets' platform timers run now.
  bool GadgetTimersRunning() const { return m_timersRunning; }

  // ---- Desktops ----
  DWORD CurrentDesktop() const { return m_currentDesktop; }  // one bit set
  int CurrentDesktopIndex() const;
  int DesktopsCount() const { return m_desktopsCount; }
  // Wrapping at both ends.
  void ShowNextDesktop();
  void ShowPreviousDesktop();
  // Index from 0; nothing outside the count.
  void ShowDesktop(int index);
  // Portrait unless the page is wider than high on a screen that is not square.
  bool IsPortraitLayout() const;
  // Where gadgets of an orientation must stay: the page's client size in its
  // own orientation, turned for the other one; (0, 0) without a window.
  SIZE GadgetArea(bool portrait) const;
  // Sets every gadget's visible flag for the current desktop and orientation.
  void UpdateVisibility();

  // ---- Design mode ----
  bool IsDesignMode() const { return m_designMode; }
  // Off stores the layout.
  void SetDesignMode(bool on);
  CmivoGadget* SelectedGadget() const { return m_pSelected; }
  mivoGadgetContainer& Container() { return m_container; }
  // Back to this page from the menus above it.
  void ReturnToDesktop();
  // A menu page (rows carried out by this page) with the title; owned by the caller.
  CmivoDesktopMenuPage* CreateMenuPage(const std::u16string& title);

  // ---- The context menu ----
  // Builds and shows the tap-and-hold menu.
  void ShowContextMenu();
  void DrawMenuItem(HDC dc, const RECT& rect, const mivoContextMenuEntry& entry, bool selected) override;
  void OnMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetMenuItemText(const mivoContextMenuEntry& entry) override;

  // "Add to desktop": an action gadget with the action on the current desktop.
  void AddActionToDesktop(std::unique_ptr<mivoAction> action) override;

 private:
  // ---- Input (desktop_page_input.cpp) ----
  void OnStylusDown(UINT flags, POINT point);
  void OnStylusMove(UINT flags, POINT point);
  void OnStylusUp(UINT flags, POINT point);
  void OnKeyDown(UINT vk);
  void OnChar(char16_t c);
  void OnSwipe();
  // Moves or resizes the selected gadget after the stylus (design mode).
  void DragTo(POINT point);
  // Ends a drag or resize, however the gesture ended.
  void EndDrag();
  // A gadget that follows the stylus stops following it: the press ended
  // without a release over it (tap-and-hold, capture lost, page hidden).
  void CancelFollowing();
  // Moves the selected gadget by (dx, dy) pixels (arrow keys in design mode).
  void NudgeSelected(int dx, int dy);
  // Whether the gadget is still in the container (a gesture may outlive it).
  bool Holds(const CmivoGadget* gadget) const;

  // ---- Menu commands (desktop_page_menu.cpp) ----
  void AddGadgetFromCatalogue(LONG index);
  void DeleteSelectedGadget();
  void ShowDesktopList();
  void ToggleSelectedDesktop(int k);
  std::u16string DesktopEntryText(int k) const;
  void BuildCataloguePage();

  // ---- Services ----
  void OnGadgetNotification(UINT message, WPARAM wParam, LPARAM lParam);
  void OnGadgetTimer(UINT_PTR id);
  // Starts or stops the gadgets' timers as the page's visibility asks; a
  // start after a stop first lets every timer gadget catch up.
  void UpdateGadgetTimers();
  // The Today plug-ins' watermark: the background, then the wallpaper behind the rectangle.
  LRESULT OnTodayWatermark(LPARAM lParam);
  // After a switch: visibility again and one buffered repaint of the whole page.
  void DesktopChanged();
  // Loads the layout, once; says so once when it could not be read whole.
  void LoadDesktops();
  // The state dump's "desktop".
  bool DumpDesktop(window::JsonWriter& j);
  // The desktop's eight skin images (the menu's "Change icons").
  void CollectDesktopImages(std::vector<mivoSkinImage*>& images);

  mivoGadgetContainer m_container;                            // every gadget of every desktop, owned
  DWORD m_currentDesktop = 1;                                 // exactly one bit: the shown desktop
  int m_desktopsCount = 4;                                    // 1..32, taken at construction
  bool m_designMode = false;                                  // the design mode is on
  bool m_loaded = false;                                      // the layout was loaded (once)
  bool m_released = false;                                    // the gadgets were saved and released (exit)
  CmivoGadget* m_pSelected = nullptr;                         // the gadget under the last press, or none
  CmivoGadget* m_pPressed = nullptr;                          // the gadget the current press began on (normal mode)
  POINT m_pressPoint{};                                       // where the current press began (client)
  bool m_pressActive = false;                                 // a press is down on the page
  RECT m_dragStartRect{};                                     // the selected gadget's rectangle at the press
  bool m_dragging = false;                                    // a design-mode drag or resize is under way
  bool m_resizing = false;                                    // ... by a handle
  int m_handle = 0;                                           // the handle's code (5, 6, 9, 10)
  bool m_pressBypassesSwipe = false;                          // this press is no swipe (a gadget in design mode)
  bool m_following = false;                                   // m_pPressed follows the stylus (has the capture)
  std::vector<CmivoGadget*> m_notifications;                  // index n: the gadget of message 0x8B0 + n, or null
  std::vector<CmivoGadget*> m_timers;                         // index n: the gadget of timer 1000 + n, or null
  std::vector<UINT> m_timerPeriods;                           // index n: the period of timer 1000 + n, in ms
  bool m_pageShown = false;                                   // the page is the top page (OnPageShown)
  bool m_frameHidden = false;                                 // the main frame is hidden (OnFrameShown)
  bool m_timersRunning = false;                               // the gadgets' platform timers are set
  bool m_timersStopped = false;                               // they were stopped after running: catch up at the start
  std::unique_ptr<CmivoDesktopMenuPage> m_pCataloguePage;     // "Add gadget", built at construction
  std::unique_ptr<CmivoDesktopMenuPage> m_pDesktopListPage;   // "Switch to desktop", made on first use
  std::unique_ptr<CmivoAdvChooseDesktopIcon> m_pIconChooser;  // "Change desktop icon", made on first use
  std::unique_ptr<CmivoChooseDesktopColorPage> m_pColorPage;  // the desktop colour page, made on first use
  std::vector<mivoSkinImage*> m_images;                       // the desktop's images for the menu, looked up once
  window::DumpSectionId m_dumpSection = 0;                    // the state dump's "desktop"
};
