#include "app/Taskdata.h"

#include "app/Context.h"
#include "app/Tododetail.h"
#include "common/outlook/OlTask.h"

namespace {

const RecordColumn kColumns[] = {
    {"Description", 360, tdkSubject},
    {"Due Date", 100, tdkDueDate},
    {"Priority", 80, tdkPriority},
    {"Completed", 80, tdkCompleted},
};

const RecordPageKind kKind = {
    kColumns,
    &ContainerText<CommTaskMgr, TaskRecord, DisplayField>,
    true,
    "No task record is selected. Please select the records you want to update.",
    [] { return ContainerRecords(g_pOlTaskUtil ? g_pOlTaskUtil->GetContainer() : nullptr); },
    &ShowRecordDetail<TfmTodoDetail, TaskRecord>,
    &RecordFolderText<TaskRecord>,
    []() -> const OlBaseUtil* { return g_pOlTaskUtil; },
};

}  // namespace

TfmTaskData::TfmTaskData(QWidget* pParent)
    : TfmRecordPage(kKind, pParent),
      lvTaskData(List()),
      btnTodoDetail(DetailButton()),
      pmiTodoData(PopupMenu()),
      pmiTodoSelAll(SelAllItem()),
      pmiTodoClear(ClearItem()),
      pmiTodoDetail(DetailItem()) {}
