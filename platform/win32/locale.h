// The platform's locale services: the user's date and time formats, day and
// month names and first day of the week (GetLocaleInfoW), dates and times
// formatted by Windows picture patterns ("dd.MM.yyyy", "dddd, MMMM d, yyyy",
// "h:mm:ss tt") with GetDateFormatW and GetTimeFormatW, and the wide
// strftime (with the platform's "#" flag: "%#x" is the long date, "%#d" the
// day without a leading zero).
//
// The user's locale is chosen by SetUserLocale: a name such as "de_DE"
// ("de-DE", "de_DE.UTF-8@euro" and the language alone, "de", are taken too),
// or "" for the default. The default follows the host's locale (LC_ALL,
// LC_TIME, LANG) in real time; in virtual time (headless runs) it is
// English (United States), so the same script gives the same screens on
// every host. A locale the table does not hold answers by its language,
// and English (United States) when the language is unknown too.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "platform/win32/types.h"

using LCID = DWORD;
using LCTYPE = DWORD;

constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;

// GetLocaleInfoW's values (the names are the platform's).
constexpr LCTYPE LOCALE_ILANGUAGE = 0x0001;         // the LCID in hex, "0409"
constexpr LCTYPE LOCALE_SLANGUAGE = 0x0002;         // "English (United States)"
constexpr LCTYPE LOCALE_SENGLANGUAGE = 0x1001;      // "English"
constexpr LCTYPE LOCALE_SENGCOUNTRY = 0x1002;       // "United States"
constexpr LCTYPE LOCALE_SISO639LANGNAME = 0x0059;   // "en"
constexpr LCTYPE LOCALE_SISO3166CTRYNAME = 0x005A;  // "US"
constexpr LCTYPE LOCALE_SDATE = 0x001D;             // date separator, "/"
constexpr LCTYPE LOCALE_STIME = 0x001E;             // time separator, ":"
constexpr LCTYPE LOCALE_SSHORTDATE = 0x001F;        // "M/d/yyyy"
constexpr LCTYPE LOCALE_SLONGDATE = 0x0020;         // "dddd, MMMM d, yyyy"
constexpr LCTYPE LOCALE_ITIME = 0x0023;             // "0" 12-hour clock, "1" 24-hour clock
constexpr LCTYPE LOCALE_S1159 = 0x0028;             // "AM"
constexpr LCTYPE LOCALE_S2359 = 0x0029;             // "PM"
constexpr LCTYPE LOCALE_SDAYNAME1 = 0x002A;         // Monday ... LOCALE_SDAYNAME7 Sunday
constexpr LCTYPE LOCALE_SDAYNAME7 = 0x0030;
constexpr LCTYPE LOCALE_SABBREVDAYNAME1 = 0x0031;  // "Mon" ... LOCALE_SABBREVDAYNAME7 "Sun"
constexpr LCTYPE LOCALE_SABBREVDAYNAME7 = 0x0037;
constexpr LCTYPE LOCALE_SMONTHNAME1 = 0x0038;  // January ... LOCALE_SMONTHNAME12
constexpr LCTYPE LOCALE_SMONTHNAME12 = 0x0043;
constexpr LCTYPE LOCALE_SABBREVMONTHNAME1 = 0x0044;  // "Jan" ... LOCALE_SABBREVMONTHNAME12
constexpr LCTYPE LOCALE_SABBREVMONTHNAME12 = 0x004F;
constexpr LCTYPE LOCALE_STIMEFORMAT = 0x1003;      // "h:mm:ss tt"
constexpr LCTYPE LOCALE_SYEARMONTH = 0x1006;       // "MMMM yyyy"
constexpr LCTYPE LOCALE_IFIRSTDAYOFWEEK = 0x100C;  // "0" Monday ... "6" Sunday
// Flags or'ed into the LCTYPE.
constexpr LCTYPE LOCALE_NOUSEROVERRIDE = 0x80000000;
constexpr LCTYPE LOCALE_RETURN_NUMBER = 0x20000000;          // a DWORD for the "I" values
constexpr LCTYPE LOCALE_RETURN_GENITIVE_NAMES = 0x10000000;  // month names as a date uses them

// GetDateFormatW's flags (a picture and one of these exclude each other).
constexpr DWORD DATE_SHORTDATE = 0x1;
constexpr DWORD DATE_LONGDATE = 0x2;
constexpr DWORD DATE_YEARMONTH = 0x8;
// GetTimeFormatW's flags.
constexpr DWORD TIME_NOMINUTESORSECONDS = 0x1;
constexpr DWORD TIME_NOSECONDS = 0x2;
constexpr DWORD TIME_NOTIMEMARKER = 0x4;
constexpr DWORD TIME_FORCE24HOURFORMAT = 0x8;

// The LCID of the user's locale (0x0409, 0x0407, ...).
LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();

// Each writes the text with its terminator and returns the characters
// written (terminator included); with cch 0 it returns the size needed and
// writes nothing. 0 on failure, with GetLastError: ERROR_INSUFFICIENT_BUFFER
// (the buffer is too small; nothing useful is written), ERROR_INVALID_PARAMETER
// (an unknown LCID or LCTYPE, a date or time out of range, a null buffer
// with cch above 0), ERROR_INVALID_FLAGS.
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int cch);
// date null: today (local). format null: the format the flags choose
// (the short date when none).
int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR out, int cch);
// time null: now (local). format null: the locale's time format.
int GetTimeFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR format, LPWSTR out, int cch);

// The wide strftime, answering in the user's locale: the C conversions
// (%a %A %b %B %c %C %d %D %e %F %g %G %h %H %I %j %m %M %n %p %r %R %S %t
// %T %u %U %V %w %W %x %X %y %Y %z %Z %%) with the platform's "#" flag
// ("%#c" and "%#x" long forms, else no leading zeros). Returns the
// characters written without the terminator; 0 when the text (with its
// terminator) does not fit, the pattern holds an unknown conversion or a
// field of *t is out of range (the buffer then holds an empty text when it
// has room for one).
std::size_t wcsftime(WCHAR* out, std::size_t max, const WCHAR* format, const struct tm* t);

namespace syslocale {

// See the file's comment; "" chooses the default again.
void SetUserLocale(const std::string& name);
// The name of the locale answering now ("en_US", "de_DE", ...).
std::string UserLocaleName();
// The names of the locales the table holds, in its order.
std::vector<std::string> KnownLocales();
// Whether a name finds a locale of the table (exactly or by its language).
bool IsKnownLocale(const std::string& name);

}  // namespace syslocale
