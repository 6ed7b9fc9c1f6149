// The Today plug-ins the device has registered: HKEY_LOCAL_MACHINE
// "Software\Microsoft\Today\Items", one subkey per item, whose value named
// "DLL" (in any case) holds the library's device path. An item's name is its
// subkey's name without the double quotes the platform puts around it.
#pragma once

#include <string>
#include <vector>

struct mivoTodayItem {
  std::u16string name;     // the subkey's name, unquoted
  std::u16string library;  // its "DLL" value
};

namespace today_items {

constexpr char16_t kItemsKey[] = u"Software\\Microsoft\\Today\\Items";

// The items in the registry's order: those without a "DLL" value are not
// listed. False when a subkey could not be opened: the list then holds the
// items read before it. A missing key is no items (and true).
bool Read(std::vector<mivoTodayItem>* items);
// Whether a library path is one an item names now (as device paths compare:
// without case). Only such a library is loaded.
bool IsRegistered(const std::u16string& library);
// The name without one leading and one trailing double quote.
std::u16string Unquote(const std::u16string& name);

}  // namespace today_items
