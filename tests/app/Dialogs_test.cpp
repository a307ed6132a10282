// The debug-log options dialog and the error report dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

#include "app/Apputil.h"
#include "app/ClickLabel.h"
#include "app/Debugger.h"
#include "app/Dump.h"
#include "app/Loginfo.h"
#include "app/Main.h"
#include "common/misc/CxDebugUtil.h"
#include "support/AppTest.h"

namespace {

const QStringList kLevelTexts = {
    "Critical - Only log critical error information.",
    "High - Log high level debug information.",
    "Low - Log very detail debug information.",
};

// Points the logger at the test's data folder and returns the log file.
QString UseLogIn(const ScopedDataHome& home) {
  char szFolder[MAX_PATH];
  if (!GetAppDataFolder(szFolder, sizeof szFolder)) return QString();
  g_DebugUtil.SetLogFolder(szFolder);
  return home.AppDataFolder() + QStringLiteral("appdebug.log");
}

// Whether the logger, as configured now, writes a line of level nLevel.
bool LoggerWrites(const QString& strLog, int nLevel) {
  QFile::remove(strLog);
  g_DebugUtil.LogMessage(nLevel, __FILE__, __LINE__, "probe");
  return QFile::exists(strLog);
}

void SetLogger(bool bEnable, int nLevel) {
  g_Settings.EnableDebug = bEnable;
  g_Settings.LogLevel = nLevel;
  g_DebugUtil.EnableLog(bEnable);
  g_DebugUtil.SetLogLevel(nLevel);
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // Closing the main window must not end the test's event loops.
    QApplication::setQuitOnLastWindowClosed(false);
  }

  void optionsShowTheStoredLevel_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("position");
    QTest::newRow("critical") << 0 << 0;
    QTest::newRow("high") << 1 << 1;
    QTest::newRow("progress level from the file") << 2 << 2;
    QTest::newRow("low") << 3 << 2;
    QTest::newRow("out of range") << 9 << 2;
    QTest::newRow("negative") << -1 << 2;
  }

  void optionsShowTheStoredLevel() {
    QFETCH(int, level);
    QFETCH(int, position);
    ScopedDataHome home;
    for (bool bEnable : {false, true}) {
      g_Settings.EnableDebug = bEnable;
      g_Settings.LogLevel = level;
      TfmDebug dialog;
      QCOMPARE(dialog.windowTitle(), QStringLiteral("Quillmere Debug Log Options"));
      QCOMPARE(dialog.cbEnable->isChecked(), bEnable);
      QStringList texts;
      for (int n = 0; n < dialog.cbxLevel->count(); ++n) texts << dialog.cbxLevel->itemText(n);
      QCOMPARE(texts, kLevelTexts);
      QCOMPARE(dialog.cbxLevel->currentIndex(), position);
    }
  }

  void okStoresTheChoiceInSettingsAndLogger_data() {
    QTest::addColumn<int>("startLevel");
    QTest::addColumn<bool>("enable");
    QTest::addColumn<int>("position");  // -1: left as shown
    QTest::addColumn<int>("storedLevel");
    QTest::addColumn<bool>("writesLevelOne");
    QTest::newRow("level 2 from the file is stored as 3") << 2 << true << -1 << 3 << true;
    QTest::newRow("critical") << 3 << true << 0 << 0 << false;
    QTest::newRow("high") << 0 << true << 1 << 1 << true;
    QTest::newRow("low") << 1 << true << 2 << 3 << true;
    QTest::newRow("switched off") << 3 << false << 2 << 3 << false;
  }

  void okStoresTheChoiceInSettingsAndLogger() {
    QFETCH(int, startLevel);
    QFETCH(bool, enable);
    QFETCH(int, position);
    QFETCH(int, storedLevel);
    QFETCH(bool, writesLevelOne);
    ScopedDataHome home;
    const QString strLog = UseLogIn(home);
    SetLogger(!enable, startLevel);
    TfmDebug dialog;
    dialog.cbEnable->setChecked(enable);
    if (position >= 0) dialog.cbxLevel->setCurrentIndex(position);
    dialog.btnOK->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(g_Settings.EnableDebug, enable);
    QCOMPARE(g_Settings.LogLevel, storedLevel);
    QCOMPARE(LoggerWrites(strLog, 1), writesLevelOne);
    QVERIFY(LoggerWrites(strLog, 0));
  }

  void cancelChangesNothing() {
    ScopedDataHome home;
    const QString strLog = UseLogIn(home);
    SetLogger(false, 1);
    TfmDebug dialog;
    dialog.cbEnable->setChecked(true);
    dialog.cbxLevel->setCurrentIndex(2);
    dialog.btnCancel->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(g_Settings.EnableDebug, false);
    QCOMPARE(g_Settings.LogLevel, 1);
    QVERIFY(!LoggerWrites(strLog, 1));
  }

  void pathBoxesShowTheLogLocation() {
    ScopedDataHome home;
    TfmDebug options;
    TfmDump report;
    for (TxLogInfoBox* pBox : {options.gbInfo, report.gbInfo}) {
      QCOMPARE(pBox->edtFolder->text(), home.AppDataFolder());
      QCOMPARE(pBox->edtFile->text(), home.AppDataFolder() + "appdebug.log");
      QVERIFY(pBox->edtFolder->isReadOnly());
      QVERIFY(pBox->btnFolder->isEnabled());
      QVERIFY(pBox->btnFile->isEnabled());
    }
  }

  void withoutDataFolderThePathsStayEmpty() {
    ScopedDataHome home;
    // A data "folder" that is a file: no folder can be made below it.
    const QString strBlocked = home.Path() + "/blocked";
    QFile blocker(strBlocked);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_HOME", strBlocked.toUtf8());
    TfmDebug options;
    TfmDump report;
    for (TxLogInfoBox* pBox : {options.gbInfo, report.gbInfo}) {
      QCOMPARE(pBox->edtFolder->text(), QString());
      QCOMPARE(pBox->edtFile->text(), QString());
      QVERIFY(!pBox->btnFolder->isEnabled());
      QVERIFY(!pBox->btnFile->isEnabled());
    }
  }

  void logButtonsOpenFolderAndFile_data() {
    QTest::addColumn<bool>("logExists");
    QTest::newRow("no log yet") << false;
    QTest::newRow("log written") << true;
  }

  void logButtonsOpenFolderAndFile() {
    QFETCH(bool, logExists);
    ScopedDataHome home;
    UserRecorder user;
    TfmDebug dialog;
    const QString strLog = dialog.gbInfo->edtFile->text();
    if (logExists) {
      QFile log(strLog);
      QVERIFY(log.open(QIODevice::WriteOnly));
    }
    dialog.gbInfo->btnFolder->click();
    dialog.gbInfo->btnFile->click();
    if (logExists) {
      QCOMPARE(user.shellOpens, (QStringList{home.AppDataFolder(), strLog}));
      QVERIFY(user.messages.isEmpty());
    } else {
      QCOMPARE(user.shellOpens, QStringList{home.AppDataFolder()});
      QCOMPARE(user.messages.size(), 1);
      QCOMPARE(user.messages[0].strText, QStringLiteral("Debug log file doesn't exist"));
      QCOMPARE(user.messages[0].strCaption, QStringLiteral("Error"));
      QCOMPARE(user.messages[0].nIcon, QMessageBox::Information);
    }
  }

  void reportLinksOpenMailAndWebPage() {
    ScopedDataHome home;
    UserRecorder user;
    TfmDump dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Handle Quillmere Exception"));
    QCOMPARE(dialog.lblSupport->text(), QStringLiteral("support@quillmere.example"));
    QCOMPARE(dialog.btnExit->text(), QStringLiteral("Quit Quillmere"));
    QTest::mouseClick(dialog.lblSupport, Qt::LeftButton);
    QTest::mouseClick(dialog.imgIcon, Qt::LeftButton);
    QTest::mouseClick(dialog.imgText, Qt::LeftButton);
    QCOMPARE(user.shellOpens,
             (QStringList{"mailto:support@quillmere.example?subject="
                          "Quillmere%20for%20Outlook%20Bug%20Report",
                          "https://quillmere.example/", "https://quillmere.example/"}));
  }

  void debugOptionsOpenOverTheReport() {
    ScopedDataHome home;
    QPointer<TfmMain> pMain = new TfmMain;
    bool bReportStillShown = false;
    QString strOpened;
    OnNextModal([&](QWidget* pReport) {
      auto* pDump = static_cast<TfmDump*>(pReport);
      OnNextModal(
          [&, pDump](QWidget* pOptions) {
            strOpened = QString::fromUtf8(pOptions->metaObject()->className());
            bReportStillShown = pDump->isVisible();
            static_cast<TfmDebug*>(pOptions)->btnCancel->click();
          },
          pDump);
      pDump->btnDebug->click();
      pDump->btnOK->click();
    });
    pMain->ShowErrorReport(pMain);
    QCOMPARE(strOpened, QStringLiteral("TfmDebug"));
    QVERIFY(bReportStillShown);
    QVERIFY(!pMain.isNull());
    delete pMain.data();
  }

  void quitEndsTheProgramWithSettingsSaved() {
    ScopedDataHome home;
    QPointer<TfmMain> pMain = new TfmMain;
    pMain->show();
    g_Settings.AppFlag = 2;
    g_Settings.EnableDebug = true;
    OnNextModal([](QWidget* pReport) { static_cast<TfmDump*>(pReport)->btnExit->click(); });
    pMain->ShowErrorReport(pMain);
    // The window closes once the report's modal loop has returned.
    QVERIFY(!pMain.isNull());
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(pMain.isNull());
    QSettings ini(home.SettingsFile(), QSettings::IniFormat);
    QCOMPARE(ini.value("DI-ZU/AppFlag").toString(), QStringLiteral("2"));
    QCOMPARE(ini.value("DI-ZU/EnableDebug").toString(), QStringLiteral("1"));
  }
};

QTEST_MAIN(DialogsTest)
#include "Dialogs_test.moc"
