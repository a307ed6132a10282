// The calendar detail viewer: one calendar record with its notes and its
// recurrence. It changes nothing; what is typed into it is thrown away.
#pragma once

#include <QDialog>

#include "common/records/CommDateMgr.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class TfmDateDetail : public QDialog {
  Q_OBJECT

 public:
  explicit TfmDateDetail(QWidget* pParent = nullptr);

  // Keeps the record (owned by the calendar container) and shows it.
  void SetRecord(const DateRecord* pRecord);
  const DateRecord* GetRecord() const { return m_pRecord; }
  // true stores nothing and returns true; false fills every control from the
  // record, false without one.
  bool UpdateData(bool bSave);

  QTabWidget* pDate;
  QWidget* tRecur;
  QWidget* tNotes;
  QWidget* tGen;

  // General
  QLineEdit* edtDesc;
  QLineEdit* edtDate;
  QLineEdit* edtStartTime;
  QLineEdit* edtEndTime;
  QLineEdit* edtLocation;
  QLineEdit* edtCategory;
  QCheckBox* cbAlarm;
  QCheckBox* cbPrivate;
  QCheckBox* cbAllday;
  // Notes
  QPlainTextEdit* memNotes;
  // Recurrence
  QTabWidget* pRecur;
  QWidget* tYearly;
  QWidget* tWeekly;
  QWidget* tMonthly;
  QWidget* tDaily;
  QLineEdit* edtRecurYears;
  QLineEdit* edtRecurWeeks;
  QCheckBox* cbMonday;
  QCheckBox* cbTuesday;
  QCheckBox* cbWednesday;
  QCheckBox* cbThursday;
  QCheckBox* cbFriday;
  QCheckBox* cbSaturday;
  QCheckBox* cbSunday;
  QLineEdit* edtRecurMonths;
  QRadioButton* rbtnDate;
  QRadioButton* rbtnDay;
  QLineEdit* edtRecurDays;
  QLineEdit* edtRecurStart;
  QRadioButton* rbtnNoEnd;
  QRadioButton* rbtnEndBy;
  QLineEdit* edtRecurEnd;

  QPushButton* btnClose;

 private:
  QWidget* BuildGeneral();
  QWidget* BuildNotes();
  QWidget* BuildRecurrence();
  void Fill();
  void FillRecurrence();
  // Back to the state of a new window: every tab shown, nothing ticked, so a
  // second record never keeps what the first one showed.
  void ResetRecurrence();

  const DateRecord* m_pRecord;
  QButtonGroup* m_pMonthlyBy;
  QButtonGroup* m_pRangeEnd;
};
