// Qmcommon: the vocabulary of field updates (value types, text operations, the
// update definition, the catalogue entry) and the value operations every
// per-kind applier shares.
#pragma once

#include <cstdint>

// Value type of an updatable field.
enum FieldType : int32_t {
  ftString = 1,
  ftDate = 2,
  ftDateTime = 3,
  ftBoolean = 4,
  ftInteger = 5,
  ftEnumeration = 6,
};

// Text operation of a String definition; every other definition carries uoNone.
enum UpdateOp : int32_t {
  uoNone = 0,
  uoSet = 1,
  uoAppend = 2,
  uoInsert = 3,
  uoReplace = 4,
};

// One field update definition: a plain record, copied by value.
struct FieldUpdateDef {
  int32_t nFieldID;    // catalogue id of the field to change; -1 while none is chosen
  int32_t nOperation;  // UpdateOp
  char szSearch[256];  // Replace: the text to find
  char szValue[256];   // Set / Append / Insert / Replace: the new text
  int32_t nPosition;   // Insert: zero-based character position
  int32_t nHasDate;    // 1 once a date has been stored
  double dtValue;      // OLE automation date (day, plus time of day for Date & Time)
  uint8_t bValue;      // Boolean value, 1 or 0
  int32_t nValue;      // Integer value, or the chosen enumeration value
};

constexpr int kMaxEnumCount = 10;

// One entry of a field catalogue.
struct FieldDescriptor {
  int32_t nFieldID;
  int32_t nType;  // FieldType
  char szName[32];
  char szDesc[256];
  uint32_t nMaxLength;  // String: capacity of the image field in bytes, terminating zero included
  int32_t nEnumCount;
  int32_t nEnumValues[kMaxEnumCount];
  char szEnumTexts[kMaxEnumCount][32];
};
