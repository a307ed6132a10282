// The four accessors reading a real local store: folder walks with and
// without subfolders, the images and records they make, and texts that did
// not fit their fields.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "common/outlook/support/StoreOutlookTest.h"
#include "support/AnsiCodePage.h"

namespace {

using olstore::FolderKind;
using olstore::ItemKind;

const std::string kLongBody(3000, 'b');
const std::string kLongStreet = std::string(150, 's') + " Ende";
const std::string kLongNote = "Long note\n" + std::string(30000, 'n');
// The 'ü' occupies bytes 30 and 31: a 32-byte field must cut before it.
const char kJobTitle[] = "Leiterin Qualitätsmanagement Süd";

class StoreReadTest : public StoreOutlookTest {
 protected:
  void SetUp() override {
    StoreOutlookTest::SetUp();
    if (HasFatalFailure()) return;
    Seed([this] { Arrange(); });
  }

  void Arrange() {
    const int64_t nContacts = Folder(FolderKind::Contacts);
    m_ids["Ann"] = Add(ItemKind::Contact, nContacts,
                       {{"FirstName", std::string("Ann")},
                        {"LastName", std::string("Example")},
                        {"FullName", std::string("Ann Example")},
                        {"JobTitle", std::string(kJobTitle)},
                        {"BusinessAddressStreet", kLongStreet},
                        {"Body", kLongBody},
                        {"Birthday", 30000.0},
                        {"Gender", int32_t{1}},
                        {"Email1Address", std::string("ann@example.org")},
                        {"Categories", std::string("Kunden, VIP")}});
    m_ids["Team"] = Add(ItemKind::DistList, nContacts,
                        {{"DLName", std::string("Team")}, {"Categories", std::string("Clubs")}});
    m_ids["Zoë"] = Add(ItemKind::Contact, nContacts,
                       {{"FirstName", std::string("Zoë")}, {"LastName", std::string("Ångström")}});
    Add(ItemKind::Contact, Folder(FolderKind::Contacts, {"Clients"}),
        {{"FirstName", std::string("Bob")}});
    m_ids["Cleo"] =
        Add(ItemKind::Contact, Folder(FolderKind::Contacts, {"Clients", "Key Accounts"}),
            {{"FirstName", std::string("Cleo")}});
    Add(ItemKind::Contact, Folder(FolderKind::Contacts, {"Suppliers"}),
        {{"FirstName", std::string("Dan")}});

    const int64_t nCalendar = Folder(FolderKind::Calendar);
    Add(ItemKind::Appointment, nCalendar,
        {{"Subject", std::string("Dentist")},
         {"Start", 45000.375},
         {"End", 45000.40625},
         {"Location", std::string("Praxis Dr. Weiß")},
         {"BusyStatus", int32_t{3}},
         {"Importance", int32_t{2}},
         {"Sensitivity", int32_t{2}},
         {"ReminderMinutesBeforeStart", int32_t{30}},
         {"ReminderPlaySound", true},
         {"ReminderSoundFile", std::string("bell.wav")}});
    Add(ItemKind::Appointment, nCalendar,
        {{"Subject", std::string("Standup")},
         {"Start", 45001.375},
         {"End", 45001.3854166667},
         {"Interval", int32_t{2}},
         {"DayOfWeekMask", int32_t{10}},
         {"PatternEndDate", 45100.0},
         {"NoEndDate", false}});
    Add(ItemKind::Appointment, Folder(FolderKind::Calendar, {"Holidays"}),
        {{"Subject", std::string("Beach")},
         {"Start", 45100.0},
         {"End", 45101.0},
         {"AllDayEvent", true}});

    const int64_t nTasks = Folder(FolderKind::Tasks);
    Add(ItemKind::Task, nTasks,
        {{"Subject", std::string("File taxes")},
         {"DueDate", 45030.0},
         {"ReminderSet", true},
         {"ReminderTime", 45029.375},
         {"Role", std::string("Owner")}});
    Add(ItemKind::Task, nTasks,
        {{"Subject", std::string("Paint fence")},
         {"Status", int32_t{2}},
         {"PercentComplete", int32_t{100}},
         {"DateCompleted", 45020.0}});
    m_ids["Draft plan"] = Add(ItemKind::Task, Folder(FolderKind::Tasks, {"Project", "Phase 1"}),
                              {{"Subject", std::string("Draft plan")}});

    const int64_t nNotes = Folder(FolderKind::Notes);
    Add(ItemKind::Note, nNotes,
        {{"Body", std::string("Shopping list\nmilk")}, {"Color", int32_t{1}}});
    Add(ItemKind::Note, nNotes, {{"Body", kLongNote}});
    Add(ItemKind::Note, Folder(FolderKind::Notes, {"Ideas"}), {{"Body", std::string("Idea one")}});
  }

  std::map<std::string, std::string> m_ids;
};

// ---- Folder walks --------------------------------------------------------------------------

// Reads one kind's folder and lists its records as "<folder>/<title>".
template <typename TUtil, typename TTitle>
std::vector<std::string> Walk(bool bSubfolders, TTitle fnTitle, bool* pbRead) {
  TUtil util;
  util.SetIncludeSubfolders(bSubfolders);
  *pbRead = util.ReadItems();
  std::vector<std::string> listed;
  for (auto* pRecord = util.GetContainer()->First(); pRecord;
       pRecord = util.GetContainer()->Next()) {
    if (!pRecord->Image) continue;
    listed.push_back(std::string(pRecord->Image->FolderName) + "/" + fnTitle(*pRecord->Image));
  }
  return listed;
}

struct WalkCase {
  const char* szKind;
  std::function<std::vector<std::string>(bool bSubfolders, bool* pbRead)> fnWalk;
  std::vector<std::string> own;         // the default folder's items
  std::vector<std::string> subfolders;  // then those of its subfolders, depth first
};

const WalkCase kWalks[] = {
    {"contacts",
     [](bool b, bool* p) {
       return Walk<OlAddrUtil>(
           b, [](const AddrImage& im) { return im.FirstName; }, p);
     },
     {"Contacts/Ann", "Contacts/", AnsiText("Contacts/Zoë")},
     {"Clients/Bob", "Key Accounts/Cleo", "Suppliers/Dan"}},
    {"calendar",
     [](bool b, bool* p) {
       return Walk<OlDateUtil>(
           b, [](const DateImage& im) { return im.Subject; }, p);
     },
     {"Calendar/Dentist", "Calendar/Standup"},
     {"Holidays/Beach"}},
    {"tasks",
     [](bool b, bool* p) {
       return Walk<OlTaskUtil>(
           b, [](const TaskImage& im) { return im.Subject; }, p);
     },
     {"Tasks/File taxes", "Tasks/Paint fence"},
     {"Phase 1/Draft plan"}},
    {"notes",
     [](bool b, bool* p) {
       return Walk<OlNoteUtil>(
           b, [](const NoteImage& im) { return im.Subject; }, p);
     },
     {"Notes/Shopping list", "Notes/Long note"},
     {"Ideas/Idea one"}},
};

void PrintTo(const WalkCase& c, std::ostream* pOut) { *pOut << c.szKind; }

class StoreWalkTest : public StoreReadTest, public testing::WithParamInterface<WalkCase> {};

TEST_P(StoreWalkTest, OwnItemsOnlyWithoutSubfolders) {
  bool bRead = false;
  EXPECT_EQ(GetParam().fnWalk(false, &bRead), GetParam().own);
  EXPECT_TRUE(bRead);
}

TEST_P(StoreWalkTest, SubfoldersDepthFirstAfterOwnItems) {
  bool bRead = false;
  std::vector<std::string> expected = GetParam().own;
  expected.insert(expected.end(), GetParam().subfolders.begin(), GetParam().subfolders.end());
  EXPECT_EQ(GetParam().fnWalk(true, &bRead), expected);
  EXPECT_TRUE(bRead);
}

INSTANTIATE_TEST_SUITE_P(Kinds, StoreWalkTest, testing::ValuesIn(kWalks),
                         [](const testing::TestParamInfo<WalkCase>& info) {
                           return std::string(info.param.szKind);
                         });

TEST_F(StoreReadTest, EveryImageCarriesItsStoreAndEntryId) {
  OlAddrUtil util;
  util.SetIncludeSubfolders(true);
  ASSERT_TRUE(util.ReadItems());
  std::map<std::string, std::string> seen;
  for (AddrRecord* pRecord = util.GetContainer()->First(); pRecord;
       pRecord = util.GetContainer()->Next()) {
    ASSERT_NE(pRecord->Image, nullptr);
    EXPECT_EQ(pRecord->ImageSize, sizeof(AddrImage));
    EXPECT_EQ(pRecord->SourceType, 3);
    EXPECT_EQ(std::string(pRecord->Image->StoreID), StoreId());
    seen[pRecord->Image->FirstName] = pRecord->Image->EntryID;
  }
  EXPECT_EQ(seen["Ann"], m_ids["Ann"]);
  EXPECT_EQ(seen[AnsiText("Zoë")], m_ids["Zoë"]);
  EXPECT_EQ(seen["Cleo"], m_ids["Cleo"]);
  EXPECT_EQ(seen[""], m_ids["Team"]);
  EXPECT_EQ(m_env.Count("Got the StoreID of the Contact folder: " + StoreId(), true), 4);
}

TEST_F(StoreReadTest, ReadingAgainReplacesTheRecords) {
  OlNoteUtil util;
  ASSERT_TRUE(util.ReadItems());
  ASSERT_TRUE(util.ReadItems());
  int n = 0;
  for (NoteRecord* p = util.GetContainer()->First(); p; p = util.GetContainer()->Next()) ++n;
  EXPECT_EQ(n, 2);
}

// The list text of one record field, as the selection pages show it.
template <typename TMgr, typename TRecord>
std::string ListText(const TRecord* pRecord, int32_t nKey) {
  DisplayField field;
  char szText[8192 + 16] = "";
  if (!TMgr::FindDisplayField(nKey, &field)) return "(no field)";
  if (!TMgr::DisplayText(pRecord, &field, szText, sizeof(szText))) return "(no text)";
  return szText;
}

// ---- What one item becomes ------------------------------------------------------------------

TEST_F(StoreReadTest, ContactImageRecordAndCutTexts) {
  OlAddrUtil util;
  ASSERT_TRUE(util.ReadItems());
  AddrRecord* pRecord = util.GetContainer()->First();
  ASSERT_NE(pRecord, nullptr);
  const AddrImage& image = *pRecord->Image;
  EXPECT_STREQ(image.FirstName, "Ann");
  EXPECT_STREQ(image.FullName, "Ann Example");
  EXPECT_STREQ(image.Email1Address, "ann@example.org");
  EXPECT_STREQ(image.Categories, "Kunden, VIP");
  EXPECT_EQ(image.Birthday, 30000.0);
  EXPECT_EQ(image.Gender, 1);
  EXPECT_STREQ(image.FolderName, "Contacts");
  EXPECT_GT(image.CreationTime, 0.0);

  // Texts longer than their fields are cut, before a whole character, and marked.
  EXPECT_EQ(std::string(image.Body), kLongBody.substr(0, 2047));
  EXPECT_EQ(std::string(image.BusinessAddressStreet), kLongStreet.substr(0, 127));
  // 31 bytes fit: in UTF-8 the 'ü' would straddle the end and goes whole.
  EXPECT_EQ(std::string(image.JobTitle), AnsiIsUtf8()
                                             ? std::string("Leiterin Qualitätsmanagement S")
                                             : AnsiText(kJobTitle).substr(0, 31));
  for (AddrField f : {AddrField::Body, AddrField::BusinessAddressStreet, AddrField::JobTitle}) {
    EXPECT_TRUE(image.Truncated.Test(f)) << static_cast<int>(f);
  }
  for (AddrField f : {AddrField::FirstName, AddrField::Categories, AddrField::EntryID,
                      AddrField::Email1Address}) {
    EXPECT_FALSE(image.Truncated.Test(f)) << static_cast<int>(f);
  }
  EXPECT_FALSE(image.Changed.Any());

  EXPECT_STREQ(pRecord->FirstName, "Ann");
  EXPECT_STREQ(pRecord->DisplayName, "Ann Example");
  char szText[1024];
  AddrDisplayField field;
  ASSERT_TRUE(CommAddrMgr::FindDisplayField(78, &field));
  ASSERT_TRUE(CommAddrMgr::DisplayText(pRecord, &field, szText, sizeof(szText)));
  EXPECT_STREQ(szText, "Outlook");
  ASSERT_TRUE(CommAddrMgr::FindDisplayField(1, &field));
  ASSERT_TRUE(CommAddrMgr::DisplayText(pRecord, &field, szText, sizeof(szText)));
  EXPECT_STREQ(szText, "Ann");
}

// A list is read by its own properties, listed by its name and marked; the
// contact properties it cannot have are neither asked for nor logged.
TEST_F(StoreReadTest, DistributionListIsListedByItsName) {
  m_env.ClearLog();
  OlAddrUtil util;
  ASSERT_TRUE(util.ReadItems());
  AddrRecord* pList = util.GetContainer()->First();
  while (pList && m_ids["Team"] != pList->Image->EntryID) pList = util.GetContainer()->Next();
  ASSERT_NE(pList, nullptr);
  const AddrImage& image = *pList->Image;
  EXPECT_TRUE(image.DistList);
  EXPECT_STREQ(image.FullName, "Team");
  EXPECT_STREQ(image.Categories, "Clubs");
  EXPECT_GT(image.CreationTime, 0.0);
  EXPECT_STREQ(image.FirstName, "");
  EXPECT_EQ(image.Gender, 0);
  for (AddrField f : {AddrField::FullName, AddrField::JobTitle, AddrField::Gender,
                      AddrField::Birthday, AddrField::WebPage})
    EXPECT_TRUE(image.Unread.Test(f)) << static_cast<int>(f);
  for (AddrField f : {AddrField::Body, AddrField::Categories, AddrField::EntryID})
    EXPECT_FALSE(image.Unread.Test(f)) << static_cast<int>(f);
  EXPECT_STREQ(pList->FirstName, kDistListMark);
  EXPECT_STREQ(pList->LastName, "Team");

  // Every contact is read in full, and no call failed.
  EXPECT_FALSE(util.GetContainer()->First()->Image->DistList);
  for (const LogLine& line : m_env.Log())
    EXPECT_EQ(std::string::npos, line.strMessage.find("Failed")) << line.strMessage;
}

TEST_F(StoreReadTest, AppointmentsWithAndWithoutPattern) {
  OlDateUtil util;
  ASSERT_TRUE(util.ReadItems());
  DateRecord* pPlain = util.GetContainer()->First();
  DateRecord* pSeries = util.GetContainer()->Next();
  ASSERT_TRUE(pPlain && pSeries);

  const DateImage& plain = *pPlain->Image;
  EXPECT_STREQ(plain.Subject, "Dentist");
  EXPECT_EQ(std::string(plain.Location), AnsiText("Praxis Dr. Weiß"));
  EXPECT_EQ(plain.Start, 45000.375);
  EXPECT_EQ(plain.End, 45000.40625);
  EXPECT_EQ(plain.Duration, 45);
  EXPECT_FALSE(plain.IsRecurring);
  EXPECT_EQ(plain.RecurrenceType, -1);
  EXPECT_EQ(plain.BusyStatus, 3);
  EXPECT_EQ(plain.Importance, 2);
  EXPECT_EQ(plain.Sensitivity, 2);
  EXPECT_EQ(plain.ReminderMinutesBeforeStart, 30);
  EXPECT_EQ(plain.ReminderSet, 1);
  EXPECT_EQ(plain.ReminderPlaySound, 1);
  EXPECT_EQ(plain.ReminderOverrideDefault, 0);
  EXPECT_STREQ(plain.ReminderSoundFile, "bell.wav");
  EXPECT_DOUBLE_EQ(plain.ReminderTime, 45000.375 - 30.0 / 1440.0);
  EXPECT_EQ(pPlain->RecurrenceKind, rkNone);
  EXPECT_EQ(pPlain->Start.wHour, 9);

  const DateImage& series = *pSeries->Image;
  EXPECT_TRUE(series.IsRecurring);
  EXPECT_EQ(series.RecurrenceType, 1);
  EXPECT_EQ(series.Interval, 2);
  EXPECT_EQ(series.DayOfWeekMask, 10);
  EXPECT_EQ(series.PatternEndDate, 45100.0);
  EXPECT_EQ(pSeries->RecurrenceKind, rkWeekly);
  EXPECT_EQ(pSeries->Interval, 2);
  EXPECT_EQ(pSeries->HasPatternEnd, 1);
  EXPECT_EQ(util.GetContainer()->Next(), nullptr);
  EXPECT_EQ(ListText<CommDateMgr>(pPlain, ddkDescription), "Dentist");
  EXPECT_EQ(ListText<CommDateMgr>(pPlain, ddkLocation), AnsiText("Praxis Dr. Weiß"));
  EXPECT_EQ(ListText<CommDateMgr>(pPlain, ddkStartTime), "09:00:00");
  EXPECT_EQ(ListText<CommDateMgr>(pPlain, ddkAlarm), "Yes");
}

TEST_F(StoreReadTest, TasksFromTwoLevelsDownCarryTheirFolder) {
  OlTaskUtil util;
  util.SetIncludeSubfolders(true);
  ASSERT_TRUE(util.ReadItems());
  TaskRecord* pTaxes = util.GetContainer()->First();
  TaskRecord* pFence = util.GetContainer()->Next();
  TaskRecord* pPlan = util.GetContainer()->Next();
  ASSERT_TRUE(pTaxes && pFence && pPlan);
  EXPECT_TRUE(pTaxes->Image->ReminderSet);
  EXPECT_EQ(pTaxes->Image->ReminderTime, 45029.375);
  EXPECT_EQ(pTaxes->Image->DueDate, 45030.0);
  EXPECT_STREQ(pTaxes->Image->Role, "Owner");
  EXPECT_EQ(pTaxes->ReminderSet, 1);
  EXPECT_TRUE(pFence->Image->Complete);
  EXPECT_EQ(pFence->Image->PercentComplete, 100);
  EXPECT_EQ(pFence->Complete, 1);
  EXPECT_EQ(ListText<CommTaskMgr>(pTaxes, tdkSubject), "File taxes");
  EXPECT_EQ(ListText<CommTaskMgr>(pTaxes, tdkAlarm), "Yes");
  EXPECT_EQ(ListText<CommTaskMgr>(pFence, tdkCompleted), "Yes");
  EXPECT_STREQ(pPlan->Image->FolderName, "Phase 1");
  EXPECT_STREQ(pPlan->Image->StoreID, StoreId().c_str());
  EXPECT_STREQ(pPlan->Image->EntryID, m_ids["Draft plan"].c_str());
}

TEST_F(StoreReadTest, NoteBodyCutToItsField) {
  OlNoteUtil util;
  ASSERT_TRUE(util.ReadItems());
  NoteRecord* pShopping = util.GetContainer()->First();
  NoteRecord* pLong = util.GetContainer()->Next();
  ASSERT_TRUE(pShopping && pLong);
  EXPECT_EQ(pShopping->Color, 1);
  EXPECT_STREQ(pShopping->Image->Body, "Shopping list\nmilk");
  EXPECT_FALSE(pShopping->Image->Truncated.Any());
  EXPECT_EQ(std::strlen(pLong->Image->Body), 20479u);
  EXPECT_EQ(std::strlen(pLong->Body), 20478u);
  EXPECT_TRUE(pLong->Image->Truncated.Test(NoteField::Body));
  EXPECT_EQ(pLong->Image->Color, 3);
  EXPECT_EQ(ListText<CommNoteMgr>(pShopping, ndkSubject), "Shopping list");
  EXPECT_EQ(ListText<CommNoteMgr>(pShopping, ndkColor), "#000001");
}

}  // namespace
