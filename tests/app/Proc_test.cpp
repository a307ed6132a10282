// The update run and its summary over a real local store: progress, what is
// saved, and a result that tells the truth about records that failed.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>
#include <cstdlib>
#include <cstring>

#include "app/Apputil.h"
#include "app/Context.h"
#include "app/Finish.h"
#include "app/Main.h"
#include "app/Page.h"
#include "app/Preview.h"
#include "app/Runs.h"
#include "app/Proc.h"
#include "common/misc/CxList.h"
#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "support/AppTest.h"
#include "support/PassingPage.h"
#include "support/FailingOutlook.h"
#include "support/TestStore.h"

namespace {

const char* const kFirstNames[] = {"Ann", "Ben", "Cleo", "Dan", "Eve", "Finn", "Gus"};
const char* const kLastNames[] = {"Archer", "Baker", "Cole", "Dunn", "Ernst", "Fox", "Gray"};

constexpr int kFieldDepartment = 22;
constexpr int kFieldJobTitle = 46;
constexpr int kFieldNotInCatalogue = 70;

enum Fault { NoFault, ItemDeleted, UnknownField, RecordWithoutImage };

const QString kSuccess = QStringLiteral("Records updating successfully.");

template <typename TAccessor>
void TickAll(TAccessor* pAccessor) {
  auto* pContainer = pAccessor->GetContainer();
  for (auto* pRecord = pContainer->First(); pRecord; pRecord = pContainer->Next())
    g_pRecordList->Add(pRecord);
}

}  // namespace

class ProcTest : public QObject {
  Q_OBJECT

 private:
  ScopedDataHome* m_pHome = nullptr;
  UserRecorder* m_pUser = nullptr;
  TestStore* m_pStore = nullptr;
  QPointer<TfmMain> m_pMain;
  // Records that no container owns, freed after each test.
  QList<void*> m_strayRecords;

  TfmProc* Proc() const { return static_cast<TfmProc*>(m_pMain->GetPageWindow(TfmMain::pwProc)); }
  TfmFinish* Finish() const {
    return static_cast<TfmFinish*>(m_pMain->GetPageWindow(TfmMain::pwFinish));
  }

  std::vector<std::string> AddContacts(int nCount) {
    std::vector<std::string> ids;
    for (int n = 0; n < nCount; ++n)
      ids.push_back(m_pStore->Add(olstore::ItemKind::Contact,
                                  {{"FirstName", std::string(kFirstNames[n])},
                                   {"LastName", std::string(kLastNames[n])},
                                   {"JobTitle", std::string("Clerk")},
                                   {"Department", std::string("Sales")}}));
    return ids;
  }

  // Leaves page 1 for real (the context opens over the store) and stops on
  // page 2 with empty lists.
  void OpenContext(int nMode) {
    m_pMain = new TfmMain;
    for (int n = TfmMain::pwUpdateField; n <= TfmMain::pwNoteData; ++n)
      m_pMain->SetPageWindow(static_cast<TfmMain::PageWindow>(n), new PassingPage);
    m_pMain->GoToPage(1);
    g_Settings.AppFlag = nMode;
    m_pMain->GoToPage(2);
    QCOMPARE(m_pMain->GetCurPage(), 2);
    QVERIFY(g_pRecordList && g_pFieldList);
  }

  static void AddDefinition(int nFieldID, int nOperation, const char* szValue) {
    auto* pDef = static_cast<FieldUpdateDef*>(malloc(sizeof(FieldUpdateDef)));
    TfmMain::InitFieldDefinition(pDef);
    pDef->nFieldID = nFieldID;
    pDef->nOperation = nOperation;
    strcpy(pDef->szValue, szValue);
    g_pFieldList->Add(pDef);
  }

  // Runs the definitions over the ticked records, as the wizard does from the
  // selection page; true once the run has finished.
  bool Run() {
    QSignalSpy finished(Proc(), &TfmProc::RunFinished);
    m_pMain->GoToPage(3);
    m_pMain->GoToPage(4);
    return finished.wait(60000);
  }

  QString LogText() const {
    QFile log(m_pHome->AppDataFolder() + "appdebug.log");
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
  }

 private slots:
  void init() {
    m_pHome = new ScopedDataHome;
    m_pUser = new UserRecorder;
    m_pStore = new TestStore(m_pHome->StoreFile().toStdString());
    QVERIFY2(m_pStore->IsOpen(), m_pStore->Error().c_str());
  }

  void cleanup() {
    delete m_pMain.data();
    for (void* pRecord : m_strayRecords) free(pRecord);
    m_strayRecords.clear();
    delete m_pStore;
    delete m_pUser;
    delete m_pHome;
  }

  void progressMovesAfterEachRecord_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<QList<int>>("progress");
    QTest::newRow("one") << 1 << QList<int>{100};
    QTest::newRow("three") << 3 << QList<int>{33, 66, 100};
    QTest::newRow("four") << 4 << QList<int>{25, 50, 75, 100};
    QTest::newRow("seven") << 7 << QList<int>{14, 28, 42, 57, 71, 85, 100};
  }

  void progressMovesAfterEachRecord() {
    QFETCH(int, records);
    QFETCH(QList<int>, progress);
    AddContacts(records);
    OpenContext(1);
    AddDefinition(kFieldJobTitle, uoSet, "Director");
    TickAll(g_pOlAddrUtil);
    QCOMPARE(Proc()->lblStatus->text(), QStringLiteral("Updating now, please wait ..."));
    QSignalSpy values(Proc()->pbMain, &QProgressBar::valueChanged);
    QVERIFY(Run());
    QList<int> shown;
    for (const QList<QVariant>& value : values) shown << value[0].toInt();
    QCOMPARE(shown, progress);
    QCOMPARE(Proc()->lblStatus->text(), QStringLiteral("Update finishing ... "));
    QCOMPARE(m_pMain->GetCurPage(), 5);
  }

  void aSecondRunSaysAgainThatItIsUpdating() {
    AddContacts(3);
    OpenContext(1);
    AddDefinition(kFieldJobTitle, uoSet, "Director");
    TickAll(g_pOlAddrUtil);
    QVERIFY(Run());

    // What the label says whenever the bar moves during the second run.
    QStringList shown;
    connect(Proc()->pbMain, &QProgressBar::valueChanged, this,
            [this, &shown] { shown << Proc()->lblStatus->text(); });
    QVERIFY(Run());
    disconnect(Proc()->pbMain, nullptr, this, nullptr);
    QVERIFY(!shown.isEmpty());
    for (const QString& strText : shown)
      QCOMPARE(strText, QStringLiteral("Updating now, please wait ..."));
    QCOMPARE(Proc()->lblStatus->text(), QStringLiteral("Update finishing ... "));
  }

  void runSavesAndReportsHonestly_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("records");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("jobTitles");  // of the three contacts afterwards
    QTest::addColumn<QStringList>("logged");

    QTest::newRow("every record saved")
        << int(NoFault) << "3 records in total" << "2 fields in total" << kSuccess
        << QStringList{"Director", "Director", "Director"} << QStringList{};
    QTest::newRow("a ticked contact was deleted before the run")
        << int(ItemDeleted) << "3 records in total"
        << "2 fields in total"
        << "2 updated, 1 not saved. The report says why." << QStringList{"Director", "", "Director"}
        << QStringList{
               "The contact \"Ben Baker\" could not be saved to Outlook: not found in Outlook"};
    QTest::newRow("a definition the catalogue does not know")
        << int(UnknownField) << "3 records in total"
        << "3 fields in total"
        << "3 updated in part. The report says why."
        << QStringList{"Director", "Director", "Director"}
        << QStringList{
               "The contact \"Ann Archer\": field 70 was not changed: this kind of item has no "
               "such field",
               "The contact \"Cleo Cole\": field 70 was not changed: this kind of item has no such "
               "field"};
    QTest::newRow("a record without its image")
        << int(RecordWithoutImage) << "4 records in total"
        << "2 fields in total"
        << "3 updated, 1 not saved. The report says why."
        << QStringList{"Director", "Director", "Director"}
        << QStringList{"A selected contact has no item image and was not updated."};
  }

  void runSavesAndReportsHonestly() {
    QFETCH(int, fault);
    QFETCH(QString, records);
    QFETCH(QString, fields);
    QFETCH(QString, result);
    QFETCH(QStringList, jobTitles);
    QFETCH(QStringList, logged);
    const std::vector<std::string> ids = AddContacts(3);
    OpenContext(1);
    AddDefinition(kFieldJobTitle, uoSet, "Director");
    AddDefinition(kFieldDepartment, uoAppend, " East");
    if (fault == UnknownField) AddDefinition(kFieldNotInCatalogue, uoSet, "x");
    TickAll(g_pOlAddrUtil);
    if (fault == ItemDeleted) QVERIFY(m_pStore->Remove(ids[1]));
    if (fault == RecordWithoutImage) {
      void* pRecord = calloc(1, sizeof(AddrRecord));
      m_strayRecords << pRecord;
      g_pRecordList->Add(pRecord);
    }
    QVERIFY(Run());

    QCOMPARE(m_pMain->GetCurPage(), 5);
    QCOMPARE(Finish()->lblApp->text(), QStringLiteral("Outlook Contacts"));
    QCOMPARE(Finish()->lblFields->text(), fields);
    QCOMPARE(Finish()->lblRec->text(), records);
    QCOMPARE(Finish()->lblResult->text(), result);
    QStringList stored;
    for (const std::string& strID : ids) stored << QString::fromStdString(m_pStore->Text(strID, "JobTitle"));
    QCOMPARE(stored, jobTitles);
    for (size_t n = 0; n < ids.size(); ++n)
      if (!jobTitles[static_cast<int>(n)].isEmpty())
        QCOMPARE(m_pStore->Text(ids[n], "Department"), std::string("Sales East"));
    const QString strLog = LogText();
    for (const QString& strLine : logged) QVERIFY2(strLog.contains(strLine), qPrintable(strLine));
    // A clean run writes nothing of its own to the log.
    if (logged.isEmpty()) {
      QVERIFY2(!strLog.contains("[Proc.cpp"), qPrintable(strLog));
      QVERIFY2(!strLog.contains("[CxUpdateRun.cpp"), qPrintable(strLog));
    }
    QVERIFY(m_pUser->messages.isEmpty());
  }

  // The summary shows the run's report (also written to the data folder) and
  // undoes the run after a preview of the restore.
  void summaryShowsTheReportAndUndoesTheRun() {
    const std::vector<std::string> ids = AddContacts(3);
    OpenContext(1);
    AddDefinition(kFieldJobTitle, uoSet, "Director");
    TickAll(g_pOlAddrUtil);
    QVERIFY(Run());
    QCOMPARE(Finish()->lblResult->text(), kSuccess);

    const QStringList reports =
        QDir(m_pHome->AppDataFolder()).entryList({QStringLiteral("report-*.csv")});
    QCOMPARE(reports.size(), 1);
    QFile csv(m_pHome->AppDataFolder() + reports[0]);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QStringLiteral("Item,Folder,Field,Old value,New value,Outcome"));
    QCOMPARE(lines[1], QStringLiteral("Ann Archer,Contacts,Job Title,Clerk,Director,changed"));

    int nReportRows = -1;
    OnNextModal([&](QWidget* pModal) {
      auto* pReport = qobject_cast<TfmPreview*>(pModal);
      nReportRows = pReport ? pReport->ShownRowCount() : -2;
      pModal->close();
    });
    Finish()->btnReport->click();
    QCOMPARE(nReportRows, 3);

    QStringList asked, done;
    OnNextModal([&](QWidget* pModal) {
      auto* pAsk = qobject_cast<TfmPreview*>(pModal);
      if (!pAsk || !pAsk->btnAccept) {
        pModal->close();
        return;
      }
      asked << pAsk->lblCounts->text();
      OnNextModal(
          [&](QWidget* pDone) {
            if (auto* pReport = qobject_cast<TfmPreview*>(pDone))
              done << pReport->lblCounts->text();
            pDone->close();
          },
          pAsk);
      pAsk->btnAccept->click();
    });
    Finish()->btnUndo->click();
    QCOMPARE(asked, QStringList{"3 items will change, 3 fields; 0 unchanged; 0 refused"});
    QCOMPARE(done, QStringList{"3 restored"});
    for (const std::string& strID : ids)
      QCOMPARE(m_pStore->Text(strID, "JobTitle"), std::string("Clerk"));
    QCOMPARE(Finish()->lblResult->text(), QStringLiteral("The run was undone: 3 restored."));
    QVERIFY(!Finish()->btnUndo->isEnabled());

    // Both runs are listed, the latest first, with what they did in words.
    QList<QStringList> listed;
    OnNextModal([&](QWidget* pModal) {
      if (auto* pRuns = qobject_cast<TfmRuns*>(pModal)) {
        for (int n = 0; n < pRuns->lvRuns->topLevelItemCount(); ++n) {
          const QTreeWidgetItem* pRow = pRuns->lvRuns->topLevelItem(n);
          listed << QStringList{pRow->text(TfmRuns::colKind), pRow->text(TfmRuns::colDefinitions),
                                pRow->text(TfmRuns::colSaved), pRow->text(TfmRuns::colState)};
        }
      }
      pModal->close();
    });
    Finish()->btnRuns->click();
    QCOMPARE(listed.size(), 2);
    QCOMPARE(listed[0],
             (QStringList{"contacts", "Undo of run 1; Job Title: Set value to \"Director\"", "3",
                          "undo of run 1"}));
    QCOMPARE(listed[1], (QStringList{"contacts", "Job Title: Set value to \"Director\"", "3",
                                     "undone by run 2"}));
    QVERIFY(m_pUser->messages.isEmpty());
  }

  // Without a journal to write to, the run does not start and says why.
  void runWithoutJournalDoesNotStart() {
    const std::vector<std::string> ids = AddContacts(2);
    OpenContext(1);
    AddDefinition(kFieldJobTitle, uoSet, "Director");
    TickAll(g_pOlAddrUtil);
    QVERIFY(QDir().mkpath(m_pHome->AppDataFolder() + "journal.db"));
    QSignalSpy refused(Proc(), &TfmProc::RunRefused);
    m_pMain->GoToPage(3);
    m_pMain->GoToPage(4);
    QVERIFY(refused.wait(60000));
    QCOMPARE(m_pMain->GetCurPage(), 5);
    QCOMPARE(m_pUser->messages.size(), 1);
    QVERIFY2(m_pUser->messages[0].strText.startsWith("The update cannot start: the run journal "),
             qPrintable(m_pUser->messages[0].strText));
    QVERIFY(m_pUser->messages[0].strText.endsWith(". Nothing was changed."));
    QVERIFY(Finish()->lblResult->text().startsWith("The update did not start: "));
    QVERIFY(!Finish()->btnReport->isEnabled());
    QVERIFY(!Finish()->btnUndo->isEnabled());
    for (const std::string& strID : ids)
      QCOMPARE(m_pStore->Text(strID, "JobTitle"), std::string("Clerk"));
  }

  void movingDuringTheWaitStillRunsOnce_data() {
    QTest::addColumn<QList<int>>("moves");
    QTest::newRow("next") << QList<int>{5};
    QTest::newRow("prev then next") << QList<int>{3, 4};
    QTest::newRow("prev") << QList<int>{3};
  }

  void movingDuringTheWaitStillRunsOnce() {
    QFETCH(QList<int>, moves);
    const std::vector<std::string> ids = AddContacts(2);
    OpenContext(1);
    AddDefinition(kFieldDepartment, uoAppend, "+");
    TickAll(g_pOlAddrUtil);
    QSignalSpy finished(Proc(), &TfmProc::RunFinished);
    m_pMain->GoToPage(3);
    m_pMain->GoToPage(4);
    for (int nPage : moves) m_pMain->GoToPage(nPage);
    // The summary says nothing about a run that has not happened yet.
    QCOMPARE(Finish()->lblResult->text(), QString());
    QVERIFY(finished.wait(60000));
    QCoreApplication::processEvents();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(m_pMain->GetCurPage(), 5);
    QCOMPARE(Finish()->lblResult->text(), kSuccess);
    for (const std::string& strID : ids) QCOMPARE(m_pStore->Text(strID, "Department"), std::string("Sales+"));
  }

  void closingDuringTheRunIsRefused() {
    AddContacts(2);
    OpenContext(1);
    AddDefinition(kFieldJobTitle, uoSet, "Director");
    TickAll(g_pOlAddrUtil);
    QList<bool> closed;
    connect(Proc()->pbMain, &QProgressBar::valueChanged, this,
            [this, &closed] { closed << m_pMain->close(); });
    QVERIFY(Run());
    QCOMPARE(closed, (QList<bool>{false, false}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!m_pMain.isNull());
    QCOMPARE(m_pMain->GetCurPage(), 5);
  }

  void everyKindIsUpdatedByItsApplier_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("app");
    QTest::newRow("calendar") << 2 << int(olstore::ItemKind::Appointment) << "Subject" << 26
                              << "Outlook Calendar";
    QTest::newRow("tasks") << 4 << int(olstore::ItemKind::Task) << "Subject" << 22 << "Outlook Tasks";
    QTest::newRow("notes") << 8 << int(olstore::ItemKind::Note) << "Body" << 5 << "Outlook Notes";
  }

  void everyKindIsUpdatedByItsApplier() {
    QFETCH(int, mode);
    QFETCH(int, kind);
    QFETCH(QString, property);
    QFETCH(int, field);
    QFETCH(QString, app);
    const auto nKind = static_cast<olstore::ItemKind>(kind);
    StoreValues values = {{property.toStdString(), std::string("old text")}};
    if (nKind == olstore::ItemKind::Appointment) {
      values.push_back({"Start", 45000.5});
      values.push_back({"End", 45000.55});
    }
    const std::string strID = m_pStore->Add(nKind, values);
    QVERIFY(!strID.empty());
    OpenContext(mode);
    AddDefinition(field, uoReplace, "new");
    strcpy(static_cast<FieldUpdateDef*>(g_pFieldList->GetFirst())->szSearch, "old");
    switch (mode) {
      case 2: TickAll(g_pOlDateUtil); break;
      case 4: TickAll(g_pOlTaskUtil); break;
      case 8: TickAll(g_pOlNoteUtil); break;
    }
    QCOMPARE(g_pRecordList->GetCount(), 1u);
    QVERIFY(Run());
    QCOMPARE(m_pStore->Text(strID, property.toStdString()), std::string("new text"));
    QCOMPARE(Finish()->lblApp->text(), app);
    QCOMPARE(Finish()->lblResult->text(), kSuccess);
  }

  void summaryNamesTheKind_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("app");
    QTest::newRow("contacts") << 1 << "Outlook Contacts";
    QTest::newRow("calendar") << 2 << "Outlook Calendar";
    QTest::newRow("tasks") << 4 << "Outlook Tasks";
    QTest::newRow("notes") << 8 << "Outlook Notes";
    QTest::newRow("unknown") << 3 << "Unknown";
  }

  void summaryNamesTheKind() {
    QFETCH(int, mode);
    QFETCH(QString, app);
    TfmFinish page;
    g_Settings.AppFlag = mode;
    QVERIFY(page.UpdateData(false));
    QCOMPARE(page.lblApp->text(), app);
    QCOMPARE(page.lblFields->text(), QStringLiteral("0 fields in total"));
    QCOMPARE(page.lblRec->text(), QStringLiteral("0 records in total"));
  }

  void summaryButtons_data() {
    QTest::addColumn<QString>("stored");  // OLPath, in the test's folder unless absolute
    QTest::addColumn<QString>("made");    // what is made at the stored path: file, folder or nothing
    QTest::addColumn<QString>("opened");  // in the test's folder; the folder itself when empty
    // No Outlook program is registered here: without a stored program the
    // local Outlook's data folder opens.
    QTest::newRow("no stored path") << "" << "nothing" << "";
    QTest::newRow("stored program") << "outlook.exe" << "file" << "outlook.exe";
    QTest::newRow("stored program with a non-ASCII name")
        << QString::fromUtf8("Programme/Outlook für Ümit.exe") << "file"
        << QString::fromUtf8("Programme/Outlook für Ümit.exe");
    QTest::newRow("stored path names nothing") << "missing.exe" << "nothing" << "";
    QTest::newRow("stored path names a folder") << "programs" << "folder" << "";
  }

  void summaryButtons() {
    QFETCH(QString, stored);
    QFETCH(QString, made);
    QFETCH(QString, opened);
    OpenContext(1);
    const QString strStored = stored.isEmpty() ? QString() : m_pHome->Path() + '/' + stored;
    if (made == "file") {
      QVERIFY(QDir().mkpath(QFileInfo(strStored).path()));
      QFile program(strStored);
      QVERIFY(program.open(QIODevice::WriteOnly));
    } else if (made == "folder") {
      QVERIFY(QDir().mkpath(strStored));
    }
    const QByteArray path = strStored.toUtf8();
    QVERIFY(static_cast<size_t>(path.size()) < sizeof g_Settings.OLPath);
    strcpy(g_Settings.OLPath, path.constData());
    m_pMain->GoToPage(5);
    Finish()->btnOL->click();
    QCOMPARE(m_pUser->shellOpens,
             QStringList{opened.isEmpty() ? m_pHome->Path() : m_pHome->Path() + '/' + opened});
    Finish()->btnAnother->click();
    QCOMPARE(m_pMain->GetCurPage(), 0);
    QVERIFY(g_pRecordList && g_pFieldList);
  }

  void openOutlookWithoutAnOutlookOpensNothing() {
    // Another Outlook has taken the name from the local one: there is neither
    // a program nor a data folder to open.
    FailingOutlook foreign;
    QVERIFY(foreign.IsRegistered());
    TfmFinish page;
    QVERIFY(page.UpdateData(false));
    page.btnOL->click();
    QVERIFY(m_pUser->shellOpens.isEmpty());
  }
};

QTEST_MAIN(ProcTest)
#include "Proc_test.moc"
