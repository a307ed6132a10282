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

// The value held in an image field of this catalogue entry, as a person reads
// it: the text itself, a date ("MM/DD/YYYY", with the time for Date & Time,
// empty for no date), "Yes" or "No", a number, or an enumeration's name.
std::string FieldValueText(const FieldEntry& entry, const void* pField);
