#include "update/Qmoltask.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "update/support/ApplierCheck.h"

namespace {

#define FIELD(Member) QM_IMAGE_FIELD(TaskImage, TaskField, Member)

// The task catalogue in order: id, display name, description, type, maximum
// length and the image field the entry changes.
// clang-format off
const std::vector<ExpectedField> kTaskFields = {
    {22, "Subject", "Subject", ftString, 256, FIELD(Subject)},
    {1, "Note", "Note", ftString, 20480, FIELD(Body)},
    {3, "Completed", "Completed or Not", ftBoolean, 1, FIELD(Complete)},
    {4, "Due Date", "Due Date", ftDate, 8, FIELD(DueDate)},
    {20, "Start Date", "Start Date", ftDate, 8, FIELD(StartDate)},
    {21, "Status", "Status", ftEnumeration, 4, FIELD(Status)},
    {9, "Ordinal", "Ordinal", ftInteger, 4, FIELD(Ordinal)},
    {25, "Total Work", "Total Work", ftInteger, 4, FIELD(TotalWork)},
    {10, "Percent Complete", "Percent Complete", ftInteger, 4, FIELD(PercentComplete)},
    {6, "Importance", "Importance", ftEnumeration, 4, FIELD(Importance)},
    {19, "Sensitivity", "Sensitivity", ftEnumeration, 4, FIELD(Sensitivity)},
    {24, "Team Task", "Team Task or Not", ftBoolean, 1, FIELD(TeamTask)},
    {13, "Reminder Set", "Reminder Set", ftBoolean, 1, FIELD(ReminderSet)},
    {15, "Reminder Time", "Reminder Time", ftDateTime, 8, FIELD(ReminderTime)},
    {11, "Reminder Override Default", "Reminder Override Default", ftBoolean, 1, FIELD(ReminderOverrideDefault)},
    {12, "Reminder Play Sound", "Reminder Play Sound", ftBoolean, 1, FIELD(ReminderPlaySound)},
    {14, "Reminder Sound File", "Reminder Sound File", ftString, 260, FIELD(ReminderSoundFile)},
};
// clang-format on

const std::vector<ExpectedEnum> kTaskEnums = {
    {21, {0, 1, 2, 3, 4}, {"Not Started", "In Progress", "Complete", "Waiting", "Deferred"}},
    {6, {1, 0, 2}, {"Normal", "Low", "High"}},
    {19, {0, 1, 2, 3}, {"Normal", "Personal", "Private", "Confidential"}},
};

class TaskApplier : public testing::Test {
 protected:
  CxQMOLTaskUtil m_Applier;
};

TEST_F(TaskApplier, CatalogueMatchesTheFieldTable) {
  ExpectCatalogue<CxQMOLTaskUtil>(kTaskFields, kTaskEnums);
}

TEST_F(TaskApplier, EveryEntryChangesOnlyItsOwnField) {
  ExpectApplyEveryEntry<CxQMOLTaskUtil, TaskImage>(m_Applier, kTaskFields);
}

TEST_F(TaskApplier, TextRulesHoldOnEveryTextField) {
  ExpectTextRulesOnEveryString<CxQMOLTaskUtil, TaskImage>(m_Applier, kTaskFields);
}

TEST_F(TaskApplier, IdsOutsideTheCatalogueAreRefused) {
  ExpectRefusedIds<CxQMOLTaskUtil, TaskImage>(m_Applier, {0, 2, 5, 7, 8, 16, 17, 18, 23, 26, -1});
}

TEST_F(TaskApplier, ValueDefinitionsStoreTheirValue) {
  const std::vector<ValueCase> cases = {
      {21, 4, FIELD(Status), 4},               // "Deferred"
      {6, 0, FIELD(Importance), 0},            // "Low"
      {19, 2, FIELD(Sensitivity), 2},          // "Private"
      {10, 150, FIELD(PercentComplete), 150},  // not bounded
      {9, -3, FIELD(Ordinal), -3},
      {25, 480, FIELD(TotalWork), 480},
      {3, 0, FIELD(Complete), 0},  // "False(No)"
      {24, 1, FIELD(TeamTask), 1},
      {13, 1, FIELD(ReminderSet), 1},
      {11, 1, FIELD(ReminderOverrideDefault), 1},
      {12, 0, FIELD(ReminderPlaySound), 0},
  };
  ExpectValueCases<CxQMOLTaskUtil, TaskImage>(m_Applier, cases);
}

TEST_F(TaskApplier, CompletedLeavesStatusAndPercentAlone) {
  auto pImage = FilledImage<TaskImage>();
  pImage->Complete = true;
  pImage->Status = 2;
  pImage->PercentComplete = 100;
  FieldUpdateDef def = NewDef(3);
  def.bValue = 0;
  EXPECT_TRUE(m_Applier.Apply(pImage.get(), &def));
  EXPECT_FALSE(pImage->Complete);
  EXPECT_EQ(2, pImage->Status);
  EXPECT_EQ(100, pImage->PercentComplete);
}

TEST_F(TaskApplier, ReminderSetAndTimeInEitherOrder) {
  FieldUpdateDef reminderSet = NewDef(13);
  reminderSet.bValue = 1;
  FieldUpdateDef reminderTime = NewDef(15);
  reminderTime.nHasDate = 1;
  reminderTime.dtValue = 45001.375;
  const FieldUpdateDef* orders[][2] = {{&reminderSet, &reminderTime},
                                       {&reminderTime, &reminderSet}};
  for (const auto& order : orders) {
    auto pImage = FilledImage<TaskImage>();
    pImage->ReminderSet = false;
    for (const FieldUpdateDef* pDef : order) EXPECT_TRUE(m_Applier.Apply(pImage.get(), pDef));
    EXPECT_TRUE(pImage->ReminderSet);
    EXPECT_EQ(45001.375, pImage->ReminderTime);
    EXPECT_TRUE(pImage->Changed.Test(TaskField::ReminderSet));
    EXPECT_TRUE(pImage->Changed.Test(TaskField::ReminderTime));
  }
}

TEST_F(TaskApplier, AppendFillsTheSubjectToItsLastByte) {
  auto pStart = FilledImage<TaskImage>();
  PutText(*pStart, FIELD(Subject), std::string(250, 's'));
  auto pAfter = ApplyAndCheck(m_Applier, *pStart, FIELD(Subject), TextDef(22, uoAppend, " (done)"),
                              true, true);
  EXPECT_EQ(std::string(250, 's') + " (don", pAfter->Subject);
}

#undef FIELD

}  // namespace
