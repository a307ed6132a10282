// Wizard page: the notes to update.
#pragma once

#include "app/Page.h"

class TfmNoteData : public TfmPage {
  Q_OBJECT

 public:
  explicit TfmNoteData(QWidget* pParent = nullptr);
  bool UpdateData(bool bSave) override;
};
