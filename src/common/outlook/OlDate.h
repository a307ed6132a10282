// OlDateUtil: the accessor of Outlook's default Calendar folder. It reads every
// appointment (with its recurrence pattern) into a DateImage and a DateRecord
// kept in its CommDateMgr, and writes a changed DateImage back.
#pragma once

#include "common/outlook/OlFolderUtil.h"
#include "common/records/CommDateMgr.h"

class OlDateUtil : public OlFolderUtil<DateImage, CommDateMgr> {
 public:
  explicit OlDateUtil(const char* szProfile = nullptr);

  // Whether appointment bodies are read and written; always on.
  bool IncludeBody() const { return m_bIncludeBody; }
  // Finds the appointment by the image's EntryID and StoreID, puts the fields
  // the image marks as changed and saves it. False, logged, when a step fails.
  bool SaveItem(const DateImage* pImage);
  // Marks in *pSaved the fields marked changed that SaveItem would put.
  void GetSavedFields(const DateImage* pImage, FieldMarks* pSaved) const;

  bool ReadAppointment(IDispatch* pItem, DateImage* pImage);
  bool WriteAppointment(IDispatch* pItem, const DateImage* pImage);

 private:
  bool ReadOne(IDispatch* pItem, DateImage* pImage) override {
    return ReadAppointment(pItem, pImage);
  }
  bool m_bIncludeBody;
};
