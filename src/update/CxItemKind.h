// CxItemKind: what the run, its preview and its undo need to know of one kind
// of Outlook item (its images, its catalogue, its applier and accessor), so
// that each of them is written once for all four kinds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "common/records/FieldMarks.h"
#include "update/Qmcommon.h"

class OlBaseUtil;
class CxQMOLAddrUtil;
class CxQMOLDateUtil;
class CxQMOLTaskUtil;
class CxQMOLNoteUtil;

class CxItemKind {
 public:
  virtual ~CxItemKind() = default;

  virtual int32_t GetMode() const = 0;          // 1 contacts, 2 calendar, 4 tasks, 8 notes
  virtual const char* GetKindName() const = 0;  // "contact", "calendar item", ...
  virtual size_t GetImageSize() const = 0;
  // The image a display record of this kind holds; none when it has none.
  virtual void* GetRecordImage(void* pRecord) const = 0;

  // How people know the item: a contact by its name, any other item by its subject.
  virtual std::string GetItemName(const void* pImage) const = 0;
  // A distribution list among contacts: it has none of a contact's fields.
  virtual bool IsDistList(const void* pImage) const = 0;
  virtual const char* GetEntryID(const void* pImage) const = 0;
  virtual const char* GetStoreID(const void* pImage) const = 0;
  virtual const char* GetFolderName(const void* pImage) const = 0;
  virtual FieldMarks* GetChanged(void* pImage) const = 0;
  virtual const FieldMarks& GetTruncated(const void* pImage) const = 0;

  // The catalogue, in the order the editor lists it.
  virtual int32_t GetEntryCount() const = 0;
  virtual const FieldEntry* GetEntryAt(int32_t nIndex) const = 0;
  virtual const FieldEntry* FindEntry(int32_t nFieldID) const = 0;
  // The entry of that display name ("Job Title"), exactly as the catalogue
  // writes it; none when there is none.
  const FieldEntry* FindEntryByName(const std::string& strName) const;
  // The entry that changes the image field with this mark; none when no entry does.
  virtual const FieldEntry* FindEntryByMark(int nMark) const = 0;
  virtual ApplyRefusal GetRefusal(const void* pImage, const FieldUpdateDef* pDef) const = 0;
  virtual bool Apply(void* pImage, const FieldUpdateDef* pDef) const = 0;
  virtual bool Save(void* pImage) const = 0;
  // Marks in *pSaved the changed fields a save would put in the item's present
  // state; without an accessor every changed field.
  virtual void GetSavedFields(const void* pImage, FieldMarks* pSaved) const = 0;
  // The accessor the applier saves through; none when it has none.
  virtual OlBaseUtil* GetAccessor() const = 0;
};

// The kind of a mode, bound to that mode's applier (which may be none: then
// the kind applies definitions with an applier of its own but saves nothing).
// None for a mode that is not a kind.
std::unique_ptr<CxItemKind> MakeItemKind(int32_t nMode, const CxQMOLAddrUtil* pAddr,
                                         const CxQMOLDateUtil* pDate, const CxQMOLTaskUtil* pTask,
                                         const CxQMOLNoteUtil* pNote);

// The word that names a kind in files and on command lines ("contacts",
// "calendar", "tasks", "notes"), and the mode of such a word (0 for none).
const char* GetKindKeyword(int32_t nMode);
int32_t GetModeOfKeyword(const std::string& strKeyword);

// The name of a kind for people, in the plural ("contacts", "calendar items", ...);
// empty for an unknown mode.
const char* GetKindPluralName(int32_t nMode);
