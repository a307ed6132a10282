// Saving through the four appliers: what they refuse on their own, and what a
// saved item looks like when it is read back from a local store.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxText.h"
#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "olstore/Store.h"
#include "olstore/olstore.h"
#include "platform/win32.h"
#include "support/Environment.h"
#include "support/TempFolder.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"
#include "update/support/ApplierCheck.h"

namespace {

// COM on the thread, and the log (failed saves write to it) in a fresh folder.
class SaveTest : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    g_DebugUtil.SetLogFolder(m_temp.Folder().c_str());
  }
  void TearDown() override {
    g_DebugUtil.SetLogFolder("./");
    CoUninitialize();
  }

  TempFolder m_temp;
};

template <typename Applier, typename Accessor, typename Image>
void ExpectSaveRefused() {
  Applier applier;
  auto pImage = std::make_unique<Image>();
  memset(static_cast<void*>(pImage.get()), 0, sizeof(Image));
  CopyText(pImage->EntryID, sizeof pImage->EntryID, "0000000000000000000000000000000000000001");
  CopyText(pImage->StoreID, sizeof pImage->StoreID, "store");

  EXPECT_FALSE(applier.Save(pImage.get())) << "no accessor bound";
  EXPECT_FALSE(applier.Save(nullptr));

  // No Outlook to reach: the accessor cannot find the item, and says so.
  Accessor accessor;
  ASSERT_FALSE(accessor.IsConnected());
  applier.SetAccessor(&accessor);
  EXPECT_FALSE(applier.Save(nullptr));
  EXPECT_FALSE(applier.Save(pImage.get()));
}

TEST_F(SaveTest, RefusedWithoutAccessorImageOrItem) {
  ExpectSaveRefused<CxQMOLAddrUtil, OlAddrUtil, AddrImage>();
  ExpectSaveRefused<CxQMOLDateUtil, OlDateUtil, DateImage>();
  ExpectSaveRefused<CxQMOLTaskUtil, OlTaskUtil, TaskImage>();
  ExpectSaveRefused<CxQMOLNoteUtil, OlNoteUtil, NoteImage>();
}

// ---- Against a local store --------------------------------------------------------

using StoredValues = std::vector<std::pair<std::string, olstore::Value>>;

// A store of its own in the test's folder, reached as "Outlook.Application".
class StoreSaveTest : public SaveTest {
 protected:
  void SetUp() override {
    SaveTest::SetUp();
    m_strStore = m_temp.File("store.db");
    m_env.Set("OLSTORE_PATH", m_strStore);
    ASSERT_TRUE(olstore::RegisterOutlookApplication()) << olstore::LastError();
  }
  void TearDown() override {
    olstore::UnregisterOutlookApplication();
    SaveTest::TearDown();
  }

  // Puts one item of the kind, with these stored values, into its default folder.
  void Seed(olstore::ItemKind nKind, const StoredValues& values) {
    std::string strError;
    std::shared_ptr<olstore::Store> pStore = olstore::Store::Open(m_strStore, strError);
    ASSERT_TRUE(pStore) << strError;
    olstore::ItemData item = olstore::NewItem(nKind);
    item.folderId = pStore->DefaultFolder(item.Info().folder)->id;
    for (const auto& [strName, value] : values) {
      const size_t nIndex = olstore::FindProperty(item.Info(), strName);
      ASSERT_NE(olstore::kNoIndex, nIndex) << strName;
      ASSERT_EQ(olstore::PutStatus::Ok, olstore::SetStoredValue(item, nIndex, value)) << strName;
    }
    ASSERT_EQ("", olstore::CheckItem(item));
    ASSERT_TRUE(pStore->InsertItem(item)) << pStore->ErrorMessage();
  }

  std::string m_strStore;
  ScopedEnvironment m_env;
};

// The image of the only item in the accessor's folder, as read now.
template <typename Accessor, typename Image>
void ReadOnlyImage(Accessor& accessor, std::unique_ptr<Image>* ppImage) {
  ASSERT_TRUE(accessor.IsConnected());
  ASSERT_TRUE(accessor.ReadItems());
  auto* pRecord = accessor.GetContainer()->First();
  ASSERT_NE(nullptr, pRecord);
  ASSERT_NE(nullptr, pRecord->Image);
  ASSERT_EQ(nullptr, accessor.GetContainer()->Next()) << "one item was seeded";
  *ppImage = std::make_unique<Image>(*pRecord->Image);
}

template <typename Image>
struct SavedItem {
  std::unique_ptr<Image> pRead;    // as read before the run
  std::unique_ptr<Image> pReread;  // as a fresh accessor reads it after the save
};

// One run over the seeded item: every definition applied, one save, then the
// item read again from the store by a new accessor.
template <typename Applier, typename Accessor, typename Image>
void ApplySaveReread(const std::vector<FieldUpdateDef>& defs, SavedItem<Image>* pSaved) {
  {
    Accessor accessor;
    ASSERT_NO_FATAL_FAILURE(ReadOnlyImage(accessor, &pSaved->pRead));
    Applier applier;
    applier.SetAccessor(&accessor);
    Image image = *pSaved->pRead;
    for (const FieldUpdateDef& def : defs) EXPECT_TRUE(applier.Apply(&image, &def));
    EXPECT_TRUE(applier.Save(&image));
  }
  Accessor fresh;
  ASSERT_NO_FATAL_FAILURE(ReadOnlyImage(fresh, &pSaved->pReread));
}

// Dates travel through the store rounded to the second.
constexpr double kSecond = 1.0 / 86400;
constexpr double kMinute = 1.0 / 1440;

#define ADDR(Member) QM_IMAGE_FIELD(AddrImage, AddrField, Member)
#define DATE(Member) QM_IMAGE_FIELD(DateImage, DateField, Member)
#define TASK(Member) QM_IMAGE_FIELD(TaskImage, TaskField, Member)
#define NOTE(Member) QM_IMAGE_FIELD(NoteImage, NoteField, Member)

TEST_F(StoreSaveTest, ContactGetsEveryKindOfChangeAndNothingElse) {
  ASSERT_NO_FATAL_FAILURE(Seed(olstore::ItemKind::Contact, {{"FirstName", std::string("Ada")},
                                                            {"LastName", std::string("Lovelace")},
                                                            {"JobTitle", std::string("Analyst")},
                                                            {"CompanyName", std::string("Engines")},
                                                            {"Body", std::string("met in 1833")},
                                                            {"Gender", int32_t{1}},
                                                            {"Birthday", 5000.0}}));
  SavedItem<AddrImage> item;
  ASSERT_NO_FATAL_FAILURE((ApplySaveReread<CxQMOLAddrUtil, OlAddrUtil>(
      {
          TextDef(46, uoSet, "Chief Analyst"),     // Job Title
          TextDef(19, uoAppend, " Ltd"),           // Company Name
          TextDef(68, uoReplace, "1834", "1833"),  // Note
          DateDef(5, 6000.0),                      // Birthday
          IntDef(34, 2),                           // Gender "Male"
      },
      &item)));
  EXPECT_STREQ("Chief Analyst", item.pReread->JobTitle);
  EXPECT_STREQ("Engines Ltd", item.pReread->CompanyName);
  EXPECT_STREQ("met in 1834", item.pReread->Body);
  EXPECT_EQ(6000.0, item.pReread->Birthday);
  EXPECT_EQ(2, item.pReread->Gender);
  ExpectOnlyFieldsDiffer(*item.pRead, *item.pReread,
                         {ADDR(JobTitle), ADDR(CompanyName), ADDR(Body), ADDR(Birthday),
                          ADDR(Gender), ADDR(LastModificationTime)});
}

TEST_F(StoreSaveTest, CalendarItemGetsEveryKindOfChangeAndNothingElse) {
  ASSERT_NO_FATAL_FAILURE(
      Seed(olstore::ItemKind::Appointment, {{"Subject", std::string("Team meeting")},
                                            {"Location", std::string("Room 1")},
                                            {"Start", 45000.375},  // 09:00
                                            {"End", 45000.5},      // 12:00
                                            {"BusyStatus", int32_t{2}},
                                            {"ReminderSet", true},
                                            {"ReminderMinutesBeforeStart", int32_t{15}},
                                            {"ReminderPlaySound", false}}));
  SavedItem<DateImage> item;
  ASSERT_NO_FATAL_FAILURE((ApplySaveReread<CxQMOLDateUtil, OlDateUtil>(
      {
          TextDef(26, uoSet, "Weekly review"),  // Subject
          DateDef(25, 45001.25),                // Start Time, 06:00 the next day
          IntDef(2, 3),                         // Busy Status "Out Of Office"
          IntDef(16, 30),                       // Reminder Minutes Before Start
          BoolDef(18, true),                    // Reminder Play Sound
      },
      &item)));
  const DateImage& after = *item.pReread;
  EXPECT_STREQ("Weekly review", after.Subject);
  EXPECT_NEAR(45001.25, after.Start, kSecond);
  EXPECT_EQ(3, after.BusyStatus);
  EXPECT_EQ(30, after.ReminderMinutesBeforeStart);
  EXPECT_NE(0, after.ReminderPlaySound);
  // Outlook keeps the duration when the start moves, and reminds relative to it.
  EXPECT_EQ(180, after.Duration);
  EXPECT_NEAR(45001.375, after.End, kSecond);
  EXPECT_NEAR(45001.25 - 30 * kMinute, after.ReminderTime, kSecond);
  ExpectOnlyFieldsDiffer(
      *item.pRead, after,
      {DATE(Subject), DATE(Start), DATE(End), DATE(BusyStatus), DATE(ReminderMinutesBeforeStart),
       DATE(ReminderPlaySound), DATE(ReminderTime), DATE(LastModificationTime)});
}

TEST_F(StoreSaveTest, TaskGetsEveryKindOfChangeAndNothingElse) {
  ASSERT_NO_FATAL_FAILURE(Seed(olstore::ItemKind::Task, {{"Subject", std::string("Write report")},
                                                         {"StartDate", 45000.0},
                                                         {"DueDate", 45010.0},
                                                         {"Importance", int32_t{1}},
                                                         {"TotalWork", int32_t{60}},
                                                         {"TeamTask", false},
                                                         {"ReminderSet", false}}));
  SavedItem<TaskImage> item;
  ASSERT_NO_FATAL_FAILURE((ApplySaveReread<CxQMOLTaskUtil, OlTaskUtil>(
      {
          TextDef(22, uoAppend, " (draft)"),  // Subject
          DateDef(4, 45020.0),                // Due Date
          DateDef(15, 45019.375),             // Reminder Time, before the reminder is on
          BoolDef(13, true),                  // Reminder Set
          BoolDef(24, true),                  // Team Task
          IntDef(25, 480),                    // Total Work
          IntDef(6, 2),                       // Importance "High"
      },
      &item)));
  const TaskImage& after = *item.pReread;
  EXPECT_STREQ("Write report (draft)", after.Subject);
  EXPECT_EQ(45020.0, after.DueDate);
  EXPECT_TRUE(after.ReminderSet);
  EXPECT_NEAR(45019.375, after.ReminderTime, kSecond);
  EXPECT_TRUE(after.TeamTask);
  EXPECT_EQ(480, after.TotalWork);
  EXPECT_EQ(2, after.Importance);
  ExpectOnlyFieldsDiffer(
      *item.pRead, after,
      {TASK(Subject), TASK(DueDate), TASK(ReminderTime), TASK(ReminderSet), TASK(TeamTask),
       TASK(TotalWork), TASK(Importance), TASK(LastModificationTime)});
}

TEST_F(StoreSaveTest, NoteGetsEveryKindOfChangeAndNothingElse) {
  ASSERT_NO_FATAL_FAILURE(
      Seed(olstore::ItemKind::Note,
           {{"Body", std::string("Shopping\r\nbuy milk")}, {"Color", int32_t{3}}}));
  SavedItem<NoteImage> item;
  ASSERT_NO_FATAL_FAILURE((ApplySaveReread<CxQMOLNoteUtil, OlNoteUtil>(
      {
          TextDef(5, uoReplace, "bread", "milk"),  // Note
          IntDef(3, 4),                            // Color "White"
      },
      &item)));
  EXPECT_STREQ("Shopping\r\nbuy bread", item.pReread->Body);
  EXPECT_STREQ("Shopping", item.pReread->Subject);
  EXPECT_EQ(4, item.pReread->Color);
  ExpectOnlyFieldsDiffer(*item.pRead, *item.pReread,
                         {NOTE(Body), NOTE(Color), NOTE(LastModificationTime)});
}

// A text that was cut when read is not shortened in the store by a run whose
// text operation on it is refused.
TEST_F(StoreSaveTest, RefusedAppendLeavesALongStoredTextWhole) {
  const std::string strLong(3000, 'b');  // more than a contact image's Body holds
  ASSERT_NO_FATAL_FAILURE(
      Seed(olstore::ItemKind::Contact, {{"LastName", std::string("Long")}, {"Body", strLong}}));
  {
    OlAddrUtil accessor;
    std::unique_ptr<AddrImage> pImage;
    ASSERT_NO_FATAL_FAILURE(ReadOnlyImage(accessor, &pImage));
    ASSERT_TRUE(pImage->Truncated.Test(AddrField::Body));
    CxQMOLAddrUtil applier;
    applier.SetAccessor(&accessor);
    const FieldUpdateDef append = TextDef(68, uoAppend, " more");
    EXPECT_FALSE(applier.Apply(pImage.get(), &append));
    const FieldUpdateDef jobTitle = TextDef(46, uoSet, "Writer");
    EXPECT_TRUE(applier.Apply(pImage.get(), &jobTitle));
    EXPECT_TRUE(applier.Save(pImage.get()));
  }
  std::string strError;
  std::shared_ptr<olstore::Store> pStore = olstore::Store::Open(m_strStore, strError);
  ASSERT_TRUE(pStore) << strError;
  std::optional<olstore::ItemData> stored =
      pStore->ItemAt(pStore->DefaultFolder(olstore::FolderKind::Contacts)->id, 0);
  ASSERT_TRUE(stored);
  EXPECT_EQ(strLong, stored->TextAt(olstore::FindProperty(stored->Info(), "Body")));
  EXPECT_EQ("Writer", stored->TextAt(olstore::FindProperty(stored->Info(), "JobTitle")));
}

// Setting a text that was cut when read replaces Outlook's whole value, so
// the new text is written back.
TEST_F(StoreSaveTest, SetReplacesALongStoredTextWhole) {
  ASSERT_NO_FATAL_FAILURE(Seed(olstore::ItemKind::Contact,
                               {{"LastName", std::string("Long")}, {"Body", std::string(3000, 'b')}}));
  {
    OlAddrUtil accessor;
    std::unique_ptr<AddrImage> pImage;
    ASSERT_NO_FATAL_FAILURE(ReadOnlyImage(accessor, &pImage));
    ASSERT_TRUE(pImage->Truncated.Test(AddrField::Body));
    CxQMOLAddrUtil applier;
    applier.SetAccessor(&accessor);
    const FieldUpdateDef set = TextDef(68, uoSet, "Short note");
    EXPECT_TRUE(applier.Apply(pImage.get(), &set));
    EXPECT_FALSE(pImage->Truncated.Test(AddrField::Body));
    EXPECT_TRUE(applier.Save(pImage.get()));
  }
  std::string strError;
  std::shared_ptr<olstore::Store> pStore = olstore::Store::Open(m_strStore, strError);
  ASSERT_TRUE(pStore) << strError;
  std::optional<olstore::ItemData> stored =
      pStore->ItemAt(pStore->DefaultFolder(olstore::FolderKind::Contacts)->id, 0);
  ASSERT_TRUE(stored);
  EXPECT_EQ("Short note", stored->TextAt(olstore::FindProperty(stored->Info(), "Body")));
}

#undef ADDR
#undef DATE
#undef TASK
#undef NOTE

}  // namespace
