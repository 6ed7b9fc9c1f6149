// The shared date and time formatting routines: every gadget, list row and
// page header that shows a date or a time formats it here, so they all
// follow the user's locale (the platform's locale services) the same way.
//
// Each routine takes a time value in seconds since 1970 (UTC), converts it
// to local broken-down time (the device's time zone) and returns a new
// string; a value the conversion rejects, or a pattern the platform
// refuses, gives an empty string.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace datetime {

// The system clock now, in seconds (virtual time in headless runs).
std::int64_t Now();
// The local broken-down time of t; false when the C library rejects it.
bool ToLocal(std::int64_t t, struct tm* out);

// The locale's short date ("3/15/2010", "15.03.2010"): task rows, appointment panel.
std::u16string ShortDate(std::int64_t t);
// The locale's long date ("Monday, March 15, 2010"): the date gadget's default.
std::u16string LongDate(std::int64_t t);
// The locale's time ("9:05:00 AM", "09:05:00"): the appointment panel.
std::u16string LocaleTime(std::int64_t t);
// The locale's year and month ("March, 2010", "März 2010"): calendar page and gadget.
std::u16string YearMonth(std::int64_t t);
// A date picture of the platform ("dd.MM.yyyy", "dddd, MMMM d, yyyy"): the date gadget.
std::u16string CustomDate(std::int64_t t, std::u16string_view picture);
// The wide strftime ("%H:%M", "%c", "%#x"), at most 127 characters; empty
// for a null pattern or a text that does not fit: alarm gadget, text clock,
// SMS reading page, call log and file rows.
std::u16string Strftime(std::int64_t t, const char16_t* pattern);
// Hours and minutes as the locale's clock has them: "%I:%M %p" on a
// 12-hour clock ("09:05 AM"), else "%H:%M" ("09:05"), with the locale's
// separator: task and SMS rows, the page header's clock.
std::u16string HourMinute(std::int64_t t);
// How far away the day of t is, counted in local calendar days from today:
// "Today", "Tommorow" (the string table's texts), the weekday name two to
// six days ahead, else the long date representation ("%#x"), past days
// included. The second form takes "now" as given (tests, a clock of its own).
std::u16string RelativeDay(std::int64_t t);
std::u16string RelativeDay(std::int64_t t, std::int64_t now);

// ---- The locale's calendar, for calendars and date pickers ----
// The first day of the week as tm_wday counts it (0 Sunday ... 6 Saturday).
int FirstDayOfWeek();
// weekday as tm_wday counts it; "" out of range.
std::u16string DayName(int weekday, bool abbreviated);
// month 0..11; "" out of range.
std::u16string MonthName(int month, bool abbreviated);

}  // namespace datetime
