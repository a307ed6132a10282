// CommDateMgr: the calendar item image, the calendar item record and their container.
#pragma once

#include <cstdint>

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
  // writes exactly those) and which texts did not fit their field when read.
  FieldMarks Changed;
  FieldMarks Truncated;
};
static_assert(static_cast<int>(DateField::Count) <= FieldMarks::kCapacity);
