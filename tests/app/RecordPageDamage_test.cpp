// The selection pages over a store damaged on purpose: the list holds the
// items read before the damage, and above it the page says in red how many
// could be read and why no more; over a sound store it says nothing.
#include <QLabel>
#include <QTreeView>
#include <QtTest>
#include <iterator>
#include <memory>
#include <string>

#include "app/Apputil.h"
#include "app/Main.h"
#include "app/RecordPage.h"
#include "olstore/Store.h"
#include "support/AppTest.h"
#include "support/PassingPage.h"
#include "support/DamagedStore.h"
#include "support/TestStore.h"

namespace {

using olstore::ItemKind;

// Enough items for the items' b-tree to have many leaves.
constexpr int kItems = 300;

struct KindCase {
  const char* szName;
  int32_t nMode;
  TfmMain::PageWindow nWindow;
  ItemKind nItemKind;
  StoreValues values;  // of every item
};

const KindCase kKinds[] = {
    {"contacts", 1, TfmMain::pwAddrData, ItemKind::Contact, {{"LastName", std::string("Filler")}}},
    {"calendar",
     2,
     TfmMain::pwDateData,
     ItemKind::Appointment,
     {{"Subject", std::string("Filler")}, {"Start", 45000.375}, {"End", 45000.40625}}},
    {"tasks", 4, TfmMain::pwTaskData, ItemKind::Task, {{"Subject", std::string("Filler")}}},
    {"notes", 8, TfmMain::pwNoteData, ItemKind::Note, {{"Body", std::string("Filler")}}},
};

// Fills the store at strPath with kItems items of the kind and closes it.
bool SeedStore(const std::string& strPath, const KindCase& kind) {
  std::string strError;
  const std::shared_ptr<olstore::Store> pStore = olstore::Store::Open(strPath, strError);
  if (!pStore) return false;
  olstore::Transaction transaction(pStore->Db());
  const int64_t nFolder = pStore->DefaultFolder(olstore::Kind(kind.nItemKind).folder)->id;
  for (int i = 0; i < kItems; ++i) {
    olstore::ItemData item = olstore::NewItem(kind.nItemKind);
    item.folderId = nFolder;
    for (const auto& [strName, value] : kind.values)
      olstore::SetStoredValue(item, olstore::FindProperty(item.Info(), strName), value);
    if (!pStore->InsertItem(item)) return false;
  }
  return transaction.Commit();
}

}  // namespace

class RecordPageDamageTest : public QObject {
  Q_OBJECT

 private slots:
  void saysAboveTheListHowManyItemsCouldBeRead_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("damaged");
    for (size_t i = 0; i < std::size(kKinds); ++i) {
      QTest::addRow("%s, sound", kKinds[i].szName) << static_cast<int>(i) << false;
      QTest::addRow("%s, damaged", kKinds[i].szName) << static_cast<int>(i) << true;
    }
  }
  void saysAboveTheListHowManyItemsCouldBeRead() {
    QFETCH(int, kind);
    QFETCH(bool, damaged);
    const KindCase& c = kKinds[kind];
    ScopedDataHome home;
    UserRecorder user;
    const std::string strPath = home.StoreFile().toStdString();
    QVERIFY(SeedStore(strPath, c));
    if (damaged) QVERIFY(damage::DamageMiddleOf(strPath, "items"));
    const std::string strUntouched = damage::FileAndLog(strPath);
    TestStore store(strPath);
    QVERIFY2(store.IsOpen(), store.Error().c_str());

    std::unique_ptr<TfmMain> pMain(new TfmMain);
    pMain->setAttribute(Qt::WA_DeleteOnClose, false);
    pMain->SetPageWindow(TfmMain::pwUpdateField, new PassingPage);
    pMain->SetPageWindow(TfmMain::pwProc, new PassingPage);
    g_Settings.AppFlag = c.nMode;
    QVERIFY(pMain->OpenContext());
    auto* pPage = static_cast<TfmRecordPage*>(pMain->GetPageWindow(c.nWindow));
    pMain->GoToPage(3);
    QCOMPARE(pMain->GetCurPage(), 3);
    pMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(pMain.get()));

    const int nRows = pPage->Model()->rowCount();
    if (!damaged) {
      QCOMPARE(nRows, kItems);
      QVERIFY(!pPage->lblProblem->isVisible());
    } else {
      QVERIFY(nRows > 0 && nRows < kItems);
      QCOMPARE(pPage->lblProblem->text(),
               QStringLiteral("Only %1 items could be read: the store is damaged (database disk "
                              "image is malformed).")
                   .arg(nRows));
      QVERIFY(pPage->lblProblem->isVisible());
      QCOMPARE(pPage->lblProblem->property("role").toString(), QStringLiteral("bad"));
      QVERIFY(pPage->lblProblem->geometry().bottom() < pPage->List()->geometry().top());
    }
    pMain.reset();
    QCOMPARE(damage::FileAndLog(strPath), strUntouched);
  }
};

QTEST_MAIN(RecordPageDamageTest)
#include "RecordPageDamage_test.moc"
