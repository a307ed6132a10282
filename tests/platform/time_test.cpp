#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>

#include "platform/support/CalendarTime.h"
#include "platform/win32.h"

namespace {

struct DateCase {
  double dDate;
  CalendarTime when;
};

// Day numbers and weekdays (0 = Sunday) of the proleptic Gregorian calendar.
const DateCase kDateCases[] = {
    {0.0, {1899, 12, 30, 0, 0, 0, 6}},
    {1.0, {1899, 12, 31, 0, 0, 0, 0}},
    {2.0, {1900, 1, 1, 0, 0, 0, 1}},
    {0.5, {1899, 12, 30, 12, 0, 0, 6}},
    {60.0, {1900, 2, 28, 0, 0, 0, 3}},  // 1900 is no leap year
    {61.0, {1900, 3, 1, 0, 0, 0, 4}},
    {36585.0, {2000, 2, 29, 0, 0, 0, 2}},
    {40637.5, {2011, 4, 4, 12, 0, 0, 1}},
    {45351.75, {2024, 2, 29, 18, 0, 0, 4}},
    {73109.0, {2100, 2, 28, 0, 0, 0, 0}},
    {73110.0, {2100, 3, 1, 0, 0, 0, 1}},
    {2958465.0, {9999, 12, 31, 0, 0, 0, 5}},
    {2958465.0 + 86399.0 / 86400.0, {9999, 12, 31, 23, 59, 59, 5}},
    // Negative dates: the integer part counts back, the fraction forward.
    {-1.0, {1899, 12, 29, 0, 0, 0, 5}},
    {-1.25, {1899, 12, 29, 6, 0, 0, 5}},
    {-0.5, {1899, 12, 30, 12, 0, 0, 6}},
    {-36522.5, {1800, 1, 1, 12, 0, 0, 3}},
    {-109512.75, {1600, 2, 29, 18, 0, 0, 2}},
    {-115858.0, {1582, 10, 15, 0, 0, 0, 5}},
    {-115869.0, {1582, 10, 4, 0, 0, 0, 1}},
    {-657434.0, {100, 1, 1, 0, 0, 0, 5}},
    {-657434.0 - 86399.0 / 86400.0, {100, 1, 1, 23, 59, 59, 5}},
};

TEST(VariantTimeToSystemTime, GivesCalendarTimeOfKnownDates) {
  for (const DateCase& c : kDateCases) {
    SCOPED_TRACE(c.dDate);
    SYSTEMTIME st{};
    st.wMilliseconds = 999;
    ASSERT_TRUE(VariantTimeToSystemTime(c.dDate, &st));
    ExpectCalendarTime(st, c.when);
  }
}

TEST(SystemTimeToVariantTime, GivesDateOfKnownCalendarTimes) {
  for (const DateCase& c : kDateCases) {
    if (c.dDate > -1.0 && c.dDate < 0.0) continue;  // -0.5 is written as 0.5
    SCOPED_TRACE(c.dDate);
    SYSTEMTIME st = MakeSystemTime(c.when.nYear, c.when.nMonth, c.when.nDay, c.when.nHour,
                                   c.when.nMinute, c.when.nSecond, 456);
    st.wDayOfWeek = 3;  // ignored
    double dDate = 12345.0;
    ASSERT_TRUE(SystemTimeToVariantTime(&st, &dDate));
    EXPECT_NEAR(dDate, c.dDate, 1e-9);
  }
}

TEST(SystemTimeToVariantTime, WritesTimeBeforeDayZeroAsPositiveFraction) {
  SYSTEMTIME st = MakeSystemTime(1899, 12, 30, 12);
  double dDate = 0.0;
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &dDate));
  EXPECT_DOUBLE_EQ(dDate, 0.5);
}

struct RoundingCase {
  double dDay;      // day number the time is added to (always forward)
  double dSeconds;  // time of day in seconds, with a fraction
  CalendarTime when;
};

TEST(VariantTimeToSystemTime, RoundsToTheNearestSecondAndCarries) {
  const RoundingCase kCases[] = {
      {40637.0, 10.4999, {2011, 4, 4, 0, 0, 10, 1}},
      {40637.0, 10.5001, {2011, 4, 4, 0, 0, 11, 1}},
      {40637.0, 59.6, {2011, 4, 4, 0, 1, 0, 1}},
      {40637.0, 3599.7, {2011, 4, 4, 1, 0, 0, 1}},
      {40637.0, 86399.4, {2011, 4, 4, 23, 59, 59, 1}},
      {-2.0, 43200.4, {1899, 12, 28, 12, 0, 0, 4}},
  };
  for (const RoundingCase& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.dDay << " + " << c.dSeconds << " s");
    const double dFraction = c.dSeconds / 86400.0;
    const double dDate = c.dDay >= 0 ? c.dDay + dFraction : c.dDay - dFraction;
    SYSTEMTIME st{};
    ASSERT_TRUE(VariantTimeToSystemTime(dDate, &st));
    ExpectCalendarTime(st, c.when);
  }
}

TEST(VariantTimeToSystemTime, RejectsDatesOutsideYears100To9999) {
  const double kCases[] = {
      -657435.0,
      -657435.5,
      2958466.0,
      2958466.5,
      1e12,
      -1e12,
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
  };
  for (double dDate : kCases) {
    SCOPED_TRACE(dDate);
    SYSTEMTIME st = MakeSystemTime(2001, 2, 3, 4, 5, 6);
    const SYSTEMTIME before = st;
    EXPECT_FALSE(VariantTimeToSystemTime(dDate, &st));
    EXPECT_EQ(st.wYear, before.wYear);
    EXPECT_EQ(st.wSecond, before.wSecond);
  }
}

TEST(SystemTimeToVariantTime, RejectsInvalidFields) {
  const SYSTEMTIME kCases[] = {
      MakeSystemTime(2011, 13, 1),  MakeSystemTime(2011, 1, 32), MakeSystemTime(2011, 65535, 1),
      MakeSystemTime(10000, 1, 1), MakeSystemTime(65535, 1, 1),
  };
  ExpectRefusedSystemTimes(kCases);
}

TEST(SystemTimeToVariantTime, RollsOverFieldsWithinTheLimits) {
  struct RollCase {
    SYSTEMTIME st;
    double dDate;
  };
  const RollCase kCases[] = {
      {MakeSystemTime(1980, 1, 0), 29220.0},        // 31 Dec 1979
      {MakeSystemTime(1981, 2, 29), 29646.0},       // 1 Mar 1981
      {MakeSystemTime(1981, 2, 31), 29648.0},       // 3 Mar 1981
      {MakeSystemTime(2011, 0, 1), 40513.0},        // 1 Dec 2010
      {MakeSystemTime(2010, 12, 31, 24), 40544.0},  // 1 Jan 2011
      {MakeSystemTime(2011, 4, 4, 11, 59, 60), 40637.5},
  };
  for (const RollCase& c : kCases) {
    SCOPED_TRACE(c.dDate);
    SYSTEMTIME st = c.st;
    double dDate = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&st, &dDate));
    EXPECT_NEAR(dDate, c.dDate, 1e-9);
  }
}

// How far a converted date may lie from the nearest double to the exact day
// and time, in units in the last place: the layer rounds once; Windows adds up
// the parts of the day and lands one unit off on about a third of the days.
#ifdef _WIN32
constexpr double kDateUlps = 1;
#else
constexpr double kDateUlps = 0;
#endif

bool CloseToDate(double dDate, double dExpected) {
  const double dUnit = std::nextafter(std::fabs(dExpected), INFINITY) - std::fabs(dExpected);
  return std::fabs(dDate - dExpected) <= kDateUlps * dUnit;
}

// A plain day-by-day calendar, independent of the conversions under test.
bool IsLeapYear(int nYear) { return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0; }

void StepOneDay(CalendarTime& when) {
  static const int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int nMonthDays =
      kDaysInMonth[when.nMonth - 1] + (when.nMonth == 2 && IsLeapYear(when.nYear));
  when.nDayOfWeek = (when.nDayOfWeek + 1) % 7;
  if (++when.nDay <= nMonthDays) return;
  when.nDay = 1;
  if (++when.nMonth <= 12) return;
  when.nMonth = 1;
  ++when.nYear;
}

TEST(AutomationDates, EveryDayOfTheRangeConvertsBothWaysExactly) {
  CalendarTime when{100, 1, 1, 0, 0, 0, 5};
  int nFailures = 0;
  for (long nDay = -657434; nDay <= 2958465 && nFailures < 5; ++nDay, StepOneDay(when)) {
    // A different whole-second time of day on every day, ending the day now and then.
    const long nSeconds = nDay % 13 == 0 ? 86399 : (nDay * 7919 % 86400 + 86400) % 86400;
    when.nHour = static_cast<int>(nSeconds / 3600);
    when.nMinute = static_cast<int>(nSeconds / 60 % 60);
    when.nSecond = static_cast<int>(nSeconds % 60);
    const double dFraction = static_cast<double>(nSeconds) / 86400.0;
    const double dExpected = nDay >= 0 ? nDay + dFraction : nDay - dFraction;

    SYSTEMTIME st =
        MakeSystemTime(when.nYear, when.nMonth, when.nDay, when.nHour, when.nMinute, when.nSecond);
    double dDate = 0;
    SYSTEMTIME back{};
    const bool bOk = SystemTimeToVariantTime(&st, &dDate) && CloseToDate(dDate, dExpected) &&
                     VariantTimeToSystemTime(dDate, &back) && back.wYear == when.nYear &&
                     back.wMonth == when.nMonth && back.wDay == when.nDay &&
                     back.wHour == when.nHour && back.wMinute == when.nMinute &&
                     back.wSecond == when.nSecond && back.wDayOfWeek == when.nDayOfWeek;
    if (!bOk) {
      ++nFailures;
      ADD_FAILURE() << "day " << nDay << " (" << when.nYear << "-" << when.nMonth << "-"
                    << when.nDay << " " << nSeconds << " s) gave " << dDate;
    }
  }
  EXPECT_EQ(when.nYear, 10000);
}

TEST(GetLocalTime, GivesTheCurrentLocalTimeWithMilliseconds) {
  const time_t tBefore = time(nullptr);
  SYSTEMTIME st{};
  st.wMilliseconds = 5000;
  GetLocalTime(&st);
  const time_t tAfter = time(nullptr);

  tm local{};
  local.tm_year = st.wYear - 1900;
  local.tm_mon = st.wMonth - 1;
  local.tm_mday = st.wDay;
  local.tm_hour = st.wHour;
  local.tm_min = st.wMinute;
  local.tm_sec = st.wSecond;
  local.tm_isdst = -1;
  const time_t tLocal = mktime(&local);
  EXPECT_GE(tLocal, tBefore);
  EXPECT_LE(tLocal, tAfter);
  EXPECT_EQ(st.wDayOfWeek, local.tm_wday);
  EXPECT_LT(st.wMilliseconds, 1000);
}

}  // namespace
