// The page header's clock text: the local time as hours and minutes, the
// way the locale's clock shows them.
#pragma once

#include <string>

namespace ui {

// "09:05 AM" on a 12-hour clock, "09:05" on a 24-hour one.
std::u16string HeaderClockText();

}  // namespace ui
