#include "common/records/CommDateMgr.h"

#include <cstring>

namespace {

const DisplayField kDisplayFields[] = {
    {ddkDescription, "Description"},
    {ddkStartTime, "Start Time"},
    {ddkEndTime, "End Time"},
    {ddkStartDateTime, "Start Date Time"},
    {ddkEndDateTime, "End Date Time"},
    {ddkDate, "Date"},
    {ddkNote, "Note"},
    {ddkPrivate, "Private"},
    {ddkLocation, "Location"},
    {ddkImportance, "Importance"},
    {ddkCategory, "Category"},
    {ddkAlarm, "Alarm"},
    {ddkAllDayEvent, "All Day Event"},
    {ddkRepeat, "Repeat"},
};
static_assert(sizeof(kDisplayFields) / sizeof(kDisplayFields[0]) == CommDateMgr::kDisplayFieldCount);

// Outlook's RecurrenceType (the index) as the record's kind and interval.
// The record numbers its by-weekday kinds before its by-date kinds, Outlook
// the other way round, hence the crossed codes.
constexpr int32_t kImageInterval = -1;
struct RecurrenceRule {
  int32_t nKind;
  int32_t nInterval;  // kImageInterval: the pattern's own
};
constexpr RecurrenceRule kRecurrenceRules[] = {
    {rkDaily, kImageInterval},              // 0 daily
    {rkWeekly, kImageInterval},             // 1 weekly
    {rkMonthlyByDate, kImageInterval},      // 2 monthly
    {rkMonthlyByWeekday, kImageInterval},   // 3 monthly, nth weekday
    {rkNone, 0},                            // 4 no such pattern
    {rkYearlyByDate, 1},                    // 5 yearly: always every year
    {rkYearlyByWeekday, kImageInterval},    // 6 yearly, nth weekday
};

// A pattern end at or before this date is no end.
constexpr DATE kNoPatternEnd = 1.0;

void MakeRecurrence(const DateImage* pImage, DateRecord* pRecord) {
  if (pImage->RecurrenceType < 0) return;
  constexpr int32_t nRules = sizeof(kRecurrenceRules) / sizeof(kRecurrenceRules[0]);
  if (pImage->RecurrenceType < nRules) {
    const RecurrenceRule& rule = kRecurrenceRules[pImage->RecurrenceType];
    pRecord->RecurrenceKind = rule.nKind;
    pRecord->Interval = rule.nInterval == kImageInterval ? pImage->Interval : rule.nInterval;
  }
  // Outlook's "no end" (the year 4501) leaves HasPatternEnd 0 as well.
  pRecord->HasPatternEnd =
      pImage->PatternEndDate > kNoPatternEnd && DateToSystemTime(pImage->PatternEndDate, &pRecord->PatternEndDate);
}

}  // namespace

bool MakeRecord(const DateImage* pImage, DateRecord* pRecord) {
  if (!pImage || !pRecord) return false;
  memset(pRecord, 0, sizeof(*pRecord));
  PutFieldText(pRecord->Subject, sizeof(pRecord->Subject), pImage->Subject);
  PutFieldText(pRecord->Body, sizeof(pRecord->Body), pImage->Body);
  PutFieldText(pRecord->Categories, sizeof(pRecord->Categories), pImage->Categories);
  PutFieldText(pRecord->Location, sizeof(pRecord->Location), pImage->Location);
  DateToSystemTime(pImage->Start, &pRecord->Start);
  DateToSystemTime(pImage->End, &pRecord->End);
  pRecord->ReminderSet = pImage->ReminderSet;
  pRecord->AllDayEvent = pImage->AllDayEvent ? 1 : 0;
  MakeRecurrence(pImage, pRecord);
  pRecord->SourceType = kSourceTypeOutlook;
  return true;
}

bool CommDateMgr::FindDisplayField(int32_t nKey, DisplayField* pField) {
  return FindTableField(kDisplayFields, nKey, pField);
}

bool CommDateMgr::DisplayFieldAt(int nIndex, DisplayField* pField) {
  return TableFieldAt(kDisplayFields, nIndex, pField);
}

bool CommDateMgr::DisplayText(const DateRecord* pRecord, const DisplayField* pField, char* szBuf, int nSize) {
  if (!pRecord || !pField || !BeginDisplayText(szBuf, nSize)) return false;
  switch (pField->nKey) {
    case ddkDescription:
      PutFieldText(szBuf, nSize, pRecord->Subject);
      break;
    case ddkStartTime:
      PutDateText(szBuf, nSize, &pRecord->Start, DateTextKind::Time);
      break;
    case ddkEndTime:
      PutDateText(szBuf, nSize, &pRecord->End, DateTextKind::Time);
      break;
    case ddkStartDateTime:
      PutDateText(szBuf, nSize, &pRecord->Start, DateTextKind::DateTime);
      break;
    case ddkEndDateTime:
      PutDateText(szBuf, nSize, &pRecord->End, DateTextKind::DateTime);
      break;
    case ddkDate:
      PutDateText(szBuf, nSize, &pRecord->Start, DateTextKind::Date);
      break;
    case ddkNote:
      PutFieldText(szBuf, nSize, pRecord->Body);
      break;
    case ddkPrivate:
      PutYesNo(szBuf, nSize, pRecord->Private != 0);
      break;
    case ddkLocation:
      PutFieldText(szBuf, nSize, pRecord->Location);
      break;
    case ddkCategory:
      PutFieldText(szBuf, nSize, pRecord->Categories);
      break;
    case ddkAlarm:
      PutYesNo(szBuf, nSize, pRecord->ReminderSet != 0);
      break;
    case ddkAllDayEvent:
      PutYesNo(szBuf, nSize, pRecord->AllDayEvent != 0);
      break;
    case ddkRepeat:
      PutText(szBuf, nSize, "Repeat Info");
      break;
    default:  // ddkImportance and unknown keys: no text
      break;
  }
  return true;
}
