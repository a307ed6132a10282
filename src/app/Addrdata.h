// Wizard page: the contacts to update.
#pragma once

#include "app/Page.h"

class TfmAddrData : public TfmPage {
  Q_OBJECT

 public:
  explicit TfmAddrData(QWidget* pParent = nullptr);
  bool UpdateData(bool bSave) override;
};
