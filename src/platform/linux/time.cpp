// Local time and OLE automation dates. An automation date counts days from
// 30 December 1899; its fraction is the time of day. Before that day the
// integer part counts days back while the fraction still counts forward from
// midnight, so -1.25 is 29 December 1899 06:00 (not 28 December 18:00).
#include <cmath>
#include <ctime>

#include "platform/win32.h"

namespace {

constexpr long kSecondsPerDay = 86400;

// Days since 1 January 1970 of a date in the proleptic Gregorian calendar,
// which automation dates follow all the way back to year 100.
constexpr long DaysFromCivil(long nYear, long nMonth, long nDay) {
  nYear -= nMonth <= 2;
  const long nEra = (nYear >= 0 ? nYear : nYear - 399) / 400;
  const long nYearOfEra = nYear - nEra * 400;
  const long nDayOfYear = (153 * (nMonth > 2 ? nMonth - 3 : nMonth + 9) + 2) / 5 + nDay - 1;
  const long nDayOfEra = nYearOfEra * 365 + nYearOfEra / 4 - nYearOfEra / 100 + nDayOfYear;
  return nEra * 146097 + nDayOfEra - 719468;
}

void CivilFromDays(long nDays, long& nYear, long& nMonth, long& nDay) {
  nDays += 719468;
  const long nEra = (nDays >= 0 ? nDays : nDays - 146096) / 146097;
  const long nDayOfEra = nDays - nEra * 146097;
  const long nYearOfEra =
      (nDayOfEra - nDayOfEra / 1460 + nDayOfEra / 36524 - nDayOfEra / 146096) / 365;
  const long nDayOfYear = nDayOfEra - (365 * nYearOfEra + nYearOfEra / 4 - nYearOfEra / 100);
  const long nMonthIndex = (5 * nDayOfYear + 2) / 153;
  nDay = nDayOfYear - (153 * nMonthIndex + 2) / 5 + 1;
  nMonth = nMonthIndex < 10 ? nMonthIndex + 3 : nMonthIndex - 9;
  nYear = nYearOfEra + nEra * 400 + (nMonth <= 2);
}

constexpr long kOleEpoch = DaysFromCivil(1899, 12, 30);
// Day numbers (days from 30 December 1899) of 1 January 100 and 31 December 9999.
constexpr long kFirstDay = DaysFromCivil(100, 1, 1) - kOleEpoch;
constexpr long kLastDay = DaysFromCivil(9999, 12, 31) - kOleEpoch;
static_assert(kFirstDay == -657434 && kLastDay == 2958465);

}  // namespace

void GetLocalTime(LPSYSTEMTIME lpSystemTime) {
  if (!lpSystemTime) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  lpSystemTime->wYear = static_cast<WORD>(local.tm_year + 1900);
  lpSystemTime->wMonth = static_cast<WORD>(local.tm_mon + 1);
  lpSystemTime->wDayOfWeek = static_cast<WORD>(local.tm_wday);
  lpSystemTime->wDay = static_cast<WORD>(local.tm_mday);
  lpSystemTime->wHour = static_cast<WORD>(local.tm_hour);
  lpSystemTime->wMinute = static_cast<WORD>(local.tm_min);
  lpSystemTime->wSecond = static_cast<WORD>(local.tm_sec);
  lpSystemTime->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

INT VariantTimeToSystemTime(DOUBLE vtime, LPSYSTEMTIME lpSystemTime) {
  if (!lpSystemTime || !std::isfinite(vtime)) return FALSE;
  // The fraction of the first and the last day still belongs to them.
  if (vtime <= kFirstDay - 1.0 || vtime >= kLastDay + 1.0) return FALSE;

  const double dDayPart = std::trunc(vtime);
  const double dSeconds = std::fabs(vtime - dDayPart) * kSecondsPerDay;
  long nSeconds = static_cast<long>(std::floor(dSeconds));
  // Only a remainder of more than half a second rounds up; the carry may run
  // through minutes and hours into the next day, month and year.
  if (dSeconds - static_cast<double>(nSeconds) > 0.5) ++nSeconds;
  const long nDay = static_cast<long>(dDayPart) + nSeconds / kSecondsPerDay;
  nSeconds %= kSecondsPerDay;
  if (nDay > kLastDay) return FALSE;

  long nYear = 0, nMonth = 0, nDayOfMonth = 0;
  CivilFromDays(nDay + kOleEpoch, nYear, nMonth, nDayOfMonth);
  lpSystemTime->wYear = static_cast<WORD>(nYear);
  lpSystemTime->wMonth = static_cast<WORD>(nMonth);
  // 30 December 1899 was a Saturday.
  lpSystemTime->wDayOfWeek = static_cast<WORD>(((nDay + 6) % 7 + 7) % 7);
  lpSystemTime->wDay = static_cast<WORD>(nDayOfMonth);
  lpSystemTime->wHour = static_cast<WORD>(nSeconds / 3600);
  lpSystemTime->wMinute = static_cast<WORD>(nSeconds / 60 % 60);
  lpSystemTime->wSecond = static_cast<WORD>(nSeconds % 60);
  lpSystemTime->wMilliseconds = 0;
  return TRUE;
}

INT SystemTimeToVariantTime(LPSYSTEMTIME lpSystemTime, DOUBLE* pvtime) {
  if (!lpSystemTime || !pvtime) return FALSE;
  const SYSTEMTIME& st = *lpSystemTime;
  if (st.wMonth > 12 || st.wDay > 31 || st.wYear < 100 || st.wYear > 9999) return FALSE;

  // Within those limits fields roll over as they do on Windows: month 0 is
  // December of the year before, day 0 the last day of the month before,
  // 30 February early March, and hours past 23 run into the next days.
  long nYear = st.wYear;
  long nMonth = st.wMonth;
  if (nMonth == 0) {
    nMonth = 12;
    --nYear;
  }
  long nSeconds = st.wHour * 3600L + st.wMinute * 60L + st.wSecond;
  const long nDay =
      DaysFromCivil(nYear, nMonth, 1) - kOleEpoch + (st.wDay - 1) + nSeconds / kSecondsPerDay;
  nSeconds %= kSecondsPerDay;
  if (nDay < kFirstDay || nDay > kLastDay) return FALSE;

  const double dFraction = static_cast<double>(nSeconds) / kSecondsPerDay;
  *pvtime =
      nDay >= 0 ? static_cast<double>(nDay) + dFraction : static_cast<double>(nDay) - dFraction;
  return TRUE;
}
