#include "platform/win32/clock.h"

#include <time.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>

#include "platform/win32/errors.h"

namespace {

// 100 ns intervals between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kFileTimeEpochDelta = 116444736000000000LL;

struct ClockState {
  std::mutex lock;
  bool isVirtual = false;
  std::uint64_t virtualNow = 0;     // virtual tick count (ms)
  std::int64_t virtualUnixAtZero = 0;  // unix ms of tick 0 in virtual time
  std::int64_t realShiftMs = 0;     // SetSystemTime in real time moves the view, not the host
  std::string zone;                 // as set by SetTimeZone
  std::chrono::steady_clock::time_point realStart = std::chrono::steady_clock::now();
};

ClockState& State() {
  static ClockState s;
  return s;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days from 1970-01-01 to the given civil date (Howard Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int* y, unsigned* m, unsigned* d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t yy = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<int>(yy + (*m <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// The TZ environment is process-wide; every use of localtime_r goes through
// this lock so a zone change never races a conversion.
std::mutex& ZoneLock() {
  static std::mutex m;
  return m;
}

void ApplyZoneLocked(const std::string& zone, bool isVirtual) {
  if (zone.empty()) {
    if (isVirtual) {
      setenv("TZ", "UTC0", 1);
    } else {
      unsetenv("TZ");
    }
  } else {
    setenv("TZ", zone.c_str(), 1);
  }
  tzset();
}

std::int64_t NowUnixMsLocked(ClockState& s) {
  if (s.isVirtual) return s.virtualUnixAtZero + static_cast<std::int64_t>(s.virtualNow);
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(now).count() + s.realShiftMs;
}

std::int64_t FileTimeToUnixMs(const FILETIME& ft) {
  const std::int64_t v =
      static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
  return FloorDiv(v - kFileTimeEpochDelta, 10000);
}

FILETIME UnixMsToFileTime(std::int64_t ms) {
  const std::uint64_t v = static_cast<std::uint64_t>(ms * 10000 + kFileTimeEpochDelta);
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(v & 0xFFFFFFFFu);
  ft.dwHighDateTime = static_cast<DWORD>(v >> 32);
  return ft;
}

// Local time -> UTC: the offset at the local instant, corrected once more
// so that times near a daylight-saving switch land on the right side.
std::int64_t LocalToUnixMs(std::int64_t localAsUtcMs) {
  std::int64_t guess = localAsUtcMs - sysclock::LocalOffsetMinutes(localAsUtcMs) * 60000LL;
  return localAsUtcMs - sysclock::LocalOffsetMinutes(guess) * 60000LL;
}

}  // namespace

namespace sysclock {

void UseVirtualTime() {
  ClockState& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  s.isVirtual = true;
  s.virtualNow = 0;
  {
    std::lock_guard<std::mutex> z(ZoneLock());
    ApplyZoneLocked(s.zone, true);
  }
  // Conversions take only the zone lock, so this is safe under the clock's.
  s.virtualUnixAtZero = LocalToUnixMs(SystemTimeToUnixMs(kVirtualStart));
}

void UseRealTime() {
  ClockState& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  s.isVirtual = false;
  s.realShiftMs = 0;
  std::lock_guard<std::mutex> z(ZoneLock());
  ApplyZoneLocked(s.zone, false);
}

bool IsVirtual() {
  ClockState& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  return s.isVirtual;
}

void Advance(std::uint64_t ms) {
  ClockState& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  if (s.isVirtual) s.virtualNow += ms;
}

std::uint64_t NowMs() {
  ClockState& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  if (s.isVirtual) return s.virtualNow;
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - s.realStart)
          .count());
}

std::int64_t UnixMs() {
  ClockState& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  return NowUnixMsLocked(s);
}

void SetTimeZone(const std::string& zone) {
  ClockState& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  // Virtual time keeps its UTC instant: the local clock moves with the zone.
  s.zone = zone;
  std::lock_guard<std::mutex> z(ZoneLock());
  ApplyZoneLocked(zone, s.isVirtual);
}

const std::string& TimeZone() { return State().zone; }

int LocalOffsetMinutes(std::int64_t unixMs) {
  const time_t t = static_cast<time_t>(FloorDiv(unixMs, 1000));
  struct tm lt {};
  std::lock_guard<std::mutex> z(ZoneLock());
  if (!localtime_r(&t, &lt)) return 0;
  return static_cast<int>(lt.tm_gmtoff / 60);
}

bool LocalBrokenDownTime(std::int64_t unixSeconds, struct tm* out) {
  if (!out) return false;
  const time_t t = static_cast<time_t>(unixSeconds);
  if (static_cast<std::int64_t>(t) != unixSeconds) return false;
  std::lock_guard<std::mutex> z(ZoneLock());
  return localtime_r(&t, out) != nullptr;
}

std::int64_t SystemTimeToUnixMs(const SYSTEMTIME& st) {
  const std::int64_t days = DaysFromCivil(st.wYear, st.wMonth, st.wDay);
  return ((days * 24 + st.wHour) * 60 + st.wMinute) * 60000LL + st.wSecond * 1000LL + st.wMilliseconds;
}

SYSTEMTIME UnixMsToSystemTime(std::int64_t ms) {
  const std::int64_t days = FloorDiv(ms, 86400000LL);
  std::int64_t rest = ms - days * 86400000LL;
  int y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days, &y, &m, &d);
  SYSTEMTIME st;
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wDayOfWeek = static_cast<WORD>(FloorDiv(days + 4, 7) * -7 + days + 4);  // 1970-01-01 was a Thursday
  st.wHour = static_cast<WORD>(rest / 3600000);
  rest %= 3600000;
  st.wMinute = static_cast<WORD>(rest / 60000);
  rest %= 60000;
  st.wSecond = static_cast<WORD>(rest / 1000);
  st.wMilliseconds = static_cast<WORD>(rest % 1000);
  return st;
}

bool IsValidSystemTime(const SYSTEMTIME& st) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (st.wYear < 1601 || st.wYear > 30827 || st.wMonth < 1 || st.wMonth > 12) return false;
  const int dim = kDays[st.wMonth - 1] + (st.wMonth == 2 && IsLeap(st.wYear) ? 1 : 0);
  return st.wDay >= 1 && st.wDay <= dim && st.wHour < 24 && st.wMinute < 60 && st.wSecond < 60 &&
         st.wMilliseconds < 1000;
}

}  // namespace sysclock

DWORD GetTickCount() { return static_cast<DWORD>(sysclock::NowMs() & 0xFFFFFFFFu); }

void GetSystemTime(SYSTEMTIME* st) {
  if (!st) return;
  *st = sysclock::UnixMsToSystemTime(sysclock::UnixMs());
}

void GetLocalTime(SYSTEMTIME* st) {
  if (!st) return;
  const std::int64_t utc = sysclock::UnixMs();
  *st = sysclock::UnixMsToSystemTime(utc + sysclock::LocalOffsetMinutes(utc) * 60000LL);
}

BOOL SetSystemTime(const SYSTEMTIME* st) {
  if (!st || !sysclock::IsValidSystemTime(*st)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::int64_t target = sysclock::SystemTimeToUnixMs(*st);
  ClockState& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  if (s.isVirtual) {
    s.virtualUnixAtZero = target - static_cast<std::int64_t>(s.virtualNow);
  } else {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    s.realShiftMs = target - std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
  }
  return TRUE;
}

BOOL SetLocalTime(const SYSTEMTIME* st) {
  if (!st || !sysclock::IsValidSystemTime(*st)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const SYSTEMTIME utc = sysclock::UnixMsToSystemTime(LocalToUnixMs(sysclock::SystemTimeToUnixMs(*st)));
  return SetSystemTime(&utc);
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* st, FILETIME* ft) {
  if (!st || !ft || !sysclock::IsValidSystemTime(*st)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *ft = UnixMsToFileTime(sysclock::SystemTimeToUnixMs(*st));
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* ft, SYSTEMTIME* st) {
  if (!ft || !st || (ft->dwHighDateTime & 0x80000000u)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *st = sysclock::UnixMsToSystemTime(FileTimeToUnixMs(*ft));
  return TRUE;
}

BOOL FileTimeToLocalFileTime(const FILETIME* utc, FILETIME* local) {
  if (!utc || !local) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::int64_t ms = FileTimeToUnixMs(*utc);
  *local = UnixMsToFileTime(ms + sysclock::LocalOffsetMinutes(ms) * 60000LL);
  return TRUE;
}

BOOL LocalFileTimeToFileTime(const FILETIME* local, FILETIME* utc) {
  if (!utc || !local) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *utc = UnixMsToFileTime(LocalToUnixMs(FileTimeToUnixMs(*local)));
  return TRUE;
}

LONG CompareFileTime(const FILETIME* a, const FILETIME* b) {
  const std::uint64_t va = (static_cast<std::uint64_t>(a->dwHighDateTime) << 32) | a->dwLowDateTime;
  const std::uint64_t vb = (static_cast<std::uint64_t>(b->dwHighDateTime) << 32) | b->dwLowDateTime;
  return va < vb ? -1 : (va > vb ? 1 : 0);
}

DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* tz) {
  if (!tz) return TIME_ZONE_ID_UNKNOWN;
  *tz = TIME_ZONE_INFORMATION{};
  tz->Bias = -sysclock::LocalOffsetMinutes(sysclock::UnixMs());
  return TIME_ZONE_ID_UNKNOWN;
}
