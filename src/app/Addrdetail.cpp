#include "app/Addrdetail.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <span>

#include "app/AccessibleNames.h"
#include "app/DetailView.h"
#include "app/ProgramText.h"
#include "app/UiSeams.h"
#include "common/misc/CxDateTime.h"
#include "common/misc/WinUtil.h"
#include "common/records/CommRecordUtil.h"

namespace {

// A line edit, its label and the contact field (display key) it shows.
struct EditField {
  QLineEdit* TfmAddrDetail::*pEdit;
  const char* szLabel;
  int32_t nKey;
};

const EditField kNameFields[] = {
    {&TfmAddrDetail::edtFirst, "First Name:", 1},
    {&TfmAddrDetail::edtLast, "Last Name:", 3},
    {&TfmAddrDetail::edtCompany, "Company:", 53},
    {&TfmAddrDetail::edtTitle, "Job Title:", 55},
};

const EditField kPhoneFields[] = {
    {&TfmAddrDetail::edtBusiTel, "Business:", 25}, {&TfmAddrDetail::edtHomeTel, "Home:", 24},
    {&TfmAddrDetail::edtMobileTel, "Mobile:", 26}, {&TfmAddrDetail::edtOtherTel, "Other:", 27},
    {&TfmAddrDetail::edtEmail, "Email:", 37},      {&TfmAddrDetail::edtFax, "Fax:", 34},
    {&TfmAddrDetail::edtPager, "Pager:", 36},      {&TfmAddrDetail::edtMainTel, "Main:", 28},
};

const EditField kCategoryField[] = {
    {&TfmAddrDetail::edtCategory, "Category:", 75},
};

const EditField kCustomFields[] = {
    {&TfmAddrDetail::edtCustom1, "Custom 1:", 44}, {&TfmAddrDetail::edtCustom2, "Custom 2:", 45},
    {&TfmAddrDetail::edtCustom3, "Custom 3:", 46}, {&TfmAddrDetail::edtCustom4, "Custom 4:", 47},
    {&TfmAddrDetail::edtCustom5, "Custom 5:", 48}, {&TfmAddrDetail::edtCustom6, "Custom 6:", 49},
    {&TfmAddrDetail::edtCustom7, "Custom 7:", 50}, {&TfmAddrDetail::edtCustom8, "Custom 8:", 51},
    {&TfmAddrDetail::edtCustom9, "Custom 9:", 52},
};

const EditField kChatFields[] = {
    {&TfmAddrDetail::edtIM1, "IM 1:", 56},
    {&TfmAddrDetail::edtIM2, "IM 2:", 57},
    {&TfmAddrDetail::edtHomepage, "Home Page:", 41},
};

// One inner sheet of "Address": the street memo, then four lines in the
// order the sheet lists them.
struct AddressSheet {
  const char* szCaption;
  QPlainTextEdit* TfmAddrDetail::*pStreet;
  int32_t nStreetKey;
  EditField lines[4];
};

const AddressSheet kAddressSheets[] = {
    {"Business",
     &TfmAddrDetail::memBusiStreet,
     9,
     {{&TfmAddrDetail::edtBusiCity, "City:", 10},
      {&TfmAddrDetail::edtBusiState, "State:", 11},
      {&TfmAddrDetail::edtBusiCountry, "Country:", 13},
      {&TfmAddrDetail::edtBusiPostal, "Postal Code:", 12}}},
    {"Home",
     &TfmAddrDetail::memHomeStreet,
     14,
     {{&TfmAddrDetail::edtHomeCity, "City:", 15},
      {&TfmAddrDetail::edtHomeState, "State:", 16},
      {&TfmAddrDetail::edtHomePostal, "Postal Code:", 17},
      {&TfmAddrDetail::edtHomeCountry, "Country:", 18}}},
    {"Other",
     &TfmAddrDetail::memOtherStreet,
     19,
     {{&TfmAddrDetail::edtOtherCity, "City:", 20},
      {&TfmAddrDetail::edtOtherState, "State:", 21},
      {&TfmAddrDetail::edtOtherPostal, "Postal Code:", 22},
      {&TfmAddrDetail::edtOtherCountry, "Country:", 23}}},
};

// Every line edit filled from a field, whichever sheet it is on.
const std::span<const EditField> kEditTables[] = {
    kNameFields,        kPhoneFields,       kCategoryField,     kCustomFields, kChatFields,
    kAddressSheets[0].lines, kAddressSheets[1].lines, kAddressSheets[2].lines,
};

constexpr int32_t kNoteKey = 43;

// The display text of a contact field. The buffer must be larger than the
// largest field, the note.
QString ContactText(const AddrRecord* pRecord, int32_t nKey) {
  AddrDisplayField field;
  char szText[sizeof(AddrRecord::Note) + 1];
  if (!CommAddrMgr::FindDisplayField(nKey, &field) ||
      !CommAddrMgr::DisplayText(pRecord, &field, szText, sizeof szText))
    return QString();
  return FromProgramText(szText);
}

// The birthday as a date; empty for no date and for Outlook's "none" (4501).
QString BirthdayText(DATE dtBirthday) {
  if (!IsRealDate(dtBirthday)) return QString();
  CxDateTime birthday(&dtBirthday);
  char szDate[32];
  birthday.FormatDate(szDate, sizeof szDate);
  return FromProgramText(szDate);
}

void AddEditRows(TfmAddrDetail* pDialog, std::span<const EditField> fields, QFormLayout* pForm,
                 QWidget* pParent) {
  for (const EditField& field : fields) pDialog->*field.pEdit = AddEditRow(pForm, field.szLabel, pParent);
}

bool IsWebAddress(const QUrl& url) {
  const QString strScheme = url.scheme().toLower();
  return url.isValid() && !url.host().isEmpty() &&
         (strScheme == QLatin1String("http") || strScheme == QLatin1String("https") ||
          strScheme == QLatin1String("ftp"));
}

}  // namespace

TfmAddrDetail::TfmAddrDetail(QWidget* pParent) : QDialog(pParent), m_pRecord(nullptr) {
  setWindowTitle(QStringLiteral("Contact detail information"));

  pcAddr = new QTabWidget(this);
  pcAddr->setAccessibleName(windowTitle());
  tGeneral = BuildGeneral();
  tAddress = BuildAddress();
  tNotes = BuildNotes();
  tOther = BuildOther();
  pcAddr->addTab(tGeneral, QStringLiteral("General"));
  pcAddr->addTab(tAddress, QStringLiteral("Address"));
  pcAddr->addTab(tNotes, QStringLiteral("Notes"));
  pcAddr->addTab(tOther, QStringLiteral("Other Information"));
  pcAddr->setCurrentWidget(tGeneral);
  // Only the "General" sheet takes input (and drops it). The others show
  // their values read-only, so long texts can still be scrolled and the inner
  // address sheets switched, and ">>" stays within reach.
  MakeViewOnly(tAddress);
  MakeViewOnly(tNotes);
  MakeViewOnly(tOther);

  btnClose = FinishDialog(this, pcAddr, 586, 433);
}

QWidget* TfmAddrDetail::BuildGeneral() {
  auto* pSheet = new QWidget;
  QFormLayout* pNameForm = nullptr;
  QGroupBox* pName = NewFormGroup(" Name ", pSheet, &pNameForm);
  AddEditRows(this, kNameFields, pNameForm, pName);

  QFormLayout* pPhoneForm = nullptr;
  QGroupBox* pPhone = NewFormGroup(" Telephone Numbers ", pSheet, &pPhoneForm);
  AddEditRows(this, kPhoneFields, pPhoneForm, pPhone);

  auto* pBirthday = new QGroupBox(QStringLiteral(" Birthday "), pSheet);
  edtBirthday = new QLineEdit(pBirthday);
  edtBirthday->setAccessibleName(QStringLiteral("Birthday"));
  (new QVBoxLayout(pBirthday))->addWidget(edtBirthday);

  cbPrivate = new QCheckBox(QStringLiteral("Private"), pSheet);
  auto* pCategoryForm = new QFormLayout;
  AddEditRows(this, kCategoryField, pCategoryForm, pSheet);

  auto* pLeft = new QVBoxLayout;
  pLeft->addWidget(pName);
  pLeft->addWidget(pBirthday);
  pLeft->addWidget(cbPrivate);
  pLeft->addLayout(pCategoryForm);
  pLeft->addStretch();
  auto* pLayout = new QHBoxLayout(pSheet);
  pLayout->addLayout(pLeft, 1);
  pLayout->addWidget(pPhone, 1, Qt::AlignTop);
  return pSheet;
}

QWidget* TfmAddrDetail::BuildAddress() {
  auto* pSheet = new QWidget;
  pcAddress = new QTabWidget(pSheet);
  pcAddress->setAccessibleName(QStringLiteral("Addresses"));
  for (const AddressSheet& address : kAddressSheets) {
    auto* pInner = new QWidget;
    auto* pForm = new QFormLayout(pInner);
    QPlainTextEdit* pStreet = NewMemo(pInner);
    this->*address.pStreet = pStreet;
    pForm->addRow(QStringLiteral("Street:"), pStreet);
    AddEditRows(this, address.lines, pForm, pInner);
    pcAddress->addTab(pInner, QString::fromUtf8(address.szCaption));
  }
  pcAddress->setCurrentIndex(0);
  (new QVBoxLayout(pSheet))->addWidget(pcAddress);
  return pSheet;
}

QWidget* TfmAddrDetail::BuildNotes() {
  auto* pSheet = new QWidget;
  memNotes = NewMemo(pSheet);
  memNotes->setAccessibleName(QStringLiteral("Notes"));
  (new QVBoxLayout(pSheet))->addWidget(memNotes);
  return pSheet;
}

QWidget* TfmAddrDetail::BuildOther() {
  auto* pSheet = new QWidget;
  QFormLayout* pCustomForm = nullptr;
  QGroupBox* pCustom = NewFormGroup(" Custom Fields ", pSheet, &pCustomForm);
  AddEditRows(this, kCustomFields, pCustomForm, pCustom);

  QFormLayout* pChatForm = nullptr;
  QGroupBox* pChat = NewFormGroup(" Chat & Web ", pSheet, &pChatForm);
  AddEditRows(this, kChatFields, pChatForm, pChat);
  btnGo = new QPushButton(QStringLiteral(">>"), pChat);
  btnGo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  btnGo->setAccessibleName(QStringLiteral("Open the home page"));
  pChatForm->addRow(QString(), btnGo);
  connect(btnGo, &QPushButton::clicked, this, &TfmAddrDetail::btnGoClick);

  auto* pLayout = new QHBoxLayout(pSheet);
  pLayout->addWidget(pCustom, 1, Qt::AlignTop);
  pLayout->addWidget(pChat, 1, Qt::AlignTop);
  return pSheet;
}

void TfmAddrDetail::SetRecord(const AddrRecord* pRecord) {
  m_pRecord = pRecord;
  UpdateData(false);
}

bool TfmAddrDetail::UpdateData(bool bSave) {
  if (!m_pRecord) return false;
  if (!bSave) Fill();
  return true;
}

void TfmAddrDetail::Fill() {
  for (std::span<const EditField> table : kEditTables)
    for (const EditField& field : table) (this->*field.pEdit)->setText(ContactText(m_pRecord, field.nKey));
  for (const AddressSheet& address : kAddressSheets)
    (this->*address.pStreet)->setPlainText(ContactText(m_pRecord, address.nStreetKey));
  memNotes->setPlainText(ContactText(m_pRecord, kNoteKey));
  edtBirthday->setText(BirthdayText(m_pRecord->Birthday));
  cbPrivate->setChecked(m_pRecord->Private != 0);
}

void TfmAddrDetail::btnGoClick() {
  const QString strPage = edtHomepage->text().trimmed();
  if (strPage.isEmpty()) return;
  const QUrl url = QUrl::fromUserInput(strPage);
  if (!IsWebAddress(url)) {
    ShowMessageBox(this, QStringLiteral("The home page \"%1\" is not a web address.").arg(strPage),
                   QStringLiteral("Error"), QMessageBox::Critical);
    return;
  }
  ShellOpen(ToProgramText(url.toString(QUrl::FullyEncoded)).constData());
}
