#include "app/Proc.h"

#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <ctime>
#include <memory>
#include <string>

#include "app/Apputil.h"
#include "app/Context.h"
#include "app/Main.h"
#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxList.h"
#include "app/ProgramText.h"
#include "app/UiSeams.h"
#include "update/CxItemKind.h"
#include "update/CxRunJournal.h"
#include "update/CxUpdateRun.h"

namespace {

constexpr int kStartDelay = 500;   // ms between entering the page and the run
constexpr int kRecordPause = 100;  // ms after each record
constexpr int kFinishPause = 200;  // ms before the summary

}  // namespace

TfmProc::TfmProc(QWidget* pParent) : TfmPage(pParent), m_bRunning(false) {
  lblStatus = new QLabel(QStringLiteral("Updating now, please wait ..."), this);
  pbMain = new QProgressBar(this);
  pbMain->setRange(0, 100);
  pbMain->setValue(0);
  pbMain->setTextVisible(true);
  tmUpdate = new QTimer(this);
  tmUpdate->setSingleShot(true);
  tmUpdate->setInterval(kStartDelay);
  connect(tmUpdate, &QTimer::timeout, this, &TfmProc::tmUpdateTimer);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(80, 0, 80, 0);
  pLayout->addStretch();
  pLayout->addWidget(lblStatus);
  pLayout->addSpacing(8);
  pLayout->addWidget(pbMain);
  pLayout->addStretch();
}

bool TfmProc::UpdateData(bool bSave) {
  if (!bSave) {
    // Arming again while armed restarts the wait: the run still happens once.
    tmUpdate->start();
    emit RunScheduled();
  }
  return true;
}

void TfmProc::tmUpdateTimer() {
  tmUpdate->stop();
  // Cleared on every way out, an unexpected error included, so the window can
  // still be closed afterwards.
  struct RunningFlag {
    bool& bRunning;
    explicit RunningFlag(bool& bFlag) : bRunning(bFlag) { bRunning = true; }
    ~RunningFlag() { bRunning = false; }
  } running(m_bRunning);
  // The previous run left its closing words here.
  lblStatus->setText(QStringLiteral("Updating now, please wait ..."));
  pbMain->setValue(0);
  const int nCount = g_pRecordList ? static_cast<int>(g_pRecordList->GetCount()) : 0;
  const std::unique_ptr<CxItemKind> pKind = MakeItemKind(
      g_Settings.AppFlag, g_pAddrApplier, g_pDateApplier, g_pTaskApplier, g_pNoteApplier);
  std::string strError;
  CxRunJournal journal;
  if (!pKind) {
    strError = "the data mode " + std::to_string(g_Settings.AppFlag) + " is unknown";
  } else if (OpenRunJournal(&journal, &strError)) {
    CxUpdateRun run(*pKind, g_pFieldList);
    if (run.Begin(&journal, static_cast<size_t>(nCount), &strError)) {
      const int64_t nRun = journal.GetRunID();
      UpdateRecords(run, nCount);
      run.End();
      pbMain->setValue(100);
      lblStatus->setText(QStringLiteral("Update finishing ... "));
      Pause(kFinishPause);
      emit RunFinished(std::make_shared<const CxChangeReport>(run.GetReport()), nRun,
                       WriteReport(run.GetReport()));
      if (fmMain) fmMain->GoToPage(5);
      return;
    }
  }
  // Nothing was written: the summary says why, and so does a message now.
  QM_LOG(0, "The update did not start: %s", strError.c_str());
  ShowMessageBox(this,
                 QStringLiteral("The update cannot start: %1. Nothing was changed.")
                     .arg(QString::fromUtf8(strError)),
                 QStringLiteral("Error"), QMessageBox::Critical);
  emit RunRefused(QString::fromUtf8(strError));
  if (fmMain) fmMain->GoToPage(5);
}

void TfmProc::UpdateRecords(CxUpdateRun& run, int nCount) {
  if (nCount <= 0) return;
  const double dStep = 100.0 / nCount;
  int n = 0;
  for (void* pRecord = g_pRecordList->GetFirst(); pRecord;
       pRecord = g_pRecordList->GetNext(), ++n) {
    run.UpdateItem(pRecord);
    pbMain->setValue(static_cast<int>((n + 1) * dStep));
    Pause(kRecordPause);
  }
}

QString TfmProc::WriteReport(const CxChangeReport& report) {
  const std::string strPath = ReportPath(time(nullptr));
  std::string strError;
  if (strPath.empty() || !report.WriteCsv(strPath, &strError)) {
    QM_LOG(0, "The run's report was not written: %s",
           strPath.empty() ? "the data folder cannot be found" : strError.c_str());
    return QString();
  }
  return FromProgramText(strPath.c_str());
}

void TfmProc::Pause(int nMilliseconds) {
  // A nested loop that only paints and runs posted work: the progress bar and
  // the status move, while clicks and keys wait until the run has ended.
  QEventLoop loop;
  QTimer::singleShot(nMilliseconds, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}
