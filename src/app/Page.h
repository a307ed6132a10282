// The page protocol shared by every wizard page and by the option dialogs.
#pragma once

#include <QWidget>

class TfmPage : public QWidget {
  Q_OBJECT

 public:
  explicit TfmPage(QWidget* pParent = nullptr) : QWidget(pParent) {}

  // false: the enter step, fill the controls from the wizard context (the
  // result is ignored). true: the leave-check, validate and store what the
  // user entered; false keeps the wizard on this page, after the page has
  // told the user why.
  virtual bool UpdateData(bool bSave) = 0;
};
