// CxBatchTool: the batch tool's commands over the wizard's engine: the same
// accessors, appliers, profiles, run journal, report and undo, without windows
// and without the wizard's pacing.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "batch/CxBatchArgs.h"
#include "update/CxChangeReport.h"
#include "update/CxTickRule.h"
#include "update/Qmcommon.h"

class CxItemKind;
class CxKindAccess;

// Exit status of the tool.
enum BatchExit : int {
  beDone = 0,      // every item saved (or nothing was to be written)
  beNotSaved = 1,  // some item was not saved, or Outlook could not be reached
  beUsage = 2,     // wrong use or bad input: nothing changed
};

class CxBatchTool {
 public:
  // Writes results to pOut, messages and progress to pErr, and reads a
  // confirmation from pIn (when it is a terminal).
  CxBatchTool(FILE* pOut, FILE* pErr, FILE* pIn);

  int Execute(const CxBatchArgs& args);

 private:
  int Run(const CxBatchArgs& args);
  int Undo(const CxBatchArgs& args);
  int Runs();
  int Fields(const CxBatchArgs& args);

  // The kind of a --kind word; none, after saying why, for an unknown one.
  std::unique_ptr<CxItemKind> KindOf(const std::string& strKind);
  bool ResolveDefinitions(const CxItemKind& kind, const CxBatchArgs& args,
                          std::vector<FieldUpdateDef>* pDefs);
  bool ResolveRules(const CxItemKind& kind, const CxBatchArgs& args,
                    std::vector<std::pair<const FieldEntry*, CxTickRule>>* pRules);
  // Connects to the items of the mode's kind; none, after saying why, when Outlook
  // cannot be reached.
  std::unique_ptr<CxKindAccess> Connect(int32_t nMode);
  // Asks on a terminal; without one, --yes is needed. False: nothing is written.
  bool Confirm(const std::string& strCounts, const char* szQuestion, bool bYes, int* pExit);
  void PrintRows(const CxChangeReport& report);
  int Fail(int nExit, const std::string& strMessage);

  FILE* m_pOut;
  FILE* m_pErr;
  FILE* m_pIn;
};
