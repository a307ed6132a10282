// CxRunUndo: takes a journaled run back. Each item the run saved gets the old
// values of what the run changed, through the accessor of the run's kind, one
// save per item, journaled as a run of its own (so an undo can be undone). An
// item changed since the run is left as it is and reported as a conflict; an
// item deleted since is reported as such. An item the run left in doubt (it
// was killed during that item's save) is restored when Outlook holds the run's
// values, and left alone when it holds the old ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <memory>

#include "update/CxBusyStore.h"
#include "update/CxChangeReport.h"
#include "update/CxItemKind.h"
#include "update/CxRunJournal.h"

class OlBaseUtil;
class CDispCmd;

class CxRunUndo {
 public:
  // The accessor reaches the run's items; it must be of the run's kind.
  CxRunUndo(CxRunJournal& journal, OlBaseUtil& accessor);

  // Loads the run; false, with the reason, when the journal has no such run
  // or cannot be read.
  bool Load(int64_t nRun, std::string* pError);
  const CxJournalRun& GetRun() const { return m_Run; }

  // What the undo would do, from what Outlook holds now; nothing is written.
  CxChangeReport Preview();
  // Restores every item that can be, into *pReport. False, with the reason,
  // when the journal cannot take the undo: then nothing is written.
  bool Execute(CxChangeReport* pReport, std::string* pError);

 private:
  enum Decision { dRestore, dNothing, dConflict, dDeleted };
  struct Assessment {
    Decision nDecision = dNothing;
    std::string strReason;
    std::vector<CxJournalValue> Current;
  };

  // What Outlook holds of the item now and what the undo must do with it.
  // *ppItem receives the item when it was found (the caller releases it).
  Assessment Assess(const CxJournalItem& item, IDispatch** ppItem);
  CxItemChanges Line(const CxJournalItem& item, const Assessment& assessment) const;
  // A change's field as the catalogue names it (the property's name for a
  // companion), and a value of it as that field shows it.
  const FieldEntry* EntryOf(const CxJournalChange& change) const;
  std::string FieldName(const CxJournalChange& change) const;
  std::string ValueText(const CxJournalChange& change, const CxJournalValue& value) const;
  // Puts the old values back and saves; false, with the reason, on a refusal.
  // *pBusy tells whether the save found the store locked.
  bool Restore(CDispCmd& item, const CxJournalItem& entry, std::string* pFailure, bool* pBusy);

  CxRunJournal& m_Journal;
  OlBaseUtil& m_Accessor;
  CxJournalRun m_Run;
  std::unique_ptr<CxItemKind> m_pKind;  // the run's kind, for field names and texts
  std::vector<CxJournalItem> m_Items;
};
