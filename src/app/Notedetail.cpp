#include "app/Notedetail.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/DetailView.h"
#include "app/ProgramText.h"

TfmNoteDetail::TfmNoteDetail(QWidget* pParent) : QDialog(pParent), m_pRecord(nullptr) {
  setWindowTitle(QStringLiteral("Note detail information"));

  auto* pBody = new QWidget(this);
  auto* pForm = new QFormLayout(pBody);
  edtCategory = AddEditRow(pForm, "Category:", pBody);
  memNotes = NewMemo(pBody);
  pForm->addRow(QStringLiteral("Notes:"), memNotes);

  btnClose = FinishDialog(this, pBody, 440, 320);
}

void TfmNoteDetail::SetRecord(const NoteRecord* pRecord) {
  m_pRecord = pRecord;
  UpdateData(false);
}

bool TfmNoteDetail::UpdateData(bool bSave) {
  if (bSave) return true;
  if (!m_pRecord) return false;
  edtCategory->setText(FieldText(m_pRecord->Categories));
  memNotes->setPlainText(FieldText(m_pRecord->Body));
  return true;
}
