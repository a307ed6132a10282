// OlAddrUtil: the accessor of Outlook's default Contacts folder. It reads every
// contact into an AddrImage and an AddrRecord kept in its CommAddrMgr, and
// writes a changed AddrImage back to its contact.
#pragma once

#include "common/outlook/OlFolderUtil.h"
#include "common/records/CommAddrMgr.h"

class OlAddrUtil : public OlFolderUtil<AddrImage, CommAddrMgr> {
 public:
  explicit OlAddrUtil(const char* szProfile = nullptr);

  // Finds the contact by the image's EntryID and StoreID, puts the fields the
  // image marks as changed and saves it. False, logged, when any step fails.
  bool SaveItem(const AddrImage* pImage);
  // Marks in *pSaved the fields marked changed that SaveItem would put.
  void GetSavedFields(const AddrImage* pImage, FieldMarks* pSaved) const;

  bool ReadContact(IDispatch* pItem, AddrImage* pImage);
  bool WriteContact(IDispatch* pItem, const AddrImage* pImage);

 private:
  bool ReadOne(IDispatch* pItem, AddrImage* pImage) override { return ReadContact(pItem, pImage); }
};
