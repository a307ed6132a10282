// Small builders shared by the record tests: dates by calendar parts and texts
// of a given length, optionally ending in a multi-byte character.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

#include "platform/support/CalendarTime.h"
#include "platform/win32.h"
#include "support/AnsiCodePage.h"

// Outlook's "no date", 1 January 4501.
constexpr DATE kNoDate4501 = 949998.0;

inline DATE MakeDate(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0, int nSecond = 0) {
  SYSTEMTIME st = MakeSystemTime(nYear, nMonth, nDay, nHour, nMinute, nSecond);
  DATE dt = 0;
  EXPECT_TRUE(SystemTimeToVariantTime(&st, &dt)) << nYear << "-" << nMonth << "-" << nDay;
  return dt;
}

// nAscii letters cycling through the alphabet (so a wrong offset shows), then szTail.
inline std::string MakeText(size_t nAscii, const char* szTail = "") {
  std::string s;
  for (size_t i = 0; i < nAscii; ++i) s += static_cast<char>('a' + i % 26);
  return s + szTail;
}

// Images and records are large plain structures: the tests keep them on the
// heap, zero-filled as the program starts them.
struct FreeDeleter {
  void operator()(void* p) const { free(p); }
};
template <typename T>
using Zeroed = std::unique_ptr<T, FreeDeleter>;
template <typename T>
Zeroed<T> MakeZeroed() {
  return Zeroed<T>(static_cast<T*>(calloc(1, sizeof(T))));
}

// One text cut case: image text of nAscii letters plus szTail, expected to
// keep nKeep bytes of it in the record.
struct CutCase {
  const char* szName;
  size_t nAscii;
  const char* szTail;
  size_t nKeep;
};

// A text field of an image and the same field of the record made from it.
struct CutField {
  const char* szName;
  char* pImage;
  size_t nImageSize;
  const char* pRecord;
};

struct FieldCutCase {
  const CutField* pField;
  CutCase cut;
};

// For each case: the text in its image field alone (cut to the field, as the
// reader leaves it), the record made, and what the record's field keeps.
template <typename Image, typename Record>
void CheckTextCuts(Image* pImage, Record* pRecord, std::initializer_list<FieldCutCase> cases) {
  for (const FieldCutCase& c : cases) {
    if (!Utf8CaseHolds(c.cut.szTail)) continue;
    SCOPED_TRACE(std::string(c.pField->szName) + ": " + c.cut.szName);
    memset(pImage, 0, sizeof(Image));
    const std::string text = MakeText(c.cut.nAscii, c.cut.szTail);
    memcpy(c.pField->pImage, text.data(), std::min(text.size(), c.pField->nImageSize - 1));
    ASSERT_TRUE(MakeRecord(pImage, pRecord));
    EXPECT_EQ(std::string(c.pField->pRecord), text.substr(0, c.cut.nKeep));
  }
}
