#include "app/Finish.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Apputil.h"
#include "app/Context.h"
#include "app/Look.h"
#include "app/Main.h"
#include "app/Preview.h"
#include "app/ProgramText.h"
#include "app/Runs.h"
#include "common/misc/CxList.h"
#include "common/misc/WinUtil.h"

namespace {

struct ModeName {
  int32_t nMode;
  const char* szName;
};
const ModeName kModeNames[] = {
    {1, "Outlook Contacts"},
    {2, "Outlook Calendar"},
    {4, "Outlook Tasks"},
    {8, "Outlook Notes"},
};

QString AppName(int32_t nMode) {
  for (const ModeName& name : kModeNames)
    if (name.nMode == nMode) return QString::fromUtf8(name.szName);
  return QStringLiteral("Unknown");
}

int ListCount(const CxList* pList) { return pList ? static_cast<int>(pList->GetCount()) : 0; }

}  // namespace

TfmFinish::TfmFinish(QWidget* pParent) : TfmPage(pParent), m_nRun(0) {
  auto* pValues = new QGridLayout;
  pValues->setHorizontalSpacing(24);
  pValues->setVerticalSpacing(14);
  struct Row {
    const char* szCaption;
    QLabel* TfmFinish::*pValue;
  };
  const Row rows[] = {
      {"Application Type:", &TfmFinish::lblApp},
      {"Fields to Update:", &TfmFinish::lblFields},
      {"Records Upated:", &TfmFinish::lblRec},
      {"Result:", &TfmFinish::lblResult},
  };
  int nRow = 0;
  for (const Row& row : rows) {
    pValues->addWidget(new QLabel(QString::fromUtf8(row.szCaption), this), nRow, 0);
    QLabel* pValue = new QLabel(this);
    pValue->setWordWrap(true);
    SetRole(pValue, "value");
    this->*row.pValue = pValue;
    pValues->addWidget(pValue, nRow, 1);
    ++nRow;
  }
  pValues->setColumnStretch(1, 1);

  btnReport = new QPushButton(QStringLiteral("&Report"), this);
  btnUndo = new QPushButton(QStringLiteral("&Undo Run"), this);
  btnRuns = new QPushButton(QStringLiteral("Pas&t Runs..."), this);
  btnOL = new QPushButton(QStringLiteral("Open &Outlook"), this);
  btnAnother = new QPushButton(QStringLiteral("Update &More"), this);
  connect(btnReport, &QPushButton::clicked, this, &TfmFinish::btnReportClick);
  connect(btnUndo, &QPushButton::clicked, this, &TfmFinish::btnUndoClick);
  connect(btnRuns, &QPushButton::clicked, this, &TfmFinish::btnRunsClick);
  connect(btnOL, &QPushButton::clicked, this, &TfmFinish::btnOLClick);
  connect(btnAnother, &QPushButton::clicked, this, &TfmFinish::btnAnotherClick);
  auto* pButtons = new QHBoxLayout;
  pButtons->addWidget(btnReport);
  pButtons->addWidget(btnUndo);
  pButtons->addWidget(btnRuns);
  pButtons->addStretch();
  pButtons->addWidget(btnOL);
  pButtons->addWidget(btnAnother);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(80, 30, 80, 20);
  pLayout->addLayout(pValues);
  pLayout->addStretch();
  pLayout->addLayout(pButtons);
}

bool TfmFinish::UpdateData(bool bSave) {
  if (!bSave) {
    lblApp->setText(AppName(g_Settings.AppFlag));
    lblFields->setText(QStringLiteral("%1 fields in total").arg(ListCount(g_pFieldList)));
    lblRec->setText(QStringLiteral("%1 records in total").arg(ListCount(g_pRecordList)));
    ShowResult();
  }
  return true;
}

void TfmFinish::ClearRunOutcome() {
  m_pReport.reset();
  m_pUndone.reset();
  m_nRun = 0;
  m_strReportFile.clear();
  m_strRefused.clear();
  ShowResult();
}

void TfmFinish::SetRunOutcome(std::shared_ptr<const CxChangeReport> pReport, int64_t nRun,
                              const QString& strReportFile) {
  ClearRunOutcome();
  m_pReport = std::move(pReport);
  m_nRun = nRun;
  m_strReportFile = strReportFile;
  ShowResult();
}

void TfmFinish::SetRunRefused(const QString& strReason) {
  ClearRunOutcome();
  m_strRefused = strReason;
  ShowResult();
}

void TfmFinish::ShowResult() {
  const bool bSaved =
      m_pReport && (m_pReport->CountItems(ioUpdated) > 0 || m_pReport->CountItems(ioPartial) > 0);
  btnReport->setEnabled(m_pReport != nullptr);
  btnUndo->setEnabled(bSaved && m_nRun > 0 && !m_pUndone);
  // Until the run has ended there is nothing true to say about its result.
  if (!m_strRefused.isEmpty()) {
    lblResult->setText(
        QStringLiteral("The update did not start: %1. Nothing was changed.").arg(m_strRefused));
    SetRole(lblResult, "bad");
  } else if (!m_pReport) {
    lblResult->clear();
    SetRole(lblResult, "value");
  } else if (m_pUndone) {
    lblResult->setText(
        QStringLiteral("The run was undone: %1.").arg(QString::fromUtf8(m_pUndone->CountsText())));
    SetRole(lblResult, "value");
  } else if (m_pReport->CountItems(ioPartial) == 0 && m_pReport->CountItems(ioNotSaved) == 0) {
    lblResult->setText(QStringLiteral("Records updating successfully."));
    SetRole(lblResult, "value");
  } else {
    lblResult->setText(
        QStringLiteral("%1. The report says why.").arg(QString::fromUtf8(m_pReport->CountsText())));
    SetRole(lblResult, "bad");
  }
}

void TfmFinish::btnReportClick() {
  if (!m_pReport) return;
  QString strTitle = QStringLiteral("Report");
  if (!m_strReportFile.isEmpty()) strTitle += QStringLiteral(" (saved as %1)").arg(m_strReportFile);
  TfmPreview report(*m_pReport, strTitle, this);
  report.exec();
}

void TfmFinish::btnUndoClick() {
  CxChangeReport done;
  if (!UndoRunWithPreview(this, m_nRun, &done)) return;
  m_pUndone = std::make_shared<const CxChangeReport>(std::move(done));
  ShowResult();
}

void TfmFinish::btnRunsClick() {
  TfmRuns runs(this);
  runs.exec();
}

void TfmFinish::btnOLClick() {
  if (QFileInfo(FieldText(g_Settings.OLPath)).isFile()) {
    ShellOpen(g_Settings.OLPath);
    return;
  }
  char szPath[MAX_PATH];
  if (GetRegisteredOutlookPath(szPath, sizeof szPath)) {
    ShellOpen(szPath);
    return;
  }
  // A local Outlook has no program to start: its data folder shows where its
  // items live.
  PAL_LOCAL_OUTLOOK local;
  if (PalGetLocalOutlook(&local)) ShellOpen(local.szDataFolder);
}

void TfmFinish::btnAnotherClick() {
  if (fmMain) fmMain->GoToPage(0);
}
