#include "app/Runs.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>
#include <string>

#include "app/AccessibleNames.h"
#include "app/Apputil.h"
#include "app/Preview.h"
#include "app/UiSeams.h"
#include "update/CxItemKind.h"
#include "update/CxKindAccess.h"
#include "update/CxRunJournal.h"
#include "update/CxRunUndo.h"

namespace {

constexpr int kRunRole = Qt::UserRole;

void ShowError(QWidget* pOwner, const QString& strText) {
  ShowMessageBox(pOwner, strText, QStringLiteral("Error"), QMessageBox::Critical);
}

QString StateText(const CxJournalRun& run) {
  QStringList parts;
  if (run.nUndoOf > 0) parts << QStringLiteral("undo of run %1").arg(run.nUndoOf);
  if (run.nUndoneBy > 0) parts << QStringLiteral("undone by run %1").arg(run.nUndoneBy);
  if (run.tEnded == 0) parts << QStringLiteral("did not end");
  if (run.nPending > 0) parts << QStringLiteral("%1 in doubt").arg(run.nPending);
  if (run.nFailed > 0) parts << QStringLiteral("%1 not saved").arg(run.nFailed);
  return parts.join(QStringLiteral(", "));
}

}  // namespace

bool UndoRunWithPreview(QWidget* pOwner, int64_t nRun, CxChangeReport* pDone) {
  CxRunJournal journal;
  std::string strError;
  CxJournalRun run;
  if (!OpenRunJournal(&journal, &strError) || !journal.FindRun(nRun, &run)) {
    ShowError(pOwner, QStringLiteral("The run cannot be undone: %1.")
                          .arg(strError.empty() ? QStringLiteral("the journal does not know it")
                                                : QString::fromUtf8(strError)));
    return false;
  }
  // Joins the wizard's connection to Outlook when it is open.
  const std::unique_ptr<CxKindAccess> pAccess = CxKindAccess::Open(run.nMode);
  if (!pAccess || !pAccess->IsConnected()) {
    ShowError(pOwner, QStringLiteral("The run cannot be undone: Outlook cannot be reached."));
    return false;
  }
  CxRunUndo undo(journal, pAccess->Accessor());
  if (!undo.Load(nRun, &strError)) {
    ShowError(pOwner,
              QStringLiteral("The run cannot be undone: %1.").arg(QString::fromUtf8(strError)));
    return false;
  }
  const CxChangeReport preview = undo.Preview();
  if (preview.CountItems(ioChange) == 0) {
    TfmPreview nothing(preview, QStringLiteral("Undo Run %1: nothing to restore").arg(nRun),
                       pOwner);
    nothing.exec();
    return false;
  }
  TfmPreview ask(preview, QStringLiteral("Undo Run %1").arg(nRun), pOwner,
                 QStringLiteral("&Undo Run"));
  if (ask.exec() != QDialog::Accepted) return false;
  if (!undo.Execute(pDone, &strError)) {
    ShowError(pOwner, QStringLiteral("The run cannot be undone: %1. Nothing was changed.")
                          .arg(QString::fromUtf8(strError)));
    return false;
  }
  TfmPreview done(*pDone, QStringLiteral("Undo Run %1: report").arg(nRun), pOwner);
  done.exec();
  return true;
}

TfmRuns::TfmRuns(QWidget* pParent) : QDialog(pParent) {
  setWindowTitle(QStringLiteral("Past Runs"));
  lvRuns = new QTreeWidget(this);
  lvRuns->setAccessibleName(QStringLiteral("Past runs"));
  lvRuns->setColumnCount(colCount);
  lvRuns->setHeaderLabels({QStringLiteral("When"), QStringLiteral("Kind"),
                           QStringLiteral("Definitions"), QStringLiteral("Items Saved"),
                           QStringLiteral("State")});
  lvRuns->setRootIsDecorated(false);
  lvRuns->setUniformRowHeights(true);
  lvRuns->setAlternatingRowColors(true);
  lvRuns->setSelectionBehavior(QAbstractItemView::SelectRows);
  const int nChar = fontMetrics().averageCharWidth();
  lvRuns->header()->resizeSection(colWhen, 18 * nChar);
  lvRuns->header()->resizeSection(colKind, 14 * nChar);
  lvRuns->header()->resizeSection(colDefinitions, 46 * nChar);
  lvRuns->header()->resizeSection(colSaved, 11 * nChar);

  btnUndo = new QPushButton(QStringLiteral("&Undo Run..."), this);
  btnClose = new QPushButton(QStringLiteral("&Close"), this);
  connect(btnUndo, &QPushButton::clicked, this, &TfmRuns::btnUndoClick);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
  connect(lvRuns, &QTreeWidget::itemSelectionChanged, this, &TfmRuns::lvRunsChange);

  auto* pButtons = new QHBoxLayout;
  pButtons->addStretch();
  pButtons->addWidget(btnUndo);
  pButtons->addWidget(btnClose);
  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(lvRuns, 1);
  pLayout->addLayout(pButtons);
  resize(110 * nChar, 28 * fontMetrics().height());
  Fill();
  NameControls(this);
}

void TfmRuns::Fill() {
  lvRuns->clear();
  CxRunJournal journal;
  std::string strError;
  if (!OpenRunJournal(&journal, &strError)) {
    ShowError(
        this,
        QStringLiteral("The past runs cannot be listed: %1.").arg(QString::fromUtf8(strError)));
    lvRunsChange();
    return;
  }
  for (const CxJournalRun& run : journal.ListRuns()) {
    auto* pRow = new QTreeWidgetItem(lvRuns);
    pRow->setText(colWhen, QDateTime::fromSecsSinceEpoch(run.tStarted)
                               .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    pRow->setText(colKind, QString::fromUtf8(GetKindPluralName(run.nMode)));
    const QString strDefinitions = QString::fromUtf8(run.strDefinitions);
    pRow->setText(colDefinitions,
                  QString(strDefinitions).replace(QLatin1Char('\n'), QStringLiteral("; ")));
    pRow->setToolTip(colDefinitions, strDefinitions);
    pRow->setText(colSaved, QString::number(run.nSaved));
    pRow->setText(colState, StateText(run));
    pRow->setData(colWhen, kRunRole, QVariant::fromValue<qint64>(run.nID));
  }
  if (lvRuns->topLevelItemCount() > 0) lvRuns->setCurrentItem(lvRuns->topLevelItem(0));
  lvRunsChange();
}

void TfmRuns::lvRunsChange() { btnUndo->setEnabled(lvRuns->currentItem() != nullptr); }

void TfmRuns::btnUndoClick() {
  const QTreeWidgetItem* pRow = lvRuns->currentItem();
  if (!pRow) return;
  CxChangeReport done;
  if (UndoRunWithPreview(this, pRow->data(colWhen, kRunRole).value<qint64>(), &done)) Fill();
}
