// The four selection pages (wizard page 3) against a seeded local store,
// inside the real main window and its wizard context: what they list, what
// they tick, what leaving them hands to the update run, and when they open
// their detail viewer.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

#include "app/Addrdetail.h"
#include "app/Apputil.h"
#include "app/Context.h"
#include "app/Datedetail.h"
#include "app/Look.h"
#include "app/Main.h"
#include "app/Notedetail.h"
#include "app/Preview.h"
#include "app/RecordPage.h"
#include "app/Tododetail.h"
#include "update/CxTickRule.h"
#include "common/misc/CxList.h"
#include "support/AppTest.h"
#include "support/PassingPage.h"
#include "support/StoreExchange.h"
#include "support/TestStore.h"

namespace {

using olstore::ItemKind;
using std::string;

struct Column {
  const char* szCaption;
  int nWidth;
};

struct KindCase {
  const char* szName;
  int32_t nMode;
  TfmMain::PageWindow nWindow;
  ItemKind nItemKind;
  std::vector<StoreValues> items;
  std::vector<Column> columns;
  std::vector<QStringList> rows;  // the texts each item shows, in store order
  const char* szNoneTicked;
  // The record a detail viewer shows; none when it is not this kind's viewer.
  std::function<const void*(QWidget*)> fnViewerRecord;
  bool bCaptionEditable;
};

template <typename TViewer>
const void* ViewerRecord(QWidget* pWidget) {
  auto* pViewer = qobject_cast<TViewer*>(pWidget);
  return pViewer ? pViewer->GetRecord() : nullptr;
}

const string kLongNote(1500, 'n');

const std::vector<KindCase>& Kinds() {
  static const std::vector<KindCase> kinds = {
      {"contacts",
       1,
       TfmMain::pwAddrData,
       ItemKind::Contact,
       {{{"FirstName", string("Ann")},
         {"LastName", string("Example")},
         {"Email1Address", string("ann@example.org")},
         {"BusinessTelephoneNumber", string("+49 30 1234567")},
         {"HomeTelephoneNumber", string("030 7654321")},
         {"MobileTelephoneNumber", string("0171 5550000")},
         {"CompanyName", string("Quill GmbH")},
         {"JobTitle", string("Leiterin")}},
        {{"LastName", string("Nobody")}},
        // The business phone holds at most 23 characters.
        {{"FirstName", string("Zoë")},
         {"LastName", string("Ångström")},
         {"BusinessTelephoneNumber", string("+1-555-0100-0000-ext-12345")}}},
       {{"First Name", 80},
        {"Last Name", 80},
        {"Email", 120},
        {"Business Phone", 100},
        {"Home Phone", 100},
        {"Mobile Phone", 100},
        {"Company", 100},
        {"Title", 80}},
       {{"Ann", "Example", "ann@example.org", "+49 30 1234567", "030 7654321", "0171 5550000", "Quill GmbH",
         "Leiterin"},
        {"", "Nobody", "", "", "", "", "", ""},
        {"Zoë", "Ångström", "", "+1-555-0100-0000-ext-12", "", "", "", ""}},
       "No contact record is selected. Please select the records you want to update.",
       &ViewerRecord<TfmAddrDetail>,
       false},
      {"calendar",
       2,
       TfmMain::pwDateData,
       ItemKind::Appointment,
       {{{"Subject", string("Dentist")}, {"Start", 45000.375}, {"End", 45000.40625}},
        {{"Subject", string("Review")}, {"Start", 45001.5}, {"End", 45001.5625}},
        {{"Subject", string("May Day")}, {"Start", 45047.0}, {"End", 45048.0}, {"AllDayEvent", true}}},
       {{"Description", 360}, {"Date", 100}, {"Start Time", 100}, {"End Time", 100}},
       {{"Dentist", "03/15/2023", "09:00:00", "09:45:00"},
        {"Review", "03/16/2023", "12:00:00", "13:30:00"},
        {"May Day", "05/01/2023", "00:00:00", "00:00:00"}},
       "No calendar record is selected. Please select the records you want to update.",
       &ViewerRecord<TfmDateDetail>,
       false},
      {"tasks",
       4,
       TfmMain::pwTaskData,
       ItemKind::Task,
       {{{"Subject", string("File taxes")}, {"DueDate", 43905.0}, {"Importance", int32_t{2}}},
        {{"Subject", string("Paint fence")},
         {"DueDate", 44270.0},
         {"Importance", int32_t{0}},
         {"Status", int32_t{2}},
         {"PercentComplete", int32_t{100}},
         {"DateCompleted", 44260.0}},
        {{"Subject", string("Call Bob")}}},
       {{"Description", 360}, {"Due Date", 100}, {"Priority", 80}, {"Completed", 80}},
       {{"File taxes", "03/15/2020", "High", "No"},
        {"Paint fence", "03/15/2021", "Low", "Yes"},
        {"Call Bob", "N/A", "Normal", "No"}},
       "No task record is selected. Please select the records you want to update.",
       &ViewerRecord<TfmTodoDetail>,
       true},
      {"notes",
       8,
       TfmMain::pwNoteData,
       ItemKind::Note,
       {{{"Body", string("Shopping list\nmilk")}}, {{"Body", kLongNote}}, {{"Body", string("Idea one")}}},
       {{"Description", 660}},
       // A row is one line; a body longer than the row's 1023 bytes is cut.
       {{"Shopping list milk"}, {QString(1023, QLatin1Char('n'))}, {"Idea one"}},
       "No note record is selected. Please select the records you want to update.",
       &ViewerRecord<TfmNoteDetail>,
       false},
  };
  return kinds;
}

// A main window whose context is open on a seeded store, showing page 3 of
// one kind; the pages before and after it only let the wizard pass.
class PageRig {
 public:
  PageRig(const KindCase& kind, bool bSeed) : m_store(m_home.StoreFile().toStdString()) {
    Build(kind, bSeed, QByteArray(), false);
  }
  // The store filled from an exchange document instead, read with or without
  // its subfolders.
  PageRig(const KindCase& kind, const QByteArray& document, bool bSubFolders)
      : m_store(m_home.StoreFile().toStdString()) {
    Build(kind, false, document, bSubFolders);
  }
  ~PageRig() { delete m_pMain.data(); }

  // False when the rig could not be built (the failure is reported).
  bool Ok() const { return m_bOk; }
  TfmMain* Main() const { return m_pMain; }
  TfmRecordPage* Page() const { return m_pPage; }
  RecordListModel* Model() const { return m_pPage->Model(); }
  const QList<MessageBoxCall>& Messages() const { return m_user.messages; }
  UserRecorder& User() { return m_user; }

  QStringList RowTexts(int nRow) const {
    QStringList texts;
    for (int c = 0; c < Model()->columnCount(); ++c) texts << Model()->index(nRow, c).data().toString();
    return texts;
  }
  QList<bool> Ticks() const {
    QList<bool> ticks;
    for (int r = 0; r < Model()->rowCount(); ++r) ticks << Model()->IsTicked(r);
    return ticks;
  }
  // The records the leave-check handed over, in list order.
  static std::vector<void*> Handed() {
    std::vector<void*> handed;
    if (!g_pRecordList) return handed;
    for (void* p = g_pRecordList->GetFirst(); p; p = g_pRecordList->GetNext()) handed.push_back(p);
    return handed;
  }
  void SelectRow(int nRow) const {
    m_pPage->List()->selectionModel()->setCurrentIndex(Model()->index(nRow, 0),
                                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }

 private:
  void Build(const KindCase& kind, bool bSeed, const QByteArray& document, bool bSubFolders) {
    QVERIFY2(m_store.IsOpen(), m_store.Error().c_str());
    if (bSeed)
      for (const StoreValues& values : kind.items) QVERIFY(!m_store.Add(kind.nItemKind, values).empty());
    QString strError;
    if (!document.isEmpty())
      QVERIFY2(ImportIntoStore(m_home.StoreFile(), document, &strError), qPrintable(strError));
    m_pMain = new TfmMain;
    m_pMain->SetPageWindow(TfmMain::pwUpdateField, new PassingPage);
    m_pMain->SetPageWindow(TfmMain::pwProc, new PassingPage);
    g_Settings.AppFlag = kind.nMode;
    g_Settings.SubFolder = bSubFolders;
    QVERIFY(m_pMain->OpenContext());
    m_pPage = static_cast<TfmRecordPage*>(m_pMain->GetPageWindow(kind.nWindow));
    QCOMPARE(m_pMain->PageAt(3), m_pPage);
    m_pMain->GoToPage(3);
    QCOMPARE(m_pMain->GetCurPage(), 3);
    m_pMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pMain));
    m_bOk = true;
  }

  ScopedDataHome m_home;
  UserRecorder m_user;
  TestStore m_store;
  QPointer<TfmMain> m_pMain;
  TfmRecordPage* m_pPage = nullptr;
  bool m_bOk = false;
};

// What a step opened modally: every dialog is closed at once and noted.
struct ModalSeen {
  int nCount = 0;
  const void* pRecord = nullptr;  // what the kind's viewer showed
};

ModalSeen RunClosingModals(const KindCase& kind, const std::function<void()>& fnStep) {
  ModalSeen seen;
  QTimer poll;
  poll.setInterval(0);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!pDialog || !pDialog->isVisible()) return;
    ++seen.nCount;
    seen.pRecord = kind.fnViewerRecord(pDialog);
    pDialog->reject();
  });
  poll.start();
  fnStep();
  QCoreApplication::processEvents();
  return seen;
}

// Why a column's caption is cut, measured as the style lays the caption out
// (inside the section's padding, beside the sort arrow a click puts there);
// empty when it is shown whole.
QString CaptionCut(QHeaderView* pHeader, int nColumn) {
  QStyleOptionHeader option;
  option.initFrom(pHeader);
  option.rect = QRect(0, 0, pHeader->sectionSize(nColumn), pHeader->height());
  option.section = nColumn;
  option.orientation = Qt::Horizontal;
  option.textAlignment = pHeader->defaultAlignment();
  option.sortIndicator = QStyleOptionHeader::SortDown;
  option.text = pHeader->model()->headerData(nColumn, Qt::Horizontal).toString();
  const QRect label = pHeader->style()->subElementRect(QStyle::SE_HeaderLabel, &option, pHeader);
  const int nText = QFontMetrics(pHeader->font()).horizontalAdvance(option.text);
  if (nText <= label.width()) return QString();
  return QStringLiteral("\"%1\" needs %2 pixels, its column gives it %3 of %4")
      .arg(option.text)
      .arg(nText)
      .arg(label.width())
      .arg(option.rect.width());
}

// A store document with nCount notes.
QByteArray ManyNotes(int nCount) {
  QByteArray document = R"({"format": "olstore", "version": 1, "notes": {"items": [)";
  for (int n = 0; n < nCount; ++n)
    document += QStringLiteral(R"(%1{"Body": "Note %2"})").arg(n ? "," : "").arg(n).toUtf8();
  return document + "]}}";
}

void AddKindRows() {
  QTest::addColumn<int>("kind");
  for (size_t i = 0; i < Kinds().size(); ++i) QTest::newRow(Kinds()[i].szName) << static_cast<int>(i);
}

}  // namespace

class RecordPageTest : public QObject {
  Q_OBJECT

 private slots:
  void showsItsCaptionsAndColumns_data() { AddKindRows(); }
  void showsItsCaptionsAndColumns() {
    QFETCH(int, kind);
    const KindCase& c = Kinds()[kind];
    PageRig rig(c, false);
    QVERIFY(rig.Ok());
    TfmRecordPage* pPage = rig.Page();
    QCOMPARE(pPage->btnSelAll->text(), QStringLiteral("&Select All"));
    QCOMPARE(pPage->btnClear->text(), QStringLiteral("Clea&r"));
    QCOMPARE(pPage->DetailButton()->text(), QStringLiteral("&Details"));
    const QList<QAction*> items = pPage->PopupMenu()->actions();
    QCOMPARE(items.size(), 4);
    QCOMPARE(items[0], pPage->SelAllItem());
    QCOMPARE(items[0]->text(), QStringLiteral("&Select All"));
    QCOMPARE(items[1], pPage->ClearItem());
    QCOMPARE(items[1]->text(), QStringLiteral("&Clear All"));
    QVERIFY(items[2]->isSeparator());
    QCOMPARE(items[3], pPage->DetailItem());
    QCOMPARE(items[3]->text(), QStringLiteral("&Detail Information"));

    QCOMPARE(rig.Model()->columnCount(), static_cast<int>(c.columns.size()));
    for (size_t i = 0; i < c.columns.size(); ++i) {
      const int nColumn = static_cast<int>(i);
      QCOMPARE(rig.Model()->headerData(nColumn, Qt::Horizontal).toString(),
               QString::fromUtf8(c.columns[i].szCaption));
    }
  }

  void entryListsEveryRecordTickedWithTheFirstSelected_data() { AddKindRows(); }
  void entryListsEveryRecordTickedWithTheFirstSelected() {
    QFETCH(int, kind);
    const KindCase& c = Kinds()[kind];
    PageRig rig(c, true);
    QVERIFY(rig.Ok());
    QCOMPARE(rig.Model()->rowCount(), static_cast<int>(c.rows.size()));
    for (size_t r = 0; r < c.rows.size(); ++r) QCOMPARE(rig.RowTexts(static_cast<int>(r)), c.rows[r]);
    QCOMPARE(rig.Ticks(), QList<bool>(static_cast<qsizetype>(c.rows.size()), true));
    QVERIFY(rig.Page()->SelectedRecord() != nullptr);
    QCOMPARE(rig.Page()->SelectedRecord(), rig.Model()->RecordAt(0));
    QCOMPARE(rig.Page()->List()->currentIndex().row(), 0);
    // Each row carries its own record of the container.
    std::vector<void*> records;
    for (int r = 0; r < rig.Model()->rowCount(); ++r) records.push_back(rig.Model()->RecordAt(r));
    rig.Page()->SelectAll();
    QVERIFY(rig.Page()->UpdateData(true));
    QCOMPARE(PageRig::Handed(), records);
  }

  void clearingEveryRowKeepsTheWizardOnThePage_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("byMenu");
    for (size_t i = 0; i < Kinds().size(); ++i) {
      QTest::addRow("%s, button", Kinds()[i].szName) << static_cast<int>(i) << false;
      QTest::addRow("%s, pop-up menu", Kinds()[i].szName) << static_cast<int>(i) << true;
    }
  }
  void clearingEveryRowKeepsTheWizardOnThePage() {
    QFETCH(int, kind);
    QFETCH(bool, byMenu);
    const KindCase& c = Kinds()[kind];
    PageRig rig(c, true);
    QVERIFY(rig.Ok());
    if (byMenu)
      rig.Page()->ClearItem()->trigger();
    else
      QTest::mouseClick(rig.Page()->btnClear, Qt::LeftButton);
    QCOMPARE(rig.Ticks(), QList<bool>(static_cast<qsizetype>(c.rows.size()), false));

    rig.Main()->GoToPage(4);
    QCOMPARE(rig.Main()->GetCurPage(), 3);
    QCOMPARE(rig.Messages().size(), 1);
    QCOMPARE(rig.Messages()[0].strText, QString::fromUtf8(c.szNoneTicked));
    QCOMPARE(rig.Messages()[0].strCaption, QStringLiteral("Error"));
    QCOMPARE(rig.Messages()[0].nIcon, QMessageBox::Critical);
    QCOMPARE(rig.Messages()[0].pOwner, rig.Page());
    QCOMPARE(g_pRecordList->GetCount(), 0u);

    // Select All, by the same way, ticks every row again and lets the wizard on.
    if (byMenu)
      rig.Page()->SelAllItem()->trigger();
    else
      QTest::mouseClick(rig.Page()->btnSelAll, Qt::LeftButton);
    QCOMPARE(rig.Ticks(), QList<bool>(static_cast<qsizetype>(c.rows.size()), true));
    rig.Main()->GoToPage(4);
    QCOMPARE(rig.Main()->GetCurPage(), 4);
    QCOMPARE(g_pRecordList->GetCount(), static_cast<uint32_t>(c.rows.size()));
    QCOMPARE(rig.Messages().size(), 1);
  }

  // The preview shows what the run would do to the ticked rows only, and
  // changes nothing, not even the images the run will work on.
  void previewShowsTheTickedRowsAndChangesNothing() {
    PageRig rig(Kinds()[0], true);
    QVERIFY(rig.Ok());
    auto* pDef = static_cast<FieldUpdateDef*>(malloc(sizeof(FieldUpdateDef)));
    TfmMain::InitFieldDefinition(pDef);
    pDef->nFieldID = 46;  // Job Title
    pDef->nOperation = uoSet;
    strcpy(pDef->szValue, "Chief");
    g_pFieldList->Add(pDef);
    rig.Model()->SetTicked(1, false);
    const auto* pFirst = static_cast<const AddrRecord*>(rig.Model()->RecordAt(0));
    const AddrImage before = *pFirst->Image;

    QStringList counts, olds, news;
    int nAllRows = -1, nChangeRows = -1;
    OnNextModal([&](QWidget* pModal) {
      auto* pPreview = qobject_cast<TfmPreview*>(pModal);
      if (!pPreview) {
        pModal->close();
        return;
      }
      counts << pPreview->lblCounts->text();
      nAllRows = pPreview->ShownRowCount();
      for (int n = 0; n < nAllRows; ++n) {
        olds << pPreview->ShownText(n, TfmPreview::colOld);
        news << pPreview->ShownText(n, TfmPreview::colNew);
      }
      pPreview->cbOnlyChanges->click();
      nChangeRows = pPreview->ShownRowCount();
      pPreview->btnSaveCsv->click();
      pPreview->btnClose->click();
    });
    const QString strCsv =
        QDir(QDir::tempPath())
            .filePath(QStringLiteral("preview-%1.csv").arg(QCoreApplication::applicationPid()));
    rig.User().strOpenFileAnswer = strCsv;
    rig.Page()->btnPreview->click();
    QCOMPARE(counts, QStringList{"2 items will change, 2 fields; 0 unchanged; 0 refused"});
    QCOMPARE(nAllRows, 2);
    QCOMPARE(nChangeRows, 2);
    QCOMPARE(olds, (QStringList{"Leiterin", ""}));
    QCOMPARE(news, (QStringList{"Chief", "Chief"}));
    QVERIFY(memcmp(&before, pFirst->Image, sizeof before) == 0);
    QVERIFY(rig.Messages().isEmpty());
    QFile csv(strCsv);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(
        QString::fromUtf8(csv.readAll()),
        QStringLiteral("Item,Folder,Field,Current value,New value,Outcome\r\n"
                       "Ann Example,Contacts,Job Title,Leiterin,Chief,will change\r\n"
                       "Zo\u00eb \u00c5ngstr\u00f6m,Contacts,Job Title,,Chief,will change\r\n"));
    csv.remove();
  }

  // The rule bar ticks or unticks the rows whose column text meets the rule.
  void ticksByRule() {
    struct RuleStep {
      bool bStartTicked;
      const char* szColumn;
      RuleCondition nCondition;
      const char* szText;
      bool bCase;
      bool bTick;
      QList<bool> ticks;
    };
    const RuleStep steps[] = {
        {false, "Last Name", rcContains, "\u00c5NG", false, true, {false, false, true}},
        {false, "Last Name", rcContains, "\u00c5NG", true, true, {false, false, false}},
        {false, "Company", rcEmpty, "", false, true, {false, true, true}},
        {true, "First Name", rcEquals, "ann", false, false, {false, true, true}},
        {true, "First Name", rcEquals, "ann", true, false, {true, true, true}},
        {false, "Email", rcStartsWith, "ann@", false, true, {true, false, false}},
        {false, "Email", rcNotContains, "@", false, true, {false, true, true}},
        {true, "Title", rcNotEmpty, "", false, false, {false, true, true}},
    };
    PageRig rig(Kinds()[0], true);
    QVERIFY(rig.Ok());
    TfmRecordPage* pPage = rig.Page();
    for (const RuleStep& step : steps) {
      if (step.bStartTicked)
        pPage->SelectAll();
      else
        pPage->ClearAll();
      pPage->cbxRuleField->setCurrentText(QString::fromUtf8(step.szColumn));
      QCOMPARE(pPage->cbxRuleField->currentText(), QString::fromUtf8(step.szColumn));
      pPage->cbxRuleCondition->setCurrentIndex(step.nCondition);
      QCOMPARE(pPage->edtRuleText->isEnabled(), CxTickRule::TakesText(step.nCondition));
      pPage->edtRuleText->setText(QString::fromUtf8(step.szText));
      pPage->cbRuleCase->setChecked(step.bCase);
      (step.bTick ? pPage->btnTickWhere : pPage->btnUntickWhere)->click();
      QCOMPARE(rig.Ticks(), step.ticks);
    }
  }

  // A click on a column header sorts; the ticks stay with their items, and
  // leaving hands exactly the ticked ones over.
  void sortingKeepsTheTicks() {
    PageRig rig(Kinds()[0], true);
    QVERIFY(rig.Ok());
    void* pNobody = rig.Model()->RecordAt(1);
    rig.Model()->SetTicked(1, false);
    QHeaderView* pHeader = rig.Page()->List()->header();
    QTest::mouseClick(pHeader->viewport(), Qt::LeftButton, {},
                      QPoint(pHeader->sectionViewportPosition(1) + 5, pHeader->height() / 2));
    QCOMPARE(rig.RowTexts(0)[1], QStringLiteral("Example"));
    QCOMPARE(rig.RowTexts(1)[1], QStringLiteral("Nobody"));
    QCOMPARE(rig.Model()->RecordAt(1), pNobody);
    rig.Page()->List()->sortByColumn(1, Qt::DescendingOrder);
    QCOMPARE(rig.RowTexts(0)[1], QStringLiteral("\u00c5ngstr\u00f6m"));
    QCOMPARE(rig.Model()->RecordAt(1), pNobody);
    QCOMPARE(rig.Ticks(), (QList<bool>{true, false, true}));
    rig.Main()->GoToPage(4);
    QCOMPARE(PageRig::Handed(),
             (std::vector<void*>{rig.Model()->RecordAt(0), rig.Model()->RecordAt(2)}));
  }

  // With subfolders read, a last column names each item's folder.
  void subfoldersAddTheFolderColumn() {
    PageRig rig(Kinds()[1], true);
    QVERIFY(rig.Ok());
    QCOMPARE(rig.Model()->columnCount(), static_cast<int>(Kinds()[1].columns.size()));
    g_Settings.SubFolder = true;
    rig.Page()->UpdateData(false);
    g_Settings.SubFolder = false;
    const int nFolder = static_cast<int>(Kinds()[1].columns.size());
    QCOMPARE(rig.Model()->columnCount(), nFolder + 1);
    QCOMPARE(rig.Model()->headerData(nFolder, Qt::Horizontal).toString(), QStringLiteral("Folder"));
    QCOMPARE(rig.RowTexts(0)[nFolder], QStringLiteral("Calendar"));
    QCOMPARE(rig.Page()->cbxRuleField->itemText(nFolder), QStringLiteral("Folder"));
  }

  // With subfolders read, the page says from how many folders: empty ones
  // count, and so do folders that share a name.
  void foldersReadAreCounted_data() {
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<bool>("subfolders");
    QTest::addColumn<QString>("shown");  // none when empty
    const QByteArray tree = R"({"format": "olstore", "version": 1, "tasks": {
      "items": [{"Subject": "one"}, {"Subject": "two"}],
      "folders": [{"name": "Archive", "items": [{"Subject": "three"}],
                   "folders": [{"name": "Archive", "items": [{"Subject": "four"}]}]},
                  {"name": "Empty", "items": []}]}})";
    const QByteArray single = R"({"format": "olstore", "version": 1, "tasks": {
      "items": [{"Subject": "one"}]}})";
    QTest::newRow("subfolders") << tree << true << "4 items read from 4 folders.";
    QTest::newRow("one item, no subfolder") << single << true << "1 item read from 1 folder.";
    QTest::newRow("default folder only") << tree << false << "";
  }

  void foldersReadAreCounted() {
    QFETCH(QByteArray, document);
    QFETCH(bool, subfolders);
    QFETCH(QString, shown);
    PageRig rig(Kinds()[2], document, subfolders);
    g_Settings.SubFolder = false;
    QVERIFY(rig.Ok());
    QCOMPARE(rig.Page()->lblFolders->isVisible(), !shown.isEmpty());
    QCOMPARE(rig.Page()->lblFolders->text(), shown);
  }

  // Whatever the font, the look and the screen's scale (this test runs at
  // twice the scale too), every caption is shown whole.
  void noCaptionIsCut_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("look");
    QTest::addColumn<bool>("subfolders");
    for (size_t i = 0; i < Kinds().size(); ++i)
      for (bool bLook : {false, true})
        for (bool bSubFolders : {false, true})
          QTest::addRow("%s%s%s", Kinds()[i].szName, bLook ? ", program's look" : "",
                        bSubFolders ? ", with folders" : "")
              << static_cast<int>(i) << bLook << bSubFolders;
  }

  void noCaptionIsCut() {
    QFETCH(int, kind);
    QFETCH(bool, look);
    QFETCH(bool, subfolders);
    if (look) ApplyLook(*qApp);
    const auto plain = qScopeGuard([] { qApp->setStyleSheet(QString()); });
    PageRig rig(Kinds()[kind], QByteArray(), subfolders);
    g_Settings.SubFolder = false;
    QVERIFY(rig.Ok());
    QHeaderView* pHeader = rig.Page()->List()->header();
    QCOMPARE(pHeader->count(),
             static_cast<int>(Kinds()[kind].columns.size()) + (subfolders ? 1 : 0));
    for (int n = 0; n < pHeader->count(); ++n) {
      const QString strCut = CaptionCut(pHeader, n);
      QVERIFY2(strCut.isEmpty(), qPrintable(strCut));
    }
  }

  // The given widths keep their shares at any font size and grow with it; a
  // caption wider than its share widens its column instead of being cut.
  void columnsFollowTheFont_data() { AddKindRows(); }
  void columnsFollowTheFont() {
    QFETCH(int, kind);
    const KindCase& c = Kinds()[kind];
    PageRig rig(c, true);
    QVERIFY(rig.Ok());
    QTreeView* pList = rig.Page()->List();
    QHeaderView* pHeader = pList->header();
    const int nLast = pHeader->count() - 1;
    double dLastScale = 0;
    int nScales = 0;
    for (int nPoints : {6, 7, 8, 10, 14, 20}) {
      QFont font = pHeader->font();
      font.setPointSize(nPoints);
      pHeader->setFont(font);
      rig.Page()->UpdateData(false);
      // Every column in its given share, but those a caption widens and a
      // last one that ends where the list does.
      QList<int> shared;
      for (int n = 0; n <= nLast; ++n) {
        const bool bFitted = n == nLast && pHeader->sectionPosition(n) + pHeader->sectionSize(n) ==
                                               pList->viewport()->width();
        if (!bFitted && pHeader->sectionSize(n) > pHeader->sectionSizeHint(n)) shared << n;
      }
      if (shared.isEmpty()) continue;
      const double dScale = double(pHeader->sectionSize(shared[0])) / c.columns[shared[0]].nWidth;
      for (int n : shared)
        QVERIFY2(qAbs(pHeader->sectionSize(n) - c.columns[n].nWidth * dScale) <= 1.0,
                 qPrintable(QStringLiteral("%1 pt, column %2").arg(nPoints).arg(n)));
      QVERIFY2(dScale > dLastScale, qPrintable(QStringLiteral("%1 pt").arg(nPoints)));
      dLastScale = dScale;
      ++nScales;
    }
    QVERIFY(nScales >= 2);
  }

  // Columns wider than the list give the last column what is left, so a list
  // of one column never scrolls sideways, with a vertical scroll bar too.
  void lastColumnEndsWithTheList() {
    PageRig rig(Kinds()[3], ManyNotes(80), false);
    QVERIFY(rig.Ok());
    QTreeView* pList = rig.Page()->List();
    QVERIFY(pList->verticalScrollBar()->isVisible());
    QCOMPARE(pList->horizontalScrollBar()->maximum(), 0);
    QHeaderView* pHeader = pList->header();
    QCOMPARE(pHeader->sectionPosition(0) + pHeader->sectionSize(0), pList->viewport()->width());
    QVERIFY(CaptionCut(pHeader, 0).isEmpty());
  }

  // The user sizes the columns; his widths stay when the page is entered
  // again; a double-click on a divider fits the column to its texts.
  void userSizesTheColumns() {
    PageRig rig(Kinds()[0], true);
    QVERIFY(rig.Ok());
    QTreeView* pList = rig.Page()->List();
    QHeaderView* pHeader = pList->header();
    for (int n = 0; n < pHeader->count(); ++n)
      QCOMPARE(pHeader->sectionResizeMode(n), QHeaderView::Interactive);
    pHeader->resizeSection(1, 300);
    pHeader->resizeSection(2, 40);
    rig.Main()->GoToPage(2);
    rig.Main()->GoToPage(3);
    QCOMPARE(pHeader->sectionSize(1), 300);
    QCOMPARE(pHeader->sectionSize(2), 40);
    const QPoint divider(pHeader->sectionViewportPosition(2) + pHeader->sectionSize(2) - 1,
                         pHeader->height() / 2);
    QTest::mouseDClick(pHeader->viewport(), Qt::LeftButton, {}, divider);
    const int nFitted = pHeader->sectionSize(2);
    QVERIFY(nFitted > QFontMetrics(pList->font()).horizontalAdvance("ann@example.org"));
    pList->resizeColumnToContents(2);
    QCOMPARE(pHeader->sectionSize(2), nFitted);
  }

  // Every button the page shows inside the main window has a mnemonic of its own.
  void mnemonicsDoNotClash() {
    PageRig rig(Kinds()[0], true);
    QVERIFY(rig.Ok());
    QString strClash;
    const QMap<QChar, QString> seen = VisibleMnemonics(rig.Main(), &strClash);
    QVERIFY2(strClash.isEmpty(), qPrintable(strClash));
    QVERIFY(seen.contains(QLatin1Char('v')));
  }

  void leavingHandsExactlyTheTickedRecordsInListOrder_data() { AddKindRows(); }
  void leavingHandsExactlyTheTickedRecordsInListOrder() {
    QFETCH(int, kind);
    PageRig rig(Kinds()[kind], true);
    QVERIFY(rig.Ok());
    QTreeView* pList = rig.Page()->List();
    rig.Page()->ClearAll();
    // Tick the third row, then the first, with the keyboard as a user would.
    QTest::keyClick(pList, Qt::Key_Down);
    QTest::keyClick(pList, Qt::Key_Down);
    QTest::keyClick(pList, Qt::Key_Space);
    QTest::keyClick(pList, Qt::Key_Home);
    QTest::keyClick(pList, Qt::Key_Space);
    QCOMPARE(rig.Ticks(), (QList<bool>{true, false, true}));

    rig.Main()->GoToPage(4);
    QCOMPARE(rig.Main()->GetCurPage(), 4);
    QCOMPARE(PageRig::Handed(), (std::vector<void*>{rig.Model()->RecordAt(0), rig.Model()->RecordAt(2)}));
    QVERIFY(rig.Messages().isEmpty());
  }

  void goingBackFromTheRunPageAndOnAgainHandsEachRecordOnce_data() { AddKindRows(); }
  void goingBackFromTheRunPageAndOnAgainHandsEachRecordOnce() {
    QFETCH(int, kind);
    PageRig rig(Kinds()[kind], true);
    QVERIFY(rig.Ok());
    rig.Model()->SetTicked(1, false);
    rig.Main()->GoToPage(4);
    rig.Main()->GoToPage(3);
    // Going back shows the page as it was: the tick removed stays removed.
    QCOMPARE(rig.Ticks(), (QList<bool>{true, false, true}));
    rig.Main()->GoToPage(4);
    QCOMPARE(rig.Main()->GetCurPage(), 4);
    QCOMPARE(PageRig::Handed(), (std::vector<void*>{rig.Model()->RecordAt(0), rig.Model()->RecordAt(2)}));
  }

  void enteringAgainTicksEveryRowAgain_data() { AddKindRows(); }
  void enteringAgainTicksEveryRowAgain() {
    QFETCH(int, kind);
    PageRig rig(Kinds()[kind], true);
    QVERIFY(rig.Ok());
    rig.Page()->ClearAll();
    rig.SelectRow(2);
    QVERIFY(rig.Page()->UpdateData(false));
    QCOMPARE(rig.Ticks(), (QList<bool>{true, true, true}));
    QCOMPARE(rig.Page()->SelectedRecord(), rig.Model()->RecordAt(0));
  }

  void anEmptyFolderListsNothingAndCannotBeLeft_data() { AddKindRows(); }
  void anEmptyFolderListsNothingAndCannotBeLeft() {
    QFETCH(int, kind);
    const KindCase& c = Kinds()[kind];
    PageRig rig(c, false);
    QVERIFY(rig.Ok());
    QCOMPARE(rig.Model()->rowCount(), 0);
    QCOMPARE(rig.Page()->SelectedRecord(), nullptr);
    QVERIFY(!rig.Page()->UpdateData(true));
    QCOMPARE(rig.Messages().size(), 1);
    QCOMPARE(rig.Messages()[0].strText, QString::fromUtf8(c.szNoneTicked));
  }

  void detailsWithoutASelectedRowDoNothing_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("seeded");
    for (size_t i = 0; i < Kinds().size(); ++i) {
      QTest::addRow("%s, empty list", Kinds()[i].szName) << static_cast<int>(i) << false;
      QTest::addRow("%s, selection cleared", Kinds()[i].szName) << static_cast<int>(i) << true;
    }
  }
  void detailsWithoutASelectedRowDoNothing() {
    QFETCH(int, kind);
    QFETCH(bool, seeded);
    const KindCase& c = Kinds()[kind];
    PageRig rig(c, seeded);
    QVERIFY(rig.Ok());
    rig.Page()->List()->clearSelection();
    QCOMPARE(rig.Page()->SelectedRecord(), nullptr);
    QCOMPARE(RunClosingModals(c, [&] { QTest::mouseClick(rig.Page()->DetailButton(), Qt::LeftButton); }).nCount, 0);
    QCOMPARE(RunClosingModals(c, [&] { rig.Page()->DetailItem()->trigger(); }).nCount, 0);
  }

  void detailsShowTheSelectedRecordInTheKindsViewer_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("way");
    for (size_t i = 0; i < Kinds().size(); ++i)
      for (const char* szWay : {"button", "pop-up menu", "double-click"})
        QTest::addRow("%s, %s", Kinds()[i].szName, szWay) << static_cast<int>(i) << QString::fromUtf8(szWay);
  }
  void detailsShowTheSelectedRecordInTheKindsViewer() {
    QFETCH(int, kind);
    QFETCH(QString, way);
    const KindCase& c = Kinds()[kind];
    PageRig rig(c, true);
    QVERIFY(rig.Ok());
    QTreeView* pList = rig.Page()->List();
    rig.SelectRow(1);
    std::function<void()> fnOpen;
    if (way == "button") {
      fnOpen = [&rig] { QTest::mouseClick(rig.Page()->DetailButton(), Qt::LeftButton); };
    } else if (way == "pop-up menu") {
      fnOpen = [&rig] { rig.Page()->DetailItem()->trigger(); };
    } else {
      // Double-clicking a row selects it first: press, release, then the
      // second press that makes it a double-click.
      rig.SelectRow(0);
      const QPoint point = pList->visualRect(rig.Model()->index(1, 0)).center();
      fnOpen = [pList, point] {
        QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(pList->viewport(), Qt::LeftButton, {}, point);
      };
    }
    const ModalSeen seen = RunClosingModals(c, fnOpen);
    QCOMPARE(seen.nCount, 1);
    QCOMPARE(seen.pRecord, static_cast<const void*>(rig.Model()->RecordAt(1)));
    // The viewer is gone once it closed.
    QCOMPARE(rig.Page()->findChildren<QDialog*>().size(), 0);
  }

  void onlyTheTaskListTakesRetypedDescriptions_data() { AddKindRows(); }
  void onlyTheTaskListTakesRetypedDescriptions() {
    QFETCH(int, kind);
    const KindCase& c = Kinds()[kind];
    PageRig rig(c, true);
    QVERIFY(rig.Ok());
    const QModelIndex caption = rig.Model()->index(0, 0);
    QCOMPARE(rig.Model()->flags(caption).testFlag(Qt::ItemIsEditable), c.bCaptionEditable);
    QCOMPARE(rig.Model()->flags(rig.Model()->index(0, 1)).testFlag(Qt::ItemIsEditable), false);
    if (!c.bCaptionEditable) return;

    auto* pRecord = static_cast<const TaskRecord*>(rig.Model()->RecordAt(0));
    const QByteArray before(reinterpret_cast<const char*>(pRecord), sizeof(TaskRecord));
    QTreeView* pList = rig.Page()->List();
    QTest::keyClick(pList, Qt::Key_F2);
    auto* pEditor = pList->viewport()->findChild<QLineEdit*>();
    QVERIFY(pEditor);
    QCOMPARE(pEditor->text(), QStringLiteral("File taxes"));
    pEditor->selectAll();
    QTest::keyClicks(pEditor, QStringLiteral("Pay the taxes"));
    QTest::keyClick(pEditor, Qt::Key_Return);
    QApplication::processEvents();  // the editor hands its text over queued
    QCOMPARE(rig.Model()->index(0, 0).data().toString(), QStringLiteral("Pay the taxes"));
    QCOMPARE(rig.Model()->index(0, 1).data().toString(), QStringLiteral("03/15/2020"));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(pRecord), sizeof(TaskRecord)), before);

    // Leaving hands the record as read; entering again shows its own text.
    QVERIFY(rig.Page()->UpdateData(true));
    QCOMPARE(PageRig::Handed().front(), static_cast<void*>(const_cast<TaskRecord*>(pRecord)));
    QVERIFY(rig.Page()->UpdateData(false));
    QCOMPARE(rig.Model()->index(0, 0).data().toString(), QStringLiteral("File taxes"));
  }
};

QTEST_MAIN(RecordPageTest)
#include "RecordPage_test.moc"
