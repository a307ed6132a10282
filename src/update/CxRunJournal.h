// CxRunJournal: every run's changes, kept in one SQLite file in the data
// folder, so that a run can be looked at and undone later, and so that after
// a crash it is known which items a run saved. An item's row, with the old
// and the new value of every property its save puts, is committed before the
// save starts and marked saved or failed after it: killed at any moment, at
// most one item is in doubt.
#pragma once

#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "common/outlook/OlProperty.h"
#include "update/Qmcommon.h"
#include "platform/win32.h"

struct sqlite3;
struct sqlite3_stmt;

// One property value as the journal keeps it.
struct CxJournalValue {
  VARTYPE vt = VT_EMPTY;  // VT_EMPTY, VT_BSTR, VT_I2, VT_I4, VT_UI1, VT_BOOL, VT_R8 or VT_DATE
  std::string strText;    // VT_BSTR, in UTF-8
  int64_t nNumber = 0;    // the integer types, VT_BOOL as 0 or 1
  double dReal = 0;       // VT_R8, VT_DATE

  // False for a variant of a type the journal cannot keep.
  static bool FromVariant(const VARIANT& value, CxJournalValue* pValue);
  // The variant to put back; the caller clears it.
  HRESULT ToVariant(VARIANT* pValue) const;
  // The same value; dates within half a second count as the same moment.
  bool SameAs(const CxJournalValue& other) const;
  // The value as a person reads it.
  std::string Text() const;
  // The value as the catalogue entry's field shows it (a date without its
  // time, an enumeration by its name, ...).
  std::string TextAs(const FieldEntry& entry) const;
};

// One property of a journaled item, in the order that puts the old values
// back. Besides the properties a save puts, the journal keeps those Outlook
// changes with them (a task's status and percent complete with its
// completion, an appointment's end with its start).
struct CxJournalChange {
  std::string strProperty;  // the automation name
  CxJournalValue Old;       // before the save
  CxJournalValue New;       // the value put; after the save, what Outlook holds
  bool bNewKnown = true;    // false for a companion whose save has not been seen
  int nField = -1;          // the image field the put came from; -1 for a companion
};

enum JournalItemState : int32_t { jsPending = 0, jsSaved = 1, jsFailed = 2 };

struct CxJournalItem {
  int64_t nID = 0;
  std::string strEntryID;
  std::string strStoreID;
  std::string strName;
  JournalItemState nState = jsPending;
  std::string strReason;
  double dtModified = 0;  // LastModificationTime after the save
  std::vector<CxJournalChange> Changes;
};

struct CxJournalRun {
  int64_t nID = 0;
  int32_t nMode = 0;
  std::string strDefinitions;  // one line per definition, in words
  time_t tStarted = 0;
  time_t tEnded = 0;      // 0 while running or when the run was killed
  int64_t nUndoOf = 0;    // the run this one undid, 0 for a run of the wizard
  int64_t nUndoneBy = 0;  // the latest run that undid this one, 0 for none
  int nSaved = 0;
  int nFailed = 0;
  int nPending = 0;  // in doubt: journaled, but the run ended before its save was known
};

class CxRunJournal : public OlSaveWatcher {
 public:
  // Runs kept at least, and the days for which every run is kept.
  static constexpr int kKeepRuns = 100;
  static constexpr int kKeepDays = 90;

  CxRunJournal();
  ~CxRunJournal() override;
  CxRunJournal(const CxRunJournal&) = delete;
  CxRunJournal& operator=(const CxRunJournal&) = delete;

  // "journal.db" in the folder, which ends with a separator.
  static std::string PathIn(const std::string& strFolder);

  // Opens the journal, creating it when missing. False, with the reason, when
  // it cannot be opened or written.
  bool Open(const std::string& strPath, std::string* pError);
  void Close();
  bool IsOpen() const { return m_pDb != nullptr; }

  // Begins a run of about nItems items and forgets runs older than what is
  // kept. False, with the reason, when the run cannot be journaled (then it
  // must not start): the journal is not open or not writable, or the disk has
  // no room for it.
  bool BeginRun(int32_t nMode, const std::string& strDefinitions, int64_t nUndoOf, size_t nItems,
                std::string* pError);
  int64_t GetRunID() const { return m_nRun; }
  // Records the end of the current run.
  void EndRun();
  // False once an item could not be journaled: from then on nothing is saved.
  bool IsWritable() const { return m_bWritable; }

  // The item the next save belongs to.
  void SetItem(const std::string& strEntryID, const std::string& strStoreID,
               const std::string& strName);
  // Commits the current item's row, pending, with its changes. False, with the
  // reason, when it cannot be written.
  bool AddItem(const std::vector<CxJournalChange>& changes, std::string* pError);
  // Marks the current item saved, with what Outlook holds now for each of its
  // changes (read back from the item, in their order).
  void MarkSaved(CDispCmd& item);
  void MarkFailed(const std::string& strReason);

  // The properties to journal for a save that puts these (in put order): each
  // with the properties Outlook keeps in step with it.
  static std::vector<std::string> JournaledProperties(const std::vector<std::string>& puts);
  // Reads the item's value of a property for the journal; false when Outlook
  // does not give it or gives a type the journal cannot keep.
  static bool ReadValue(CDispCmd& item, const std::string& strProperty, CxJournalValue* pValue);

  // Reads the old value of every planned put (and its companions) from the
  // item and journals them.
  bool BeforePuts(CDispCmd& item, const OlPutPlan& plan, const char** pszFailure) override;
  void AfterSave(CDispCmd& item, bool bSaved, const char* szFailure) override;

  // Every run kept, the latest first.
  std::vector<CxJournalRun> ListRuns(std::string* pError = nullptr);
  bool FindRun(int64_t nRun, CxJournalRun* pRun);
  // The run's items in the order they were journaled.
  bool LoadItems(int64_t nRun, std::vector<CxJournalItem>* pItems, std::string* pError);

 private:
  bool Execute(const char* szSql, std::string* pError);
  std::string LastError() const;
  // The statement of a text the journal runs for every item, prepared once
  // while the journal is open; null when it cannot be prepared.
  sqlite3_stmt* Prepared(const char* szSql);

  sqlite3* m_pDb;
  std::map<const char*, sqlite3_stmt*> m_Prepared;  // by the address of the text
  int64_t m_nRun;
  int64_t m_nItem;                            // the current item's row, 0 when none is pending
  std::vector<std::string> m_ItemProperties;  // its changes' properties, in order
  std::string m_strEntryID;
  std::string m_strStoreID;
  std::string m_strName;
  std::string m_strFailure;
  bool m_bWritable;
};
