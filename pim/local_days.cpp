#include "pim/local_days.h"

#include <ctime>

#include "look/date_time_format.h"
#include "platform/win32/clock.h"

namespace localdays {

namespace {

constexpr std::int64_t kDayMs = 86400000;

// A local moment of a day as a time value: the local clock's milliseconds
// into the day, less the zone's offset at that moment.
std::int64_t LocalToTime(std::int64_t day, std::int64_t msIntoDay) {
  const std::int64_t local = day * kDayMs + msIntoDay;
  // The offset is taken at the moment itself, found in two steps.
  std::int64_t utc = local - sysclock::LocalOffsetMinutes(local) * 60000LL;
  utc = local - sysclock::LocalOffsetMinutes(utc) * 60000LL;
  return utc / 1000;
}

}  // namespace

std::int64_t DayOf(std::int64_t t) {
  struct tm local {};
  if (!datetime::ToLocal(t, &local)) return t / 86400;
  return DayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::int64_t DayNumber(int year, int month, int dayOfMonth) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(dayOfMonth);
  return sysclock::SystemTimeToUnixMs(st) / kDayMs;
}

SYSTEMTIME DateOf(std::int64_t day) { return sysclock::UnixMsToSystemTime(day * kDayMs); }

int DaysInMonth(int year, int month) {
  const int next = month == 12 ? 1 : month + 1;
  return static_cast<int>(DayNumber(month == 12 ? year + 1 : year, next, 1) - DayNumber(year, month, 1));
}

int Weekday(std::int64_t day) {
  // 1970-01-01 was a Thursday.
  return static_cast<int>(((day + 4) % 7 + 7) % 7);
}

std::int64_t StartOf(std::int64_t day) { return LocalToTime(day, 0); }

std::int64_t NoonOf(std::int64_t day) { return LocalToTime(day, kDayMs / 2); }

}  // namespace localdays
