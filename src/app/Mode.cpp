#include "app/Mode.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/Apputil.h"
#include "app/Runs.h"

namespace {

struct ModeChoice {
  QRadioButton* TfmMode::*pButton;
  const char* szCaption;
  int32_t nMode;
};

// In the order the page lists them and the leave-check looks at them.
const ModeChoice kModeChoices[] = {
    {&TfmMode::rbtnAddr, "Outlook Contacts", 1},
    {&TfmMode::rbtnDate, "Outlook Calendar", 2},
    {&TfmMode::rbtnTask, "Outlook Tasks", 4},
    {&TfmMode::rbtnNote, "Outlook Notes", 8},
};

}  // namespace

TfmMode::TfmMode(QWidget* pParent) : TfmPage(pParent) {
  gbMode = new QGroupBox(QStringLiteral(" Select Application to Convert "), this);
  auto* pChoices = new QVBoxLayout(gbMode);
  pChoices->setSpacing(14);
  pChoices->setContentsMargins(40, 20, 20, 20);
  for (const ModeChoice& choice : kModeChoices) {
    // One parent group box makes the four buttons one exclusive group; none is
    // checked until the page is entered.
    QRadioButton* pButton = new QRadioButton(QString::fromUtf8(choice.szCaption), gbMode);
    this->*choice.pButton = pButton;
    pChoices->addWidget(pButton);
  }
  pChoices->addStretch();

  cbSubFolder = new QCheckBox(QStringLiteral("Include &subfolders"), this);

  // Past runs, those of earlier starts of the program too, can be looked at
  // and undone before a new one.
  btnRuns = new QPushButton(QStringLiteral("Pas&t Runs..."), this);
  connect(btnRuns, &QPushButton::clicked, this, &TfmMode::btnRunsClick);
  auto* pButtons = new QHBoxLayout;
  pButtons->addWidget(cbSubFolder);
  pButtons->addStretch();
  pButtons->addWidget(btnRuns);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(60, 30, 60, 30);
  pLayout->addWidget(gbMode);
  pLayout->addLayout(pButtons);
}

void TfmMode::btnRunsClick() {
  TfmRuns runs(this);
  runs.exec();
}

bool TfmMode::UpdateData(bool bSave) {
  if (bSave) {
    g_Settings.SubFolder = cbSubFolder->isChecked();
    g_Settings.AppFlag = kModeChoices[0].nMode;
    for (const ModeChoice& choice : kModeChoices) {
      if ((this->*choice.pButton)->isChecked()) {
        g_Settings.AppFlag = choice.nMode;
        break;
      }
    }
    return true;
  }
  QRadioButton* pChecked = this->*kModeChoices[0].pButton;
  for (const ModeChoice& choice : kModeChoices)
    if (choice.nMode == g_Settings.AppFlag) pChecked = this->*choice.pButton;
  pChecked->setChecked(true);
  cbSubFolder->setChecked(g_Settings.SubFolder);
  return true;
}
