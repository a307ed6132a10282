// The " Debug Information " group both log dialogs share: where the debug log
// lives, with buttons that open its folder and the file.
#pragma once

#include <QGroupBox>

class QGridLayout;
class QLineEdit;
class QPushButton;

class TxLogInfoBox : public QGroupBox {
  Q_OBJECT

 public:
  explicit TxLogInfoBox(QWidget* pParent = nullptr);

  // Fills both boxes from the application data folder. Without that folder
  // both stay empty and both "..." buttons are disabled.
  void FillPaths();
  // The grid of the group, for dialogs that add rows below the two paths.
  QGridLayout* Grid() const { return m_pGrid; }

  QLineEdit* edtFolder;
  QPushButton* btnFolder;
  QLineEdit* edtFile;
  QPushButton* btnFile;

 private:
  void btnFolderClick();
  void btnFileClick();

  QGridLayout* m_pGrid;
};
