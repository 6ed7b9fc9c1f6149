#include "look/string_table.h"

std::u16string_view BuiltInString(int id) {
  if (id < 0 || id >= kStringTableSize) return {};
  const char16_t* text = look_detail::kBuiltInTexts[id];
  return text ? std::u16string_view(text) : std::u16string_view();
}
