// OlNoteUtil: the accessor of Outlook's default Notes folder. It reads every
// note into a NoteImage and a NoteRecord kept in its CommNoteMgr, and writes a
// changed NoteImage back.
#pragma once

#include "common/outlook/OlFolderUtil.h"
#include "common/records/CommNoteMgr.h"

class OlNoteUtil : public OlFolderUtil<NoteImage, CommNoteMgr> {
 public:
  explicit OlNoteUtil(const char* szProfile = nullptr);

  // Finds the note by the image's EntryID and StoreID, puts the fields the
  // image marks as changed and saves it. False, logged, when a step fails.
  bool SaveItem(const NoteImage* pImage);
  // Marks in *pSaved the fields marked changed that SaveItem would put.
  void GetSavedFields(const NoteImage* pImage, FieldMarks* pSaved) const;

  bool ReadNote(IDispatch* pItem, NoteImage* pImage);
  bool WriteNote(IDispatch* pItem, const NoteImage* pImage);

 private:
  bool ReadOne(IDispatch* pItem, NoteImage* pImage) override { return ReadNote(pItem, pImage); }
};
