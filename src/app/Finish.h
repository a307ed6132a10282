// Wizard page 5: the summary of the run.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "app/Page.h"
#include "update/CxChangeReport.h"

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
  void SetRunOutcome(std::shared_ptr<const CxChangeReport> pReport, int64_t nRun,
                     const QString& strReportFile);
  void SetRunRefused(const QString& strReason);

  QLabel* lblApp;
  QLabel* lblFields;
  QLabel* lblRec;
  QLabel* lblResult;
  QPushButton* btnReport;
  QPushButton* btnUndo;
  QPushButton* btnRuns;
  QPushButton* btnOL;
  QPushButton* btnAnother;

 private:
  void ShowResult();
  void btnReportClick();
  void btnUndoClick();
  void btnRunsClick();
  void btnOLClick();
  void btnAnotherClick();

  std::shared_ptr<const CxChangeReport> m_pReport;  // none until a run has ended
  int64_t m_nRun;                                   // its id in the run journal
  QString m_strReportFile;
  QString m_strRefused;                             // why the run did not start
  std::shared_ptr<const CxChangeReport> m_pUndone;  // the undo's report, once undone
};
