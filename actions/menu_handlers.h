// The tap-and-hold handlers that come with actions: the action's own
// entries (favourites, desktop), a phone number's (call, SMS, contact,
// clipboard) and a file's (rename, copy, cut, paste, delete, new folder,
// wallpaper). Each fills its entries, names them and carries them out, so
// the same entries appear wherever such a thing is held.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "actions/action.h"
#include "ui/context_menu.h"

class mivoActionExecuteFile;

// Pages and the desktop that can take what the entries give them. The
// favourites page and the desktop page implement these.
class mivoFavoritePositionChooser {
 public:
  virtual ~mivoFavoritePositionChooser() = default;
  // Enters the choose-position mode: the next tapped position receives the action.
  virtual void ChoosePositionFor(std::unique_ptr<mivoAction> action) = 0;
};

class mivoDesktopActionTarget {
 public:
  virtual ~mivoDesktopActionTarget() = default;
  // Puts an action gadget with the action on the current desktop.
  virtual void AddActionToDesktop(std::unique_ptr<mivoAction> action) = 0;
};

class CmivoContextMenuActionHandler : public CmivoContextMenuHandler {
 public:
  // Keeps a clone: the held row may go while the menu is open.
  CmivoContextMenuActionHandler(mivoCore* core, const mivoAction& action);

  void FillMenu(CmivoContextMenu* menu) override;
  bool GetMenuItemLook(const mivoContextMenuEntry& entry, mivoMenuItemLook* look) override;
  bool OnMenuCommand(const mivoContextMenuEntry& entry) override;

  mivoAction* Action() const { return m_action.get(); }

 private:
  mivoDesktopActionTarget* Desktop() const;

  std::unique_ptr<mivoAction> m_action;  // a copy of the held action
};

class CmivoContextMenuPhoneNumberHandler : public CmivoContextMenuHandler {
 public:
  // contactOid 0: a number without a contact.
  CmivoContextMenuPhoneNumberHandler(mivoCore* core, std::u16string number, std::uint32_t contactOid = 0);

  void FillMenu(CmivoContextMenu* menu) override;
  bool GetMenuItemLook(const mivoContextMenuEntry& entry, mivoMenuItemLook* look) override;
  bool OnMenuCommand(const mivoContextMenuEntry& entry) override;

 private:
  std::u16string m_number;      // may be empty (a contact without numbers)
  std::uint32_t m_contactOid;   // 0: none
};

class CmivoContextMenuFileHandler : public CmivoContextMenuHandler {
 public:
  CmivoContextMenuFileHandler(mivoCore* core, std::u16string path, std::u16string displayName, bool isFolder);

  void FillMenu(CmivoContextMenu* menu) override;
  bool GetMenuItemLook(const mivoContextMenuEntry& entry, mivoMenuItemLook* look) override;
  bool OnMenuCommand(const mivoContextMenuEntry& entry) override;

  // JPEG by its extension: "jpg", or a name ending in "jpeg".
  static bool IsJpeg(std::u16string_view path);

 private:
  // Where paste and a new folder go: the folder itself, or the file's folder.
  std::u16string TargetFolder() const;
  void Rename();
  void Delete();

  std::u16string m_path;         // device path of the held file or folder
  std::u16string m_displayName;  // as the list shows it
  bool m_isFolder;
};

// Puts a text on the platform's clipboard, replacing what it held.
bool PutTextOnClipboard(const std::u16string& text);
