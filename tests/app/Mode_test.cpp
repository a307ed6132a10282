// The mode page: which radio button shows the stored mode, and which mode
// leaving the page stores; the same for the subfolder setting.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPointer>
#include <QRadioButton>
#include <QSettings>
#include <QtTest>

#include "app/Apputil.h"
#include "app/Main.h"
#include "app/Mode.h"
#include "support/AppTest.h"

namespace {

QRadioButton* ButtonNamed(TfmMode& page, const QString& strName) {
  if (strName == "addr") return page.rbtnAddr;
  if (strName == "date") return page.rbtnDate;
  if (strName == "task") return page.rbtnTask;
  if (strName == "note") return page.rbtnNote;
  return nullptr;
}

QString CheckedButton(TfmMode& page) {
  QString strChecked;
  for (const char* szName : {"addr", "date", "task", "note"})
    if (ButtonNamed(page, QString::fromUtf8(szName))->isChecked()) strChecked += szName;
  return strChecked;
}

}  // namespace

class ModeTest : public QObject {
  Q_OBJECT

 private slots:
  void showsItsCaptions() {
    TfmMode page;
    QCOMPARE(page.gbMode->title(), QStringLiteral(" Select Application to Convert "));
    QCOMPARE(page.rbtnAddr->text(), QStringLiteral("Outlook Contacts"));
    QCOMPARE(page.rbtnDate->text(), QStringLiteral("Outlook Calendar"));
    QCOMPARE(page.rbtnTask->text(), QStringLiteral("Outlook Tasks"));
    QCOMPARE(page.rbtnNote->text(), QStringLiteral("Outlook Notes"));
    QCOMPARE(page.cbSubFolder->text(), QStringLiteral("Include &subfolders"));
    QCOMPARE(CheckedButton(page), QString());
  }

  // The check box shows the stored setting on entry and stores its state on
  // leaving; the settings file keeps it for the next start.
  void subfolderSettingFollowsTheCheckBox_data() {
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("ticked");  // by the user before leaving
    QTest::newRow("off, left off") << false << false;
    QTest::newRow("off, ticked") << false << true;
    QTest::newRow("on, left on") << true << true;
    QTest::newRow("on, unticked") << true << false;
  }

  void subfolderSettingFollowsTheCheckBox() {
    QFETCH(bool, stored);
    QFETCH(bool, ticked);
    ScopedDataHome home;
    QVERIFY(QDir().mkpath(home.AppDataFolder()));
    QFile ini(home.SettingsFile());
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(
        QStringLiteral("[DI-ZU]\r\nAppFlag=4\r\nSubFolder=%1\r\n").arg(stored ? 1 : 0).toUtf8());
    ini.close();
    QPointer<TfmMain> pMain = new TfmMain;
    auto* pMode = static_cast<TfmMode*>(pMain->GetPageWindow(TfmMain::pwMode));
    QCOMPARE(pMode->cbSubFolder->isChecked(), stored);
    pMode->cbSubFolder->setChecked(ticked);
    QVERIFY(pMode->UpdateData(true));
    QCOMPARE(g_Settings.SubFolder, ticked);
    delete pMain.data();
    QSettings settings(home.SettingsFile(), QSettings::IniFormat);
    QCOMPARE(settings.value("DI-ZU/SubFolder").toInt(), ticked ? 1 : 0);
  }

  // Every control on show with the page has an access key of its own.
  void mnemonicsDoNotClash() {
    ScopedDataHome home;
    QPointer<TfmMain> pMain = new TfmMain;
    pMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(pMain));
    QString strClash;
    const QMap<QChar, QString> keys = VisibleMnemonics(pMain, &strClash);
    QVERIFY2(strClash.isEmpty(), qPrintable(strClash));
    QCOMPARE(keys.value(QLatin1Char('s')), QStringLiteral("Include &subfolders"));
    delete pMain.data();
  }

  void enterChecksTheStoredMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("checked");
    QTest::newRow("contacts") << 1 << "addr";
    QTest::newRow("calendar") << 2 << "date";
    QTest::newRow("tasks") << 4 << "task";
    QTest::newRow("notes") << 8 << "note";
    QTest::newRow("two kinds at once") << 3 << "addr";
    QTest::newRow("zero") << 0 << "addr";
    QTest::newRow("negative") << -4 << "addr";
  }

  void enterChecksTheStoredMode() {
    QFETCH(int, mode);
    QFETCH(QString, checked);
    TfmMode page;
    // Start from another choice so that a page which forgot to check shows.
    page.rbtnNote->setChecked(mode != 8);
    page.rbtnDate->setChecked(mode == 8);
    g_Settings.AppFlag = mode;
    QVERIFY(page.UpdateData(false));
    QCOMPARE(CheckedButton(page), checked);
    QCOMPARE(g_Settings.AppFlag, mode);
  }

  void leaveStoresTheCheckedMode_data() {
    QTest::addColumn<QString>("checked");
    QTest::addColumn<int>("mode");
    QTest::newRow("none checked") << "" << 1;
    QTest::newRow("contacts") << "addr" << 1;
    QTest::newRow("calendar") << "date" << 2;
    QTest::newRow("tasks") << "task" << 4;
    QTest::newRow("notes") << "note" << 8;
  }

  void leaveStoresTheCheckedMode() {
    QFETCH(QString, checked);
    QFETCH(int, mode);
    TfmMode page;
    if (QRadioButton* pButton = ButtonNamed(page, checked)) pButton->setChecked(true);
    g_Settings.AppFlag = 99;
    QVERIFY(page.UpdateData(true));
    QCOMPARE(g_Settings.AppFlag, mode);
  }

  void storedModeThreeShowsContactsAtStart() {
    ScopedDataHome home;
    QVERIFY(QDir().mkpath(home.AppDataFolder()));
    QFile ini(home.SettingsFile());
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[DI-ZU]\r\nAppFlag=3\r\n");
    ini.close();
    QPointer<TfmMain> pMain = new TfmMain;
    auto* pMode = static_cast<TfmMode*>(pMain->GetPageWindow(TfmMain::pwMode));
    QCOMPARE(g_Settings.AppFlag, 3);
    QCOMPARE(CheckedButton(*pMode), QStringLiteral("addr"));
    delete pMain.data();
  }

  void choiceCountsOnlyWhenLeavingForward() {
    ScopedDataHome home;
    UserRecorder user;
    QPointer<TfmMain> pMain = new TfmMain;
    auto* pMode = static_cast<TfmMode*>(pMain->GetPageWindow(TfmMain::pwMode));
    pMode->rbtnTask->setChecked(true);
    pMain->GoToPage(1);
    QCOMPARE(g_Settings.AppFlag, 4);
    pMain->GoToPage(0);
    pMode->rbtnNote->setChecked(true);
    // Entering the page again (as "Update More" does) shows the stored mode;
    // the choice made without "Next" is gone.
    pMain->GoToPage(0);
    QCOMPARE(g_Settings.AppFlag, 4);
    QCOMPARE(CheckedButton(*pMode), QStringLiteral("task"));
    delete pMain.data();
  }
};

QTEST_MAIN(ModeTest)
#include "Mode_test.moc"
