#include "look/date_time_format.h"

#include "look/language.h"
#include "look/string_ids.h"
#include "platform/win32/clock.h"
#include "platform/win32/locale.h"
#include "platform/win32/text.h"

namespace datetime {

namespace {

// Local broken-down time to the platform's SYSTEMTIME.
SYSTEMTIME ToSystemTime(const struct tm& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.tm_year + 1900);
  st.wMonth = static_cast<WORD>(t.tm_mon + 1);
  st.wDayOfWeek = static_cast<WORD>(t.tm_wday);
  st.wDay = static_cast<WORD>(t.tm_mday);
  st.wHour = static_cast<WORD>(t.tm_hour);
  st.wMinute = static_cast<WORD>(t.tm_min);
  st.wSecond = static_cast<WORD>(t.tm_sec > 59 ? 59 : t.tm_sec);
  st.wMilliseconds = 0;
  return st;
}

// The locale's format of a kind, read into a buffer of `size` characters;
// empty when it cannot be read.
std::u16string LocaleText(LCTYPE type, int size) {
  std::u16string buffer(static_cast<std::size_t>(size), u'\0');
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer.data(), size);
  return n > 0 ? std::u16string(buffer.c_str()) : std::u16string();
}

// GetDateFormatW with a picture; 40 characters are enough for the short date.
std::u16string DateWith(std::int64_t t, const char16_t* picture, int size) {
  struct tm local {};
  if (!picture || !ToLocal(t, &local)) return {};
  const SYSTEMTIME st = ToSystemTime(local);
  std::u16string buffer(static_cast<std::size_t>(size), u'\0');
  if (GetDateFormatW(LOCALE_USER_DEFAULT, 0, &st, picture, buffer.data(), size) > 0) return buffer.c_str();
  // A long picture ("dddd, d. MMMM yyyy 'in the year of our Lord'") gets the room it needs.
  const int needed = GetDateFormatW(LOCALE_USER_DEFAULT, 0, &st, picture, nullptr, 0);
  if (needed <= size) return {};
  buffer.assign(static_cast<std::size_t>(needed), u'\0');
  return GetDateFormatW(LOCALE_USER_DEFAULT, 0, &st, picture, buffer.data(), needed) > 0 ? buffer.c_str()
                                                                                         : std::u16string();
}

// Days from 1970-01-01 of a local calendar date.
std::int64_t DayNumber(const struct tm& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.tm_year + 1900);
  st.wMonth = static_cast<WORD>(t.tm_mon + 1);
  st.wDay = static_cast<WORD>(t.tm_mday);
  return sysclock::SystemTimeToUnixMs(st) / 86400000LL;
}

// A text of the string table used as a strftime pattern: its "%" stay "%".
std::u16string Literal(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text) {
    out += c;
    if (c == u'%') out += u'%';
  }
  return out;
}

}  // namespace

std::int64_t Now() {
  const std::int64_t ms = sysclock::UnixMs();
  return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

bool ToLocal(std::int64_t t, struct tm* out) { return sysclock::LocalBrokenDownTime(t, out); }

std::u16string ShortDate(std::int64_t t) {
  const std::u16string picture = LocaleText(LOCALE_SSHORTDATE, 20);
  return picture.empty() ? std::u16string() : DateWith(t, picture.c_str(), 40);
}

std::u16string LongDate(std::int64_t t) {
  const std::u16string picture = LocaleText(LOCALE_SLONGDATE, 80);
  return picture.empty() ? std::u16string() : DateWith(t, picture.c_str(), 128);
}

std::u16string LocaleTime(std::int64_t t) {
  struct tm local {};
  if (!ToLocal(t, &local)) return {};
  const std::u16string picture = LocaleText(LOCALE_STIMEFORMAT, 80);
  const SYSTEMTIME st = ToSystemTime(local);
  WCHAR buffer[80];
  return !picture.empty() && GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, picture.c_str(), buffer, 80) > 0
             ? std::u16string(buffer)
             : std::u16string();
}

std::u16string YearMonth(std::int64_t t) {
  const std::u16string picture = LocaleText(LOCALE_SYEARMONTH, 80);
  return picture.empty() ? std::u16string() : DateWith(t, picture.c_str(), 80);
}

std::u16string CustomDate(std::int64_t t, std::u16string_view picture) {
  return DateWith(t, std::u16string(picture).c_str(), 128);
}

std::u16string Strftime(std::int64_t t, const char16_t* pattern) {
  struct tm local {};
  if (!pattern || !ToLocal(t, &local)) return {};
  WCHAR buffer[128];
  return wcsftime(buffer, 128, pattern, &local) > 0 ? std::u16string(buffer) : std::u16string();
}

std::u16string HourMinute(std::int64_t t) {
  std::u16string pattern = u"time format error";
  const std::u16string clock = LocaleText(LOCALE_ITIME, 2);
  const std::u16string separator = LocaleText(LOCALE_STIME, 100);
  // The separator goes into a pattern: a "%" in it stays a "%".
  if (!clock.empty() && clock[0] == u'0') {
    pattern = text::Format(u"%%I%s%%M %%p", Literal(separator));
  } else {
    pattern = text::Format(u"%%H%s%%M", Literal(separator));
  }
  return Strftime(t, pattern.c_str());
}

std::u16string RelativeDay(std::int64_t t) { return RelativeDay(t, Now()); }

std::u16string RelativeDay(std::int64_t t, std::int64_t now) {
  // Days are counted by the calendar, not in spans of 24 hours: a moment a
  // second ago is today, tomorrow morning is tomorrow even at 22:00.
  struct tm then {
  }, today{};
  if (!ToLocal(t, &then) || !ToLocal(now, &today)) return {};
  const std::int64_t days = DayNumber(then) - DayNumber(today);
  std::u16string pattern;
  if (days == 0) {
    pattern = Literal(GetString(IDS_TODAY));
  } else if (days == 1) {
    pattern = Literal(GetString(IDS_TOMORROW));
  } else if (days >= 2 && days <= 6) {
    pattern = u"%A";
  } else {
    pattern = u"%#x";
  }
  return Strftime(t, pattern.c_str());
}

int FirstDayOfWeek() {
  // The platform counts from Monday (0), tm_wday from Sunday.
  const std::u16string first = LocaleText(LOCALE_IFIRSTDAYOFWEEK, 2);
  const int monday0 = !first.empty() && first[0] >= u'0' && first[0] <= u'6' ? first[0] - u'0' : 0;
  return (monday0 + 1) % 7;
}

std::u16string DayName(int weekday, bool abbreviated) {
  if (weekday < 0 || weekday > 6) return {};
  const LCTYPE first = abbreviated ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1;
  return LocaleText(first + static_cast<LCTYPE>((weekday + 6) % 7), 80);
}

std::u16string MonthName(int month, bool abbreviated) {
  if (month < 0 || month > 11) return {};
  const LCTYPE first = abbreviated ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1;
  return LocaleText(first + static_cast<LCTYPE>(month), 80);
}

}  // namespace datetime
