// Libraries: LoadLibraryW, GetProcAddressW and FreeLibrary.
//
// A library is either one the device itself provides (registered by name,
// such as the control-panel library "cplmain.cpl") or a host shared object
// at a device path, opened with dlopen. Names are compared without case and
// without their folder ("\Windows\cplmain.cpl" finds "cplmain.cpl"). Every
// LoadLibraryW counts a reference that FreeLibrary gives back; a handle that
// was freed or never given fails the calls (ERROR_INVALID_HANDLE).
//
// A host shared object is unloaded by the FreeLibrary that gives back its
// last reference. Before it goes, what the window system still holds of its
// code goes with it: its windows (by their procedure or their class's) are
// destroyed, its window classes unregistered, and timers that would call into
// it killed, so nothing can call code that is no longer there.
//
// An ordinal instead of a name (a value below 0x10000 passed as the name) is
// mapped to the platform's name for it: 240 is "InitializeCustomItem", the
// Today plug-ins' entry point. Other ordinals are not found.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/types.h"

using FARPROC = void (*)();

// Null with the platform's error: ERROR_MOD_NOT_FOUND for a name that is
// neither built in nor a loadable file.
HMODULE LoadLibraryW(LPCWSTR fileName);
// Null with ERROR_PROC_NOT_FOUND for a name the library does not export.
FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName);
// An ordinal as the name GetProcAddressW takes.
inline LPCWSTR MAKEINTRESOURCEW(WORD ordinal) {
  return reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(ordinal));
}
BOOL FreeLibrary(HMODULE module);

namespace shell {

// What a built-in library exports: the address of a named entry point, or
// null when it has none.
using BuiltInExports = FARPROC (*)(std::u16string_view procName);

// Makes a library of the device known by its file name; registering the
// same name again replaces its exports.
void RegisterBuiltInLibrary(std::u16string_view fileName, BuiltInExports exports);

// Why the last LoadLibraryW of a host shared object failed on this thread, in
// the loader's words ("...: undefined symbol: Foo"); empty when it did not.
std::string LastLibraryError();

}  // namespace shell
