#include "batch/CxBatchTool.h"

#include <cstring>
#include <ctime>
#include <memory>

#include "app/Apputil.h"
#include "batch/CxProgressLine.h"
#include "common/misc/CxList.h"
#include "common/misc/CxUtf8.h"
#include "common/outlook/OlComm.h"
#include "update/CxItemKind.h"
#include "update/CxKindAccess.h"
#include "update/CxProfileFile.h"
#include "update/CxRunJournal.h"
#include "update/CxRunUndo.h"
#include "update/CxUpdateRun.h"
#include "update/CxUpdateText.h"

namespace {

// A list of definitions for the engine; the list does not own them.
class DefinitionList {
 public:
  explicit DefinitionList(std::vector<FieldUpdateDef>& defs) {
    for (FieldUpdateDef& def : defs) m_List.Add(&def);
  }
  ~DefinitionList() { m_List.RemoveAll(false); }
  CxList* List() { return &m_List; }

 private:
  CxList m_List;
};

std::string TimeText(time_t tWhen) {
  char szText[32] = {};
  if (const struct tm* pTime = localtime(&tWhen))
    strftime(szText, sizeof szText, "%Y-%m-%d %H:%M:%S", pTime);
  return szText;
}

bool CopyDefinitionText(const std::string& strText, char (&szField)[256],
                        const std::string& strWhat, std::string* pError) {
  if (strText.size() >= sizeof szField) {
    *pError = strWhat + " is longer than " + std::to_string(sizeof szField - 1) + " bytes";
    return false;
  }
  memcpy(szField, strText.c_str(), strText.size() + 1);
  return true;
}

}  // namespace

CxBatchTool::CxBatchTool(FILE* pOut, FILE* pErr, FILE* pIn)
    : m_pOut(pOut), m_pErr(pErr), m_pIn(pIn) {}

int CxBatchTool::Execute(const CxBatchArgs& args) {
  switch (args.nCommand) {
    case bcRun:
      return Run(args);
    case bcUndo:
      return Undo(args);
    case bcRuns:
      return Runs();
    case bcFields:
      return Fields(args);
    default:
      return Fail(beUsage, "a command is missing");
  }
}

int CxBatchTool::Fail(int nExit, const std::string& strMessage) {
  fprintf(m_pErr, "quillmere-batch: %s\n", strMessage.c_str());
  return nExit;
}

std::unique_ptr<CxItemKind> CxBatchTool::KindOf(const std::string& strKind) {
  const int32_t nMode = GetModeOfKeyword(strKind);
  if (nMode == 0) {
    Fail(beUsage, "\"" + strKind + "\" is not a kind: contacts, calendar, tasks or notes");
    return nullptr;
  }
  return MakeItemKind(nMode, nullptr, nullptr, nullptr, nullptr);
}

bool CxBatchTool::ResolveDefinitions(const CxItemKind& kind, const CxBatchArgs& args,
                                     std::vector<FieldUpdateDef>* pDefs) {
  for (const CxDefinitionArg& arg : args.Definitions) {
    std::string strError;
    if (arg.nSource == dsProfile) {
      std::vector<FieldUpdateDef> profile;
      if (!ReadProfileFile(arg.Values[0], kind, &profile, &strError)) {
        Fail(beUsage, strError);
        return false;
      }
      pDefs->insert(pDefs->end(), profile.begin(), profile.end());
      continue;
    }
    const FieldEntry* pEntry = kind.FindEntryByName(arg.strField);
    if (!pEntry) {
      Fail(beUsage, "\"" + arg.strField + "\" is not a field of " +
                        GetKindPluralName(kind.GetMode()) + " (quillmere-batch fields --kind " +
                        GetKindKeyword(kind.GetMode()) + " lists them)");
      return false;
    }
    const FieldDescriptor& field = pEntry->Desc;
    FieldUpdateDef def;
    memset(&def, 0, sizeof def);
    def.nFieldID = field.nFieldID;
    const std::string strWhere = "\"" + arg.strField + "\": ";
    if (field.nType != ftString && arg.nSource != dsSet) {
      Fail(beUsage, strWhere + "a " + GetFieldTypeName(field.nType) + " field only takes --set");
      return false;
    }
    bool bDone = true;
    switch (arg.nSource) {
      case dsSet:
        if (field.nType == ftString) {
          def.nOperation = uoSet;
          bDone = CopyDefinitionText(arg.Values[0], def.szValue, "the text", &strError);
        } else {
          bDone = ParseDefinitionValue(field, arg.Values[0], &def, &strError);
        }
        break;
      case dsAppend:
        def.nOperation = uoAppend;
        bDone = CopyDefinitionText(arg.Values[0], def.szValue, "the text", &strError);
        if (bDone && arg.Values[0].empty()) {
          bDone = false;
          strError = "the text to append is empty";
        }
        break;
      case dsInsert:
        def.nOperation = uoInsert;
        if (arg.Values[0].empty() || arg.Values[0].size() > 9 ||
            arg.Values[0].find_first_not_of("0123456789") != std::string::npos) {
          bDone = false;
          strError = "the position must be a character position, 0 or more";
          break;
        }
        def.nPosition = std::stoi(arg.Values[0]);
        bDone = CopyDefinitionText(arg.Values[1], def.szValue, "the text", &strError);
        if (bDone && arg.Values[1].empty()) {
          bDone = false;
          strError = "the text to insert is empty";
        }
        break;
      case dsReplace:
        def.nOperation = uoReplace;
        bDone = CopyDefinitionText(arg.Values[0], def.szSearch, "the text to replace", &strError) &&
                CopyDefinitionText(arg.Values[1], def.szValue, "the text", &strError);
        if (bDone && arg.Values[0].empty()) {
          bDone = false;
          strError = "the text to replace is empty";
        }
        break;
      default:
        break;
    }
    if (!bDone) {
      Fail(beUsage, strWhere + strError);
      return false;
    }
    pDefs->push_back(def);
  }
  return true;
}

bool CxBatchTool::ResolveRules(const CxItemKind& kind, const CxBatchArgs& args,
                               std::vector<std::pair<const FieldEntry*, CxTickRule>>* pRules) {
  for (const CxWhereArg& where : args.Where) {
    const FieldEntry* pEntry = kind.FindEntryByName(where.strField);
    if (!pEntry) {
      Fail(beUsage, "--where: \"" + where.strField + "\" is not a field of " +
                        GetKindPluralName(kind.GetMode()));
      return false;
    }
    pRules->push_back({pEntry, CxTickRule{where.nCondition, where.strText, false}});
  }
  return true;
}

std::unique_ptr<CxKindAccess> CxBatchTool::Connect(int32_t nMode) {
  std::unique_ptr<CxKindAccess> pAccess = CxKindAccess::Open(nMode);
  if (!pAccess || !pAccess->IsConnected()) {
    Fail(beNotSaved, "Outlook cannot be reached (the debug log says why); nothing was changed");
    return nullptr;
  }
  return pAccess;
}

bool CxBatchTool::Confirm(const std::string& strCounts, const char* szQuestion, bool bYes,
                          int* pExit) {
  if (bYes) return true;
  if (!PalIsTerminal(m_pIn)) {
    *pExit = Fail(beUsage, strCounts +
                               "; writing needs --yes when no one can be asked; "
                               "nothing was changed");
    return false;
  }
  fprintf(m_pErr, "%s. %s [y/N] ", strCounts.c_str(), szQuestion);
  fflush(m_pErr);
  char szAnswer[16] = {};
  if (!fgets(szAnswer, sizeof szAnswer, m_pIn) || (szAnswer[0] != 'y' && szAnswer[0] != 'Y')) {
    fprintf(m_pErr, "Nothing was changed.\n");
    *pExit = beDone;
    return false;
  }
  return true;
}

void CxBatchTool::PrintRows(const CxChangeReport& report) {
  for (const CxItemChanges& item : report.GetItems()) {
    const std::string strItem =
        item.strFolder.empty() ? item.strName : item.strName + " (" + item.strFolder + ")";
    if (item.Fields.empty())
      fprintf(m_pOut, "%s: %s%s\n", strItem.c_str(), CxChangeReport::ItemOutcomeText(item.nOutcome),
              item.strReason.empty() ? "" : (": " + item.strReason).c_str());
    for (const CxFieldChange& field : item.Fields)
      fprintf(m_pOut, "%s: %s: \"%s\" -> \"%s\": %s\n", strItem.c_str(), field.strField.c_str(),
              field.strOld.c_str(), field.strNew.c_str(), report.OutcomeText(item, field).c_str());
  }
  fprintf(m_pOut, "%s\n", report.CountsText().c_str());
}

int CxBatchTool::Run(const CxBatchArgs& args) {
  const std::unique_ptr<CxItemKind> pKind = KindOf(args.strKind);
  if (!pKind) return beUsage;
  std::vector<FieldUpdateDef> defs;
  std::vector<std::pair<const FieldEntry*, CxTickRule>> rules;
  if (!ResolveDefinitions(*pKind, args, &defs) || !ResolveRules(*pKind, args, &rules))
    return beUsage;

  const std::unique_ptr<CxKindAccess> pAccess = Connect(pKind->GetMode());
  if (!pAccess) return beNotSaved;
  if (!pAccess->Read(args.bSubfolders)) {
    const std::string& strStopped = pAccess->Accessor().GetReadFailure();
    // Changing only the items that could be read would pass for a whole run.
    if (!strStopped.empty()) {
      const size_t nRead = pAccess->Records()->GetCount();
      return Fail(beNotSaved, OlPartialReadText(nRead, strStopped) + "; nothing was changed");
    }
    return Fail(beNotSaved, std::string("the ") + GetKindPluralName(pKind->GetMode()) +
                                " cannot be read (the debug log says why); nothing was changed");
  }
  CxList selected;
  for (void* pRecord = pAccess->Records()->GetFirst(); pRecord;
       pRecord = pAccess->Records()->GetNext()) {
    const void* pImage = pAccess->Kind().GetRecordImage(pRecord);
    bool bMatches = pImage != nullptr;
    for (const auto& [pEntry, rule] : rules) {
      if (!bMatches) break;
      bMatches = rule.Matches(
          FieldValueText(*pEntry, static_cast<const char*>(pImage) + pEntry->Slot.nOffset));
    }
    if (bMatches) selected.Add(pRecord);
  }

  DefinitionList definitions(defs);
  CxUpdateRun run(pAccess->Kind(), definitions.List());
  const CxChangeReport preview = run.Preview(&selected);
  if (args.bDryRun) {
    PrintRows(preview);
    selected.RemoveAll(false);
    return beDone;
  }
  int nExit = beDone;
  if (preview.CountItems(ioChange) == 0) {
    fprintf(m_pOut, "%s; nothing to save.\n", preview.CountsText().c_str());
    selected.RemoveAll(false);
    return beDone;
  }
  if (!Confirm(preview.CountsText(), "Save these changes?", args.bYes, &nExit)) {
    selected.RemoveAll(false);
    return nExit;
  }

  CxRunJournal journal;
  std::string strError;
  if (!OpenRunJournal(&journal, &strError) ||
      !run.Begin(&journal, selected.GetCount(), &strError)) {
    selected.RemoveAll(false);
    return Fail(beNotSaved, "the update cannot start: " + strError + "; nothing was changed");
  }
  CxProgressLine progress(m_pErr, selected.GetCount(), PalIsTerminal(m_pErr));
  for (void* pRecord = selected.GetFirst(); pRecord; pRecord = selected.GetNext()) {
    run.UpdateItem(pRecord);
    progress.Step();
  }
  progress.Finish();
  run.End();
  selected.RemoveAll(false);

  const CxChangeReport& report = run.GetReport();
  for (const std::string& strPath : {ReportPath(time(nullptr)), args.strReport}) {
    if (!strPath.empty() && !report.WriteCsv(strPath, &strError))
      Fail(beNotSaved, "the report was not written: " + strError);
  }
  for (const CxItemChanges& item : report.GetItems())
    if (item.nOutcome == ioNotSaved)
      fprintf(m_pOut, "not saved: %s: %s\n", item.strName.c_str(), item.strReason.c_str());
  fprintf(m_pOut, "%s\n", report.CountsText().c_str());
  return report.CountItems(ioNotSaved) > 0 ? beNotSaved : beDone;
}

int CxBatchTool::Undo(const CxBatchArgs& args) {
  CxRunJournal journal;
  std::string strError;
  if (!OpenRunJournal(&journal, &strError)) return Fail(beNotSaved, strError);
  const std::vector<CxJournalRun> runs = journal.ListRuns();
  int64_t nRun = 0;
  if (args.strRun == "last") {
    if (runs.empty()) return Fail(beUsage, "the journal holds no run");
    nRun = runs.front().nID;
  } else {
    nRun = std::stoll(args.strRun);
  }
  CxJournalRun run;
  if (!journal.FindRun(nRun, &run)) return Fail(beUsage, "the journal holds no run " + args.strRun);
  const std::unique_ptr<CxKindAccess> pAccess = Connect(run.nMode);
  if (!pAccess) return beNotSaved;
  CxRunUndo undo(journal, pAccess->Accessor());
  if (!undo.Load(nRun, &strError)) return Fail(beNotSaved, strError);
  const CxChangeReport preview = undo.Preview();
  if (args.bDryRun) {
    PrintRows(preview);
    return beDone;
  }
  if (preview.CountItems(ioChange) == 0) {
    PrintRows(preview);
    fprintf(m_pOut, "Run %lld: nothing to restore.\n", static_cast<long long>(nRun));
    return preview.CountItems(ioConflict) + preview.CountItems(ioDeleted) > 0 ? beNotSaved : beDone;
  }
  int nExit = beDone;
  if (!Confirm(preview.CountsText(), ("Undo run " + std::to_string(nRun) + "?").c_str(), args.bYes,
               &nExit))
    return nExit;
  CxChangeReport report;
  if (!undo.Execute(&report, &strError))
    return Fail(beNotSaved, "the undo cannot start: " + strError + "; nothing was changed");
  for (const CxItemChanges& item : report.GetItems()) {
    if (item.nOutcome == ioConflict || item.nOutcome == ioDeleted || item.nOutcome == ioNotSaved)
      fprintf(m_pOut, "%s: %s: %s\n", CxChangeReport::ItemOutcomeText(item.nOutcome),
              item.strName.c_str(), item.strReason.c_str());
  }
  fprintf(m_pOut, "%s\n", report.CountsText().c_str());
  const int nLeft =
      report.CountItems(ioConflict) + report.CountItems(ioDeleted) + report.CountItems(ioNotSaved);
  return nLeft > 0 ? beNotSaved : beDone;
}

int CxBatchTool::Runs() {
  CxRunJournal journal;
  std::string strError;
  if (!OpenRunJournal(&journal, &strError)) return Fail(beNotSaved, strError);
  fprintf(m_pOut, "%-5s %-19s  %-14s %5s  %s\n", "Run", "When", "Kind", "Saved", "Definitions");
  for (const CxJournalRun& run : journal.ListRuns()) {
    std::string strWhat;
    for (char c : run.strDefinitions) strWhat += c == '\n' ? std::string("; ") : std::string(1, c);
    std::string strState;
    if (run.nUndoneBy > 0) strState = " [undone by run " + std::to_string(run.nUndoneBy) + "]";
    if (run.nPending > 0) strState += " [" + std::to_string(run.nPending) + " in doubt]";
    fprintf(m_pOut, "%-5lld %-19s  %-14s %5d  %s%s\n", static_cast<long long>(run.nID),
            TimeText(run.tStarted).c_str(), GetKindPluralName(run.nMode), run.nSaved,
            strWhat.c_str(), strState.c_str());
  }
  return beDone;
}

int CxBatchTool::Fields(const CxBatchArgs& args) {
  const std::unique_ptr<CxItemKind> pKind = KindOf(args.strKind);
  if (!pKind) return beUsage;
  fprintf(m_pOut, "%-32s %-12s %s\n", "Field", "Type", "Values");
  for (int32_t n = 0; n < pKind->GetEntryCount(); ++n) {
    const FieldDescriptor& field = pKind->GetEntryAt(n)->Desc;
    std::string strValues;
    switch (field.nType) {
      case ftString:
        strValues = "text of at most " + std::to_string(field.nMaxLength - 1) + " bytes";
        break;
      case ftDate:
        strValues = "YYYY-MM-DD";
        break;
      case ftDateTime:
        strValues = "YYYY-MM-DDTHH:MM";
        break;
      case ftBoolean:
        strValues = "true, false";
        break;
      case ftInteger:
        strValues = "a whole number";
        break;
      case ftEnumeration:
        for (int32_t m = 0; m < field.nEnumCount && m < kMaxEnumCount; ++m)
          strValues += std::string(m ? ", " : "") + field.szEnumTexts[m];
        break;
    }
    fprintf(m_pOut, "%-32s %-12s %s\n", field.szName, GetFieldTypeName(field.nType),
            strValues.c_str());
  }
  return beDone;
}
