// CommRecordUtil: what the four item containers share when they turn an item
// image into a record and a record field into display text.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win32.h"

// The record source type of every record this program makes.
constexpr int32_t kSourceTypeOutlook = 3;

// Outlook stores "no date" as 1 January 4501; every date from then on means
// the same, and a zero date is the program's own "no date".
constexpr DATE kOutlookNoDate = 949998.0;

// One entry of the display-field table of the calendar, task and note containers.
struct DisplayField {
  int32_t nKey;
  char szName[40];
};

// True for a date that is there: not (nearly) zero, before 4501 and a number.
bool IsRealDate(DATE dtDate);

// The broken-down form of a date; all zero when the date is not there or
// cannot be converted, so records show "no date" rather than 1899 or 4501.
bool DateToSystemTime(DATE dtDate, SYSTEMTIME* pTime);

// Writes a record's text field into a display buffer of nSize bytes, cut
// before a whole character; never reads past the field, even unterminated.
void PutFieldText(char* szBuf, int nSize, const char* szField, size_t nFieldSize);

template <size_t N>
void PutFieldText(char* szBuf, int nSize, const char (&szField)[N]) {
  PutFieldText(szBuf, nSize, szField, N);
}

// Writes a fixed text (a word, a formatted number) into a display buffer,
// cut to fit rather than overrunning a small buffer.
void PutText(char* szBuf, int nSize, const char* szText);

inline void PutYesNo(char* szBuf, int nSize, bool bYes) { PutText(szBuf, nSize, bYes ? "Yes" : "No"); }

enum class DateTextKind { Date, Time, DateTime };

// The date, time or date-and-time text of a broken-down time, or the empty
// text when the time holds no date (year 0, or Outlook's 4501).
void PutDateText(char* szBuf, int nSize, const SYSTEMTIME* pTime, DateTextKind eKind);

// Starts a display text: the first and the last byte of the buffer become zero.
// False when there is no buffer to write into.
bool BeginDisplayText(char* szBuf, int nSize);

// The shared lookups over a static display-field table.
template <typename TField, size_t N>
bool FindTableField(const TField (&table)[N], int32_t nKey, TField* pField) {
  if (!pField) return false;
  for (const TField& entry : table) {
    if (entry.nKey == nKey) {
      *pField = entry;
      return true;
    }
  }
  return false;
}

template <typename TField, size_t N>
bool TableFieldAt(const TField (&table)[N], int nIndex, TField* pField) {
  if (!pField || nIndex < 0 || static_cast<size_t>(nIndex) >= N) return false;
  *pField = table[nIndex];
  return true;
}
