// Qmoladdr: the contact field catalogue and the contact applier.
#pragma once

#include "common/records/CommAddrMgr.h"
#include "update/Qmcommon.h"

class OlAddrUtil;

class CxQMOLAddrUtil : public CxQMCommonUtil {
 public:
  // Writes the Gender enumeration into the catalogue.
  CxQMOLAddrUtil();
  ~CxQMOLAddrUtil();

  // Binds the contacts accessor that Save writes through; not owned.
  void SetAccessor(OlAddrUtil* pAccessor) { m_pAccessor = pAccessor; }
  OlAddrUtil* GetAccessor() const { return m_pAccessor; }

  static int32_t GetFieldCount();
  static const FieldDescriptor* GetFieldAt(int32_t nIndex);
  static const FieldDescriptor* FindField(int32_t nFieldID);
  // The entry with the image slot it changes; none for an unknown id.
  static const FieldEntry* FindEntry(int32_t nFieldID);

  // Changes the one image field the definition names; false for a missing
  // image or definition, an id outside the catalogue, or a text operation that
  // would shorten a value cut when read.
  bool Apply(AddrImage* pImage, const FieldUpdateDef* pDef) const;
  // Why Apply would leave the definition's field alone; arNone when it applies.
  ApplyRefusal GetRefusal(const AddrImage* pImage, const FieldUpdateDef* pDef) const;
  // Writes the image back to Outlook; false without an accessor or image, or
  // when the contact cannot be found.
  bool Save(AddrImage* pImage) const;

 private:
  OlAddrUtil* m_pAccessor;
};
