// The notes accessor against a scripted Outlook: its read order, and which of
// the marked fields it may write.
#include "common/outlook/OlNote.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/outlook/support/FakeOutlookTest.h"

namespace {

class OlNoteFakeTest : public FakeOutlookTest {};

TEST_F(OlNoteFakeTest, ReadsInOrderAndWritesOnlyBodyCategoriesAndColour) {
  FakeObject* pItem = m_pOutlook->AddItem(m_pOutlook->DefaultFolder(12), "N1");
  pItem->SetText("Body", "Call Ann\nabout the roof");
  pItem->SetLong("Color", 3);
  pItem->SetBool("Saved", true);
  OlNoteUtil util;
  NoteImage* pImage = FirstImage(util);
  ASSERT_NE(pImage, nullptr);
  EXPECT_EQ(Reads(pItem),
            (std::vector<std::string>{"get EntryID", "get Subject", "get Body", "get Categories",
                                      "get CreationTime", "get LastModificationTime", "get Saved",
                                      "get Color"}));
  EXPECT_EQ(pImage->Color, 3);
  EXPECT_TRUE(pImage->Saved);
  EXPECT_STREQ(pImage->Body, "Call Ann\nabout the roof");

  pImage->Color = 4;
  CopyText(pImage->Subject, sizeof(pImage->Subject), "ignored");
  for (NoteField f : {NoteField::Subject, NoteField::Saved, NoteField::EntryID,
                      NoteField::CreationTime, NoteField::Color, NoteField::Body}) {
    pImage->Changed.Set(f);
  }
  EXPECT_TRUE(util.SaveItem(pImage));
  EXPECT_EQ(Writes(pItem), (std::vector<std::string>{"put Body=\"Call Ann\nabout the roof\"",
                                                     "put Color=4", "Save()"}));
}

}  // namespace
