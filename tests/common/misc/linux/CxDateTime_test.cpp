// Calendar times the C library of Linux breaks down and builds but Windows'
// C runtime does not: local times before 1970 and after the year 3000.
#include "common/misc/CxDateTime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>

#include "common/misc/support/UtcTest.h"

namespace {

using CxDateTimeRangeTest = UtcTest;

TEST_F(CxDateTimeRangeTest, SetTime_tTakesTheSecondBeforeTheEpoch) {
  CxDateTime dt;
  const time_t t = -1;
  dt.SetTime_t(&t);
  char szText[20];
  dt.FormatDateTime(szText, sizeof(szText));
  EXPECT_STREQ(szText, "12/31/1969 23:59:59");
  EXPECT_NEAR(dt.GetDate(), 25568.999988425927, 1e-9);
  EXPECT_EQ(dt.GetSystemTime()->wMilliseconds, 0);
}

TEST_F(CxDateTimeRangeTest, VariantToTime_tReachesTheLastSecondBefore4501) {
  time_t t = 12345;
  EXPECT_TRUE(VariantToTime_t(949997.9999884259, &t));
  EXPECT_EQ(static_cast<int64_t>(t), 79870665599LL);
}

}  // namespace
