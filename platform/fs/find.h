// Folder search: FindFirstFileW / FindNextFileW / FindClose on device paths.
//
// The pattern is the last component of the path ("\My Documents\*.*",
// "\Windows\*.lnk", or a plain name); "*" and "?" match without case, and
// "*.*" matches every name, with or without a dot, as on the platform. "."
// and ".." are never yielded: every recursive walk of the system relies on it.
// Entries come in case-insensitive name order, so walks are repeatable.
// Names starting with "." are reported hidden (FILE_ATTRIBUTE_HIDDEN).
#pragma once

#include <string>

#include "platform/win32/file_defs.h"
#include "platform/win32/types.h"

// INVALID_HANDLE_VALUE when nothing matches: ERROR_FILE_NOT_FOUND (the folder
// exists), ERROR_PATH_NOT_FOUND (it does not), ERROR_ACCESS_DENIED (outside).
HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData);
// FALSE with ERROR_NO_MORE_FILES after the last entry.
BOOL FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW findData);
BOOL FindClose(HANDLE find);

namespace fs {

// The platform's wildcard match: "*" any run, "?" one character, no case.
// "*.*" matches every name.
bool MatchPattern(std::u16string_view pattern, std::u16string_view name);

}  // namespace fs
