// Wizard page 4: the update run. Entering the page arms a 500 ms timer; when it
// fires, every definition is applied to every ticked record and each record is
// saved back to Outlook, journaled so the run can be undone, then the wizard
// moves to the summary.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "app/Page.h"
#include "update/CxChangeReport.h"

class QLabel;
class QProgressBar;
class QTimer;
class CxUpdateRun;

class TfmProc : public TfmPage {
  Q_OBJECT

 public:
  explicit TfmProc(QWidget* pParent = nullptr);
  // false arms the timer; never blocks leaving the page.
  bool UpdateData(bool bSave) override;
  // True while the run holds the window.
  bool IsRunning() const { return m_bRunning; }

  QLabel* lblStatus;
  QProgressBar* pbMain;
  QTimer* tmUpdate;

 signals:
  // A run has been armed; its outcome is not known yet.
  void RunScheduled();
  // The run has ended: its report, its id in the run journal, and the CSV
  // file the report was written to (empty when it could not be written).
  void RunFinished(std::shared_ptr<const CxChangeReport> pReport, int64_t nRun,
                   const QString& strReportFile);
  // The run did not start, for this reason; nothing was written.
  void RunRefused(const QString& strReason);

 private:
  void tmUpdateTimer();
  // Every ticked record through the run, the progress bar following.
  void UpdateRecords(CxUpdateRun& run, int nCount);
  // The report as CSV in the data folder; the file's name, empty on failure.
  static QString WriteReport(const CxChangeReport& report);
  // Lets the window paint for nMilliseconds while user input waits.
  void Pause(int nMilliseconds);

  bool m_bRunning;
};
