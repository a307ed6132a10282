// A run killed with SIGKILL at chosen moments: the journal then agrees with
// the store item by item (at most one item in doubt), and an undo brings the
// store back to what it was before the run.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "common/outlook/OlComm.h"
#include "update/CxRunUndo.h"
#include "update/CxUpdateRun.h"
#include "update/support/ApplierCheck.h"
#include "update/support/RunStoreTest.h"

namespace {

constexpr int kItems = 2000;

enum KillPoint {
  kpJournaled,  // the item's row is committed, its save has not begun
  kpSaved,      // the item is saved, the journal does not know it yet
  kpMarked,     // the journal knows the item was saved
};

struct CrashCase {
  const char* szName;
  int nItem;  // zero-based position of the item at which the run dies
  KillPoint nPoint;
};

void PrintTo(const CrashCase& crashCase, std::ostream* pOut) { *pOut << crashCase.szName; }

// Passes every save to the journal and kills the process at one moment.
class KillingWatcher : public OlSaveWatcher {
 public:
  KillingWatcher(CxRunJournal& journal, const CrashCase& crashCase)
      : m_Journal(journal), m_Case(crashCase) {}

  bool BeforePuts(CDispCmd& item, const OlPutPlan& plan, const char** pszFailure) override {
    ++m_nItem;
    const bool bJournaled = m_Journal.BeforePuts(item, plan, pszFailure);
    KillAt(kpJournaled);
    return bJournaled;
  }
  void AfterSave(CDispCmd& item, bool bSaved, const char* szFailure) override {
    KillAt(kpSaved);
    m_Journal.AfterSave(item, bSaved, szFailure);
    KillAt(kpMarked);
  }

 private:
  void KillAt(KillPoint nPoint) const {
    if (m_nItem == m_Case.nItem && nPoint == m_Case.nPoint) kill(getpid(), SIGKILL);
  }

  CxRunJournal& m_Journal;
  const CrashCase& m_Case;
  int m_nItem = -1;
};

class RunCrashTest : public RunStoreTest, public testing::WithParamInterface<CrashCase> {
 protected:
  // The run in a child process, with its own connections to the store and
  // the journal; it must die at the chosen moment.
  void RunAndKill(const CrashCase& crashCase) {
    const pid_t pid = fork();
    ASSERT_NE(-1, pid);
    if (pid == 0) {
      CxRunJournal journal;
      std::string strError;
      std::unique_ptr<CxKindAccess> pAccess = OpenKind(1);
      std::vector<FieldUpdateDef> defs = {TextDef(46, uoSet, "Chief"),
                                          TextDef(19, uoAppend, " Ltd")};
      CxList list;
      for (FieldUpdateDef& def : defs) list.Add(&def);
      CxUpdateRun run(pAccess->Kind(), &list);
      if (!journal.Open(m_strJournal, &strError) || !run.Begin(&journal, kItems, &strError))
        _exit(2);
      KillingWatcher watcher(journal, crashCase);
      pAccess->Accessor().SetSaveWatcher(&watcher);
      for (void* p = pAccess->Records()->GetFirst(); p; p = pAccess->Records()->GetNext())
        run.UpdateItem(p);
      _exit(3);  // it should not have lived this long
    }
    int nStatus = 0;
    ASSERT_EQ(pid, waitpid(pid, &nStatus, 0));
    ASSERT_TRUE(WIFSIGNALED(nStatus)) << "the run ended with " << WEXITSTATUS(nStatus);
    ASSERT_EQ(SIGKILL, WTERMSIG(nStatus));
  }
};

TEST_P(RunCrashTest, JournalAgreesWithTheStoreAndUndoRestoresIt) {
  const CrashCase& crashCase = GetParam();
  const int64_t nFolder = Folder(olstore::FolderKind::Contacts);
  std::vector<std::string> entryIDs;
  Seed([&] {
    for (int n = 0; n < kItems; ++n)
      entryIDs.push_back(Add(olstore::ItemKind::Contact, nFolder,
                             {{"FirstName", "Person " + std::to_string(n)},
                              {"JobTitle", std::string("Clerk")},
                              {"CompanyName", "Firm " + std::to_string(n % 7)}}));
  });
  const nlohmann::json before = Export();
  ASSERT_NO_FATAL_FAILURE(RunAndKill(crashCase));

  const std::vector<CxJournalRun> runs = m_Journal.ListRuns();
  ASSERT_EQ(1u, runs.size());
  std::vector<CxJournalItem> items;
  std::string strError;
  ASSERT_TRUE(m_Journal.LoadItems(runs[0].nID, &items, &strError)) << strError;
  ASSERT_EQ(static_cast<size_t>(crashCase.nItem + 1), items.size());

  // Each journaled item is as its state says; the one in doubt is either.
  int nPending = 0;
  for (size_t n = 0; n < items.size(); ++n) {
    const CxJournalItem& item = items[n];
    EXPECT_EQ(entryIDs[n], item.strEntryID);
    const olstore::ItemData stored = Stored(item.strEntryID);
    const std::string strTitle = stored.TextAt(olstore::FindProperty(stored.Info(), "JobTitle"));
    if (item.nState == jsSaved) {
      EXPECT_EQ("Chief", strTitle) << n;
    } else {
      ASSERT_EQ(jsPending, item.nState) << n;
      ++nPending;
      EXPECT_EQ(crashCase.nPoint == kpSaved ? "Chief" : "Clerk", strTitle) << n;
    }
  }
  EXPECT_EQ(crashCase.nPoint == kpMarked ? 0 : 1, nPending);
  // Items the run did not reach are as they were.
  for (size_t n = items.size(); n < entryIDs.size(); n += 97) {
    const olstore::ItemData stored = Stored(entryIDs[n]);
    EXPECT_EQ("Clerk", stored.TextAt(olstore::FindProperty(stored.Info(), "JobTitle"))) << n;
  }

  std::unique_ptr<CxKindAccess> pAccess = OpenKind(1);
  CxRunUndo undo(m_Journal, pAccess->Accessor());
  ASSERT_TRUE(undo.Load(runs[0].nID, &strError)) << strError;
  CxChangeReport report;
  ASSERT_TRUE(undo.Execute(&report, &strError)) << strError;
  EXPECT_EQ(0, report.CountItems(ioConflict) + report.CountItems(ioNotSaved))
      << report.CountsText();
  EXPECT_EQ(WithoutModificationTimes(before).dump(2), WithoutModificationTimes(Export()).dump(2));
}

INSTANTIATE_TEST_SUITE_P(KilledRun, RunCrashTest,
                         testing::Values(CrashCase{"BeforeTheFirstSave", 0, kpJournaled},
                                         CrashCase{"InTheMiddleDuringASave", kItems / 2, kpSaved},
                                         CrashCase{"InTheMiddleAfterASave", kItems / 2, kpMarked},
                                         CrashCase{"AtTheLastItem", kItems - 1, kpJournaled}),
                         [](const testing::TestParamInfo<CrashCase>& info) {
                           return std::string(info.param.szName);
                         });

}  // namespace
