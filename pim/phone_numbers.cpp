#include "pim/phone_numbers.h"

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

// Both texts are walked digit by digit, skipping everything else; any
// difference, or one running out of digits first, makes them different.
bool mivoPhoneNumbersEqual(std::u16string_view a, std::u16string_view b) {
  std::size_t i = 0, j = 0;
  for (;;) {
    while (i < a.size() && !IsDigit(a[i])) ++i;
    while (j < b.size() && !IsDigit(b[j])) ++j;
    bool endA = i == a.size(), endB = j == b.size();
    if (endA || endB) return endA && endB;
    if (a[i++] != b[j++]) return false;
  }
}
