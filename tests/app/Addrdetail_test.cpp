// The contact detail viewer: what it shows of a contact read from a seeded
// store, its birthday box, the home page button, and that nothing typed into
// it reaches the record or the store.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <cstring>
#include <memory>
#include <string>

#include "app/Addrdetail.h"
#include "common/outlook/OlAddr.h"
#include "support/AppTest.h"
#include "support/TestStore.h"

namespace {

using std::string;

const string kLongBody = "Notes " + string(3000, 'x');

// One contact as Outlook holds it, with values in fields the record never
// receives (pager) as well.
const StoreValues kContact = {
    {"FirstName", string("Ann")},
    {"LastName", string("Example")},
    {"CompanyName", string("Quill GmbH")},
    {"JobTitle", string("Leiterin")},
    {"BusinessTelephoneNumber", string("+49 30 100")},
    {"HomeTelephoneNumber", string("030 200")},
    {"MobileTelephoneNumber", string("0171 300")},
    {"OtherTelephoneNumber", string("0800 400")},
    {"Email1Address", string("ann@example.org")},
    {"BusinessFaxNumber", string("+49 30 109")},
    {"PagerNumber", string("555 0000")},
    {"PrimaryTelephoneNumber", string("+49 30 000")},
    {"Categories", string("Kunden, VIP")},
    {"BusinessAddressStreet", string("Hauptstr. 1\nHinterhaus")},
    {"BusinessAddressCity", string("Berlin")},
    {"BusinessAddressState", string("BE")},
    {"BusinessAddressCountry", string("Germany")},
    {"BusinessAddressPostalCode", string("10115")},
    {"HomeAddressStreet", string("Gartenweg 2")},
    {"HomeAddressCity", string("Potsdam")},
    {"HomeAddressState", string("BB")},
    {"HomeAddressPostalCode", string("14467")},
    {"HomeAddressCountry", string("Deutschland")},
    {"OtherAddressStreet", string("Postfach 3")},
    {"OtherAddressCity", string("Hamburg")},
    {"OtherAddressState", string("HH")},
    {"OtherAddressPostalCode", string("20095")},
    {"OtherAddressCountry", string("DE")},
    {"IMAddress", string("ann@chat.example")},
    {"BusinessHomePage", string("https://quill.example/ann")},
    {"Birthday", 31237.0},
    {"Body", kLongBody},
};

struct EditExpectation {
  QLineEdit* TfmAddrDetail::*pEdit;
  const char* szText;
};

const EditExpectation kEdits[] = {
    {&TfmAddrDetail::edtFirst, "Ann"},
    {&TfmAddrDetail::edtLast, "Example"},
    {&TfmAddrDetail::edtCompany, "Quill GmbH"},
    {&TfmAddrDetail::edtTitle, "Leiterin"},
    {&TfmAddrDetail::edtBusiTel, "+49 30 100"},
    {&TfmAddrDetail::edtHomeTel, "030 200"},
    {&TfmAddrDetail::edtMobileTel, "0171 300"},
    {&TfmAddrDetail::edtOtherTel, "0800 400"},
    {&TfmAddrDetail::edtEmail, "ann@example.org"},
    {&TfmAddrDetail::edtFax, "+49 30 109"},
    {&TfmAddrDetail::edtPager, ""},  // the record has no pager
    {&TfmAddrDetail::edtMainTel, "+49 30 000"},
    {&TfmAddrDetail::edtBirthday, "07/09/1985"},
    {&TfmAddrDetail::edtCategory, "Kunden, VIP"},
    {&TfmAddrDetail::edtBusiCity, "Berlin"},
    {&TfmAddrDetail::edtBusiState, "BE"},
    {&TfmAddrDetail::edtBusiCountry, "Germany"},
    {&TfmAddrDetail::edtBusiPostal, "10115"},
    {&TfmAddrDetail::edtHomeCity, "Potsdam"},
    {&TfmAddrDetail::edtHomeState, "BB"},
    {&TfmAddrDetail::edtHomePostal, "14467"},
    {&TfmAddrDetail::edtHomeCountry, "Deutschland"},
    {&TfmAddrDetail::edtOtherCity, "Hamburg"},
    {&TfmAddrDetail::edtOtherState, "HH"},
    {&TfmAddrDetail::edtOtherPostal, "20095"},
    {&TfmAddrDetail::edtOtherCountry, "DE"},
    // The record has no custom fields and no second chat address.
    {&TfmAddrDetail::edtCustom1, ""},
    {&TfmAddrDetail::edtCustom2, ""},
    {&TfmAddrDetail::edtCustom3, ""},
    {&TfmAddrDetail::edtCustom4, ""},
    {&TfmAddrDetail::edtCustom5, ""},
    {&TfmAddrDetail::edtCustom6, ""},
    {&TfmAddrDetail::edtCustom7, ""},
    {&TfmAddrDetail::edtCustom8, ""},
    {&TfmAddrDetail::edtCustom9, ""},
    {&TfmAddrDetail::edtIM1, "ann@chat.example"},
    {&TfmAddrDetail::edtIM2, ""},
    {&TfmAddrDetail::edtHomepage, "https://quill.example/ann"},
};

// The contact above, read by the contacts accessor from a fresh store.
class ReadContact {
 public:
  ReadContact() : m_store(m_home.StoreFile().toStdString()) {
    if (!m_store.IsOpen() || m_store.Add(olstore::ItemKind::Contact, kContact).empty()) return;
    m_pUtil = std::make_unique<OlAddrUtil>();
    if (!m_pUtil->ReadItems()) m_pUtil.reset();
  }
  ~ReadContact() { m_pUtil.reset(); }

  const AddrRecord* Record() const { return m_pUtil ? m_pUtil->GetContainer()->First() : nullptr; }
  TestStore& Store() { return m_store; }
  string FirstEntryID() const {
    const AddrRecord* pRecord = Record();
    return pRecord && pRecord->Image ? string(pRecord->Image->EntryID) : string();
  }

 private:
  ScopedDataHome m_home;
  TestStore m_store;
  std::unique_ptr<OlAddrUtil> m_pUtil;
};

std::unique_ptr<AddrRecord> EmptyRecord() {
  auto pRecord = std::make_unique<AddrRecord>();
  memset(pRecord.get(), 0, sizeof(AddrRecord));
  return pRecord;
}

}  // namespace

class AddrDetailTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheContactAsReadFromOutlook() {
    ReadContact contact;
    QVERIFY(contact.Record());
    TfmAddrDetail viewer;
    viewer.SetRecord(contact.Record());
    QCOMPARE(viewer.GetRecord(), contact.Record());
    for (const EditExpectation& edit : kEdits)
      QCOMPARE((viewer.*edit.pEdit)->text(), QString::fromUtf8(edit.szText));
    QCOMPARE(viewer.memBusiStreet->toPlainText(), QStringLiteral("Hauptstr. 1\nHinterhaus"));
    QCOMPARE(viewer.memHomeStreet->toPlainText(), QStringLiteral("Gartenweg 2"));
    QCOMPARE(viewer.memOtherStreet->toPlainText(), QStringLiteral("Postfach 3"));
    // Outlook's notes reach the record cut to the image's 2047 bytes.
    QCOMPARE(viewer.memNotes->toPlainText(), QString::fromStdString(kLongBody.substr(0, 2047)));
    QVERIFY(!viewer.cbPrivate->isChecked());
  }

  void privateIsTickedFromTheRecord() {
    auto pRecord = EmptyRecord();
    pRecord->Private = 1;
    TfmAddrDetail viewer;
    viewer.SetRecord(pRecord.get());
    QVERIFY(viewer.cbPrivate->isChecked());
  }

  void birthdayShowsTheDateOrNothing_data() {
    QTest::addColumn<double>("birthday");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a date") << 31237.0 << "07/09/1985";
    QTest::newRow("a date and time") << 45446.75 << "06/03/2024";
    QTest::newRow("before 1900") << -36522.0 << "01/01/1800";
    QTest::newRow("no date") << 0.0 << "";
    QTest::newRow("Outlook's no date, 1 January 4501") << 949998.0 << "";
    QTest::newRow("after Outlook's no date") << 1000000.0 << "";
  }
  void birthdayShowsTheDateOrNothing() {
    QFETCH(double, birthday);
    QFETCH(QString, shown);
    auto pRecord = EmptyRecord();
    pRecord->Birthday = birthday;
    TfmAddrDetail viewer;
    viewer.edtBirthday->setText(QStringLiteral("stale"));
    viewer.SetRecord(pRecord.get());
    QCOMPARE(viewer.edtBirthday->text(), shown);
  }

  void homePageButtonOpensOnlyWebAddresses_data() {
    QTest::addColumn<QString>("homePage");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<bool>("refused");
    QTest::newRow("https") << "https://quill.example/ann" << QStringList{"https://quill.example/ann"} << false;
    QTest::newRow("http with query") << "http://quill.example/?a=1&b=2"
                                     << QStringList{"http://quill.example/?a=1&b=2"} << false;
    QTest::newRow("bare host") << "www.quill.example" << QStringList{"http://www.quill.example"} << false;
    QTest::newRow("blanks around") << "  https://quill.example  " << QStringList{"https://quill.example"} << false;
    QTest::newRow("empty") << "" << QStringList{} << false;
    QTest::newRow("only blanks") << "   " << QStringList{} << false;
    QTest::newRow("a program") << "/usr/bin/xterm" << QStringList{} << true;
    QTest::newRow("a file link") << "file:///etc/passwd" << QStringList{} << true;
    QTest::newRow("a script link") << "javascript:alert(1)" << QStringList{} << true;
  }
  void homePageButtonOpensOnlyWebAddresses() {
    QFETCH(QString, homePage);
    QFETCH(QStringList, opened);
    QFETCH(bool, refused);
    UserRecorder user;
    auto pRecord = EmptyRecord();
    const QByteArray page = homePage.toUtf8();
    memcpy(pRecord->WorkHomePage, page.constData(), static_cast<size_t>(page.size()));
    TfmAddrDetail viewer;
    viewer.SetRecord(pRecord.get());
    QCOMPARE(viewer.edtHomepage->text(), homePage);
    QVERIFY(viewer.btnGo->isEnabled());
    QTest::mouseClick(viewer.btnGo, Qt::LeftButton);
    QCOMPARE(user.shellOpens, opened);
    QCOMPARE(user.messages.size(), refused ? 1 : 0);
    if (refused) {
      QCOMPARE(user.messages[0].strCaption, QStringLiteral("Error"));
      QVERIFY(user.messages[0].strText.contains(homePage));
    }
  }

  void onlyTheGeneralSheetTakesInput() {
    TfmAddrDetail viewer;
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Contact detail information"));
    const QStringList sheets = {"General", "Address", "Notes", "Other Information"};
    QCOMPARE(viewer.pcAddr->count(), sheets.size());
    for (int i = 0; i < sheets.size(); ++i) QCOMPARE(viewer.pcAddr->tabText(i), sheets[i]);
    QCOMPARE(viewer.pcAddr->currentWidget(), viewer.tGeneral);
    const QStringList addresses = {"Business", "Home", "Other"};
    for (int i = 0; i < addresses.size(); ++i) QCOMPARE(viewer.pcAddress->tabText(i), addresses[i]);
    QCOMPARE(viewer.pcAddress->currentIndex(), 0);

    for (QWidget* pSheet : {viewer.tGeneral, viewer.tAddress, viewer.tNotes, viewer.tOther}) {
      const bool bGeneral = pSheet == viewer.tGeneral;
      for (QLineEdit* pEdit : pSheet->findChildren<QLineEdit*>()) QCOMPARE(pEdit->isReadOnly(), !bGeneral);
      for (QPlainTextEdit* pMemo : pSheet->findChildren<QPlainTextEdit*>()) QVERIFY(pMemo->isReadOnly());
    }
    QVERIFY(viewer.cbPrivate->isEnabled());
    QVERIFY(viewer.pcAddress->isEnabled());
    QVERIFY(viewer.btnGo->isEnabled());
    QCOMPARE(viewer.btnGo->text(), QStringLiteral(">>"));
  }

  void typingIntoTheViewerChangesNothing() {
    ReadContact contact;
    QVERIFY(contact.Record());
    const string strEntryID = contact.FirstEntryID();
    const QByteArray before(reinterpret_cast<const char*>(contact.Record()), sizeof(AddrRecord));
    auto* pViewer = new TfmAddrDetail;
    pViewer->SetRecord(contact.Record());
    pViewer->show();
    pViewer->edtFirst->selectAll();
    QTest::keyClicks(pViewer->edtFirst, QStringLiteral("Berta"));
    QTest::keyClicks(pViewer->edtCategory, QStringLiteral(", Presse"));
    QCOMPARE(pViewer->edtFirst->text(), QStringLiteral("Berta"));
    QVERIFY(pViewer->UpdateData(true));
    QTest::mouseClick(pViewer->btnClose, Qt::LeftButton);
    QCOMPARE(pViewer->result(), static_cast<int>(QDialog::Rejected));
    QVERIFY(!pViewer->isVisible());
    delete pViewer;
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(contact.Record()), sizeof(AddrRecord)), before);
    QCOMPARE(contact.Store().Text(strEntryID, "FirstName"), string("Ann"));
    QCOMPARE(contact.Store().Text(strEntryID, "Categories"), string("Kunden, VIP"));
  }

  void withoutARecordThereIsNothingToShow() {
    TfmAddrDetail viewer;
    QCOMPARE(viewer.GetRecord(), nullptr);
    QVERIFY(!viewer.UpdateData(false));
    QVERIFY(!viewer.UpdateData(true));
    QCOMPARE(viewer.edtFirst->text(), QString());
  }
};

QTEST_MAIN(AddrDetailTest)
#include "Addrdetail_test.moc"
