// Calendar times for the tests of the automation date conversions.
#pragma once

#include <gtest/gtest.h>

#include "platform/win32.h"

struct CalendarTime {
  int nYear, nMonth, nDay, nHour, nMinute, nSecond, nDayOfWeek;
};

inline SYSTEMTIME MakeSystemTime(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0,
                                 int nSecond = 0, int nMilliseconds = 0) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(nYear);
  st.wMonth = static_cast<WORD>(nMonth);
  st.wDay = static_cast<WORD>(nDay);
  st.wHour = static_cast<WORD>(nHour);
  st.wMinute = static_cast<WORD>(nMinute);
  st.wSecond = static_cast<WORD>(nSecond);
  st.wMilliseconds = static_cast<WORD>(nMilliseconds);
  return st;
}

inline void ExpectCalendarTime(const SYSTEMTIME& st, const CalendarTime& want) {
  EXPECT_EQ(st.wYear, want.nYear);
  EXPECT_EQ(st.wMonth, want.nMonth);
  EXPECT_EQ(st.wDay, want.nDay);
  EXPECT_EQ(st.wHour, want.nHour);
  EXPECT_EQ(st.wMinute, want.nMinute);
  EXPECT_EQ(st.wSecond, want.nSecond);
  EXPECT_EQ(st.wDayOfWeek, want.nDayOfWeek);
  EXPECT_EQ(st.wMilliseconds, 0);
}

// SystemTimeToVariantTime refuses each of these and leaves its output as it was.
template <size_t N>
void ExpectRefusedSystemTimes(const SYSTEMTIME (&kTimes)[N]) {
  for (const SYSTEMTIME& st : kTimes) {
    SCOPED_TRACE(testing::Message()
                 << st.wYear << "-" << st.wMonth << "-" << st.wDay << " " << st.wHour);
    SYSTEMTIME in = st;
    double dDate = 7.0;
    EXPECT_FALSE(SystemTimeToVariantTime(&in, &dDate));
    EXPECT_EQ(dDate, 7.0);
  }
}
