// Wizard page 4: the update run. Entering the page arms a 500 ms timer; when it
// fires, every definition is applied to every ticked record and each record is
// saved back to Outlook, then the wizard moves to the summary.
#pragma once

#include "app/Page.h"

class QLabel;
class QProgressBar;
class QTimer;

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
  // The run has ended: nRecords records were processed and nNotUpdated of them
  // could not be updated completely (see the debug log).
  void RunFinished(int nRecords, int nNotUpdated);

 private:
  void tmUpdateTimer();
  // Applies every definition to one record of the current mode and saves it;
  // true when everything succeeded.
  bool UpdateRecord(void* pRecord);
  // Lets the window paint for nMilliseconds while user input waits.
  void Pause(int nMilliseconds);

  bool m_bRunning;
};
