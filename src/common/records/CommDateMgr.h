// CommDateMgr: the calendar item image, the calendar item record and their container.
#pragma once

#include <cstdint>

#include "common/records/CommRecordMgr.h"
#include "common/records/CommRecordUtil.h"
#include "common/records/FieldMarks.h"
#include "platform/win32.h"

// ---- Image: a flat mirror of the Outlook item's properties ----------------------

// Fields of the calendar item image, in image order; the index names a field in FieldMarks.
enum class DateField : int {
  AllDayEvent,
  BusyStatus,
  Duration,
  End,
  EntryID,
  StoreID,
  Importance,
  IsRecurring,
  Location,
  ReminderMinutesBeforeStart,
  ReminderOverrideDefault,
  ReminderPlaySound,
  ReminderSet,
  ReminderSoundFile,
  ReminderTime,
  Sensitivity,
  Start,
  Subject,
  Body,
  RecurrenceType,
  Interval,
  DayOfWeekMask,
  DayOfMonth,
  Instance,
  MonthOfYear,
  PatternEndDate,
  FolderName,
  Categories,
  CreationTime,
  LastModificationTime,
  Count
};

struct DateImage {
  bool AllDayEvent;
  int32_t BusyStatus;
  int32_t Duration;
  DATE End;
  char EntryID[1024];
  char StoreID[1024];
  int32_t Importance;
  bool IsRecurring;
  char Location[256];
  int32_t ReminderMinutesBeforeStart;
  int32_t ReminderOverrideDefault;  // 32-bit flag: 0 or non-zero
  int32_t ReminderPlaySound;  // 32-bit flag: 0 or non-zero
  int32_t ReminderSet;  // 32-bit flag: 0 or non-zero
  char ReminderSoundFile[260];
  DATE ReminderTime;
  int32_t Sensitivity;
  DATE Start;
  char Subject[256];
  char Body[20480];
  int32_t RecurrenceType;
  int32_t Interval;
  int32_t DayOfWeekMask;
  int32_t DayOfMonth;
  int32_t Instance;
  int32_t MonthOfYear;
  DATE PatternEndDate;
  char FolderName[32];
  char Categories[256];
  DATE CreationTime;
  DATE LastModificationTime;
  // Not Outlook properties: which fields a definition changed (so the save
  // writes exactly those), which texts did not fit their field when read, and
  // which properties Outlook did not give (an item of another class, such as
  // a distribution list among contacts, or a failed call).
  FieldMarks Changed;
  FieldMarks Truncated;
  FieldMarks Unread;
};
static_assert(static_cast<int>(DateField::Count) <= FieldMarks::kCapacity);

// ---- Record: the display form of a calendar item -------------------------------------

// Recurrence kinds of a calendar record (not Outlook's RecurrenceType codes).
enum RecurrenceKind : int32_t {
  rkNone = 0,
  rkDaily = 1,
  rkWeekly = 2,
  rkMonthlyByWeekday = 3,
  rkMonthlyByDate = 4,
  rkYearlyByWeekday = 5,
  rkYearlyByDate = 6,
};

struct DateRecord {
  char Subject[256];
  int32_t AllDayEvent;          // 1 or 0
  SYSTEMTIME Start;             // all zero when the item has no start
  SYSTEMTIME End;               // all zero when the item has no end
  int32_t ReminderSet;
  char Body[8192];
  char Location[256];
  int32_t RecurrenceKind;       // enum RecurrenceKind
  uint8_t HasPatternEnd;        // 1 when PatternEndDate holds the end of the recurrence
  SYSTEMTIME PatternStartDate;  // never filled from Outlook
  SYSTEMTIME PatternEndDate;
  int32_t Interval;             // every N days, weeks, months or years
  int32_t Private;
  char Categories[64];
  int32_t SourceType;
  DateImage* Image;             // the record's own copy of its image; may be null
  int32_t ImageSize;            // bytes in that copy
};

// Keys of the calendar display-field table.
enum DateDisplayKey : int32_t {
  ddkDescription = 1,
  ddkStartTime = 2,
  ddkEndTime = 3,
  ddkStartDateTime = 4,
  ddkEndDateTime = 5,
  ddkDate = 6,
  ddkNote = 7,
  ddkPrivate = 8,
  ddkLocation = 9,
  ddkImportance = 10,
  ddkCategory = 11,
  ddkAlarm = 12,
  ddkAllDayEvent = 13,
  ddkRepeat = 14,
};

// Fills pRecord (zero-filled first) from pImage; the record has no image yet.
bool MakeRecord(const DateImage* pImage, DateRecord* pRecord);

// ---- Container ---------------------------------------------------------------------

class CommDateMgr final : public CommRecordMgr<DateRecord> {
 public:
  static constexpr int kDisplayFieldCount = 14;

  static bool FindDisplayField(int32_t nKey, DisplayField* pField);
  // The table entry at a position (0 to kDisplayFieldCount - 1), in table order.
  static bool DisplayFieldAt(int nIndex, DisplayField* pField);
  // The display text of one record field, cut to the buffer; keys without a
  // text give the empty text. False only when an argument is missing.
  static bool DisplayText(const DateRecord* pRecord, const DisplayField* pField, char* szBuf, int nSize);
};
