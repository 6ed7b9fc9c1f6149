// The shared date and time routines: each of the locale's formats, the
// hour-and-minute clock of 12- and 24-hour locales, and the relative day
// counted by local calendar dates.
#include "look/date_time_format.h"

#include <gtest/gtest.h>

#include "platform/win32/clock.h"
#include "platform/win32/locale.h"

namespace {

class DateTimeFormat : public ::testing::Test {
 protected:
  void SetUp() override {
    sysclock::UseVirtualTime();
    sysclock::SetTimeZone("");
  }
  void TearDown() override {
    syslocale::SetUserLocale("");
    sysclock::SetTimeZone("");
  }
  // A local time of the zone in force, as a time value.
  static std::int64_t Local(int y, int mo, int d, int h, int mi, int s = 0) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(mo);
    st.wDay = static_cast<WORD>(d);
    st.wHour = static_cast<WORD>(h);
    st.wMinute = static_cast<WORD>(mi);
    st.wSecond = static_cast<WORD>(s);
    FILETIME local{}, utc{};
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    SYSTEMTIME u{};
    FileTimeToSystemTime(&utc, &u);
    return sysclock::SystemTimeToUnixMs(u) / 1000;
  }
};

TEST_F(DateTimeFormat, EachRoutineAnswersInTheUsersLocale) {
  const std::int64_t t = Local(2010, 3, 15, 9, 5);
  EXPECT_EQ(datetime::Now(), t);  // virtual time starts there
  EXPECT_EQ(datetime::ShortDate(t), u"3/15/2010");
  EXPECT_EQ(datetime::LongDate(t), u"Monday, March 15, 2010");
  EXPECT_EQ(datetime::LocaleTime(t), u"9:05:00 AM");
  EXPECT_EQ(datetime::YearMonth(t), u"March, 2010");
  EXPECT_EQ(datetime::CustomDate(Local(2026, 12, 5, 8, 0), u"dd.MM.yyyy"), u"05.12.2026");
  EXPECT_EQ(datetime::Strftime(t, u"%H:%M"), u"09:05");
  EXPECT_EQ(datetime::Strftime(t, nullptr), u"");
  EXPECT_EQ(datetime::HourMinute(t), u"09:05 AM");
  EXPECT_EQ(datetime::HourMinute(Local(2010, 3, 15, 23, 59)), u"11:59 PM");
  EXPECT_EQ(datetime::FirstDayOfWeek(), 0);  // Sunday
  EXPECT_EQ(datetime::DayName(0, false), u"Sunday");
  EXPECT_EQ(datetime::MonthName(11, true), u"Dec");
  EXPECT_EQ(datetime::MonthName(12, true), u"");

  syslocale::SetUserLocale("de_DE");
  EXPECT_EQ(datetime::ShortDate(t), u"15.03.2010");
  EXPECT_EQ(datetime::LongDate(t), u"Montag, 15. März 2010");
  EXPECT_EQ(datetime::HourMinute(t), u"09:05");
  EXPECT_EQ(datetime::FirstDayOfWeek(), 1);  // Monday
  EXPECT_EQ(datetime::DayName(1, true), u"Mo");

  // A picture the platform rejects and a time the C library rejects give "".
  EXPECT_EQ(datetime::CustomDate(t, u""), u"");
  EXPECT_EQ(datetime::ShortDate(INT64_MAX), u"");
  EXPECT_EQ(datetime::Strftime(t, u"%Q"), u"");
}

TEST_F(DateTimeFormat, TheRelativeDayCountsLocalCalendarDays) {
  const std::int64_t now = Local(2010, 3, 15, 22, 0);  // Monday evening
  EXPECT_EQ(datetime::RelativeDay(now - 1, now), u"Today");
  EXPECT_EQ(datetime::RelativeDay(Local(2010, 3, 15, 0, 0), now), u"Today");
  EXPECT_EQ(datetime::RelativeDay(Local(2010, 3, 16, 9, 0), now), u"Tommorow");
  EXPECT_EQ(datetime::RelativeDay(Local(2010, 3, 17, 0, 0), now), u"Wednesday");
  EXPECT_EQ(datetime::RelativeDay(Local(2010, 3, 21, 23, 59), now), u"Sunday");
  EXPECT_EQ(datetime::RelativeDay(Local(2010, 3, 22, 0, 0), now), u"Monday, March 22, 2010");
  EXPECT_EQ(datetime::RelativeDay(Local(2010, 3, 14, 23, 59), now), u"Sunday, March 14, 2010");

  // The calendar of the device's zone decides, across a daylight-saving switch too.
  sysclock::SetTimeZone("CET-1CEST,M3.5.0,M10.5.0/3");
  const std::int64_t evening = Local(2010, 3, 27, 23, 30);
  EXPECT_EQ(datetime::RelativeDay(Local(2010, 3, 28, 9, 0), evening), u"Tommorow");
  EXPECT_EQ(datetime::RelativeDay(Local(2010, 3, 27, 0, 10), evening), u"Today");
  EXPECT_EQ(datetime::RelativeDay(Local(2010, 3, 29, 0, 0), evening), u"Monday");
  EXPECT_EQ(datetime::HourMinute(Local(2010, 3, 28, 9, 0)), u"09:00 AM");
}

}  // namespace
