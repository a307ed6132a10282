// A read that stops early says so: the four accessors over a store damaged on
// purpose keep the items read before the damage, answer false and tell why,
// and a scripted Outlook that fails a step without a reason still gets one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "common/outlook/support/FakeOutlookTest.h"
#include "common/outlook/support/StoreOutlookTest.h"
#include "support/DamagedStore.h"

namespace {

using olstore::FolderKind;
using olstore::ItemKind;

// Enough items for the items' b-tree to have many leaves.
constexpr int kItems = 300;

struct Outcome {
  bool bRead = false;
  std::string strFailure;
  std::vector<std::string> entryIds;  // of the records kept, in folder order
};

template <typename TUtil>
Outcome ReadWith() {
  TUtil util;
  util.SetIncludeSubfolders(true);
  Outcome outcome;
  outcome.bRead = util.ReadItems();
  outcome.strFailure = util.GetReadFailure();
  for (auto* pRecord = util.GetContainer()->First(); pRecord; pRecord = util.GetContainer()->Next())
    outcome.entryIds.push_back(pRecord->Image->EntryID);
  return outcome;
}

struct KindCase {
  const char* szKind;
  ItemKind nItemKind;
  FolderKind nFolderKind;
  const char* szFolder;
  const char* szTitle;  // a text property to tell the items apart
  StoreValues values;   // what every item of the kind needs besides
  Outcome (*pfnRead)();
};

const KindCase kKinds[] = {
    {"contacts",
     ItemKind::Contact,
     FolderKind::Contacts,
     "Contacts",
     "LastName",
     {},
     &ReadWith<OlAddrUtil>},
    {"calendar",
     ItemKind::Appointment,
     FolderKind::Calendar,
     "Calendar",
     "Subject",
     {{"Start", 45000.375}, {"End", 45000.40625}},
     &ReadWith<OlDateUtil>},
    {"tasks", ItemKind::Task, FolderKind::Tasks, "Tasks", "Subject", {}, &ReadWith<OlTaskUtil>},
    {"notes", ItemKind::Note, FolderKind::Notes, "Notes", "Body", {}, &ReadWith<OlNoteUtil>},
};

void PrintTo(const KindCase& c, std::ostream* pOut) { *pOut << c.szKind; }

class DamagedStoreReadTest : public StoreOutlookTest,
                             public testing::WithParamInterface<KindCase> {};

TEST_P(DamagedStoreReadTest, KeepsTheItemsBeforeTheDamageAndSaysWhy) {
  const KindCase& c = GetParam();
  std::vector<std::string> ids;
  const int64_t nFolder = Folder(c.nFolderKind);
  // The subfolder's item lies past the damage: a walk that went on would reach it.
  const int64_t nSubfolder = Folder(c.nFolderKind, {"Later"});
  const auto fnValues = [&c](const std::string& strTitle) {
    StoreValues values = c.values;
    values.emplace_back(c.szTitle, strTitle);
    return values;
  };
  Seed([&] {
    for (int i = 0; i < kItems; ++i)
      ids.push_back(Add(c.nItemKind, nFolder, fnValues("Item " + std::to_string(i))));
    Add(c.nItemKind, nSubfolder, fnValues("Past the damage"));
  });
  CloseStore();
  ASSERT_TRUE(damage::DamageMiddleOf(StorePath(), "items"));
  const std::string strUntouched = damage::FileAndLog(StorePath());

  const Outcome outcome = c.pfnRead();
  const std::string strWhy = "the store is damaged (database disk image is malformed)";
  EXPECT_FALSE(outcome.bRead);
  EXPECT_EQ(outcome.strFailure, strWhy);
  EXPECT_GT(outcome.entryIds.size(), 0u);
  EXPECT_LT(outcome.entryIds.size(), ids.size());
  ids.resize(std::min(ids.size(), outcome.entryIds.size()));
  EXPECT_EQ(outcome.entryIds, ids);
  EXPECT_EQ(m_env.Count(std::string("Reading the items of the folder ") + c.szFolder +
                            " stopped early: " + strWhy,
                        true),
            1);
  EXPECT_EQ(damage::FileAndLog(StorePath()), strUntouched);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedStoreReadTest, testing::ValuesIn(kKinds),
                         [](const testing::TestParamInfo<KindCase>& info) {
                           return std::string(info.param.szKind);
                         });

using ReadStopTest = FakeOutlookTest;

TEST_F(ReadStopTest, AStepFailedWithoutAReasonIsToldByItsStatus) {
  FakeObject* pFolder = m_pOutlook->DefaultFolder(10);
  FakeObject* pFirst = m_pOutlook->AddItem(pFolder, "E1");
  m_pOutlook->AddItem(pFolder, "E2");
  auto* pItems = new FakeObject("Items:Failing");
  pItems->SetMethod("GetFirst", [pFirst](const std::vector<VARIANT>&, VARIANT* pResult) {
    pFirst->AddRef();
    pResult->vt = VT_DISPATCH;
    pResult->pdispVal = pFirst;
    return S_OK;
  });
  pItems->Fail("GetNext", DISPATCH_METHOD, E_FAIL);
  pFolder->SetObject("Items", pItems);
  pItems->Release();

  const Outcome outcome = ReadWith<OlAddrUtil>();
  EXPECT_FALSE(outcome.bRead);
  EXPECT_EQ(outcome.strFailure, "Outlook refused to go on (hr=0x80004005)");
  EXPECT_EQ(outcome.entryIds, std::vector<std::string>{"E1"});
}

}  // namespace
