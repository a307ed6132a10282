// TfmRuns: the runs the journal keeps, latest first (when, which kind, the
// definitions in words, how many items were saved, whether the run was undone),
// each of which can be undone after a preview of the restore.
#pragma once

#include <QDialog>
#include <cstdint>

#include "update/CxChangeReport.h"

class QPushButton;
class QTreeWidget;

// Shows what undoing the run would do and, when the user confirms, undoes it
// and shows what happened. True when the undo ran (its report in *pDone).
bool UndoRunWithPreview(QWidget* pOwner, int64_t nRun, CxChangeReport* pDone);

class TfmRuns : public QDialog {
  Q_OBJECT

 public:
  enum Column : int { colWhen, colKind, colDefinitions, colSaved, colState, colCount };

  explicit TfmRuns(QWidget* pParent = nullptr);

  QTreeWidget* lvRuns;
  QPushButton* btnUndo;
  QPushButton* btnClose;

  // Lists the journal's runs again.
  void Fill();

 private:
  void btnUndoClick();
  void lvRunsChange();
};
