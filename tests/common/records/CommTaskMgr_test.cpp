#include "common/records/CommTaskMgr.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "RecordTestUtil.h"
#include "support/AnsiCodePage.h"

namespace {

std::string Show(const TaskRecord& record, int32_t nKey, int nSize = 1024) {
  DisplayField field = {};
  field.nKey = nKey;
  std::string buf(static_cast<size_t>(nSize), 'x');
  EXPECT_TRUE(CommTaskMgr::DisplayText(&record, &field, buf.data(), nSize)) << nKey;
  return std::string(buf.c_str());
}

TEST(TaskDisplayFields, TableInOrder) {
  const DisplayField kExpected[] = {
      {0, "Subject"},   {1, "Note"},    {7, "Category"}, {2, "Priority"},
      {3, "Completed"}, {4, "DueDate"}, {6, "Private"},  {5, "Alarm"},
  };
  for (int i = 0; i < 8; ++i) {
    DisplayField field = {};
    ASSERT_TRUE(CommTaskMgr::DisplayFieldAt(i, &field));
    EXPECT_EQ(field.nKey, kExpected[i].nKey) << i;
    EXPECT_STREQ(field.szName, kExpected[i].szName) << i;
    ASSERT_TRUE(CommTaskMgr::FindDisplayField(kExpected[i].nKey, &field));
    EXPECT_STREQ(field.szName, kExpected[i].szName);
  }
  DisplayField field = {};
  EXPECT_FALSE(CommTaskMgr::DisplayFieldAt(8, &field));
  for (int32_t nKey : {8, -1}) EXPECT_FALSE(CommTaskMgr::FindDisplayField(nKey, &field)) << nKey;
}

TEST(TaskRecordFields, PriorityFromImportance) {
  const struct {
    int32_t nImportance;
    int32_t nPriority;
    const char* szText;
  } kCases[] = {
      {1, 0, "Normal"}, {2, 1, "High"}, {0, 2, "Low"}, {7, 0, "Normal"}, {-1, 0, "Normal"}, {3, 0, "Normal"},
  };
  for (const auto& c : kCases) {
    auto image = MakeZeroed<TaskImage>();
    auto record = MakeZeroed<TaskRecord>();
    image->Importance = c.nImportance;
    ASSERT_TRUE(MakeRecord(image.get(), record.get()));
    EXPECT_EQ(record->Priority, c.nPriority) << c.nImportance;
    EXPECT_EQ(Show(*record, 2), c.szText) << c.nImportance;
  }
}

TEST(TaskRecordFields, PrivateFromSensitivity) {
  const struct {
    int32_t nSensitivity;
    int nPrivate;
    const char* szText;
  } kCases[] = {
      {0, 0, "No"}, {1, 1, "Yes"}, {2, 1, "Yes"}, {3, 1, "Yes"}, {4, 0, "No"}, {-1, 0, "No"},
  };
  for (const auto& c : kCases) {
    auto image = MakeZeroed<TaskImage>();
    auto record = MakeZeroed<TaskRecord>();
    image->Sensitivity = c.nSensitivity;
    ASSERT_TRUE(MakeRecord(image.get(), record.get()));
    EXPECT_EQ(record->Private, c.nPrivate) << c.nSensitivity;
    EXPECT_EQ(Show(*record, 6), c.szText) << c.nSensitivity;
  }
}

struct DueCase {
  const char* szName;
  DATE dtDue;
  bool bHasDue;
  const char* szText;
};

// Every real due date is shown, also before 2000 and after 2020 or 2038;
// "N/A" stands only for "no due date".
TEST(TaskDueDate, ShownWheneverThereIsOne) {
  const DueCase kCases[] = {
      {"15 March 2020", MakeDate(2020, 3, 15), true, "03/15/2020"},
      {"15 March 2021", MakeDate(2021, 3, 15), true, "03/15/2021"},
      {"in 2025", MakeDate(2025, 6, 30, 17, 0, 0), true, "06/30/2025"},
      {"after 2038", MakeDate(2040, 7, 4, 12, 0, 0), true, "07/04/2040"},
      {"in 1999", MakeDate(1999, 12, 31), true, "12/31/1999"},
      {"no due date (zero)", 0.0, false, "N/A"},
      {"Outlook's no date", kNoDate4501, false, "N/A"},
      {"after Outlook's no date", 1000000.0, false, "N/A"},
  };
  for (const DueCase& c : kCases) {
    SCOPED_TRACE(c.szName);
    auto image = MakeZeroed<TaskImage>();
    auto record = MakeZeroed<TaskRecord>();
    image->DueDate = c.dtDue;
    ASSERT_TRUE(MakeRecord(image.get(), record.get()));
    if (c.bHasDue) {
      EXPECT_NE(record->DueDate, kNoDueDate);
    } else {
      EXPECT_EQ(record->DueDate, kNoDueDate);
    }
    EXPECT_EQ(Show(*record, 4), c.szText);
    EXPECT_EQ(Show(*record, 4, 31), c.szText) << "the viewer's buffer";
  }
}

TEST(TaskDueDate, StoredAsSixtyFourBitTime) {
  auto image = MakeZeroed<TaskImage>();
  auto record = MakeZeroed<TaskRecord>();
  image->DueDate = MakeDate(2040, 7, 4, 12, 0, 0);
  ASSERT_TRUE(MakeRecord(image.get(), record.get()));
  EXPECT_GT(record->DueDate, int64_t{INT32_MAX}) << "a 2040 date must not wrap";

  struct tm tmLocal = {};
  tmLocal.tm_year = 2040 - 1900;
  tmLocal.tm_mon = 6;
  tmLocal.tm_mday = 4;
  tmLocal.tm_hour = 12;
  tmLocal.tm_isdst = -1;
  EXPECT_EQ(record->DueDate, static_cast<int64_t>(mktime(&tmLocal)));
}

TEST(TaskDueDate, TimesThatCannotBeShownGiveNA) {
  auto record = MakeZeroed<TaskRecord>();
  for (int64_t nDue : {kNoDueDate, INT64_MAX, INT64_MIN}) {
    record->DueDate = nDue;
    EXPECT_EQ(Show(*record, 4), "N/A") << nDue;
  }
}

TEST(TaskMakeRecord, TextCuts) {
  auto image = MakeZeroed<TaskImage>();
  auto record = MakeZeroed<TaskRecord>();
  const CutField kBody = {"Body", image->Body, sizeof(image->Body), record->Body};
  const CutField kCategories = {"Categories", image->Categories, sizeof(image->Categories),
                                record->Categories};
  const CutField kSubject = {"Subject", image->Subject, sizeof(image->Subject), record->Subject};
  CheckTextCuts(
      image.get(), record.get(),
      {
          {&kBody, {"9000 characters", 9000, "", 8191}},
          {&kBody, {"two-byte character at the cut", 8190, "\xC3\xA9", 8190}},
          {&kCategories, {"a full field keeps 254", 255, "", 254}},
          {&kCategories, {"two-byte character at the cut", 253, "\xC3\xA9", 253}},
          {&kCategories, {"three-byte character ending at the cut", 251, "\xE2\x82\xAC", 254}},
          {&kSubject, {"a full subject is kept whole", 255, "", 255}},
      });
}

TEST(TaskDisplayText, EveryKey) {
  auto image = MakeZeroed<TaskImage>();
  auto record = MakeZeroed<TaskRecord>();
  strcpy(image->Subject, "File the report");
  strcpy(image->Body, "Quarterly");
  strcpy(image->Categories, "Office");
  image->Complete = true;
  image->ReminderSet = false;
  image->Importance = 2;
  image->Sensitivity = 0;
  image->DueDate = MakeDate(2011, 3, 7, 9, 0, 0);
  ASSERT_TRUE(MakeRecord(image.get(), record.get()));
  EXPECT_EQ(record->SourceType, 3);
  EXPECT_EQ(record->Image, nullptr);
  const struct {
    int32_t nKey;
    const char* szText;
  } kCases[] = {
      {0, "File the report"}, {1, "Quarterly"}, {7, "Office"}, {2, "High"}, {3, "Yes"},
      {4, "03/07/2011"},      {6, "No"},        {5, "No"},     {8, ""},     {9, ""},
      {100, ""},              {-1, ""},
  };
  for (const auto& c : kCases) EXPECT_EQ(Show(*record, c.nKey), c.szText) << "key " << c.nKey;
  record->Complete = 0;
  record->ReminderSet = 1;
  EXPECT_EQ(Show(*record, 3), "No");
  EXPECT_EQ(Show(*record, 5), "Yes");
}

TEST(TaskDisplayText, SmallBuffersAndMissingArguments) {
  auto record = MakeZeroed<TaskRecord>();
  record->Priority = 0;
  DisplayField field = {2, ""};
  char buf[6];
  memset(buf, 'x', sizeof(buf));
  EXPECT_TRUE(CommTaskMgr::DisplayText(record.get(), &field, buf, 4));
  EXPECT_STREQ(buf, "Nor");
  EXPECT_EQ(buf[4], 'x');

  char untouched[16] = "untouched";
  EXPECT_FALSE(CommTaskMgr::DisplayText(nullptr, &field, untouched, sizeof(untouched)));
  EXPECT_FALSE(CommTaskMgr::DisplayText(record.get(), nullptr, untouched, sizeof(untouched)));
  EXPECT_FALSE(CommTaskMgr::DisplayText(record.get(), &field, nullptr, sizeof(untouched)));
  EXPECT_FALSE(CommTaskMgr::DisplayText(record.get(), &field, untouched, 0));
  EXPECT_STREQ(untouched, "untouched");
  auto image = MakeZeroed<TaskImage>();
  EXPECT_FALSE(MakeRecord(nullptr, record.get()));
  EXPECT_FALSE(MakeRecord(image.get(), nullptr));
}

}  // namespace
