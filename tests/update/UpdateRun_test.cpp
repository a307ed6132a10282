// A run as the user sees it, over a real store for every kind: the preview
// (which writes nothing, and says exactly what the run then does), the run
// with its report and journal, and the undo that brings the store back.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "common/misc/CxList.h"
#include "common/outlook/OlComm.h"
#include "update/CxRunUndo.h"
#include "update/CxUpdateRun.h"
#include "update/CxUpdateText.h"
#include "update/support/ApplierCheck.h"
#include "update/support/RunStoreTest.h"

namespace {

using olstore::FolderKind;
using olstore::ItemKind;

struct SeedItem {
  ItemKind nKind;
  StoreValues Values;
};

struct KindCase {
  const char* szName;
  int32_t nMode;
  FolderKind nFolder;
  std::vector<SeedItem> Items;
  std::vector<FieldUpdateDef> Defs;
  std::vector<ItemOutcome> Preview;  // per item, in folder order
  std::vector<ItemOutcome> Report;
};

// Longer than the 64 bytes a contact's company name has in the image.
const std::string kLongCompany(80, 'x');

const KindCase kKindCases[] = {
    {"Contacts",
     1,
     FolderKind::Contacts,
     {
         {ItemKind::Contact,
          {{"FirstName", std::string("Ada")},
           {"LastName", std::string("Lovelace")},
           {"JobTitle", std::string("Analyst")},
           {"CompanyName", std::string("Engines Inc")}}},
         {ItemKind::Contact,
          {{"FirstName", std::string("Bob")},
           {"JobTitle", std::string("Clerk")},
           {"CompanyName", kLongCompany + " Inc"}}},
         {ItemKind::Contact,
          {{"FirstName", std::string("Cy")},
           {"JobTitle", std::string("Chief")},
           {"CompanyName", std::string("Acme Ltd")}}},
         // A list has none of these fields: it is skipped, which is no failure.
         {ItemKind::DistList, {{"DLName", std::string("Team")}}},
     },
     {TextDef(46, uoSet, "Chief"), TextDef(19, uoReplace, "Ltd", "Inc")},
     {ioChange, ioChange, ioUnchanged, ioSkipped},
     {ioUpdated, ioPartial, ioUnchanged, ioSkipped}},
    // A list's notes change with the contacts'; the job title it lacks is skipped.
    {"ContactsAndListNotes",
     1,
     FolderKind::Contacts,
     {
         {ItemKind::Contact, {{"FirstName", std::string("Ada")}, {"Body", std::string("Met")}}},
         {ItemKind::DistList, {{"DLName", std::string("Team")}, {"Body", std::string("Club")}}},
     },
     {TextDef(46, uoSet, "Chief"), TextDef(68, uoAppend, " (2026)")},
     {ioChange, ioChange},
     {ioUpdated, ioUpdated}},
    {"Calendar",
     2,
     FolderKind::Calendar,
     {
         {ItemKind::Appointment,
          {{"Subject", std::string("Standup")}, {"Start", 45000.375}, {"End", 45000.40625}}},
         {ItemKind::Appointment,
          {{"Subject", std::string("Review")},
           {"Start", 45002.5},
           {"End", 45002.5625},
           {"Location", std::string("Room 2")}}},
     },
     {DateDef(25, 45001.4375), TextDef(26, uoAppend, " (moved)"), TextDef(7, uoSet, "Room 2")},
     {ioChange, ioChange},
     {ioUpdated, ioUpdated}},
    {"Tasks",
     4,
     FolderKind::Tasks,
     {
         {ItemKind::Task,
          {{"Subject", std::string("Write report")},
           {"Status", int32_t{1}},
           {"PercentComplete", int32_t{40}}}},
         // Only a task whose reminder is on takes a reminder time.
         {ItemKind::Task,
          {{"Subject", std::string("Plan")},
           {"Status", int32_t{0}},
           {"ReminderSet", true},
           {"ReminderTime", 45009.5}}},
     },
     {BoolDef(3, true), TextDef(22, uoInsert, "Done: ", "", 0), DateDef(15, 45010.375)},
     {ioChange, ioChange},
     {ioPartial, ioUpdated}},
    {"Notes",
     8,
     FolderKind::Notes,
     {
         {ItemKind::Note, {{"Body", std::string("Groceries\nmilk")}, {"Color", int32_t{1}}}},
         {ItemKind::Note, {{"Body", std::string("Ideas")}, {"Color", int32_t{3}}}},
     },
     {IntDef(3, 3), TextDef(5, uoAppend, "\neggs")},
     {ioChange, ioChange},
     {ioUpdated, ioUpdated}},
};

void PrintTo(const KindCase& kindCase, std::ostream* pOut) { *pOut << kindCase.szName; }

// A list of the definitions for a run; the list does not own them.
class DefList {
 public:
  explicit DefList(std::vector<FieldUpdateDef> defs) : m_Defs(std::move(defs)) {
    for (FieldUpdateDef& def : m_Defs) m_List.Add(&def);
  }
  ~DefList() { m_List.RemoveAll(false); }
  CxList* List() { return &m_List; }

 private:
  std::vector<FieldUpdateDef> m_Defs;
  CxList m_List;
};

std::vector<ItemOutcome> Outcomes(const CxChangeReport& report) {
  std::vector<ItemOutcome> outcomes;
  for (const CxItemChanges& item : report.GetItems()) outcomes.push_back(item.nOutcome);
  return outcomes;
}

std::vector<void*> RecordsOf(CxKindAccess& access) {
  std::vector<void*> records;
  for (void* p = access.Records()->GetFirst(); p; p = access.Records()->GetNext())
    records.push_back(p);
  return records;
}

class RunKindTest : public RunStoreTest, public testing::WithParamInterface<KindCase> {
 protected:
  void SeedCase(const KindCase& kindCase) {
    const int64_t nFolder = Folder(kindCase.nFolder);
    Seed([&] {
      for (const SeedItem& item : kindCase.Items) Add(item.nKind, nFolder, item.Values);
    });
  }

  // Every record read through the run, journaled; the run's id.
  int64_t Run(CxKindAccess& access, DefList& defs, CxChangeReport* pReport) {
    CxUpdateRun run(access.Kind(), defs.List());
    std::string strError;
    EXPECT_TRUE(run.Begin(&m_Journal, access.Records()->GetCount(), &strError)) << strError;
    const int64_t nRun = m_Journal.GetRunID();
    for (void* pRecord : RecordsOf(access)) run.UpdateItem(pRecord);
    run.End();
    *pReport = run.GetReport();
    return nRun;
  }

  bool Undo(CxKindAccess& access, int64_t nRun, CxChangeReport* pReport) {
    CxRunUndo undo(m_Journal, access.Accessor());
    std::string strError;
    EXPECT_TRUE(undo.Load(nRun, &strError)) << strError;
    return undo.Execute(pReport, &strError);
  }
};

TEST_P(RunKindTest, PreviewRunReportAndUndo) {
  const KindCase& kindCase = GetParam();
  ASSERT_NO_FATAL_FAILURE(SeedCase(kindCase));
  const nlohmann::json before = Export();

  std::unique_ptr<CxKindAccess> pAccess = OpenKind(kindCase.nMode);
  ASSERT_TRUE(pAccess);
  DefList defs(kindCase.Defs);
  const CxChangeReport preview =
      CxUpdateRun(pAccess->Kind(), defs.List()).Preview(pAccess->Records());
  EXPECT_EQ(before.dump(), Export().dump()) << "a preview writes nothing";
  EXPECT_EQ(kindCase.Preview, Outcomes(preview));

  CxChangeReport report;
  const int64_t nRun = Run(*pAccess, defs, &report);
  EXPECT_EQ(kindCase.Report, Outcomes(report));
  const nlohmann::json after = Export();

  // Read afresh, every item holds what its preview rows said: the new value
  // where the value was to change, the old one everywhere else.
  std::unique_ptr<CxKindAccess> pFreshAccess = OpenKind(kindCase.nMode);
  const std::vector<void*> records = RecordsOf(*pFreshAccess);
  ASSERT_EQ(preview.GetItems().size(), records.size());
  for (size_t nItem = 0; nItem < records.size(); ++nItem) {
    const CxItemChanges& item = preview.GetItems()[nItem];
    const void* pImage = pFreshAccess->Kind().GetRecordImage(records[nItem]);
    ASSERT_EQ(item.Fields.size(), kindCase.Defs.size());
    // Where several definitions change one field, its last row holds the end value.
    for (size_t nDef = 0; nDef < kindCase.Defs.size(); ++nDef) {
      const FieldEntry* pEntry = pFreshAccess->Kind().FindEntry(kindCase.Defs[nDef].nFieldID);
      ASSERT_NE(nullptr, pEntry);
      const CxFieldChange& row = item.Fields[nDef];
      const std::string strStored =
          FieldValueText(*pEntry, static_cast<const char*>(pImage) + pEntry->Slot.nOffset);
      if (row.nOutcome == foChange)
        EXPECT_EQ(row.strNew, strStored) << item.strName << ": " << row.strField;
      else
        EXPECT_EQ(row.strOld, strStored) << item.strName << ": " << row.strField;
    }
  }

  // The undo's preview writes nothing and finds every saved item as the run left it.
  CxRunUndo undoPreview(m_Journal, pFreshAccess->Accessor());
  std::string strError;
  ASSERT_TRUE(undoPreview.Load(nRun, &strError)) << strError;
  const CxChangeReport restore = undoPreview.Preview();
  EXPECT_EQ(after.dump(), Export().dump()) << "an undo's preview writes nothing";
  const int nSaved = report.CountItems(ioUpdated) + report.CountItems(ioPartial);
  EXPECT_EQ(nSaved, restore.CountItems(ioChange));

  CxChangeReport undone;
  ASSERT_TRUE(Undo(*pFreshAccess, nRun, &undone));
  EXPECT_EQ(nSaved, undone.CountItems(ioRestored)) << undone.CountsText();
  EXPECT_EQ(WithoutModificationTimes(before).dump(2), WithoutModificationTimes(Export()).dump(2));

  // The undo is journaled like a run, so it can be undone in turn.
  const std::vector<CxJournalRun> runs = m_Journal.ListRuns();
  ASSERT_EQ(2u, runs.size());
  EXPECT_EQ(nRun, runs[0].nUndoOf);
  EXPECT_EQ(runs[0].nID, runs[1].nUndoneBy);
  CxChangeReport redone;
  ASSERT_TRUE(Undo(*pFreshAccess, runs[0].nID, &redone));
  EXPECT_EQ(nSaved, redone.CountItems(ioRestored)) << redone.CountsText();
  EXPECT_EQ(WithoutModificationTimes(after).dump(2), WithoutModificationTimes(Export()).dump(2));
}

INSTANTIATE_TEST_SUITE_P(EveryKind, RunKindTest, testing::ValuesIn(kKindCases),
                         [](const testing::TestParamInfo<KindCase>& info) {
                           return std::string(info.param.szName);
                         });

}  // namespace

namespace {

// Items changed or deleted after the run are left as they are and reported;
// the others are restored.
TEST_F(RunStoreTest, UndoLeavesItemsChangedOrDeletedSinceTheRun) {
  const int64_t nFolder = Folder(FolderKind::Contacts);
  std::string strChanged, strDeleted, strKept;
  Seed([&] {
    strChanged = Add(ItemKind::Contact, nFolder,
                     {{"FirstName", std::string("Ada")}, {"JobTitle", std::string("Analyst")}});
    strDeleted = Add(ItemKind::Contact, nFolder,
                     {{"FirstName", std::string("Bob")}, {"JobTitle", std::string("Clerk")}});
    strKept = Add(ItemKind::Contact, nFolder,
                  {{"FirstName", std::string("Cy")}, {"JobTitle", std::string("Cook")}});
  });
  std::unique_ptr<CxKindAccess> pAccess = OpenKind(1);
  DefList defs({TextDef(46, uoSet, "Chief")});
  CxUpdateRun run(pAccess->Kind(), defs.List());
  std::string strError;
  ASSERT_TRUE(run.Begin(&m_Journal, 3, &strError)) << strError;
  const int64_t nRun = m_Journal.GetRunID();
  for (void* pRecord : RecordsOf(*pAccess)) run.UpdateItem(pRecord);
  run.End();
  ASSERT_EQ(3, run.GetReport().CountItems(ioUpdated));

  // Ada is changed in Outlook after the run, Bob deleted.
  IDispatch* pItem = nullptr;
  ASSERT_TRUE(pAccess->Accessor().GetItemFromID(strChanged.c_str(), StoreId().c_str(), &pItem));
  {
    CDispCmd item(pItem);
    pItem->Release();
    ASSERT_EQ(S_OK, item.PutString(OLESTR("JobTitle"), "Boss"));
    ASSERT_TRUE(OlSaveItem(item, nullptr));
  }
  olstore::Query remove = Store().Db().Prepare("DELETE FROM items WHERE entry_id = ?");
  ASSERT_TRUE(remove.Bind(1, strDeleted).Run());

  CxRunUndo undo(m_Journal, pAccess->Accessor());
  ASSERT_TRUE(undo.Load(nRun, &strError)) << strError;
  CxChangeReport report;
  ASSERT_TRUE(undo.Execute(&report, &strError)) << strError;
  ASSERT_EQ(3u, report.GetItems().size());
  EXPECT_EQ(ioConflict, report.GetItems()[0].nOutcome);
  EXPECT_EQ("Job Title is now \"Boss\", the run saved \"Chief\"", report.GetItems()[0].strReason);
  EXPECT_EQ(ioDeleted, report.GetItems()[1].nOutcome);
  const CxItemChanges& restored = report.GetItems()[2];
  EXPECT_EQ(ioRestored, restored.nOutcome);
  ASSERT_EQ(1u, restored.Fields.size());
  EXPECT_EQ("Job Title", restored.Fields[0].strField);
  EXPECT_EQ("Chief", restored.Fields[0].strOld);
  EXPECT_EQ("Cook", restored.Fields[0].strNew);
  EXPECT_EQ(
      "Boss",
      Stored(strChanged).TextAt(olstore::FindProperty(Stored(strChanged).Info(), "JobTitle")));
  EXPECT_EQ("Cook",
            Stored(strKept).TextAt(olstore::FindProperty(Stored(strKept).Info(), "JobTitle")));
}

// A run whose journal cannot take it does not start, and writes nothing.
TEST_F(RunStoreTest, RunWithoutWritableJournalDoesNotStart) {
  Seed([&] {
    Add(ItemKind::Contact, Folder(FolderKind::Contacts), {{"FirstName", std::string("Ada")}});
  });
  std::unique_ptr<CxKindAccess> pAccess = OpenKind(1);
  DefList defs({TextDef(46, uoSet, "Chief")});
  CxUpdateRun run(pAccess->Kind(), defs.List());
  m_Journal.Close();
  std::string strError;
  EXPECT_FALSE(run.Begin(&m_Journal, 1, &strError));
  EXPECT_EQ("the run journal is not open", strError);
}

// Another program holding the store's write lock for as long as it lives.
class OtherWriter {
 public:
  explicit OtherWriter(const std::string& strStore) {
    EXPECT_EQ(SQLITE_OK, sqlite3_open(strStore.c_str(), &m_pDb));
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(m_pDb, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
  }
  ~OtherWriter() {
    sqlite3_exec(m_pDb, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(m_pDb);
  }

 private:
  sqlite3* m_pDb = nullptr;
};

// Five items under a locked store: the first three saves fail with that
// reason, the two items left are not tried, and only the tried ones are
// journaled, as failed.
void ExpectGivenUpOnTheLock(const CxChangeReport& report, CxRunJournal& journal, int64_t nRun) {
  const std::vector<CxItemChanges>& items = report.GetItems();
  ASSERT_EQ(5u, items.size());
  for (size_t n = 0; n < items.size(); ++n) {
    EXPECT_EQ(ioNotSaved, items[n].nOutcome);
    if (n < 3)
      EXPECT_NE(std::string::npos,
                items[n].strReason.find(": the store is locked by another program"))
          << items[n].strReason;
    else
      EXPECT_EQ("not tried: the store is locked by another program", items[n].strReason);
  }
  std::vector<CxJournalItem> journaled;
  std::string strError;
  ASSERT_TRUE(journal.LoadItems(nRun, &journaled, &strError)) << strError;
  ASSERT_EQ(3u, journaled.size()) << "items not tried are not journaled";
  for (const CxJournalItem& item : journaled) {
    EXPECT_EQ(jsFailed, item.nState);
    EXPECT_NE(std::string::npos, item.strReason.find("locked by another program"))
        << item.strReason;
  }
}

class LockedStoreTest : public RunStoreTest {
 protected:
  void SetUp() override {
    RunStoreTest::SetUp();
    Seed([&] {
      for (const char* szName : {"Ada", "Ben", "Cy", "Dee", "Eve"})
        Add(ItemKind::Contact, Folder(FolderKind::Contacts), {{"FirstName", std::string(szName)}});
    });
    m_pAccess = OpenKind(1);
  }
  void TearDown() override {
    m_pAccess.reset();
    RunStoreTest::TearDown();
  }

  // Sets every job title; the run's ID.
  int64_t RunSettingJobTitles(CxChangeReport* pReport) {
    CxUpdateRun run(m_pAccess->Kind(), m_Defs.List());
    std::string strError;
    EXPECT_TRUE(run.Begin(&m_Journal, 5, &strError)) << strError;
    const int64_t nRun = m_Journal.GetRunID();
    for (void* pRecord : RecordsOf(*m_pAccess)) run.UpdateItem(pRecord);
    run.End();
    *pReport = run.GetReport();
    return nRun;
  }

  DefList m_Defs{std::vector<FieldUpdateDef>{TextDef(46, uoSet, "Chief")}};
  std::unique_ptr<CxKindAccess> m_pAccess;
};

TEST_F(LockedStoreTest, TheRunStopsTryingAfterAFewSaves) {
  const nlohmann::json before = Export();
  CxChangeReport report;
  int64_t nRun = 0;
  {
    OtherWriter other(Store().Path());
    nRun = RunSettingJobTitles(&report);
  }
  ExpectGivenUpOnTheLock(report, m_Journal, nRun);
  EXPECT_EQ(before.dump(), Export().dump());
}

TEST_F(LockedStoreTest, TheUndoStopsTryingAfterAFewSaves) {
  CxChangeReport report;
  const int64_t nRun = RunSettingJobTitles(&report);
  ASSERT_EQ(5, report.CountItems(ioUpdated));
  const nlohmann::json afterRun = Export();

  CxRunUndo undo(m_Journal, m_pAccess->Accessor());
  std::string strError;
  ASSERT_TRUE(undo.Load(nRun, &strError)) << strError;
  {
    OtherWriter other(Store().Path());
    ASSERT_TRUE(undo.Execute(&report, &strError)) << strError;
  }
  ExpectGivenUpOnTheLock(report, m_Journal, m_Journal.ListRuns().front().nID);
  EXPECT_EQ(afterRun.dump(), Export().dump());
}

}  // namespace
