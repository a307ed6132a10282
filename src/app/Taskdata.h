// Wizard page 3 for tasks: the tasks to update.
#pragma once

#include "app/RecordPage.h"

class TfmTaskData : public TfmRecordPage {
  Q_OBJECT

 public:
  explicit TfmTaskData(QWidget* pParent = nullptr);

  // Its descriptions can be retyped in place; that changes only what the row shows.
  QTreeView* lvTaskData;
  QPushButton* btnTodoDetail;
  QMenu* pmiTodoData;
  QAction* pmiTodoSelAll;
  QAction* pmiTodoClear;
  QAction* pmiTodoDetail;
};
