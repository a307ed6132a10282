// The definition editor: a modal dialog that edits one field update
// definition of the current mode's catalogue.
#pragma once

#include <QDialog>

#include "update/Qmcommon.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTimeEdit;

class TfmOneField : public QDialog {
  Q_OBJECT

 public:
  explicit TfmOneField(QWidget* pParent = nullptr);

  // The definition to edit; owned by the caller. OK rewrites it whole,
  // Cancel leaves it untouched.
  void SetDefinition(FieldUpdateDef* pDef) { m_pDefinition = pDef; }
  void SetTitle(const QString& strTitle);

  // false: fill the controls from the definition (false without one).
  // true: validate and store into the definition; false keeps the dialog open
  // after telling the user why.
  bool UpdateData(bool bSave);

  QLabel* lblTitle;
  QLabel* Label1;
  QComboBox* cbName;
  QLabel* Label10;
  QLabel* lblDesc;
  QLabel* Label2;
  QLineEdit* edtType;
  QTabWidget* pDetail;
  QWidget* tString;
  QWidget* tInteger;
  QWidget* tBool;
  QWidget* tEnum;
  QWidget* tDateTime;
  QRadioButton* rbtnSet;
  QLineEdit* edtSetValue;
  QRadioButton* rbtnAppend;
  QLineEdit* edtAppendValue;
  QRadioButton* rbtnInsert;
  QLineEdit* edtInsertValue;
  QSpinBox* edtPosition;
  QLabel* lblPositionHint;  // how Insert counts its position
  QLabel* lblCutWarning;    // a Set or Append text the field cannot hold whole
  QRadioButton* rbtnReplace;
  QLineEdit* edtReplaceSource;
  QLineEdit* edtReplaceDest;
  QSpinBox* edtIntValue;
  QComboBox* cbBoolValue;
  QComboBox* cbEnumValue;
  QDateEdit* pDate;
  QTimeEdit* pTime;
  QPushButton* btnOK;
  QPushButton* btnCancel;

 private:
  // One text operation of the String page and the controls it uses.
  struct StringOperation {
    QRadioButton* pRadio;
    int32_t nOperation;
    QLineEdit* pValue;     // the value text
    QLineEdit* pSearch;    // Replace's text to find, else none
    QSpinBox* pPosition;   // Insert's position, else none
    QLineEdit* pRequired;  // the edit that must not be empty, else none
    const char* szEmptyMessage;
  };

  void BuildWindow();
  QWidget* BuildStringPage();
  QWidget* BuildValuePage(QWidget* pValue, QWidget* pSecond = nullptr);

  const FieldDescriptor* ChosenField() const;
  QWidget* PageOfType(int32_t nType) const;
  const StringOperation* CheckedOperation() const;

  void FillStringPage();
  void FillDatePage(bool bWithTime);
  void FillEnumPage(const FieldDescriptor& field);
  // Stores the page's value into def; false (after the message) when the
  // input is not acceptable.
  bool StoreStringPage(FieldUpdateDef& def);
  void StoreDatePage(FieldUpdateDef& def, bool bWithTime) const;
  void StoreEnumPage(FieldUpdateDef& def, const FieldDescriptor& field) const;

  void cbNameChange();
  // The four operation radios share this handler: it enables the edits of
  // the checked operation only.
  void rbtnOperationClick();
  // Says, before OK, when the checked Set or Append text is longer than the
  // chosen field holds and will be cut.
  void ShowCutWarning();
  void btnOKClick();

  FieldUpdateDef* m_pDefinition;
  StringOperation m_Operations[4];
};
