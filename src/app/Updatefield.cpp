#include "app/Updatefield.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdlib>

#include "app/Context.h"
#include "app/Main.h"
#include "app/Onefield.h"
#include "app/ProgramText.h"
#include "app/UiSeams.h"
#include "common/misc/CxList.h"
#include "update/CxUpdateText.h"

namespace {

enum Column : int { colFieldName, colDetails, colCount };

}  // namespace

TfmUpdateField::TfmUpdateField(QWidget* pParent) : TfmPage(pParent) {
  lvFields = new QTreeWidget(this);
  lvFields->setObjectName(QStringLiteral("lvFields"));
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
  // Saved sets of definitions are not offered yet.
  Label1 = new QLabel(QStringLiteral("Profiles:"), this);
  btnLoad = new QPushButton(QStringLiteral("&Load"), this);
  btnSave = new QPushButton(QStringLiteral("&Save"), this);
  Label1->hide();
  btnLoad->hide();
  btnSave->hide();

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
