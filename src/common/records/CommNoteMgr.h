// CommNoteMgr: the note image, the note record and their container.
#pragma once

#include <cstdint>

#include "common/records/CommRecordMgr.h"
#include "common/records/CommRecordUtil.h"
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
  // writes exactly those), which texts did not fit their field when read, and
  // which properties Outlook did not give (an item of another class, such as
  // a distribution list among contacts, or a failed call).
  FieldMarks Changed;
  FieldMarks Truncated;
  FieldMarks Unread;
};
static_assert(static_cast<int>(NoteField::Count) <= FieldMarks::kCapacity);

// ---- Record: the display form of a note ----------------------------------------------

struct NoteRecord {
  int32_t Color;
  int32_t Private;
  char Subject[256];
  char Body[20480];
  char Categories[256];
  DATE CreationTime;          // 0 when there is none
  DATE LastModificationTime;  // 0 when there is none
  int32_t SourceType;
  NoteImage* Image;           // the record's own copy of its image; may be null
  int32_t ImageSize;          // bytes in that copy
};

// Keys of the note display-field table.
enum NoteDisplayKey : int32_t {
  ndkColor = 0,
  ndkPrivate = 1,
  ndkSubject = 2,
  ndkNote = 3,
  ndkCategory = 4,
  ndkCreationTime = 5,
  ndkLastModificationTime = 6,
  ndkSource = 7,
  ndkStatus = 8,
  ndkIdInteger = 9,
  ndkIdString = 10,
};

// Fills pRecord (zero-filled first) from pImage; the record has no image yet.
bool MakeRecord(const NoteImage* pImage, NoteRecord* pRecord);

// ---- Container ---------------------------------------------------------------------

class CommNoteMgr final : public CommRecordMgr<NoteRecord> {
 public:
  static constexpr int kDisplayFieldCount = 11;

  static bool FindDisplayField(int32_t nKey, DisplayField* pField);
  // The table entry at a position (0 to kDisplayFieldCount - 1), in table order.
  static bool DisplayFieldAt(int nIndex, DisplayField* pField);
  // The display text of one record field, cut to the buffer; keys without a
  // text give the empty text. False only when an argument is missing.
  static bool DisplayText(const NoteRecord* pRecord, const DisplayField* pField, char* szBuf, int nSize);
};
