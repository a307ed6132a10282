// CxUpdateText: how definitions and field values read in words, the same in
// the wizard's lists, the preview, the report and the run journal.
#pragma once

#include <string>

#include "update/Qmcommon.h"

// The two choices of a Boolean value, in the order the editor offers them.
inline constexpr char kTrueText[] = "True(Yes)";
inline constexpr char kFalseText[] = "False(No)";

// What a definition does to its field ("Set value to "Manager"", "Append " Jr."
// to the field.", ...), as the definitions page lists it.
std::string DescribeDefinition(const FieldDescriptor& field, const FieldUpdateDef& def);

// The value of a definition of a field that is not a text, as people type it
// in profile files and on the batch tool's command line: a whole number,
// "true" or "false", the enumeration's name, "YYYY-MM-DD" for a date,
// "YYYY-MM-DDTHH:MM" for a date and time.
std::string DefinitionValueText(const FieldDescriptor& field, const FieldUpdateDef& def);
// Reads such a value into the definition's value of the field's type. False,
// with the reason in words and pDef unchanged, for a value the field cannot take.
bool ParseDefinitionValue(const FieldDescriptor& field, const std::string& strText,
                          FieldUpdateDef* pDef, std::string* pError);

// A stored date as people read it: "MM/DD/YYYY", with " hh:mm:ss" when
// bWithTime; nothing at all for 0 and for Outlook's "no date".
std::string StoredDateText(double dtValue, bool bWithTime);

// The value held in an image field of this catalogue entry, as a person reads
// it: the text itself, a date ("MM/DD/YYYY", with the time for Date & Time,
// empty for no date), "Yes" or "No", a number, or an enumeration's name.
std::string FieldValueText(const FieldEntry& entry, const void* pField);
