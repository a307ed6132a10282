#include "app/Tododetail.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/DetailView.h"
#include "app/ProgramText.h"

TfmTodoDetail::TfmTodoDetail(QWidget* pParent) : QDialog(pParent), m_pRecord(nullptr) {
  setWindowTitle(QStringLiteral("Task detail information"));

  auto* pBody = new QWidget(this);
  auto* pForm = new QFormLayout(pBody);
  edtDesc = AddEditRow(pForm, "Description:", pBody);
  edtPriority = AddEditRow(pForm, "Priority:", pBody);
  edtDueDate = AddEditRow(pForm, "Due Date:", pBody);
  cbCompleted = new QCheckBox(QStringLiteral("Completed"), pBody);
  cbPrivate = new QCheckBox(QStringLiteral("Private"), pBody);
  auto* pBoxes = new QHBoxLayout;
  pBoxes->addWidget(cbCompleted);
  pBoxes->addWidget(cbPrivate);
  pBoxes->addStretch();
  pForm->addRow(QString(), pBoxes);
  memNotes = NewMemo(pBody);
  pForm->addRow(QStringLiteral("Notes:"), memNotes);
  edtCategory = AddEditRow(pForm, "Category:", pBody);

  btnClose = FinishDialog(this, pBody, 440, 340);
}

void TfmTodoDetail::SetRecord(const TaskRecord* pRecord) {
  m_pRecord = pRecord;
  UpdateData(false);
}

bool TfmTodoDetail::UpdateData(bool bSave) {
  if (bSave) return true;
  if (!m_pRecord) return false;
  edtDesc->setText(FieldText(m_pRecord->Subject));
  memNotes->setPlainText(FieldText(m_pRecord->Body));
  edtCategory->setText(FieldText(m_pRecord->Categories));
  // The code itself (0 normal, 1 high, 2 low), not the word the list shows.
  edtPriority->setText(QString::asprintf("%d", m_pRecord->Priority));
  DisplayField field;
  char szDue[31];
  const bool bDue = CommTaskMgr::FindDisplayField(tdkDueDate, &field) &&
                    CommTaskMgr::DisplayText(m_pRecord, &field, szDue, sizeof szDue);
  edtDueDate->setText(bDue ? FromProgramText(szDue) : QString());
  cbCompleted->setChecked(m_pRecord->Complete != 0);
  cbPrivate->setChecked(m_pRecord->Private != 0);
  return true;
}
