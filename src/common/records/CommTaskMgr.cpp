#include "common/records/CommTaskMgr.h"

#include <cstring>
#include <ctime>

#include "common/misc/CxDateTime.h"

namespace {

const DisplayField kDisplayFields[] = {
    {tdkSubject, "Subject"},
    {tdkNote, "Note"},
    {tdkCategory, "Category"},
    {tdkPriority, "Priority"},
    {tdkCompleted, "Completed"},
    {tdkDueDate, "DueDate"},
    {tdkPrivate, "Private"},
    {tdkAlarm, "Alarm"},
};
static_assert(sizeof(kDisplayFields) / sizeof(kDisplayFields[0]) == CommTaskMgr::kDisplayFieldCount);

// A task record keeps one byte less of the categories than its field holds.
constexpr size_t kCategoriesMax = 254;

int32_t PriorityOf(int32_t nImportance) {
  switch (nImportance) {
    case 0:
      return tpLow;
    case 2:
      return tpHigh;
    default:  // 1 (normal) and anything Outlook does not define
      return tpNormal;
  }
}

bool IsPrivate(int32_t nSensitivity) { return nSensitivity >= 1 && nSensitivity <= 3; }

const char* PriorityText(int32_t nPriority) {
  switch (nPriority) {
    case tpHigh:
      return "High";
    case tpLow:
      return "Low";
    default:
      return "Normal";
  }
}

// The due date as date text, or "N/A" when there is none or it cannot be shown.
void PutDueDate(char* szBuf, int nSize, int64_t nDueDate) {
  SYSTEMTIME st = {};
  const time_t tDue = static_cast<time_t>(nDueDate);
  if (nDueDate != kNoDueDate && static_cast<int64_t>(tDue) == nDueDate) {
    CxDateTime dt;
    // Start from "no date": SetTime_t leaves the object as it was when the C
    // library cannot break the time down, and that must not show as today.
    dt.SetSystemTime(&st);
    dt.SetTime_t(&tDue);
    st = *dt.GetSystemTime();
  }
  char szDate[64];
  PutDateText(szDate, sizeof(szDate), &st, DateTextKind::Date);
  PutText(szBuf, nSize, szDate[0] ? szDate : "N/A");
}

}  // namespace

bool MakeRecord(const TaskImage* pImage, TaskRecord* pRecord) {
  if (!pImage || !pRecord) return false;
  memset(pRecord, 0, sizeof(*pRecord));
  PutFieldText(pRecord->Subject, sizeof(pRecord->Subject), pImage->Subject);
  PutFieldText(pRecord->Body, sizeof(pRecord->Body), pImage->Body);
  PutFieldText(pRecord->Categories, kCategoriesMax + 1, pImage->Categories);
  pRecord->Complete = pImage->Complete ? 1 : 0;
  pRecord->ReminderSet = pImage->ReminderSet ? 1 : 0;
  pRecord->DueDate = kNoDueDate;
  if (IsRealDate(pImage->DueDate)) {
    time_t tDue = static_cast<time_t>(kNoDueDate);
    VariantToTime_t(pImage->DueDate, &tDue);
    pRecord->DueDate = static_cast<int64_t>(tDue);
  }
  pRecord->Priority = PriorityOf(pImage->Importance);
  pRecord->Private = IsPrivate(pImage->Sensitivity) ? 1 : 0;
  pRecord->SourceType = kSourceTypeOutlook;
  return true;
}

bool CommTaskMgr::FindDisplayField(int32_t nKey, DisplayField* pField) {
  return FindTableField(kDisplayFields, nKey, pField);
}

bool CommTaskMgr::DisplayFieldAt(int nIndex, DisplayField* pField) {
  return TableFieldAt(kDisplayFields, nIndex, pField);
}

bool CommTaskMgr::DisplayText(const TaskRecord* pRecord, const DisplayField* pField, char* szBuf, int nSize) {
  if (!pRecord || !pField || !BeginDisplayText(szBuf, nSize)) return false;
  switch (pField->nKey) {
    case tdkSubject:
      PutFieldText(szBuf, nSize, pRecord->Subject);
      break;
    case tdkNote:
      PutFieldText(szBuf, nSize, pRecord->Body);
      break;
    case tdkCategory:
      PutFieldText(szBuf, nSize, pRecord->Categories);
      break;
    case tdkPriority:
      PutText(szBuf, nSize, PriorityText(pRecord->Priority));
      break;
    case tdkCompleted:
      PutYesNo(szBuf, nSize, pRecord->Complete != 0);
      break;
    case tdkDueDate:
      PutDueDate(szBuf, nSize, pRecord->DueDate);
      break;
    case tdkPrivate:
      PutYesNo(szBuf, nSize, pRecord->Private != 0);
      break;
    case tdkAlarm:
      PutYesNo(szBuf, nSize, pRecord->ReminderSet != 0);
      break;
    default:
      break;
  }
  return true;
}
