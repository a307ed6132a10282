// The debug-log options dialog: switches the log and chooses its level.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TxClickLabel;
class TxLogInfoBox;

class TfmDebug : public QDialog {
  Q_OBJECT

 public:
  explicit TfmDebug(QWidget* pParent = nullptr);
  // false fills the controls from the settings; true stores the choice in the
  // settings and the logger. Both return true.
  bool UpdateData(bool bSave);

  TxClickLabel* imgIcon;
  QLabel* imgText;
  QCheckBox* cbEnable;
  QComboBox* cbxLevel;
  TxLogInfoBox* gbInfo;
  QPushButton* btnOK;
  QPushButton* btnCancel;

 private:
  void btnOKClick();
};
