// CxProfileFile: a list of definitions saved as a profile, a readable INI
// file a person can also edit:
//
//   [Profile]
//   Kind=contacts
//   Definitions=2
//   [Definition 1]
//   Field=Job Title
//   FieldID=46
//   Operation=Set
//   Text="Head of Sales"
//   [Definition 2]
//   Field=Birthday
//   FieldID=5
//   Date=1990-03-15
//
// A text operation has Operation (Set, Append, Insert or Replace), Text,
// Search (Replace) and Position (Insert); texts are quoted, with \\, \n, \r
// and \t standing for a backslash, a line break, a carriage return and a tab.
// Any other field has one value: Date (YYYY-MM-DD, or YYYY-MM-DDTHH:MM for a
// date and time), Flag (true or false), Number (a whole number) or Choice
// (the enumeration's name).
#pragma once

#include <string>
#include <vector>

#include "update/Qmcommon.h"

class CxItemKind;

// Writes the definitions of the kind to strPath, replacing the file whole
// only once it is complete. False, with the reason, when it cannot be written.
bool WriteProfileFile(const std::string& strPath, const CxItemKind& kind,
                      const std::vector<FieldUpdateDef>& defs, std::string* pError);

// Reads the definitions of a profile of the kind. Every entry is checked
// against the kind's catalogue and the editor's rules; on any problem it
// returns false with the file, the section and the reason in *pError, and
// *pDefs is left as it was.
bool ReadProfileFile(const std::string& strPath, const CxItemKind& kind,
                     std::vector<FieldUpdateDef>* pDefs, std::string* pError);
