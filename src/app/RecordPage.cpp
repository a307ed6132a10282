#include "app/RecordPage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/Apputil.h"
#include "app/Context.h"
#include "app/Look.h"
#include "app/Preview.h"
#include "app/ProgramText.h"
#include "app/UiSeams.h"
#include "common/misc/CxList.h"
#include "common/outlook/OlComm.h"
#include "update/CxItemKind.h"
#include "update/CxUpdateRun.h"

TfmRecordPage::TfmRecordPage(const RecordPageKind& kind, QWidget* pParent)
    : TfmPage(pParent), m_kind(kind) {
  m_pModel = new RecordListModel(kind.columns, kind.fnText, kind.bCaptionEditable, this);

  // A report-style list: columns with a header, no tree, one whole row
  // selected at a time, every row as high as the others (so even a very long
  // list scrolls without measuring its rows).
  m_pList = new QTreeView(this);
  m_pList->setModel(m_pModel);
  m_pList->setRootIsDecorated(false);
  m_pList->setItemsExpandable(false);
  m_pList->setUniformRowHeights(true);
  m_pList->setAllColumnsShowFocus(true);
  m_pList->setAlternatingRowColors(true);
  m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
  // Double-click opens the details, so a retyped caption starts with F2 or a
  // click on the selected row, as in any report list.
  m_pList->setEditTriggers(kind.bCaptionEditable
                               ? QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked
                               : QAbstractItemView::NoEditTriggers);
  QHeaderView* pHeader = m_pList->header();
  pHeader->setStretchLastSection(false);
  pHeader->setSectionsMovable(false);
  // A click on a header sorts; until then the list keeps the folder's order.
  pHeader->setSortIndicator(-1, Qt::AscendingOrder);
  m_pList->setSortingEnabled(true);
  for (size_t i = 0; i < kind.columns.size(); ++i)
    pHeader->resizeSection(static_cast<int>(i), kind.columns[i].nWidth);

  m_pMenu = new QMenu(this);
  m_pSelAllItem = m_pMenu->addAction(QStringLiteral("&Select All"));
  m_pClearItem = m_pMenu->addAction(QStringLiteral("&Clear All"));
  m_pMenu->addSeparator();
  m_pDetailItem = m_pMenu->addAction(QStringLiteral("&Detail Information"));
  m_pList->setContextMenuPolicy(Qt::CustomContextMenu);

  btnSelAll = new QPushButton(QStringLiteral("&Select All"), this);
  btnClear = new QPushButton(QStringLiteral("Clea&r"), this);
  m_pDetailButton = new QPushButton(QStringLiteral("&Details"), this);
  btnPreview = new QPushButton(QStringLiteral("Pre&view"), this);

  connect(btnSelAll, &QPushButton::clicked, this, &TfmRecordPage::SelectAll);
  connect(btnClear, &QPushButton::clicked, this, &TfmRecordPage::ClearAll);
  connect(m_pDetailButton, &QPushButton::clicked, this, &TfmRecordPage::ShowDetail);
  connect(btnPreview, &QPushButton::clicked, this, &TfmRecordPage::btnPreviewClick);
  connect(m_pSelAllItem, &QAction::triggered, this, &TfmRecordPage::SelectAll);
  connect(m_pClearItem, &QAction::triggered, this, &TfmRecordPage::ClearAll);
  connect(m_pDetailItem, &QAction::triggered, this, &TfmRecordPage::ShowDetail);
  connect(m_pList, &QTreeView::doubleClicked, this, &TfmRecordPage::ShowDetail);
  connect(m_pList, &QTreeView::customContextMenuRequested, this, &TfmRecordPage::ShowPopupMenu);

  cbxRuleField = new QComboBox(this);
  cbxRuleCondition = new QComboBox(this);
  for (int n = 0; n < kRuleConditionCount; ++n)
    cbxRuleCondition->addItem(
        QString::fromUtf8(GetRuleConditionText(static_cast<RuleCondition>(n))));
  edtRuleText = new QLineEdit(this);
  cbRuleCase = new QCheckBox(QStringLiteral("&Match case"), this);
  btnTickWhere = new QPushButton(QStringLiteral("&Tick"), this);
  btnUntickWhere = new QPushButton(QStringLiteral("&Untick"), this);
  connect(btnTickWhere, &QPushButton::clicked, this, [this] { TickByRule(true); });
  connect(btnUntickWhere, &QPushButton::clicked, this, [this] { TickByRule(false); });
  connect(cbxRuleCondition, &QComboBox::currentIndexChanged, this,
          &TfmRecordPage::cbxRuleConditionChange);
  auto* pRule = new QHBoxLayout;
  pRule->addWidget(new QLabel(QStringLiteral("Where"), this));
  pRule->addWidget(cbxRuleField);
  pRule->addWidget(cbxRuleCondition);
  pRule->addWidget(edtRuleText, 1);
  pRule->addWidget(cbRuleCase);
  pRule->addWidget(btnTickWhere);
  pRule->addWidget(btnUntickWhere);

  lblFolders = new QLabel(this);
  lblFolders->hide();

  auto* pButtons = new QHBoxLayout;
  pButtons->addWidget(btnSelAll);
  pButtons->addWidget(btnClear);
  pButtons->addSpacing(12);
  pButtons->addWidget(lblFolders);
  pButtons->addStretch();
  pButtons->addWidget(btnPreview);
  pButtons->addWidget(m_pDetailButton);

  lblProblem = new QLabel(this);
  lblProblem->setWordWrap(true);
  lblProblem->setTextInteractionFlags(Qt::TextSelectableByMouse);
  SetRole(lblProblem, "bad");
  lblProblem->hide();

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(12, 12, 12, 12);
  pLayout->setSpacing(8);
  pLayout->addWidget(lblProblem);
  pLayout->addLayout(pRule);
  pLayout->addWidget(m_pList, 1);
  pLayout->addLayout(pButtons);
}

bool TfmRecordPage::UpdateData(bool bSave) {
  if (bSave) return CollectTicked();
  Fill();
  return true;
}

void TfmRecordPage::Fill() {
  m_pModel->SetFolderColumn(g_Settings.SubFolder ? m_kind.fnFolder : nullptr);
  m_pModel->SetRecords(m_kind.fnRecords());
  ShowReadFailure();
  ShowFoldersRead();
  m_pList->header()->setSortIndicator(-1, Qt::AscendingOrder);
  const QString strField = cbxRuleField->currentText();
  cbxRuleField->clear();
  for (int n = 0; n < m_pModel->columnCount(); ++n)
    cbxRuleField->addItem(m_pModel->headerData(n, Qt::Horizontal).toString());
  cbxRuleField->setCurrentIndex(qMax(0, cbxRuleField->findText(strField)));
  if (m_pModel->RecordCount() > 0)
    m_pList->selectionModel()->setCurrentIndex(m_pModel->index(0, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TfmRecordPage::ShowReadFailure() {
  // A list cut short by a damaged store must not pass for the whole folder.
  const OlBaseUtil* pAccessor = m_kind.fnAccessor();
  const std::string strWhy = pAccessor ? pAccessor->GetReadFailure() : std::string();
  QString strText;
  if (!strWhy.empty()) {
    const size_t nRead = static_cast<size_t>(m_pModel->RecordCount());
    strText = FromProgramText((OlPartialReadText(nRead, strWhy) + ".").c_str());
  }
  lblProblem->setText(strText);
  lblProblem->setVisible(!strText.isEmpty());
}

void TfmRecordPage::ShowFoldersRead() {
  // Without subfolders there is only the default folder, nothing worth saying.
  const OlBaseUtil* pAccessor = m_kind.fnAccessor();
  const bool bShow = g_Settings.SubFolder && pAccessor;
  lblFolders->setText(
      bShow ? QStringLiteral("%1 read from %2.")
                  .arg(CountText(static_cast<size_t>(m_pModel->RecordCount()), "item", "items"),
                       CountText(pAccessor->GetFoldersRead(), "folder", "folders"))
            : QString());
  lblFolders->setVisible(bShow);
}

bool TfmRecordPage::CollectTicked() {
  // The list holds pointers into the container, never owned; it is refilled
  // whole, so going back from the run page and forward again lists each
  // ticked record once.
  if (g_pRecordList) {
    g_pRecordList->RemoveAll(false);
    for (void* pRecord : m_pModel->TickedRecords()) g_pRecordList->Add(pRecord);
  }
  if (!g_pRecordList || g_pRecordList->GetCount() == 0) {
    ShowMessageBox(this, QString::fromUtf8(m_kind.szNoneTicked), QStringLiteral("Error"), QMessageBox::Critical);
    return false;
  }
  return true;
}

void TfmRecordPage::btnPreviewClick() {
  const std::vector<void*> ticked = m_pModel->TickedRecords();
  if (ticked.empty()) {
    ShowMessageBox(this, QString::fromUtf8(m_kind.szNoneTicked), QStringLiteral("Error"),
                   QMessageBox::Critical);
    return;
  }
  const std::unique_ptr<CxItemKind> pKind = MakeItemKind(
      g_Settings.AppFlag, g_pAddrApplier, g_pDateApplier, g_pTaskApplier, g_pNoteApplier);
  if (!pKind) return;
  CxList records;
  for (void* pRecord : ticked) records.Add(pRecord);
  const CxChangeReport report = CxUpdateRun(*pKind, g_pFieldList).Preview(&records);
  records.RemoveAll(false);
  TfmPreview preview(report, QStringLiteral("Preview"), this);
  preview.exec();
}

void TfmRecordPage::TickByRule(bool bTick) {
  CxTickRule rule;
  rule.nCondition = static_cast<RuleCondition>(cbxRuleCondition->currentIndex());
  rule.strText = ToProgramText(edtRuleText->text()).toStdString();
  rule.bCaseSensitive = cbRuleCase->isChecked();
  m_pModel->TickWhere(cbxRuleField->currentIndex(), rule, bTick);
}

void TfmRecordPage::cbxRuleConditionChange() {
  const bool bText =
      CxTickRule::TakesText(static_cast<RuleCondition>(cbxRuleCondition->currentIndex()));
  edtRuleText->setEnabled(bText);
  cbRuleCase->setEnabled(bText);
}

void TfmRecordPage::SelectAll() { m_pModel->SetAllTicked(true); }

void TfmRecordPage::ClearAll() { m_pModel->SetAllTicked(false); }

void* TfmRecordPage::SelectedRecord() const {
  const QModelIndexList rows = m_pList->selectionModel()->selectedRows();
  if (rows.isEmpty()) return nullptr;
  return m_pModel->RecordAt(rows.constFirst().row());
}

void TfmRecordPage::ShowDetail() {
  if (void* pRecord = SelectedRecord()) m_kind.fnShowDetail(this, pRecord);
}

void TfmRecordPage::ShowPopupMenu(const QPoint& point) {
  m_pMenu->popup(m_pList->viewport()->mapToGlobal(point));
}
