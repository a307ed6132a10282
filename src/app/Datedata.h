// Wizard page: the calendar items to update.
#pragma once

#include "app/Page.h"

class TfmDateData : public TfmPage {
  Q_OBJECT

 public:
  explicit TfmDateData(QWidget* pParent = nullptr);
  bool UpdateData(bool bSave) override;
};
