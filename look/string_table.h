// The built-in English texts of the program, addressed by string table id.
// Ids run from 2 to 567; a few ids inside that range have no text. Every id
// without a text (and every id outside the range) yields the empty text.
#pragma once

#include <string_view>

constexpr int kFirstStringId = 2;
constexpr int kLastStringId = 567;
// Entries of a complete translation table: ids 0 to 567.
constexpr int kStringTableSize = kLastStringId + 1;

// The English text of an id, never null; empty when the id has none.
std::u16string_view BuiltInString(int id);

namespace look_detail {
extern const char16_t* const kBuiltInTexts[kStringTableSize];
}
