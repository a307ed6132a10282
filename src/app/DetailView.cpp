#include "app/DetailView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/AccessibleNames.h"

QPlainTextEdit* NewMemo(QWidget* pParent) {
  auto* pMemo = new QPlainTextEdit(pParent);
  pMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return pMemo;
}

QLineEdit* AddEditRow(QFormLayout* pForm, const char* szLabel, QWidget* pParent) {
  auto* pEdit = new QLineEdit(pParent);
  pForm->addRow(QString::fromUtf8(szLabel), pEdit);
  return pEdit;
}

QGroupBox* NewFormGroup(const char* szTitle, QWidget* pParent, QFormLayout** ppForm) {
  QString strTitle = QString::fromUtf8(szTitle);
  strTitle.replace(QLatin1Char('&'), QStringLiteral("&&"));
  auto* pGroup = new QGroupBox(strTitle, pParent);
  *ppForm = new QFormLayout(pGroup);
  return pGroup;
}

void MakeViewOnly(QWidget* pSheet) {
  for (QLineEdit* pEdit : pSheet->findChildren<QLineEdit*>()) pEdit->setReadOnly(true);
  for (QPlainTextEdit* pMemo : pSheet->findChildren<QPlainTextEdit*>()) pMemo->setReadOnly(true);
  for (QCheckBox* pBox : pSheet->findChildren<QCheckBox*>()) pBox->setEnabled(false);
  for (QRadioButton* pButton : pSheet->findChildren<QRadioButton*>()) pButton->setEnabled(false);
}

void UntickGroup(QButtonGroup* pGroup) {
  const bool bExclusive = pGroup->exclusive();
  pGroup->setExclusive(false);
  for (QAbstractButton* pButton : pGroup->buttons()) pButton->setChecked(false);
  pGroup->setExclusive(bExclusive);
}

QPushButton* FinishDialog(QDialog* pDialog, QWidget* pBody, int nWidth, int nHeight) {
  auto* pClose = new QPushButton(QStringLiteral("&Close"), pDialog);
  QObject::connect(pClose, &QPushButton::clicked, pDialog, &QDialog::reject);
  auto* pButtons = new QHBoxLayout;
  pButtons->addStretch();
  pButtons->addWidget(pClose);

  auto* pLayout = new QVBoxLayout(pDialog);
  pLayout->setContentsMargins(10, 10, 10, 10);
  pLayout->addWidget(pBody, 1);
  pLayout->addLayout(pButtons);

  pDialog->resize(QSize(nWidth, nHeight).expandedTo(pDialog->minimumSizeHint()));
  if (QScreen* pScreen = pDialog->screen()) {
    const QRect desktop = pScreen->availableGeometry();
    pDialog->move(desktop.center() - QPoint(pDialog->width() / 2, pDialog->height() / 2));
  }
  NameControls(pDialog);
  return pClose;
}
