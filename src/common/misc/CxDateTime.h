// CxDateTime: one local moment held both as an OLE automation date (Outlook's
// form) and as a broken-down SYSTEMTIME (the form the program formats), with
// the program's fixed date and time texts.
#pragma once

#include <ctime>

#include "platform/win32.h"

class CxDateTime {
 public:
  // The current local time.
  CxDateTime();
  // A null date is taken as 0.0 (30 December 1899, midnight).
  explicit CxDateTime(const double* pdtDate);

  // Each setter writes one form and derives the other. When a conversion
  // fails the derived form keeps what it held.
  void SetDate(double dtDate);
  void SetSystemTime(const SYSTEMTIME* pTime);
  // Leaves the object unchanged when the C library rejects the time or its
  // year lies outside the range of automation dates (100 to 9999).
  void SetTime_t(const time_t* pTime);

  double GetDate() const { return m_dtDate; }
  SYSTEMTIME* GetSystemTime() { return &m_stTime; }

  // "MM/DD/YYYY"; empty for Outlook's "no date" (year 4501 or later).
  // Needs 11 bytes.
  void FormatDate(char* szBuf, int nSize);
  // "hh:mm:ss"; needs 9 bytes.
  void FormatTime(char* szBuf, int nSize);
  // Date text, one blank, time text (so " hh:mm:ss" for "no date"); needs 20
  // bytes. All three write nothing for a null buffer and cut to nSize.
  void FormatDateTime(char* szBuf, int nSize);

 private:
  void DeriveDate();

  double m_dtDate;
  SYSTEMTIME m_stTime;
};

// An OLE automation date (local time) as C library calendar time. Stores -1
// and returns false for "no date" and for dates that cannot be converted.
bool VariantToTime_t(double dtDate, time_t* pResult);
