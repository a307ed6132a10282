// Reading and saving through the four accessors against a scripted Outlook:
// what reaches Outlook, in which order, and how every failure is reported.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/misc/CxText.h"
#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "common/outlook/support/FakeOutlookTest.h"

namespace {

// How a test changes the first image before saving it.
enum class Change {
  kSet,       // a new text, marked
  kMarkOnly,  // marked, text as read
  kNone,      // nothing marked
};

// One text property per kind that its catalogue lets the user change.
struct KindCase {
  const char* szKind;
  int32_t nFolder;
  const char* szProperty;
  const char* szItemsFailed;
  const char* szNameFailed;
  const char* szStoreFailed;  // null: not logged
  // Builds the accessor, reads, changes the first image and saves it: 1 saved,
  // 0 refused, -1 when there was nothing to save.
  int (*pfnSaveFirst)(Change nChange, const char* szText);
};

template <typename TUtil, typename TImage, size_t N, typename TField>
int SaveFirst(char (TImage::*pmText)[N], TField nField, Change nChange, const char* szText) {
  TUtil util;
  TImage* pImage = FirstImage(util);
  if (!pImage) return -1;
  if (nChange == Change::kSet) CopyText(pImage->*pmText, N, szText);
  if (nChange != Change::kNone) pImage->Changed.Set(nField);
  return util.SaveItem(pImage) ? 1 : 0;
}

const KindCase kKinds[] = {
    {"contacts", 10, "JobTitle",
     "Failed to get the \"Items\" property of the Contact folder. hr=0x80004005",
     "Failed to get the name of the Contact folder. hr=0x80004005",
     "Failed to get the StoreID of the Contact folder. hr=0x80004005",
     [](Change n, const char* sz) {
       return SaveFirst<OlAddrUtil>(&AddrImage::JobTitle, AddrField::JobTitle, n, sz);
     }},
    {"calendar", 9, "Location", "Failed to get Calendar Items property.",
     "Failed to get the name of the folder. hr=0x80004005",
     "Failed to get the StoreID of the Calendar folder. hr=0x80004005",
     [](Change n, const char* sz) {
       return SaveFirst<OlDateUtil>(&DateImage::Location, DateField::Location, n, sz);
     }},
    {"tasks", 13, "Subject",
     "Failed to get the \"Items\" property of the Task folder. hr=0x80004005",
     "Failed to get the name of the folder. hr=0x80004005", nullptr,
     [](Change n, const char* sz) {
       return SaveFirst<OlTaskUtil>(&TaskImage::Subject, TaskField::Subject, n, sz);
     }},
    {"notes", 12, "Categories",
     "Failed to get the \"Items\" property of the Notes folder. hr=0x80004005",
     "Failed to get the name of the folder. hr=0x80004005", nullptr,
     [](Change n, const char* sz) {
       return SaveFirst<OlNoteUtil>(&NoteImage::Categories, NoteField::Categories, n, sz);
     }},
};

void PrintTo(const KindCase& c, std::ostream* pOut) { *pOut << c.szKind; }

class KindSaveTest : public FakeOutlookTest, public testing::WithParamInterface<KindCase> {
 protected:
  FakeObject* AddItem(const std::string& strValue) {
    FakeObject* pItem = m_pOutlook->AddItem(m_pOutlook->DefaultFolder(GetParam().nFolder), "E1");
    pItem->SetText(GetParam().szProperty, strValue);
    return pItem;
  }
  std::string Put(const std::string& strValue) const {
    return std::string("put ") + GetParam().szProperty + "=\"" + strValue + "\"";
  }
};

TEST_P(KindSaveTest, WritesExactlyTheMarkedPropertyThenSaves) {
  FakeObject* pItem = AddItem("old");
  EXPECT_EQ(GetParam().pfnSaveFirst(Change::kSet, "new"), 1);
  EXPECT_EQ(Writes(pItem), (std::vector<std::string>{Put("new"), "Save()"}));
  EXPECT_EQ(pItem->Value(GetParam().szProperty), "\"new\"");
  EXPECT_EQ(m_env.Count("Failed to find the item by its EntryID.", true), 0);
}

TEST_P(KindSaveTest, AnEmptiedTextIsCleared) {
  FakeObject* pItem = AddItem("old");
  EXPECT_EQ(GetParam().pfnSaveFirst(Change::kSet, ""), 1);
  EXPECT_EQ(Writes(pItem), (std::vector<std::string>{Put(""), "Save()"}));
}

TEST_P(KindSaveTest, NothingMarkedOnlySaves) {
  FakeObject* pItem = AddItem("old");
  EXPECT_EQ(GetParam().pfnSaveFirst(Change::kNone, nullptr), 1);
  EXPECT_EQ(Writes(pItem), std::vector<std::string>{"Save()"});
}

TEST_P(KindSaveTest, ATextCutOnReadingIsNeverWrittenBack) {
  const std::string strLong(300, 'x');
  FakeObject* pItem = AddItem(strLong);
  EXPECT_EQ(GetParam().pfnSaveFirst(Change::kMarkOnly, nullptr), 0);
  EXPECT_TRUE(Writes(pItem).empty());
  EXPECT_EQ(pItem->Value(GetParam().szProperty), "\"" + strLong + "\"");
  EXPECT_EQ(m_env.Count(std::string("The property ") + GetParam().szProperty +
                            " was cut when it was read and is not written back.",
                        true),
            1);
}

TEST_P(KindSaveTest, AnItemDeletedMeanwhileFailsLogged) {
  FakeObject* pItem = AddItem("old");
  m_pOutlook->DeleteItem("E1");
  EXPECT_EQ(GetParam().pfnSaveFirst(Change::kSet, "new"), 0);
  EXPECT_TRUE(Writes(pItem).empty());
  EXPECT_EQ(m_env.Count("Failed to find the item by its EntryID.", true), 1);
}

TEST_P(KindSaveTest, AFailingPutFailsLoggedAndDoesNotSave) {
  FakeObject* pItem = AddItem("old");
  pItem->Fail(GetParam().szProperty, DISPATCH_PROPERTYPUT, E_FAIL);
  EXPECT_EQ(GetParam().pfnSaveFirst(Change::kSet, "new"), 0);
  EXPECT_EQ(Writes(pItem), std::vector<std::string>{Put("new") + " -> 0x80004005"});
  EXPECT_EQ(m_env.Count(std::string("Failed to put the property ") + GetParam().szProperty +
                            ", hr=0x80004005",
                        true),
            1);
}

TEST_P(KindSaveTest, AFailingSaveFailsLogged) {
  FakeObject* pItem = AddItem("old");
  pItem->Fail("Save", DISPATCH_METHOD, DISP_E_EXCEPTION);
  EXPECT_EQ(GetParam().pfnSaveFirst(Change::kSet, "new"), 0);
  EXPECT_EQ(Writes(pItem), (std::vector<std::string>{Put("new"), "Save() -> 0x80020009"}));
  EXPECT_EQ(m_env.Count("Failed to save the item, hr=0x80020009", true), 1);
}

// Outlook raises most failures as exceptions: the code and the words inside
// decide what the user is told, and whether the store was locked.
TEST(OlSaveItem, ReadsTheReasonOutOfOutlooksException) {
  struct Case {
    const char* szName;
    HRESULT scode;
    const char* szDescription;
    HRESULT nStatus;
    const char* szFailure;
  };
  const Case kCases[] = {
      {"locked store", static_cast<HRESULT>(0x8004010BL), "Cannot save.", kOlStoreBusy,
       "Outlook refused to save the item: the store is locked by another program, hr=0x8004010b"},
      {"other failure", E_ACCESSDENIED, "You do not have permission.", E_ACCESSDENIED,
       "Outlook refused to save the item: You do not have permission., hr=0x80070005"},
      {"no words", E_FAIL, "", E_FAIL, "Outlook refused to save the item, hr=0x80004005"},
      {"no code", S_OK, "Cannot save.", DISP_E_EXCEPTION,
       "Outlook refused to save the item: Cannot save., hr=0x80020009"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    FakeObject* pItem = new FakeObject("item");
    pItem->AcceptAnyMember();
    pItem->Raise("Save", c.scode, c.szDescription);
    CDispCmd item(pItem);
    pItem->Release();
    std::string strFailure;
    HRESULT nStatus = S_OK;
    EXPECT_FALSE(OlSaveItem(item, &strFailure, &nStatus));
    EXPECT_EQ(nStatus, c.nStatus);
    EXPECT_EQ(strFailure, c.szFailure);
  }
}

TEST_P(KindSaveTest, ItemsMissingEndsTheFolderWithoutItsSubfolders) {
  FakeObject* pRoot = m_pOutlook->DefaultFolder(GetParam().nFolder);
  m_pOutlook->AddItem(pRoot, "E1");
  FakeObject* pSub = m_pOutlook->AddFolder(pRoot, "Sub");
  m_pOutlook->AddItem(pSub, "E2");
  pRoot->Fail("Items", DISPATCH_PROPERTYGET, E_FAIL);
  EXPECT_EQ(GetParam().pfnSaveFirst(Change::kSet, "new"), -1);
  EXPECT_EQ(m_env.Count(GetParam().szItemsFailed, true), 1);
  for (const std::string& strLine : FakeJournalOf(pRoot->Label()))
    EXPECT_NE(strLine, "get Folders");
  EXPECT_TRUE(FakeJournalOf(pSub->Label()).empty());
}

TEST_P(KindSaveTest, FolderNameMissingStillReadsItsItems) {
  FakeObject* pItem = AddItem("old");
  m_pOutlook->DefaultFolder(GetParam().nFolder)->Fail("Name", DISPATCH_PROPERTYGET, E_FAIL);
  EXPECT_EQ(GetParam().pfnSaveFirst(Change::kSet, "new"), 1);
  EXPECT_EQ(m_env.Count(GetParam().szNameFailed, true), 1);
  EXPECT_EQ(pItem->Value(GetParam().szProperty), "\"new\"");
}

TEST_P(KindSaveTest, StoreIdMissingMakesItemsUnsavable) {
  FakeObject* pItem = AddItem("old");
  m_pOutlook->DefaultFolder(GetParam().nFolder)->Fail("StoreID", DISPATCH_PROPERTYGET, E_FAIL);
  EXPECT_EQ(GetParam().pfnSaveFirst(Change::kSet, "new"), 0);
  if (GetParam().szStoreFailed) {
    EXPECT_EQ(m_env.Count(GetParam().szStoreFailed, true), 1);
  }
  EXPECT_EQ(m_env.Count("Failed to find the item by its EntryID.", true), 1);
  EXPECT_TRUE(Writes(pItem).empty());
  for (const std::string& strLine : FakeJournalOf("NameSpace")) {
    EXPECT_EQ(strLine.find("GetItemFromID"), std::string::npos);
  }
}

TEST_P(KindSaveTest, SubfoldersNotWalkedUnlessAsked) {
  FakeObject* pRoot = m_pOutlook->DefaultFolder(GetParam().nFolder);
  FakeObject* pSub = m_pOutlook->AddFolder(pRoot, "Sub");
  FakeObject* pDeep = m_pOutlook->AddFolder(pSub, "Deep");
  FakeObject* pItem = m_pOutlook->AddItem(pDeep, "E9");
  pItem->SetText(GetParam().szProperty, "old");
  // Without subfolders the folder's own (empty) item list is all there is.
  EXPECT_EQ(GetParam().pfnSaveFirst(Change::kSet, "new"), -1);
  for (const std::string& strLine : FakeJournalOf(pRoot->Label()))
    EXPECT_NE(strLine, "get Folders");
  EXPECT_TRUE(FakeJournalOf(pSub->Label()).empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, KindSaveTest, testing::ValuesIn(kKinds),
                         [](const testing::TestParamInfo<KindCase>& info) {
                           return std::string(info.param.szKind);
                         });

}  // namespace
