// The contact detail viewer: one contact record in full, on four sheets. It
// changes nothing; what is typed on its "General" sheet is thrown away.
#pragma once

#include <QDialog>

#include "common/records/CommAddrMgr.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

class TfmAddrDetail : public QDialog {
  Q_OBJECT

 public:
  explicit TfmAddrDetail(QWidget* pParent = nullptr);

  // Keeps the record (owned by the contacts container) and shows it.
  void SetRecord(const AddrRecord* pRecord);
  const AddrRecord* GetRecord() const { return m_pRecord; }
  // false without a record. false fills every control from the record; true
  // stores nothing. Both return true.
  bool UpdateData(bool bSave);

  QTabWidget* pcAddr;
  QWidget* tGeneral;
  QWidget* tAddress;
  QWidget* tNotes;
  QWidget* tOther;
  QTabWidget* pcAddress;

  // General
  QLineEdit* edtFirst;
  QLineEdit* edtLast;
  QLineEdit* edtCompany;
  QLineEdit* edtTitle;
  QLineEdit* edtBusiTel;
  QLineEdit* edtHomeTel;
  QLineEdit* edtMobileTel;
  QLineEdit* edtOtherTel;
  QLineEdit* edtEmail;
  QLineEdit* edtFax;
  QLineEdit* edtPager;
  QLineEdit* edtMainTel;
  QLineEdit* edtBirthday;
  QCheckBox* cbPrivate;
  QLineEdit* edtCategory;
  // Address
  QPlainTextEdit* memBusiStreet;
  QLineEdit* edtBusiCity;
  QLineEdit* edtBusiState;
  QLineEdit* edtBusiCountry;
  QLineEdit* edtBusiPostal;
  QPlainTextEdit* memHomeStreet;
  QLineEdit* edtHomeCity;
  QLineEdit* edtHomeState;
  QLineEdit* edtHomePostal;
  QLineEdit* edtHomeCountry;
  QPlainTextEdit* memOtherStreet;
  QLineEdit* edtOtherCity;
  QLineEdit* edtOtherState;
  QLineEdit* edtOtherPostal;
  QLineEdit* edtOtherCountry;
  // Notes
  QPlainTextEdit* memNotes;
  // Other Information
  QLineEdit* edtCustom1;
  QLineEdit* edtCustom2;
  QLineEdit* edtCustom3;
  QLineEdit* edtCustom4;
  QLineEdit* edtCustom5;
  QLineEdit* edtCustom6;
  QLineEdit* edtCustom7;
  QLineEdit* edtCustom8;
  QLineEdit* edtCustom9;
  QLineEdit* edtIM1;
  QLineEdit* edtIM2;
  QLineEdit* edtHomepage;
  QPushButton* btnGo;

  QPushButton* btnClose;

 private:
  QWidget* BuildGeneral();
  QWidget* BuildAddress();
  QWidget* BuildNotes();
  QWidget* BuildOther();
  void Fill();
  // Opens the home page in the browser, but only a web address: the text
  // comes from the contact, and the shell would run a program it names.
  void btnGoClick();

  const AddrRecord* m_pRecord;
};
