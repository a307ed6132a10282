// Qmolnote: the note field catalogue and the note applier.
#pragma once

#include "common/records/CommNoteMgr.h"
#include "update/Qmcommon.h"

class OlNoteUtil;

class CxQMOLNoteUtil : public CxQMCommonUtil {
 public:
  // Writes the Color enumeration into the catalogue.
  CxQMOLNoteUtil();
  ~CxQMOLNoteUtil();

  // Binds the notes accessor that Save writes through; not owned.
  void SetAccessor(OlNoteUtil* pAccessor) { m_pAccessor = pAccessor; }
  OlNoteUtil* GetAccessor() const { return m_pAccessor; }

  static int32_t GetFieldCount();
  static const FieldDescriptor* GetFieldAt(int32_t nIndex);
  static const FieldDescriptor* FindField(int32_t nFieldID);
  // The entry with the image slot it changes; none for an unknown id.
  static const FieldEntry* FindEntry(int32_t nFieldID);

  // Changes the one image field the definition names; false for a missing
  // image or definition, an id outside the catalogue, or a text operation that
  // would shorten a value cut when read.
  bool Apply(NoteImage* pImage, const FieldUpdateDef* pDef) const;
  // Why Apply would leave the definition's field alone; arNone when it applies.
  ApplyRefusal GetRefusal(const NoteImage* pImage, const FieldUpdateDef* pDef) const;
  // Writes the image back to Outlook; false without an accessor or image, or
  // when the note cannot be found.
  bool Save(NoteImage* pImage) const;

 private:
  OlNoteUtil* m_pAccessor;
};
