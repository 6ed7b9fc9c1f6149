// Context menus: a tap-and-hold opens a full-screen list of entries (with
// section captions and a help text per entry) that belongs to what was held.
// The owner (a page or a list row) derives from CmivoContextMenu; it fills
// its menu at every tap-and-hold with its own entries and with handlers for
// the thing held (an action, a phone number, a file, skin images), each of
// which adds, names and carries out its own entries.
//
//   ClearMenu();
//   AddMenuSection(GetString(IDS_GENERAL));
//   AddMenuEntry({.CommandId = 2000, .HelpText = GetString(IDS_DESIGN_MODE_HELP)});
//   AddMenuHandler(std::make_unique<CmivoContextMenuActionHandler>(core, *action));
//   ShowMenu();
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/mivo_class.h"
#include "platform/win32/types.h"
#include "ui/context_menu_entry.h"

class CmivoContextMenu;
class CmivoRightClickPage;
class mivoSkinImage;

// Command ids and whose they are.
enum : DWORD {
  // Phone-number handler.
  kMenuCall = 1000,
  kMenuSendSMS = 1001,
  kMenuContactDetails = 1002,
  kMenuOutlookDetails = 1003,
  kMenuCopyNumber = 1004,
  kMenuCopyNameAndNumber = 1005,
  // Action handler.
  kMenuAddToDesktop = 1008,
  kMenuAddToFavorites = 1009,
  kMenuRemoveFromFavorites = 1010,
  // Skin handler.
  kMenuChangeIcon = 1011,
  // File handler; 1018 + k is desktop k's wallpaper (k from 0).
  kMenuRenameFile = 1012,
  kMenuCopyFile = 1013,
  kMenuCutFile = 1014,
  kMenuPaste = 1015,
  kMenuDeleteFile = 1016,
  kMenuCreateFolder = 1017,
  kMenuWallpaperFirst = 1018,
  kMenuWallpaperLast = 1049,
  // The desktop page, then the held gadget.
  kMenuDesktopFirst = 2000,
  kMenuGadgetFirst = 2040,
};

// What a row shows for an entry: its text and, when there is one, an icon.
struct mivoMenuItemLook {
  std::u16string text;
  mivoSkinImage* icon = nullptr;
};

class CmivoContextMenuHandler : public mivoClass {
 public:
  explicit CmivoContextMenuHandler(mivoCore* core) : mivoClass(core) {}
  ~CmivoContextMenuHandler() override = default;

  // Adds the handler's entries (and possibly further handlers) to the menu.
  virtual void FillMenu(CmivoContextMenu* menu) = 0;
  // The text and icon of one of the handler's own entries; false for an
  // entry that is not its own.
  virtual bool GetMenuItemLook(const mivoContextMenuEntry& entry, mivoMenuItemLook* look) { return false; }
  // Draws one of its own entries; false for others. The base draws the
  // look above as a row (icon, then the title).
  virtual bool DrawMenuItem(HDC dc, const RECT& rect, const mivoContextMenuEntry& entry, bool selected);
  // Carries out one of its own entries; false for others.
  virtual bool OnMenuCommand(const mivoContextMenuEntry& entry) { return false; }
};

class CmivoContextMenu {
 public:
  explicit CmivoContextMenu(mivoCore* core) : m_pMenuCore(core) {}
  // The menu page goes with its owner (taken off the page stack first).
  virtual ~CmivoContextMenu();
  CmivoContextMenu(const CmivoContextMenu&) = delete;
  CmivoContextMenu& operator=(const CmivoContextMenu&) = delete;

  // ---- The menu's operations, in this order ----
  // Draws an entry's text (and icon): the handlers in order, the first whose
  // entry it is draws it; an entry nobody claims shows its Text1.
  virtual void DrawMenuItem(HDC dc, const RECT& rect, const mivoContextMenuEntry& entry, bool selected);
  // Carries out an entry: handed to every handler in order.
  virtual void OnMenuCommand(const mivoContextMenuEntry& entry);
  // The text a row shows for an entry (the state dump reads it too).
  virtual std::u16string GetMenuItemText(const mivoContextMenuEntry& entry);

  // ---- Building the menu ----
  // Removes every row and every handler.
  void ClearMenu();
  void AddMenuSection(const std::u16string& caption);
  void AddMenuEntry(const mivoContextMenuEntry& entry);
  // The menu owns the handler from now on; its FillMenu runs at once.
  void AddMenuHandler(std::unique_ptr<CmivoContextMenuHandler> handler);
  // Shows the menu page through the core's page switching.
  void ShowMenu();

  // The menu page, made on first use.
  CmivoRightClickPage* MenuPage();
  const std::vector<std::unique_ptr<CmivoContextMenuHandler>>& Handlers() const { return m_handlers; }
  mivoCore* MenuCore() const { return m_pMenuCore; }

 protected:
  // The look of an entry as the handlers give it; the entry's Text1 when none claims it.
  mivoMenuItemLook LookOf(const mivoContextMenuEntry& entry);

 private:
  mivoCore* m_pMenuCore;                                            // never owned
  CmivoRightClickPage* m_pMenuPage = nullptr;                       // owned; made on first use
  std::vector<std::unique_ptr<CmivoContextMenuHandler>> m_handlers; // in the order added
  int m_commandDepth = 0;                                           // OnMenuCommand calls running
};
