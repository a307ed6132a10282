// CommTaskMgr: the task image, the task record and their container.
#pragma once

#include <cstdint>

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
  // writes exactly those) and which texts did not fit their field when read.
  FieldMarks Changed;
  FieldMarks Truncated;
};
static_assert(static_cast<int>(TaskField::Count) <= FieldMarks::kCapacity);
