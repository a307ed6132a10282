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
#include "app/ProgramText.h"
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

TfmFinish::TfmFinish(QWidget* pParent)
    : TfmPage(pParent), m_bHaveOutcome(false), m_nRecords(0), m_nNotUpdated(0) {
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

  btnOL = new QPushButton(QStringLiteral("Open &Outlook"), this);
  btnAnother = new QPushButton(QStringLiteral("Update &More"), this);
  connect(btnOL, &QPushButton::clicked, this, &TfmFinish::btnOLClick);
  connect(btnAnother, &QPushButton::clicked, this, &TfmFinish::btnAnotherClick);
  auto* pButtons = new QHBoxLayout;
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
  m_bHaveOutcome = false;
  ShowResult();
}

void TfmFinish::SetRunOutcome(int nRecords, int nNotUpdated) {
  m_bHaveOutcome = true;
  m_nRecords = nRecords;
  m_nNotUpdated = nNotUpdated;
  ShowResult();
}

void TfmFinish::ShowResult() {
  // Until the run has ended there is nothing true to say about its result.
  if (!m_bHaveOutcome) {
    lblResult->clear();
    SetRole(lblResult, "value");
  } else if (m_nNotUpdated == 0) {
    lblResult->setText(QStringLiteral("Records updating successfully."));
    SetRole(lblResult, "value");
  } else {
    lblResult->setText(QStringLiteral("%1 of %2 records were not updated. "
                                      "See the debug log for details.")
                           .arg(m_nNotUpdated)
                           .arg(m_nRecords));
    SetRole(lblResult, "bad");
  }
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
