#include "platform/shell/special_folders.h"

#include <cstring>

#include "platform/fs/files.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_defs.h"

namespace shell {

std::u16string SpecialFolderPath(int csidl) {
  switch (csidl) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY: return u"\\Windows\\Desktop";
    case CSIDL_PROGRAMS: return u"\\Windows\\Start Menu\\Programs";
    case CSIDL_PERSONAL: return u"\\My Documents";
    case CSIDL_FAVORITES: return u"\\Windows\\Favorites";
    case CSIDL_STARTUP: return u"\\Windows\\StartUp";
    case CSIDL_RECENT: return u"\\Windows\\Recent";
    case CSIDL_STARTMENU: return u"\\Windows\\Start Menu";
    case CSIDL_MYMUSIC: return u"\\My Documents\\My Music";
    case CSIDL_MYVIDEO: return u"\\My Documents\\My Videos";
    case CSIDL_FONTS: return u"\\Windows\\Fonts";
    case CSIDL_APPDATA: return u"\\Application Data";
    case CSIDL_WINDOWS: return u"\\Windows";
    case CSIDL_PROGRAM_FILES: return u"\\Program Files";
    case CSIDL_MYPICTURES: return u"\\My Documents\\My Pictures";
    default: return u"";
  }
}

}  // namespace shell

BOOL SHGetSpecialFolderPath(HWND, LPWSTR path, int csidl, BOOL create) {
  std::u16string folder = shell::SpecialFolderPath(csidl);
  if (!path || folder.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (create && !fs::IsDirectory(folder) && !fs::CreateDirectories(folder)) return FALSE;
  std::memcpy(path, folder.c_str(), (folder.size() + 1) * sizeof(char16_t));
  return TRUE;
}
