// The contacts accessor against a scripted Outlook: its reads, and how each
// kind of value travels when it is written.
#include "common/outlook/OlAddr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/outlook/support/FakeOutlookTest.h"

namespace {

class OlAddrFakeTest : public FakeOutlookTest {};

TEST_F(OlAddrFakeTest, ContactWritesDatesGenderAndTextsButNeverSuffixOrIds) {
  FakeObject* pItem = m_pOutlook->AddItem(m_pOutlook->DefaultFolder(10), "C1");
  pItem->SetLong("Gender", 2);
  pItem->SetDate("Birthday", 30000.0);
  OlAddrUtil util;
  AddrImage* pImage = FirstImage(util);
  ASSERT_NE(pImage, nullptr);
  EXPECT_EQ(pImage->Gender, 2);
  EXPECT_EQ(pImage->Birthday, 30000.0);
  // 81 reads: the class (a contact, not a list), the entry ID, 75 properties from Account to
  // WebPage, notes, times, categories.
  EXPECT_EQ(Reads(pItem).size(), 81u);
  EXPECT_EQ(Reads(pItem).front(), "get Class");
  EXPECT_EQ(Reads(pItem)[1], "get EntryID");
  EXPECT_EQ(Reads(pItem).back(), "get Categories");

  pImage->Gender = 1;
  pImage->Anniversary = 40000.0;
  pImage->Birthday = 0.0;  // no date: stays as stored
  CopyText(pImage->Suffix, sizeof(pImage->Suffix), "Jr.");
  for (AddrField f :
       {AddrField::Suffix, AddrField::Birthday, AddrField::Gender, AddrField::Anniversary,
        AddrField::EntryID, AddrField::StoreID, AddrField::FolderName}) {
    pImage->Changed.Set(f);
  }
  EXPECT_TRUE(util.SaveItem(pImage));
  EXPECT_EQ(Writes(pItem),
            (std::vector<std::string>{"put Anniversary=40000.000000", "put Gender=1", "Save()"}));
  EXPECT_EQ(pItem->Value("Birthday"), "30000.000000");
}

}  // namespace
