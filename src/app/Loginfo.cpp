#include "app/Loginfo.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/AccessibleNames.h"
#include "app/Apputil.h"
#include "app/Look.h"
#include "app/ProgramText.h"
#include "app/UiSeams.h"
#include "common/misc/WinUtil.h"

namespace {
const char kLogFileName[] = "appdebug.log";

QPushButton* MakeBrowseButton(QWidget* pParent) {
  auto* pButton = new QPushButton(QStringLiteral("..."), pParent);
  SetRole(pButton, "browse");
  return pButton;
}

QLineEdit* MakePathBox(QWidget* pParent) {
  auto* pBox = new QLineEdit(pParent);
  pBox->setReadOnly(true);
  pBox->setMinimumWidth(360);
  return pBox;
}
}  // namespace

TxLogInfoBox::TxLogInfoBox(QWidget* pParent)
    : QGroupBox(QStringLiteral(" Debug Information "), pParent) {
  edtFolder = MakePathBox(this);
  btnFolder = MakeBrowseButton(this);
  edtFile = MakePathBox(this);
  btnFile = MakeBrowseButton(this);
  btnFolder->setAccessibleName(QStringLiteral("Open the log folder"));
  btnFile->setAccessibleName(QStringLiteral("Open the log file"));
  connect(btnFolder, &QPushButton::clicked, this, &TxLogInfoBox::btnFolderClick);
  connect(btnFile, &QPushButton::clicked, this, &TxLogInfoBox::btnFileClick);

  m_pGrid = new QGridLayout(this);
  m_pGrid->addWidget(NewLabelFor(QStringLiteral("Log Folder:"), edtFolder, this), 0, 0);
  m_pGrid->addWidget(edtFolder, 0, 1);
  m_pGrid->addWidget(btnFolder, 0, 2);
  m_pGrid->addWidget(NewLabelFor(QStringLiteral("Log File:"), edtFile, this), 1, 0);
  m_pGrid->addWidget(edtFile, 1, 1);
  m_pGrid->addWidget(btnFile, 1, 2);
  m_pGrid->setColumnStretch(1, 1);
}

void TxLogInfoBox::FillPaths() {
  char szFolder[MAX_PATH];
  const bool bFolder = GetAppDataFolder(szFolder, sizeof szFolder);
  if (bFolder) {
    const QString strFolder = FromProgramText(szFolder);
    edtFolder->setText(strFolder);
    edtFile->setText(strFolder + FromProgramText(kLogFileName));
  }
  btnFolder->setEnabled(bFolder);
  btnFile->setEnabled(bFolder);
}

void TxLogInfoBox::btnFolderClick() { ShellOpen(ToProgramText(edtFolder->text()).constData()); }

void TxLogInfoBox::btnFileClick() {
  if (!QFileInfo(edtFile->text()).isFile()) {
    ShowMessageBox(window(), QStringLiteral("Debug log file doesn't exist"), QStringLiteral("Error"),
                   QMessageBox::Information);
    return;
  }
  ShellOpen(ToProgramText(edtFile->text()).constData());
}
