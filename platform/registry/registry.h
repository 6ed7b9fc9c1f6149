// The registry: HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, kept in device.db.
//
// Key and value names are compared without case and keep the spelling they
// were created with. Values hold the platform's bytes: REG_DWORD as four
// little-endian bytes, REG_SZ and REG_MULTI_SZ as UTF-16LE with terminators,
// REG_BINARY as given. Reads are served from a memory cache, so the settings
// store can read on every use. The cache is dropped when the database
// changes: in a process with the change watcher running (the launcher) as
// soon as the watcher sees the commit (milliseconds, and always before the
// change's notifications go out); without it, at the next read.
//
// RegDeleteKeyW deletes the key with everything below it, as the phone
// platform does. A handle whose key was deleted fails with ERROR_KEY_DELETED.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/registry_defs.h"
#include "platform/win32/types.h"

struct SECURITY_ATTRIBUTES;

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                     SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition);
// data null with size non-null: the size needed. A buffer too small:
// ERROR_MORE_DATA with *size set to the size needed.
LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
// Sub-keys and values in case-insensitive name order; ERROR_NO_MORE_ITEMS
// past the end. nameLength is in characters (without the terminator on return).
LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPWSTR keyClass,
                   LPDWORD classLength, FILETIME* lastWrite);
LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved, LPDWORD type,
                   LPBYTE data, LPDWORD size);
LONG RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD reserved, LPDWORD subKeys,
                      LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                      LPDWORD maxValueLength, LPDWORD securityDescriptor, FILETIME* lastWrite);
LONG RegDeleteValueW(HKEY key, LPCWSTR valueName);
LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey);
LONG RegCloseKey(HKEY key);

// The shell's helpers: one value named by root, sub-key path and name.
// S_OK, or HRESULT_FROM_WIN32 of the error: ERROR_FILE_NOT_FOUND (missing),
// ERROR_DATATYPE_MISMATCH (another type), ERROR_INSUFFICIENT_BUFFER (a text
// that does not fit in chars characters with its terminator; the buffer then
// holds an empty text). The setters create the key when missing.
HRESULT RegistryGetDWORD(HKEY root, LPCWSTR subKey, LPCWSTR valueName, DWORD* data);
HRESULT RegistryGetString(HKEY root, LPCWSTR subKey, LPCWSTR valueName, LPWSTR data, UINT chars);
HRESULT RegistrySetDWORD(HKEY root, LPCWSTR subKey, LPCWSTR valueName, DWORD data);
HRESULT RegistrySetString(HKEY root, LPCWSTR subKey, LPCWSTR valueName, LPCWSTR data);

constexpr DWORD ERROR_DATATYPE_MISMATCH = 1629;

namespace reg {

// One value as stored.
struct Value {
  DWORD type = REG_NONE;
  std::string data;  // the platform's bytes
};

// Convenience for C++ callers (tools, services). Keys are written as the
// platform writes them ("Software\mivo\mivo").
bool Get(HKEY root, std::u16string_view subKey, std::u16string_view name, Value* value);
bool Set(HKEY root, std::u16string_view subKey, std::u16string_view name, const Value& value);
bool Delete(HKEY root, std::u16string_view subKey, std::u16string_view name);
bool GetDword(HKEY root, std::u16string_view subKey, std::u16string_view name, DWORD* value);
bool SetDword(HKEY root, std::u16string_view subKey, std::u16string_view name, DWORD value);
bool GetString(HKEY root, std::u16string_view subKey, std::u16string_view name, std::u16string* value);
bool SetString(HKEY root, std::u16string_view subKey, std::u16string_view name, std::u16string_view value);

// Value constructors and readers in the platform's byte layout.
Value DwordValue(DWORD v);
Value StringValue(std::u16string_view s, DWORD type = REG_SZ);
Value MultiStringValue(const std::vector<std::u16string>& items);
Value BinaryValue(const std::string& bytes);
bool AsDword(const Value& v, DWORD* out);
std::u16string AsString(const Value& v);  // REG_SZ / REG_EXPAND_SZ, up to the first terminator
std::vector<std::u16string> AsMultiString(const Value& v);

// Roots by name: "HKLM", "HKEY_LOCAL_MACHINE", "HKCU", "HKEY_CURRENT_USER"
// (any case). Splits "HKCU\Software\mivo" into the root and the rest.
bool ParseKeyPath(std::u16string_view text, HKEY* root, std::u16string* subKey);
std::u16string RootName(HKEY root);  // "HKEY_LOCAL_MACHINE" / "HKEY_CURRENT_USER"

// The lower-case "hklm\path" form the change log uses for a key.
std::string ChangeRef(HKEY root, std::u16string_view subKey);

}  // namespace reg
