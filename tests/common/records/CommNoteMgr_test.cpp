#include "common/records/CommNoteMgr.h"

#include <gtest/gtest.h>

#include <string>

#include "RecordTestUtil.h"
#include "support/AnsiCodePage.h"

namespace {

std::string Show(const NoteRecord& record, int32_t nKey, int nSize = 32768) {
  DisplayField field = {};
  field.nKey = nKey;
  std::string buf(static_cast<size_t>(nSize), 'x');
  EXPECT_TRUE(CommNoteMgr::DisplayText(&record, &field, buf.data(), nSize)) << nKey;
  return std::string(buf.c_str());
}

TEST(NoteDisplayFields, TableInOrder) {
  const char* const kNames[] = {"Color",         "Private",
                                "Subject",       "Note",
                                "Category",      "Creation Time",
                                "Last Modification Time", "Source",
                                "Status",        "ID(Integer)",
                                "ID(String)"};
  for (int i = 0; i < 11; ++i) {
    DisplayField field = {};
    ASSERT_TRUE(CommNoteMgr::DisplayFieldAt(i, &field));
    EXPECT_EQ(field.nKey, i);
    EXPECT_STREQ(field.szName, kNames[i]);
    ASSERT_TRUE(CommNoteMgr::FindDisplayField(i, &field));
    EXPECT_STREQ(field.szName, kNames[i]);
  }
  DisplayField field = {};
  EXPECT_FALSE(CommNoteMgr::DisplayFieldAt(11, &field));
  for (int32_t nKey : {11, -1}) EXPECT_FALSE(CommNoteMgr::FindDisplayField(nKey, &field)) << nKey;
}

TEST(NoteDisplayText, ColourTexts) {
  const struct {
    int32_t nColor;
    const char* szText;
  } kCases[] = {
      {0, "#000000"}, {3, "#000003"}, {4, "#000004"}, {0x123456, "#123456"}, {0xFFFFFF, "#ffffff"},
  };
  for (const auto& c : kCases) {
    auto image = MakeZeroed<NoteImage>();
    auto record = MakeZeroed<NoteRecord>();
    image->Color = c.nColor;
    ASSERT_TRUE(MakeRecord(image.get(), record.get()));
    EXPECT_EQ(record->Color, c.nColor);
    EXPECT_EQ(Show(*record, 0), c.szText);
  }
}

TEST(NoteDisplayText, EveryKey) {
  auto image = MakeZeroed<NoteImage>();
  auto record = MakeZeroed<NoteRecord>();
  strcpy(image->Subject, "Shopping");
  strcpy(image->Body, "Shopping\r\nmilk, bread");
  strcpy(image->Categories, "Home");
  image->Color = 1;
  image->CreationTime = MakeDate(2011, 4, 4, 12, 0, 0);
  image->LastModificationTime = MakeDate(2045, 12, 31, 23, 59, 58);
  ASSERT_TRUE(MakeRecord(image.get(), record.get()));
  EXPECT_EQ(record->SourceType, 3);
  EXPECT_EQ(record->Private, 0);
  EXPECT_EQ(record->Image, nullptr);
  const struct {
    int32_t nKey;
    const char* szText;
  } kCases[] = {
      {0, "#000001"},
      {1, "No"},
      {2, "Shopping"},
      {3, "Shopping\r\nmilk, bread"},
      {4, "Home"},
      {5, "04-04-2011 12:00:00"},
      {6, "12-31-2045 23:59:58"},
      {7, ""},
      {8, ""},
      {9, ""},
      {10, ""},
      {11, ""},
      {-1, ""},
  };
  for (const auto& c : kCases) EXPECT_EQ(Show(*record, c.nKey), c.szText) << "key " << c.nKey;
  record->Private = 1;
  EXPECT_EQ(Show(*record, 1), "Yes");
}

TEST(NoteDates, EmptyWhenThereIsNoDate) {
  const struct {
    const char* szName;
    DATE dtValue;
    DATE dtStored;
    const char* szText;
  } kCases[] = {
      {"Outlook's no date", kNoDate4501, 0.0, ""},
      {"after Outlook's no date", 1000000.0, 0.0, ""},
      {"zero", 0.0, 0.0, ""},
      {"day one", 1.0, 1.0, "12-31-1899 00:00:00"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.szName);
    auto image = MakeZeroed<NoteImage>();
    auto record = MakeZeroed<NoteRecord>();
    image->CreationTime = c.dtValue;
    image->LastModificationTime = c.dtValue;
    ASSERT_TRUE(MakeRecord(image.get(), record.get()));
    EXPECT_EQ(record->CreationTime, c.dtStored);
    EXPECT_EQ(record->LastModificationTime, c.dtStored);
    EXPECT_EQ(Show(*record, 5), c.szText);
    EXPECT_EQ(Show(*record, 6), c.szText);
  }
  // A date that reached the record some other way still shows nothing.
  auto record = MakeZeroed<NoteRecord>();
  record->CreationTime = kNoDate4501;
  EXPECT_EQ(Show(*record, 5), "");
}

TEST(NoteMakeRecord, TextCuts) {
  auto image = MakeZeroed<NoteImage>();
  auto record = MakeZeroed<NoteRecord>();
  const CutField kBody = {"Body", image->Body, sizeof(image->Body), record->Body};
  const CutField kSubject = {"Subject", image->Subject, sizeof(image->Subject), record->Subject};
  const CutField kCategories = {"Categories", image->Categories, sizeof(image->Categories),
                                record->Categories};
  CheckTextCuts(image.get(), record.get(),
                {
                    // The reader has already cut a 30 000-character body to the image's 20 479.
                    {&kBody, {"30 000 characters", 30000, "", 20478}},
                    {&kBody, {"two-byte character at the cut", 20477, "\xC3\xA9", 20477}},
                    {&kSubject, {"a full subject keeps 254", 255, "", 254}},
                    {&kSubject, {"three-byte character at the cut", 252, "\xE2\x82\xAC", 252}},
                    {&kCategories, {"a full field keeps 254", 255, "", 254}},
                    {&kCategories, {"two-byte character ending at the cut", 252, "\xC3\xA9", 254}},
                });
}

TEST(NoteDisplayText, SmallBuffersAndMissingArguments) {
  auto record = MakeZeroed<NoteRecord>();
  record->Color = 0xABCDEF;
  record->CreationTime = MakeDate(2011, 4, 4, 12, 0, 0);
  const struct {
    int32_t nKey;
    const char* szText;
  } kCases[] = {{0, "#abc"}, {5, "04-0"}, {1, "No"}};
  for (const auto& c : kCases) {
    DisplayField field = {c.nKey, ""};
    char buf[6];
    memset(buf, 'x', sizeof(buf));
    EXPECT_TRUE(CommNoteMgr::DisplayText(record.get(), &field, buf, 5));
    EXPECT_STREQ(buf, c.szText) << c.nKey;
    EXPECT_EQ(buf[5], 'x') << "wrote past the buffer";
  }
  DisplayField field = {2, ""};
  char untouched[16] = "untouched";
  EXPECT_FALSE(CommNoteMgr::DisplayText(nullptr, &field, untouched, sizeof(untouched)));
  EXPECT_FALSE(CommNoteMgr::DisplayText(record.get(), nullptr, untouched, sizeof(untouched)));
  EXPECT_FALSE(CommNoteMgr::DisplayText(record.get(), &field, nullptr, sizeof(untouched)));
  EXPECT_FALSE(CommNoteMgr::DisplayText(record.get(), &field, untouched, 0));
  EXPECT_STREQ(untouched, "untouched");
  auto image = MakeZeroed<NoteImage>();
  EXPECT_FALSE(MakeRecord(nullptr, record.get()));
  EXPECT_FALSE(MakeRecord(image.get(), nullptr));
}

}  // namespace
