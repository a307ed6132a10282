// Wizard page 3, whatever the kind: the records of the mode's container in a
// report-style list with ticks, "Select All", "Clear" and "Details" (buttons
// and pop-up menu). Leaving it forward hands the ticked records to the update
// run through g_pRecordList. The four kinds differ only in what RecordPageKind
// holds.
#pragma once

#include <QPointer>
#include <span>
#include <vector>

#include "app/Page.h"
#include "app/RecordListModel.h"
#include "common/misc/CxText.h"

class OlBaseUtil;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeView;

struct RecordPageKind {
  std::span<const RecordColumn> columns;
  RecordTextFn fnText;
  bool bCaptionEditable;
  // The message of the leave-check when no row is ticked.
  const char* szNoneTicked;
  // The records of the mode's container, in container order; none without a context.
  std::vector<void*> (*fnRecords)();
  // Shows the kind's detail viewer for one record, modal over pOwner.
  void (*fnShowDetail)(QWidget* pOwner, const void* pRecord);
  // The folder a record was read from, for the Folder column.
  RecordTextFn fnFolder;
  // The accessor of the mode's kind; none without a context.
  const OlBaseUtil* (*fnAccessor)();
};

class TfmRecordPage : public TfmPage {
  Q_OBJECT

 public:
  // false lists the container's records, all ticked, the first selected,
  // and says above them when the read stopped before the end of the folder;
  // true puts the ticked records into g_pRecordList, which it empties first
  // so that leaving the page again never hands a record twice. Without a
  // ticked row it says so and returns false.
  bool UpdateData(bool bSave) override;

  void SelectAll();
  void ClearAll();
  // Shows what the run would do to the ticked records; nothing is written.
  void btnPreviewClick();
  // Opens the detail viewer for the selected row; nothing without one.
  void ShowDetail();
  // The record of the selected row; none when no row is selected.
  void* SelectedRecord() const;

  RecordListModel* Model() const { return m_pModel; }
  QTreeView* List() const { return m_pList; }
  QPushButton* DetailButton() const { return m_pDetailButton; }
  QMenu* PopupMenu() const { return m_pMenu; }
  QAction* SelAllItem() const { return m_pSelAllItem; }
  QAction* ClearItem() const { return m_pClearItem; }
  QAction* DetailItem() const { return m_pDetailItem; }

  QPushButton* btnSelAll;
  QPushButton* btnClear;
  QPushButton* btnPreview;
  // Ticking by rule: a column, a condition, a text, case.
  QComboBox* cbxRuleField;
  QComboBox* cbxRuleCondition;
  QLineEdit* edtRuleText;
  QCheckBox* cbRuleCase;
  QPushButton* btnTickWhere;
  QPushButton* btnUntickWhere;
  // In red above the list when the read stopped early: how many items could
  // be read, and why no more.
  QLabel* lblProblem;
  // With subfolders, how many items were read from how many folders.
  QLabel* lblFolders;

 protected:
  // kind must outlive the page (a static table of the kind's unit).
  TfmRecordPage(const RecordPageKind& kind, QWidget* pParent);

 private:
  void Fill();
  void ShowReadFailure();
  void ShowFoldersRead();
  // Sizes the columns for the font the list shows, unless they are already
  // sized for it (so a column the user widened stays so).
  void FitColumns();
  // Gives the last column what the list has left, when the columns are wider
  // than the list and the user has not sized them himself.
  void FitLastColumn();

 protected:
  bool eventFilter(QObject* pObject, QEvent* pEvent) override;

 private:
  bool CollectTicked();
  // Ticks or unticks the rows the rule bar describes.
  void TickByRule(bool bTick);
  void cbxRuleConditionChange();
  void ShowPopupMenu(const QPoint& point);

  const RecordPageKind& m_kind;
  RecordListModel* m_pModel;
  QTreeView* m_pList;
  QPushButton* m_pDetailButton;
  QMenu* m_pMenu;
  QAction* m_pSelAllItem;
  QAction* m_pClearItem;
  QAction* m_pDetailItem;
  // What the columns were last sized for: the font's letter width and the
  // number of columns.
  double m_dFittedLetterWidth;
  int m_nFittedColumns;
  // The width the last column has at the font's scale, before FitLastColumn.
  int m_nLastColumnWidth;
  bool m_bFitting;
  bool m_bUserSized;
};

// The name of the folder a record's item was read from; empty without an image.
template <typename TRecord>
void RecordFolderText(const void* pRecord, int32_t /*nKey*/, char* szBuf, int nSize) {
  const auto* pImage = static_cast<const TRecord*>(pRecord)->Image;
  CopyText(szBuf, static_cast<size_t>(nSize), pImage ? pImage->FolderName : "");
}

// The records of a container from First() to Next() giving none.
template <typename TMgr>
std::vector<void*> ContainerRecords(TMgr* pMgr) {
  std::vector<void*> records;
  if (!pMgr) return records;
  for (auto* pRecord = pMgr->First(); pRecord; pRecord = pMgr->Next()) records.push_back(pRecord);
  return records;
}

// Creates the viewer owned by pOwner, gives it the record, shows it modally
// and frees it when it closes.
template <typename TViewer, typename TRecord>
void ShowRecordDetail(QWidget* pOwner, const void* pRecord) {
  QPointer<TViewer> pViewer = new TViewer(pOwner);
  pViewer->SetRecord(static_cast<const TRecord*>(pRecord));
  pViewer->exec();
  delete pViewer.data();
}
