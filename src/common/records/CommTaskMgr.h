// CommTaskMgr: the task image, the task record and their container.
#pragma once

#include <cstdint>

#include "common/records/CommRecordMgr.h"
#include "common/records/CommRecordUtil.h"
#include "common/records/FieldMarks.h"
#include "platform/win32.h"

// ---- Image: a flat mirror of the Outlook item's properties ----------------------

// Fields of the task image, in image order; the index names a field in FieldMarks.
enum class TaskField : int {
  Body,
  CardData,
  Complete,
  DueDate,
  StoreID,
  EntryID,
  Importance,
  IsRecurring,
  Mileage,
  Ordinal,
  PercentComplete,
  ReminderOverrideDefault,
  ReminderPlaySound,
  ReminderSet,
  ReminderSoundFile,
  ReminderTime,
  ResponseState,
  Role,
  Sensitivity,
  StartDate,
  Status,
  Subject,
  TeamTask,
  TotalWork,
  FolderName,
  Categories,
  CreationTime,
  LastModificationTime,
  Count
};

struct TaskImage {
  char Body[20480];
  char CardData[256];
  bool Complete;
  DATE DueDate;
  char StoreID[1024];
  char EntryID[1024];
  int32_t Importance;
  bool IsRecurring;
  char Mileage[256];
  int32_t Ordinal;
  int32_t PercentComplete;
  bool ReminderOverrideDefault;
  bool ReminderPlaySound;
  bool ReminderSet;
  char ReminderSoundFile[260];
  DATE ReminderTime;
  int32_t ResponseState;
  char Role[32];
  int32_t Sensitivity;
  DATE StartDate;
  int32_t Status;
  char Subject[256];
  bool TeamTask;
  int32_t TotalWork;
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
static_assert(static_cast<int>(TaskField::Count) <= FieldMarks::kCapacity);

// ---- Record: the display form of a task ----------------------------------------------

// Priority codes of a task record (from Outlook's importance).
enum TaskPriority : int32_t {
  tpNormal = 0,
  tpHigh = 1,
  tpLow = 2,
};

// The due date when the task has none or it cannot be represented.
constexpr int64_t kNoDueDate = -1;

struct TaskRecord {
  char Subject[256];
  char Body[8192];
  char Categories[256];
  int32_t Priority;     // enum TaskPriority
  uint8_t Complete;
  int64_t DueDate;      // seconds since 1970 (local calendar time), or kNoDueDate
  uint8_t ReminderSet;
  uint8_t Private;      // 1 when the task is not normal sensitivity
  int32_t SourceType;
  TaskImage* Image;     // the record's own copy of its image; may be null
  int32_t ImageSize;    // bytes in that copy
};

// Keys of the task display-field table.
enum TaskDisplayKey : int32_t {
  tdkSubject = 0,
  tdkNote = 1,
  tdkPriority = 2,
  tdkCompleted = 3,
  tdkDueDate = 4,
  tdkAlarm = 5,
  tdkPrivate = 6,
  tdkCategory = 7,
};

// Fills pRecord (zero-filled first) from pImage; the record has no image yet.
bool MakeRecord(const TaskImage* pImage, TaskRecord* pRecord);

// ---- Container ---------------------------------------------------------------------

class CommTaskMgr final : public CommRecordMgr<TaskRecord> {
 public:
  static constexpr int kDisplayFieldCount = 8;

  static bool FindDisplayField(int32_t nKey, DisplayField* pField);
  // The table entry at a position (0 to kDisplayFieldCount - 1), in table order.
  static bool DisplayFieldAt(int nIndex, DisplayField* pField);
  // The display text of one record field, cut to the buffer; keys without a
  // text give the empty text. False only when an argument is missing.
  static bool DisplayText(const TaskRecord* pRecord, const DisplayField* pField, char* szBuf, int nSize);
};
