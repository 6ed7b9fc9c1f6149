// The clock: tick count, system (UTC) and local time, and the conversions the
// system uses between SYSTEMTIME and FILETIME.
//
// Two modes. Real time (the default, and the SDL2 screen): the tick count
// follows the host's monotonic clock and the date follows the host's wall
// clock. Virtual time (headless runs): time stands still until the scenario
// driver advances it, so every run is exact. Virtual time starts at
// sysclock::kVirtualStart, local time, Monday 2010-03-15 09:05:00, with the tick
// count at 0; the local time zone is UTC until one is set.
//
// The local time zone is settable at any time (the device's time zone). Local
// time is always derived from UTC through that zone, so a zone change moves the
// local clock and nothing else.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/win32/types.h"

// Milliseconds since start; wraps after 49.7 days like the platform's.
DWORD GetTickCount();
void GetSystemTime(SYSTEMTIME* st);
void GetLocalTime(SYSTEMTIME* st);
// Sets the clock (virtual time: jumps to it; real time: shifts the system's
// view of the wall clock by the difference, the host's clock is not touched).
BOOL SetSystemTime(const SYSTEMTIME* st);
BOOL SetLocalTime(const SYSTEMTIME* st);

// FALSE (ERROR_INVALID_PARAMETER) for fields out of range; the day of week
// of the input is ignored and filled in on output.
BOOL SystemTimeToFileTime(const SYSTEMTIME* st, FILETIME* ft);
BOOL FileTimeToSystemTime(const FILETIME* ft, SYSTEMTIME* st);
BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local);
BOOL LocalFileTimeToFileTime(const FILETIME* local, FILETIME* utc);
// <0, 0, >0.
LONG CompareFileTime(const FILETIME* a, const FILETIME* b);

struct TIME_ZONE_INFORMATION {
  LONG Bias = 0;  // minutes: UTC = local + Bias
  WCHAR StandardName[32] = {};
  SYSTEMTIME StandardDate;
  LONG StandardBias = 0;
  WCHAR DaylightName[32] = {};
  SYSTEMTIME DaylightDate;
  LONG DaylightBias = 0;
};
constexpr DWORD TIME_ZONE_ID_UNKNOWN = 0;
constexpr DWORD TIME_ZONE_ID_STANDARD = 1;
constexpr DWORD TIME_ZONE_ID_DAYLIGHT = 2;
// Fills Bias with the zone's current offset (daylight saving included).
DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* tz);

namespace sysclock {

// 2010-03-15 09:05:00 local time (a Monday), the start of virtual time.
constexpr SYSTEMTIME kVirtualStart = {2010, 3, 1, 15, 9, 5, 0, 0};

// Switches to virtual time at kVirtualStart (local) with the tick count at 0.
void UseVirtualTime();
void UseRealTime();
bool IsVirtual();

// Virtual time only: moves time forward by `ms` milliseconds (timers become
// due; the window system fires them). Ignored in real time.
void Advance(std::uint64_t ms);

// Milliseconds since start, never wrapping (timers use it).
std::uint64_t NowMs();
// Milliseconds since 1970-01-01 UTC as the system sees it.
std::int64_t UnixMs();

// The local time zone: an IANA name ("Europe/Prague"), a POSIX TZ text
// ("CET-1CEST,M3.5.0,M10.5.0/3"), or "" for the host's own (real time) or
// UTC (virtual time). Unknown names behave as UTC.
void SetTimeZone(const std::string& zone);
const std::string& TimeZone();
// Offset of local time from UTC, in minutes, at the given UTC instant.
int LocalOffsetMinutes(std::int64_t unixMs);
// The C library's local broken-down time of an instant in seconds since
// 1970 (UTC), through the zone lock; false when the library rejects it.
bool LocalBrokenDownTime(std::int64_t unixSeconds, struct tm* out);

// Calendar helpers used by the conversions (proleptic Gregorian).
std::int64_t SystemTimeToUnixMs(const SYSTEMTIME& st);
SYSTEMTIME UnixMsToSystemTime(std::int64_t ms);
bool IsValidSystemTime(const SYSTEMTIME& st);

}  // namespace sysclock
