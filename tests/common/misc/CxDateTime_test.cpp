#include "common/misc/CxDateTime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>

#include "common/misc/support/UtcTest.h"

namespace {

using CxDateTimeTest = UtcTest;

struct FormatCase {
  const char* szName;
  double dtDate;
  const char* szDate;
  const char* szTime;
  const char* szDateTime;
};

class CxDateTimeFormatTest : public CxDateTimeTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(CxDateTimeFormatTest, FormatsDateTimeAndBoth) {
  const FormatCase& c = GetParam();
  CxDateTime dt(&c.dtDate);
  char szDate[11], szTime[9], szDateTime[20];
  dt.FormatDate(szDate, sizeof(szDate));
  dt.FormatTime(szTime, sizeof(szTime));
  dt.FormatDateTime(szDateTime, sizeof(szDateTime));
  EXPECT_STREQ(szDate, c.szDate);
  EXPECT_STREQ(szTime, c.szTime);
  EXPECT_STREQ(szDateTime, c.szDateTime);

  // SetDate on an object holding another moment gives the same texts.
  CxDateTime other;
  other.SetDate(c.dtDate);
  other.FormatDateTime(szDateTime, sizeof(szDateTime));
  EXPECT_STREQ(szDateTime, c.szDateTime);
  EXPECT_EQ(other.GetDate(), c.dtDate);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CxDateTimeFormatTest,
    ::testing::Values(
        FormatCase{"ZeroIsDecember30th1899", 0.0, "12/30/1899", "00:00:00", "12/30/1899 00:00:00"},
        FormatCase{"MonthFirst", 40609.0, "03/07/2011", "00:00:00", "03/07/2011 00:00:00"},
        FormatCase{"Noon", 40637.5, "04/04/2011", "12:00:00", "04/04/2011 12:00:00"},
        FormatCase{"LastDayOf2030", 47848.0, "12/31/2030", "00:00:00", "12/31/2030 00:00:00"},
        FormatCase{"FirstDayOf2031Shown", 47849.0, "01/01/2031", "00:00:00", "01/01/2031 00:00:00"},
        FormatCase{"After2038Shown", 51302.52135416667, "06/15/2040", "12:30:45",
                   "06/15/2040 12:30:45"},
        FormatCase{"LastSecondBeforeNoDate", 949997.9999884259, "12/31/4500", "23:59:59",
                   "12/31/4500 23:59:59"},
        FormatCase{"NoDateHidden", 949998.0, "", "00:00:00", " 00:00:00"},
        FormatCase{"NoDateWithTimeHidden", 949998.75, "", "18:00:00", " 18:00:00"},
        // Before 1899-12-30 the fraction still counts forward from midnight.
        FormatCase{"NegativeDate", -1.25, "12/29/1899", "06:00:00", "12/29/1899 06:00:00"}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.szName); });

TEST_F(CxDateTimeTest, NullDateIsZero) {
  CxDateTime dt(nullptr);
  char szText[20];
  dt.FormatDateTime(szText, sizeof(szText));
  EXPECT_STREQ(szText, "12/30/1899 00:00:00");
  EXPECT_EQ(dt.GetDate(), 0.0);
}

TEST_F(CxDateTimeTest, SetSystemTimeDerivesTheDate) {
  SYSTEMTIME st{};
  st.wYear = 2040;
  st.wMonth = 6;
  st.wDay = 15;
  st.wHour = 12;
  st.wMinute = 30;
  st.wSecond = 45;
  CxDateTime dt;
  dt.SetSystemTime(&st);
  EXPECT_NEAR(dt.GetDate(), 51302.52135416667, 1e-9);
  EXPECT_EQ(dt.GetSystemTime()->wYear, 2040);
  EXPECT_EQ(dt.GetSystemTime()->wSecond, 45);
}

TEST_F(CxDateTimeTest, FailedConversionKeepsTheOtherForm) {
  const double dtGood = 40609.0;
  CxDateTime dt(&dtGood);
  dt.SetDate(1e7);  // beyond 31 December 9999
  char szDate[11];
  dt.FormatDate(szDate, sizeof(szDate));
  EXPECT_STREQ(szDate, "03/07/2011");

  SYSTEMTIME stBad{};
  stBad.wYear = 2011;
  stBad.wMonth = 13;
  stBad.wDay = 1;
  dt.SetDate(dtGood);
  dt.SetSystemTime(&stBad);
  EXPECT_EQ(dt.GetDate(), dtGood);
}

TEST_F(CxDateTimeTest, DefaultIsTodayMonthFirst) {
  SYSTEMTIME stBefore, stAfter;
  GetLocalTime(&stBefore);
  CxDateTime dt;
  GetLocalTime(&stAfter);
  char szDate[11];
  dt.FormatDate(szDate, sizeof(szDate));
  char szBefore[32], szAfter[32];
  snprintf(szBefore, sizeof(szBefore), "%02d/%02d/%04d", stBefore.wMonth, stBefore.wDay, stBefore.wYear);
  snprintf(szAfter, sizeof(szAfter), "%02d/%02d/%04d", stAfter.wMonth, stAfter.wDay, stAfter.wYear);
  EXPECT_TRUE(strcmp(szDate, szBefore) == 0 || strcmp(szDate, szAfter) == 0) << szDate;
}

TEST_F(CxDateTimeTest, FormatsKeepToTheGivenSize) {
  const double dtDate = 40609.0;
  CxDateTime dt(&dtDate);
  char szBuf[16];
  memset(szBuf, 'X', sizeof(szBuf));
  dt.FormatDate(szBuf, 6);
  EXPECT_STREQ(szBuf, "03/07");
  EXPECT_EQ(szBuf[6], 'X');
  memset(szBuf, 'X', sizeof(szBuf));
  dt.FormatDateTime(szBuf, 12);
  EXPECT_STREQ(szBuf, "03/07/2011 ");
  EXPECT_EQ(szBuf[12], 'X');
  dt.FormatDate(nullptr, 11);
  dt.FormatTime(szBuf, 0);
  EXPECT_EQ(szBuf[0], '0');
}

struct Time_tCase {
  const char* szName;
  int64_t nTime;
  const char* szDateTime;
  double dtDate;
};

class CxDateTimeSetTime_tTest : public CxDateTimeTest,
                                public ::testing::WithParamInterface<Time_tCase> {};

TEST_P(CxDateTimeSetTime_tTest, ConvertsLocalCalendarTime) {
  const Time_tCase& c = GetParam();
  CxDateTime dt;
  const time_t t = static_cast<time_t>(c.nTime);
  dt.SetTime_t(&t);
  char szText[20];
  dt.FormatDateTime(szText, sizeof(szText));
  EXPECT_STREQ(szText, c.szDateTime);
  EXPECT_NEAR(dt.GetDate(), c.dtDate, 1e-9);
  EXPECT_EQ(dt.GetSystemTime()->wMilliseconds, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CxDateTimeSetTime_tTest,
    ::testing::Values(Time_tCase{"Epoch", 0, "01/01/1970 00:00:00", 25569.0},
                      Time_tCase{"Past32Bits", 2147483648LL, "01/19/2038 03:14:08", 50424.13481481482},
                      Time_tCase{"Year2040", 2223376245LL, "06/15/2040 12:30:45", 51302.52135416667}),
    [](const ::testing::TestParamInfo<Time_tCase>& info) { return std::string(info.param.szName); });

TEST_F(CxDateTimeTest, SetTime_tRejectedLeavesTheObjectAsItWas) {
  const double dtDate = 40637.5;
  CxDateTime dt(&dtDate);
  const SYSTEMTIME stBefore = *dt.GetSystemTime();
  const int64_t rejected[] = {
      INT64_MAX,        // beyond anything localtime can break down
      253402300800LL,   // 1 January 10000: past the automation dates
      -62135596800LL,   // 1 January 0001: before them
  };
  for (int64_t nTime : rejected) {
    const time_t t = static_cast<time_t>(nTime);
    dt.SetTime_t(&t);
    EXPECT_EQ(dt.GetDate(), dtDate) << nTime;
    EXPECT_EQ(memcmp(dt.GetSystemTime(), &stBefore, sizeof(SYSTEMTIME)), 0) << nTime;
  }
  dt.SetTime_t(nullptr);
  EXPECT_EQ(dt.GetDate(), dtDate);
}

struct VariantCase {
  const char* szName;
  double dtDate;
  bool bConverted;
  int64_t nExpected;
};

class VariantToTime_tTest : public CxDateTimeTest, public ::testing::WithParamInterface<VariantCase> {};

TEST_P(VariantToTime_tTest, GivesCalendarTimeOrMinusOne) {
  const VariantCase& c = GetParam();
  time_t t = 12345;
  EXPECT_EQ(VariantToTime_t(c.dtDate, &t), c.bConverted);
  EXPECT_EQ(static_cast<int64_t>(t), c.nExpected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VariantToTime_tTest,
    ::testing::Values(VariantCase{"Epoch", 25569.0, true, 0},
                      VariantCase{"March2011", 40609.0, true, 1299456000LL},
                      VariantCase{"Past32Bits", 50424.13481481482, true, 2147483648LL},
                      VariantCase{"Year2040", 51136.0, true, 2208988800LL},
                      VariantCase{"PastUnsigned32Bits", 75279.26962962963, true, 4294967296LL},
                      VariantCase{"NoDate", 949998.0, false, -1},
                      VariantCase{"NoDateWithTime", 950000.5, false, -1},
                      VariantCase{"Unconvertible", 1e7, false, -1}),
    [](const ::testing::TestParamInfo<VariantCase>& info) { return std::string(info.param.szName); });

TEST_F(CxDateTimeTest, VariantToTime_tWithoutResultFails) { EXPECT_FALSE(VariantToTime_t(40609.0, nullptr)); }

}  // namespace
