#include "update/Qmoldate.h"

#include "common/outlook/OlDate.h"

namespace {

#define SLOT(Member) QM_FIELD_SLOT(DateImage, DateField, Member)

// The calendar item fields a user can update, in the order the editor lists them.
// clang-format off
constinit FieldEntry g_DateFields[] = {
    MakeFieldEntry(1, ftBoolean, "All Day Event", nullptr, 1, SLOT(AllDayEvent)),
    MakeFieldEntry(2, ftEnumeration, "Busy Status", nullptr, 4, SLOT(BusyStatus)),
    MakeFieldEntry(25, ftDateTime, "Start Time", nullptr, 8, SLOT(Start)),
    MakeFieldEntry(4, ftDateTime, "End Time", nullptr, 8, SLOT(End)),
    MakeFieldEntry(26, ftString, "Subject", nullptr, 256, SLOT(Subject)),
    MakeFieldEntry(28, ftString, "Note", nullptr, 20480, SLOT(Body)),
    MakeFieldEntry(5, ftEnumeration, "Importance", nullptr, 4, SLOT(Importance)),
    MakeFieldEntry(24, ftEnumeration, "Sensitivity", nullptr, 4, SLOT(Sensitivity)),
    MakeFieldEntry(7, ftString, "Location", nullptr, 256, SLOT(Location)),
    MakeFieldEntry(19, ftBoolean, "Reminder Set", nullptr, 4, SLOT(ReminderSet)),
    MakeFieldEntry(17, ftBoolean, "Reminder Override Default", nullptr, 4, SLOT(ReminderOverrideDefault)),
    MakeFieldEntry(16, ftInteger, "Reminder Minutes Before Start", nullptr, 4, SLOT(ReminderMinutesBeforeStart)),
    MakeFieldEntry(18, ftBoolean, "Reminder Play Sound", "Reminder Play Sound or Not", 4, SLOT(ReminderPlaySound)),
    MakeFieldEntry(20, ftString, "Reminder Sound File", nullptr, 260, SLOT(ReminderSoundFile)),
};
// clang-format on

#undef SLOT

constexpr FieldEnumeration kBusyStatusEnum{
    4, {0, 1, 2, 3}, {"Free", "Tentative", "Busy", "Out Of Office"}};
constexpr FieldEnumBinding kDateEnums[] = {
    {2, &kBusyStatusEnum}, {5, &kImportanceEnum}, {24, &kSensitivityEnum}};

constinit const CxFieldCatalogue g_DateCatalogue(g_DateFields);

}  // namespace

CxQMOLDateUtil::CxQMOLDateUtil() { g_DateCatalogue.WriteEnumerations(kDateEnums); }

const CxFieldCatalogue& CxQMOLDateUtil::Catalogue() { return g_DateCatalogue; }
