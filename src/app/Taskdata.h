// Wizard page: the tasks to update.
#pragma once

#include "app/Page.h"

class TfmTaskData : public TfmPage {
  Q_OBJECT

 public:
  explicit TfmTaskData(QWidget* pParent = nullptr);
  bool UpdateData(bool bSave) override;
};
