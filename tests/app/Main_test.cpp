// The main window's page machine, observed through pages that record the
// calls they receive.
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QPushButton>
#include <QLabel>
#include <QSettings>
#include <QtTest>
#include <stdexcept>
#include <thread>

#include "app/Apputil.h"
#include "app/ClickLabel.h"
#include "app/Debugger.h"
#include "app/Dump.h"
#include "app/Main.h"
#include "app/Page.h"
#include "app/UiSeams.h"
#include "platform/win32.h"
#include "support/AppTest.h"

namespace {

class RecordingPage : public TfmPage {
 public:
  enum Fault { None, FailLeave, ThrowOnLeave, ThrowOnEnter, ThrowUnknownOnEnter };

  RecordingPage(const QString& strName, QStringList* pCalls)
      : m_strName(strName), m_pCalls(pCalls) {}

  bool UpdateData(bool bSave) override {
    m_pCalls->append(m_strName + (bSave ? ".leave" : ".enter"));
    if (bSave && m_nFault == ThrowOnLeave) throw std::runtime_error("leave failed");
    if (!bSave && m_nFault == ThrowOnEnter) throw std::runtime_error("enter failed");
    if (!bSave && m_nFault == ThrowUnknownOnEnter) throw 42;
    return !(bSave && m_nFault == FailLeave);
  }

  QString m_strName;
  QStringList* m_pCalls;
  Fault m_nFault = None;
};

const char* const kWindowNames[TfmMain::pwCount] = {"mode", "source", "fields", "addr", "date",
                                                     "task", "note",   "proc",   "finish"};

const char* const kStepTexts[] = {
    "Please choose the Outlook data updating mode.",
    "Please set the Outlook access options.",
    "Please set the record field information for updating.",
    "Please select the Outlook records you want to update.",
    "Fields updating is running now ...",
    "Outlook record fields updating finished.",
};

}  // namespace

class MainTest : public QObject {
  Q_OBJECT

 private:
  ScopedDataHome* m_pHome = nullptr;
  UserRecorder* m_pUser = nullptr;
  QPointer<TfmMain> m_pMain;
  RecordingPage* m_pPages[TfmMain::pwCount] = {};
  QStringList m_calls;

  // Walks forward from page 0 to nPage with every leave-check passing, then
  // forgets the calls that took.
  void StartAt(int nPage) {
    m_pMain->GoToPage(0);
    for (int n = 1; n <= nPage; ++n) m_pMain->GoToPage(n);
    QCOMPARE(m_pMain->GetCurPage(), nPage);
    m_calls.clear();
  }

  QString VisiblePage() const {
    QString strVisible;
    for (int n = 0; n < TfmMain::pwCount; ++n)
      if (!m_pPages[n]->isHidden()) strVisible += m_pPages[n]->m_strName;
    return strVisible;
  }

 private slots:
  void initTestCase() {
    // Closing the main window must not end the test's event loops.
    QApplication::setQuitOnLastWindowClosed(false);
  }

  void init() {
    m_pHome = new ScopedDataHome;
    m_pUser = new UserRecorder;
    m_pMain = new TfmMain;
    m_calls.clear();
    for (int n = 0; n < TfmMain::pwCount; ++n) {
      m_pPages[n] = new RecordingPage(QString::fromUtf8(kWindowNames[n]), &m_calls);
      m_pMain->SetPageWindow(static_cast<TfmMain::PageWindow>(n), m_pPages[n]);
    }
  }

  void cleanup() {
    delete m_pMain.data();
    delete m_pUser;
    delete m_pHome;
  }

  void startsOnTheModePage() {
    ScopedDataHome home;
    QPointer<TfmMain> pMain = new TfmMain;
    QCOMPARE(pMain->GetCurPage(), 0);
    QCOMPARE(pMain->lblStep->text(), QString::fromUtf8(kStepTexts[0]));
    QCOMPARE(pMain->size(), QSize(794, 544));
    QVERIFY(!pMain->GetPageWindow(TfmMain::pwMode)->isHidden());
    for (int n = TfmMain::pwSource; n < TfmMain::pwCount; ++n)
      QVERIFY(pMain->GetPageWindow(static_cast<TfmMain::PageWindow>(n))->isHidden());
    delete pMain.data();
  }

  void movesBetweenPages_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("visible");

    QTest::newRow("below the first page") << 1 << 2 << -1 << QStringList{"mode.enter"} << 0 << "mode";
    QTest::newRow("beyond the last page")
        << 1 << 0 << 6 << QStringList{"proc.leave", "finish.enter"} << 5 << "finish";
    QTest::newRow("mode to access")
        << 1 << 0 << 1 << QStringList{"mode.leave", "source.enter"} << 1 << "source";
    QTest::newRow("access to definitions")
        << 1 << 1 << 2 << QStringList{"source.leave", "fields.enter"} << 2 << "fields";
    QTest::newRow("definitions to contacts")
        << 1 << 2 << 3 << QStringList{"fields.leave", "addr.enter"} << 3 << "addr";
    QTest::newRow("definitions to calendar")
        << 2 << 2 << 3 << QStringList{"fields.leave", "date.enter"} << 3 << "date";
    QTest::newRow("definitions to tasks")
        << 4 << 2 << 3 << QStringList{"fields.leave", "task.enter"} << 3 << "task";
    QTest::newRow("definitions to notes")
        << 8 << 2 << 3 << QStringList{"fields.leave", "note.enter"} << 3 << "note";
    QTest::newRow("contacts to run")
        << 1 << 3 << 4 << QStringList{"addr.leave", "proc.enter"} << 4 << "proc";
    QTest::newRow("notes to run")
        << 8 << 3 << 4 << QStringList{"note.leave", "proc.enter"} << 4 << "proc";
    QTest::newRow("run to summary")
        << 1 << 4 << 5 << QStringList{"proc.leave", "finish.enter"} << 5 << "finish";
    QTest::newRow("a jump checks the page before the target")
        << 1 << 0 << 3 << QStringList{"fields.leave", "addr.enter"} << 3 << "addr";
    QTest::newRow("unknown mode enters no selection page")
        << 3 << 2 << 3 << QStringList{"fields.leave"} << 3 << "";
    QTest::newRow("unknown mode passes the selection check")
        << 3 << 3 << 4 << QStringList{"proc.enter"} << 4 << "proc";
    QTest::newRow("back from run") << 1 << 4 << 3 << QStringList{} << 3 << "addr";
    QTest::newRow("back to the mode page") << 1 << 1 << 0 << QStringList{"mode.enter"} << 0 << "mode";
    QTest::newRow("repeat") << 1 << 3 << 3 << QStringList{} << 3 << "addr";
    QTest::newRow("update more") << 1 << 5 << 0 << QStringList{"mode.enter"} << 0 << "mode";
    QTest::newRow("back from summary") << 1 << 5 << 4 << QStringList{} << 4 << "proc";
  }

  void movesBetweenPages() {
    QFETCH(int, mode);
    QFETCH(int, from);
    QFETCH(int, target);
    QFETCH(QStringList, calls);
    QFETCH(int, page);
    QFETCH(QString, visible);
    g_Settings.AppFlag = mode;
    StartAt(from);
    m_pMain->GoToPage(target);
    QCOMPARE(m_calls, calls);
    QCOMPARE(m_pMain->GetCurPage(), page);
    QCOMPARE(VisiblePage(), visible);
    QCOMPARE(m_pMain->lblStep->text(), QString::fromUtf8(kStepTexts[page]));
  }

  void buttonsAndStepTextFollowThePage_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("prev");
    QTest::addColumn<bool>("next");
    QTest::addColumn<QString>("close");
    QTest::newRow("0") << 0 << false << true << "&Cancel";
    QTest::newRow("1") << 1 << true << true << "&Cancel";
    QTest::newRow("2") << 2 << true << true << "&Cancel";
    QTest::newRow("3") << 3 << true << true << "&Cancel";
    QTest::newRow("4") << 4 << true << true << "&Cancel";
    QTest::newRow("5") << 5 << false << false << "&Finish";
  }

  void buttonsAndStepTextFollowThePage() {
    QFETCH(int, page);
    QFETCH(bool, prev);
    QFETCH(bool, next);
    QFETCH(QString, close);
    // Arrive from the far side too, so a state left over from the way in shows.
    StartAt(5);
    m_pMain->GoToPage(page);
    QCOMPARE(m_pMain->btnPrev->isEnabled(), prev);
    QCOMPARE(m_pMain->btnNext->isEnabled(), next);
    QCOMPARE(m_pMain->btnClose->text(), close);
    QCOMPARE(m_pMain->lblStep->text(), QString::fromUtf8(kStepTexts[page]));
    QCOMPARE(m_pMain->btnOption->text(), QStringLiteral("&Options"));
    QCOMPARE(m_pMain->btnHelp->text(), QStringLiteral("&Help"));
    QCOMPARE(m_pMain->btnPrev->text(), QStringLiteral("< &Prev"));
    QCOMPARE(m_pMain->btnNext->text(), QStringLiteral("&Next >"));
  }

  void failedLeaveCheckChangesNothing() {
    StartAt(2);
    m_pPages[TfmMain::pwUpdateField]->m_nFault = RecordingPage::FailLeave;
    m_pMain->GoToPage(3);
    QCOMPARE(m_calls, QStringList{"fields.leave"});
    QCOMPARE(m_pMain->GetCurPage(), 2);
    QCOMPARE(VisiblePage(), QStringLiteral("fields"));
    QCOMPARE(m_pMain->lblStep->text(), QString::fromUtf8(kStepTexts[2]));
    QVERIFY(m_pMain->btnPrev->isEnabled());
  }

  void prevAndNextButtonsMoveByOne() {
    StartAt(2);
    QTest::mouseClick(m_pMain->btnNext, Qt::LeftButton);
    QCOMPARE(m_pMain->GetCurPage(), 3);
    QTest::mouseClick(m_pMain->btnPrev, Qt::LeftButton);
    QTest::mouseClick(m_pMain->btnPrev, Qt::LeftButton);
    QCOMPARE(m_pMain->GetCurPage(), 1);
    QCOMPARE(m_calls, (QStringList{"fields.leave", "addr.enter"}));
  }

  void errorDuringPageChangeShowsReportAndStays_data() {
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("fault");
    QTest::newRow("leave-check throws") << int(TfmMain::pwSource) << int(RecordingPage::ThrowOnLeave);
    QTest::newRow("enter step throws") << int(TfmMain::pwUpdateField) << int(RecordingPage::ThrowOnEnter);
    QTest::newRow("unknown exception")
        << int(TfmMain::pwUpdateField) << int(RecordingPage::ThrowUnknownOnEnter);
  }

  void errorDuringPageChangeShowsReportAndStays() {
    QFETCH(int, window);
    QFETCH(int, fault);
    StartAt(1);
    m_pPages[window]->m_nFault = static_cast<RecordingPage::Fault>(fault);
    QString strShown;
    OnNextModal([&strShown](QWidget* pDialog) {
      strShown = QString::fromUtf8(pDialog->metaObject()->className());
      static_cast<TfmDump*>(pDialog)->btnOK->click();
    });
    m_pMain->GoToPage(2);
    QCOMPARE(strShown, QStringLiteral("TfmDump"));
    QCOMPARE(m_pMain->GetCurPage(), 1);
    QCOMPARE(VisiblePage(), QStringLiteral("source"));
    // The wizard goes on normally afterwards.
    m_pPages[window]->m_nFault = RecordingPage::None;
    m_pMain->GoToPage(2);
    QCOMPARE(m_pMain->GetCurPage(), 2);
  }

  void closeSavesTheSettingsAndFreesTheWindow() {
    g_Settings.AppFlag = 8;
    g_Settings.LogLevel = 1;
    QTest::mouseClick(m_pMain->btnClose, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_pMain.isNull());
    QVERIFY(fmMain == nullptr);
    QSettings ini(m_pHome->SettingsFile(), QSettings::IniFormat);
    QCOMPARE(ini.value("DI-ZU/AppFlag").toString(), QStringLiteral("8"));
    QCOMPARE(ini.value("DI-ZU/LogLevel").toString(), QStringLiteral("1"));
  }

  void optionsOpensTheDebugOptions() {
    QString strShown;
    OnNextModal([&strShown](QWidget* pDialog) {
      strShown = QString::fromUtf8(pDialog->metaObject()->className());
      static_cast<TfmDebug*>(pDialog)->btnCancel->click();
    });
    QTest::mouseClick(m_pMain->btnOption, Qt::LeftButton);
    QCOMPARE(strShown, QStringLiteral("TfmDebug"));
  }

  void helpOpensTheGuideNextToTheProgram() {
    QTest::mouseClick(m_pMain->btnHelp, Qt::LeftButton);
    const QString strGuide = QCoreApplication::applicationDirPath() + "/quillmere-guide.html";
    QVERIFY2(QFileInfo::exists(strGuide), "the build copies the guide next to the programs");
    QCOMPARE(m_pUser->shellOpens, QStringList{strGuide});
    QVERIFY(m_pUser->messages.isEmpty());
  }

  void aShellOpenThatFailsIsToldInAMessageBox() {
    // The verdict may come from another thread, after the open returned.
    std::thread([] { PalShellOpenFailed("/usr/share/doc/guide.html", SE_ERR_NOASSOC); }).join();
    QTRY_COMPARE(m_pUser->messages.size(), 1);
    const MessageBoxCall& call = m_pUser->messages.constFirst();
    QCOMPARE(call.strText, QStringLiteral("\"/usr/share/doc/guide.html\" could not be opened: no "
                                          "program is registered to open it."));
    QCOMPARE(call.pOwner, m_pMain.data());
    QCOMPARE(call.nIcon, QMessageBox::Warning);

    // Once the window is gone nobody is left to tell, and nothing is posted.
    delete m_pMain.data();
    PalShellOpenFailed("/usr/share/doc/guide.html", SE_ERR_NOASSOC);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(m_pUser->messages.size(), 1);
  }

  void shellFailuresAreWordedByTheirCause_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no association") << SE_ERR_NOASSOC << "no program is registered to open it";
    QTest::newRow("opener failed")
        << SE_ERR_ASSOCINCOMPLETE << "the program registered to open it failed";
    QTest::newRow("no file") << SE_ERR_FNF << "it was not found";
    QTest::newRow("no folder") << SE_ERR_PNF << "its folder was not found";
    QTest::newRow("denied") << SE_ERR_ACCESSDENIED << "access was denied";
    QTest::newRow("no memory") << 0 << "there was not enough memory";
    QTest::newRow("unknown") << 26 << "the shell answered error 26";
  }

  void shellFailuresAreWordedByTheirCause() {
    QFETCH(int, error);
    QFETCH(QString, reason);
    QCOMPARE(ShellOpenFailureText(QStringLiteral("a b.html"), error),
             QStringLiteral("\"a b.html\" could not be opened: %1.").arg(reason));
  }

  void theGuideNamesButtonsAsTheUserSeesThem() {
    QFile guide(QCoreApplication::applicationDirPath() + "/quillmere-guide.html");
    QVERIFY(guide.open(QIODevice::ReadOnly));
    const QString strGuide = QString::fromUtf8(guide.readAll());
    // A caption's mnemonic marker is no character the user sees; HTML's own
    // entities are.
    static const QRegularExpression kButton(
        QStringLiteral("<span class=\"button\">([^<]*)</span>"));
    static const QRegularExpression kMarker(QStringLiteral("&(?!(amp|lt|gt|quot|nbsp|#[0-9]+);)"));
    int nButtons = 0;
    for (const QRegularExpressionMatch& button : kButton.globalMatch(strGuide)) {
      ++nButtons;
      QVERIFY2(!kMarker.match(button.captured(1)).hasMatch(), qPrintable(button.captured(1)));
    }
    QVERIFY(nButtons > 0);
  }

  void logoOpensTheProductPage() {
    QTest::mouseClick(m_pMain->imgIcon, Qt::LeftButton);
    QTest::mouseClick(m_pMain->imgText, Qt::LeftButton);
    QCOMPARE(m_pUser->shellOpens,
             (QStringList{"https://quillmere.example/", "https://quillmere.example/"}));
  }
};

QTEST_MAIN(MainTest)
#include "Main_test.moc"
