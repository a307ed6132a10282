// The task detail viewer: one task record. It changes nothing; what is typed
// into it is thrown away.
#pragma once

#include <QDialog>

#include "common/records/CommTaskMgr.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TfmTodoDetail : public QDialog {
  Q_OBJECT

 public:
  explicit TfmTodoDetail(QWidget* pParent = nullptr);

  // Keeps the record (owned by the tasks container) and shows it.
  void SetRecord(const TaskRecord* pRecord);
  const TaskRecord* GetRecord() const { return m_pRecord; }
  // true stores nothing and returns true; false fills every control from the
  // record, false without one.
  bool UpdateData(bool bSave);

  QLineEdit* edtDesc;
  QLineEdit* edtPriority;
  QLineEdit* edtDueDate;
  QCheckBox* cbCompleted;
  QCheckBox* cbPrivate;
  QPlainTextEdit* memNotes;
  QLineEdit* edtCategory;
  QPushButton* btnClose;

 private:
  const TaskRecord* m_pRecord;
};
