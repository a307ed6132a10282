// Wizard page 3 for contacts: the contacts to update.
#pragma once

#include "app/RecordPage.h"

class TfmAddrData : public TfmRecordPage {
  Q_OBJECT

 public:
  explicit TfmAddrData(QWidget* pParent = nullptr);

  QTreeView* lvAddrData;
  QPushButton* btnAddrDetail;
  QMenu* pmAddrDetail;
  QAction* pmiAddrSelAll;
  QAction* pmiAddrClear;
  QAction* pmiAddrDetail;
};
