// Wizard page: the field update definitions.
#pragma once

#include "app/Page.h"

class TfmUpdateField : public TfmPage {
  Q_OBJECT

 public:
  explicit TfmUpdateField(QWidget* pParent = nullptr);
  bool UpdateData(bool bSave) override;
};
