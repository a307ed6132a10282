// The error report dialog, shown when an unexpected error reached a page
// change or the top of the program: where the log is, whom to write to, and a
// way out.
#pragma once

#include <QDialog>

class QPushButton;
class TxClickLabel;
class TxLogInfoBox;

class TfmDump : public QDialog {
  Q_OBJECT

 public:
  explicit TfmDump(QWidget* pParent = nullptr);
  // false fills the two path boxes; true stores nothing. Both return true.
  bool UpdateData(bool bSave);

  TxClickLabel* imgIcon;
  TxClickLabel* imgText;
  TxClickLabel* lblSupport;
  TxLogInfoBox* gbInfo;
  QPushButton* btnDebug;
  QPushButton* btnOK;
  QPushButton* btnExit;

 private:
  void btnDebugClick();
  void btnExitClick();
  void lblSupportClick();
};
