#include "common/outlook/OlTask.h"

#include "common/outlook/OlProperty.h"

namespace {

#define TASK_TEXT(Field, Size) OL_PROPERTY(TaskImage, TaskField, Field, Text, Size)
#define TASK_VALUE(Field, Value) OL_PROPERTY(TaskImage, TaskField, Field, Value, 0)
#define TASK_WRITE(Field, When) OL_WRITE(TaskField, Field, When)

// Read order.
constexpr OlProperty kTaskProperties[] = {
    TASK_TEXT(Body, 20479),
    TASK_TEXT(CardData, 255),
    TASK_VALUE(Complete, Bool),
    TASK_VALUE(DueDate, Date),
    TASK_TEXT(EntryID, 1023),
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
    TASK_VALUE(CreationTime, Date),
    TASK_VALUE(LastModificationTime, Date),
};

// The reminder's details mean something to Outlook only while the reminder
// is on, as the image holds it once every definition has been applied.
bool WhenReminderSet(const void* pImage, const void*) {
  return static_cast<const TaskImage*>(pImage)->ReminderSet;
}

// Write order: the reminder flag goes before its details.
constexpr OlWriteStep kTaskWrites[] = {
    TASK_WRITE(Body, nullptr),
    TASK_WRITE(CardData, nullptr),
    TASK_WRITE(Complete, nullptr),
    TASK_WRITE(DueDate, nullptr),
    TASK_WRITE(Importance, nullptr),
    TASK_WRITE(IsRecurring, nullptr),
    TASK_WRITE(Mileage, nullptr),
    TASK_WRITE(Ordinal, nullptr),
    TASK_WRITE(PercentComplete, nullptr),
    TASK_WRITE(ReminderSet, nullptr),
    TASK_WRITE(ReminderOverrideDefault, WhenReminderSet),
    TASK_WRITE(ReminderPlaySound, WhenReminderSet),
    TASK_WRITE(ReminderSoundFile, WhenReminderSet),
    TASK_WRITE(ReminderTime, WhenReminderSet),
    TASK_WRITE(ResponseState, nullptr),
    TASK_WRITE(Role, nullptr),
    TASK_WRITE(Sensitivity, nullptr),
    TASK_WRITE(StartDate, nullptr),
    TASK_WRITE(Status, nullptr),
    TASK_WRITE(Subject, nullptr),
    TASK_WRITE(TeamTask, nullptr),
    TASK_WRITE(TotalWork, nullptr),
    TASK_WRITE(Categories, nullptr),
};

// A Tasks folder that does not open is not logged: the accessor simply has no
// folder and its ReadItems() answers false.
constexpr OlFolderSpec kTasksFolder = {
    olFolderTasks,
    {
        "Failed to get the name of the folder. hr=0x%x",
        "Got the name of the Task folder: %s",
        nullptr,
        nullptr,
        "Failed to get the \"Items\" property of the Task folder. hr=0x%x",
    },
    nullptr,
    nullptr,
    false,
};

}  // namespace

OlTaskUtil::OlTaskUtil(const char* szProfile) : OlFolderUtil(szProfile, kTasksFolder) {}

bool OlTaskUtil::ReadTask(IDispatch* pItem, TaskImage* pImage) {
  if (!pItem || !pImage) return false;
  CDispCmd item(pItem);
  OlReadProperties(item, kTaskProperties, pImage, &pImage->Truncated, &pImage->Unread);
  return true;
}

void OlTaskUtil::GetSavedFields(const TaskImage* pImage, FieldMarks* pSaved) const {
  OlSavedFields(kTaskWrites, pImage, pImage->Changed, this, pSaved);
}

bool OlTaskUtil::SaveItem(const TaskImage* pImage) {
  return SaveImage(pImage,
                   [this](IDispatch* pItem, const TaskImage* p) { return WriteTask(pItem, p); });
}

bool OlTaskUtil::WriteTask(IDispatch* pItem, const TaskImage* pImage) {
  if (!pItem || !pImage) return false;
  CDispCmd item(pItem);
  return WriteAndSave(item, kTaskProperties, kTaskWrites, pImage, pImage->Changed,
                      pImage->Truncated);
}
