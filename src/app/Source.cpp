#include "app/Source.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

#include "app/AccessibleNames.h"
#include "app/Apputil.h"
#include "app/Look.h"
#include "app/Main.h"
#include "app/ProgramText.h"
#include "app/UiSeams.h"
#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxText.h"
#include "common/misc/WinUtil.h"
#include "common/outlook/OlComm.h"

namespace {

// OLPath and the dialog's file-name buffer: 260 bytes with the terminating zero.
constexpr size_t kPathSize = 260;

// The count of a long read is shown after every so many items: often enough
// to be seen moving, seldom enough not to slow the read down with painting.
constexpr size_t kItemsPerProgress = 50;

QString CutPath(const QString& strPath) {
  const QByteArray text = ToProgramText(strPath);
  return FromProgramText(text.constData(), TextCutLength(text.constData(), kPathSize - 1));
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
  lblProblem = new QLabel(gbOutlook);
  lblProblem->setWordWrap(true);
  lblProblem->setTextInteractionFlags(Qt::TextSelectableByMouse);
  SetRole(lblProblem, "bad");
  lblProblem->hide();
  pGrid->addWidget(lblProblem, nRow++, 1, 1, 2);

  pGrid->addWidget(new QLabel(QStringLiteral("Outlook Profile:"), gbOutlook), nRow, 0);
  pGrid->addWidget(new QLabel(QStringLiteral("Default"), gbOutlook), nRow++, 1, 1, 2);

  lblStoreCaption = new QLabel(QStringLiteral("Store file:"), gbOutlook);
  lblStore = new QLabel(gbOutlook);
  lblStore->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblStore->setWordWrap(true);
  pGrid->addWidget(lblStoreCaption, nRow, 0);
  pGrid->addWidget(lblStore, nRow++, 1, 1, 2);

  edtPath = new QLineEdit(gbOutlook);
  btnBrowse = new QPushButton(QStringLiteral("..."), gbOutlook);
  SetRole(btnBrowse, "browse");
  connect(btnBrowse, &QPushButton::clicked, this, &TfmSource::btnBrowseClick);
  btnBrowse->setAccessibleName(QStringLiteral("Browse for the Outlook program"));
  pGrid->addWidget(NewLabelFor(QStringLiteral("Path:"), edtPath, gbOutlook), nRow, 0);
  pGrid->addWidget(edtPath, nRow, 1);
  pGrid->addWidget(btnBrowse, nRow++, 2);
  pGrid->setColumnStretch(1, 1);
  lblReading = new QLabel(QStringLiteral("Reading items ..."), gbOutlook);
  // Its row is kept while it is hidden, so that showing it needs no new
  // layout before the first count can be painted.
  QSizePolicy keepRow = lblReading->sizePolicy();
  keepRow.setRetainSizeWhenHidden(true);
  lblReading->setSizePolicy(keepRow);
  lblReading->hide();
  pGrid->addWidget(lblReading, nRow++, 1, 1, 2);
  pGrid->setRowStretch(nRow, 1);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(40, 24, 40, 24);
  pLayout->addWidget(gbOutlook);
}

bool TfmSource::UpdateData(bool bSave) {
  if (bSave) {
    // Connecting reads the items; when Outlook cannot be reached the page stays
    // as it was and the stored path keeps its value.
    if (!fmMain) return false;
    if (!OpenContextShowingProgress()) {
      const QString strProblem = ConnectProblem();
      QM_LOG(0, "Outlook cannot be reached: %s", ToProgramText(strProblem).constData());
      ShowProblem(strProblem);
      return false;
    }
    ShowProblem(QString());
    CopyText(g_Settings.OLPath, sizeof g_Settings.OLPath, ToProgramText(edtPath->text()).constData());
    return true;
  }
  ShowVersion();
  if (g_Settings.OLPath[0]) {
    edtPath->setText(FieldText(g_Settings.OLPath));
  } else {
    char szPath[kPathSize];
    if (GetRegisteredOutlookPath(szPath, sizeof szPath)) edtPath->setText(FromProgramText(szPath));
  }
  return true;
}

bool TfmSource::OpenContextShowingProgress() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const auto restore = qScopeGuard([this] {
    lblReading->hide();
    QApplication::restoreOverrideCursor();
  });
  ShowItemsRead(0);
  return fmMain->OpenContext([this](size_t nItems) {
    if (nItems % kItemsPerProgress == 0) ShowItemsRead(nItems);
  });
}

void TfmSource::ShowItemsRead(size_t nItems) {
  lblReading->setText(nItems ? QStringLiteral("Reading items ... %1 read").arg(NumberText(nItems))
                             : QStringLiteral("Reading items ..."));
  lblReading->show();
  // Painted now: the window system would paint it only after the next frame's
  // wait, which a read that holds the thread never gives it.
  lblReading->repaint();
  // Other posted work runs as in the update run's pauses; clicks and keys
  // wait until the read has ended.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfmSource::ShowVersion() {
  // An installed Outlook is known to the registry; where there is none, the
  // local Outlook that the program started may answer in its place.
  char szVersion[64] = {};
  PAL_LOCAL_OUTLOOK local = {};
  const bool bInstalled = GetOutlookVersion(szVersion);
  const bool bLocal = !bInstalled && PalGetLocalOutlook(&local);
  lblStore->setText(bLocal ? FieldText(local.szDataFile) : QString());
  lblStoreCaption->setVisible(bLocal);
  lblStore->setVisible(bLocal);
  // Only what is known before the store is opened: it is registered, and its
  // file is there or not.
  ShowProblem(bLocal && !local.bDataFileExists
                  ? QStringLiteral("There is no store at this path yet: olstore init makes one, "
                                   "olstore seed one with demo data.")
                  : QString());
  if (bInstalled) {
    lblOLVer->setText(FieldText(szVersion));
    SetRole(lblOLVer, "good");
  } else if (bLocal) {
    lblOLVer->setText(QStringLiteral("%1 (local Outlook store)").arg(FieldText(local.szVersion)));
    SetRole(lblOLVer, local.bDataFileExists ? "good" : "value");
  } else {
    lblOLVer->setText(QStringLiteral("Not Found."));
    SetRole(lblOLVer, "bad");
  }
}

void TfmSource::ShowProblem(const QString& strProblem) {
  lblProblem->setText(strProblem);
  lblProblem->setVisible(!strProblem.isEmpty());
}

QString TfmSource::ConnectProblem() {
  // The local store knows better than COM why it could not be opened.
  PAL_LOCAL_OUTLOOK local;
  const QString strWhy = PalGetLocalOutlook(&local) && local.szProblem[0]
                             ? FieldText(local.szProblem)
                             : FromProgramText(OlBaseUtil::GetConnectFailure().c_str());
  if (strWhy.isEmpty()) return QStringLiteral("Outlook cannot be reached; the debug log says why.");
  return QStringLiteral("Outlook cannot be reached: %1.").arg(strWhy);
}

void TfmSource::btnBrowseClick() {
  QString strChosen;
  if (GetOpenFileName(this, CutPath(edtPath->text()),
                      QStringLiteral("Outlook executable file (notes.exe) (*.exe)"), &strChosen))
    edtPath->setText(CutPath(strChosen));
}
