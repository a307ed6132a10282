#include "app/Debugger.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AccessibleNames.h"
#include "app/Apputil.h"
#include "app/ClickLabel.h"
#include "app/Look.h"
#include "app/Loginfo.h"
#include "app/Product.h"
#include "common/misc/CxDebugUtil.h"

namespace {

struct LevelChoice {
  const char* szText;
  int32_t nLevel;
};
// Level 2 is not offered: the dialog's "Low" means everything, level 3.
const LevelChoice kLevels[] = {
    {"Critical - Only log critical error information.", 0},
    {"High - Log high level debug information.", 1},
    {"Low - Log very detail debug information.", 3},
};
constexpr int kLowest = 2;  // position of the last entry

}  // namespace

TfmDebug::TfmDebug(QWidget* pParent) : QDialog(pParent) {
  setWindowTitle(QStringLiteral("Quillmere Debug Log Options"));

  auto* pHeader = new QFrame(this);
  SetRole(pHeader, "header");
  imgIcon = new TxClickLabel(pHeader);
  imgIcon->setPixmap(ProductLogo(40));
  connect(imgIcon, &TxClickLabel::clicked, this, [] { OpenProductWebPage(); });
  imgText = new QLabel(pHeader);
  imgText->setPixmap(ProductNamePicture());
  auto* pHeaderRow = new QHBoxLayout(pHeader);
  pHeaderRow->addWidget(imgIcon);
  pHeaderRow->addWidget(imgText);
  pHeaderRow->addStretch();

  cbEnable = new QCheckBox(QStringLiteral("Enable Debug Log"), this);
  cbxLevel = new QComboBox(this);
  cbxLevel->setMinimumContentsLength(40);
  auto* pLevelRow = new QHBoxLayout;
  pLevelRow->addWidget(NewLabelFor(QStringLiteral("Set Debug Level:"), cbxLevel, this));
  pLevelRow->addWidget(cbxLevel, 1);

  gbInfo = new TxLogInfoBox(this);

  btnOK = new QPushButton(QStringLiteral("&OK"), this);
  btnOK->setDefault(true);
  btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  connect(btnOK, &QPushButton::clicked, this, &TfmDebug::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* pButtons = new QHBoxLayout;
  pButtons->addStretch();
  pButtons->addWidget(btnOK);
  pButtons->addWidget(btnCancel);

  auto* pBody = new QVBoxLayout;
  pBody->setContentsMargins(16, 12, 16, 12);
  pBody->setSpacing(10);
  pBody->addWidget(cbEnable);
  pBody->addLayout(pLevelRow);
  pBody->addWidget(gbInfo);
  pBody->addLayout(pButtons);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(0, 0, 0, 0);
  pLayout->addWidget(pHeader);
  pLayout->addLayout(pBody);
  // A fixed-size dialog, as large as its contents need.
  pLayout->setSizeConstraint(QLayout::SetFixedSize);

  UpdateData(false);
  NameControls(this);
}

bool TfmDebug::UpdateData(bool bSave) {
  if (bSave) {
    g_Settings.EnableDebug = cbEnable->isChecked();
    const int nIndex = cbxLevel->currentIndex();
    g_Settings.LogLevel = (nIndex >= 0 && nIndex < kLowest) ? kLevels[nIndex].nLevel
                                                            : kLevels[kLowest].nLevel;
    g_DebugUtil.EnableLog(g_Settings.EnableDebug);
    g_DebugUtil.SetLogLevel(g_Settings.LogLevel);
    return true;
  }
  gbInfo->FillPaths();
  cbEnable->setChecked(g_Settings.EnableDebug);
  cbxLevel->clear();
  for (const LevelChoice& level : kLevels) cbxLevel->addItem(QString::fromUtf8(level.szText));
  int nSelect = kLowest;
  for (int n = 0; n < kLowest; ++n)
    if (kLevels[n].nLevel == g_Settings.LogLevel) nSelect = n;
  cbxLevel->setCurrentIndex(nSelect);
  return true;
}

void TfmDebug::btnOKClick() {
  if (UpdateData(true)) accept();
}
