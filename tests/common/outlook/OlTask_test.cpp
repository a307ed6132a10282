// The tasks accessor against a scripted Outlook: its read order, and the
// reminder's details written only while the reminder is on.
#include "common/outlook/OlTask.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/outlook/support/FakeOutlookTest.h"

namespace {

class OlTaskFakeTest : public FakeOutlookTest {
 protected:
  FakeObject* AddTask(bool bReminderSet) {
    FakeObject* pItem = m_pOutlook->AddItem(m_pOutlook->DefaultFolder(13), "T1");
    pItem->SetBool("ReminderSet", bReminderSet);
    pItem->SetText("Subject", "File taxes");
    pItem->SetText("ReminderSoundFile", "old.wav");
    return pItem;
  }
};

TEST_F(OlTaskFakeTest, ReadsEveryPropertyInOrder) {
  FakeObject* pItem = AddTask(true);
  OlTaskUtil util;
  const TaskImage* pImage = FirstImage(util);
  ASSERT_NE(pImage, nullptr);
  const std::vector<std::string> expected = {"get Body",
                                             "get CardData",
                                             "get Complete",
                                             "get DueDate",
                                             "get EntryID",
                                             "get Importance",
                                             "get IsRecurring",
                                             "get Mileage",
                                             "get Ordinal",
                                             "get PercentComplete",
                                             "get ReminderOverrideDefault",
                                             "get ReminderPlaySound",
                                             "get ReminderSet",
                                             "get ReminderSoundFile",
                                             "get ReminderTime",
                                             "get ResponseState",
                                             "get Role",
                                             "get Sensitivity",
                                             "get StartDate",
                                             "get Status",
                                             "get Subject",
                                             "get TeamTask",
                                             "get TotalWork",
                                             "get Categories",
                                             "get CreationTime",
                                             "get LastModificationTime"};
  EXPECT_EQ(Reads(pItem), expected);
  EXPECT_TRUE(pImage->ReminderSet);
  EXPECT_STREQ(pImage->Subject, "File taxes");
  EXPECT_STREQ(pImage->EntryID, "T1");
  EXPECT_STREQ(pImage->FolderName, "Tasks");
  EXPECT_STREQ(pImage->StoreID, FakeOutlook::kStoreID);
}

struct TaskWriteCase {
  const char* szName;
  bool bReminderRead;
  std::function<void(TaskImage&)> fnChange;
  std::vector<std::string> writes;  // before "Save()"
};

void MarkReminderDetails(TaskImage& im) {
  im.ReminderOverrideDefault = true;
  im.ReminderPlaySound = true;
  CopyText(im.ReminderSoundFile, sizeof(im.ReminderSoundFile), "new.wav");
  im.ReminderTime = 45000.25;
  for (TaskField f : {TaskField::ReminderTime, TaskField::ReminderSoundFile,
                      TaskField::ReminderPlaySound, TaskField::ReminderOverrideDefault}) {
    im.Changed.Set(f);
  }
}

const TaskWriteCase kWrites[] = {
    {"ReminderOffSkipsItsDetails",
     false,
     [](TaskImage& im) {
       MarkReminderDetails(im);
       im.Changed.Set(TaskField::Subject);
     },
     {"put Subject=\"File taxes\""}},
    {"ReminderTurnedOnWritesFlagThenDetails",
     false,
     [](TaskImage& im) {
       MarkReminderDetails(im);
       im.ReminderSet = true;
       im.Changed.Set(TaskField::ReminderSet);
     },
     {"put ReminderSet=true", "put ReminderOverrideDefault=true", "put ReminderPlaySound=true",
      "put ReminderSoundFile=\"new.wav\"", "put ReminderTime=45000.250000"}},
    {"ReminderAlreadyOnWritesDetailsOnly",
     true,
     MarkReminderDetails,
     {"put ReminderOverrideDefault=true", "put ReminderPlaySound=true",
      "put ReminderSoundFile=\"new.wav\"", "put ReminderTime=45000.250000"}},
    {"ReminderTurnedOffLeavesDetails",
     true,
     [](TaskImage& im) {
       MarkReminderDetails(im);
       im.ReminderSet = false;
       im.Changed.Set(TaskField::ReminderSet);
     },
     {"put ReminderSet=false"}},
    {"ValuesOfEveryKind",
     false,
     [](TaskImage& im) {
       im.Complete = true;
       im.DueDate = 45010.0;
       im.PercentComplete = 150;
       im.Status = 4;
       im.TeamTask = true;
       for (TaskField f : {TaskField::TeamTask, TaskField::Status, TaskField::PercentComplete,
                           TaskField::DueDate, TaskField::Complete}) {
         im.Changed.Set(f);
       }
     },
     {"put Complete=true", "put DueDate=45010.000000", "put PercentComplete=150", "put Status=4",
      "put TeamTask=true"}},
    {"IdsAndTimesNeverWritten",
     false,
     [](TaskImage& im) {
       for (TaskField f : {TaskField::EntryID, TaskField::StoreID, TaskField::FolderName,
                           TaskField::CreationTime, TaskField::LastModificationTime}) {
         im.Changed.Set(f);
       }
     },
     {}},
};

void PrintTo(const TaskWriteCase& c, std::ostream* pOut) { *pOut << c.szName; }

class OlTaskWriteTest : public OlTaskFakeTest, public testing::WithParamInterface<TaskWriteCase> {};

TEST_P(OlTaskWriteTest, WritesTheMarkedFieldsInOrder) {
  const TaskWriteCase& c = GetParam();
  FakeObject* pItem = AddTask(c.bReminderRead);
  OlTaskUtil util;
  TaskImage* pImage = FirstImage(util);
  ASSERT_NE(pImage, nullptr);
  c.fnChange(*pImage);
  EXPECT_TRUE(util.SaveItem(pImage));
  std::vector<std::string> expected = c.writes;
  expected.push_back("Save()");
  EXPECT_EQ(Writes(pItem), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, OlTaskWriteTest, testing::ValuesIn(kWrites),
                         [](const testing::TestParamInfo<TaskWriteCase>& info) {
                           return std::string(info.param.szName);
                         });

}  // namespace
