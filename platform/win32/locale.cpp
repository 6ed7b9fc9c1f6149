// Which locale answers, and GetLocaleInfoW.
#include "platform/win32/locale.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/win32/clock.h"
#include "platform/win32/errors.h"
#include "platform/win32/locale_data.h"
#include "platform/win32/text.h"

namespace syslocale {

namespace {

// The locale SetUserLocale chose; null: the default.
std::atomic<const LocaleData*> g_chosen{nullptr};

// The host's locale, read from the environment once.
const LocaleData* HostLocale() {
  static const LocaleData* const host = [] {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
      const char* value = std::getenv(variable);
      if (!value || !*value) continue;
      // The first variable set decides, as the C library does; "C" and
      // "POSIX" say nothing about a language.
      return FindLocale(value);
    }
    return static_cast<const LocaleData*>(nullptr);
  }();
  return host;
}

const LocaleData& English() {
  std::size_t count = 0;
  return Locales(&count)[0];
}

}  // namespace

const LocaleData& UserLocale() {
  if (const LocaleData* chosen = g_chosen.load()) return *chosen;
  // Virtual time is a headless run: the same screens on every host.
  if (sysclock::IsVirtual()) return English();
  const LocaleData* host = HostLocale();
  return host ? *host : English();
}

void SetUserLocale(const std::string& name) {
  if (name.empty()) {
    g_chosen.store(nullptr);
    return;
  }
  const LocaleData* found = FindLocale(name);
  g_chosen.store(found ? found : &English());
}

bool IsKnownLocale(const std::string& name) { return FindLocale(name) != nullptr; }

std::string UserLocaleName() { return UserLocale().name; }

std::vector<std::string> KnownLocales() {
  std::size_t count = 0;
  const LocaleData* all = Locales(&count);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < count; ++i) names.emplace_back(all[i].name);
  return names;
}

}  // namespace syslocale

LCID GetUserDefaultLCID() { return syslocale::UserLocale().lcid; }
LCID GetSystemDefaultLCID() { return syslocale::UserLocale().lcid; }

namespace {

// Copies the answer as the platform does: the size needed for cch 0, else
// the text and its terminator when they fit.
int Answer(std::u16string_view value, LPWSTR data, int cch) {
  const int needed = static_cast<int>(value.size()) + 1;
  if (cch == 0) return needed;
  if (cch < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  value.copy(data, value.size());
  data[value.size()] = 0;
  return needed;
}

}  // namespace

int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int cch) {
  if (cch < 0 || (cch > 0 && !data)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const syslocale::LocaleData* l = syslocale::LocaleOf(locale);
  if (!l) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const bool asNumber = (type & LOCALE_RETURN_NUMBER) != 0;
  const bool genitive = (type & LOCALE_RETURN_GENITIVE_NAMES) != 0;
  type &= ~(LOCALE_NOUSEROVERRIDE | LOCALE_RETURN_NUMBER | LOCALE_RETURN_GENITIVE_NAMES);

  // The numeric values, as text or (LOCALE_RETURN_NUMBER) as a DWORD in
  // the buffer, which then counts two characters.
  int number = -1;
  if (type == LOCALE_ITIME) number = l->twentyFourHour;
  if (type == LOCALE_IFIRSTDAYOFWEEK) number = l->firstDayOfWeek;
  if (type == LOCALE_ILANGUAGE && !asNumber) return Answer(text::Format(u"%04x", l->lcid), data, cch);
  if (type == LOCALE_ILANGUAGE) number = static_cast<int>(l->lcid);
  if (asNumber) {
    if (number < 0) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    constexpr int kDwordChars = sizeof(DWORD) / sizeof(WCHAR);
    if (cch == 0) return kDwordChars;
    if (cch < kDwordChars) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    const DWORD value = static_cast<DWORD>(number);
    std::memcpy(data, &value, sizeof value);
    return kDwordChars;
  }
  if (number >= 0) return Answer(text::FromInt(number), data, cch);

  if (type >= LOCALE_SDAYNAME1 && type <= LOCALE_SDAYNAME7) return Answer(l->days[type - LOCALE_SDAYNAME1], data, cch);
  if (type >= LOCALE_SABBREVDAYNAME1 && type <= LOCALE_SABBREVDAYNAME7)
    return Answer(l->abbrevDays[type - LOCALE_SABBREVDAYNAME1], data, cch);
  if (type >= LOCALE_SMONTHNAME1 && type <= LOCALE_SMONTHNAME12)
    return Answer(syslocale::MonthName(*l, static_cast<int>(type - LOCALE_SMONTHNAME1), genitive), data, cch);
  if (type >= LOCALE_SABBREVMONTHNAME1 && type <= LOCALE_SABBREVMONTHNAME12)
    return Answer(l->abbrevMonths[type - LOCALE_SABBREVMONTHNAME1], data, cch);

  const char16_t* value = nullptr;
  switch (type) {
    case LOCALE_SLANGUAGE: value = l->nativeName; break;
    case LOCALE_SENGLANGUAGE: value = l->language; break;
    case LOCALE_SENGCOUNTRY: value = l->country; break;
    case LOCALE_SDATE: value = l->dateSeparator; break;
    case LOCALE_STIME: value = l->timeSeparator; break;
    case LOCALE_SSHORTDATE: value = l->shortDate; break;
    case LOCALE_SLONGDATE: value = l->longDate; break;
    case LOCALE_STIMEFORMAT: value = l->timeFormat; break;
    case LOCALE_SYEARMONTH: value = l->yearMonth; break;
    case LOCALE_S1159: value = l->am; break;
    case LOCALE_S2359: value = l->pm; break;
    case LOCALE_SISO639LANGNAME:
    case LOCALE_SISO3166CTRYNAME: {
      const std::string_view name = l->name;
      const std::string_view part = type == LOCALE_SISO639LANGNAME ? name.substr(0, 2) : name.substr(3);
      return Answer(text::FromUtf8(part), data, cch);
    }
    default: SetLastError(ERROR_INVALID_FLAGS); return 0;
  }
  return Answer(value, data, cch);
}
