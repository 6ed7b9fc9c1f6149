// SHGetFileInfo: what the shell tells of a file or folder (device paths).
//
// Display name: the file name, without ".lnk" for a shortcut. Attributes:
// SFGAO_FOLDER for folders, SFGAO_LINK for shortcuts, SFGAO_HIDDEN,
// SFGAO_READONLY, always SFGAO_FILESYSTEM. Icon (SHGFI_ICON; the screen's icon size, 32 or
// 64 pixels, half that with SHGFI_SMALLICON; the caller destroys it with DestroyIcon): from the
// host's freedesktop icon theme by the file's type; for a shortcut its
// target's; for a program the icon of the host program it maps to when the
// theme has one. Returns non-zero on success; 0 when the path does not exist
// (unless SHGFI_USEFILEATTRIBUTES, which takes the given attributes).
#pragma once

#include <string>
#include <vector>

#include "platform/win32/file_defs.h"
#include "platform/win32/types.h"

DWORD_PTR SHGetFileInfo(LPCWSTR path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize, UINT flags);

namespace shell {

// The name SHGetFileInfo shows for an entry of a folder: its file name,
// without ".lnk" for a shortcut ("\\" for the root).
std::u16string DisplayNameOf(std::u16string_view devicePath, bool folder);
// The icon theme's name for a file's type ("x-office-document", "folder").
std::string IconNameFor(std::u16string_view devicePath, bool folder);
// An icon of the host's icon theme by its name, scaled to size x size, or
// null when the theme has none; the caller destroys it with DestroyIcon.
HICON LoadThemeIconByName(const std::string& name, int size);
// The folders searched for icon themes (tests replace them).
void SetIconThemeFolders(std::vector<std::string> folders);

}  // namespace shell
