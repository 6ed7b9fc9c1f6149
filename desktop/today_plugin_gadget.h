// CmivoTodayPluginGadget (type 25, "Today plug-in"): hosts one of the
// device's Today plug-ins in a desktop gadget. It loads the plug-in's library
// (only one the Today items name now), has it create its window as a child of
// the desktop page's window, keeps that window over the gadget, shows it with
// the gadget's desktop and hides it in the design mode (a status line stands
// there instead), and asks it every 2 seconds whether it must be redrawn.
//
// A Today plug-in draws a strip across the screen: a gadget that is given
// one (or still has none) reaches from where it stands to the page's right
// edge, and its height follows the plug-in's (at least 15·S), or that of
// its status line, which is always read whole.
//
// Some plug-ins cannot run twice. A gadget can share its plug-in under a name
// (its "Share" entry); a gadget on another desktop then shows that shared
// plug-in instead of loading its own ("Shared gadgets" in its menu): the one
// window moves over whichever of them paints. A shared gadget that is shown
// elsewhere cannot be deleted.
//
// Stored fields (after the common record), property version 3: four archive
// strings, the library's path, the plug-in's name, the share name and the
// shared-view name (the last two from version 3 on).
#pragma once

#include <string>
#include <vector>

#include "desktop/gadget.h"
#include "desktop/today_interface.h"
#include "desktop/today_items.h"

// The Today gadget's commands.
enum : DWORD {
  kTodayShare = 2041,        // "Share" or "Stop sharing"
  kTodayItemFirst = 2140,    // + i: the i-th Today item of the registry
  kTodaySharedFirst = 3140,  // + j: the j-th shared gadget
};

class CmivoTodayPluginGadget : public CmivoGadget {
 public:
  static constexpr DWORD kTypeId = 25;
  // How often the plug-in is asked whether it must be redrawn.
  static constexpr UINT kRefreshPeriodMs = 2000;
  // The gadget is at least this many pixels wide.
  static constexpr int kMinWidth = 50;

  CmivoTodayPluginGadget(mivoCore* core, CmivoDesktopPage* page);
  // Stops, and leaves the sharing list (also when the program ends).
  ~CmivoTodayPluginGadget() override;

  // ---- The gadget's operations ----
  void SetVisible(bool visible) override;
  // Moves the plug-in's window over the gadget and shows it; in the design
  // mode, or without a window, draws the status text instead.
  void Paint(HDC dc) override;
  // Taps reach the plug-in's own window; the gadget has none of its own.
  void OnTap(UINT flags, POINT point) override {}
  void AddContextMenuItems() override;
  void OnContextMenuCommand(const mivoContextMenuEntry& entry) override;
  std::u16string GetContextMenuItemText(const mivoContextMenuEntry& entry) override;
  void LoadProperties(mivoArchiveReader& in) override;
  void SaveProperties(mivoArchiveWriter& out) override;
  DWORD StoredPropertyVersion() const override { return 3; }
  void ExchangeProperties(mivoGadgetProperties& properties) override;
  // The 2-second refresh.
  void OnTimer(bool first) override;
  void OnActivate() override;
  void OnDeactivate() override;
  // False (with message 567) while a gadget shows this one's shared plug-in.
  bool CanDelete() override;
  const char* GadgetClassName() const override { return "CmivoTodayPluginGadget"; }
  std::u16string GetDumpText() override { return m_statusText; }

  // ---- State ----
  const std::u16string& LibraryPath() const { return m_libraryPath; }
  const std::u16string& PluginName() const { return m_pluginName; }
  const std::u16string& StatusText() const { return m_statusText; }
  const std::u16string& ShareName() const { return m_shareName; }
  const std::u16string& SharedViewName() const { return m_sharedViewName; }
  HWND PluginWindow() const { return m_window; }
  const TODAYLISTITEM& Item() const { return m_item; }
  // The menu's Today items as last read.
  const std::vector<mivoTodayItem>& Items() const { return m_items; }

  // Chooses a registered plug-in (the menu's 2140 + i): stop, take it, start.
  void ChoosePlugin(const std::u16string& name, const std::u16string& library);
  // Shows the plug-in shared under the name (the menu's 3140 + j).
  void ChooseShared(const std::u16string& shareName);
  // Shares the plug-in under a name; an empty name is refused (false).
  bool Share(const std::u16string& name);
  void StopSharing();

  // The gadgets that share their plug-in, in the order they began to.
  static const std::vector<CmivoTodayPluginGadget*>& SharingList();
  // The gadget whose window and record this one shows: the shared one it
  // views (null when no gadget shares under that name), else itself.
  CmivoTodayPluginGadget* Source();

 private:
  void Start();
  void Stop();
  void JoinSharing();
  void LeaveSharing();
  // Shows the window of `source` while any gadget showing it is visible
  // outside the design mode, else hides it.
  static void UpdateWindowVisibility(CmivoTodayPluginGadget* source);
  // A Today plug-in draws a strip across the screen: a gadget given one from
  // the menu reaches from where it stands to the page's right edge.
  void SpanToRightEdge();
  // Takes the height (and a pixel more), up or down; the plug-in's window
  // is at least 50 wide.
  void FollowHeight(int height);
  // The plug-in's height, at least 15·S and never more than the screen.
  static int PluginHeight(const TODAYLISTITEM& item);

  std::u16string m_libraryPath;               // empty until chosen
  std::u16string m_pluginName;                // the Today item's name
  std::u16string m_statusText;                // shown where no plug-in window is
  std::u16string m_shareName;                 // non-empty: this gadget shares its plug-in
  std::u16string m_sharedViewName;            // non-empty: this gadget shows the one shared under it
  HWND m_window = nullptr;                    // the plug-in's window, once made
  TODAYLISTITEM m_item{};                     // the record handed to the plug-in; zero until loaded
  HMODULE m_module = nullptr;                 // the plug-in's library, while loaded
  std::vector<mivoTodayItem> m_items;         // the Today items as the menu read them
  std::vector<std::u16string> m_sharedNames;  // the sharing list's names as the menu showed them
  bool m_timerRegistered = false;             // the refresh timer runs
};
