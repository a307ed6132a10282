// CommNoteMgr: the note image, the note record and their container.
#pragma once

#include <cstdint>

#include "common/records/FieldMarks.h"
#include "platform/win32.h"

// ---- Image: a flat mirror of the Outlook item's properties ----------------------

// Fields of the note image, in image order; the index names a field in FieldMarks.
enum class NoteField : int {
  FolderName,
  Categories,
  EntryID,
  StoreID,
  Subject,
  Body,
  CreationTime,
  LastModificationTime,
  Saved,
  Color,
  Count
};

struct NoteImage {
  char FolderName[32];
  char Categories[256];
  char EntryID[1024];
  char StoreID[1024];
  char Subject[256];
  char Body[20480];
  DATE CreationTime;
  DATE LastModificationTime;
  bool Saved;
  int32_t Color;
  // Not Outlook properties: which fields a definition changed (so the save
  // writes exactly those) and which texts did not fit their field when read.
  FieldMarks Changed;
  FieldMarks Truncated;
};
static_assert(static_cast<int>(NoteField::Count) <= FieldMarks::kCapacity);
