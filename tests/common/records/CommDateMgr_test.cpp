#include "common/records/CommDateMgr.h"

#include <gtest/gtest.h>

#include <string>

#include "RecordTestUtil.h"
#include "support/AnsiCodePage.h"

namespace {

std::string Show(const DateRecord& record, int32_t nKey, int nSize = 1024) {
  DisplayField field = {};
  field.nKey = nKey;
  std::string buf(static_cast<size_t>(nSize), 'x');
  EXPECT_TRUE(CommDateMgr::DisplayText(&record, &field, buf.data(), nSize)) << nKey;
  return std::string(buf.c_str());
}

TEST(CalendarDisplayFields, TableInOrder) {
  const DisplayField kExpected[] = {
      {1, "Description"}, {2, "Start Time"}, {3, "End Time"},   {4, "Start Date Time"}, {5, "End Date Time"},
      {6, "Date"},        {7, "Note"},       {8, "Private"},    {9, "Location"},        {10, "Importance"},
      {11, "Category"},   {12, "Alarm"},     {13, "All Day Event"}, {14, "Repeat"},
  };
  for (int i = 0; i < 14; ++i) {
    DisplayField field = {};
    ASSERT_TRUE(CommDateMgr::DisplayFieldAt(i, &field));
    EXPECT_EQ(field.nKey, kExpected[i].nKey) << i;
    EXPECT_STREQ(field.szName, kExpected[i].szName) << i;
    ASSERT_TRUE(CommDateMgr::FindDisplayField(kExpected[i].nKey, &field));
    EXPECT_STREQ(field.szName, kExpected[i].szName);
  }
  DisplayField field = {};
  EXPECT_FALSE(CommDateMgr::DisplayFieldAt(14, &field));
  for (int32_t nKey : {0, 15, -1}) EXPECT_FALSE(CommDateMgr::FindDisplayField(nKey, &field)) << nKey;
  EXPECT_FALSE(CommDateMgr::FindDisplayField(1, nullptr));
}

struct RecurrenceCase {
  int32_t nType;
  int32_t nImageInterval;
  int32_t nKind;
  int32_t nInterval;
};

TEST(CalendarMakeRecord, RecurrenceKinds) {
  const RecurrenceCase kCases[] = {
      {-1, 3, 0, 0},  // not recurring
      {-7, 3, 0, 0},  // any negative
      {0, 3, 1, 3},   // daily
      {1, 2, 2, 2},   // weekly
      {2, 4, 4, 4},   // monthly: by date
      {3, 5, 3, 5},   // monthly-nth: by weekday
      {4, 7, 0, 0},   // no such pattern
      {5, 12, 6, 1},  // yearly: by date, always every year
      {5, 3, 6, 1},
      {6, 2, 5, 2},   // yearly-nth: by weekday
      {7, 2, 0, 0},   // unknown
  };
  for (const RecurrenceCase& c : kCases) {
    SCOPED_TRACE("RecurrenceType " + std::to_string(c.nType) + ", Interval " + std::to_string(c.nImageInterval));
    auto image = MakeZeroed<DateImage>();
    auto record = MakeZeroed<DateRecord>();
    image->IsRecurring = c.nType >= 0;
    image->RecurrenceType = c.nType;
    image->Interval = c.nImageInterval;
    ASSERT_TRUE(MakeRecord(image.get(), record.get()));
    EXPECT_EQ(record->RecurrenceKind, c.nKind);
    EXPECT_EQ(record->Interval, c.nInterval);
    EXPECT_EQ(record->PatternStartDate.wYear, 0);
  }
}

struct PatternEndCase {
  const char* szName;
  int32_t nType;
  DATE dtEnd;
  int nHasEnd;
  int nYear, nMonth, nDay;
};

TEST(CalendarMakeRecord, PatternEnd) {
  const PatternEndCase kCases[] = {
      {"a real end", 1, MakeDate(2012, 1, 31), 1, 2012, 1, 31},
      {"after 2038", 1, MakeDate(2045, 5, 6), 1, 2045, 5, 6},
      {"just after day one", 1, 1.5, 1, 1899, 12, 31},
      {"exactly 1.0", 1, 1.0, 0, 0, 0, 0},
      {"below 1.0", 1, 0.5, 0, 0, 0, 0},
      {"zero", 1, 0.0, 0, 0, 0, 0},
      {"Outlook's no end", 1, kNoDate4501, 0, 0, 0, 0},
      {"after Outlook's no end", 1, 1000000.0, 0, 0, 0, 0},
      {"not recurring", -1, MakeDate(2012, 1, 31), 0, 0, 0, 0},
  };
  for (const PatternEndCase& c : kCases) {
    SCOPED_TRACE(c.szName);
    auto image = MakeZeroed<DateImage>();
    auto record = MakeZeroed<DateRecord>();
    image->RecurrenceType = c.nType;
    image->PatternEndDate = c.dtEnd;
    ASSERT_TRUE(MakeRecord(image.get(), record.get()));
    EXPECT_EQ(record->HasPatternEnd, c.nHasEnd);
    EXPECT_EQ(record->PatternEndDate.wYear, c.nYear);
    EXPECT_EQ(record->PatternEndDate.wMonth, c.nMonth);
    EXPECT_EQ(record->PatternEndDate.wDay, c.nDay);
  }
}

TEST(CalendarMakeRecord, TextCuts) {
  // Pointers to the first character of each field keep the table uniform.
  auto image = MakeZeroed<DateImage>();
  auto record = MakeZeroed<DateRecord>();
  const CutField kBody = {"Body", image->Body, sizeof(image->Body), record->Body};
  const CutField kCategories = {"Categories", image->Categories, sizeof(image->Categories),
                                record->Categories};
  const CutField kSubject = {"Subject", image->Subject, sizeof(image->Subject), record->Subject};
  const CutField kLocation = {"Location", image->Location, sizeof(image->Location),
                              record->Location};
  CheckTextCuts(
      image.get(), record.get(),
      {
          {&kBody, {"10 000 characters", 10000, "", 8191}},
          {&kBody, {"two-byte character at the cut", 8190, "\xC3\xA9", 8190}},
          {&kBody, {"three-byte character ending at the cut", 8188, "\xE2\x82\xAC", 8191}},
          {&kCategories, {"100 characters", 100, "", 63}},
          {&kCategories, {"four-byte character at the cut", 61, "\xF0\x9F\x98\x80", 61}},
          {&kSubject, {"a full subject is kept whole", 255, "", 255}},
          {&kSubject, {"a full subject ending in a character", 253, "\xC3\xA9", 255}},
          {&kLocation, {"a full location is kept whole", 255, "", 255}},
      });
}

TEST(CalendarMakeRecord, FlagsDatesAndSource) {
  auto image = MakeZeroed<DateImage>();
  auto record = MakeZeroed<DateRecord>();
  memset(record.get(), 0x7F, sizeof(DateRecord));  // MakeRecord starts from zero itself
  image->AllDayEvent = true;
  image->ReminderSet = 1;
  image->Sensitivity = 2;
  image->RecurrenceType = -1;
  image->Start = MakeDate(2011, 3, 7, 9, 30, 0);
  image->End = kNoDate4501;
  ASSERT_TRUE(MakeRecord(image.get(), record.get()));
  EXPECT_EQ(record->AllDayEvent, 1);
  EXPECT_EQ(record->ReminderSet, 1);
  EXPECT_EQ(record->Private, 0);
  EXPECT_EQ(record->SourceType, 3);
  EXPECT_EQ(record->Image, nullptr);
  EXPECT_EQ(record->Start.wYear, 2011);
  EXPECT_EQ(record->Start.wHour, 9);
  EXPECT_EQ(record->Start.wMinute, 30);
  EXPECT_EQ(record->End.wYear, 0) << "Outlook's no date must not become 4501";
  EXPECT_EQ(record->RecurrenceKind, 0);
  EXPECT_EQ(record->HasPatternEnd, 0);
  EXPECT_FALSE(MakeRecord(nullptr, record.get()));
  EXPECT_FALSE(MakeRecord(image.get(), nullptr));
}

struct TextCase {
  int32_t nKey;
  const char* szText;
};

TEST(CalendarDisplayText, EveryKey) {
  auto image = MakeZeroed<DateImage>();
  auto record = MakeZeroed<DateRecord>();
  strcpy(image->Subject, "Board meeting");
  strcpy(image->Body, "Agenda attached");
  strcpy(image->Location, "Room 4");
  strcpy(image->Categories, "Work");
  image->Start = MakeDate(2011, 3, 7, 9, 30, 0);
  image->End = MakeDate(2011, 3, 7, 10, 45, 15);
  image->ReminderSet = 1;
  image->Importance = 2;
  image->Sensitivity = 2;
  image->RecurrenceType = -1;
  ASSERT_TRUE(MakeRecord(image.get(), record.get()));
  const TextCase kCases[] = {
      {1, "Board meeting"},
      {2, "09:30:00"},
      {3, "10:45:15"},
      {4, "03/07/2011 09:30:00"},
      {5, "03/07/2011 10:45:15"},
      {6, "03/07/2011"},
      {7, "Agenda attached"},
      {8, "No"},  // no record is private
      {9, "Room 4"},
      {10, ""},
      {11, "Work"},
      {12, "Yes"},
      {13, "No"},
      {14, "Repeat Info"},
      {0, ""},
      {15, ""},
      {-1, ""},
  };
  for (const TextCase& c : kCases) EXPECT_EQ(Show(*record, c.nKey), c.szText) << "key " << c.nKey;

  record->ReminderSet = 0;
  record->AllDayEvent = 1;
  record->Private = 1;
  EXPECT_EQ(Show(*record, 12), "No");
  EXPECT_EQ(Show(*record, 13), "Yes");
  EXPECT_EQ(Show(*record, 8), "Yes");
}

struct CalendarDateCase {
  const char* szName;
  DATE dtStart;
  const char* szDate;
  const char* szTime;
  const char* szDateTime;
};

TEST(CalendarDisplayText, DatesOnlyWhenThere) {
  const CalendarDateCase kCases[] = {
      {"after 2030", MakeDate(2031, 1, 1, 8, 0, 0), "01/01/2031", "08:00:00", "01/01/2031 08:00:00"},
      {"after 2038", MakeDate(2040, 7, 4, 23, 59, 59), "07/04/2040", "23:59:59", "07/04/2040 23:59:59"},
      {"midnight", MakeDate(2011, 3, 7), "03/07/2011", "00:00:00", "03/07/2011 00:00:00"},
      {"Outlook's no date", kNoDate4501, "", "", ""},
      {"zero", 0.0, "", "", ""},
  };
  for (const CalendarDateCase& c : kCases) {
    SCOPED_TRACE(c.szName);
    auto image = MakeZeroed<DateImage>();
    auto record = MakeZeroed<DateRecord>();
    image->Start = c.dtStart;
    image->End = c.dtStart;
    image->RecurrenceType = -1;
    ASSERT_TRUE(MakeRecord(image.get(), record.get()));
    EXPECT_EQ(Show(*record, 6), c.szDate);
    EXPECT_EQ(Show(*record, 2), c.szTime);
    EXPECT_EQ(Show(*record, 3), c.szTime);
    EXPECT_EQ(Show(*record, 4), c.szDateTime);
    EXPECT_EQ(Show(*record, 5), c.szDateTime);
  }
}

// Small buffers get a cut text, never an overrun; the first and last bytes are zeroed.
TEST(CalendarDisplayText, SmallBuffers) {
  auto record = MakeZeroed<DateRecord>();
  strcpy(record->Subject, "Board meeting");
  const TextCase kCases[] = {{14, "Repe"}, {1, "Boar"}, {12, "No"}};
  for (const TextCase& c : kCases) {
    DisplayField field = {c.nKey, ""};
    char buf[6];
    memset(buf, 'x', sizeof(buf));
    EXPECT_TRUE(CommDateMgr::DisplayText(record.get(), &field, buf, 5));
    EXPECT_STREQ(buf, c.szText) << c.nKey;
    EXPECT_EQ(buf[5], 'x') << "wrote past the buffer";
  }
  char buf[4] = "abc";
  DisplayField field = {10, ""};
  EXPECT_TRUE(CommDateMgr::DisplayText(record.get(), &field, buf, sizeof(buf)));
  EXPECT_EQ(buf[0], '\0');
  EXPECT_EQ(buf[3], '\0');
}

TEST(CalendarDisplayText, RefusesMissingArguments) {
  auto record = MakeZeroed<DateRecord>();
  DisplayField field = {1, ""};
  char buf[16] = "untouched";
  EXPECT_FALSE(CommDateMgr::DisplayText(nullptr, &field, buf, sizeof(buf)));
  EXPECT_FALSE(CommDateMgr::DisplayText(record.get(), nullptr, buf, sizeof(buf)));
  EXPECT_FALSE(CommDateMgr::DisplayText(record.get(), &field, nullptr, sizeof(buf)));
  EXPECT_FALSE(CommDateMgr::DisplayText(record.get(), &field, buf, 0));
  EXPECT_STREQ(buf, "untouched");
}

}  // namespace
