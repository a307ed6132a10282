#include "update/CxRunUndo.h"

#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxUtf8.h"
#include "common/outlook/OlComm.h"

CxRunUndo::CxRunUndo(CxRunJournal& journal, OlBaseUtil& accessor)
    : m_Journal(journal), m_Accessor(accessor) {}

bool CxRunUndo::Load(int64_t nRun, std::string* pError) {
  m_Items.clear();
  if (!m_Journal.FindRun(nRun, &m_Run)) {
    if (pError) *pError = "the run journal has no run " + std::to_string(nRun);
    return false;
  }
  m_pKind = MakeItemKind(m_Run.nMode, nullptr, nullptr, nullptr, nullptr);
  return m_Journal.LoadItems(nRun, &m_Items, pError);
}

const FieldEntry* CxRunUndo::EntryOf(const CxJournalChange& change) const {
  return m_pKind ? m_pKind->FindEntryByMark(change.nField) : nullptr;
}

std::string CxRunUndo::FieldName(const CxJournalChange& change) const {
  const FieldEntry* pEntry = EntryOf(change);
  return pEntry ? AnsiToUtf8(pEntry->Desc.szName) : change.strProperty;
}

std::string CxRunUndo::ValueText(const CxJournalChange& change, const CxJournalValue& value) const {
  const FieldEntry* pEntry = EntryOf(change);
  return pEntry ? value.TextAs(*pEntry) : value.Text();
}

CxRunUndo::Assessment CxRunUndo::Assess(const CxJournalItem& item, IDispatch** ppItem) {
  Assessment result;
  *ppItem = nullptr;
  if (item.nState == jsFailed) {
    result.strReason = "the run did not save it";
    return result;
  }
  if (!m_Accessor.GetItemFromID(item.strEntryID.c_str(), item.strStoreID.c_str(), ppItem)) {
    result.nDecision = dDeleted;
    result.strReason = "it is no longer in Outlook";
    return result;
  }
  CDispCmd outlookItem(*ppItem);
  bool bAsSaved = true;
  bool bAsBefore = true;
  std::string strConflict;
  for (const CxJournalChange& change : item.Changes) {
    CxJournalValue current;
    if (!CxRunJournal::ReadValue(outlookItem, change.strProperty, &current)) {
      result.nDecision = dConflict;
      result.strReason = change.strProperty + " cannot be read";
      return result;
    }
    if (change.bNewKnown && !current.SameAs(change.New)) {
      bAsSaved = false;
      if (strConflict.empty())
        strConflict = FieldName(change) + " is now \"" + ValueText(change, current) +
                      "\", the run saved \"" + ValueText(change, change.New) + "\"";
    }
    if (!current.SameAs(change.Old)) bAsBefore = false;
    result.Current.push_back(std::move(current));
  }
  if (bAsBefore) {
    result.strReason =
        item.nState == jsSaved ? "it holds its old values" : "the run did not save it";
  } else if (bAsSaved) {
    result.nDecision = dRestore;
  } else {
    result.nDecision = dConflict;
    result.strReason = strConflict;
  }
  return result;
}

CxItemChanges CxRunUndo::Line(const CxJournalItem& item, const Assessment& assessment) const {
  CxItemChanges line;
  line.strName = item.strName;
  line.strReason = assessment.strReason;
  switch (assessment.nDecision) {
    case dRestore:
      line.nOutcome = ioChange;
      break;
    case dNothing:
      line.nOutcome = ioUnchanged;
      break;
    case dConflict:
      line.nOutcome = ioConflict;
      break;
    case dDeleted:
      line.nOutcome = ioDeleted;
      break;
  }
  for (size_t n = 0; n < item.Changes.size(); ++n) {
    const CxJournalChange& change = item.Changes[n];
    CxFieldChange field;
    field.strField = FieldName(change);
    if (n < assessment.Current.size()) field.strOld = ValueText(change, assessment.Current[n]);
    field.strNew = ValueText(change, change.Old);
    field.nOutcome = n < assessment.Current.size() && assessment.Current[n].SameAs(change.Old)
                         ? foNoChange
                         : foChange;
    line.Fields.push_back(std::move(field));
  }
  return line;
}

CxChangeReport CxRunUndo::Preview() {
  CxChangeReport report(true);
  for (const CxJournalItem& item : m_Items) {
    IDispatch* pItem = nullptr;
    const Assessment assessment = Assess(item, &pItem);
    if (pItem) pItem->Release();
    report.Add(Line(item, assessment));
  }
  return report;
}

bool CxRunUndo::Restore(CDispCmd& item, const CxJournalItem& entry, std::string* pFailure,
                        bool* pBusy) {
  *pBusy = false;
  for (const CxJournalChange& change : entry.Changes) {
    VARIANT value;
    HRESULT hr = change.Old.ToVariant(&value);
    if (SUCCEEDED(hr)) hr = item.PutProperty(Utf8ToOle(change.strProperty).c_str(), &value);
    VariantClear(&value);
    if (FAILED(hr)) {
      char szStatus[16];
      snprintf(szStatus, sizeof szStatus, "%08x", static_cast<unsigned>(hr));
      *pFailure = "Outlook refused the old value of " + change.strProperty + ", hr=0x" + szStatus;
      QM_LOG(0, "Undo: %s", pFailure->c_str());
      return false;
    }
  }
  HRESULT hrSave = S_OK;
  const bool bSaved = OlSaveItem(item, pFailure, &hrSave);
  *pBusy = hrSave == kOlStoreBusy;
  return bSaved;
}

bool CxRunUndo::Execute(CxChangeReport* pReport, std::string* pError) {
  *pReport = CxChangeReport(false);
  const std::string strWhat =
      "Undo of run " + std::to_string(m_Run.nID) + "\n" + m_Run.strDefinitions;
  if (!m_Journal.BeginRun(m_Run.nMode, strWhat, m_Run.nID, m_Items.size(), pError)) return false;
  CxBusyStore busyStore;
  for (const CxJournalItem& entry : m_Items) {
    IDispatch* pItem = nullptr;
    const Assessment assessment = Assess(entry, &pItem);
    CxItemChanges line = Line(entry, assessment);
    if (assessment.nDecision == dRestore && busyStore.GivenUp()) {
      line.nOutcome = ioNotSaved;
      line.strReason = CxBusyStore::kNotTried;
    } else if (assessment.nDecision == dRestore) {
      CDispCmd item(pItem);
      std::vector<CxJournalChange> changes;
      for (size_t n = 0; n < entry.Changes.size(); ++n)
        changes.push_back({entry.Changes[n].strProperty, assessment.Current[n],
                           entry.Changes[n].Old, true, entry.Changes[n].nField});
      m_Journal.SetItem(entry.strEntryID, entry.strStoreID, entry.strName);
      std::string strFailure;
      if (!m_Journal.AddItem(changes, &strFailure)) {
        line.nOutcome = ioNotSaved;
        line.strReason = strFailure;
      } else if (bool bBusy = false; !Restore(item, entry, &strFailure, &bBusy)) {
        busyStore.NoteSave(bBusy);
        m_Journal.MarkFailed(strFailure);
        line.nOutcome = ioNotSaved;
        line.strReason = strFailure;
      } else {
        busyStore.NoteSave(false);
        m_Journal.MarkSaved(item);
        line.nOutcome = ioRestored;
        // Outlook may keep a value in step with another one the user gave it:
        // say so where the item is not quite as it was.
        for (const CxJournalChange& change : entry.Changes) {
          CxJournalValue now;
          if (CxRunJournal::ReadValue(item, change.strProperty, &now) && !now.SameAs(change.Old)) {
            line.nOutcome = ioPartial;
            line.strReason = "Outlook keeps " + change.strProperty + " at \"" + now.Text() + "\"";
            break;
          }
        }
      }
    }
    if (pItem) pItem->Release();
    pReport->Add(std::move(line));
  }
  m_Journal.EndRun();
  return true;
}
