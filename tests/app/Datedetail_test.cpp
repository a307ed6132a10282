// The calendar detail viewer: its general fields and how it shows each kind
// of recurrence, made from calendar images as Outlook's values fill them.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <cstring>
#include <memory>

#include "app/Datedetail.h"
#include "common/misc/CxText.h"

namespace {

constexpr DATE kStart = 45446.375;  // 06/03/2024 09:00
constexpr DATE kNoDate = 949998.0;  // Outlook's "none", 1 January 4501

struct Image {
  int32_t nRecurrenceType;  // Outlook's code, -1 not recurring
  int32_t nInterval;
  DATE dtPatternEnd;
};

// A record frees the copy of its image it owns.
struct RecordDeleter {
  void operator()(DateRecord* pRecord) const {
    free(pRecord->Image);
    delete pRecord;
  }
};
using RecordPtr = std::unique_ptr<DateRecord, RecordDeleter>;

// A record made from an appointment image by the record's own conversion,
// with a copy of the image as the record list keeps one.
RecordPtr MakeDateRecord(const Image& image) {
  auto pImage = std::make_unique<DateImage>();
  memset(pImage.get(), 0, sizeof(DateImage));
  CopyText(pImage->Subject, sizeof pImage->Subject, "Standup");
  CopyText(pImage->Body, sizeof pImage->Body, "Agenda:\nnews\nplans");
  CopyText(pImage->Location, sizeof pImage->Location, "Raum Süd");
  CopyText(pImage->Categories, sizeof pImage->Categories, "Team");
  pImage->Start = kStart;
  pImage->End = kStart + 0.0104166667;  // 15 minutes
  pImage->IsRecurring = image.nRecurrenceType >= 0;
  pImage->RecurrenceType = image.nRecurrenceType;
  pImage->Interval = image.nInterval;
  pImage->DayOfWeekMask = 0x2A;  // Monday, Wednesday, Friday
  pImage->PatternEndDate = image.dtPatternEnd;
  RecordPtr pRecord(new DateRecord);
  if (!MakeRecord(pImage.get(), pRecord.get())) return nullptr;
  pRecord->Image = static_cast<DateImage*>(malloc(sizeof(DateImage)));
  memcpy(pRecord->Image, pImage.get(), sizeof(DateImage));
  pRecord->ImageSize = sizeof(DateImage);
  return pRecord;
}

// What the Recurrence tab shows.
struct Shown {
  bool bRecurrenceTab;
  QStringList innerTabs;  // visible, in order
  QStringList intervals;  // years, weeks, months, days
  QString strBy;          // the ticked "By:" button, if any
  QString strStart;
  bool bEndBy;            // else "No end date"
  QString strEnd;
};

struct RecurrenceCase {
  const char* szName;
  Image image;
  Shown shown;
};

const QStringList kAllInnerTabs = {"Yearly", "Weekly", "Monthly", "Daily"};
const QStringList kNoIntervals = {"", "", "", ""};

const RecurrenceCase kCases[] = {
    {"not recurring", {-1, 0, 0.0}, {false, kAllInnerTabs, kNoIntervals, "", "06/03/2024", false, ""}},
    {"Outlook's pattern type 4", {4, 3, 0.0}, {false, kAllInnerTabs, kNoIntervals, "", "06/03/2024", false, ""}},
    {"daily every 3 days", {0, 3, 0.0}, {true, {"Daily"}, {"", "", "", "3"}, "", "06/03/2024", false, ""}},
    {"weekly every 2 weeks", {1, 2, kNoDate}, {true, {"Weekly"}, {"", "2", "", ""}, "", "06/03/2024", false, ""}},
    {"monthly by date", {2, 1, 0.0}, {true, {"Monthly"}, {"", "", "1", ""}, "Date", "06/03/2024", false, ""}},
    {"monthly by weekday", {3, 2, 0.0}, {true, {"Monthly"}, {"", "", "2", ""}, "Day", "06/03/2024", false, ""}},
    {"yearly, always every year", {5, 4, 0.0}, {true, {"Yearly"}, {"1", "", "", ""}, "", "06/03/2024", false, ""}},
    {"yearly by weekday", {6, 2, 0.0}, {true, {"Yearly"}, {"2", "", "", ""}, "", "06/03/2024", false, ""}},
    {"ends on 12/31/2024", {1, 1, 45657.0}, {true, {"Weekly"}, {"", "1", "", ""}, "", "06/03/2024", true, "12/31/2024"}},
    {"ends in 2099", {0, 1, 73050.0}, {true, {"Daily"}, {"", "", "", "1"}, "", "06/03/2024", true, "12/31/2099"}},
    {"ends in 2100", {0, 1, 73051.0}, {true, {"Daily"}, {"", "", "", "1"}, "", "06/03/2024", false, ""}},
    {"ends in 2105", {2, 1, 75028.0}, {true, {"Monthly"}, {"", "", "1", ""}, "Date", "06/03/2024", false, ""}},
    {"end at Outlook's no date", {1, 1, kNoDate}, {true, {"Weekly"}, {"", "1", "", ""}, "", "06/03/2024", false, ""}},
};

Shown ShownBy(const TfmDateDetail& viewer) {
  Shown shown;
  shown.bRecurrenceTab = viewer.pDate->isTabVisible(viewer.pDate->indexOf(viewer.tRecur));
  for (int i = 0; i < viewer.pRecur->count(); ++i)
    if (viewer.pRecur->isTabVisible(i)) shown.innerTabs << viewer.pRecur->tabText(i);
  for (QLineEdit* pEdit : {viewer.edtRecurYears, viewer.edtRecurWeeks, viewer.edtRecurMonths, viewer.edtRecurDays})
    shown.intervals << pEdit->text();
  if (viewer.rbtnDate->isChecked()) shown.strBy += viewer.rbtnDate->text();
  if (viewer.rbtnDay->isChecked()) shown.strBy += viewer.rbtnDay->text();
  shown.strStart = viewer.edtRecurStart->text();
  shown.bEndBy = viewer.rbtnEndBy->isChecked();
  shown.strEnd = viewer.edtRecurEnd->text();
  return shown;
}

QStringList TickedDays(const TfmDateDetail& viewer) {
  QStringList ticked;
  for (QCheckBox* pDay : {viewer.cbMonday, viewer.cbTuesday, viewer.cbWednesday, viewer.cbThursday,
                          viewer.cbFriday, viewer.cbSaturday, viewer.cbSunday})
    if (pDay->isChecked()) ticked << pDay->text();
  return ticked;
}

// Compares what the viewer shows with a case, weekday boxes included.
void CheckShown(const TfmDateDetail& viewer, const RecurrenceCase& c) {
  const Shown shown = ShownBy(viewer);
  QCOMPARE(shown.bRecurrenceTab, c.shown.bRecurrenceTab);
  QCOMPARE(shown.innerTabs, c.shown.innerTabs);
  if (c.shown.innerTabs.size() == 1) QCOMPARE(viewer.pRecur->tabText(viewer.pRecur->currentIndex()), c.shown.innerTabs[0]);
  QCOMPARE(shown.intervals, c.shown.intervals);
  QCOMPARE(shown.strBy, c.shown.strBy);
  QCOMPARE(shown.strStart, c.shown.strStart);
  QCOMPARE(shown.bEndBy, c.shown.bEndBy);
  QCOMPARE(viewer.rbtnNoEnd->isChecked(), !c.shown.bEndBy);
  QCOMPARE(shown.strEnd, c.shown.strEnd);
  // Every image falls on Monday, Wednesday and Friday; only the weekly sheet has days to tick.
  const bool bWeekly = c.shown.innerTabs == QStringList{QStringLiteral("Weekly")};
  const QStringList weekdays = {"Monday", "Wednesday", "Friday"};
  QCOMPARE(TickedDays(viewer), bWeekly ? weekdays : QStringList());
}

}  // namespace

class DateDetailTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheGeneralFields() {
    auto pRecord = MakeDateRecord({-1, 0, 0.0});
    QVERIFY(pRecord);
    TfmDateDetail viewer;
    viewer.SetRecord(pRecord.get());
    QCOMPARE(viewer.GetRecord(), pRecord.get());
    QCOMPARE(viewer.edtDesc->text(), QStringLiteral("Standup"));
    QCOMPARE(viewer.edtDate->text(), QStringLiteral("06/03/2024"));
    QCOMPARE(viewer.edtStartTime->text(), QStringLiteral("09:00:00"));
    QCOMPARE(viewer.edtEndTime->text(), QStringLiteral("09:15:00"));
    QCOMPARE(viewer.edtLocation->text(), QStringLiteral("Raum Süd"));
    QCOMPARE(viewer.edtCategory->text(), QStringLiteral("Team"));
    QCOMPARE(viewer.memNotes->toPlainText(), QStringLiteral("Agenda:\nnews\nplans"));
    QVERIFY(!viewer.cbAlarm->isChecked());
    QVERIFY(!viewer.cbPrivate->isChecked());
    QVERIFY(!viewer.cbAllday->isChecked());
  }

  void ticksTheRecordsFlags_data() {
    QTest::addColumn<QString>("flag");
    QTest::newRow("alarm") << "alarm";
    QTest::newRow("private") << "private";
    QTest::newRow("all day") << "all day";
  }
  void ticksTheRecordsFlags() {
    QFETCH(QString, flag);
    auto pRecord = MakeDateRecord({-1, 0, 0.0});
    QVERIFY(pRecord);
    pRecord->ReminderSet = flag == "alarm";
    pRecord->Private = flag == "private";
    pRecord->AllDayEvent = flag == "all day";
    TfmDateDetail viewer;
    viewer.SetRecord(pRecord.get());
    QCOMPARE(viewer.cbAlarm->isChecked(), flag == "alarm");
    QCOMPARE(viewer.cbPrivate->isChecked(), flag == "private");
    QCOMPARE(viewer.cbAllday->isChecked(), flag == "all day");
  }

  void showsEachRecurrence_data() {
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < std::size(kCases); ++i) QTest::newRow(kCases[i].szName) << static_cast<int>(i);
  }
  void showsEachRecurrence() {
    QFETCH(int, index);
    const RecurrenceCase& c = kCases[index];
    auto pRecord = MakeDateRecord(c.image);
    QVERIFY(pRecord);
    TfmDateDetail viewer;
    viewer.SetRecord(pRecord.get());
    CheckShown(viewer, c);
  }

  void aViewerShownAgainKeepsNothingOfTheRecordBefore() {
    TfmDateDetail viewer;
    // Every case after every other, in both directions through the table.
    for (int nPass = 0; nPass < 2; ++nPass) {
      for (size_t i = 0; i < std::size(kCases); ++i) {
        const RecurrenceCase& c = kCases[nPass == 0 ? i : std::size(kCases) - 1 - i];
        auto pRecord = MakeDateRecord(c.image);
        QVERIFY(pRecord);
        viewer.SetRecord(pRecord.get());
        CheckShown(viewer, c);
        if (QTest::currentTestFailed()) QFAIL(c.szName);
      }
    }
  }

  void anUnknownKindHidesNothingAndShowsNoInterval() {
    auto pRecord = MakeDateRecord({1, 2, 0.0});
    QVERIFY(pRecord);
    pRecord->RecurrenceKind = 9;
    TfmDateDetail viewer;
    viewer.SetRecord(pRecord.get());
    CheckShown(viewer, {"unknown", {}, {true, kAllInnerTabs, kNoIntervals, "", "06/03/2024", false, ""}});
  }

  void aWeeklyRecordWithoutItsImageTicksNoDay() {
    auto pRecord = MakeDateRecord({1, 2, 0.0});
    QVERIFY(pRecord);
    free(pRecord->Image);
    pRecord->Image = nullptr;
    pRecord->ImageSize = 0;
    TfmDateDetail viewer;
    viewer.SetRecord(pRecord.get());
    QCOMPARE(viewer.pRecur->currentWidget(), viewer.tWeekly);
    QCOMPARE(TickedDays(viewer), QStringList());
  }

  void aPatternStartOfItsOwnIsShown() {
    auto pRecord = MakeDateRecord({0, 1, 0.0});
    QVERIFY(pRecord);
    pRecord->PatternStartDate.wYear = 2024;
    pRecord->PatternStartDate.wMonth = 2;
    pRecord->PatternStartDate.wDay = 1;
    TfmDateDetail viewer;
    viewer.SetRecord(pRecord.get());
    QCOMPARE(viewer.edtRecurStart->text(), QStringLiteral("02/01/2024"));
  }

  void tabsOpenOnGeneralAndOnlyGeneralTakesInput() {
    TfmDateDetail viewer;
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Calendar detail information"));
    const QStringList tabs = {"Recurrence", "Notes", "General"};
    QCOMPARE(viewer.pDate->count(), tabs.size());
    for (int i = 0; i < tabs.size(); ++i) QCOMPARE(viewer.pDate->tabText(i), tabs[i]);
    QCOMPARE(viewer.pDate->currentWidget(), viewer.tGen);
    for (int i = 0; i < kAllInnerTabs.size(); ++i) QCOMPARE(viewer.pRecur->tabText(i), kAllInnerTabs[i]);
    QCOMPARE(viewer.pRecur->currentWidget(), viewer.tDaily);
    QCOMPARE(ShownBy(viewer).strBy, QString());
    QVERIFY(!viewer.rbtnNoEnd->isChecked() && !viewer.rbtnEndBy->isChecked());

    for (QLineEdit* pEdit : viewer.tGen->findChildren<QLineEdit*>()) QVERIFY(!pEdit->isReadOnly());
    for (QLineEdit* pEdit : viewer.tRecur->findChildren<QLineEdit*>()) QVERIFY(pEdit->isReadOnly());
    for (QCheckBox* pBox : viewer.tRecur->findChildren<QCheckBox*>()) QVERIFY(!pBox->isEnabled());
    for (QRadioButton* pButton : viewer.tRecur->findChildren<QRadioButton*>()) QVERIFY(!pButton->isEnabled());
    QVERIFY(viewer.memNotes->isReadOnly());
    QVERIFY(viewer.cbAlarm->isEnabled());
  }

  void typingIntoTheViewerChangesNothing() {
    auto pRecord = MakeDateRecord({1, 2, 45657.0});
    QVERIFY(pRecord);
    const QByteArray before(reinterpret_cast<const char*>(pRecord.get()), sizeof(DateRecord));
    auto* pViewer = new TfmDateDetail;
    pViewer->SetRecord(pRecord.get());
    pViewer->show();
    pViewer->edtDesc->selectAll();
    QTest::keyClicks(pViewer->edtDesc, QStringLiteral("Retro"));
    QTest::mouseClick(pViewer->cbAllday, Qt::LeftButton);
    QVERIFY(pViewer->cbAllday->isChecked());
    QVERIFY(pViewer->UpdateData(true));
    QTest::mouseClick(pViewer->btnClose, Qt::LeftButton);
    QCOMPARE(pViewer->result(), static_cast<int>(QDialog::Rejected));
    delete pViewer;
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(pRecord.get()), sizeof(DateRecord)), before);
  }

  void withoutARecordThereIsNothingToShow() {
    TfmDateDetail viewer;
    QCOMPARE(viewer.GetRecord(), nullptr);
    QVERIFY(!viewer.UpdateData(false));
    QVERIFY(viewer.UpdateData(true));
  }
};

QTEST_MAIN(DateDetailTest)
#include "Datedetail_test.moc"
