// Phone numbers as the contacts and the actions compare them.
#pragma once

#include <string_view>

// Equal when their digits are: "+420 603-111 222" and "420603111222" are one
// number; "603111222" (without the country code) is another.
bool mivoPhoneNumbersEqual(std::u16string_view a, std::u16string_view b);
