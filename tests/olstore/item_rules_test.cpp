// How items behave as Outlook's do: puts wait for Save, Save stamps the
// modification time, and related properties move together.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>

#include "olstore/Dispatch.h"
#include "olstore/support/StoreFixture.h"

namespace olstore::test {
namespace {

using ItemRules = OutlookTest;

constexpr double kThursday = 45365.0;  // 2024-03-14, the second Thursday of March
constexpr double kMinute = 1.0 / 1440.0;

TEST_F(ItemRules, PutsWaitForSaveWhichStampsOnlyTheModificationTime) {
  std::shared_ptr<Store> store = DirectStore();
  ItemData arranged = NewItem(ItemKind::Contact);
  arranged.folderId = store->DefaultFolder(FolderKind::Contacts)->id;
  arranged.created = 43831.0;   // 2020-01-01
  arranged.modified = 43832.0;  // 2020-01-02
  arranged.values[FindProperty(arranged.Info(), "JobTitle")] = std::string("Clerk");
  ASSERT_TRUE(store->InsertItem(arranged));

  Obj item = ItemById(arranged.entryId);
  ASSERT_EQ(item.Call("Save"), S_OK);  // nothing to save: nothing changes
  EXPECT_EQ(ItemById(arranged.entryId).Date("LastModificationTime"), 43832.0);

  ASSERT_EQ(item.Put("JobTitle", Var::Text("Manager")), S_OK);
  EXPECT_FALSE(item.Bool("Saved"));
  EXPECT_EQ(item.Text("JobTitle"), "Manager");
  EXPECT_EQ(ItemById(arranged.entryId).Text("JobTitle"), "Clerk");  // not saved yet

  const double before = OleNow();
  ASSERT_EQ(item.Call("Save"), S_OK);
  const double after = OleNow();
  EXPECT_TRUE(item.Bool("Saved"));
  Obj again = ItemById(arranged.entryId);
  EXPECT_EQ(again.Text("JobTitle"), "Manager");
  EXPECT_EQ(again.Text("EntryID"), arranged.entryId);
  EXPECT_EQ(again.Date("CreationTime"), 43831.0);
  EXPECT_GE(again.Date("LastModificationTime"), before);
  EXPECT_LE(again.Date("LastModificationTime"), after);
  EXPECT_EQ(item.Date("LastModificationTime"), again.Date("LastModificationTime"));
}

TEST_F(ItemRules, AFailedSaveKeepsThePutsAndTheStoreUnchanged) {
  const std::string entryId = AddItem(ItemKind::Task, {{"Subject", std::string("Old")}});
  Obj item = ItemById(entryId);
  ASSERT_EQ(item.Put("Subject", Var::Text("New")), S_OK);
  {
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(m_storePath.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(item.Call("Save"), kMapiEBusy);  // locked by another writer
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
  }
  EXPECT_FALSE(item.Bool("Saved"));
  EXPECT_EQ(ItemById(entryId).Text("Subject"), "Old");
  EXPECT_EQ(item.Call("Save"), S_OK);
  EXPECT_EQ(ItemById(entryId).Text("Subject"), "New");

  // An item deleted meanwhile cannot be saved.
  ASSERT_EQ(item.Put("Subject", Var::Text("Newer")), S_OK);
  Query drop = DirectStore()->Db().Prepare("DELETE FROM items WHERE entry_id = ?1");
  ASSERT_TRUE(drop.Bind(1, std::string_view(entryId)).Run());
  EXPECT_EQ(item.Call("Save"), kMapiENotFound);
}

// An item fetched to be changed writes what was put on it and nothing else,
// so a value another program saved meanwhile survives; values it reads come
// from the store unless they were put.
TEST_F(ItemRules, SaveWritesOnlyWhatWasPut) {
  const std::string entryId = AddItem(
      ItemKind::Contact, {{"JobTitle", std::string("Clerk")}, {"Department", std::string("Sales")}});
  Obj item = ItemById(entryId);
  ASSERT_EQ(item.Put("JobTitle", Var::Text("Manager")), S_OK);
  Query other = DirectStore()->Db().Prepare(
      "UPDATE contacts SET Department = 'Purchasing' WHERE item_id = "
      "(SELECT id FROM items WHERE entry_id = ?1)");
  ASSERT_TRUE(other.Bind(1, std::string_view(entryId)).Run());
  ASSERT_EQ(item.Call("Save"), S_OK);
  Obj again = ItemById(entryId);
  EXPECT_EQ(again.Text("Department"), "Purchasing");
  EXPECT_EQ(again.Text("JobTitle"), "Manager");

  Obj next = ItemById(entryId);
  ASSERT_EQ(next.Put("JobTitle", Var::Text("Director")), S_OK);
  EXPECT_EQ(next.Text("JobTitle"), "Director");  // the put, not the stored value
  EXPECT_EQ(next.Text("Department"), "Purchasing");

  // A put that moves other values saves them all.
  const double start = kThursday + 9.0 / 24.0;
  const std::string meeting =
      AddItem(ItemKind::Appointment, {{"Start", start}, {"End", start + 60 * kMinute}});
  Obj moved = ItemById(meeting);
  ASSERT_EQ(moved.Put("Start", Var::Date(start + 1.0)), S_OK);
  ASSERT_EQ(moved.Call("Save"), S_OK);
  EXPECT_NEAR(ItemById(meeting).Date("Start"), start + 1.0, 1e-9);
  EXPECT_NEAR(ItemById(meeting).Date("End"), start + 1.0 + 60 * kMinute, 1e-9);

  // An item deleted before its values were read cannot be read.
  Obj gone = ItemById(entryId);
  Query drop = DirectStore()->Db().Prepare("DELETE FROM items WHERE entry_id = ?1");
  ASSERT_TRUE(drop.Bind(1, std::string_view(entryId)).Run());
  Var result;
  EXPECT_EQ(gone.Get("JobTitle", result), kMapiENotFound);
  EXPECT_EQ(gone.Text("EntryID"), entryId);
}

TEST_F(ItemRules, AppointmentStartEndAndDurationMoveTogether) {
  const double start = kThursday + 9.0 / 24.0;
  struct Case {
    const char* name;
    Var value;
    double expectedStart;
    double expectedEnd;
    int32_t expectedDuration;
  } cases[] = {
      {"Start", Var::Date(start + 1.0), start + 1.0, start + 1.0 + 60 * kMinute, 60},
      {"End", Var::Date(start + 180 * kMinute), start, start + 180 * kMinute, 180},
      {"End", Var::Date(start), start, start, 0},
      {"Duration", Var::Int(30), start, start + 30 * kMinute, 30},
      {"Duration", Var::Int(2 * 1440), start, start + 2.0, 2 * 1440},
  };
  for (Case& c : cases) {
    Obj item = ItemById(
        AddItem(ItemKind::Appointment, {{"Start", start}, {"End", start + 60 * kMinute}}));
    ASSERT_EQ(item.Put(c.name, c.value), S_OK) << c.name;
    EXPECT_NEAR(item.Date("Start"), c.expectedStart, 1e-9) << c.name;
    EXPECT_NEAR(item.Date("End"), c.expectedEnd, 1e-9) << c.name;
    EXPECT_EQ(item.Int("Duration"), c.expectedDuration) << c.name;
  }
}

TEST_F(ItemRules, AppointmentReminderTimeFollowsStartAndLeadTime) {
  const double start = kThursday + 9.0 / 24.0;
  Obj item = ItemById(AddItem(ItemKind::Appointment, {{"Start", start}, {"End", start}}));
  EXPECT_NEAR(item.Date("ReminderTime"), start - 15 * kMinute, 1e-9);
  ASSERT_EQ(item.Put("ReminderMinutesBeforeStart", Var::Int(60)), S_OK);
  EXPECT_NEAR(item.Date("ReminderTime"), start - 60 * kMinute, 1e-9);
  ASSERT_EQ(item.Put("Start", Var::Date(start + 2.0)), S_OK);
  EXPECT_NEAR(item.Date("ReminderTime"), start + 2.0 - 60 * kMinute, 1e-9);
}

TEST_F(ItemRules, GetRecurrencePatternMakesTheAppointmentRecurringUntilSaved) {
  const double start = kThursday + 9.0 / 24.0;
  const std::string entryId = AddItem(ItemKind::Appointment, {{"Start", start}, {"End", start}});
  Obj item = ItemById(entryId);
  EXPECT_FALSE(item.Bool("IsRecurring"));
  Obj pattern = item.CallObject("GetRecurrencePattern");
  EXPECT_TRUE(item.Bool("IsRecurring"));
  EXPECT_FALSE(item.Bool("Saved"));
  EXPECT_EQ(pattern.Int("RecurrenceType"), 1);
  EXPECT_EQ(pattern.Int("Interval"), 1);
  EXPECT_EQ(pattern.Int("DayOfWeekMask"), 16);  // olThursday
  EXPECT_EQ(pattern.Date("PatternStartDate"), kThursday);
  EXPECT_TRUE(pattern.Bool("NoEndDate"));
  EXPECT_EQ(pattern.Date("PatternEndDate"), kNoDate);
  EXPECT_FALSE(ItemById(entryId).Bool("IsRecurring"));

  ASSERT_EQ(item.Call("Save"), S_OK);
  EXPECT_TRUE(ItemById(entryId).Bool("IsRecurring"));

  Obj again = ItemById(entryId);
  ASSERT_EQ(again.Call("ClearRecurrencePattern"), S_OK);
  ASSERT_EQ(again.Call("Save"), S_OK);
  EXPECT_FALSE(ItemById(entryId).Bool("IsRecurring"));
}

TEST_F(ItemRules, ANewRecurrenceTypeRefillsThePatternFromItsFirstDay) {
  struct Case {
    int32_t type;
    int32_t mask, dayOfMonth, instance, month;
  } cases[] = {
      {0, 0, 0, 0, 0},  {1, 16, 0, 0, 0}, {2, 0, 14, 0, 0},
      {3, 16, 0, 2, 0}, {5, 0, 14, 0, 3}, {6, 16, 0, 2, 3},
  };
  for (const Case& c : cases) {
    Obj item = ItemById(AddItem(ItemKind::Appointment, {{"Start", kThursday}, {"End", kThursday}}));
    Obj pattern = item.CallObject("GetRecurrencePattern");
    // Away first, so that every case is a change of type.
    ASSERT_EQ(pattern.Put("RecurrenceType", Var::Int(c.type == 0 ? 1 : 0)), S_OK);
    ASSERT_EQ(pattern.Put("RecurrenceType", Var::Int(c.type)), S_OK);
    EXPECT_EQ(pattern.Int("DayOfWeekMask"), c.mask) << c.type;
    EXPECT_EQ(pattern.Int("DayOfMonth"), c.dayOfMonth) << c.type;
    EXPECT_EQ(pattern.Int("Instance"), c.instance) << c.type;
    EXPECT_EQ(pattern.Int("MonthOfYear"), c.month) << c.type;
  }
  Obj item = ItemById(AddItem(ItemKind::Appointment, {{"Start", kThursday}, {"End", kThursday}}));
  Obj pattern = item.CallObject("GetRecurrencePattern");
  EXPECT_EQ(pattern.Put("RecurrenceType", Var::Int(4)), E_INVALIDARG);
  EXPECT_EQ(pattern.Put("RecurrenceType", Var::Int(7)), E_INVALIDARG);
  // Writing back the same type keeps the fields, as a caller restoring a pattern expects.
  ASSERT_EQ(pattern.Put("RecurrenceType", Var::Int(2)), S_OK);
  ASSERT_EQ(pattern.Put("DayOfMonth", Var::Int(20)), S_OK);
  ASSERT_EQ(pattern.Put("RecurrenceType", Var::Int(2)), S_OK);
  EXPECT_EQ(pattern.Int("DayOfMonth"), 20);
}

TEST_F(ItemRules, PatternEndDateAndNoEndDateAgree) {
  Obj item = ItemById(AddItem(ItemKind::Appointment, {{"Start", kThursday}, {"End", kThursday}}));
  Obj pattern = item.CallObject("GetRecurrencePattern");
  EXPECT_EQ(pattern.Put("PatternEndDate", Var::Date(kThursday - 1)), E_INVALIDARG);
  ASSERT_EQ(pattern.Put("PatternEndDate", Var::Date(kThursday + 70)), S_OK);
  EXPECT_FALSE(pattern.Bool("NoEndDate"));
  EXPECT_EQ(pattern.Put("PatternStartDate", Var::Date(kThursday + 71)), E_INVALIDARG);
  ASSERT_EQ(pattern.Put("NoEndDate", Var::Bool(true)), S_OK);
  EXPECT_EQ(pattern.Date("PatternEndDate"), kNoDate);
  ASSERT_EQ(pattern.Put("NoEndDate", Var::Bool(false)), S_OK);
  EXPECT_EQ(pattern.Date("PatternEndDate"), kThursday);  // ends on its first day
  ASSERT_EQ(pattern.Put("PatternEndDate", Var::Date(kNoDate)), S_OK);
  EXPECT_TRUE(pattern.Bool("NoEndDate"));
  EXPECT_EQ(pattern.Put("Interval", Var::Int(0)), E_INVALIDARG);
  EXPECT_EQ(pattern.Put("DayOfWeekMask", Var::Int(128)), E_INVALIDARG);
  EXPECT_EQ(pattern.Put("MonthOfYear", Var::Int(13)), E_INVALIDARG);
  DISPID id = 0;
  EXPECT_EQ(pattern.Id("Subject", &id), DISP_E_UNKNOWNNAME);
}

// kThursday is the first occurrence; OlDaysOfWeek: Sunday 1, Tuesday 4,
// Wednesday 8, Thursday 16, Friday 32, Saturday 64.
TEST_F(ItemRules, MovingTheStartOfASeriesMovesTheSeries) {
  const double start = kThursday + 9.0 / 24.0;
  struct Pattern {
    int32_t mask, dayOfMonth, instance, month;
  };
  struct Case {
    const char* name;
    int32_t type;
    Pattern before;
    double newStart;
    Pattern after;
    bool ends = true;
  } cases[] = {
      {"weekly, a day later", 1, {16 | 4, 0, 0, 0}, start + 1.0, {32 | 8, 0, 0, 0}},
      {"weekly, back across Sunday", 1, {16, 0, 0, 0}, start - 4.0, {1, 0, 0, 0}},
      {"weekly, on across Saturday", 1, {16 | 64, 0, 0, 0}, start + 1.0, {32 | 1, 0, 0, 0}},
      {"weekly, no end", 1, {16, 0, 0, 0}, start + 8.0, {32, 0, 0, 0}, false},
      {"daily", 0, {0, 0, 0, 0}, start + 1.0, {0, 0, 0, 0}},
      {"monthly", 2, {0, 14, 0, 0}, start + 8.0, {0, 22, 0, 0}},
      {"nth weekday of the month", 3, {16, 0, 2, 0}, start + 8.0, {32, 0, 4, 0}},
      {"yearly", 5, {0, 14, 0, 3}, start + 20.0, {0, 3, 0, 4}},
      {"nth weekday of the year", 6, {16, 0, 2, 3}, start + 20.0, {8, 0, 1, 4}},
      {"the time of day only", 1, {16 | 4, 0, 0, 0}, start + 2.0 / 24.0, {16 | 4, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string entryId =
        AddItem(ItemKind::Appointment, {{"Start", start},
                                        {"End", start + 60 * kMinute},
                                        {"IsRecurring", true},
                                        {"RecurrenceType", c.type},
                                        {"DayOfWeekMask", c.before.mask},
                                        {"DayOfMonth", c.before.dayOfMonth},
                                        {"Instance", c.before.instance},
                                        {"MonthOfYear", c.before.month},
                                        {"PatternStartDate", kThursday},
                                        {"PatternEndDate", c.ends ? kThursday + 70 : kNoDate},
                                        {"NoEndDate", !c.ends}});
    Obj item = ItemById(entryId);
    ASSERT_EQ(item.Put("Start", Var::Date(c.newStart)), S_OK);
    ASSERT_EQ(item.Call("Save"), S_OK);

    Obj pattern = ItemById(entryId).CallObject("GetRecurrencePattern");
    const double shift = std::floor(c.newStart) - kThursday;
    EXPECT_EQ(pattern.Int("RecurrenceType"), c.type);
    EXPECT_EQ(pattern.Date("PatternStartDate"), kThursday + shift);
    EXPECT_EQ(pattern.Date("PatternEndDate"), c.ends ? kThursday + 70 + shift : kNoDate);
    EXPECT_EQ(pattern.Int("DayOfWeekMask"), c.after.mask);
    EXPECT_EQ(pattern.Int("DayOfMonth"), c.after.dayOfMonth);
    EXPECT_EQ(pattern.Int("Instance"), c.after.instance);
    EXPECT_EQ(pattern.Int("MonthOfYear"), c.after.month);
    EXPECT_NEAR(ItemById(entryId).Date("End"), c.newStart + 60 * kMinute, 1e-9);
  }
}

TEST_F(ItemRules, ASeriesThatWouldEndBeyondTheLastDateIsNotMoved) {
  const double lastDay = 2958465.0;  // 9999-12-31
  const std::string entryId = AddItem(ItemKind::Appointment, {{"Start", kThursday},
                                                              {"End", kThursday},
                                                              {"IsRecurring", true},
                                                              {"RecurrenceType", 0},
                                                              {"PatternStartDate", kThursday},
                                                              {"PatternEndDate", lastDay - 1},
                                                              {"NoEndDate", false}});
  Obj item = ItemById(entryId);
  EXPECT_EQ(item.Put("Start", Var::Date(kThursday + 7)), E_INVALIDARG);
  EXPECT_EQ(item.Date("Start"), kThursday);
  Obj pattern = item.CallObject("GetRecurrencePattern");
  EXPECT_EQ(pattern.Date("PatternStartDate"), kThursday);
  EXPECT_EQ(pattern.Date("PatternEndDate"), lastDay - 1);
}

TEST_F(ItemRules, TaskCompletionStatusAndPercentStayInStep) {
  struct Case {
    int32_t status, percent;  // before
    const char* name;
    Var value;
    bool complete;
    int32_t expectedStatus, expectedPercent;
  } cases[] = {
      {0, 0, "Complete", Var::Bool(true), true, 2, 100},
      {2, 100, "Complete", Var::Bool(false), false, 1, 0},
      {1, 40, "Complete", Var::Bool(false), false, 1, 40},
      {1, 40, "Status", Var::Int(2), true, 2, 100},
      {2, 100, "Status", Var::Int(3), false, 3, 0},
      {1, 40, "Status", Var::Int(0), false, 0, 0},
      {1, 40, "Status", Var::Int(4), false, 4, 40},
      {0, 0, "PercentComplete", Var::Int(100), true, 2, 100},
      {0, 0, "PercentComplete", Var::Int(30), false, 1, 30},
      {2, 100, "PercentComplete", Var::Int(50), false, 1, 50},
      {2, 100, "PercentComplete", Var::Int(0), false, 0, 0},
      {3, 20, "PercentComplete", Var::Int(60), false, 3, 60},
      {0, 0, "DateCompleted", Var::Date(kThursday), true, 2, 100},
      {2, 100, "DateCompleted", Var::Date(kNoDate), false, 1, 0},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " from status " + std::to_string(c.status));
    PropertyValues before = {{"Status", c.status}, {"PercentComplete", c.percent}};
    if (c.status == 2) before.push_back({"DateCompleted", kThursday - 7});
    const std::string entryId = AddItem(ItemKind::Task, before);
    Obj task = ItemById(entryId);
    const double today = static_cast<double>(OleDay(OleNow()));
    ASSERT_EQ(task.Put(c.name, c.value), S_OK);
    ASSERT_EQ(task.Call("Save"), S_OK);
    const double laterToday = static_cast<double>(OleDay(OleNow()));
    Obj again = ItemById(entryId);
    EXPECT_EQ(again.Bool("Complete"), c.complete);
    EXPECT_EQ(again.Int("Status"), c.expectedStatus);
    EXPECT_EQ(again.Int("PercentComplete"), c.expectedPercent);
    const double completed = again.Date("DateCompleted");
    if (!c.complete) EXPECT_EQ(completed, kNoDate);
    else if (c.status == 2) EXPECT_EQ(completed, kThursday - 7);  // already complete: date kept
    else if (std::string(c.name) == "DateCompleted") EXPECT_EQ(completed, kThursday);
    else EXPECT_TRUE(completed == today || completed == laterToday) << completed;
  }
}

TEST_F(ItemRules, NoteSubjectIsTheFirstLineOfTheBody) {
  struct Case {
    const char* body;
    const char* subject;
  } cases[] = {{"Shopping\r\nmilk\r\nbread", "Shopping"},
               {"One line", "One line"},
               {"Unix\nlines", "Unix"},
               {"\r\nstarts empty", ""},
               {"", ""},
               {"Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80\rnext", "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80"}};
  for (const Case& c : cases) {
    Obj note = ItemById(AddItem(ItemKind::Note, {{"Body", std::string(c.body)}}));
    EXPECT_EQ(note.Text("Subject"), c.subject) << c.body;
    ASSERT_EQ(note.Put("Body", Var::Text(std::string("Changed\n") + c.body)), S_OK);
    EXPECT_EQ(note.Text("Subject"), "Changed");
    EXPECT_EQ(note.Int("Color"), 3);  // yellow, Outlook's default
  }
}

TEST_F(ItemRules, DistributionListsCountTheirMembers) {
  const std::string entryId = AddItem(
      ItemKind::DistList,
      {{"DLName", std::string("Choir")},
       {"Members", std::string(R"([{"Name":"Ann","Address":"ann@example.org"},{"Name":"Bo"}])")}});
  Obj list = ItemById(entryId);
  EXPECT_EQ(list.Int("MemberCount"), 2);
  EXPECT_EQ(list.Int("Class"), 69);
  ASSERT_EQ(list.Put("Subject", Var::Text("Chorus")), S_OK);
  ASSERT_EQ(list.Call("Save"), S_OK);
  EXPECT_EQ(ItemById(entryId).Text("DLName"), "Chorus");
  EXPECT_EQ(ItemById(AddItem(ItemKind::DistList, {})).Int("MemberCount"), 0);
}

}  // namespace
}  // namespace olstore::test
