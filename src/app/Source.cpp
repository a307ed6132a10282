#include "app/Source.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Apputil.h"
#include "app/Look.h"
#include "app/Main.h"
#include "app/Outlookpath.h"
#include "app/UiSeams.h"
#include "common/misc/CxText.h"
#include "common/misc/WinUtil.h"

namespace {

// OLPath and the dialog's file-name buffer: 260 bytes with the terminating zero.
constexpr size_t kPathSize = 260;

QString CutPath(const QString& strPath) {
  const QByteArray text = strPath.toUtf8();
  return QString::fromUtf8(text.constData(),
                           static_cast<qsizetype>(TextCutLength(text.constData(), kPathSize - 1)));
}

}  // namespace

TfmSource::TfmSource(QWidget* pParent) : TfmPage(pParent) {
  gbOutlook = new QGroupBox(QStringLiteral("Microsoft Outlook Information "), this);
  auto* pGrid = new QGridLayout(gbOutlook);
  pGrid->setHorizontalSpacing(16);
  pGrid->setVerticalSpacing(14);
  pGrid->setContentsMargins(24, 20, 24, 20);
  int nRow = 0;

  lblOLVer = new QLabel(gbOutlook);
  pGrid->addWidget(new QLabel(QStringLiteral("Version:"), gbOutlook), nRow, 0);
  pGrid->addWidget(lblOLVer, nRow++, 1, 1, 2);

  pGrid->addWidget(new QLabel(QStringLiteral("Outlook Profile:"), gbOutlook), nRow, 0);
  pGrid->addWidget(new QLabel(QStringLiteral("Default"), gbOutlook), nRow++, 1, 1, 2);

#ifndef _WIN32
  lblStore = new QLabel(gbOutlook);
  lblStore->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblStore->setWordWrap(true);
  pGrid->addWidget(new QLabel(QStringLiteral("Store file:"), gbOutlook), nRow, 0);
  pGrid->addWidget(lblStore, nRow++, 1, 1, 2);
#endif

  edtPath = new QLineEdit(gbOutlook);
  btnBrowse = new QPushButton(QStringLiteral("..."), gbOutlook);
  SetRole(btnBrowse, "browse");
  connect(btnBrowse, &QPushButton::clicked, this, &TfmSource::btnBrowseClick);
  pGrid->addWidget(new QLabel(QStringLiteral("Path:"), gbOutlook), nRow, 0);
  pGrid->addWidget(edtPath, nRow, 1);
  pGrid->addWidget(btnBrowse, nRow++, 2);
  pGrid->setColumnStretch(1, 1);
  pGrid->setRowStretch(nRow, 1);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(40, 24, 40, 24);
  pLayout->addWidget(gbOutlook);
}

bool TfmSource::UpdateData(bool bSave) {
  if (bSave) {
    // Connecting reads the items; when Outlook cannot be reached the page stays
    // as it was and the stored path keeps its value.
    if (!fmMain || !fmMain->OpenContext()) return false;
    CopyText(g_Settings.OLPath, sizeof g_Settings.OLPath, edtPath->text().toUtf8().constData());
    return true;
  }
  ShowVersion();
  if (g_Settings.OLPath[0]) {
    edtPath->setText(QString::fromUtf8(g_Settings.OLPath));
  } else {
    char szPath[kPathSize];
    if (GetRegisteredOutlookPath(szPath, sizeof szPath)) edtPath->setText(QString::fromUtf8(szPath));
  }
  return true;
}

void TfmSource::ShowVersion() {
#ifdef _WIN32
  char szVersion[64] = {};
  const bool bFound = GetOutlookVersion(szVersion);
  const QString strVersion = QString::fromLocal8Bit(szVersion);
#else
  // No registry and no program file here: the Outlook in use is the local
  // store, registered under Outlook's name when the program started.
  const bool bFound = IsOutlookRegistered();
  const QString strVersion =
      QStringLiteral("%1 (local Outlook store)").arg(QString::fromStdString(GetOutlookStoreVersion()));
  lblStore->setText(QString::fromStdString(GetOutlookStoreFile()));
#endif
  if (bFound) {
    lblOLVer->setText(strVersion);
    SetRole(lblOLVer, "good");
  } else {
    lblOLVer->setText(QStringLiteral("Not Found."));
    SetRole(lblOLVer, "bad");
  }
}

void TfmSource::btnBrowseClick() {
  QString strChosen;
  if (GetOpenFileName(this, CutPath(edtPath->text()),
                      QStringLiteral("Outlook executable file (notes.exe) (*.exe)"), &strChosen))
    edtPath->setText(CutPath(strChosen));
}
