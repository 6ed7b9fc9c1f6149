// ".reg" text files: the registry editor's export format.
//   Windows Registry Editor Version 5.00
//   [HKEY_CURRENT_USER\Software\mivo\mivo]
//   "SkinName"="Clear Horizon"
//   "DesktopsCount"=dword:00000004
//   "Data"=hex:01,02,ff          (REG_BINARY; hex(7): REG_MULTI_SZ, hex(2): REG_EXPAND_SZ)
//   "Old"=-                      (deletes the value)   [-HKEY_...\Key] deletes a key
// Written as UTF-8; read as UTF-8 or UTF-16 with its byte-order mark.
#pragma once

#include <string>

#include "platform/win32/types.h"

namespace regfile {

// Writes the key and everything below it. False with a message.
bool Export(HKEY root, const std::u16string& subKey, std::string* text, std::string* error);
// Applies a file's text; the count of values set or deleted. False with a
// message naming the line of the first fault (nothing after it is applied).
bool Import(const std::string& bytes, int* changes, std::string* error);

}  // namespace regfile
