// The calendar accessor against a scripted Outlook: its read order with the
// recurrence pattern, and which marked fields reach the appointment and its
// pattern, in which order.
#include "common/outlook/OlDate.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/outlook/support/FakeOutlookTest.h"

namespace {

class OlDateFakeTest : public FakeOutlookTest {
 protected:
  FakeObject* AddAppointment(bool bRecurring) {
    FakeObject* pItem = m_pOutlook->AddItem(m_pOutlook->DefaultFolder(9), "A1");
    pItem->SetBool("IsRecurring", bRecurring);
    pItem->SetText("Subject", "Review");
    pItem->SetDate("Start", 45000.5);
    pItem->SetDate("End", 45000.625);
    pItem->SetLong("Duration", 180);
    return pItem;
  }
  // A pattern object that "GetRecurrencePattern" hands out.
  FakeObject* AddPattern(FakeObject* pItem) {
    m_pPattern = new FakeObject("Pattern");
    m_pPattern->AcceptAnyMember();
    m_pPattern->SetLong("RecurrenceType", 1);
    m_pPattern->SetLong("Interval", 2);
    m_pPattern->SetLong("DayOfWeekMask", 4);
    m_pPattern->SetDate("PatternEndDate", 45100.0);
    pItem->SetMethod("GetRecurrencePattern", [this](const std::vector<VARIANT>&, VARIANT* pResult) {
      pResult->vt = VT_DISPATCH;
      pResult->pdispVal = m_pPattern;
      m_pPattern->AddRef();
      return S_OK;
    });
    return m_pPattern;
  }
  void TearDown() override {
    if (m_pPattern) m_pPattern->Release();
    FakeOutlookTest::TearDown();
  }

  FakeObject* m_pPattern = nullptr;
};

const std::vector<std::string> kReadsBeforePattern = {
    "get EntryID", "get AllDayEvent", "get Duration",     "get End",
    "get Start",   "get ReminderSet", "get ReminderTime", "get Subject",
    "get Body",    "get Location",    "get Categories",   "get IsRecurring"};
const std::vector<std::string> kReadsAfterPattern = {"get CreationTime",
                                                     "get LastModificationTime",
                                                     "get BusyStatus",
                                                     "get Importance",
                                                     "get Sensitivity",
                                                     "get ReminderMinutesBeforeStart",
                                                     "get ReminderOverrideDefault",
                                                     "get ReminderPlaySound",
                                                     "get ReminderSoundFile"};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(OlDateFakeTest, PlainAppointmentReadsNoPattern) {
  FakeObject* pItem = AddAppointment(false);
  OlDateUtil util;
  const DateImage* pImage = FirstImage(util);
  ASSERT_NE(pImage, nullptr);
  EXPECT_EQ(Reads(pItem), Join(kReadsBeforePattern, kReadsAfterPattern));
  EXPECT_EQ(pImage->RecurrenceType, -1);
  EXPECT_STREQ(pImage->Subject, "Review");
  EXPECT_EQ(pImage->Duration, 180);
  EXPECT_EQ(util.GetContainer()->First()->RecurrenceKind, rkNone);
}

TEST_F(OlDateFakeTest, RecurringAppointmentReadsItsPatternBetween) {
  FakeObject* pItem = AddAppointment(true);
  FakeObject* pPattern = AddPattern(pItem);
  OlDateUtil util;
  const DateImage* pImage = FirstImage(util);
  ASSERT_NE(pImage, nullptr);
  EXPECT_EQ(Reads(pItem),
            Join(Join(kReadsBeforePattern, {"GetRecurrencePattern()"}), kReadsAfterPattern));
  EXPECT_EQ(Reads(pPattern),
            (std::vector<std::string>{"get RecurrenceType", "get Interval", "get DayOfWeekMask",
                                      "get DayOfMonth", "get Instance", "get MonthOfYear",
                                      "get PatternEndDate"}));
  EXPECT_EQ(pImage->RecurrenceType, 1);
  EXPECT_EQ(pImage->Interval, 2);
  EXPECT_EQ(pImage->DayOfWeekMask, 4);
  EXPECT_EQ(pImage->PatternEndDate, 45100.0);
  EXPECT_EQ(util.GetContainer()->First()->RecurrenceKind, rkWeekly);
}

TEST_F(OlDateFakeTest, RecurringAppointmentWithoutPatternReadsAsDaily) {
  FakeObject* pItem = AddAppointment(true);
  pItem->Fail("GetRecurrencePattern", DISPATCH_METHOD, E_FAIL);
  OlDateUtil util;
  const DateImage* pImage = FirstImage(util);
  ASSERT_NE(pImage, nullptr);
  EXPECT_EQ(pImage->RecurrenceType, 0);
  EXPECT_EQ(pImage->Interval, 0);
  EXPECT_EQ(util.GetContainer()->First()->RecurrenceKind, rkDaily);
}

// ---- What a save writes ------------------------------------------------------------------

struct DateWriteCase {
  const char* szName;
  bool bRecurring;
  std::function<void(DateImage&)> fnChange;
  std::vector<std::string> itemWrites;  // before "Save()"
  std::vector<std::string> patternWrites;
};

void Mark(DateImage& image, std::initializer_list<DateField> fields) {
  for (DateField f : fields) image.Changed.Set(f);
}

const DateWriteCase kWrites[] = {
    {"StartKeepsDuration",
     false,
     [](DateImage& im) {
       im.Start = 45001.5;
       Mark(im, {DateField::Start});
     },
     {"put Start=45001.500000"},
     {}},
    {"EndAfterStartWithoutDuration",
     false,
     [](DateImage& im) {
       im.Start = 45001.5;
       im.End = 45001.75;
       im.Duration = 999;
       Mark(im, {DateField::End, DateField::Start, DateField::Duration});
     },
     {"put Start=45001.500000", "put End=45001.750000"},
     {}},
    {"DurationWithoutEnd",
     false,
     [](DateImage& im) {
       im.Duration = 30;
       Mark(im, {DateField::Start, DateField::Duration});
     },
     {"put Duration=30", "put Start=45000.500000"},
     {}},
    {"CatalogueExtrasInOrder",
     false,
     [](DateImage& im) {
       im.BusyStatus = 3;
       im.Importance = 2;
       im.Sensitivity = 1;
       im.ReminderMinutesBeforeStart = 15;
       im.ReminderOverrideDefault = 1;
       im.ReminderPlaySound = 7;  // any non-zero flag is true
       CopyText(im.ReminderSoundFile, sizeof(im.ReminderSoundFile), "chime.wav");
       im.AllDayEvent = true;
       Mark(im, {DateField::ReminderSoundFile, DateField::ReminderPlaySound,
                 DateField::ReminderOverrideDefault, DateField::ReminderMinutesBeforeStart,
                 DateField::Sensitivity, DateField::Importance, DateField::BusyStatus,
                 DateField::AllDayEvent});
     },
     {"put AllDayEvent=true", "put BusyStatus=3", "put Importance=2", "put Sensitivity=1",
      "put ReminderMinutesBeforeStart=15", "put ReminderOverrideDefault=true",
      "put ReminderPlaySound=true", "put ReminderSoundFile=\"chime.wav\""},
     {}},
    {"ReadOnlyFieldsNeverWritten",
     false,
     [](DateImage& im) {
       Mark(im, {DateField::EntryID, DateField::StoreID, DateField::IsRecurring,
                 DateField::FolderName, DateField::CreationTime, DateField::LastModificationTime});
     },
     {},
     {}},
    {"NoDateIsNotWritten",
     false,
     [](DateImage& im) {
       im.Start = 0.0;
       im.End = 949998.0;
       im.ReminderTime = 0.000001;
       Mark(im, {DateField::Start, DateField::End, DateField::ReminderTime});
     },
     {},
     {}},
    {"PatternFieldsGoToThePattern",
     true,
     [](DateImage& im) {
       im.Interval = 3;
       im.DayOfMonth = 0;  // marked but 0: says nothing
       Mark(im, {DateField::Interval, DateField::DayOfMonth, DateField::Subject});
     },
     {"put Subject=\"Review\""},
     {"put Interval=3"}},
    {"PatternOfPlainAppointmentUntouched",
     false,
     [](DateImage& im) {
       im.Interval = 3;
       Mark(im, {DateField::Interval});
     },
     {},
     {}},
};

void PrintTo(const DateWriteCase& c, std::ostream* pOut) { *pOut << c.szName; }

class OlDateWriteTest : public OlDateFakeTest, public testing::WithParamInterface<DateWriteCase> {};

TEST_P(OlDateWriteTest, WritesTheMarkedFieldsInOrder) {
  const DateWriteCase& c = GetParam();
  FakeObject* pItem = AddAppointment(c.bRecurring);
  FakeObject* pPattern = AddPattern(pItem);
  OlDateUtil util;
  DateImage* pImage = FirstImage(util);
  ASSERT_NE(pImage, nullptr);
  c.fnChange(*pImage);
  FakeJournal().clear();
  EXPECT_TRUE(util.SaveItem(pImage));
  std::vector<std::string> expected = c.itemWrites;
  expected.push_back("Save()");
  EXPECT_EQ(Writes(pItem), expected);
  EXPECT_EQ(Writes(pPattern), c.patternWrites);
  bool bPatternFetched = false;
  for (const std::string& strLine : Reads(pItem))
    bPatternFetched |= strLine == "GetRecurrencePattern()";
  EXPECT_EQ(bPatternFetched, !c.patternWrites.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, OlDateWriteTest, testing::ValuesIn(kWrites),
                         [](const testing::TestParamInfo<DateWriteCase>& info) {
                           return std::string(info.param.szName);
                         });

TEST_F(OlDateFakeTest, PatternThatCannotBeFetchedFailsTheSave) {
  FakeObject* pItem = AddAppointment(true);
  FakeObject* pPattern = AddPattern(pItem);
  OlDateUtil util;
  DateImage* pImage = FirstImage(util);
  ASSERT_NE(pImage, nullptr);
  pItem->Fail("GetRecurrencePattern", DISPATCH_METHOD, E_FAIL);
  pImage->Interval = 4;
  pImage->Changed.Set(DateField::Interval);
  EXPECT_FALSE(util.SaveItem(pImage));
  EXPECT_TRUE(Writes(pItem).empty());
  EXPECT_TRUE(Writes(pPattern).empty());
  EXPECT_EQ(m_env.Count("Failed to get the recurrence pattern, hr=0x80004005", true), 1);
}

}  // namespace
