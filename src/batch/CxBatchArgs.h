// CxBatchArgs: the batch tool's command line, read into what to do; every
// mistake is found here, before anything is connected or written.
#pragma once

#include <string>
#include <vector>

#include "update/CxTickRule.h"

enum BatchCommand { bcNone, bcRun, bcUndo, bcRuns, bcFields };

// One definition as given: a profile file, or an operation on a field.
enum DefinitionSource { dsProfile, dsSet, dsAppend, dsInsert, dsReplace };

struct CxDefinitionArg {
  DefinitionSource nSource;
  std::string strField;             // none for a profile
  std::vector<std::string> Values;  // the file; the value; the text; position and
                                    // text; search and text
};

struct CxWhereArg {
  std::string strField;
  RuleCondition nCondition;
  std::string strText;
};

struct CxBatchArgs {
  BatchCommand nCommand = bcNone;
  bool bHelp = false;
  std::string strKind;
  std::vector<CxDefinitionArg> Definitions;
  std::vector<CxWhereArg> Where;
  bool bSubfolders = false;
  bool bDryRun = false;
  bool bYes = false;
  std::string strReport;
  std::string strRun = "last";  // undo: a run's number or "last"
};

// Reads the arguments after the program's name. False, with one line saying
// what is wrong, for an unknown command or option, a missing value, or a
// command without what it needs.
bool ParseBatchArgs(const std::vector<std::string>& args, CxBatchArgs* pArgs, std::string* pError);

// The help of a command (of the tool for bcNone).
const char* GetBatchHelp(BatchCommand nCommand);
