#include "update/Qmoldate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "update/support/ApplierCheck.h"

namespace {

#define FIELD(Member) QM_IMAGE_FIELD(DateImage, DateField, Member)

// The calendar catalogue in order: id, display name, description, type, maximum
// length and the image field the entry changes.
// clang-format off
const std::vector<ExpectedField> kDateFields = {
    {1, "All Day Event", "All Day Event", ftBoolean, 1, FIELD(AllDayEvent)},
    {2, "Busy Status", "Busy Status", ftEnumeration, 4, FIELD(BusyStatus)},
    {25, "Start Time", "Start Time", ftDateTime, 8, FIELD(Start)},
    {4, "End Time", "End Time", ftDateTime, 8, FIELD(End)},
    {26, "Subject", "Subject", ftString, 256, FIELD(Subject)},
    {28, "Note", "Note", ftString, 20480, FIELD(Body)},
    {5, "Importance", "Importance", ftEnumeration, 4, FIELD(Importance)},
    {24, "Sensitivity", "Sensitivity", ftEnumeration, 4, FIELD(Sensitivity)},
    {7, "Location", "Location", ftString, 256, FIELD(Location)},
    {19, "Reminder Set", "Reminder Set", ftBoolean, 4, FIELD(ReminderSet)},
    {17, "Reminder Override Default", "Reminder Override Default", ftBoolean, 4, FIELD(ReminderOverrideDefault)},
    {16, "Reminder Minutes Before Start", "Reminder Minutes Before Start", ftInteger, 4, FIELD(ReminderMinutesBeforeStart)},
    {18, "Reminder Play Sound", "Reminder Play Sound or Not", ftBoolean, 4, FIELD(ReminderPlaySound)},
    {20, "Reminder Sound File", "Reminder Sound File", ftString, 260, FIELD(ReminderSoundFile)},
};
// clang-format on

const std::vector<ExpectedEnum> kDateEnums = {
    {2, {0, 1, 2, 3}, {"Free", "Tentative", "Busy", "Out Of Office"}},
    {5, {1, 0, 2}, {"Normal", "Low", "High"}},
    {24, {0, 1, 2, 3}, {"Normal", "Personal", "Private", "Confidential"}},
};

class DateApplier : public testing::Test {
 protected:
  CxQMOLDateUtil m_Applier;
};

TEST_F(DateApplier, CatalogueMatchesTheFieldTable) {
  ExpectCatalogue<CxQMOLDateUtil>(kDateFields, kDateEnums);
}

TEST_F(DateApplier, EveryEntryChangesOnlyItsOwnField) {
  ExpectApplyEveryEntry<CxQMOLDateUtil, DateImage>(m_Applier, kDateFields);
}

TEST_F(DateApplier, TextRulesHoldOnEveryTextField) {
  ExpectTextRulesOnEveryString<CxQMOLDateUtil, DateImage>(m_Applier, kDateFields);
}

TEST_F(DateApplier, IdsOutsideTheCatalogueAreRefused) {
  ExpectRefusedIds<CxQMOLDateUtil, DateImage>(m_Applier, {3, 32, 0, -1, 6, 8, 21, 27, 29});
}

TEST_F(DateApplier, ValueDefinitionsStoreTheirValue) {
  const std::vector<ValueCase> cases = {
      {5, 2, FIELD(Importance), 2},    // "High"
      {2, 3, FIELD(BusyStatus), 3},    // "Out Of Office"
      {24, 3, FIELD(Sensitivity), 3},  // "Confidential"
      {16, 15, FIELD(ReminderMinutesBeforeStart), 15},
      {1, 1, FIELD(AllDayEvent), 1},  // "True(Yes)"
      {1, 0, FIELD(AllDayEvent), 0},
      {19, 1, FIELD(ReminderSet), 1},
      {17, 0, FIELD(ReminderOverrideDefault), 0},
      {18, 1, FIELD(ReminderPlaySound), 1},
  };
  ExpectValueCases<CxQMOLDateUtil, DateImage>(m_Applier, cases);
}

TEST_F(DateApplier, SubjectAndNoteAreReplacedWhole) {
  auto pStart = FilledImage<DateImage>();
  PutText(*pStart, FIELD(Subject), "Team meeting");
  auto pAfter = ApplyAndCheck(m_Applier, *pStart, FIELD(Subject),
                              TextDef(26, uoSet, "Weekly review"), true, true);
  EXPECT_STREQ("Weekly review", pAfter->Subject);

  pStart->RecurrenceType = 1;
  pStart->Interval = 2;
  PutText(*pStart, FIELD(Body), "agenda");
  FieldUpdateDef note = TextDef(28, uoSet, "");
  memset(note.szValue, 'n', 255);
  pAfter = ApplyAndCheck(m_Applier, *pStart, FIELD(Body), note, true, true);
  EXPECT_EQ(std::string(255, 'n'), pAfter->Body);
  EXPECT_EQ(1, pAfter->RecurrenceType);
  EXPECT_EQ(2, pAfter->Interval);
}

TEST_F(DateApplier, StartTimeKeepsTheTimeOfDay) {
  auto pStart = FilledImage<DateImage>();
  FieldUpdateDef def = NewDef(25);
  def.nHasDate = 1;
  def.dtValue = 45000.0 + 14.5 / 24;  // 14:30
  auto pAfter = ApplyAndCheck(m_Applier, *pStart, FIELD(Start), def, true, true);
  EXPECT_EQ(def.dtValue, pAfter->Start);
}

#undef FIELD

}  // namespace
