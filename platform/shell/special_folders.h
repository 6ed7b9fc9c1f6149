// The platform's special folders, as device paths.
#pragma once

#include <string>

#include "platform/win32/types.h"

// Writes the folder's device path (no trailing "\") into path (MAX_PATH
// characters); with create, makes the folder when missing. FALSE for an
// unknown id (ERROR_INVALID_PARAMETER).
BOOL SHGetSpecialFolderPath(HWND owner, LPWSTR path, int csidl, BOOL create);

namespace shell {
// The same as a string; empty for an unknown id.
std::u16string SpecialFolderPath(int csidl);
}  // namespace shell
