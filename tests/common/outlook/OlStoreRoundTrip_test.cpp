// Round trips through a real local store: one field of one item's image is
// changed and marked, the accessor saves it, and the item is read back whole
// from the store. Exactly that property (and what Outlook derives from it)
// may differ; every other stored value must be as before.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/misc/CxText.h"
#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "common/outlook/support/StoreOutlookTest.h"
#include "support/AnsiCodePage.h"

namespace {

using olstore::FolderKind;
using olstore::ItemKind;
using olstore::Value;

constexpr char kNewText[] = "Neu ü";
constexpr char kOldText[] = "Alt";
const std::string kLongText(3000, 'l');
const std::string kLongNote(30000, 'n');

// The items the cases change, each seeded with a value in every field the
// catalogues offer, so that a write to the wrong property shows.
enum class Target {
  kContact,
  kContactLongBody,
  kAppointment,
  kTask,
  kTaskNoReminder,
  kNote,
  kNoteLong
};

typedef std::function<void(void* pImage)> Change;

// szText is UTF-8; the record takes it in the ANSI code page.
template <typename TImage, typename TField, size_t N>
Change SetText(char (TImage::*pmField)[N], TField nField, const char* szText) {
  return [=, strAnsi = AnsiText(szText)](void* p) {
    TImage& image = *static_cast<TImage*>(p);
    CopyText(image.*pmField, N, strAnsi.c_str());
    image.Changed.Set(nField);
  };
}

template <typename TImage, typename TField, typename T, typename TValue>
Change SetValue(T TImage::*pmField, TField nField, TValue value) {
  return [=](void* p) {
    TImage& image = *static_cast<TImage*>(p);
    image.*pmField = static_cast<T>(value);
    image.Changed.Set(nField);
  };
}

// Marked as changed, its value left as read.
template <typename TImage, typename TField>
Change MarkOnly(TField nField) {
  return [=](void* p) { static_cast<TImage*>(p)->Changed.Set(nField); };
}

struct Derived {
  const char* szProperty;
  std::optional<Value> value;  // none: Outlook chooses it
};

struct RoundTrip {
  std::string strName;
  Target nTarget;
  const char* szProperty;  // the stored property that must change; null: nothing may
  std::optional<Value> expected;
  Change fnChange;
  std::vector<Derived> derived = {};
  bool bSaves = true;
};

#define ADDR_TEXT(Field)                                                      \
  RoundTrip {                                                                 \
    "Contact" #Field, Target::kContact, #Field, Value(std::string(kNewText)), \
        SetText(&AddrImage::Field, AddrField::Field, kNewText)                \
  }
#define DATE_TEXT(Field)                                                           \
  RoundTrip {                                                                      \
    "Calendar" #Field, Target::kAppointment, #Field, Value(std::string(kNewText)), \
        SetText(&DateImage::Field, DateField::Field, kNewText)                     \
  }
#define DATE_VALUE(Field, NewValue, Stored)                         \
  RoundTrip {                                                       \
    "Calendar" #Field, Target::kAppointment, #Field, Value(Stored), \
        SetValue(&DateImage::Field, DateField::Field, NewValue)     \
  }
#define TASK_TEXT(Field)                                                \
  RoundTrip {                                                           \
    "Task" #Field, Target::kTask, #Field, Value(std::string(kNewText)), \
        SetText(&TaskImage::Field, TaskField::Field, kNewText)          \
  }
#define TASK_VALUE(Field, NewValue)                             \
  RoundTrip {                                                   \
    "Task" #Field, Target::kTask, #Field, Value(NewValue),      \
        SetValue(&TaskImage::Field, TaskField::Field, NewValue) \
  }

std::vector<RoundTrip> Cases() {
  return {
      // Contacts: every catalogue field.
      RoundTrip{"ContactAnniversary", Target::kContact, "Anniversary", Value(40000.5),
                SetValue(&AddrImage::Anniversary, AddrField::Anniversary, 40000.5)},
      RoundTrip{"ContactBirthday", Target::kContact, "Birthday", Value(29000.0),
                SetValue(&AddrImage::Birthday, AddrField::Birthday, 29000.0)},
      RoundTrip{"ContactGender", Target::kContact, "Gender", Value(int32_t{2}),
                SetValue(&AddrImage::Gender, AddrField::Gender, 2)},
      ADDR_TEXT(AssistantName),
      ADDR_TEXT(AssistantTelephoneNumber),
      ADDR_TEXT(Business2TelephoneNumber),
      ADDR_TEXT(BusinessAddressCity),
      ADDR_TEXT(BusinessAddressCountry),
      ADDR_TEXT(BusinessAddressPostalCode),
      ADDR_TEXT(BusinessAddressPostOfficeBox),
      ADDR_TEXT(BusinessAddressState),
      ADDR_TEXT(BusinessAddressStreet),
      ADDR_TEXT(BusinessFaxNumber),
      ADDR_TEXT(BusinessHomePage),
      ADDR_TEXT(BusinessTelephoneNumber),
      ADDR_TEXT(CallbackTelephoneNumber),
      ADDR_TEXT(CarTelephoneNumber),
      ADDR_TEXT(CompanyMainTelephoneNumber),
      ADDR_TEXT(CompanyName),
      ADDR_TEXT(ComputerNetworkName),
      ADDR_TEXT(CustomerID),
      ADDR_TEXT(Department),
      ADDR_TEXT(Email1Address),
      ADDR_TEXT(Email1AddressType),
      ADDR_TEXT(Email1DisplayName),
      ADDR_TEXT(Email2Address),
      ADDR_TEXT(Email2AddressType),
      ADDR_TEXT(Email2DisplayName),
      ADDR_TEXT(Email3Address),
      ADDR_TEXT(Email3AddressType),
      ADDR_TEXT(Email3DisplayName),
      ADDR_TEXT(FirstName),
      ADDR_TEXT(FTPSite),
      ADDR_TEXT(Hobby),
      ADDR_TEXT(Home2TelephoneNumber),
      ADDR_TEXT(HomeAddressCity),
      ADDR_TEXT(HomeAddressCountry),
      ADDR_TEXT(HomeAddressPostalCode),
      ADDR_TEXT(HomeAddressPostOfficeBox),
      ADDR_TEXT(HomeAddressState),
      ADDR_TEXT(HomeAddressStreet),
      ADDR_TEXT(HomeFaxNumber),
      ADDR_TEXT(HomeTelephoneNumber),
      ADDR_TEXT(ISDNNumber),
      ADDR_TEXT(JobTitle),
      ADDR_TEXT(LastName),
      ADDR_TEXT(MailingAddressCity),
      ADDR_TEXT(MailingAddressCountry),
      ADDR_TEXT(MailingAddressPostalCode),
      ADDR_TEXT(MailingAddressPostOfficeBox),
      ADDR_TEXT(MailingAddressState),
      ADDR_TEXT(MailingAddressStreet),
      ADDR_TEXT(ManagerName),
      ADDR_TEXT(MiddleName),
      ADDR_TEXT(MobileTelephoneNumber),
      ADDR_TEXT(NickName),
      ADDR_TEXT(OtherAddressCity),
      ADDR_TEXT(OtherAddressCountry),
      ADDR_TEXT(OtherAddressPostalCode),
      ADDR_TEXT(OtherAddressPostOfficeBox),
      ADDR_TEXT(OtherAddressState),
      ADDR_TEXT(OtherAddressStreet),
      ADDR_TEXT(PersonalHomePage),
      ADDR_TEXT(Profession),
      ADDR_TEXT(IMAddress),
      ADDR_TEXT(Spouse),
      ADDR_TEXT(Body),
      // Clearing a text, and a text that did not fit its field.
      RoundTrip{"ContactClearJobTitle", Target::kContact, "JobTitle", Value(std::string()),
                SetText(&AddrImage::JobTitle, AddrField::JobTitle, "")},
      RoundTrip{"ContactCutBodyNeverWrittenCut",
                Target::kContactLongBody,
                nullptr,
                std::nullopt,
                MarkOnly<AddrImage>(AddrField::Body),
                {},
                false},
      RoundTrip{"ContactCutBodyReplacedWhole", Target::kContactLongBody, "Body",
                Value(std::string("Kurz")),
                [](void* p) {
                  AddrImage& image = *static_cast<AddrImage*>(p);
                  SetText(&AddrImage::Body, AddrField::Body, "Kurz")(p);
                  // A Set replaces the whole text, so what was cut no longer matters.
                  image.Truncated = FieldMarks{};
                }},

      // Calendar: every catalogue field.
      RoundTrip{"CalendarAllDayEvent", Target::kAppointment, "AllDayEvent", Value(true),
                SetValue(&DateImage::AllDayEvent, DateField::AllDayEvent, true)},
      DATE_VALUE(BusyStatus, 3, int32_t{3}),
      DATE_VALUE(Importance, 2, int32_t{2}),
      DATE_VALUE(Sensitivity, 3, int32_t{3}),
      DATE_VALUE(ReminderMinutesBeforeStart, 30, int32_t{30}),
      DATE_VALUE(ReminderSet, 0, false),
      DATE_VALUE(ReminderOverrideDefault, 1, true),
      DATE_VALUE(ReminderPlaySound, 1, true),
      DATE_TEXT(Subject),
      DATE_TEXT(Body),
      DATE_TEXT(Location),
      DATE_TEXT(ReminderSoundFile),
      // A new start keeps the 90 minutes; a new end changes them.
      RoundTrip{"CalendarStart",
                Target::kAppointment,
                "Start",
                Value(45002.25),
                SetValue(&DateImage::Start, DateField::Start, 45002.25),
                {{"End", Value(45002.3125)}}},
      RoundTrip{"CalendarEnd", Target::kAppointment, "End", Value(45000.75),
                SetValue(&DateImage::End, DateField::End, 45000.75)},
      RoundTrip{"CalendarStartAndEnd",
                Target::kAppointment,
                "Start",
                Value(45003.5),
                [](void* p) {
                  SetValue(&DateImage::Start, DateField::Start, 45003.5)(p);
                  SetValue(&DateImage::End, DateField::End, 45003.53125)(p);
                },
                {{"End", Value(45003.53125)}}},

      // Tasks: every catalogue field.
      TASK_TEXT(Subject),
      TASK_TEXT(Body),
      TASK_TEXT(ReminderSoundFile),
      TASK_VALUE(DueDate, 45010.0),
      TASK_VALUE(StartDate, 45001.0),
      TASK_VALUE(Status, int32_t{3}),
      TASK_VALUE(Ordinal, int32_t{9}),
      TASK_VALUE(TotalWork, int32_t{120}),
      TASK_VALUE(PercentComplete, int32_t{50}),
      TASK_VALUE(Importance, int32_t{2}),
      TASK_VALUE(Sensitivity, int32_t{2}),
      TASK_VALUE(TeamTask, true),
      TASK_VALUE(ReminderSet, false),
      TASK_VALUE(ReminderTime, 45006.5),
      TASK_VALUE(ReminderOverrideDefault, true),
      TASK_VALUE(ReminderPlaySound, true),
      RoundTrip{"TaskComplete",
                Target::kTask,
                "Status",
                Value(int32_t{2}),
                SetValue(&TaskImage::Complete, TaskField::Complete, true),
                {{"PercentComplete", Value(int32_t{100})}, {"DateCompleted", std::nullopt}}},
      RoundTrip{"TaskReminderDetailsWithoutReminder", Target::kTaskNoReminder, nullptr,
                std::nullopt,
                SetText(&TaskImage::ReminderSoundFile, TaskField::ReminderSoundFile, kNewText)},

      // Notes: both catalogue fields, and a body that did not fit.
      RoundTrip{"NoteColor", Target::kNote, "Color", Value(int32_t{4}),
                SetValue(&NoteImage::Color, NoteField::Color, 4)},
      RoundTrip{"NoteBody", Target::kNote, "Body", Value(std::string(kNewText)),
                SetText(&NoteImage::Body, NoteField::Body, kNewText)},
      RoundTrip{"NoteCutBodyNeverWrittenCut",
                Target::kNoteLong,
                nullptr,
                std::nullopt,
                MarkOnly<NoteImage>(NoteField::Body),
                {},
                false},
  };
}

void PrintTo(const RoundTrip& c, std::ostream* pOut) { *pOut << c.strName; }

// Reads the kind's default folder, changes the target's image and saves it.
template <typename TUtil>
bool SaveChanged(const std::string& strEntryID, const Change& fnChange, bool* pbFound) {
  TUtil util;
  util.ReadItems();
  for (auto* pRecord = util.GetContainer()->First(); pRecord;
       pRecord = util.GetContainer()->Next()) {
    if (!pRecord->Image || strEntryID != pRecord->Image->EntryID) continue;
    *pbFound = true;
    fnChange(pRecord->Image);
    return util.SaveItem(pRecord->Image);
  }
  return false;
}

class StoreRoundTripTest : public StoreOutlookTest, public testing::WithParamInterface<RoundTrip> {
 protected:
  void SetUp() override {
    StoreOutlookTest::SetUp();
    if (HasFatalFailure()) return;
    Seed([this] { Arrange(); });
  }

  void Arrange() {
    StoreValues contact = {{"Anniversary", 30000.0}, {"Birthday", 31000.0}, {"Gender", int32_t{1}}};
    for (const olstore::PropDef& prop : olstore::Kind(ItemKind::Contact).props) {
      if (prop.type == olstore::ValueType::Text && prop.access == olstore::Access::ReadWrite) {
        contact.push_back({std::string(prop.name), std::string(kOldText)});
      }
    }
    const int64_t nContacts = Folder(FolderKind::Contacts);
    m_targets[Target::kContact] = Add(ItemKind::Contact, nContacts, contact);
    m_targets[Target::kContactLongBody] = Add(
        ItemKind::Contact, nContacts, {{"FirstName", std::string("Lang")}, {"Body", kLongText}});

    m_targets[Target::kAppointment] = Add(ItemKind::Appointment, Folder(FolderKind::Calendar),
                                          {{"Subject", std::string(kOldText)},
                                           {"Location", std::string(kOldText)},
                                           {"Body", std::string(kOldText)},
                                           {"Categories", std::string(kOldText)},
                                           {"Start", 45000.5},
                                           {"End", 45000.5625},
                                           {"BusyStatus", int32_t{2}},
                                           {"Importance", int32_t{1}},
                                           {"Sensitivity", int32_t{0}},
                                           {"ReminderSet", true},
                                           {"ReminderMinutesBeforeStart", int32_t{15}},
                                           {"ReminderSoundFile", std::string("alt.wav")}});

    const int64_t nTasks = Folder(FolderKind::Tasks);
    m_targets[Target::kTask] = Add(ItemKind::Task, nTasks,
                                   {{"Subject", std::string(kOldText)},
                                    {"Body", std::string(kOldText)},
                                    {"Categories", std::string(kOldText)},
                                    {"StartDate", 45000.0},
                                    {"DueDate", 45005.0},
                                    {"Status", int32_t{1}},
                                    {"PercentComplete", int32_t{20}},
                                    {"Importance", int32_t{1}},
                                    {"Ordinal", int32_t{5}},
                                    {"TotalWork", int32_t{60}},
                                    {"Mileage", std::string(kOldText)},
                                    {"CardData", std::string(kOldText)},
                                    {"Role", std::string(kOldText)},
                                    {"ReminderSet", true},
                                    {"ReminderTime", 45004.375},
                                    {"ReminderSoundFile", std::string("alt.wav")}});
    m_targets[Target::kTaskNoReminder] = Add(ItemKind::Task, nTasks,
                                             {{"Subject", std::string("Quiet")},
                                              {"ReminderSet", false},
                                              {"ReminderSoundFile", std::string("alt.wav")}});

    const int64_t nNotes = Folder(FolderKind::Notes);
    m_targets[Target::kNote] =
        Add(ItemKind::Note, nNotes,
            {{"Body", std::string("Alt\nline")}, {"Categories", std::string(kOldText)}});
    m_targets[Target::kNoteLong] = Add(ItemKind::Note, nNotes, {{"Body", kLongNote}});
  }

  bool Save(const RoundTrip& c, bool* pbFound) {
    const std::string& strEntryID = m_targets[c.nTarget];
    switch (c.nTarget) {
      case Target::kContact:
      case Target::kContactLongBody:
        return SaveChanged<OlAddrUtil>(strEntryID, c.fnChange, pbFound);
      case Target::kAppointment:
        return SaveChanged<OlDateUtil>(strEntryID, c.fnChange, pbFound);
      case Target::kTask:
      case Target::kTaskNoReminder:
        return SaveChanged<OlTaskUtil>(strEntryID, c.fnChange, pbFound);
      case Target::kNote:
      case Target::kNoteLong:
        return SaveChanged<OlNoteUtil>(strEntryID, c.fnChange, pbFound);
    }
    return false;
  }

  std::map<Target, std::string> m_targets;
};

TEST_P(StoreRoundTripTest, ChangesExactlyTheMarkedProperty) {
  const RoundTrip& c = GetParam();
  const olstore::ItemData before = Stored(m_targets[c.nTarget]);
  bool bFound = false;
  EXPECT_EQ(Save(c, &bFound), c.bSaves);
  ASSERT_TRUE(bFound);
  const olstore::ItemData after = Stored(m_targets[c.nTarget]);

  std::vector<std::string> expected;
  auto expectValue = [&](const char* szProperty, const std::optional<Value>& value) {
    expected.push_back(szProperty);
    const size_t nIndex = olstore::FindProperty(after.Info(), szProperty);
    ASSERT_NE(nIndex, olstore::kNoIndex) << szProperty;
    if (value) {
      EXPECT_TRUE(after.values[nIndex] == *value) << szProperty;
    }
  };
  if (c.szProperty) expectValue(c.szProperty, c.expected);
  for (const Derived& derived : c.derived) expectValue(derived.szProperty, derived.value);

  std::vector<std::string> differences = Differences(before, after);
  std::sort(differences.begin(), differences.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(differences, expected);
  if (!c.bSaves) {
    EXPECT_EQ(after.modified, before.modified);
  }
}

INSTANTIATE_TEST_SUITE_P(Fields, StoreRoundTripTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<RoundTrip>& info) {
                           return info.param.strName;
                         });

}  // namespace
