#include "app/Dump.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/AccessibleNames.h"
#include "app/ClickLabel.h"
#include "app/Debugger.h"
#include "app/Loginfo.h"
#include "app/Look.h"
#include "app/Main.h"
#include "app/Product.h"

TfmDump::TfmDump(QWidget* pParent) : QDialog(pParent) {
  setWindowTitle(QStringLiteral("Handle Quillmere Exception"));

  auto* pHeader = new QFrame(this);
  SetRole(pHeader, "header");
  imgIcon = new TxClickLabel(pHeader);
  imgIcon->setPixmap(ProductLogo(40));
  imgText = new TxClickLabel(pHeader);
  imgText->setPixmap(ProductNamePicture());
  for (TxClickLabel* pPicture : {imgIcon, imgText})
    connect(pPicture, &TxClickLabel::clicked, this, [] { OpenProductWebPage(); });
  auto* pHeaderRow = new QHBoxLayout(pHeader);
  pHeaderRow->addWidget(imgIcon);
  pHeaderRow->addWidget(imgText);
  pHeaderRow->addStretch();

  lblSupport = new TxClickLabel(this);
  lblSupport->setText(QString::fromUtf8(kSupportAddress));
  SetRole(lblSupport, "link");
  connect(lblSupport, &TxClickLabel::clicked, this, &TfmDump::lblSupportClick);
  auto* pContact = new QHBoxLayout;
  pContact->addWidget(new QLabel(QStringLiteral("Please contact us at:"), this));
  pContact->addWidget(lblSupport);
  pContact->addStretch();

  gbInfo = new TxLogInfoBox(this);
  auto* pAppreciated = new QLabel(
      QStringLiteral("It is very appreciated if you can include the debug information in your "
                     "error report."),
      gbInfo);
  pAppreciated->setWordWrap(true);
  btnDebug = new QPushButton(QStringLiteral("&Debug Options"), gbInfo);
  connect(btnDebug, &QPushButton::clicked, this, &TfmDump::btnDebugClick);
  QGridLayout* pGrid = gbInfo->Grid();
  const int nRow = pGrid->rowCount();
  pGrid->addWidget(pAppreciated, nRow, 0, 1, 3);
  pGrid->addWidget(btnDebug, nRow + 1, 0, 1, 3, Qt::AlignLeft);

  btnOK = new QPushButton(QStringLiteral("&OK"), this);
  btnOK->setDefault(true);
  btnExit = new QPushButton(QStringLiteral("Quit Quillmere"), this);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnExit, &QPushButton::clicked, this, &TfmDump::btnExitClick);
  auto* pButtons = new QHBoxLayout;
  pButtons->addStretch();
  pButtons->addWidget(btnOK);
  pButtons->addWidget(btnExit);

  auto* pBody = new QVBoxLayout;
  pBody->setContentsMargins(16, 12, 16, 12);
  pBody->setSpacing(10);
  pBody->addWidget(
      new QLabel(QStringLiteral("We're sorry that an unhandled exception occurred  in Quillmere."),
                 this));
  pBody->addLayout(pContact);
  pBody->addWidget(gbInfo);
  pBody->addLayout(pButtons);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(0, 0, 0, 0);
  pLayout->addWidget(pHeader);
  pLayout->addLayout(pBody);
  pLayout->setSizeConstraint(QLayout::SetFixedSize);

  UpdateData(false);
  NameControls(this);
}

bool TfmDump::UpdateData(bool bSave) {
  if (!bSave) gbInfo->FillPaths();
  return true;
}

void TfmDump::btnDebugClick() {
  if (fmMain) {
    fmMain->ShowDebugOptions();
    return;
  }
  // Without a main window (an error during start-up) the options still open,
  // over this dialog.
  TfmDebug dialog(this);
  dialog.exec();
}

void TfmDump::btnExitClick() {
  reject();
  // Posted, so the main window closes after this dialog's modal loop has
  // returned, and the program ends through its normal path (settings saved,
  // context closed).
  if (fmMain)
    QMetaObject::invokeMethod(fmMain, &QWidget::close, Qt::QueuedConnection);
  else
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

void TfmDump::lblSupportClick() {
  // The subject is percent-encoded: a link with bare blanks is not a valid URL
  // and some mail programs cut the subject at the first blank.
  const QByteArray link = QByteArray("mailto:") + kSupportAddress + "?subject=" +
                          QUrl::toPercentEncoding(QString::fromUtf8(kBugReportSubject));
  ShellOpen(link.constData());
}
