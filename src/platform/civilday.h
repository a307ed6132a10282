// Automation day numbers of dates in the proleptic Gregorian calendar, which
// automation dates follow all the way back to year 100: day 0 is 30 December
// 1899, earlier days are negative. Howard Hinnant's civil-day algorithms,
// exact for every year a 64-bit day number holds.
#pragma once

#include <cstdint>

struct PalCivilDate {
  int64_t nYear;
  int nMonth;  // 1 to 12
  int nDay;    // 1 to 31
};

// Days from 1 March of year 0 to 30 December 1899.
inline constexpr int64_t kPalOleEpochFromMarch0 = 693899;

// The day number of a date; nMonth 1 to 12, nDay counted on from the month's
// first day (so day 0 is the last day of the month before).
constexpr int64_t PalOleDayFromCivil(int64_t nYear, int nMonth, int64_t nDay) {
  nYear -= nMonth <= 2;
  const int64_t nEra = (nYear >= 0 ? nYear : nYear - 399) / 400;
  const int64_t nYearOfEra = nYear - nEra * 400;
  const int64_t nDayOfYear = (153 * (nMonth > 2 ? nMonth - 3 : nMonth + 9) + 2) / 5 + nDay - 1;
  const int64_t nDayOfEra = nYearOfEra * 365 + nYearOfEra / 4 - nYearOfEra / 100 + nDayOfYear;
  return nEra * 146097 + nDayOfEra - kPalOleEpochFromMarch0;
}

constexpr PalCivilDate PalCivilFromOleDay(int64_t nOleDay) {
  const int64_t nDays = nOleDay + kPalOleEpochFromMarch0;
  const int64_t nEra = (nDays >= 0 ? nDays : nDays - 146096) / 146097;
  const int64_t nDayOfEra = nDays - nEra * 146097;
  const int64_t nYearOfEra =
      (nDayOfEra - nDayOfEra / 1460 + nDayOfEra / 36524 - nDayOfEra / 146096) / 365;
  const int64_t nDayOfYear = nDayOfEra - (365 * nYearOfEra + nYearOfEra / 4 - nYearOfEra / 100);
  const int64_t nMonthIndex = (5 * nDayOfYear + 2) / 153;
  const int nMonth = static_cast<int>(nMonthIndex < 10 ? nMonthIndex + 3 : nMonthIndex - 9);
  return {nYearOfEra + nEra * 400 + (nMonth <= 2), nMonth,
          static_cast<int>(nDayOfYear - (153 * nMonthIndex + 2) / 5 + 1)};
}

static_assert(PalOleDayFromCivil(1899, 12, 30) == 0 && PalOleDayFromCivil(1970, 1, 1) == 25569);
static_assert(PalOleDayFromCivil(100, 1, 1) == -657434 &&
              PalOleDayFromCivil(9999, 12, 31) == 2958465);
