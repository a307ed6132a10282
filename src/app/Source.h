// Wizard page 1: which Outlook is in use. Leaving it connects to Outlook and
// reads the items of the chosen kind (the wizard context opens).
#pragma once

#include "app/Page.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TfmSource : public TfmPage {
  Q_OBJECT

 public:
  explicit TfmSource(QWidget* pParent = nullptr);
  // false shows the Outlook version and path; true opens the wizard context and
  // stores the path, false when Outlook cannot be reached.
  bool UpdateData(bool bSave) override;

  QGroupBox* gbOutlook;
  QLabel* lblOLVer;
  // Why Outlook cannot be reached (or its store cannot be used), in red under
  // the version; hidden while there is nothing to say.
  QLabel* lblProblem;
  // The local Outlook's data file, where the items read and saved live; the
  // row (caption and value) is shown only when the local Outlook is in use.
  QLabel* lblStoreCaption;
  QLabel* lblStore;
  // While leaving the page reads the items: how many so far.
  QLabel* lblReading;
  QLineEdit* edtPath;
  QPushButton* btnBrowse;

 private:
  void ShowVersion();
  void ShowProblem(const QString& strProblem);
  // Connects and reads under a busy cursor, showing the count as it grows.
  bool OpenContextShowingProgress();
  void ShowItemsRead(size_t nItems);
  // The reason the last attempt to reach Outlook failed, in words.
  static QString ConnectProblem();
  void btnBrowseClick();
};
