// Wizard page 3 for notes: the notes to update.
#pragma once

#include "app/RecordPage.h"

class TfmNoteData : public TfmRecordPage {
  Q_OBJECT

 public:
  explicit TfmNoteData(QWidget* pParent = nullptr);

  QTreeView* lvNoteData;
  QPushButton* btnMemoDetail;
  QMenu* pmiMemoData;
  QAction* pmiMemoSelAll;
  QAction* pmiMemoClear;
  QAction* pmiMemoDetail;
};
