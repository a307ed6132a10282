// Wizard page 0: the kind of Outlook item the run updates (the mode).
#pragma once

#include "app/Page.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

class TfmMode : public TfmPage {
  Q_OBJECT

 public:
  explicit TfmMode(QWidget* pParent = nullptr);
  // false checks the radio button of the stored mode (Contacts for an unknown
  // one); true stores the checked mode (Contacts when none is checked).
  bool UpdateData(bool bSave) override;

  QGroupBox* gbMode;
  QRadioButton* rbtnAddr;
  QRadioButton* rbtnDate;
  QRadioButton* rbtnTask;
  QRadioButton* rbtnNote;
  QPushButton* btnRuns;

 private:
  void btnRunsClick();
};
