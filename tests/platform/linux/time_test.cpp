// The layer's date conversions where Windows, as Wine runs it, answers
// otherwise: a time rounded into the next day takes that day's weekday (Wine
// keeps the weekday before), dates beyond the years 100 to 9999 are refused
// however they come about (Wine reads years below 100 as two-digit years,
// rolls fields across the limits and converts NaN), and missing pointers are
// refused (Windows faults).
#include <gtest/gtest.h>

#include <limits>

#include "platform/support/CalendarTime.h"
#include "platform/win32.h"

namespace {

TEST(VariantTimeToSystemTime, CarriesIntoTheNextDayWithItsWeekday) {
  const struct {
    double dDay;  // the time, 86399.6 s, is added to it (always forward)
    CalendarTime when;
  } kCases[] = {
      {40637.0, {2011, 4, 5, 0, 0, 0, 2}},   // next day
      {40543.0, {2011, 1, 1, 0, 0, 0, 6}},   // next month and year
      {60.0, {1900, 3, 1, 0, 0, 0, 4}},      // 28 Feb 1900, then 1 March
      {36584.0, {2000, 2, 29, 0, 0, 0, 2}},  // 28 Feb 2000, then 29 Feb
      {-1.0, {1899, 12, 30, 0, 0, 0, 6}},    // 29 Dec 1899, then day 0
      {-657434.0, {100, 1, 2, 0, 0, 0, 6}},
  };
  const double dFraction = 86399.6 / 86400.0;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.dDay);
    SYSTEMTIME st{};
    ASSERT_TRUE(
        VariantTimeToSystemTime(c.dDay >= 0 ? c.dDay + dFraction : c.dDay - dFraction, &st));
    ExpectCalendarTime(st, c.when);
  }
}

TEST(AutomationDates, RefuseWhatLiesOutsideTheYears100To9999) {
  for (double dDate : {2958465.0 + 86399.6 / 86400.0,  // rounds into the year 10000
                       std::numeric_limits<double>::quiet_NaN()}) {
    SCOPED_TRACE(dDate);
    SYSTEMTIME st = MakeSystemTime(2001, 2, 3, 4, 5, 6);
    EXPECT_FALSE(VariantTimeToSystemTime(dDate, &st));
    EXPECT_EQ(st.wYear, 2001);
    EXPECT_EQ(st.wSecond, 6);
  }
  const SYSTEMTIME kTimes[] = {
      MakeSystemTime(99, 12, 31), MakeSystemTime(0, 1, 1),
      MakeSystemTime(100, 0, 15),  // December of year 99
      MakeSystemTime(100, 1, 0),  MakeSystemTime(9999, 12, 31, 24),
  };
  ExpectRefusedSystemTimes(kTimes);
}

TEST(AutomationDates, RefuseMissingPointers) {
  EXPECT_FALSE(VariantTimeToSystemTime(1.0, nullptr));
  SYSTEMTIME st = MakeSystemTime(2011, 1, 1);
  double dDate = 0;
  EXPECT_FALSE(SystemTimeToVariantTime(nullptr, &dDate));
  EXPECT_FALSE(SystemTimeToVariantTime(&st, nullptr));
  GetLocalTime(nullptr);  // a fault here fails the run
}

}  // namespace
