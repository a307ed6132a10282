// Field update definitions for tests, one builder per kind of value; the text
// builder takes its texts in the order a definition uses them: the new text,
// then (for Replace) the text it replaces.
#pragma once

#include <cstdint>
#include <cstring>

#include "update/Qmcommon.h"

inline FieldUpdateDef NewDef(int32_t nFieldID) {
  FieldUpdateDef def;
  memset(&def, 0, sizeof def);
  def.nFieldID = nFieldID;
  return def;
}

inline FieldUpdateDef TextDef(int32_t nFieldID, int32_t nOperation, const char* szValue,
                              const char* szSearch = "", int32_t nPosition = 0) {
  FieldUpdateDef def = NewDef(nFieldID);
  def.nOperation = nOperation;
  strcpy(def.szValue, szValue);
  strcpy(def.szSearch, szSearch);
  def.nPosition = nPosition;
  return def;
}

// nHasDate 0: a date the definition does not mark as given.
inline FieldUpdateDef DateDef(int32_t nFieldID, double dtValue, int32_t nHasDate = 1) {
  FieldUpdateDef def = NewDef(nFieldID);
  def.nHasDate = nHasDate;
  def.dtValue = dtValue;
  return def;
}

inline FieldUpdateDef IntDef(int32_t nFieldID, int32_t nValue) {
  FieldUpdateDef def = NewDef(nFieldID);
  def.nValue = nValue;
  return def;
}

inline FieldUpdateDef BoolDef(int32_t nFieldID, bool bValue) {
  FieldUpdateDef def = NewDef(nFieldID);
  def.bValue = bValue ? 1 : 0;
  return def;
}
