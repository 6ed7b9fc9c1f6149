// Shortcut files (".lnk") in the phone's form: one line "NN#target args",
// where NN is the count of characters after "#" and a target with spaces is
// quoted: 35#"\Program Files\Notes\notes.exe" -n
// Readers do not trust NN; the line ends at the first line break. The file
// is UTF-8 (plain ASCII for the usual paths); Windows-1252 is accepted too.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/types.h"

namespace shell {

struct Shortcut {
  std::u16string target;     // device path or program name
  std::u16string arguments;  // the rest of the command line, may be empty
};

bool ParseShortcut(std::string_view bytes, Shortcut* out);
std::string FormatShortcut(const Shortcut& shortcut);
// Device paths; written atomically.
bool ReadShortcut(std::u16string_view devicePath, Shortcut* out);
bool WriteShortcut(std::u16string_view devicePath, const Shortcut& shortcut);

// Splits a command line into the program (quotes removed) and the rest.
void SplitCommandLine(std::u16string_view line, std::u16string* program, std::u16string* rest);

}  // namespace shell

// The platform's shortcut helpers. The target may carry arguments
// ("\"\\Windows\\pword.exe\" -new"); SHGetShortcutTarget gives the whole
// command line as stored (target quoted when it has spaces).
BOOL SHCreateShortcut(LPCWSTR shortcut, LPCWSTR target);
BOOL SHGetShortcutTarget(LPCWSTR shortcut, LPWSTR target, int chars);
