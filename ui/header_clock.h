// The page header's clock text: the local time as hours and minutes.
#pragma once

#include <string>

namespace ui {

// "09:05": 24-hour hours and minutes of the local time.
std::u16string HeaderClockText();

}  // namespace ui
