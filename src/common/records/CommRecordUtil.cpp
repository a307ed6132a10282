#include "common/records/CommRecordUtil.h"

#include <cstring>

#include "common/misc/CxDateTime.h"
#include "common/misc/CxText.h"

namespace {

// Outlook's "no date" year, for broken-down times that carry it.
constexpr WORD kNoDateYear = 4501;

// Below this distance from zero a date is the program's "no date", the same
// bound that keeps such a date from ever being written to Outlook.
constexpr DATE kZeroDateBound = 0.00001;

}  // namespace

bool IsRealDate(DATE dtDate) {
  // Written so that NaN fails the last test.
  if (dtDate > -kZeroDateBound && dtDate < kZeroDateBound) return false;
  return dtDate < kOutlookNoDate;
}

bool DateToSystemTime(DATE dtDate, SYSTEMTIME* pTime) {
  if (!pTime) return false;
  memset(pTime, 0, sizeof(*pTime));
  if (!IsRealDate(dtDate)) return false;
  SYSTEMTIME st = {};
  if (!VariantTimeToSystemTime(dtDate, &st)) return false;
  *pTime = st;
  return true;
}

void PutFieldText(char* szBuf, int nSize, const char* szField, size_t nFieldSize) {
  if (!szBuf || nSize <= 0) return;
  if (!szField || nFieldSize == 0) {
    szBuf[0] = '\0';
    return;
  }
  size_t nMax = static_cast<size_t>(nSize) - 1;
  if (nMax > nFieldSize - 1) nMax = nFieldSize - 1;
  const size_t n = TextCutLength(szField, nMax);
  memmove(szBuf, szField, n);
  szBuf[n] = '\0';
}

void PutText(char* szBuf, int nSize, const char* szText) {
  if (!szBuf || nSize <= 0) return;
  CopyText(szBuf, static_cast<size_t>(nSize), szText);
}

void PutDateText(char* szBuf, int nSize, const SYSTEMTIME* pTime, DateTextKind eKind) {
  if (!szBuf || nSize <= 0) return;
  szBuf[0] = '\0';
  if (!pTime || pTime->wYear == 0 || pTime->wYear >= kNoDateYear) return;

  CxDateTime dt;
  dt.SetSystemTime(pTime);
  // The formatters write up to 20 bytes whatever the size they are given.
  char szText[64] = "";
  switch (eKind) {
    case DateTextKind::Date:
      dt.FormatDate(szText, sizeof(szText));
      break;
    case DateTextKind::Time:
      dt.FormatTime(szText, sizeof(szText));
      break;
    case DateTextKind::DateTime:
      dt.FormatDateTime(szText, sizeof(szText));
      break;
  }
  PutText(szBuf, nSize, szText);
}

bool BeginDisplayText(char* szBuf, int nSize) {
  if (!szBuf || nSize <= 0) return false;
  szBuf[0] = '\0';
  szBuf[nSize - 1] = '\0';
  return true;
}
