// Libraries: LoadLibraryW, GetProcAddressW and FreeLibrary.
//
// A library is either one the device itself provides (registered by name,
// such as the control-panel library "cplmain.cpl") or a host shared object
// at a device path, opened with dlopen. Names are compared without case and
// without their folder ("\Windows\cplmain.cpl" finds "cplmain.cpl"). Every
// LoadLibraryW counts a reference that FreeLibrary gives back; a handle that
// was freed or never given fails the calls (ERROR_INVALID_HANDLE).
#pragma once

#include <string>

#include "platform/win32/types.h"

using FARPROC = void (*)();

// Null with the platform's error: ERROR_MOD_NOT_FOUND for a name that is
// neither built in nor a loadable file.
HMODULE LoadLibraryW(LPCWSTR fileName);
// Null with ERROR_PROC_NOT_FOUND for a name the library does not export.
FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName);
BOOL FreeLibrary(HMODULE module);

namespace shell {

// What a built-in library exports: the address of a named entry point, or
// null when it has none.
using BuiltInExports = FARPROC (*)(std::u16string_view procName);

// Makes a library of the device known by its file name; registering the
// same name again replaces its exports.
void RegisterBuiltInLibrary(std::u16string_view fileName, BuiltInExports exports);

}  // namespace shell
