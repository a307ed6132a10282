// The note detail viewer: one note's category and text. It changes nothing;
// what is typed into it is thrown away.
#pragma once

#include <QDialog>

#include "common/records/CommNoteMgr.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TfmNoteDetail : public QDialog {
  Q_OBJECT

 public:
  explicit TfmNoteDetail(QWidget* pParent = nullptr);

  // Keeps the record (owned by the notes container) and shows it.
  void SetRecord(const NoteRecord* pRecord);
  const NoteRecord* GetRecord() const { return m_pRecord; }
  // true stores nothing and returns true; false fills the controls from the
  // record, false without one.
  bool UpdateData(bool bSave);

  QLineEdit* edtCategory;
  QPlainTextEdit* memNotes;
  QPushButton* btnClose;

 private:
  const NoteRecord* m_pRecord;
};
