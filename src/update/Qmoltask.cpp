#include "update/Qmoltask.h"

#include "common/outlook/OlTask.h"

namespace {

#define SLOT(Member) QM_FIELD_SLOT(TaskImage, TaskField, Member)

// The task fields a user can update, in the order the editor lists them.
// clang-format off
constinit FieldEntry g_TaskFields[] = {
    MakeFieldEntry(22, ftString, "Subject", nullptr, 256, SLOT(Subject)),
    MakeFieldEntry(1, ftString, "Note", nullptr, 20480, SLOT(Body)),
    MakeFieldEntry(3, ftBoolean, "Completed", "Completed or Not", 1, SLOT(Complete)),
    MakeFieldEntry(4, ftDate, "Due Date", nullptr, 8, SLOT(DueDate)),
    MakeFieldEntry(20, ftDate, "Start Date", nullptr, 8, SLOT(StartDate)),
    MakeFieldEntry(21, ftEnumeration, "Status", nullptr, 4, SLOT(Status)),
    MakeFieldEntry(9, ftInteger, "Ordinal", nullptr, 4, SLOT(Ordinal)),
    MakeFieldEntry(25, ftInteger, "Total Work", nullptr, 4, SLOT(TotalWork)),
    MakeFieldEntry(10, ftInteger, "Percent Complete", nullptr, 4, SLOT(PercentComplete)),
    MakeFieldEntry(6, ftEnumeration, "Importance", nullptr, 4, SLOT(Importance)),
    MakeFieldEntry(19, ftEnumeration, "Sensitivity", nullptr, 4, SLOT(Sensitivity)),
    MakeFieldEntry(24, ftBoolean, "Team Task", "Team Task or Not", 1, SLOT(TeamTask)),
    MakeFieldEntry(13, ftBoolean, "Reminder Set", nullptr, 1, SLOT(ReminderSet)),
    MakeFieldEntry(15, ftDateTime, "Reminder Time", nullptr, 8, SLOT(ReminderTime)),
    MakeFieldEntry(11, ftBoolean, "Reminder Override Default", nullptr, 1, SLOT(ReminderOverrideDefault)),
    MakeFieldEntry(12, ftBoolean, "Reminder Play Sound", nullptr, 1, SLOT(ReminderPlaySound)),
    MakeFieldEntry(14, ftString, "Reminder Sound File", nullptr, 260, SLOT(ReminderSoundFile)),
};
// clang-format on

#undef SLOT

constexpr FieldEnumeration kStatusEnum{
    5, {0, 1, 2, 3, 4}, {"Not Started", "In Progress", "Complete", "Waiting", "Deferred"}};
constexpr FieldEnumBinding kTaskEnums[] = {
    {21, &kStatusEnum}, {6, &kImportanceEnum}, {19, &kSensitivityEnum}};

constinit const CxFieldCatalogue g_TaskCatalogue(g_TaskFields);

}  // namespace

CxQMOLTaskUtil::CxQMOLTaskUtil() { g_TaskCatalogue.WriteEnumerations(kTaskEnums); }

const CxFieldCatalogue& CxQMOLTaskUtil::Catalogue() { return g_TaskCatalogue; }
