// Qmoltask: the task field catalogue and the task applier.
#pragma once

#include "common/records/CommTaskMgr.h"
#include "update/Qmcommon.h"

class OlTaskUtil;

class CxQMOLTaskUtil : public CxQMCommonUtil {
 public:
  // Writes the Status, Importance and Sensitivity enumerations into the catalogue.
  CxQMOLTaskUtil();
  ~CxQMOLTaskUtil();

  // Binds the tasks accessor that Save writes through; not owned.
  void SetAccessor(OlTaskUtil* pAccessor) { m_pAccessor = pAccessor; }
  OlTaskUtil* GetAccessor() const { return m_pAccessor; }

  static int32_t GetFieldCount();
  static const FieldDescriptor* GetFieldAt(int32_t nIndex);
  static const FieldDescriptor* FindField(int32_t nFieldID);
  // The entry with the image slot it changes; none for an unknown id.
  static const FieldEntry* FindEntry(int32_t nFieldID);

  // Changes the one image field the definition names; false for a missing
  // image or definition, an id outside the catalogue, or a text operation that
  // would shorten a value cut when read.
  bool Apply(TaskImage* pImage, const FieldUpdateDef* pDef) const;
  // Why Apply would leave the definition's field alone; arNone when it applies.
  ApplyRefusal GetRefusal(const TaskImage* pImage, const FieldUpdateDef* pDef) const;
  // Writes the image back to Outlook; false without an accessor or image, or
  // when the task cannot be found.
  bool Save(TaskImage* pImage) const;

 private:
  OlTaskUtil* m_pAccessor;
};
