// OlNoteUtil: the accessor of Outlook's default Notes folder. It reads every
// note into a NoteImage and a NoteRecord kept in its CommNoteMgr, and writes a
// changed NoteImage back.
#pragma once

#include "common/outlook/OlComm.h"
#include "common/records/CommNoteMgr.h"

class OlNoteUtil : public OlBaseUtil {
 public:
  explicit OlNoteUtil(const char* szProfile = nullptr);
  ~OlNoteUtil() override;

  bool ReadItems() override;
  void ClearItems() override;
  void Initialize() override;
  void Terminate() override;
  bool Connect() override;
  void Disconnect() override;

  CommNoteMgr* GetContainer() const { return m_pContainer; }
  // Finds the note by the image's EntryID and StoreID, puts the fields the
  // image marks as changed and saves it. False, logged, when a step fails.
  bool SaveItem(const NoteImage* pImage);
  // Marks in *pSaved the fields marked changed that SaveItem would put.
  void GetSavedFields(const NoteImage* pImage, FieldMarks* pSaved) const;

  bool ReadFolder(IDispatch* pFolder, bool bSubfolders);
  bool ReadNote(IDispatch* pItem, NoteImage* pImage);
  bool WriteNote(IDispatch* pItem, const NoteImage* pImage);

 private:
  CDispCmd* m_pFolder;
  CommNoteMgr* m_pContainer;
};
