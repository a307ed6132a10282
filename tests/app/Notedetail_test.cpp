// The note detail viewer: a note's category and its whole text.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <cstring>
#include <memory>
#include <string>

#include "app/Notedetail.h"
#include "common/misc/CxText.h"

namespace {

std::unique_ptr<NoteRecord> MakeNoteRecord(const std::string& strBody, const char* szCategories) {
  auto pImage = std::make_unique<NoteImage>();
  memset(pImage.get(), 0, sizeof(NoteImage));
  CopyText(pImage->Body, sizeof pImage->Body, strBody.c_str());
  CopyText(pImage->Categories, sizeof pImage->Categories, szCategories);
  auto pRecord = std::make_unique<NoteRecord>();
  if (!MakeRecord(pImage.get(), pRecord.get())) return nullptr;
  return pRecord;
}

}  // namespace

class NoteDetailTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheNote_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("categories");
    QTest::addColumn<QString>("shown");
    QTest::newRow("lines") << "Shopping list\nmilk\nbread" << "Home" << "Shopping list\nmilk\nbread";
    QTest::newRow("empty") << "" << "" << "";
    // The list row shows 1023 bytes; the viewer shows all the record holds.
    QTest::newRow("longer than a list row") << QString(5000, QLatin1Char('n')) << "Ideas"
                                            << QString(5000, QLatin1Char('n'));
    QTest::newRow("longer than the record") << QString(30000, QLatin1Char('n')) << "Ideas"
                                            << QString(20478, QLatin1Char('n'));
  }
  void showsTheNote() {
    QFETCH(QString, body);
    QFETCH(QString, categories);
    QFETCH(QString, shown);
    auto pRecord = MakeNoteRecord(body.toStdString(), categories.toUtf8().constData());
    QVERIFY(pRecord);
    TfmNoteDetail viewer;
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Note detail information"));
    viewer.SetRecord(pRecord.get());
    QCOMPARE(viewer.GetRecord(), pRecord.get());
    QCOMPARE(viewer.memNotes->toPlainText(), shown);
    QCOMPARE(viewer.edtCategory->text(), categories);
  }

  void typingIntoTheViewerChangesNothing() {
    auto pRecord = MakeNoteRecord("Idea one", "Ideas");
    QVERIFY(pRecord);
    const QByteArray before(reinterpret_cast<const char*>(pRecord.get()), sizeof(NoteRecord));
    auto* pViewer = new TfmNoteDetail;
    pViewer->SetRecord(pRecord.get());
    pViewer->show();
    QTest::keyClicks(pViewer->memNotes, QStringLiteral(" and two"));
    QTest::keyClicks(pViewer->edtCategory, QStringLiteral(", Work"));
    QVERIFY(pViewer->UpdateData(true));
    QTest::mouseClick(pViewer->btnClose, Qt::LeftButton);
    QCOMPARE(pViewer->result(), static_cast<int>(QDialog::Rejected));
    delete pViewer;
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(pRecord.get()), sizeof(NoteRecord)), before);
  }

  void withoutARecordThereIsNothingToShow() {
    TfmNoteDetail viewer;
    QCOMPARE(viewer.GetRecord(), nullptr);
    QVERIFY(!viewer.UpdateData(false));
    QVERIFY(viewer.UpdateData(true));
  }
};

QTEST_MAIN(NoteDetailTest)
#include "Notedetail_test.moc"
