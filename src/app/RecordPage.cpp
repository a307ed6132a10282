#include "app/RecordPage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/AccessibleNames.h"
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

namespace {

// The columns' widths are given in pixels for the 8-point system font at
// 96 DPI, whose letters are 6 pixels wide on average (the dialog base unit).
// Scaled by the width of the letters of the font in use, a column keeps both
// its share of the list and the number of characters it shows, at any font
// size and screen density.
constexpr double kGivenLetterWidth = 6.0;
// The Folder column has no given width: room for a short folder name.
constexpr int kFolderColumnWidth = 120;

double LetterWidth(const QFont& font) {
  static const QString kLetters =
      QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  return QFontMetricsF(font).horizontalAdvance(kLetters) / kLetters.size();
}

}  // namespace

TfmRecordPage::TfmRecordPage(const RecordPageKind& kind, QWidget* pParent)
    : TfmPage(pParent),
      m_kind(kind),
      m_dFittedLetterWidth(0),
      m_nFittedColumns(0),
      m_nLastColumnWidth(0),
      m_bFitting(false),
      m_bUserSized(false) {
  m_pModel = new RecordListModel(kind.columns, kind.fnText, kind.bCaptionEditable, this);

  // A report-style list: columns with a header, no tree, one whole row
  // selected at a time, every row as high as the others (so even a very long
  // list scrolls without measuring its rows).
  m_pList = new QTreeView(this);
  m_pList->setAccessibleName(QStringLiteral("Items"));
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
  // The user sizes the columns; a double-click on a divider fits the column
  // before it to its texts (the tree view's own answer to that click).
  pHeader->setSectionResizeMode(QHeaderView::Interactive);
  // A click on a header sorts; until then the list keeps the folder's order.
  pHeader->setSortIndicator(-1, Qt::AscendingOrder);
  m_pList->setSortingEnabled(true);
  connect(pHeader, &QHeaderView::sectionResized, this, [this] {
    if (!m_bFitting) m_bUserSized = true;
  });
  // The list's width changes when its vertical scroll bar comes or goes.
  m_pList->viewport()->installEventFilter(this);
  FitColumns();

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
  cbxRuleCondition->setAccessibleName(QStringLiteral("Condition"));
  edtRuleText = new QLineEdit(this);
  edtRuleText->setAccessibleName(QStringLiteral("Text to look for"));
  cbRuleCase = new QCheckBox(QStringLiteral("&Match case"), this);
  btnTickWhere = new QPushButton(QStringLiteral("&Tick"), this);
  btnUntickWhere = new QPushButton(QStringLiteral("&Untick"), this);
  connect(btnTickWhere, &QPushButton::clicked, this, [this] { TickByRule(true); });
  connect(btnUntickWhere, &QPushButton::clicked, this, [this] { TickByRule(false); });
  connect(cbxRuleCondition, &QComboBox::currentIndexChanged, this,
          &TfmRecordPage::cbxRuleConditionChange);
  auto* pRule = new QHBoxLayout;
  pRule->addWidget(NewLabelFor(QStringLiteral("Where"), cbxRuleField, this));
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
  FitColumns();
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

void TfmRecordPage::FitColumns() {
  QHeaderView* pHeader = m_pList->header();
  pHeader->ensurePolished();
  const double dLetterWidth = LetterWidth(pHeader->font());
  if (dLetterWidth == m_dFittedLetterWidth && m_pModel->columnCount() == m_nFittedColumns) return;
  m_dFittedLetterWidth = dLetterWidth;
  m_nFittedColumns = m_pModel->columnCount();
  const double dScale = dLetterWidth / kGivenLetterWidth;
  m_bFitting = true;
  for (int n = 0; n < m_nFittedColumns; ++n) {
    const size_t nGiven = static_cast<size_t>(n);
    const int nWidth =
        nGiven < m_kind.columns.size() ? m_kind.columns[nGiven].nWidth : kFolderColumnWidth;
    // However a font's letters compare with its captions, no caption is cut.
    m_nLastColumnWidth = qMax(qRound(nWidth * dScale), pHeader->sectionSizeHint(n));
    pHeader->resizeSection(n, m_nLastColumnWidth);
  }
  m_bFitting = false;
  m_bUserSized = false;
  FitLastColumn();
}

void TfmRecordPage::FitLastColumn() {
  // A list that is one wide column (the notes) then needs no sideways
  // scrolling, and the vertical scroll bar never hides the last caption.
  if (m_bUserSized || m_nFittedColumns == 0) return;
  QHeaderView* pHeader = m_pList->header();
  const int nLast = m_nFittedColumns - 1;
  const int nLeft = m_pList->viewport()->width() - pHeader->sectionPosition(nLast);
  m_bFitting = true;
  pHeader->resizeSection(nLast,
                         qMax(qMin(m_nLastColumnWidth, nLeft), pHeader->sectionSizeHint(nLast)));
  m_bFitting = false;
}

bool TfmRecordPage::eventFilter(QObject* pObject, QEvent* pEvent) {
  if (pObject == m_pList->viewport() && pEvent->type() == QEvent::Resize) FitLastColumn();
  return TfmPage::eventFilter(pObject, pEvent);
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
