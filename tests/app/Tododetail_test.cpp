// The task detail viewer, filled from records that the task conversion made
// out of task images: the priority code, the due date and the two flags.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <cstring>
#include <memory>

#include "app/Tododetail.h"
#include "common/misc/CxText.h"

namespace {

struct TaskValues {
  int32_t nImportance;
  DATE dtDue;
  bool bComplete;
  int32_t nSensitivity;
};

std::unique_ptr<TaskRecord> MakeTaskRecord(const TaskValues& values) {
  auto pImage = std::make_unique<TaskImage>();
  memset(pImage.get(), 0, sizeof(TaskImage));
  CopyText(pImage->Subject, sizeof pImage->Subject, "File taxes");
  CopyText(pImage->Body, sizeof pImage->Body, "Receipts:\nin the blue folder");
  CopyText(pImage->Categories, sizeof pImage->Categories, "Home, Money");
  pImage->Importance = values.nImportance;
  pImage->DueDate = values.dtDue;
  pImage->Complete = values.bComplete;
  pImage->Sensitivity = values.nSensitivity;
  auto pRecord = std::make_unique<TaskRecord>();
  if (!MakeRecord(pImage.get(), pRecord.get())) return nullptr;
  return pRecord;
}

}  // namespace

class TodoDetailTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheTask_data() {
    QTest::addColumn<int>("importance");
    QTest::addColumn<double>("due");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<int>("sensitivity");
    QTest::addColumn<QString>("priority");
    QTest::addColumn<QString>("dueText");
    QTest::addColumn<bool>("privateTicked");
    // The priority box shows the record's code, not the list's word.
    QTest::newRow("high importance") << 2 << 43905.0 << false << 0 << "1" << "03/15/2020" << false;
    QTest::newRow("normal importance") << 1 << 43905.0 << false << 0 << "0" << "03/15/2020" << false;
    QTest::newRow("low importance") << 0 << 43905.0 << false << 0 << "2" << "03/15/2020" << false;
    QTest::newRow("unknown importance") << 7 << 43905.0 << false << 0 << "0" << "03/15/2020" << false;
    QTest::newRow("no due date") << 1 << 0.0 << false << 0 << "0" << "N/A" << false;
    QTest::newRow("Outlook's no due date") << 1 << 949998.0 << false << 0 << "0" << "N/A" << false;
    QTest::newRow("due in 2025") << 1 << 45809.0 << false << 0 << "0" << "06/01/2025" << false;
    QTest::newRow("completed") << 1 << 0.0 << true << 0 << "0" << "N/A" << false;
    QTest::newRow("private") << 1 << 0.0 << false << 2 << "0" << "N/A" << true;
    QTest::newRow("confidential") << 1 << 0.0 << false << 3 << "0" << "N/A" << true;
  }
  void showsTheTask() {
    QFETCH(int, importance);
    QFETCH(double, due);
    QFETCH(bool, complete);
    QFETCH(int, sensitivity);
    QFETCH(QString, priority);
    QFETCH(QString, dueText);
    QFETCH(bool, privateTicked);
    auto pRecord = MakeTaskRecord({importance, due, complete, sensitivity});
    QVERIFY(pRecord);
    TfmTodoDetail viewer;
    viewer.SetRecord(pRecord.get());
    QCOMPARE(viewer.GetRecord(), pRecord.get());
    QCOMPARE(viewer.edtDesc->text(), QStringLiteral("File taxes"));
    QCOMPARE(viewer.memNotes->toPlainText(), QStringLiteral("Receipts:\nin the blue folder"));
    QCOMPARE(viewer.edtCategory->text(), QStringLiteral("Home, Money"));
    QCOMPARE(viewer.edtPriority->text(), priority);
    QCOMPARE(viewer.edtDueDate->text(), dueText);
    QCOMPARE(viewer.cbCompleted->isChecked(), complete);
    QCOMPARE(viewer.cbPrivate->isChecked(), privateTicked);
  }

  void typingIntoTheViewerChangesNothing() {
    auto pRecord = MakeTaskRecord({2, 43905.0, false, 0});
    QVERIFY(pRecord);
    const QByteArray before(reinterpret_cast<const char*>(pRecord.get()), sizeof(TaskRecord));
    auto* pViewer = new TfmTodoDetail;
    QCOMPARE(pViewer->windowTitle(), QStringLiteral("Task detail information"));
    pViewer->SetRecord(pRecord.get());
    pViewer->show();
    pViewer->edtPriority->selectAll();
    QTest::keyClicks(pViewer->edtPriority, QStringLiteral("2"));
    QTest::mouseClick(pViewer->cbCompleted, Qt::LeftButton);
    QVERIFY(pViewer->cbCompleted->isChecked());
    QVERIFY(pViewer->UpdateData(true));
    QCOMPARE(pViewer->btnClose->text(), QStringLiteral("&Close"));
    QTest::mouseClick(pViewer->btnClose, Qt::LeftButton);
    QCOMPARE(pViewer->result(), static_cast<int>(QDialog::Rejected));
    delete pViewer;
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(pRecord.get()), sizeof(TaskRecord)), before);
  }

  void withoutARecordThereIsNothingToShow() {
    TfmTodoDetail viewer;
    QCOMPARE(viewer.GetRecord(), nullptr);
    QVERIFY(!viewer.UpdateData(false));
    QVERIFY(viewer.UpdateData(true));
  }
};

QTEST_MAIN(TodoDetailTest)
#include "Tododetail_test.moc"
