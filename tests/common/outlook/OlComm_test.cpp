// The shared Outlook connection against a scripted Outlook: starting once,
// use counting, giving counts back, and the ways a start or a folder fails.
#include "common/outlook/OlComm.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "common/outlook/support/FakeOutlookTest.h"

namespace {

// The four accessors, built in the wizard's order.
struct Accessors {
  std::unique_ptr<OlAddrUtil> pAddr{new OlAddrUtil};
  std::unique_ptr<OlDateUtil> pDate{new OlDateUtil};
  std::unique_ptr<OlTaskUtil> pTask{new OlTaskUtil};
  std::unique_ptr<OlNoteUtil> pNote{new OlNoteUtil};
};

const char* const kStartLines[] = {
    "Outlook automation started.",
    "Get Outlook.Application CLSID succeeded.",
    "CoCreateInstance succeeded.",
    "Microsoft Outlook started successfully.",
    "Got Outlook IDispatch interface successfully.",
    "Get Outlook MAPI namespace object successfully.",
    "Outlook Automation Succeeded.",
};

class OlConnectionTest : public FakeOutlookTest {};

TEST_F(OlConnectionTest, OutlookNotRegisteredEveryAccessorTriesTwice) {
  m_pOutlook.reset();  // nothing answers "Outlook.Application"
  {
    Accessors acc;
    EXPECT_FALSE(acc.pAddr->IsConnected());
    EXPECT_FALSE(acc.pDate->IsConnected());
    EXPECT_FALSE(acc.pTask->IsConnected());
    EXPECT_FALSE(acc.pNote->IsConnected());
    EXPECT_EQ(OlBaseUtil::GetUseCount(), 0u);
    EXPECT_FALSE(acc.pAddr->ReadItems());
    EXPECT_FALSE(acc.pNote->ReadItems());
    IDispatch* pItem = nullptr;
    EXPECT_FALSE(acc.pAddr->GetItemFromID("E1", "S1", &pItem));
  }
  EXPECT_EQ(m_env.Count("Can not get the CLSID of Outlook.Application, hr=0x800401f3", true), 8);
  EXPECT_EQ(m_env.Count("Outlook automation started.", false), 8);
  EXPECT_EQ(m_env.Count("Outlook Automation Succeeded.", false), 0);
}

TEST_F(OlConnectionTest, FourAccessorsStartOutlookOnce) {
  Accessors acc;
  EXPECT_EQ(OlBaseUtil::GetUseCount(), 8u);
  EXPECT_EQ(m_pOutlook->Creations(), 1);
  for (const char* szLine : kStartLines) EXPECT_EQ(m_env.Count(szLine, false), 1) << szLine;
  EXPECT_TRUE(acc.pAddr->IsConnected());
  EXPECT_TRUE(acc.pDate->IsConnected());
  EXPECT_TRUE(acc.pTask->IsConnected());
  EXPECT_TRUE(acc.pNote->IsConnected());
  EXPECT_EQ(m_env.Count("Get Outlook Calendar root folder successfully.", false), 1);
  // One namespace, and every default folder opened by its own accessor.
  EXPECT_EQ(FakeJournalOf("App"), std::vector<std::string>{"GetNameSpace(\"MAPI\")"});
  const std::vector<std::string> expected = {"GetDefaultFolder(10)", "GetDefaultFolder(9)",
                                             "GetDefaultFolder(13)", "GetDefaultFolder(12)"};
  EXPECT_EQ(FakeJournalOf("NameSpace"), expected);
}

TEST_F(OlConnectionTest, DestructionGivesCountsBackAndReleasesOnce) {
  const ULONG nAppRefsBefore = m_pOutlook->App()->RefCount();
  Accessors acc;
  EXPECT_GT(m_pOutlook->App()->RefCount(), nAppRefsBefore);
  acc.pAddr.reset();
  EXPECT_EQ(OlBaseUtil::GetUseCount(), 6u);
  acc.pDate.reset();
  EXPECT_EQ(OlBaseUtil::GetUseCount(), 4u);
  acc.pTask.reset();
  EXPECT_EQ(OlBaseUtil::GetUseCount(), 2u);
  // The notes accessor still holds Outlook's objects and can use them.
  EXPECT_GT(m_pOutlook->App()->RefCount(), nAppRefsBefore);
  EXPECT_TRUE(acc.pNote->ReadItems());
  acc.pNote.reset();
  EXPECT_EQ(OlBaseUtil::GetUseCount(), 0u);
  EXPECT_EQ(m_pOutlook->App()->RefCount(), nAppRefsBefore);
  EXPECT_EQ(m_pOutlook->NameSpace()->RefCount(), 1u);
  EXPECT_EQ(FakeObject::OverReleases(), 0);
}

TEST_F(OlConnectionTest, ReconnectsAfterTheLastAccessorLeft) {
  { OlAddrUtil addr; }
  OlTaskUtil task;
  EXPECT_TRUE(task.IsConnected());
  EXPECT_EQ(OlBaseUtil::GetUseCount(), 2u);
  EXPECT_EQ(m_pOutlook->Creations(), 2);
  EXPECT_TRUE(task.ReadItems());
}

// ---- A default folder that does not open ---------------------------------------------

TEST_F(OlConnectionTest, NotesFolderMissingMeansNotConnected) {
  m_pOutlook->MissFolder(12);
  OlAddrUtil addr;
  {
    OlNoteUtil note;
    EXPECT_FALSE(note.IsConnected());
    EXPECT_FALSE(note.ReadItems());
    EXPECT_EQ(note.GetContainer()->First(), nullptr);
    // It holds only the count of its base connection.
    EXPECT_EQ(OlBaseUtil::GetUseCount(), 3u);
  }
  // The missing folder was not logged.
  for (const LogLine& line : m_env.Log()) EXPECT_FALSE(line.bCritical) << line.strMessage;
  // Leaving gave back only what it held: the contacts accessor still works.
  EXPECT_EQ(OlBaseUtil::GetUseCount(), 2u);
  EXPECT_TRUE(addr.ReadItems());
}

struct FolderFailureCase {
  const char* szKind;
  int32_t nFolder;
  const char* szLogged;  // null: the failure is silent
};

const FolderFailureCase kFolderFailures[] = {
    {"contacts", 10, nullptr},
    {"calendar", 9, "Failed to call \"GetDefaultFolder\" method. hr=0x80004005"},
    {"tasks", 13, nullptr},
};

void PrintTo(const FolderFailureCase& c, std::ostream* pOut) { *pOut << c.szKind; }

class OlFolderFailureTest : public OlConnectionTest,
                            public testing::WithParamInterface<FolderFailureCase> {};

TEST_P(OlFolderFailureTest, ConnectedWithoutFolderReadsNothing) {
  const FolderFailureCase& c = GetParam();
  m_pOutlook->MissFolder(c.nFolder);
  Accessors acc;
  OlBaseUtil* pFailing = c.nFolder == 10  ? static_cast<OlBaseUtil*>(acc.pAddr.get())
                         : c.nFolder == 9 ? static_cast<OlBaseUtil*>(acc.pDate.get())
                                          : static_cast<OlBaseUtil*>(acc.pTask.get());
  EXPECT_TRUE(pFailing->IsConnected());
  EXPECT_FALSE(pFailing->ReadItems());
  EXPECT_EQ(OlBaseUtil::GetUseCount(), 7u);
  int nCritical = 0;
  for (const LogLine& line : m_env.Log()) nCritical += line.bCritical;
  if (c.szLogged) {
    EXPECT_EQ(m_env.Count(c.szLogged, true), 1);
    EXPECT_EQ(nCritical, 1);
  } else {
    EXPECT_EQ(nCritical, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, OlFolderFailureTest, testing::ValuesIn(kFolderFailures),
                         [](const testing::TestParamInfo<FolderFailureCase>& info) {
                           return std::string(info.param.szKind);
                         });

// ---- A start that fails half way ---------------------------------------------------------

TEST_F(OlConnectionTest, NamespaceRefusedReleasesWhatWasMade) {
  m_pOutlook->App()->Fail("GetNameSpace", DISPATCH_METHOD, E_ACCESSDENIED);
  {
    OlTaskUtil task;
    EXPECT_FALSE(task.IsConnected());
    EXPECT_EQ(OlBaseUtil::GetUseCount(), 0u);
  }
  EXPECT_EQ(
      m_env.Count("Failed to call Outlook.Application GetNameSpace method, hr=0x80070005", true),
      2);
  EXPECT_EQ(m_pOutlook->App()->RefCount(), 1u);
}

// ---- Fetching an item ------------------------------------------------------------------------

TEST_F(OlConnectionTest, GetItemFromIdPassesStoreFirstAndFindsTheRightStore) {
  const std::string strLongEntry(3000, 'E');
  m_pOutlook->AddItem(m_pOutlook->DefaultFolder(10), strLongEntry);
  FakeObject* pOther = m_pOutlook->AddFolder(nullptr, "Archive", "STORE-ARCHIVE");
  FakeObject* pArchived = m_pOutlook->AddItem(pOther, strLongEntry);
  std::string strLongStore(2000, 'S');
  FakeObject* pFar = m_pOutlook->AddFolder(nullptr, "Far", strLongStore);
  FakeObject* pFarItem = m_pOutlook->AddItem(pFar, "E2");

  OlAddrUtil addr;
  IDispatch* pItem = nullptr;
  ASSERT_TRUE(addr.GetItemFromID(strLongEntry.c_str(), "STORE-ARCHIVE", &pItem));
  EXPECT_EQ(pItem, static_cast<IDispatch*>(pArchived));
  pItem->Release();
  ASSERT_TRUE(addr.GetItemFromID("E2", strLongStore.c_str(), &pItem));
  EXPECT_EQ(pItem, static_cast<IDispatch*>(pFarItem));
  pItem->Release();
  const std::vector<std::string> calls = FakeJournalOf("NameSpace");
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "GetItemFromID(\"E2\", \"" + strLongStore + "\")");
}

struct MissingIdCase {
  const char* szName;
  const char* szEntry;
  const char* szStore;
};

const MissingIdCase kMissingIds[] = {
    {"EmptyStore", "E1", ""},
    {"NoStore", "E1", nullptr},
    {"EmptyEntry", "", FakeOutlook::kStoreID},
    {"NoEntry", nullptr, FakeOutlook::kStoreID},
};

TEST_F(OlConnectionTest, GetItemFromIdRefusesMissingIdsWithoutCallingOutlook) {
  m_pOutlook->AddItem(m_pOutlook->DefaultFolder(10), "E1");
  OlAddrUtil addr;
  FakeJournal().clear();
  for (const MissingIdCase& c : kMissingIds) {
    IDispatch* pItem = nullptr;
    EXPECT_FALSE(addr.GetItemFromID(c.szEntry, c.szStore, &pItem)) << c.szName;
    EXPECT_EQ(pItem, nullptr) << c.szName;
  }
  EXPECT_FALSE(addr.GetItemFromID("E1", FakeOutlook::kStoreID, nullptr));
  EXPECT_TRUE(FakeJournal().empty());
}

}  // namespace
