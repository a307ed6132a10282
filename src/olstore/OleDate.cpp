#include "olstore/OleDate.h"

#include <cmath>
#include <cstdio>

#include "platform/civilday.h"
#include "platform/win32.h"

namespace olstore {

namespace {

constexpr int64_t kMsPerDay = 86400000;

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

bool InRange(const CivilTime& t) {
  return t.year >= 100 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
         t.minute < 60 && t.second >= 0 && t.second < 60 && t.millisecond >= 0 &&
         t.millisecond < 1000;
}

// Reads exactly `digits` decimal digits at text[pos].
bool ReadNumber(std::string_view text, size_t& pos, int digits, int& value) {
  if (pos + digits > text.size()) return false;
  value = 0;
  for (int i = 0; i < digits; ++i) {
    const char ch = text[pos + i];
    if (ch < '0' || ch > '9') return false;
    value = value * 10 + (ch - '0');
  }
  pos += digits;
  return true;
}

bool Expect(std::string_view text, size_t& pos, char ch) {
  if (pos >= text.size() || text[pos] != ch) return false;
  ++pos;
  return true;
}

}  // namespace

bool IsNoDate(double date) { return date == kNoDate; }

int64_t OleDay(double date) { return static_cast<int64_t>(std::trunc(date)); }

double OleTimeOfDay(double date) { return std::fabs(date - std::trunc(date)); }

double MakeOleDate(int64_t day, double timeOfDay) {
  return day >= 0 ? static_cast<double>(day) + timeOfDay : static_cast<double>(day) - timeOfDay;
}

double OleToLinear(double date) { return static_cast<double>(OleDay(date)) + OleTimeOfDay(date); }

double LinearToOle(double days) {
  const double day = std::floor(days);
  return MakeOleDate(static_cast<int64_t>(day), days - day);
}

bool IsValidOleDate(double date) {
  // 100-01-01 00:00 and the end of 9999-12-31.
  return std::isfinite(date) && date > -657435.0 && date < 2958466.0;
}

int OleWeekday(double date) {
  // Day 0, 1899-12-30, was a Saturday.
  return static_cast<int>(((OleDay(date) % 7) + 7 + 6) % 7);
}

std::optional<double> ToOleDate(const CivilTime& t) {
  if (!InRange(t)) return std::nullopt;
  const int64_t day = PalOleDayFromCivil(t.year, t.month, t.day);
  const double ms = ((t.hour * 60.0 + t.minute) * 60.0 + t.second) * 1000.0 + t.millisecond;
  return MakeOleDate(day, ms / static_cast<double>(kMsPerDay));
}

std::optional<CivilTime> FromOleDate(double date) {
  if (!IsValidOleDate(date)) return std::nullopt;
  int64_t day = OleDay(date);
  int64_t ms = std::llround(OleTimeOfDay(date) * static_cast<double>(kMsPerDay));
  if (ms >= kMsPerDay) {
    // Rounding reached midnight: that is the next calendar day.
    ms -= kMsPerDay;
    ++day;
  }
  CivilTime t;
  const PalCivilDate civil = PalCivilFromOleDay(day);
  t.year = static_cast<int>(civil.nYear);
  t.month = civil.nMonth;
  t.day = civil.nDay;
  t.millisecond = static_cast<int>(ms % 1000);
  t.second = static_cast<int>((ms / 1000) % 60);
  t.minute = static_cast<int>((ms / 60000) % 60);
  t.hour = static_cast<int>(ms / 3600000);
  if (!InRange(t)) return std::nullopt;
  return t;
}

double OleNow() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  // A leap second is shown as the second before it.
  CivilTime t{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
              local.wSecond < 60 ? local.wSecond : 59};
  return ToOleDate(t).value_or(kNoDate);
}

std::string FormatOleDate(double date) {
  const std::optional<CivilTime> t = FromOleDate(date);
  if (!t) return {};
  char buf[40];
  int n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", t->year, t->month, t->day,
                        t->hour, t->minute, t->second);
  if (t->millisecond != 0)
    std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), ".%03d", t->millisecond);
  return buf;
}

std::optional<double> ParseOleDate(std::string_view text) {
  CivilTime t;
  size_t pos = 0;
  if (!ReadNumber(text, pos, 4, t.year) || !Expect(text, pos, '-') ||
      !ReadNumber(text, pos, 2, t.month) || !Expect(text, pos, '-') ||
      !ReadNumber(text, pos, 2, t.day))
    return std::nullopt;
  if (pos < text.size()) {
    if (text[pos] != 'T' && text[pos] != ' ') return std::nullopt;
    ++pos;
    if (!ReadNumber(text, pos, 2, t.hour) || !Expect(text, pos, ':') ||
        !ReadNumber(text, pos, 2, t.minute))
      return std::nullopt;
    if (pos < text.size() && (!Expect(text, pos, ':') || !ReadNumber(text, pos, 2, t.second)))
      return std::nullopt;
    if (pos < text.size() && (!Expect(text, pos, '.') || !ReadNumber(text, pos, 3, t.millisecond)))
      return std::nullopt;
    if (pos != text.size()) return std::nullopt;
  }
  return ToOleDate(t);
}

}  // namespace olstore
