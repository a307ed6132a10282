// TfmPreview: the table of a run's changes, item by item and field by field:
// before a run what it would do, after it what it did, and what an undo would
// do or did. Counts on top, a filter for the rows that change, sorting by any
// column, and the table saved as CSV. With an accept caption it also asks the
// question the table answers ("Undo the run?"): exec() gives Accepted when
// the user pressed that button.
#pragma once

#include <QDialog>
#include <QString>

#include "update/CxChangeReport.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTreeView;

class TfmPreview : public QDialog {
  Q_OBJECT

 public:
  enum Column : int { colItem, colFolder, colField, colOld, colNew, colOutcome, colCount };

  TfmPreview(const CxChangeReport& report, const QString& strTitle, QWidget* pParent = nullptr,
             const QString& strAccept = QString());

  QLabel* lblCounts;
  QCheckBox* cbOnlyChanges;
  QTreeView* lvChanges;
  QPushButton* btnSaveCsv;
  QPushButton* btnAccept;  // none without an accept caption
  QPushButton* btnClose;

  // The rows as shown now (filtered and sorted), one text per column.
  int ShownRowCount() const;
  QString ShownText(int nRow, Column nColumn) const;

 private:
  void cbOnlyChangesClick();
  void btnSaveCsvClick();

  CxChangeReport m_Report;
  QStandardItemModel* m_pModel;
  QSortFilterProxyModel* m_pFilter;
};
