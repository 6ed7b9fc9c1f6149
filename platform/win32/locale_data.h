// The locales the platform knows: their formats and names as the phone
// platform's own tables give them. Internal to platform/win32.
#pragma once

#include <string_view>

#include "platform/win32/locale.h"

namespace syslocale {

struct LocaleData {
  const char* name;                    // "en_US"
  LCID lcid;                           // 0x0409
  const char16_t* language;            // "English" (LOCALE_SENGLANGUAGE)
  const char16_t* country;             // "United States"
  const char16_t* nativeName;          // "English (United States)" (LOCALE_SLANGUAGE)
  const char16_t* shortDate;           // LOCALE_SSHORTDATE
  const char16_t* longDate;            // LOCALE_SLONGDATE
  const char16_t* timeFormat;          // LOCALE_STIMEFORMAT
  const char16_t* yearMonth;           // LOCALE_SYEARMONTH
  const char16_t* dateSeparator;       // LOCALE_SDATE
  const char16_t* timeSeparator;       // LOCALE_STIME
  int twentyFourHour;                  // LOCALE_ITIME: 0 12-hour, 1 24-hour
  const char16_t* am;                  // LOCALE_S1159
  const char16_t* pm;                  // LOCALE_S2359
  int firstDayOfWeek;                  // LOCALE_IFIRSTDAYOFWEEK: 0 Monday ... 6 Sunday
  const char16_t* days[7];             // Monday first, as LOCALE_SDAYNAME1..7
  const char16_t* abbrevDays[7];       // Monday first
  const char16_t* months[12];          // as a month stands alone ("leden")
  const char16_t* genitiveMonths[12];  // as a date uses it ("ledna"); null entries: the same
  const char16_t* abbrevMonths[12];
  const char16_t* era;  // "gg": "A.D."
};

// The table, English (United States) first.
const LocaleData* Locales(std::size_t* count);
// The entry for a name ("de_DE", "de-DE.UTF-8", "de"): the exact one, else
// the first of its language; null when the language is unknown too.
const LocaleData* FindLocale(std::string_view name);
// The entry answering LOCALE_USER_DEFAULT now.
const LocaleData& UserLocale();
// The entry of an LCID (the two defaults included); null when unknown.
const LocaleData* LocaleOf(LCID lcid);

// Day d (0 Sunday ... 6 Saturday, as tm_wday and SYSTEMTIME count) of the
// locale's names, which count from Monday.
inline const char16_t* DayName(const LocaleData& l, int d, bool abbrev) {
  const int i = (d + 6) % 7;
  return abbrev ? l.abbrevDays[i] : l.days[i];
}
inline const char16_t* MonthName(const LocaleData& l, int m, bool genitive) {
  return genitive && l.genitiveMonths[m] ? l.genitiveMonths[m] : l.months[m];
}

}  // namespace syslocale
