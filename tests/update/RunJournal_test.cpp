// The run journal's file: what it keeps of a value, which runs it forgets,
// which properties it keeps for a save, and the journals it refuses to use.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "support/OleText.h"
#include "support/TempFolder.h"
#include "update/CxRunJournal.h"
#include "update/Qmoladdr.h"

namespace {

class JournalTest : public testing::Test {
 protected:
  void SetUp() override {
    m_strPath = m_temp.File("journal.db");
    std::string strError;
    ASSERT_TRUE(m_Journal.Open(m_strPath, &strError)) << strError;
  }

  // Runs SQL on the journal file beside the journal's own connection.
  void Sql(const std::string& strSql) {
    sqlite3* pDb = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(m_strPath.c_str(), &pDb));
    char* szError = nullptr;
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(pDb, strSql.c_str(), nullptr, nullptr, &szError))
        << (szError ? szError : "");
    sqlite3_free(szError);
    sqlite3_close(pDb);
  }

  TempFolder m_temp;
  std::string m_strPath;
  CxRunJournal m_Journal;
};

CxJournalValue FromVariant(const VARIANT& value) {
  CxJournalValue result;
  EXPECT_TRUE(CxJournalValue::FromVariant(value, &result));
  return result;
}

CxJournalValue Text(const char16_t* szText) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocString(reinterpret_cast<const OLECHAR*>(szText));
  CxJournalValue result = FromVariant(value);
  VariantClear(&value);
  return result;
}

CxJournalValue Of(VARTYPE vt, int64_t nNumber, double dReal = 0) {
  VARIANT value;
  VariantInit(&value);
  value.vt = vt;
  switch (vt) {
    case VT_I2:
      value.iVal = static_cast<SHORT>(nNumber);
      break;
    case VT_I4:
      value.lVal = static_cast<LONG>(nNumber);
      break;
    case VT_UI1:
      value.bVal = static_cast<BYTE>(nNumber);
      break;
    case VT_BOOL:
      value.boolVal = nNumber ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VT_R8:
      value.dblVal = dReal;
      break;
    case VT_DATE:
      value.date = dReal;
      break;
    default:
      break;
  }
  return FromVariant(value);
}

// Every kind of value goes in and comes out the same, through the file and
// back into a variant.
TEST_F(JournalTest, KeepsEveryValueExactly) {
  const std::vector<CxJournalValue> values = {
      Text(u"plain"),
      Text(u"Zo\u00eb \U0001F600 \u65e5\u672c"),
      Text(u""),
      Of(VT_I4, -123456),
      Of(VT_I2, -2),
      Of(VT_UI1, 200),
      Of(VT_BOOL, 1),
      Of(VT_BOOL, 0),
      Of(VT_DATE, 0, 949998.0),
      Of(VT_DATE, 0, 45000.5),
      Of(VT_R8, 0, 2.5),
      Of(VT_EMPTY, 0),
  };
  std::string strError;
  ASSERT_TRUE(m_Journal.BeginRun(1, "Job Title: Set value to \"x\"", 0, 1, &strError)) << strError;
  const int64_t nRun = m_Journal.GetRunID();
  std::vector<CxJournalChange> changes;
  for (size_t n = 0; n < values.size(); ++n)
    changes.push_back({"P" + std::to_string(n), values[n], values[values.size() - 1 - n],
                       n % 2 == 0, static_cast<int>(n) - 1});
  m_Journal.SetItem("E1", "S1", "Ada");
  ASSERT_TRUE(m_Journal.AddItem(changes, &strError)) << strError;
  m_Journal.EndRun();

  std::vector<CxJournalItem> items;
  ASSERT_TRUE(m_Journal.LoadItems(nRun, &items, &strError)) << strError;
  ASSERT_EQ(1u, items.size());
  EXPECT_EQ(jsPending, items[0].nState);
  EXPECT_EQ("E1", items[0].strEntryID);
  EXPECT_EQ("Ada", items[0].strName);
  ASSERT_EQ(changes.size(), items[0].Changes.size());
  for (size_t n = 0; n < changes.size(); ++n) {
    const CxJournalChange& loaded = items[0].Changes[n];
    EXPECT_EQ(changes[n].strProperty, loaded.strProperty);
    EXPECT_EQ(changes[n].nField, loaded.nField);
    EXPECT_TRUE(loaded.Old.SameAs(changes[n].Old)) << n << ": " << loaded.Old.Text();
    EXPECT_EQ(changes[n].bNewKnown, loaded.bNewKnown) << n;
    if (changes[n].bNewKnown) {
      EXPECT_TRUE(loaded.New.SameAs(changes[n].New)) << n;
    }
    VARIANT back;
    ASSERT_EQ(S_OK, loaded.Old.ToVariant(&back));
    EXPECT_TRUE(FromVariant(back).SameAs(values[n])) << n;
    VariantClear(&back);
  }
}

TEST(JournalValueTest, DatesWithinHalfASecondAreTheSameMoment) {
  EXPECT_TRUE(Of(VT_DATE, 0, 45000.5).SameAs(Of(VT_DATE, 0, 45000.5 + 0.4 / 86400)));
  EXPECT_FALSE(Of(VT_DATE, 0, 45000.5).SameAs(Of(VT_DATE, 0, 45000.5 + 1.0 / 86400)));
  EXPECT_FALSE(Of(VT_I4, 1).SameAs(Of(VT_BOOL, 1))) << "another type is another value";
  EXPECT_FALSE(Text(u"a").SameAs(Text(u"A")));
}

TEST(JournalValueTest, ShowsAValueAsItsFieldDoes) {
  const CxQMOLAddrUtil applier;  // names the genders in the catalogue
  const FieldEntry* pGender = CxQMOLAddrUtil::FindEntry(34);
  const FieldEntry* pBirthday = CxQMOLAddrUtil::FindEntry(5);
  ASSERT_TRUE(pGender && pBirthday);
  EXPECT_EQ("Male", Of(VT_I4, 2).TextAs(*pGender));
  EXPECT_EQ("7", Of(VT_I4, 7).TextAs(*pGender)) << "a value the catalogue does not name";
  EXPECT_EQ("03/15/1990", Of(VT_DATE, 0, 32947.5).TextAs(*pBirthday));
  EXPECT_EQ("", Of(VT_DATE, 0, 949998.0).TextAs(*pBirthday)) << "Outlook's no date";
  EXPECT_EQ("03/15/1990 12:00:00", Of(VT_DATE, 0, 32947.5).Text());
}

struct PruneCase {
  const char* szName;
  int nRuns;
  int nAgeDays;  // how old every earlier run is
  size_t nKept;  // after one more run
};

void PrintTo(const PruneCase& pruneCase, std::ostream* pOut) { *pOut << pruneCase.szName; }

class JournalPruneTest : public JournalTest, public testing::WithParamInterface<PruneCase> {};

// The last 100 runs or the last 90 days' runs, whichever are more.
TEST_P(JournalPruneTest, KeepsTheLastRunsOrDays) {
  const PruneCase& pruneCase = GetParam();
  std::string strError;
  for (int n = 0; n < pruneCase.nRuns; ++n) {
    ASSERT_TRUE(m_Journal.BeginRun(1, "d", 0, 0, &strError)) << strError;
    m_Journal.SetItem("E", "S", "item");
    ASSERT_TRUE(m_Journal.AddItem({{"JobTitle", Text(u"a"), Text(u"b"), true}}, &strError));
    m_Journal.EndRun();
  }
  Sql("UPDATE run SET started = started - " + std::to_string(pruneCase.nAgeDays) + " * 86400");
  ASSERT_TRUE(m_Journal.BeginRun(1, "d", 0, 0, &strError)) << strError;
  m_Journal.EndRun();
  const std::vector<CxJournalRun> runs = m_Journal.ListRuns();
  ASSERT_EQ(pruneCase.nKept, runs.size());
  // The latest are kept, and a forgotten run takes its items with it.
  EXPECT_EQ(pruneCase.nRuns + 1, runs.front().nID);
  std::vector<CxJournalItem> items;
  ASSERT_TRUE(m_Journal.LoadItems(1, &items, &strError));
  EXPECT_EQ(pruneCase.nKept == static_cast<size_t>(pruneCase.nRuns + 1) ? 1u : 0u, items.size());
}

INSTANTIATE_TEST_SUITE_P(Runs, JournalPruneTest,
                         testing::Values(PruneCase{"OldBeyondTheLast100", 130, 91, 100},
                                         PruneCase{"RecentAreAllKept", 130, 89, 131},
                                         PruneCase{"FewOldAreKept", 20, 400, 21}),
                         [](const testing::TestParamInfo<PruneCase>& info) {
                           return std::string(info.param.szName);
                         });

struct CompanionCase {
  std::vector<std::string> Puts;
  std::vector<std::string> Journaled;
};

// A put of a property that Outlook keeps in step with others journals all of
// them, in the order that puts a former state back.
TEST(JournalCompanionTest, KeepsWhatOutlookChangesAlong) {
  const CompanionCase cases[] = {
      {{"JobTitle", "CompanyName"}, {"JobTitle", "CompanyName"}},
      {{"Complete"}, {"Status", "PercentComplete", "DateCompleted", "Complete"}},
      {{"Subject", "PercentComplete", "Status"},
       {"Subject", "Status", "PercentComplete", "DateCompleted", "Complete"}},
      {{"End"}, {"Start", "End"}},
      {{"Start", "End"}, {"Start", "End"}},
  };
  for (const CompanionCase& companionCase : cases)
    EXPECT_EQ(companionCase.Journaled, CxRunJournal::JournaledProperties(companionCase.Puts));
}

TEST_F(JournalTest, RefusesAJournalItCannotUse) {
  CxRunJournal other;
  std::string strError;
  // A file where the journal's folder should be.
  EXPECT_FALSE(
      other.Open(m_temp.File("journal.db") + PAL_PATH_SEPARATOR_STR "journal.db", &strError));
  EXPECT_NE(std::string::npos, strError.find("cannot be opened")) << strError;

  m_Journal.Close();
  Sql("PRAGMA user_version = 2");
  EXPECT_FALSE(other.Open(m_strPath, &strError));
  EXPECT_NE(std::string::npos, strError.find("newer version")) << strError;
  EXPECT_FALSE(other.BeginRun(1, "d", 0, 0, &strError));
}

}  // namespace
