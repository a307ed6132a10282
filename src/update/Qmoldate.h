// Qmoldate: the calendar field catalogue and the calendar applier.
#pragma once

#include "common/records/CommDateMgr.h"
#include "update/Qmcommon.h"

class OlDateUtil;

class CxQMOLDateUtil : public CxQMCommonUtil {
 public:
  // Writes the Busy Status, Importance and Sensitivity enumerations into the catalogue.
  CxQMOLDateUtil();
  ~CxQMOLDateUtil();

  // Binds the calendar accessor that Save writes through; not owned.
  void SetAccessor(OlDateUtil* pAccessor) { m_pAccessor = pAccessor; }
  OlDateUtil* GetAccessor() const { return m_pAccessor; }

  static int32_t GetFieldCount();
  static const FieldDescriptor* GetFieldAt(int32_t nIndex);
  static const FieldDescriptor* FindField(int32_t nFieldID);
  // The entry with the image slot it changes; none for an unknown id.
  static const FieldEntry* FindEntry(int32_t nFieldID);

  // Changes the one image field the definition names; false for a missing
  // image or definition, an id outside the catalogue, or a text operation that
  // would shorten a value cut when read.
  bool Apply(DateImage* pImage, const FieldUpdateDef* pDef) const;
  // Why Apply would leave the definition's field alone; arNone when it applies.
  ApplyRefusal GetRefusal(const DateImage* pImage, const FieldUpdateDef* pDef) const;
  // Writes the image back to Outlook; false without an accessor or image, or
  // when the calendar item cannot be found.
  bool Save(DateImage* pImage) const;

 private:
  OlDateUtil* m_pAccessor;
};
