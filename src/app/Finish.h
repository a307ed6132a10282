// Wizard page 5: the summary of the run.
#pragma once

#include "app/Page.h"

class QLabel;
class QPushButton;

class TfmFinish : public TfmPage {
  Q_OBJECT

 public:
  explicit TfmFinish(QWidget* pParent = nullptr);
  // false fills the four value labels; never blocks.
  bool UpdateData(bool bSave) override;

  // The outcome of the run the summary reports (connected to TfmProc).
  void ClearRunOutcome();
  void SetRunOutcome(int nRecords, int nNotUpdated);

  QLabel* lblApp;
  QLabel* lblFields;
  QLabel* lblRec;
  QLabel* lblResult;
  QPushButton* btnOL;
  QPushButton* btnAnother;

 private:
  void ShowResult();
  void btnOLClick();
  void btnAnotherClick();

  bool m_bHaveOutcome;
  int m_nRecords;
  int m_nNotUpdated;
};
