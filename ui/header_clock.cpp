#include "ui/header_clock.h"

#include "look/date_time_format.h"

namespace ui {

std::u16string HeaderClockText() { return datetime::HourMinute(datetime::Now()); }

}  // namespace ui
