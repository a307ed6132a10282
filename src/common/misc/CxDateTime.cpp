#include "common/misc/CxDateTime.h"

#include <cstdio>
#include <cstring>

namespace {

// Outlook stores "no date" as 1 January 4501; any year from there on is shown
// as no date.
constexpr int kNoDateYear = 4501;
// The years an automation date can hold.
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

}  // namespace

CxDateTime::CxDateTime() : m_dtDate(0.0) {
  GetLocalTime(&m_stTime);
  DeriveDate();
}

CxDateTime::CxDateTime(const double* pdtDate) : m_dtDate(0.0), m_stTime{} {
  SetDate(pdtDate ? *pdtDate : 0.0);
}

void CxDateTime::SetDate(double dtDate) {
  m_dtDate = dtDate;
  SYSTEMTIME st;
  if (VariantTimeToSystemTime(m_dtDate, &st)) m_stTime = st;
}

void CxDateTime::DeriveDate() {
  double dtDate = 0.0;
  if (SystemTimeToVariantTime(&m_stTime, &dtDate)) m_dtDate = dtDate;
}

void CxDateTime::SetSystemTime(const SYSTEMTIME* pTime) {
  if (!pTime) return;
  m_stTime = *pTime;
  DeriveDate();
}

void CxDateTime::SetTime_t(const time_t* pTime) {
  if (!pTime) return;
  const struct tm* pTm = localtime(pTime);
  if (!pTm) return;
  const int nYear = pTm->tm_year + 1900;
  // A year the automation date cannot hold would leave the two forms
  // disagreeing (and may not even fit the 16-bit field).
  if (nYear < kFirstYear || nYear > kLastYear) return;

  memset(&m_stTime, 0, sizeof(m_stTime));
  m_stTime.wYear = static_cast<WORD>(nYear);
  m_stTime.wMonth = static_cast<WORD>(pTm->tm_mon + 1);
  m_stTime.wDay = static_cast<WORD>(pTm->tm_mday);
  m_stTime.wDayOfWeek = static_cast<WORD>(pTm->tm_wday);
  m_stTime.wHour = static_cast<WORD>(pTm->tm_hour);
  m_stTime.wMinute = static_cast<WORD>(pTm->tm_min);
  m_stTime.wSecond = static_cast<WORD>(pTm->tm_sec);
  DeriveDate();
}

void CxDateTime::FormatDate(char* szBuf, int nSize) {
  if (!szBuf || nSize <= 0) return;
  if (m_stTime.wYear >= kNoDateYear) {
    szBuf[0] = '\0';
    return;
  }
  snprintf(szBuf, static_cast<size_t>(nSize), "%02d/%02d/%04d", m_stTime.wMonth, m_stTime.wDay,
           m_stTime.wYear);
}

void CxDateTime::FormatTime(char* szBuf, int nSize) {
  if (!szBuf || nSize <= 0) return;
  snprintf(szBuf, static_cast<size_t>(nSize), "%02d:%02d:%02d", m_stTime.wHour, m_stTime.wMinute,
           m_stTime.wSecond);
}

void CxDateTime::FormatDateTime(char* szBuf, int nSize) {
  if (!szBuf || nSize <= 0) return;
  char szDate[32];
  char szTime[32];
  FormatDate(szDate, sizeof(szDate));
  FormatTime(szTime, sizeof(szTime));
  snprintf(szBuf, static_cast<size_t>(nSize), "%s %s", szDate, szTime);
}

bool VariantToTime_t(double dtDate, time_t* pResult) {
  if (!pResult) return false;
  *pResult = -1;
  SYSTEMTIME st;
  if (!VariantTimeToSystemTime(dtDate, &st) || st.wYear >= kNoDateYear) return false;

  struct tm tmLocal {};
  tmLocal.tm_sec = st.wSecond;
  tmLocal.tm_min = st.wMinute;
  tmLocal.tm_hour = st.wHour;
  tmLocal.tm_mday = st.wDay;
  tmLocal.tm_mon = st.wMonth - 1;
  tmLocal.tm_year = st.wYear - 1900;
  tmLocal.tm_isdst = -1;
  *pResult = mktime(&tmLocal);
  return *pResult != static_cast<time_t>(-1);
}
