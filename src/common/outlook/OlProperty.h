// OlProperty: one Outlook property of an item image, described once (its
// automation name, how its value travels, where it lives in the image) so that
// reading and writing share the description, and the four accessors share one
// read and one write routine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/misc/DispCmd.h"
#include "common/records/FieldMarks.h"
#include "platform/win32.h"

enum class OlValue : uint8_t {
  Text,    // char[]: GetString into nReadSize bytes, PutString
  Long,    // int32_t: GetLong, PutLong
  Bool,    // one-byte bool: GetBool, PutBool
  Flag32,  // int32_t slot holding 0 or 1 that travels as an automation boolean
  Date,    // DATE: GetDate, PutDate
};

struct OlProperty {
  LPCOLESTR szName;       // the automation name
  const char* szLogName;  // the same name, for log lines
  OlValue nValue;
  int nField;      // the field's index in the kind's field enumeration (FieldMarks)
  size_t nOffset;  // where the field lies inside the image
  int nReadSize;   // Text: the buffer size handed to GetString
};

// A marked property is written only when its step has no condition or the
// condition holds for the image (pOwner is the accessor, for its own switches).
typedef bool (*OlWriteCondition)(const void* pImage, const void* pOwner);

struct OlWriteStep {
  int nField;
  OlWriteCondition pfnWhen;
};

// Image fields are named after the properties they mirror, so one name gives
// both. The kind's units wrap these in shorter local forms.
#define OL_PROPERTY(Image, FieldEnum, Field, Value, ReadSize)                   \
  OlProperty {                                                                  \
    OLESTR(#Field), #Field, OlValue::Value, static_cast<int>(FieldEnum::Field), \
        offsetof(Image, Field), (ReadSize)                                      \
  }
#define OL_WRITE(FieldEnum, Field, When) \
  OlWriteStep { static_cast<int>(FieldEnum::Field), (When) }

// Outlook's "no date" (1 January 4501): read like any date, never written back.
constexpr DATE kOlNoDate = 949998.0;

// Reads every property of the table, in table order, into the image. A reader
// that fails or meets another type leaves its field as it was; a text that did
// not fit its buffer is marked in *pTruncated.
void OlReadProperties(CDispCmd& item, std::span<const OlProperty> props, void* pImage,
                      FieldMarks* pTruncated);

// Puts the properties marked in `changed`, in step order and under the steps'
// conditions, leaving every unmarked property alone. A marked text is written
// even when empty (so the user can clear it); a marked date of 0 or of
// Outlook's empty date is not written. Nothing at all is put when a marked
// text was cut on reading (writing it would shorten the stored value). False,
// with a level-0 log line, when a property is refused or a put fails.
bool OlWriteProperties(CDispCmd& item, std::span<const OlProperty> props,
                       std::span<const OlWriteStep> steps, const void* pImage,
                       const FieldMarks& changed, const FieldMarks& truncated, const void* pOwner);

// True when one of the steps' fields is marked.
bool OlAnyMarked(std::span<const OlWriteStep> steps, const FieldMarks& changed);

// Calls the item's "Save"; false, logged, when Outlook refuses.
bool OlSaveItem(CDispCmd& item);
