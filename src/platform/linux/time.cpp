// Local time and OLE automation dates. An automation date counts days from
// 30 December 1899; its fraction is the time of day. Before that day the
// integer part counts days back while the fraction still counts forward from
// midnight, so -1.25 is 29 December 1899 06:00 (not 28 December 18:00).
#include <cmath>
#include <ctime>

#include "platform/civilday.h"
#include "platform/win32.h"

namespace {

constexpr long kSecondsPerDay = 86400;

// Day numbers of 1 January 100 and 31 December 9999.
constexpr int64_t kFirstDay = PalOleDayFromCivil(100, 1, 1);
constexpr int64_t kLastDay = PalOleDayFromCivil(9999, 12, 31);

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

  const PalCivilDate date = PalCivilFromOleDay(nDay);
  lpSystemTime->wYear = static_cast<WORD>(date.nYear);
  lpSystemTime->wMonth = static_cast<WORD>(date.nMonth);
  // 30 December 1899 was a Saturday.
  lpSystemTime->wDayOfWeek = static_cast<WORD>(((nDay + 6) % 7 + 7) % 7);
  lpSystemTime->wDay = static_cast<WORD>(date.nDay);
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
  const int64_t nDay =
      PalOleDayFromCivil(nYear, static_cast<int>(nMonth), st.wDay) + nSeconds / kSecondsPerDay;
  nSeconds %= kSecondsPerDay;
  if (nDay < kFirstDay || nDay > kLastDay) return FALSE;

  const double dFraction = static_cast<double>(nSeconds) / kSecondsPerDay;
  *pvtime =
      nDay >= 0 ? static_cast<double>(nDay) + dFraction : static_cast<double>(nDay) - dFraction;
  return TRUE;
}
