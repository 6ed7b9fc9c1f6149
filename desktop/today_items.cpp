#include "desktop/today_items.h"

#include "platform/registry/registry.h"
#include "platform/win32/errors.h"
#include "platform/win32/text.h"

namespace today_items {

namespace {

// Subkey and value names are at most 255 characters.
constexpr DWORD kNameChars = 256;
// A key holds no more entries than this: reading ends there whatever the registry says.
constexpr DWORD kMaxEntries = 10000;

// The item's "DLL" value from an open subkey, or false.
bool ReadLibrary(HKEY key, std::u16string* library) {
  for (DWORD index = 0; index < kMaxEntries; ++index) {
    char16_t name[kNameChars] = {};
    DWORD nameLength = kNameChars;
    DWORD type = 0;
    BYTE data[(MAX_PATH + 1) * sizeof(char16_t)] = {};
    DWORD size = sizeof data - sizeof(char16_t);
    const DWORD result = static_cast<DWORD>(RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size));
    if (result == ERROR_NO_MORE_ITEMS) return false;
    if (result != ERROR_SUCCESS) continue;
    if (text::ToLower(std::u16string(name, nameLength)) != u"dll") continue;
    if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
    std::u16string value(reinterpret_cast<const char16_t*>(data), size / sizeof(char16_t));
    value = value.substr(0, value.find(u'\0'));
    *library = value;
    return true;
  }
  return false;
}

}  // namespace

std::u16string Unquote(const std::u16string& name) {
  std::u16string s = name;
  if (!s.empty() && s.front() == u'"') s.erase(0, 1);
  if (!s.empty() && s.back() == u'"') s.pop_back();
  return s;
}

bool Read(std::vector<mivoTodayItem>* items) {
  items->clear();
  HKEY root = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kItemsKey, 0, KEY_READ, &root) != ERROR_SUCCESS) return true;
  bool whole = true;
  for (DWORD index = 0; index < kMaxEntries; ++index) {
    char16_t name[kNameChars] = {};
    DWORD nameLength = kNameChars;
    if (RegEnumKeyExW(root, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::u16string subKey = std::u16string(kItemsKey) + u"\\" + std::u16string(name, nameLength);
    HKEY item = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ, &item) != ERROR_SUCCESS) {
      whole = false;
      break;
    }
    std::u16string library;
    if (ReadLibrary(item, &library)) items->push_back({Unquote(std::u16string(name, nameLength)), library});
    RegCloseKey(item);
  }
  RegCloseKey(root);
  return whole;
}

bool IsRegistered(const std::u16string& library) {
  if (library.empty()) return false;
  std::vector<mivoTodayItem> items;
  Read(&items);
  const std::u16string wanted = text::ToLower(library);
  for (const mivoTodayItem& item : items) {
    if (text::ToLower(item.library) == wanted) return true;
  }
  return false;
}

}  // namespace today_items
