#include "app/Preview.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/AccessibleNames.h"
#include "app/Apputil.h"
#include "app/ProgramText.h"
#include "app/UiSeams.h"

namespace {

// Marks the rows whose value changes, for the filter.
constexpr int kChangeRole = Qt::UserRole + 1;

QString Utf8(const std::string& strText) { return QString::fromUtf8(strText); }

}  // namespace

TfmPreview::TfmPreview(const CxChangeReport& report, const QString& strTitle, QWidget* pParent,
                       const QString& strAccept)
    : QDialog(pParent), btnAccept(nullptr), m_Report(report) {
  setWindowTitle(strTitle);
  lblCounts = new QLabel(Utf8(report.CountsText()), this);
  lblCounts->setWordWrap(true);
  cbOnlyChanges = new QCheckBox(QStringLiteral("Only &changes"), this);

  m_pModel = new QStandardItemModel(0, colCount, this);
  m_pModel->setHorizontalHeaderLabels(
      {QStringLiteral("Item"), QStringLiteral("Folder"), QStringLiteral("Field"),
       report.IsPreview() ? QStringLiteral("Current Value") : QStringLiteral("Old Value"),
       QStringLiteral("New Value"), QStringLiteral("Outcome")});
  for (const CxItemChanges& item : report.GetItems()) {
    const auto fnAddRow = [&](const CxFieldChange* pField) {
      QList<QStandardItem*> row;
      const QString strOutcome =
          pField ? Utf8(report.OutcomeText(item, *pField))
                 : QString::fromUtf8(CxChangeReport::ItemOutcomeText(item.nOutcome)) +
                       (item.strReason.empty() ? QString()
                                               : QStringLiteral(": ") + Utf8(item.strReason));
      for (const QString& strText :
           {Utf8(item.strName), Utf8(item.strFolder), pField ? Utf8(pField->strField) : QString(),
            pField ? Utf8(pField->strOld) : QString(), pField ? Utf8(pField->strNew) : QString(),
            strOutcome}) {
        auto* pCell = new QStandardItem(strText);
        pCell->setEditable(false);
        pCell->setToolTip(strText);
        row.append(pCell);
      }
      row[colItem]->setData(pField && pField->nOutcome == foChange, kChangeRole);
      m_pModel->appendRow(row);
    };
    if (item.Fields.empty()) fnAddRow(nullptr);
    for (const CxFieldChange& field : item.Fields) fnAddRow(&field);
  }

  m_pFilter = new QSortFilterProxyModel(this);
  m_pFilter->setSourceModel(m_pModel);
  m_pFilter->setFilterRole(kChangeRole);
  m_pFilter->setFilterKeyColumn(colItem);
  m_pFilter->setSortCaseSensitivity(Qt::CaseInsensitive);

  lvChanges = new QTreeView(this);
  lvChanges->setAccessibleName(QStringLiteral("Changes"));
  lvChanges->setModel(m_pFilter);
  lvChanges->setRootIsDecorated(false);
  lvChanges->setUniformRowHeights(true);
  lvChanges->setAlternatingRowColors(true);
  lvChanges->setSortingEnabled(true);
  lvChanges->sortByColumn(-1, Qt::AscendingOrder);  // the run's order until a header is clicked
  lvChanges->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvChanges->header()->setSectionResizeMode(QHeaderView::Interactive);
  lvChanges->header()->setStretchLastSection(true);
  const int nChar = fontMetrics().averageCharWidth();
  for (const auto& [nColumn, nChars] :
       {std::pair{colItem, 22}, {colFolder, 12}, {colField, 16}, {colOld, 20}, {colNew, 20}})
    lvChanges->header()->resizeSection(nColumn, nChars * nChar);
  lvChanges->setColumnHidden(
      colFolder, !std::any_of(report.GetItems().begin(), report.GetItems().end(),
                              [&](const CxItemChanges& item) {
                                return item.strFolder != report.GetItems().front().strFolder;
                              }));

  btnSaveCsv = new QPushButton(QStringLiteral("Save as C&SV..."), this);
  btnClose = new QPushButton(QStringLiteral("&Close"), this);
  auto* pButtons = new QHBoxLayout;
  pButtons->addWidget(btnSaveCsv);
  pButtons->addStretch();
  if (!strAccept.isEmpty()) {
    btnAccept = new QPushButton(strAccept, this);
    pButtons->addWidget(btnAccept);
    connect(btnAccept, &QPushButton::clicked, this, &QDialog::accept);
  }
  pButtons->addWidget(btnClose);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnSaveCsv, &QPushButton::clicked, this, &TfmPreview::btnSaveCsvClick);
  connect(cbOnlyChanges, &QCheckBox::toggled, this, &TfmPreview::cbOnlyChangesClick);

  auto* pTop = new QHBoxLayout;
  pTop->addWidget(lblCounts, 1);
  pTop->addWidget(cbOnlyChanges);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addLayout(pTop);
  pLayout->addWidget(lvChanges, 1);
  pLayout->addLayout(pButtons);
  resize(110 * nChar, 34 * fontMetrics().height());
  NameControls(this);
}

void TfmPreview::cbOnlyChangesClick() {
  m_pFilter->setFilterFixedString(cbOnlyChanges->isChecked() ? QStringLiteral("true") : QString());
}

int TfmPreview::ShownRowCount() const { return m_pFilter->rowCount(); }

QString TfmPreview::ShownText(int nRow, Column nColumn) const {
  return m_pFilter->index(nRow, nColumn).data().toString();
}

void TfmPreview::btnSaveCsvClick() {
  const std::string strDefault = ReportPath(QDateTime::currentSecsSinceEpoch());
  QString strPath;
  if (!GetSaveFileName(this, FromProgramText(strDefault.c_str()),
                       QStringLiteral("CSV files (*.csv)"), &strPath))
    return;
  std::string strError;
  if (!m_Report.WriteCsv(ToProgramText(strPath).toStdString(), &strError))
    ShowMessageBox(this, QStringLiteral("The table could not be saved: %1.").arg(Utf8(strError)),
                   QStringLiteral("Error"), QMessageBox::Critical);
}
