// OlProperty: one Outlook property of an item image, described once (its
// automation name, how its value travels, where it lives in the image) so that
// reading and writing share the description, and the four accessors share one
// read and one write routine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

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
// not fit its buffer is marked in *pTruncated, a property whose get failed in
// *pUnread.
void OlReadProperties(CDispCmd& item, std::span<const OlProperty> props, void* pImage,
                      FieldMarks* pTruncated, FieldMarks* pUnread);

// One put of a save: the property and the value passed.
struct OlPut {
  const OlProperty* pProp;
  VARIANT vValue;
};

// The puts one save makes, in order, with the values they pass; the values
// are released with the plan.
class OlPutPlan {
 public:
  OlPutPlan() = default;
  ~OlPutPlan();
  OlPutPlan(const OlPutPlan&) = delete;
  OlPutPlan& operator=(const OlPutPlan&) = delete;

  std::span<const OlPut> Puts() const { return m_Puts; }
  // Adds the put of prop with the image's value; S_FALSE, adding nothing, for a
  // value that stands for "nothing" and is never written (a date of 0 or
  // Outlook's empty date).
  HRESULT Add(const OlProperty& prop, const void* pImage);

 private:
  std::vector<OlPut> m_Puts;
};

// Told about every save of an accessor it watches (the run journal).
class OlSaveWatcher {
 public:
  virtual ~OlSaveWatcher() = default;
  // The item is found and nothing is put yet. False stops the save: nothing
  // is put, and szFailure is why.
  virtual bool BeforePuts(CDispCmd& item, const OlPutPlan& plan, const char** pszFailure) = 0;
  // Once the save is over: bSaved tells whether Outlook took it; otherwise
  // szFailure says why not (some puts may have been made, but the item was not
  // saved).
  virtual void AfterSave(CDispCmd& item, bool bSaved, const char* szFailure) = 0;
};

// Plans the puts of the properties marked in `changed`, in step order and
// under the steps' conditions. A marked text is put even when empty (so the
// user can clear it); a marked date of 0 or of Outlook's empty date is not.
// Nothing at all is planned when a marked text was cut on reading (writing it
// would shorten the stored value). False, with the reason in *pFailure and a
// level-0 log line, when a value cannot be planned.
bool OlPlanWrites(std::span<const OlProperty> props, std::span<const OlWriteStep> steps,
                  const void* pImage, const FieldMarks& changed, const FieldMarks& truncated,
                  const void* pOwner, OlPutPlan* pPlan, std::string* pFailure);

// Makes the plan's puts in order; false, with the reason and a level-0 log
// line, at the first that is refused.
bool OlPutAll(CDispCmd& item, const OlPutPlan& plan, std::string* pFailure);

// Plans and makes the puts, leaving every unmarked property alone.
bool OlWriteProperties(CDispCmd& item, std::span<const OlProperty> props,
                       std::span<const OlWriteStep> steps, const void* pImage,
                       const FieldMarks& changed, const FieldMarks& truncated, const void* pOwner,
                       std::string* pFailure);

// Marks in *pSaved the fields marked in `changed` that a save puts, under the
// steps' conditions (a field whose condition does not hold is left out).
void OlSavedFields(std::span<const OlWriteStep> steps, const void* pImage,
                   const FieldMarks& changed, const void* pOwner, FieldMarks* pSaved);

// True when one of the steps' fields is marked.
bool OlAnyMarked(std::span<const OlWriteStep> steps, const FieldMarks& changed);

// MAPI_E_BUSY: Outlook could not get at the store, which another program holds.
constexpr HRESULT kOlStoreBusy = static_cast<HRESULT>(0x8004010BL);

// Calls the item's "Save"; false, with the reason and a level-0 log line, when
// Outlook refuses. *pStatus (when given) receives the call's status.
bool OlSaveItem(CDispCmd& item, std::string* pFailure, HRESULT* pStatus = nullptr);
