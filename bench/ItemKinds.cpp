#include "bench/ItemKinds.h"

#include <cstring>
#include <string>

#include "common/misc/CxText.h"

namespace qmbench {

namespace {

// One column read into the image member of the same name; the macros below
// give the usual forms of each kind.
#define BENCH_COLUMN(Image, FieldEnum, Field, Expr, Value, ReadSize)                     \
  SqlColumn {                                                                            \
    Expr, SqlValue::Value, offsetof(Image, Field), (ReadSize), static_cast<int>(FieldEnum::Field) \
  }
#define BENCH_STORED(Image, FieldEnum, Field, Value, ReadSize) \
  BENCH_COLUMN(Image, FieldEnum, Field, "k.\"" #Field "\"", Value, ReadSize)
// What every kind takes from its items row.
#define BENCH_ITEM_COLUMNS(Image, FieldEnum, EntryIDSize)                                \
  BENCH_COLUMN(Image, FieldEnum, EntryID, "i.entry_id", Text, EntryIDSize),             \
      BENCH_COLUMN(Image, FieldEnum, CreationTime, "i.created", Date, 0),               \
      BENCH_COLUMN(Image, FieldEnum, LastModificationTime, "i.modified", Date, 0)

#define ADDR_TEXT(Field) BENCH_STORED(AddrImage, AddrField, Field, Text, sizeof(AddrImage::Field))
#define ADDR_VALUE(Field, Value) BENCH_STORED(AddrImage, AddrField, Field, Value, 0)

// The 80 properties the contacts accessor reads.
constexpr SqlColumn kAddrColumns[] = {
    BENCH_ITEM_COLUMNS(AddrImage, AddrField, 1023),
    ADDR_TEXT(Account),
    ADDR_VALUE(Anniversary, Date),
    ADDR_TEXT(AssistantName),
    ADDR_TEXT(AssistantTelephoneNumber),
    ADDR_VALUE(Birthday, Date),
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
    ADDR_TEXT(FullName),
    ADDR_VALUE(Gender, Long),
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
    ADDR_TEXT(IMAddress),
    ADDR_TEXT(Initials),
    ADDR_TEXT(ISDNNumber),
    ADDR_TEXT(JobTitle),
    ADDR_TEXT(Language),
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
    ADDR_TEXT(OtherTelephoneNumber),
    ADDR_TEXT(PagerNumber),
    ADDR_TEXT(PersonalHomePage),
    ADDR_TEXT(PrimaryTelephoneNumber),
    ADDR_TEXT(Profession),
    ADDR_TEXT(RadioTelephoneNumber),
    ADDR_TEXT(Spouse),
    ADDR_TEXT(WebPage),
    ADDR_TEXT(Body),
    ADDR_TEXT(Categories),
};

#define DATE_TEXT(Field, Size) BENCH_STORED(DateImage, DateField, Field, Text, Size)
#define DATE_VALUE(Field, Value) BENCH_STORED(DateImage, DateField, Field, Value, 0)
// The recurrence pattern is read only from a recurring appointment; any
// other keeps RecurrenceType -1 and the rest 0.
#define DATE_PATTERN(Field, Value, Otherwise)                                                  \
  BENCH_COLUMN(DateImage, DateField, Field,                                                    \
               "CASE WHEN k.\"IsRecurring\" THEN k.\"" #Field "\" ELSE " #Otherwise " END", Value, 0)

constexpr SqlColumn kDateColumns[] = {
    BENCH_ITEM_COLUMNS(DateImage, DateField, 1023),
    DATE_VALUE(AllDayEvent, Bool),
    BENCH_COLUMN(DateImage, DateField, Duration,
                 "CAST(round((k.\"End\" - k.\"Start\") * 1440) AS INTEGER)", Long, 0),
    DATE_VALUE(End, Date),
    DATE_VALUE(Start, Date),
    DATE_VALUE(ReminderSet, Flag32),
    BENCH_COLUMN(DateImage, DateField, ReminderTime,
                 "k.\"Start\" - k.\"ReminderMinutesBeforeStart\" / 1440.0", Date, 0),
    DATE_TEXT(Subject, 255),
    DATE_TEXT(Body, 20479),
    DATE_TEXT(Location, 255),
    DATE_TEXT(Categories, 255),
    DATE_VALUE(IsRecurring, Bool),
    DATE_PATTERN(RecurrenceType, Long, -1),
    DATE_PATTERN(Interval, Long, 0),
    DATE_PATTERN(DayOfWeekMask, Long, 0),
    DATE_PATTERN(DayOfMonth, Long, 0),
    DATE_PATTERN(Instance, Long, 0),
    DATE_PATTERN(MonthOfYear, Long, 0),
    DATE_PATTERN(PatternEndDate, Date, 0),
    DATE_VALUE(BusyStatus, Long),
    DATE_VALUE(Importance, Long),
    DATE_VALUE(Sensitivity, Long),
    DATE_VALUE(ReminderMinutesBeforeStart, Long),
    DATE_VALUE(ReminderOverrideDefault, Flag32),
    DATE_VALUE(ReminderPlaySound, Flag32),
    DATE_TEXT(ReminderSoundFile, 259),
};

#define TASK_TEXT(Field, Size) BENCH_STORED(TaskImage, TaskField, Field, Text, Size)
#define TASK_VALUE(Field, Value) BENCH_STORED(TaskImage, TaskField, Field, Value, 0)

constexpr SqlColumn kTaskColumns[] = {
    BENCH_ITEM_COLUMNS(TaskImage, TaskField, 1023),
    TASK_TEXT(Body, 20479),
    TASK_TEXT(CardData, 255),
    // A task is complete when its status says so.
    BENCH_COLUMN(TaskImage, TaskField, Complete, "k.\"Status\" = 2", Bool, 0),
    TASK_VALUE(DueDate, Date),
    TASK_VALUE(Importance, Long),
    TASK_VALUE(IsRecurring, Bool),
    TASK_TEXT(Mileage, 255),
    TASK_VALUE(Ordinal, Long),
    TASK_VALUE(PercentComplete, Long),
    TASK_VALUE(ReminderOverrideDefault, Bool),
    TASK_VALUE(ReminderPlaySound, Bool),
    TASK_VALUE(ReminderSet, Bool),
    TASK_TEXT(ReminderSoundFile, 259),
    TASK_VALUE(ReminderTime, Date),
    TASK_VALUE(ResponseState, Long),
    TASK_TEXT(Role, 31),
    TASK_VALUE(Sensitivity, Long),
    TASK_VALUE(StartDate, Date),
    TASK_VALUE(Status, Long),
    TASK_TEXT(Subject, 255),
    TASK_VALUE(TeamTask, Bool),
    TASK_VALUE(TotalWork, Long),
    TASK_TEXT(Categories, 255),
};

#define NOTE_TEXT(Field) BENCH_STORED(NoteImage, NoteField, Field, Text, sizeof(NoteImage::Field))

constexpr SqlColumn kNoteColumns[] = {
    BENCH_ITEM_COLUMNS(NoteImage, NoteField, sizeof(NoteImage::EntryID)),
    // A note's subject is the first line of its body.
    BENCH_COLUMN(NoteImage, NoteField, Subject, "k.\"Body\"", FirstLine, sizeof(NoteImage::Subject)),
    NOTE_TEXT(Body),
    NOTE_TEXT(Categories),
    // A note just fetched has no unsaved changes.
    BENCH_COLUMN(NoteImage, NoteField, Saved, "1", Bool, 0),
    BENCH_STORED(NoteImage, NoteField, Color, Long, 0),
};

// ---- definitions -------------------------------------------------------------

FieldUpdateDef NewDef(int32_t nFieldID) {
  FieldUpdateDef def;
  memset(&def, 0, sizeof def);
  def.nFieldID = nFieldID;
  return def;
}

FieldUpdateDef TextDef(int32_t nFieldID, UpdateOp nOp, const char* szValue, const char* szSearch = "",
                       int32_t nPosition = 0) {
  FieldUpdateDef def = NewDef(nFieldID);
  def.nOperation = nOp;
  CopyText(def.szValue, sizeof def.szValue, szValue);
  // NewDef left it empty; only Replace has a text to find.
  if (*szSearch) CopyText(def.szSearch, sizeof def.szSearch, szSearch);
  def.nPosition = nPosition;
  return def;
}

FieldUpdateDef DateDef(int32_t nFieldID, double dtValue) {
  FieldUpdateDef def = NewDef(nFieldID);
  def.nHasDate = 1;
  def.dtValue = dtValue;
  return def;
}

FieldUpdateDef BoolDef(int32_t nFieldID, bool bValue) {
  FieldUpdateDef def = NewDef(nFieldID);
  def.bValue = bValue ? 1 : 0;
  return def;
}

FieldUpdateDef IntDef(int32_t nFieldID, int32_t nValue) {
  FieldUpdateDef def = NewDef(nFieldID);
  def.nValue = nValue;
  return def;
}

// 1 March 2025, and the same day at 09:30.
constexpr double kDay = 45717.0;
constexpr double kDayAndTime = 45717.0 + 9.5 / 24.0;

std::string PassText(const char* szPrefix, int nPass) { return szPrefix + std::to_string(nPass); }

}  // namespace

std::span<const SqlColumn> AddrKind::Columns() { return kAddrColumns; }
std::span<const SqlColumn> DateKind::Columns() { return kDateColumns; }
std::span<const SqlColumn> TaskKind::Columns() { return kTaskColumns; }
std::span<const SqlColumn> NoteKind::Columns() { return kNoteColumns; }

// Ten definitions per kind, every value type the kind's catalogue has and
// every text operation, on short fields and on the long note.
std::vector<FieldUpdateDef> AddrKind::Definitions() {
  return {
      TextDef(46, uoSet, "Senior Buyer"),
      TextDef(22, uoAppend, " (EMEA)"),
      TextDef(32, uoInsert, "Dr. ", "", 0),
      TextDef(12, uoReplace, "St.", "Street"),
      TextDef(68, uoReplace, "THE", "the"),
      DateDef(5, kDay),
      DateDef(2, kDay + 1),
      IntDef(34, 2),
      TextDef(26, uoSet, "bench@example.org"),
      TextDef(35, uoAppend, ", chess"),
  };
}

std::vector<FieldUpdateDef> DateKind::Definitions() {
  return {
      BoolDef(1, false),
      IntDef(2, 3),
      DateDef(25, kDayAndTime),
      TextDef(26, uoAppend, " (moved)"),
      TextDef(28, uoAppend, " Agenda follows."),
      TextDef(7, uoReplace, "Rm", "Room"),
      IntDef(5, 2),
      BoolDef(19, true),
      IntDef(16, 30),
      TextDef(20, uoSet, "chime.wav"),
  };
}

std::vector<FieldUpdateDef> TaskKind::Definitions() {
  return {
      TextDef(22, uoInsert, "[Q2] ", "", 0),
      TextDef(1, uoAppend, " Checked."),
      BoolDef(3, false),
      DateDef(4, kDay),
      IntDef(21, 1),
      IntDef(9, 7),
      IntDef(25, 120),
      IntDef(6, 2),
      BoolDef(13, true),
      DateDef(15, kDayAndTime),
  };
}

// Notes have two updatable fields: the colour and the (long) text.
std::vector<FieldUpdateDef> NoteKind::Definitions() {
  return {
      IntDef(3, 1),
      TextDef(5, uoAppend, " #later"),
      TextDef(5, uoInsert, "> ", "", 0),
      TextDef(5, uoReplace, "THE", "the"),
      TextDef(5, uoReplace, "&", "and"),
      IntDef(3, 4),
      TextDef(5, uoAppend, " (seen)"),
      TextDef(5, uoInsert, "* ", "", 2),
      TextDef(5, uoReplace, " ", "  "),
      IntDef(3, 2),
  };
}

SaveChange AddrKind::Change(int nPass) {
  return {TextDef(46, uoSet, PassText("Buyer ", nPass).c_str()), "JobTitle", true};
}

SaveChange DateKind::Change(int nPass) {
  return {TextDef(26, uoSet, PassText("Review ", nPass).c_str()), "Subject", true};
}

SaveChange TaskKind::Change(int nPass) {
  return {TextDef(22, uoSet, PassText("Follow up ", nPass).c_str()), "Subject", true};
}

SaveChange NoteKind::Change(int nPass) { return {IntDef(3, nPass % 5), "Color", false}; }

}  // namespace qmbench
