// Calendar days as whole numbers: the local calendar date counted in days
// since 1970-01-01, so that a month grid, a day heading or "which day holds
// this appointment" is plain integer arithmetic. Conversions go through the
// device's time zone.
#pragma once

#include <cstdint>

#include "platform/win32/types.h"

namespace localdays {

// The local calendar day of a time value (seconds since 1970, UTC).
std::int64_t DayOf(std::int64_t t);
// The day of a calendar date (month 1..12, day 1..31).
std::int64_t DayNumber(int year, int month, int dayOfMonth);
// The date of a day (the time fields are zero).
SYSTEMTIME DateOf(std::int64_t day);
int DaysInMonth(int year, int month);
// 0 Sunday .. 6 Saturday, as tm_wday counts.
int Weekday(std::int64_t day);
// The time value of a local day's midnight and of its noon (noon is safe
// from daylight-saving shifts, for the date routines).
std::int64_t StartOf(std::int64_t day);
std::int64_t NoonOf(std::int64_t day);

}  // namespace localdays
