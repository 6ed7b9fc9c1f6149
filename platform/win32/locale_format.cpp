// GetDateFormatW, GetTimeFormatW and the wide strftime.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/clock.h"
#include "platform/win32/errors.h"
#include "platform/win32/locale.h"
#include "platform/win32/locale_data.h"
#include "platform/win32/text.h"

namespace {

using syslocale::LocaleData;

// One piece of a picture: literal text, or a run of one pattern letter.
struct Piece {
  char16_t letter = 0;  // 0: literal
  int count = 0;        // how often the letter stands in the run
  std::u16string text;  // the literal
};

// Splits a picture into runs of the letters given and literal text; text in
// single quotes is literal ('' is one quote, inside quotes and out).
std::vector<Piece> Split(std::u16string_view picture, std::u16string_view letters) {
  std::vector<Piece> pieces;
  auto literal = [&pieces](char16_t c) {
    if (pieces.empty() || pieces.back().letter) pieces.push_back({});
    pieces.back().text += c;
  };
  for (std::size_t i = 0; i < picture.size();) {
    const char16_t c = picture[i];
    if (c == u'\'') {
      if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
        literal(u'\'');
        i += 2;
        continue;
      }
      // Up to the closing quote (or the end).
      for (++i; i < picture.size(); ++i) {
        if (picture[i] != u'\'') {
          literal(picture[i]);
        } else if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
          literal(u'\'');
          ++i;
        } else {
          break;
        }
      }
      ++i;
      continue;
    }
    if (letters.find(c) != std::u16string_view::npos) {
      std::size_t n = 1;
      while (i + n < picture.size() && picture[i + n] == c) ++n;
      pieces.push_back({c, static_cast<int>(n), {}});
      i += n;
      continue;
    }
    literal(c);
    ++i;
  }
  return pieces;
}

std::u16string Number(int value, int digits) { return text::Format(digits == 2 ? u"%02d" : u"%d", value); }

// A date of the calendar the platform accepts; its weekday is worked out.
bool NormaliseDate(const SYSTEMTIME& in, SYSTEMTIME* out) {
  SYSTEMTIME d{};
  d.wYear = in.wYear;
  d.wMonth = in.wMonth;
  d.wDay = in.wDay;
  if (!sysclock::IsValidSystemTime(d)) return false;
  *out = sysclock::UnixMsToSystemTime(sysclock::SystemTimeToUnixMs(d));
  return true;
}

std::u16string FormatDatePicture(const LocaleData& l, const SYSTEMTIME& d, std::u16string_view picture) {
  const std::vector<Piece> pieces = Split(picture, u"dMyg");
  // A month name next to a day number takes the form a date uses ("15. března").
  bool dayNumber = false;
  for (const Piece& p : pieces) dayNumber = dayNumber || (p.letter == u'd' && p.count <= 2);
  std::u16string out;
  for (const Piece& p : pieces) {
    switch (p.letter) {
      case 0: out += p.text; break;
      case u'd':
        if (p.count <= 2) {
          out += Number(d.wDay, p.count);
        } else {
          out += syslocale::DayName(l, d.wDayOfWeek, p.count == 3);
        }
        break;
      case u'M':
        if (p.count <= 2) {
          out += Number(d.wMonth, p.count);
        } else if (p.count == 3) {
          out += l.abbrevMonths[d.wMonth - 1];
        } else {
          out += syslocale::MonthName(l, d.wMonth - 1, dayNumber);
        }
        break;
      case u'y':
        if (p.count == 1) {
          out += Number(d.wYear % 100, 1);
        } else if (p.count == 2) {
          out += Number(d.wYear % 100, 2);
        } else {
          out += Number(d.wYear, 1);
        }
        break;
      case u'g': out += l.era; break;
      default: break;
    }
  }
  return out;
}

std::u16string FormatTimePicture(const LocaleData& l, const SYSTEMTIME& t, std::u16string_view picture, DWORD flags) {
  std::vector<Piece> pieces = Split(picture, u"hHmst");
  // Leaving out a part takes the separator before it along ("h:mm:ss tt"
  // without seconds is "h:mm tt"), or the one after it when it leads.
  auto dropped = [flags](char16_t letter) {
    if (letter == u'm') return (flags & TIME_NOMINUTESORSECONDS) != 0;
    if (letter == u's') return (flags & (TIME_NOMINUTESORSECONDS | TIME_NOSECONDS)) != 0;
    // A 24-hour clock has no marker.
    if (letter == u't') return (flags & (TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT)) != 0;
    return false;
  };
  std::vector<Piece> kept;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (!pieces[i].letter || !dropped(pieces[i].letter)) {
      kept.push_back(pieces[i]);
      continue;
    }
    if (!kept.empty() && !kept.back().letter && kept.size() > 1) {
      kept.pop_back();
    } else if (i + 1 < pieces.size() && !pieces[i + 1].letter) {
      ++i;
    }
  }
  std::u16string out;
  const bool force24 = (flags & TIME_FORCE24HOURFORMAT) != 0;
  for (const Piece& p : kept) {
    const int digits = p.count >= 2 ? 2 : 1;
    switch (p.letter) {
      case 0: out += p.text; break;
      case u'h':
        out += force24 ? Number(t.wHour, digits) : Number(t.wHour % 12 == 0 ? 12 : t.wHour % 12, digits);
        break;
      case u'H': out += Number(t.wHour, digits); break;
      case u'm': out += Number(t.wMinute, digits); break;
      case u's': out += Number(t.wSecond, digits); break;
      case u't': {
        const std::u16string_view marker = t.wHour < 12 ? l.am : l.pm;
        out += p.count == 1 ? marker.substr(0, 1) : marker;
        break;
      }
      default: break;
    }
  }
  return out;
}

int Deliver(const std::u16string& value, LPWSTR out, int cch) {
  const int needed = static_cast<int>(value.size()) + 1;
  if (cch == 0) return needed;
  if (cch < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  value.copy(out, value.size());
  out[value.size()] = 0;
  return needed;
}

}  // namespace

int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR out, int cch) {
  if (cch < 0 || (cch > 0 && !out)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const DWORD kinds = flags & (DATE_SHORTDATE | DATE_LONGDATE | DATE_YEARMONTH);
  const bool oneKind = kinds == 0 || kinds == DATE_SHORTDATE || kinds == DATE_LONGDATE || kinds == DATE_YEARMONTH;
  if (!oneKind || (format && kinds) || (flags & ~(kinds | LOCALE_NOUSEROVERRIDE))) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  const syslocale::LocaleData* l = syslocale::LocaleOf(locale);
  SYSTEMTIME day{};
  SYSTEMTIME now{};
  if (!date) {
    GetLocalTime(&now);
    date = &now;
  }
  if (!l || !NormaliseDate(*date, &day)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const char16_t* picture = format                    ? format
                            : kinds == DATE_LONGDATE  ? l->longDate
                            : kinds == DATE_YEARMONTH ? l->yearMonth
                                                      : l->shortDate;
  return Deliver(FormatDatePicture(*l, day, picture), out, cch);
}

int GetTimeFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR format, LPWSTR out, int cch) {
  if (cch < 0 || (cch > 0 && !out)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  constexpr DWORD kKnown =
      TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT | LOCALE_NOUSEROVERRIDE;
  if (flags & ~kKnown) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  const syslocale::LocaleData* l = syslocale::LocaleOf(locale);
  SYSTEMTIME now{};
  if (!time) {
    GetLocalTime(&now);
    time = &now;
  }
  if (!l || time->wHour > 23 || time->wMinute > 59 || time->wSecond > 59 || time->wMilliseconds > 999) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return Deliver(FormatTimePicture(*l, *time, format ? format : l->timeFormat, flags), out, cch);
}

// ---- The wide strftime -----------------------------------------------------------------------

namespace {

// ISO 8601 week-based year and week of a broken-down time.
void IsoWeek(const struct tm& t, int* year, int* week) {
  const int weekday = (t.tm_wday + 6) % 7;  // Monday 0
  int y = t.tm_year + 1900;
  // The Thursday of this week decides the year.
  int thursdayYday = t.tm_yday - weekday + 3;
  auto yearLength = [](int yy) { return (yy % 4 == 0 && yy % 100 != 0) || yy % 400 == 0 ? 366 : 365; };
  if (thursdayYday < 0) {
    --y;
    thursdayYday += yearLength(y);
  } else if (thursdayYday >= yearLength(y)) {
    thursdayYday -= yearLength(y);
    ++y;
  }
  *year = y;
  *week = thursdayYday / 7 + 1;
}

SYSTEMTIME ToSystemTime(const struct tm& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.tm_year + 1900);
  st.wMonth = static_cast<WORD>(t.tm_mon + 1);
  st.wDayOfWeek = static_cast<WORD>(t.tm_wday);
  st.wDay = static_cast<WORD>(t.tm_mday);
  st.wHour = static_cast<WORD>(t.tm_hour);
  st.wMinute = static_cast<WORD>(t.tm_min);
  st.wSecond = static_cast<WORD>(std::min(t.tm_sec, 59));
  return st;
}

// Formats one conversion; false for an unknown one or a field out of range.
bool Convert(const LocaleData& l, char16_t c, bool alternate, const struct tm& t, std::u16string* out) {
  auto number = [&](int value, int width, int low, int high) {
    if (value < low || value > high) return false;
    const char16_t* pattern = width == 3 ? u"%03d" : width == 2 ? u"%02d" : u"%d";
    *out += alternate ? text::FromInt(value) : text::Format(pattern, value);
    return true;
  };
  const bool monthOk = t.tm_mon >= 0 && t.tm_mon <= 11;
  const bool weekdayOk = t.tm_wday >= 0 && t.tm_wday <= 6;
  const bool dateOk = monthOk && t.tm_mday >= 1 && t.tm_mday <= 31 && t.tm_year >= -299 && t.tm_year <= 8099;
  const bool timeOk =
      t.tm_hour >= 0 && t.tm_hour <= 23 && t.tm_min >= 0 && t.tm_min <= 59 && t.tm_sec >= 0 && t.tm_sec <= 60;
  switch (c) {
    case u'a':
      if (!weekdayOk) return false;
      *out += syslocale::DayName(l, t.tm_wday, true);
      return true;
    case u'A':
      if (!weekdayOk) return false;
      *out += syslocale::DayName(l, t.tm_wday, false);
      return true;
    case u'b':
    case u'h':
      if (!monthOk) return false;
      *out += l.abbrevMonths[t.tm_mon];
      return true;
    case u'B':
      if (!monthOk) return false;
      *out += l.months[t.tm_mon];
      return true;
    case u'c':
    case u'x':
    case u'X': {
      if ((c != u'X' && !dateOk) || (c != u'x' && !timeOk)) return false;
      SYSTEMTIME st = ToSystemTime(t);
      if (c != u'X') {
        SYSTEMTIME day{};
        if (!NormaliseDate(st, &day)) return false;
        *out += FormatDatePicture(l, day, alternate ? l.longDate : l.shortDate);
        if (c == u'c') *out += u' ';
      }
      if (c != u'x') *out += FormatTimePicture(l, st, l.timeFormat, 0);
      return true;
    }
    case u'C': return number((t.tm_year + 1900) / 100, 2, 0, 99);
    case u'd': return number(t.tm_mday, 2, 1, 31);
    case u'e':
      if (t.tm_mday < 1 || t.tm_mday > 31) return false;
      *out += text::Format(alternate ? u"%d" : u"%2d", t.tm_mday);
      return true;
    case u'D':
      return Convert(l, u'm', false, t, out) && (*out += u'/', true) && Convert(l, u'd', false, t, out) &&
             (*out += u'/', true) && Convert(l, u'y', false, t, out);
    case u'F':
      return Convert(l, u'Y', false, t, out) && (*out += u'-', true) && Convert(l, u'm', false, t, out) &&
             (*out += u'-', true) && Convert(l, u'd', false, t, out);
    case u'g':
    case u'G':
    case u'V': {
      if (!weekdayOk || t.tm_yday < 0 || t.tm_yday > 365) return false;
      int year = 0, week = 0;
      IsoWeek(t, &year, &week);
      if (c == u'V') return number(week, 2, 1, 53);
      if (c == u'g') return number(((year % 100) + 100) % 100, 2, 0, 99);
      *out += text::FromInt(year);
      return true;
    }
    case u'H': return number(t.tm_hour, 2, 0, 23);
    case u'I': return t.tm_hour >= 0 && t.tm_hour <= 23 && number(t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12, 2, 1, 12);
    case u'j': return number(t.tm_yday + 1, 3, 1, 366);
    case u'm': return number(t.tm_mon + 1, 2, 1, 12);
    case u'M': return number(t.tm_min, 2, 0, 59);
    case u'n': *out += u'\n'; return true;
    case u't': *out += u'\t'; return true;
    case u'p':
      if (t.tm_hour < 0 || t.tm_hour > 23) return false;
      *out += t.tm_hour < 12 ? l.am : l.pm;
      return true;
    case u'r':
      return Convert(l, u'I', false, t, out) && (*out += u':', true) && Convert(l, u'M', false, t, out) &&
             (*out += u':', true) && Convert(l, u'S', false, t, out) && (*out += u' ', true) &&
             Convert(l, u'p', false, t, out);
    case u'R': return Convert(l, u'H', false, t, out) && (*out += u':', true) && Convert(l, u'M', false, t, out);
    case u'T': return Convert(l, u'R', false, t, out) && (*out += u':', true) && Convert(l, u'S', false, t, out);
    case u'S': return number(t.tm_sec, 2, 0, 60);
    case u'u': return weekdayOk && number(t.tm_wday == 0 ? 7 : t.tm_wday, 1, 1, 7);
    case u'w': return weekdayOk && number(t.tm_wday, 1, 0, 6);
    case u'U': return weekdayOk && number((t.tm_yday + 7 - t.tm_wday) / 7, 2, 0, 53);
    case u'W': return weekdayOk && number((t.tm_yday + 7 - (t.tm_wday + 6) % 7) / 7, 2, 0, 53);
    case u'y': return number(((t.tm_year + 1900) % 100 + 100) % 100, 2, 0, 99);
    case u'Y': *out += text::FromInt(t.tm_year + 1900LL); return true;
    case u'z': {
      const long offset = t.tm_gmtoff / 60;
      *out += text::Format(u"%c%02ld%02ld", offset < 0 ? u'-' : u'+', std::labs(offset) / 60, std::labs(offset) % 60);
      return true;
    }
    case u'Z': *out += t.tm_zone ? text::FromUtf8(t.tm_zone) : std::u16string(); return true;
    case u'%': *out += u'%'; return true;
    default: return false;
  }
}

}  // namespace

std::size_t wcsftime(WCHAR* out, std::size_t max, const WCHAR* format, const struct tm* t) {
  if (out && max > 0) out[0] = 0;
  if (!out || !format || !t || max == 0) return 0;
  const LocaleData& l = syslocale::UserLocale();
  std::u16string result;
  for (const WCHAR* p = format; *p; ++p) {
    if (*p != u'%') {
      result += *p;
      continue;
    }
    ++p;
    const bool alternate = *p == u'#';
    if (alternate) ++p;
    if (!*p || !Convert(l, *p, alternate, *t, &result)) return 0;
  }
  if (result.size() + 1 > max) return 0;
  result.copy(out, result.size());
  out[result.size()] = 0;
  return result.size();
}
