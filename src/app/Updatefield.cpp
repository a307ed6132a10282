#include "app/Updatefield.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/AccessibleNames.h"
#include "app/Apputil.h"
#include "app/Context.h"
#include "app/Main.h"
#include "app/Onefield.h"
#include "app/ProgramText.h"
#include "app/UiSeams.h"
#include "common/misc/CxList.h"
#include "update/CxItemKind.h"
#include "update/CxProfileFile.h"
#include "update/CxUpdateText.h"

namespace {

enum Column : int { colFieldName, colDetails, colCount };

}  // namespace

TfmUpdateField::TfmUpdateField(QWidget* pParent) : TfmPage(pParent) {
  lvFields = new QTreeWidget(this);
  lvFields->setObjectName(QStringLiteral("lvFields"));
  lvFields->setAccessibleName(QStringLiteral("Update definitions"));
  lvFields->setColumnCount(colCount);
  lvFields->setHeaderLabels({QStringLiteral("Field Name"), QStringLiteral("Update Details")});
  lvFields->setColumnWidth(colFieldName, 200);
  lvFields->setColumnWidth(colDetails, 480);
  lvFields->setRootIsDecorated(false);
  lvFields->setItemsExpandable(false);
  lvFields->setUniformRowHeights(true);
  lvFields->setAllColumnsShowFocus(true);
  lvFields->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvFields->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lvFields->setExpandsOnDoubleClick(false);
  lvFields->header()->setSectionsMovable(false);

  btnAdd = new QPushButton(QStringLiteral("&Add"), this);
  btnDel = new QPushButton(QStringLiteral("&Delete"), this);
  btnProp = new QPushButton(QStringLiteral("&Properties"), this);
  Label1 = new QLabel(QStringLiteral("Profiles:"), this);
  btnLoad = new QPushButton(QStringLiteral("&Load"), this);
  btnSave = new QPushButton(QStringLiteral("&Save"), this);

  auto* pButtons = new QHBoxLayout;
  pButtons->addWidget(btnAdd);
  pButtons->addWidget(btnDel);
  pButtons->addWidget(btnProp);
  pButtons->addStretch();
  pButtons->addWidget(Label1);
  pButtons->addWidget(btnLoad);
  pButtons->addWidget(btnSave);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(12, 12, 12, 12);
  pLayout->setSpacing(10);
  pLayout->addWidget(lvFields, 1);
  pLayout->addLayout(pButtons);

  connect(btnAdd, &QPushButton::clicked, this, &TfmUpdateField::btnAddClick);
  connect(btnDel, &QPushButton::clicked, this, &TfmUpdateField::btnDelClick);
  connect(btnProp, &QPushButton::clicked, this, &TfmUpdateField::btnPropClick);
  connect(btnLoad, &QPushButton::clicked, this, &TfmUpdateField::btnLoadClick);
  connect(btnSave, &QPushButton::clicked, this, &TfmUpdateField::btnSaveClick);
  connect(lvFields, &QTreeWidget::itemDoubleClicked, this, &TfmUpdateField::btnPropClick);
  connect(lvFields, &QTreeWidget::itemSelectionChanged, this, &TfmUpdateField::lvFieldsChange);
  lvFieldsChange();
}

bool TfmUpdateField::UpdateData(bool bSave) {
  if (bSave) {
    if (g_pFieldList && g_pFieldList->GetCount() > 0) return true;
    ShowMessageBox(this, QStringLiteral("Please add some field updating information."),
                   QStringLiteral("Error"), QMessageBox::Critical);
    return false;
  }

  lvFields->setUpdatesEnabled(false);
  lvFields->clear();
  if (g_pFieldList) {
    for (void* pItem = g_pFieldList->GetFirst(); pItem; pItem = g_pFieldList->GetNext())
      DescribeDefinition(new QTreeWidgetItem(lvFields), static_cast<FieldUpdateDef*>(pItem));
  }
  lvFields->setUpdatesEnabled(true);
  if (QTreeWidgetItem* pFirst = lvFields->topLevelItem(0))
    lvFields->setCurrentItem(pFirst, 0,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  else
    lvFields->clearSelection();
  lvFieldsChange();
  return true;
}

void TfmUpdateField::DescribeDefinition(QTreeWidgetItem* pRow, FieldUpdateDef* pDef) {
  if (!pRow) return;
  const FieldDescriptor* pField = pDef ? TfmMain::FindFieldInfo(pDef->nFieldID) : nullptr;
  if (!pField) {
    pRow->setText(colFieldName, QString());
    pRow->setText(colDetails, QString());
    pRow->setData(colFieldName, Qt::UserRole, QVariant());
    return;
  }
  pRow->setText(colFieldName, FieldText(pField->szName));
  pRow->setData(colFieldName, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(pDef)));
  pRow->setText(colDetails, UpdateDetailsText(*pField, *pDef));
}

QString TfmUpdateField::UpdateDetailsText(const FieldDescriptor& field, const FieldUpdateDef& def) {
  return FromProgramText(::DescribeDefinition(field, def).c_str());
}

QString TfmUpdateField::ProfileStart() const {
  if (g_pProfileManager && g_pProfileManager->GetLastPath()[0])
    return FromProgramText(g_pProfileManager->GetLastPath());
  char szFolder[MAX_PATH];
  if (!GetAppDataFolder(szFolder, sizeof szFolder)) return QString();
  const QString strFolder = FromProgramText(szFolder) + QStringLiteral("profiles");
  QDir().mkpath(strFolder);
  return strFolder + QLatin1Char('/') + QString::fromUtf8(GetKindKeyword(g_Settings.AppFlag)) +
         QStringLiteral(".ini");
}

void TfmUpdateField::btnSaveClick() {
  const std::unique_ptr<CxItemKind> pKind =
      MakeItemKind(g_Settings.AppFlag, nullptr, nullptr, nullptr, nullptr);
  if (!g_pProfileManager || !g_pFieldList || !pKind) return;
  if (g_pFieldList->GetCount() == 0) {
    ShowMessageBox(this, QStringLiteral("There are no definitions to save."),
                   QStringLiteral("Error"), QMessageBox::Critical);
    return;
  }
  QString strPath;
  if (!GetSaveFileName(this, ProfileStart(), QStringLiteral("Profiles (*.ini)"), &strPath)) return;
  if (QFileInfo(strPath).suffix().isEmpty()) strPath += QStringLiteral(".ini");
  std::string strError;
  if (!g_pProfileManager->SaveProfile(ToProgramText(strPath).constData(), *pKind, g_pFieldList,
                                      &strError))
    ShowMessageBox(
        this,
        QStringLiteral("The profile was not saved: %1.").arg(FromProgramText(strError.c_str())),
        QStringLiteral("Error"), QMessageBox::Critical);
}

void TfmUpdateField::btnLoadClick() {
  const std::unique_ptr<CxItemKind> pKind =
      MakeItemKind(g_Settings.AppFlag, nullptr, nullptr, nullptr, nullptr);
  if (!g_pProfileManager || !g_pFieldList || !pKind) return;
  QString strPath;
  if (!GetOpenFileName(this, ProfileStart(), QStringLiteral("Profiles (*.ini)"), &strPath)) return;
  const QByteArray path = ToProgramText(strPath);
  // A broken profile is reported before anything is asked or replaced.
  std::vector<FieldUpdateDef> defs;
  std::string strError;
  if (ReadProfileFile(path.constData(), *pKind, &defs, &strError) && g_pFieldList->GetCount() > 0 &&
      !AskYesNo(this,
                QStringLiteral("Replace the %1 definitions of the list with the %2 of the profile?")
                    .arg(g_pFieldList->GetCount())
                    .arg(defs.size()),
                QStringLiteral("Load Profile")))
    return;
  if (strError.empty() &&
      g_pProfileManager->LoadProfile(path.constData(), *pKind, g_pFieldList, &strError)) {
    UpdateData(false);
    return;
  }
  ShowMessageBox(
      this,
      QStringLiteral("The profile was not loaded: %1.").arg(FromProgramText(strError.c_str())),
      QStringLiteral("Error"), QMessageBox::Critical);
}

FieldUpdateDef* TfmUpdateField::RowDefinition(const QTreeWidgetItem* pRow) {
  if (!pRow) return nullptr;
  const quintptr nData = pRow->data(colFieldName, Qt::UserRole).value<quintptr>();
  return reinterpret_cast<FieldUpdateDef*>(nData);
}

QTreeWidgetItem* TfmUpdateField::FirstSelectedRow() const {
  for (int nRow = 0; nRow < lvFields->topLevelItemCount(); ++nRow) {
    QTreeWidgetItem* pRow = lvFields->topLevelItem(nRow);
    if (pRow->isSelected()) return pRow;
  }
  return nullptr;
}

bool TfmUpdateField::RunEditor(FieldUpdateDef* pDef, const QString& strTitle) {
  TfmOneField editor(this);
  editor.SetDefinition(pDef);
  editor.UpdateData(false);
  editor.SetTitle(strTitle);
  return editor.exec() == QDialog::Accepted;
}

void TfmUpdateField::btnAddClick() {
  // Without a context there is no list to own the definition.
  if (!g_pFieldList) return;
  // calloc, because the list frees its definitions with free.
  auto* pDef = static_cast<FieldUpdateDef*>(calloc(1, sizeof(FieldUpdateDef)));
  if (!pDef) return;
  TfmMain::InitFieldDefinition(pDef);
  if (!RunEditor(pDef, QStringLiteral("Add field updating definitions:")) ||
      !g_pFieldList->Add(pDef)) {
    free(pDef);
    return;
  }
  DescribeDefinition(new QTreeWidgetItem(lvFields), pDef);
}

void TfmUpdateField::btnDelClick() {
  QTreeWidgetItem* pRow = FirstSelectedRow();
  FieldUpdateDef* pDef = RowDefinition(pRow);
  if (!pDef || !g_pFieldList) return;
  // The list frees the definition; nothing else does.
  if (!g_pFieldList->Remove(pDef, true)) return;
  delete pRow;
  lvFieldsChange();
}

void TfmUpdateField::btnPropClick() {
  QTreeWidgetItem* pRow = FirstSelectedRow();
  FieldUpdateDef* pDef = RowDefinition(pRow);
  if (!pDef) return;
  if (RunEditor(pDef, QStringLiteral("View field updating definitions:")))
    DescribeDefinition(pRow, pDef);
}

void TfmUpdateField::lvFieldsChange() {
  const bool bSelected = !lvFields->selectedItems().isEmpty();
  btnDel->setEnabled(bSelected);
  btnProp->setEnabled(bSelected);
}
