// Wizard page 0: the kind of Outlook item the run updates (the mode).
#pragma once

#include "app/Page.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

class TfmMode : public TfmPage {
  Q_OBJECT

 public:
  explicit TfmMode(QWidget* pParent = nullptr);
  // false checks the radio button of the stored mode (Contacts for an unknown
  // one) and shows the subfolder setting; true stores the checked mode
  // (Contacts when none is checked) and the subfolder setting.
  bool UpdateData(bool bSave) override;

  QGroupBox* gbMode;
  QRadioButton* rbtnAddr;
  QRadioButton* rbtnDate;
  QRadioButton* rbtnTask;
  QRadioButton* rbtnNote;
  // Whether the read walks the subfolders of the kind's default folder too.
  QCheckBox* cbSubFolder;
  QPushButton* btnRuns;

 private:
  void btnRunsClick();
};
