// The platform's locale services: formats and names by locale, Windows date
// and time pictures, the wide strftime, and which locale answers.
#include "platform/win32/locale.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/win32/clock.h"
#include "platform/win32/errors.h"

namespace {

// Each test names its locale; the default is taken back afterwards.
class Locale : public ::testing::Test {
 protected:
  void TearDown() override { syslocale::SetUserLocale(""); }
  static std::u16string Info(LCTYPE type) {
    WCHAR buffer[100];
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 100) > 0 ? std::u16string(buffer) : u"<failed>";
  }
  static std::u16string Date(const char16_t* picture, DWORD flags = 0, SYSTEMTIME d = kMonday) {
    WCHAR buffer[100];
    return GetDateFormatW(LOCALE_USER_DEFAULT, flags, &d, picture, buffer, 100) > 0 ? std::u16string(buffer)
                                                                                    : u"<failed>";
  }
  static std::u16string Time(const char16_t* picture, DWORD flags = 0, SYSTEMTIME t = kMonday) {
    WCHAR buffer[100];
    return GetTimeFormatW(LOCALE_USER_DEFAULT, flags, &t, picture, buffer, 100) > 0 ? std::u16string(buffer)
                                                                                    : u"<failed>";
  }
  static std::u16string Strftime(const char16_t* pattern, const struct tm& t) {
    WCHAR buffer[128];
    return wcsftime(buffer, 128, pattern, &t) > 0 ? std::u16string(buffer) : u"<empty>";
  }
  // Monday 2010-03-15 21:05:09 (the weekday is left wrong on purpose: it is worked out).
  static constexpr SYSTEMTIME kMonday = {2010, 3, 4, 15, 21, 5, 9, 0};
  static struct tm MondayTm() {
    struct tm t {};
    t.tm_year = 110;
    t.tm_mon = 2;
    t.tm_mday = 15;
    t.tm_wday = 1;
    t.tm_yday = 73;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 0;
    return t;
  }
};

TEST_F(Locale, EnglishIsTheDefaultInVirtualTimeAndUnknownNamesFallBackByLanguageThenToEnglish) {
  sysclock::UseVirtualTime();
  EXPECT_EQ(syslocale::UserLocaleName(), "en_US");
  EXPECT_EQ(GetUserDefaultLCID(), 0x0409u);
  // The last one, empty, takes the default back.
  const std::pair<const char*, const char*> asked[] = {
      {"de_DE.UTF-8@euro", "de_DE"}, {"de-CH", "de_DE"}, {"cs", "cs_CZ"}, {"xx_YY", "en_US"}, {"", "en_US"}};
  for (const auto& [name, answer] : asked) {
    syslocale::SetUserLocale(name);
    EXPECT_EQ(syslocale::UserLocaleName(), answer) << name;
  }
  EXPECT_FALSE(syslocale::IsKnownLocale("C"));
  EXPECT_TRUE(syslocale::IsKnownLocale("ru_RU.KOI8-R"));
}

TEST_F(Locale, AnswersFormatsNamesAndTheFirstDayOfTheWeek) {
  EXPECT_EQ(Info(LOCALE_SSHORTDATE), u"M/d/yyyy");
  EXPECT_EQ(Info(LOCALE_ITIME), u"0");
  EXPECT_EQ(Info(LOCALE_IFIRSTDAYOFWEEK), u"6");  // Sunday
  EXPECT_EQ(Info(LOCALE_SDAYNAME1), u"Monday");
  EXPECT_EQ(Info(LOCALE_SABBREVMONTHNAME12), u"Dec");
  syslocale::SetUserLocale("de_DE");
  EXPECT_EQ(Info(LOCALE_SLONGDATE), u"dddd, d. MMMM yyyy");
  EXPECT_EQ(Info(LOCALE_IFIRSTDAYOFWEEK), u"0");  // Monday
  EXPECT_EQ(Info(LOCALE_SDAYNAME7), u"Sonntag");
  EXPECT_EQ(Info(LOCALE_STIME), u":");
  EXPECT_EQ(Info(LOCALE_SISO639LANGNAME), u"de");
  EXPECT_EQ(Info(LOCALE_ILANGUAGE), u"0407");
  syslocale::SetUserLocale("cs_CZ");
  EXPECT_EQ(Info(LOCALE_SMONTHNAME1 + 2), u"březen");
  EXPECT_EQ(Info((LOCALE_SMONTHNAME1 + 2) | LOCALE_RETURN_GENITIVE_NAMES), u"března");

  // The number form, the size query, a short buffer, unknown values.
  DWORD first = 99;
  EXPECT_EQ(GetLocaleInfoW(0x0409, LOCALE_IFIRSTDAYOFWEEK | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&first), 2),
            2);
  EXPECT_EQ(first, 6u);
  EXPECT_EQ(GetLocaleInfoW(0x0407, LOCALE_SDAYNAME1, nullptr, 0), 7);  // "Montag" and its terminator
  WCHAR small[3];
  EXPECT_EQ(GetLocaleInfoW(0x0407, LOCALE_SDAYNAME1, small, 3), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(GetLocaleInfoW(0x0999, LOCALE_SDAYNAME1, small, 3), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, 0x7777, small, 3), 0);
  EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME1, nullptr, 5), 0);
}

TEST_F(Locale, DatePicturesFollowTheLocaleWithTheGenitiveMonthBesideADay) {
  EXPECT_EQ(Date(nullptr), u"3/15/2010");
  EXPECT_EQ(Date(nullptr, DATE_LONGDATE), u"Monday, March 15, 2010");
  EXPECT_EQ(Date(nullptr, DATE_YEARMONTH), u"March, 2010");
  EXPECT_EQ(Date(u"dd.MM.yyyy", 0, SYSTEMTIME{2026, 12, 0, 5}), u"05.12.2026");
  EXPECT_EQ(Date(u"dddd, MMMM d, yyyy"), u"Monday, March 15, 2010");
  EXPECT_EQ(Date(u"ddd d MMM yy, y"), u"Mon 15 Mar 10, 10");
  EXPECT_EQ(Date(u"'Day' d 'of' MMMM, 'it''s' g"), u"Day 15 of March, it's A.D.");
  EXPECT_EQ(Date(u"d'"), u"15");  // an unclosed quote ends the picture
  syslocale::SetUserLocale("de_DE");
  EXPECT_EQ(Date(nullptr, DATE_LONGDATE), u"Montag, 15. März 2010");
  syslocale::SetUserLocale("cs_CZ");
  EXPECT_EQ(Date(nullptr, DATE_LONGDATE), u"15. března 2010");
  EXPECT_EQ(Date(nullptr, DATE_YEARMONTH), u"březen 2010");

  // Wrong dates and flags fail; the size query answers the length.
  EXPECT_EQ(Date(u"d", 0, SYSTEMTIME{2010, 2, 0, 29}), u"<failed>");
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Date(u"d", DATE_LONGDATE), u"<failed>");
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
  EXPECT_EQ(Date(nullptr, DATE_LONGDATE | DATE_SHORTDATE), u"<failed>");
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &kMonday, u"yyyy", nullptr, 0), 5);
  WCHAR four[4];
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &kMonday, u"yyyy", four, 4), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST_F(Locale, TimePicturesLeaveOutWhatTheFlagsSay) {
  EXPECT_EQ(Time(nullptr), u"9:05:09 PM");
  EXPECT_EQ(Time(nullptr, TIME_NOSECONDS), u"9:05 PM");
  EXPECT_EQ(Time(nullptr, TIME_NOMINUTESORSECONDS), u"9 PM");
  EXPECT_EQ(Time(nullptr, TIME_NOTIMEMARKER), u"9:05:09");
  EXPECT_EQ(Time(nullptr, TIME_FORCE24HOURFORMAT), u"21:05:09");
  EXPECT_EQ(Time(u"tt hh:mm", TIME_NOTIMEMARKER), u"09:05");
  EXPECT_EQ(Time(u"hh 'o''clock' t"), u"09 o'clock P");
  EXPECT_EQ(Time(u"h:mm tt", 0, SYSTEMTIME{2010, 3, 1, 15, 0, 30}), u"12:30 AM");
  EXPECT_EQ(Time(u"H", 0, SYSTEMTIME{2010, 3, 1, 15, 24, 0}), u"<failed>");
  syslocale::SetUserLocale("de_DE");
  EXPECT_EQ(Time(nullptr), u"21:05:09");
}

TEST_F(Locale, TheWideStrftimeSpeaksTheLocaleAndKnowsTheHashFlag) {
  const struct tm t = MondayTm();
  EXPECT_EQ(Strftime(u"%H:%M", t), u"09:05");
  EXPECT_EQ(Strftime(u"%A %d %B %Y, %a %b %y %j", t), u"Monday 15 March 2010, Mon Mar 10 074");
  EXPECT_EQ(Strftime(u"%#x", t), u"Monday, March 15, 2010");
  EXPECT_EQ(Strftime(u"%x %X", t), u"3/15/2010 9:05:00 AM");
  EXPECT_EQ(Strftime(u"%c", t), u"3/15/2010 9:05:00 AM");
  EXPECT_EQ(Strftime(u"%#d.%#m. %I%p %%", t), u"15.3. 09AM %");
  EXPECT_EQ(Strftime(u"%F %T %V %u %w %U %W", t), u"2010-03-15 09:05:00 11 1 1 11 11");
  EXPECT_EQ(Strftime(u"%Q", t), u"<empty>");  // unknown conversion
  EXPECT_EQ(Strftime(u"%", t), u"<empty>");
  struct tm bad = t;
  bad.tm_mon = 12;
  EXPECT_EQ(Strftime(u"%B", bad), u"<empty>");
  WCHAR five[5] = u"xxxx";
  EXPECT_EQ(wcsftime(five, 5, u"%Y!", &t), 0u);  // "2010!" and its terminator need 6
  EXPECT_EQ(five[0], 0);
  EXPECT_EQ(wcsftime(five, 5, u"%Y", &t), 4u);
  EXPECT_EQ(std::u16string(five), u"2010");
  syslocale::SetUserLocale("de_DE");
  EXPECT_EQ(Strftime(u"%A, %#x", t), u"Montag, Montag, 15. März 2010");
  EXPECT_EQ(Strftime(u"%c", t), u"15.03.2010 09:05:00");
  EXPECT_EQ(Strftime(u"%p", t), u"<empty>");  // a 24-hour locale has no marker: nothing to write
}

}  // namespace
