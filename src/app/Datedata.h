// Wizard page 3 for the calendar: the calendar items to update.
#pragma once

#include "app/RecordPage.h"

class TfmDateData : public TfmRecordPage {
  Q_OBJECT

 public:
  explicit TfmDateData(QWidget* pParent = nullptr);

  QTreeView* lvDateData;
  QPushButton* btnDateDetail;
  QMenu* pmDateData;
  QAction* pmiDateSelAll;
  QAction* pmiDateClear;
  QAction* pmiDateDetail;
};
