// Appointments keep Start, End and Duration in step, derive the reminder time
// from the start, and keep their recurrence pattern whole: the Start of a
// series is its first occurrence, so moving it moves the series.
#include <cmath>

#include "olstore/PropertyTables.h"
#include "olstore/Rules.h"

namespace olstore {

namespace {

using tables::IndexOf;
using tables::kAppointment;

constexpr size_t kStart = IndexOf(kAppointment, "Start");
constexpr size_t kEnd = IndexOf(kAppointment, "End");
constexpr size_t kDuration = IndexOf(kAppointment, "Duration");
constexpr size_t kReminderMinutes = IndexOf(kAppointment, "ReminderMinutesBeforeStart");
constexpr size_t kReminderTime = IndexOf(kAppointment, "ReminderTime");
constexpr size_t kIsRecurring = IndexOf(kAppointment, "IsRecurring");
constexpr size_t kType = IndexOf(kAppointment, "RecurrenceType");
constexpr size_t kInterval = IndexOf(kAppointment, "Interval");
constexpr size_t kDayOfWeekMask = IndexOf(kAppointment, "DayOfWeekMask");
constexpr size_t kDayOfMonth = IndexOf(kAppointment, "DayOfMonth");
constexpr size_t kInstance = IndexOf(kAppointment, "Instance");
constexpr size_t kMonthOfYear = IndexOf(kAppointment, "MonthOfYear");
constexpr size_t kPatternStart = IndexOf(kAppointment, "PatternStartDate");
constexpr size_t kPatternEnd = IndexOf(kAppointment, "PatternEndDate");
constexpr size_t kNoEndDate = IndexOf(kAppointment, "NoEndDate");

// OlRecurrenceType
constexpr int32_t kDaily = 0;
constexpr int32_t kWeekly = 1;
constexpr int32_t kMonthly = 2;
constexpr int32_t kMonthNth = 3;
constexpr int32_t kYearly = 5;
constexpr int32_t kYearNth = 6;

constexpr double kMinutesPerDay = 1440.0;

int32_t DurationOf(const ItemData& item) {
  const double days = OleToLinear(item.DateAt(kEnd)) - OleToLinear(item.DateAt(kStart));
  return static_cast<int32_t>(std::lround(days * kMinutesPerDay));
}

double AddMinutes(double date, double minutes) {
  return LinearToOle(OleToLinear(date) + minutes / kMinutesPerDay);
}

bool Before(double a, double b) { return OleToLinear(a) < OleToLinear(b); }

std::optional<Value> Get(const ItemData& item, size_t index) {
  if (index == kDuration) return DurationOf(item);
  if (index == kReminderTime)
    return AddMinutes(item.DateAt(kStart), -static_cast<double>(item.IntAt(kReminderMinutes)));
  return std::nullopt;
}

// DayOfWeekMask with every day moved nDays later in the week (Sunday 1 ... Saturday 64).
int32_t RotateWeekdays(int32_t mask, int64_t nDays) {
  const int shift = static_cast<int>(((nDays % 7) + 7) % 7);
  return ((mask << shift) | (mask >> (7 - shift))) & 0x7F;
}

// A series whose first occurrence moves by nDays whole days: the pattern starts
// (and, with an end date, ends) that much later, and the days it falls on move
// with it. A weekly series keeps its shape (Monday and Wednesday moved by four
// days fall on Friday and Sunday); a monthly or yearly one is taken again from
// its new first day, as Outlook fills a new pattern. The times of day need no
// care here: the series takes them from Start and End.
PutStatus MoveSeries(ItemData& item, int64_t nDays) {
  const auto later = [nDays](double date) {
    return LinearToOle(OleToLinear(date) + static_cast<double>(nDays));
  };
  const double patternStart = later(item.DateAt(kPatternStart));
  const bool bEnds = !item.BoolAt(kNoEndDate);
  const double patternEnd = bEnds ? later(item.DateAt(kPatternEnd)) : kNoDate;
  if (!IsValidOleDate(patternStart) || (bEnds && !IsValidOleDate(patternEnd)))
    return PutStatus::OutOfRange;
  item.values[kPatternStart] = patternStart;
  item.values[kPatternEnd] = patternEnd;
  const int32_t type = item.IntAt(kType);
  if (type == kWeekly)
    item.values[kDayOfWeekMask] = RotateWeekdays(item.IntAt(kDayOfWeekMask), nDays);
  else if (type != kDaily)
    ResetPatternFor(item, type);
  return PutStatus::Ok;
}

PutStatus MoveStart(ItemData& item, double start) {
  const double end = AddMinutes(start, DurationOf(item));
  if (!IsValidOleDate(end)) return PutStatus::OutOfRange;
  if (item.BoolAt(kIsRecurring)) {
    if (const int64_t nDays = OleDay(start) - OleDay(item.DateAt(kStart)); nDays != 0)
      if (const PutStatus status = MoveSeries(item, nDays); status != PutStatus::Ok) return status;
  }
  item.values[kStart] = start;
  item.values[kEnd] = end;
  return PutStatus::Ok;
}

PutStatus SetEnd(ItemData& item, double end) {
  if (Before(end, item.DateAt(kStart))) return PutStatus::OutOfRange;
  item.values[kEnd] = end;
  return PutStatus::Ok;
}

PutStatus SetDuration(ItemData& item, int32_t minutes) {
  const double end = AddMinutes(item.DateAt(kStart), minutes);
  if (!IsValidOleDate(end)) return PutStatus::OutOfRange;
  item.values[kEnd] = end;
  return PutStatus::Ok;
}

PutStatus SetRecurrenceType(ItemData& item, int32_t type) {
  if (type == 4) return PutStatus::OutOfRange;  // no OlRecurrenceType has the value 4
  if (type != item.IntAt(kType)) ResetPatternFor(item, type);
  return PutStatus::Ok;
}

PutStatus SetPatternStart(ItemData& item, double start) {
  if (!item.BoolAt(kNoEndDate) && Before(item.DateAt(kPatternEnd), start))
    return PutStatus::OutOfRange;
  item.values[kPatternStart] = start;
  return PutStatus::Ok;
}

PutStatus SetPatternEnd(ItemData& item, double end) {
  if (IsNoDate(end)) {
    item.values[kPatternEnd] = kNoDate;
    item.values[kNoEndDate] = true;
    return PutStatus::Ok;
  }
  if (Before(end, item.DateAt(kPatternStart))) return PutStatus::OutOfRange;
  item.values[kPatternEnd] = end;
  item.values[kNoEndDate] = false;
  return PutStatus::Ok;
}

PutStatus SetNoEndDate(ItemData& item, bool noEnd) {
  item.values[kNoEndDate] = noEnd;
  if (noEnd) item.values[kPatternEnd] = kNoDate;
  // A series told to end without an end date ends on the day it starts.
  else if (IsNoDate(item.DateAt(kPatternEnd))) item.values[kPatternEnd] = item.DateAt(kPatternStart);
  return PutStatus::Ok;
}

constexpr LinkedPut kLinkedPuts[] = {
    {kStart, [](ItemData& item, const Value& v) { return MoveStart(item, std::get<double>(v)); }},
    {kEnd, [](ItemData& item, const Value& v) { return SetEnd(item, std::get<double>(v)); }},
    {kDuration,
     [](ItemData& item, const Value& v) { return SetDuration(item, std::get<int32_t>(v)); }},
    {kType,
     [](ItemData& item, const Value& v) { return SetRecurrenceType(item, std::get<int32_t>(v)); }},
    {kPatternStart,
     [](ItemData& item, const Value& v) { return SetPatternStart(item, std::get<double>(v)); }},
    {kPatternEnd,
     [](ItemData& item, const Value& v) { return SetPatternEnd(item, std::get<double>(v)); }},
    {kNoEndDate,
     [](ItemData& item, const Value& v) { return SetNoEndDate(item, std::get<bool>(v)); }},
};

std::string CheckPattern(const ItemData& item) {
  const int32_t type = item.IntAt(kType);
  const bool weekdays = type == kWeekly || type == kMonthNth || type == kYearNth;
  const bool dayOfMonth = type == kMonthly || type == kYearly;
  const bool yearly = type == kYearly || type == kYearNth;
  const bool nth = type == kMonthNth || type == kYearNth;
  if (type == 4) return "RecurrenceType 4 is not a recurrence type";
  if (weekdays && item.IntAt(kDayOfWeekMask) == 0) return "the pattern needs a DayOfWeekMask";
  if (dayOfMonth && item.IntAt(kDayOfMonth) == 0) return "the pattern needs a DayOfMonth";
  if (yearly && item.IntAt(kMonthOfYear) == 0) return "the pattern needs a MonthOfYear";
  if (nth && item.IntAt(kInstance) == 0) return "the pattern needs an Instance";
  if (IsNoDate(item.DateAt(kPatternStart))) return "the pattern needs a PatternStartDate";
  if (item.BoolAt(kNoEndDate) != IsNoDate(item.DateAt(kPatternEnd)))
    return "NoEndDate must be true exactly when there is no PatternEndDate";
  if (!item.BoolAt(kNoEndDate) && Before(item.DateAt(kPatternEnd), item.DateAt(kPatternStart)))
    return "PatternEndDate lies before PatternStartDate";
  return {};
}

std::string Check(const ItemData& item) {
  if (IsNoDate(item.DateAt(kStart))) return "an appointment needs a Start";
  if (Before(item.DateAt(kEnd), item.DateAt(kStart))) return "End lies before Start";
  return item.BoolAt(kIsRecurring) ? CheckPattern(item) : std::string();
}

}  // namespace

const KindRules kAppointmentRules{Get, kLinkedPuts, Check};

void ResetPatternFor(ItemData& item, int32_t type) {
  // Outlook fills a new pattern from the series' first day.
  const double anchor =
      IsNoDate(item.DateAt(kPatternStart)) ? item.DateAt(kStart) : item.DateAt(kPatternStart);
  const std::optional<CivilTime> day = FromOleDate(anchor);
  const int32_t weekdayBit = 1 << OleWeekday(anchor);
  const int32_t dayOfMonth = day ? day->day : 1;
  const int32_t month = day ? day->month : 1;
  const int32_t instance = (dayOfMonth - 1) / 7 + 1;

  item.values[kType] = type;
  item.values[kDayOfWeekMask] = 0;
  item.values[kDayOfMonth] = 0;
  item.values[kInstance] = 0;
  item.values[kMonthOfYear] = 0;
  switch (type) {
    case kDaily: break;
    case kWeekly: item.values[kDayOfWeekMask] = weekdayBit; break;
    case kMonthly: item.values[kDayOfMonth] = dayOfMonth; break;
    case kMonthNth:
      item.values[kDayOfWeekMask] = weekdayBit;
      item.values[kInstance] = instance;
      break;
    case kYearly:
      item.values[kDayOfMonth] = dayOfMonth;
      item.values[kMonthOfYear] = month;
      item.values[kInterval] = 1;
      break;
    case kYearNth:
      item.values[kDayOfWeekMask] = weekdayBit;
      item.values[kInstance] = instance;
      item.values[kMonthOfYear] = month;
      break;
    default: break;
  }
}

void MakeRecurring(ItemData& item) {
  if (item.kind != ItemKind::Appointment || item.BoolAt(kIsRecurring)) return;
  item.values[kIsRecurring] = true;
  item.values[kInterval] = 1;
  item.values[kPatternStart] = static_cast<double>(OleDay(item.DateAt(kStart)));
  item.values[kPatternEnd] = kNoDate;
  item.values[kNoEndDate] = true;
  ResetPatternFor(item, kWeekly);
}

void ClearRecurrence(ItemData& item) {
  if (item.kind != ItemKind::Appointment) return;
  const auto& props = item.Info().props;
  for (size_t i = 0; i < props.size(); ++i)
    if (props[i].scope == Scope::Pattern) item.values[i] = DefaultValue(props[i]);
  item.values[kIsRecurring] = false;
}

}  // namespace olstore
