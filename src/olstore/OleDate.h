// Automation dates (days since 1899-12-30, the fraction being the time of day,
// local wall-clock time) and their text form in the store's JSON.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace olstore {

// What Outlook answers for a date that is not set: 1 January 4501.
constexpr double kNoDate = 949998.0;

struct CivilTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

bool IsNoDate(double date);

// Years 100 to 9999, as automation dates allow; nullopt outside.
std::optional<double> ToOleDate(const CivilTime& time);
// The date broken down, rounded to the millisecond; nullopt when out of range.
std::optional<CivilTime> FromOleDate(double date);

// Whole day number and time of day; negative dates count the time forwards
// from the start of their day, as automation dates do.
int64_t OleDay(double date);
double OleTimeOfDay(double date);
double MakeOleDate(int64_t day, double timeOfDay);
// A date as a plain count of days, so that differences and sums are linear
// also before 1899-12-30, and back.
double OleToLinear(double date);
double LinearToOle(double days);
// Whether a value lies within automation's dates (years 100 to 9999).
bool IsValidOleDate(double date);
// 0 Sunday ... 6 Saturday.
int OleWeekday(double date);

// The current local time, to the second.
double OleNow();

// "YYYY-MM-DDTHH:MM:SS", with ".mmm" only when there are milliseconds.
std::string FormatOleDate(double date);
// Accepts "YYYY-MM-DD", optionally followed by "T" (or a blank) and "HH:MM",
// "HH:MM:SS" or "HH:MM:SS.mmm".
std::optional<double> ParseOleDate(std::string_view text);

}  // namespace olstore
