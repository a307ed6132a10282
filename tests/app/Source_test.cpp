// The access page and the wizard context: connecting to Outlook when page 1 is
// left, all or nothing, and what the context holds afterwards.
#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <cstdlib>
#include <cstring>

#include "app/Apputil.h"
#include "app/Context.h"
#include "app/Look.h"
#include "app/Main.h"
#include "app/Page.h"
#include "app/Source.h"
#include "common/misc/CxList.h"
#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "olstore/olstore.h"
#include "support/AppTest.h"
#include "support/PassingPage.h"
#include "support/FailingOutlook.h"
#include "support/StoreExchange.h"
#include "support/TestStore.h"

namespace {

bool NoContext() {
  return !g_pOlAddrUtil && !g_pOlDateUtil && !g_pOlTaskUtil && !g_pOlNoteUtil && !g_pRecordList &&
         !g_pFieldList && !g_pAddrApplier && !g_pDateApplier && !g_pTaskApplier &&
         !g_pNoteApplier && !g_pProfileManager;
}

bool FullContext() {
  return g_pOlAddrUtil && g_pOlDateUtil && g_pOlTaskUtil && g_pOlNoteUtil && g_pRecordList &&
         g_pFieldList && g_pAddrApplier && g_pDateApplier && g_pTaskApplier && g_pNoteApplier &&
         g_pProfileManager;
}

// The texts a label was painted with, each once, with the application's
// cursor at the time (-1: none set).
struct PaintWatcher : QObject {
  explicit PaintWatcher(QLabel* pLabel) : m_pLabel(pLabel) { pLabel->installEventFilter(this); }
  bool eventFilter(QObject* pObject, QEvent* pEvent) override {
    if (pObject == m_pLabel && pEvent->type() == QEvent::Paint &&
        (texts.isEmpty() || texts.constLast() != m_pLabel->text())) {
      texts << m_pLabel->text();
      const QCursor* pCursor = QApplication::overrideCursor();
      cursors << (pCursor ? static_cast<int>(pCursor->shape()) : -1);
    }
    return false;
  }
  QLabel* m_pLabel;
  QStringList texts;
  QList<int> cursors;
};

template <typename TContainer>
int RecordCount(TContainer* pContainer) {
  int nCount = 0;
  for (auto* p = pContainer->First(); p; p = pContainer->Next()) ++nCount;
  return nCount;
}

FieldUpdateDef* NewDefinition(int nFieldID) {
  auto* pDef = static_cast<FieldUpdateDef*>(malloc(sizeof(FieldUpdateDef)));
  TfmMain::InitFieldDefinition(pDef);
  pDef->nFieldID = nFieldID;
  return pDef;
}

}  // namespace

class SourceTest : public QObject {
  Q_OBJECT

 private:
  ScopedDataHome* m_pHome = nullptr;
  UserRecorder* m_pUser = nullptr;
  QPointer<TfmMain> m_pMain;

  TfmSource* Source() const {
    return static_cast<TfmSource*>(m_pMain->GetPageWindow(TfmMain::pwSource));
  }

  // The main window on page 1, with the pages behind it standing still.
  void OpenOnAccessPage(int nMode) {
    m_pMain = new TfmMain;
    for (int n = TfmMain::pwUpdateField; n < TfmMain::pwCount; ++n)
      m_pMain->SetPageWindow(static_cast<TfmMain::PageWindow>(n), new PassingPage);
    g_Settings.AppFlag = nMode;
    m_pMain->GoToPage(1);
    g_Settings.AppFlag = nMode;  // the mode page stored what it showed
  }

 private slots:
  void init() {
    m_pHome = new ScopedDataHome;
    m_pUser = new UserRecorder;
  }

  void cleanup() {
    delete m_pMain.data();
    QVERIFY(NoContext());
    delete m_pUser;
    delete m_pHome;
  }

  void unreachableOutlookKeepsTheWizardOnPageOne_data() {
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("reason");  // what page 1 then says
    QTest::newRow("no Outlook registered")
        << false << "Outlook cannot be reached: Outlook is not installed: Outlook.Application is "
                    "not registered (hr=0x800401f3).";
    QTest::newRow("Outlook cannot be started")
        << true << "Outlook cannot be reached: Outlook could not be started (hr=0x80004005).";
  }

  void unreachableOutlookKeepsTheWizardOnPageOne() {
    QFETCH(bool, registered);
    QFETCH(QString, reason);
    std::unique_ptr<FailingOutlook> pOutlook;
    if (registered) {
      pOutlook = std::make_unique<FailingOutlook>();
      QVERIFY(pOutlook->IsRegistered());
    }
    OpenOnAccessPage(1);
    strcpy(g_Settings.OLPath, "/opt/outlook/OUTLOOK.EXE");
    Source()->edtPath->setText("/somewhere/else.exe");
    m_pMain->GoToPage(2);
    QCOMPARE(m_pMain->GetCurPage(), 1);
    QVERIFY(NoContext());
    QVERIFY(m_pUser->messages.isEmpty());
    QCOMPARE(QString::fromUtf8(g_Settings.OLPath), QStringLiteral("/opt/outlook/OUTLOOK.EXE"));
    QCOMPARE(Source()->edtPath->text(), QStringLiteral("/somewhere/else.exe"));
    if (pOutlook) QVERIFY(pOutlook->Attempts() > 0);
    QCOMPARE(Source()->lblProblem->text(), reason);
    QVERIFY(Source()->lblProblem->isVisibleTo(Source()->gbOutlook));
    // The busy cursor and the count went with the attempt.
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!Source()->lblReading->isVisibleTo(Source()->gbOutlook));
    // Retrying fails the same way and changes nothing either.
    m_pMain->GoToPage(2);
    QCOMPARE(m_pMain->GetCurPage(), 1);
    QVERIFY(NoContext());
  }

  void showsTheOutlookInUse_data() {
    QTest::addColumn<QString>("store");   // the store file in the test's folder; none when empty
    QTest::addColumn<bool>("foreign");    // another Outlook takes the name afterwards
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("role");
    QTest::addColumn<bool>("storeRow");    // the "Store file:" row is shown
    QTest::addColumn<bool>("storeNamed");  // and names the file
    const QString strLocal = QString::fromUtf8(olstore::Version()) + " (local Outlook store)";
    QTest::newRow("store registered") << "store.db" << false << strLocal << "good" << true << true;
    QTest::newRow("store in a folder with a non-ASCII name")
        << QString::fromUtf8("Übung für Ärger/störe.db") << false << strLocal << "good" << true
        << true;
    // A cut path would name another file: the row stays empty instead.
    QTest::newRow("store path longer than a path field")
        << QString(250, 's') + "/store.db" << false << strLocal << "good" << true << false;
    QTest::newRow("nothing registered") << "" << false << "Not Found." << "bad" << false << false;
    QTest::newRow("another Outlook registered") << "" << true << "Not Found." << "bad" << false << false;
    QTest::newRow("another Outlook took the name from the store")
        << "store.db" << true << "Not Found." << "bad" << false << false;
  }

  void showsTheOutlookInUse() {
    QFETCH(QString, store);
    QFETCH(bool, foreign);
    QFETCH(QString, version);
    QFETCH(QString, role);
    QFETCH(bool, storeRow);
    QFETCH(bool, storeNamed);
    const QString strFile = m_pHome->Path() + '/' + store;
    std::unique_ptr<TestStore> pStore;
    if (!store.isEmpty()) {
      qputenv("OLSTORE_PATH", strFile.toUtf8());
      pStore = std::make_unique<TestStore>(strFile.toStdString());
      QVERIFY2(pStore->IsOpen(), pStore->Error().c_str());
    }
    std::unique_ptr<FailingOutlook> pForeign;
    if (foreign) {
      pForeign = std::make_unique<FailingOutlook>();
      QVERIFY(pForeign->IsRegistered());
    }
    OpenOnAccessPage(1);
    QCOMPARE(Source()->lblOLVer->text(), version);
    QCOMPARE(GetRole(Source()->lblOLVer), role);
    QCOMPARE(Source()->lblStoreCaption->isVisibleTo(Source()->gbOutlook), storeRow);
    QCOMPARE(Source()->lblStore->isVisibleTo(Source()->gbOutlook), storeRow);
    QCOMPARE(Source()->lblStore->text(), storeNamed ? strFile : QString());
  }

  // The store cannot be used: page 1 says why, in red, and the wizard stays;
  // no store is made and the file is left as it was.
  void storeProblemIsShownOnPageOne_data() {
    QTest::addColumn<QByteArray>("content");  // the file at the store path; none when null
    QTest::addColumn<QString>("onEntry");     // what page 1 says before trying
    QTest::addColumn<QString>("onLeave");     // part of what it says once Next failed
    QTest::newRow("no file") << QByteArray()
                             << QStringLiteral(
                                    "There is no store at this path yet: olstore init "
                                    "makes one, olstore seed one with demo data.")
                             << QStringLiteral("there is no store there");
    QTest::newRow("not a store") << QByteArray("name,phone\nAnn,555\n") << QString()
                                 << QStringLiteral("the file is not a store");
  }

  void storeProblemIsShownOnPageOne() {
    QFETCH(QByteArray, content);
    QFETCH(QString, onEntry);
    QFETCH(QString, onLeave);
    const QString strFile = m_pHome->StoreFile();
    if (!content.isNull()) {
      QFile file(strFile);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(content);
    }
    QVERIFY(olstore::RegisterOutlookApplication());
    OpenOnAccessPage(1);
    QCOMPARE(Source()->lblProblem->text(), onEntry);
    QCOMPARE(Source()->lblProblem->isVisibleTo(Source()->gbOutlook), !onEntry.isEmpty());
    m_pMain->GoToPage(2);
    QCOMPARE(m_pMain->GetCurPage(), 1);
    QVERIFY(NoContext());
    QVERIFY(m_pUser->messages.isEmpty());
    QVERIFY(Source()->lblProblem->isVisibleTo(Source()->gbOutlook));
    QVERIFY2(Source()->lblProblem->text().contains(onLeave),
             qPrintable(Source()->lblProblem->text()));
    QCOMPARE(GetRole(Source()->lblProblem), QStringLiteral("bad"));
    QCOMPARE(QFileInfo::exists(strFile), !content.isNull());
    if (!content.isNull()) {
      QFile file(strFile);
      QVERIFY(file.open(QIODevice::ReadOnly));
      QCOMPARE(file.readAll(), content);
    }
    olstore::UnregisterOutlookApplication();
  }

  void storeRowFollowsTheOutlookInUse() {
    // Entering page 1 again after the store has gone hides the row it showed.
    auto pStore = std::make_unique<TestStore>(m_pHome->StoreFile().toStdString());
    QVERIFY2(pStore->IsOpen(), pStore->Error().c_str());
    OpenOnAccessPage(1);
    QVERIFY(Source()->lblStore->isVisibleTo(Source()->gbOutlook));
    pStore.reset();
    m_pMain->GoToPage(0);
    m_pMain->GoToPage(1);
    QCOMPARE(Source()->lblOLVer->text(), QStringLiteral("Not Found."));
    QVERIFY(!Source()->lblStoreCaption->isVisibleTo(Source()->gbOutlook));
    QVERIFY(!Source()->lblStore->isVisibleTo(Source()->gbOutlook));
    QCOMPARE(Source()->lblStore->text(), QString());
  }

  void enteringShowsTheStoredPath_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("stored path") << "/opt/outlook/OUTLOOK.EXE" << "/opt/outlook/OUTLOOK.EXE";
    // Nothing registered with the system: the box keeps what it showed.
    QTest::newRow("no stored path") << "" << "typed before";
  }

  void enteringShowsTheStoredPath() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    OpenOnAccessPage(1);
    Source()->edtPath->setText("typed before");
    CopyPath(stored);
    m_pMain->GoToPage(0);
    m_pMain->GoToPage(1);
    QCOMPARE(Source()->edtPath->text(), shown);
  }

  void leavingStoresThePathCutToFit_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("short") << "/usr/bin/outlook" << "/usr/bin/outlook";
    QTest::newRow("long") << QString(300, 'p') << QString(259, 'p');
    // 258 ASCII bytes, then a two-byte character that would end at byte 260.
    QTest::newRow("no half character")
        << QString(258, 'p') + QString::fromUtf8("é") << QString(258, 'p');
  }

  void leavingStoresThePathCutToFit() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    TestStore store(m_pHome->StoreFile().toStdString());
    QVERIFY2(store.IsOpen(), store.Error().c_str());
    OpenOnAccessPage(1);
    Source()->edtPath->setText(typed);
    m_pMain->GoToPage(2);
    QCOMPARE(m_pMain->GetCurPage(), 2);
    QCOMPARE(QString::fromUtf8(g_Settings.OLPath), stored);
  }

  void browseTakesTheChosenFile_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("confirmed") << "/opt/office/notes.exe" << "/opt/office/notes.exe";
    QTest::newRow("cancelled") << "" << "/before.exe";
  }

  void browseTakesTheChosenFile() {
    QFETCH(QString, answer);
    QFETCH(QString, shown);
    OpenOnAccessPage(1);
    Source()->edtPath->setText("/before.exe");
    m_pUser->strOpenFileAnswer = answer;
    Source()->btnBrowse->click();
    QCOMPARE(m_pUser->openFiles.size(), 1);
    QCOMPARE(m_pUser->openFiles[0].strInitial, QStringLiteral("/before.exe"));
    QCOMPARE(m_pUser->openFiles[0].strFilter,
             QStringLiteral("Outlook executable file (notes.exe) (*.exe)"));
    QCOMPARE(Source()->edtPath->text(), shown);
  }

  void contextReadsOnlyTheChosenKind_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("counts");  // contacts, calendar, tasks, notes
    QTest::newRow("contacts") << 1 << QList<int>{2, 0, 0, 0};
    QTest::newRow("calendar") << 2 << QList<int>{0, 1, 0, 0};
    QTest::newRow("tasks") << 4 << QList<int>{0, 0, 3, 0};
    QTest::newRow("notes") << 8 << QList<int>{0, 0, 0, 1};
  }

  void contextReadsOnlyTheChosenKind() {
    QFETCH(int, mode);
    QFETCH(QList<int>, counts);
    TestStore store(m_pHome->StoreFile().toStdString());
    QVERIFY2(store.IsOpen(), store.Error().c_str());
    for (const char* szName : {"Ann", "Ben"})
      QVERIFY(!store.Add(olstore::ItemKind::Contact, {{"FirstName", std::string(szName)}}).empty());
    QVERIFY(!store.Add(olstore::ItemKind::Appointment, {{"Subject", std::string("Review")}, {"Start", 45000.5}, {"End", 45000.55}}).empty());
    for (const char* szName : {"one", "two", "three"})
      QVERIFY(!store.Add(olstore::ItemKind::Task, {{"Subject", std::string(szName)}}).empty());
    QVERIFY(!store.Add(olstore::ItemKind::Note, {{"Body", std::string("remember")}}).empty());

    OpenOnAccessPage(mode);
    m_pMain->GoToPage(2);
    QCOMPARE(m_pMain->GetCurPage(), 2);
    QVERIFY(FullContext());
    QCOMPARE(g_pRecordList->GetCount(), 0u);
    QCOMPARE(g_pFieldList->GetCount(), 0u);
    const QList<int> read = {RecordCount(g_pOlAddrUtil->GetContainer()),
                             RecordCount(g_pOlDateUtil->GetContainer()),
                             RecordCount(g_pOlTaskUtil->GetContainer()),
                             RecordCount(g_pOlNoteUtil->GetContainer())};
    QCOMPARE(read, counts);
  }

  // A long read shows, under a busy cursor, how many items it has read, each
  // count painted while the read goes on; afterwards both are gone.
  void readingShowsTheCountAsItGrows() {
    QByteArray document = R"({"format": "olstore", "version": 1, "contacts": {"items": [)";
    for (int n = 0; n < 120; ++n)
      document +=
          QStringLiteral(R"(%1{"FirstName": "Person %2"})").arg(n ? "," : "").arg(n).toUtf8();
    document += "]}}";
    TestStore store(m_pHome->StoreFile().toStdString());
    QVERIFY2(store.IsOpen(), store.Error().c_str());
    QString strError;
    QVERIFY2(ImportIntoStore(m_pHome->StoreFile(), document, &strError), qPrintable(strError));
    OpenOnAccessPage(1);
    m_pMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pMain));
    PaintWatcher painted(Source()->lblReading);
    m_pMain->GoToPage(2);
    QCOMPARE(m_pMain->GetCurPage(), 2);
    QCOMPARE(RecordCount(g_pOlAddrUtil->GetContainer()), 120);
    QCOMPARE(painted.texts, (QStringList{"Reading items ...", "Reading items ... 50 read",
                                         "Reading items ... 100 read"}));
    QCOMPARE(painted.cursors, (QList<int>{Qt::WaitCursor, Qt::WaitCursor, Qt::WaitCursor}));
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!Source()->lblReading->isVisibleTo(Source()->gbOutlook));
  }

  // The window cannot be closed under a read that holds the context.
  void closingIsRefusedWhileReading() {
    TestStore store(m_pHome->StoreFile().toStdString());
    QVERIFY2(store.IsOpen(), store.Error().c_str());
    QVERIFY(!store.Add(olstore::ItemKind::Contact, {{"FirstName", std::string("Ann")}}).empty());
    OpenOnAccessPage(1);
    QList<bool> closed;
    QVERIFY(m_pMain->OpenContext([&](size_t) { closed << m_pMain->close(); }));
    QCOMPARE(closed, QList<bool>{false});
    QVERIFY(FullContext());
    QVERIFY(!m_pMain.isNull());
  }

  void leavingPageOneAgainStartsAFreshContext() {
    TestStore store(m_pHome->StoreFile().toStdString());
    QVERIFY2(store.IsOpen(), store.Error().c_str());
    OpenOnAccessPage(1);
    m_pMain->GoToPage(2);
    QVERIFY(FullContext());
    QVERIFY(g_pFieldList->Add(NewDefinition(46)));
    QVERIFY(g_pFieldList->Add(NewDefinition(3)));
    m_pMain->GoToPage(1);
    m_pMain->GoToPage(2);
    QCOMPARE(m_pMain->GetCurPage(), 2);
    QVERIFY(FullContext());
    QCOMPARE(g_pFieldList->GetCount(), 0u);
  }

  void closingTheContextTwiceIsHarmless() {
    TestStore store(m_pHome->StoreFile().toStdString());
    QVERIFY2(store.IsOpen(), store.Error().c_str());
    OpenOnAccessPage(1);
    QVERIFY(m_pMain->OpenContext());
    QVERIFY(g_pFieldList->Add(NewDefinition(46)));
    m_pMain->CloseContext();
    QVERIFY(NoContext());
    m_pMain->CloseContext();
    QVERIFY(NoContext());
  }

  void fieldInfoNeedsAContextAndAKnownMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("contacts") << 1 << 46 << "Job Title";
    QTest::newRow("calendar") << 2 << 26 << "Subject";
    QTest::newRow("tasks") << 4 << 22 << "Subject";
    QTest::newRow("notes") << 8 << 5 << "Note";
    QTest::newRow("not in the catalogue") << 1 << 70 << "";
    QTest::newRow("unknown mode") << 3 << 46 << "";
  }

  void fieldInfoNeedsAContextAndAKnownMode() {
    QFETCH(int, mode);
    QFETCH(int, field);
    QFETCH(QString, name);
    g_Settings.AppFlag = mode;
    QVERIFY(TfmMain::FindFieldInfo(field) == nullptr);
    TestStore store(m_pHome->StoreFile().toStdString());
    QVERIFY2(store.IsOpen(), store.Error().c_str());
    OpenOnAccessPage(mode);
    QVERIFY(m_pMain->OpenContext());
    const FieldDescriptor* pInfo = TfmMain::FindFieldInfo(field);
    QCOMPARE(pInfo ? QString::fromUtf8(pInfo->szName) : QString(), name);
    m_pMain->CloseContext();
    QVERIFY(TfmMain::FindFieldInfo(field) == nullptr);
  }

  void newDefinitionIsClearedWithoutField() {
    FieldUpdateDef def;
    memset(&def, 0xAB, sizeof def);
    TfmMain::InitFieldDefinition(&def);
    FieldUpdateDef expected;
    memset(&expected, 0, sizeof expected);
    expected.nFieldID = -1;
    QVERIFY(memcmp(&def, &expected, sizeof def) == 0);
    TfmMain::InitFieldDefinition(nullptr);
  }

 private:
  static void CopyPath(const QString& strPath) {
    const QByteArray path = strPath.toUtf8();
    memset(g_Settings.OLPath, 0, sizeof g_Settings.OLPath);
    memcpy(g_Settings.OLPath, path.constData(), static_cast<size_t>(path.size()));
  }
};

QTEST_MAIN(SourceTest)
#include "Source_test.moc"
