#include "actions/menu_handlers.h"

#include <algorithm>

#include "actions/action_kinds.h"
#include "actions/actions.h"
#include "actions/services.h"
#include "core/core.h"
#include "core/page_ids.h"
#include "core/settings.h"
#include "look/appearance.h"
#include "look/file_operations.h"
#include "look/language.h"
#include "look/string_ids.h"
#include "platform/fs/device_path.h"
#include "platform/fs/files.h"
#include "platform/shell/clipboard.h"
#include "platform/win32/file_defs.h"
#include "platform/win32/local_memory.h"
#include "platform/win32/text.h"
#include "ui/context_menu_skin_handler.h"
#include "ui/page_wnd.h"

namespace {

mivoSkinImage* Image(mivoCore* core, std::u16string_view name) {
  return core && core->GetActions() ? core->GetActions()->SkinImage(name) : nullptr;
}

mivoContextMenuEntry Entry(DWORD command, int helpId, bool close = false) {
  mivoContextMenuEntry e;
  e.CommandId = command;
  e.HelpText = helpId ? GetString(helpId) : std::u16string();
  e.Close = close;
  return e;
}

}  // namespace

bool PutTextOnClipboard(const std::u16string& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HLOCAL block = LocalAlloc(LMEM_FIXED, bytes);
  bool ok = false;
  if (block) {
    // A block's handle is its address.
    auto* units = static_cast<char16_t*>(static_cast<void*>(block));
    std::copy(text.begin(), text.end(), units);
    units[text.size()] = u'\0';
    ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!ok) LocalFree(block);
  }
  CloseClipboard();
  return ok;
}

// ---- The action's own entries --------------------------------------------------------

CmivoContextMenuActionHandler::CmivoContextMenuActionHandler(mivoCore* core, const mivoAction& action)
    : CmivoContextMenuHandler(core), m_action(action.Clone()) {}

mivoDesktopActionTarget* CmivoContextMenuActionHandler::Desktop() const {
  return dynamic_cast<mivoDesktopActionTarget*>(m_pCore->GetDesktopPage());
}

void CmivoContextMenuActionHandler::FillMenu(CmivoContextMenu* menu) {
  mivoActions* actions = m_pCore->GetActions();
  if (actions && actions->ContainsFavorite(*m_action)) {
    menu->AddMenuEntry(Entry(kMenuRemoveFromFavorites, IDS_REMOVE_FROM_FAVORITES_HELP));
  } else {
    menu->AddMenuEntry(Entry(kMenuAddToFavorites, IDS_ADD_TO_FAVORITES_HELP));
  }
  menu->AddMenuEntry(Entry(kMenuAddToDesktop, IDS_ADD_TO_DESKTOP_HELP, true));
  // The pictures the action is drawn with can be changed from here.
  std::vector<mivoSkinImage*> images;
  m_action->CollectImages(images);
  menu->AddMenuHandler(std::make_unique<CmivoContextMenuSkinHandler>(m_pCore, std::move(images)));
  m_action->AddContextMenuHandlers(menu);
}

bool CmivoContextMenuActionHandler::GetMenuItemLook(const mivoContextMenuEntry& entry, mivoMenuItemLook* look) {
  switch (entry.CommandId) {
    case kMenuAddToDesktop:
      *look = {GetString(IDS_ADD_TO_DESKTOP), Image(m_pCore, u"desktop_add")};
      return true;
    case kMenuAddToFavorites:
      *look = {GetString(IDS_ADD_TO_FAVORITES), Image(m_pCore, u"favorites_add")};
      return true;
    case kMenuRemoveFromFavorites:
      *look = {GetString(IDS_REMOVE_FROM_FAVORITES), Image(m_pCore, u"favorites_remove")};
      return true;
    default:
      return false;
  }
}

bool CmivoContextMenuActionHandler::OnMenuCommand(const mivoContextMenuEntry& entry) {
  switch (entry.CommandId) {
    case kMenuAddToDesktop:
      if (mivoDesktopActionTarget* desktop = Desktop()) desktop->AddActionToDesktop(m_action->Clone());
      return true;
    case kMenuAddToFavorites: {
      CmivoPageWnd* page = m_pCore->GetPage(kFavoritesPage);
      if (auto* chooser = dynamic_cast<mivoFavoritePositionChooser*>(page)) {
        chooser->ChoosePositionFor(m_action->Clone());
        m_pCore->ShowPage(page);
      }
      return true;
    }
    case kMenuRemoveFromFavorites:
      if (m_pCore->GetActions()) m_pCore->GetActions()->RemoveFavorite(*m_action);
      m_pCore->PopPage();
      return true;
    default:
      return false;
  }
}

// ---- A phone number's entries ------------------------------------------------------

CmivoContextMenuPhoneNumberHandler::CmivoContextMenuPhoneNumberHandler(mivoCore* core, std::u16string number,
                                                                       std::uint32_t contactOid)
    : CmivoContextMenuHandler(core), m_number(std::move(number)), m_contactOid(contactOid) {}

void CmivoContextMenuPhoneNumberHandler::FillMenu(CmivoContextMenu* menu) {
  if (m_contactOid) {
    menu->AddMenuEntry(Entry(kMenuContactDetails, IDS_CONTACT_DETAILS_HELP));
    menu->AddMenuEntry(Entry(kMenuOutlookDetails, IDS_SHOW_OUTLOOK_WINDOW_HELP));
  }
  if (m_number.empty()) return;
  menu->AddMenuEntry(Entry(kMenuCall, 0));
  menu->AddMenuEntry(Entry(kMenuSendSMS, 0));
  menu->AddMenuEntry(Entry(kMenuCopyNumber, IDS_COPY_PHONE_NUMBER_HELP));
  if (m_contactOid) menu->AddMenuEntry(Entry(kMenuCopyNameAndNumber, IDS_COPY_NAME_AND_PHONE_HELP));
}

bool CmivoContextMenuPhoneNumberHandler::GetMenuItemLook(const mivoContextMenuEntry& entry, mivoMenuItemLook* look) {
  switch (entry.CommandId) {
    case kMenuCall:
      *look = {GetString(IDS_CALL) + u" " + m_number, Image(m_pCore, u"make_a_call")};
      return true;
    case kMenuSendSMS:
      *look = {GetString(IDS_SMS_TO) + u" " + m_number, Image(m_pCore, u"write_sms")};
      return true;
    case kMenuContactDetails:
      *look = {GetString(IDS_CONTACT_DETAILS), Image(m_pCore, u"view_contact_details")};
      return true;
    case kMenuOutlookDetails:
      *look = {GetString(IDS_SHOW_OUTLOOK_WINDOW), Image(m_pCore, u"view_contact_outlook_details")};
      return true;
    case kMenuCopyNumber:
      *look = {GetString(IDS_COPY_PHONE_NUMBER_TO_CLIPBOARD), Image(m_pCore, u"copy_to_clipboard")};
      return true;
    case kMenuCopyNameAndNumber:
      *look = {GetString(IDS_COPY_NAME_AND_PHONE_TO_CLIPBOARD), Image(m_pCore, u"copy_to_clipboard")};
      return true;
    default:
      return false;
  }
}

bool CmivoContextMenuPhoneNumberHandler::OnMenuCommand(const mivoContextMenuEntry& entry) {
  mivoContactDirectory* contacts = m_pCore->GetActions() ? m_pCore->GetActions()->Contacts() : nullptr;
  switch (entry.CommandId) {
    case kMenuCall: {
      mivoActionMakeCall call(m_pCore, m_number);
      m_pCore->RunAction(&call);
      return true;
    }
    case kMenuSendSMS: {
      mivoActionWriteSMS sms(m_pCore, m_number);
      m_pCore->RunAction(&sms);
      return true;
    }
    case kMenuContactDetails: {
      CmivoPageWnd* page = m_pCore->GetPage(kContactDetailsPage);
      if (!page || !contacts || !contacts->FindContactByOid(m_contactOid)) return true;
      if (auto* viewer = dynamic_cast<mivoContactViewer*>(page)) viewer->SetContact(m_contactOid);
      m_pCore->ShowPage(page);
      return true;
    }
    case kMenuOutlookDetails:
      if (contacts) contacts->ShowOutlookDetails(m_contactOid);
      return true;
    case kMenuCopyNumber:
      PutTextOnClipboard(m_number);
      return true;
    case kMenuCopyNameAndNumber: {
      mivoContactInfo* contact = contacts ? contacts->FindContactByOid(m_contactOid) : nullptr;
      if (contact) PutTextOnClipboard(contact->DisplayName() + u" " + m_number);
      return true;
    }
    default:
      return false;
  }
}

// ---- A file's entries ------------------------------------------------------------------

CmivoContextMenuFileHandler::CmivoContextMenuFileHandler(mivoCore* core, std::u16string path,
                                                         std::u16string displayName, bool isFolder)
    : CmivoContextMenuHandler(core), m_path(std::move(path)), m_displayName(std::move(displayName)),
      m_isFolder(isFolder) {}

bool CmivoContextMenuFileHandler::IsJpeg(std::u16string_view path) {
  const std::u16string name = text::ToLower(fs::FileNamePart(path));
  const auto dot = name.rfind(u'.');
  if (dot != std::u16string::npos && name.substr(dot + 1) == u"jpg") return true;
  return name.size() >= 4 && name.substr(name.size() - 4) == u"jpeg";
}

std::u16string CmivoContextMenuFileHandler::TargetFolder() const {
  return m_isFolder ? m_path : fs::ParentPath(m_path);
}

void CmivoContextMenuFileHandler::FillMenu(CmivoContextMenu* menu) {
  menu->AddMenuSection(GetString(IDS_FILE_OPERATIONS));
  menu->AddMenuEntry(Entry(kMenuRenameFile, 0, true));
  menu->AddMenuEntry(Entry(kMenuCopyFile, 0, true));
  menu->AddMenuEntry(Entry(kMenuCutFile, 0, true));
  if (FileClipboard().Mode != mivoClipboardMode::kEmpty) menu->AddMenuEntry(Entry(kMenuPaste, 0, true));
  menu->AddMenuEntry(Entry(kMenuDeleteFile, 0, true));
  menu->AddMenuEntry(Entry(kMenuCreateFolder, 0, true));
  if (m_isFolder || !IsJpeg(m_path) || !m_pCore) return;
  menu->AddMenuSection(GetString(IDS_DESKTOP_WALLPAPER));
  const int desktops = std::clamp(static_cast<int>(m_pCore->Settings().GetDesktopsCount()), 1, 32);
  for (int k = 0; k < desktops; ++k) {
    mivoContextMenuEntry e = Entry(static_cast<DWORD>(kMenuWallpaperFirst + k), IDS_DESKTOP_WALLPAPER_HELP, true);
    e.Value = k;
    menu->AddMenuEntry(e);
  }
}

bool CmivoContextMenuFileHandler::GetMenuItemLook(const mivoContextMenuEntry& entry, mivoMenuItemLook* look) {
  const DWORD id = entry.CommandId;
  if (id >= kMenuWallpaperFirst && id <= kMenuWallpaperLast) {
    *look = {text::Format(u"%s %d", GetString(IDS_DESKTOP), static_cast<int>(id - kMenuWallpaperFirst) + 1), nullptr};
    return true;
  }
  switch (id) {
    case kMenuRenameFile:
      *look = {GetString(m_isFolder ? IDS_RENAME_FOLDER_ENTRY : IDS_RENAME_FILE_ENTRY), Image(m_pCore, u"file_rename")};
      return true;
    case kMenuCopyFile:
      *look = {GetString(m_isFolder ? IDS_COPY_FOLDER_ENTRY : IDS_COPY_FILE_ENTRY), Image(m_pCore, u"file_copy")};
      return true;
    case kMenuCutFile:
      *look = {GetString(m_isFolder ? IDS_CUT_FOLDER_ENTRY : IDS_CUT_FILE_ENTRY), Image(m_pCore, u"file_cut")};
      return true;
    case kMenuPaste:
      *look = {GetString(IDS_PASTE), Image(m_pCore, u"file_paste")};
      return true;
    case kMenuDeleteFile:
      *look = {GetString(m_isFolder ? IDS_DELETE_FOLDER_ENTRY : IDS_DELETE_FILE_ENTRY), Image(m_pCore, u"file_delete")};
      return true;
    case kMenuCreateFolder:
      *look = {GetString(IDS_CREATE_NEW_FOLDER), Image(m_pCore, u"file_create_folder")};
      return true;
    default:
      return false;
  }
}

void CmivoContextMenuFileHandler::Rename() {
  std::u16string name = fs::FileNamePart(m_path);
  if (!m_pCore->EnterText(GetString(IDS_RENAME_FILE), GetString(IDS_ENTER_NEW_FILE_NAME), &name, false)) return;
  name = text::Trim(name);
  // A name is one component: nothing that would put the file elsewhere.
  if (name.empty() || name == fs::FileNamePart(m_path) || name.find_first_of(u"\\/") != std::u16string::npos ||
      name == u"." || name == u"..") {
    return;
  }
  const std::u16string target = fs::JoinPath(fs::ParentPath(m_path), name);
  if (!MoveFileW(m_path.c_str(), target.c_str())) m_pCore->ShowLastError(GetString(IDS_ERROR_MOVING_FILE));
}

void CmivoContextMenuFileHandler::Delete() {
  const int questionId = m_isFolder ? IDS_WOULD_YOU_LIKE_TO_DELETE_FOLDER : IDS_WOULD_YOU_LIKE_TO_DELETE_FILE;
  const std::u16string question = text::Format(GetString(questionId), m_displayName);
  if (m_pCore->RunMessageBox(GetString(m_isFolder ? IDS_DELETE_FOLDER : IDS_DELETE_FILE), question, false) != 1) return;
  const bool done = m_isFolder ? DeleteFolderTree(m_path) : DeleteFileW(m_path.c_str()) != FALSE;
  if (!done) m_pCore->ShowLastError(GetString(m_isFolder ? IDS_CANNOT_DELETE_FOLDER : IDS_CANNOT_DELETE_FILE));
}

bool CmivoContextMenuFileHandler::OnMenuCommand(const mivoContextMenuEntry& entry) {
  const DWORD id = entry.CommandId;
  if (id >= kMenuWallpaperFirst && id <= kMenuWallpaperLast) {
    if (mivoAppearance* look = m_pCore->GetAppearance()) {
      look->SetUserWallpaper(static_cast<int>(id - kMenuWallpaperFirst) + 1, !m_pCore->IsPortrait(), m_path);
    }
    return true;
  }
  switch (id) {
    case kMenuRenameFile:
      Rename();
      return true;
    case kMenuCopyFile:
      CopyToClipboard(m_path, m_isFolder);
      return true;
    case kMenuCutFile:
      CutToClipboard(m_path, m_isFolder);
      return true;
    case kMenuPaste:
      Paste(TargetFolder(), m_pCore->FileOperationsUI());
      return true;
    case kMenuDeleteFile:
      Delete();
      return true;
    case kMenuCreateFolder:
      CreateFolder(TargetFolder(), m_pCore->FileOperationsUI());
      return true;
    default:
      return false;
  }
}
