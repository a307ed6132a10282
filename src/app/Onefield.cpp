#include "app/Onefield.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <climits>
#include <cmath>

#include "app/AccessibleNames.h"
#include "app/Apputil.h"
#include "app/Context.h"
#include "app/Look.h"
#include "app/ProgramText.h"
#include "app/UiSeams.h"
#include "common/misc/CxList.h"
#include "common/misc/CxText.h"
#include "update/CxUpdateText.h"
#include "platform/win32.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"

namespace {

constexpr int kClientWidth = 465;
constexpr int kClientHeight = 466;
// The definition's texts hold 255 bytes; the edits stop at as many characters
// and the store cuts the bytes.
constexpr int kMaxTextLength = 255;

const char* const kValueCaption = "Set the value of this field as:";
const char* const kPositionHint =
    "Counts characters from 0, the first one. A position at or past the end leaves the text as "
    "it is.";

// The field catalogue of each mode.
struct ModeCatalogue {
  int32_t nMode;
  int32_t (*pGetFieldCount)();
  const FieldDescriptor* (*pGetFieldAt)(int32_t nIndex);
};
const ModeCatalogue kCatalogues[] = {
    {1, &CxQMOLAddrUtil::GetFieldCount, &CxQMOLAddrUtil::GetFieldAt},
    {2, &CxQMOLDateUtil::GetFieldCount, &CxQMOLDateUtil::GetFieldAt},
    {4, &CxQMOLTaskUtil::GetFieldCount, &CxQMOLTaskUtil::GetFieldAt},
    {8, &CxQMOLNoteUtil::GetFieldCount, &CxQMOLNoteUtil::GetFieldAt},
};

const ModeCatalogue* CatalogueOfMode(int32_t nMode) {
  for (const ModeCatalogue& catalogue : kCatalogues)
    if (catalogue.nMode == nMode) return &catalogue;
  return nullptr;
}

bool IsFieldDefined(int32_t nFieldID) {
  if (!g_pFieldList) return false;
  for (void* pItem = g_pFieldList->GetFirst(); pItem; pItem = g_pFieldList->GetNext())
    if (static_cast<const FieldUpdateDef*>(pItem)->nFieldID == nFieldID) return true;
  return false;
}

// An unbounded spin edit of plain digits. Text that is not a whole number
// counts as 0, also when the edit loses the focus (a plain spin box would
// bring back its previous value, which the user no longer sees).
class TxSpinEdit : public QSpinBox {
 public:
  explicit TxSpinEdit(QWidget* pParent) : QSpinBox(pParent) {
    setRange(INT_MIN, INT_MAX);
    setValue(0);
  }

 protected:
  // No group separators: the locale's formatting would put them into the
  // smallest value and the text would no longer read as a number.
  QString textFromValue(int nValue) const override { return QString::number(nValue); }
  void fixup(QString& strInput) const override {
    bool bNumber = false;
    strInput.toInt(&bNumber);
    if (!bNumber) strInput = QStringLiteral("0");
  }
};

int32_t SpinValue(const QSpinBox* pSpin) {
  bool bNumber = false;
  const int nValue = pSpin->cleanText().toInt(&bNumber);
  return bNumber ? nValue : 0;
}

void StoreText(char (&szField)[256], const QLineEdit* pEdit) {
  CopyText(szField, sizeof szField, ToProgramText(pEdit->text()).constData());
}

// The short date of the user's locale, but always with the whole year: the
// picker must be able to show any day an automation date can hold.
QString ShortDateFormat() {
  QString strFormat = QLocale().dateFormat(QLocale::ShortFormat);
  if (!strFormat.contains(QStringLiteral("yyyy")))
    strFormat.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
  return strFormat;
}

}  // namespace

TfmOneField::TfmOneField(QWidget* pParent) : QDialog(pParent), m_pDefinition(nullptr) {
  BuildWindow();
  // Every operation is listed with the controls it reads and writes, so that
  // filling, enabling, checking and storing follow one table.
  m_Operations[0] = {rbtnSet, uoSet, edtSetValue, nullptr, nullptr, nullptr, nullptr};
  m_Operations[1] = {rbtnAppend, uoAppend, edtAppendValue, nullptr, nullptr, edtAppendValue,
                     "The append string value can not be empty. Please enter some content."};
  m_Operations[2] = {rbtnInsert, uoInsert, edtInsertValue, nullptr, edtPosition, edtInsertValue,
                     "The insert string value can not be empty. Please enter some content."};
  m_Operations[3] = {rbtnReplace, uoReplace, edtReplaceDest, edtReplaceSource, nullptr,
                     edtReplaceSource,
                     "The replace find value can not be empty. Please enter some content."};
  for (const StringOperation& operation : m_Operations)
    connect(operation.pRadio, &QRadioButton::clicked, this, &TfmOneField::rbtnOperationClick);
  connect(cbName, &QComboBox::currentIndexChanged, this, &TfmOneField::cbNameChange);
  for (QLineEdit* pEdit : {edtSetValue, edtAppendValue})
    connect(pEdit, &QLineEdit::textChanged, this, &TfmOneField::ShowCutWarning);
  connect(btnOK, &QPushButton::clicked, this, &TfmOneField::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  NameControls(this);
}

void TfmOneField::BuildWindow() {
  setObjectName(QStringLiteral("fmOneField"));
  setWindowTitle(QStringLiteral("Field Property"));
  setStyleSheet(QStringLiteral(R"(
QFrame#pHeader { background: #ffffff; border-bottom: 1px solid #b5cbe8; }
QLabel#lblTitle { font-weight: bold; color: #17406f; }
QLineEdit#edtType { background: #e3f5df; }
QLineEdit:disabled, QSpinBox:disabled { background: #e4e8ed; color: #8d9aa8; }
)"));

  auto* pHeader = new QFrame(this);
  pHeader->setObjectName(QStringLiteral("pHeader"));
  lblTitle = new QLabel(QStringLiteral("Please specify the details of the field to be updating."),
                        pHeader);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  QFont titleFont = lblTitle->font();
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);
  lblTitle->setWordWrap(true);
  auto* pHeaderRow = new QHBoxLayout(pHeader);
  pHeaderRow->setContentsMargins(16, 14, 16, 14);
  pHeaderRow->addWidget(lblTitle);

  Label1 = new QLabel(QStringLiteral("Field Name:"), this);
  cbName = new QComboBox(this);
  cbName->setObjectName(QStringLiteral("cbName"));
  Label10 = new QLabel(QStringLiteral("Description:"), this);
  lblDesc = new QLabel(QStringLiteral("<Empty>"), this);
  lblDesc->setObjectName(QStringLiteral("lblDesc"));
  lblDesc->setTextFormat(Qt::PlainText);
  lblDesc->setWordWrap(true);
  Label2 = new QLabel(QStringLiteral("Field Type:"), this);
  edtType = new QLineEdit(this);
  edtType->setObjectName(QStringLiteral("edtType"));
  edtType->setReadOnly(true);
  auto* pField = new QGridLayout;
  pField->setHorizontalSpacing(10);
  pField->setVerticalSpacing(8);
  Label1->setBuddy(cbName);
  Label2->setBuddy(edtType);
  pField->addWidget(Label1, 0, 0);
  pField->addWidget(cbName, 0, 1);
  pField->addWidget(Label10, 1, 0, Qt::AlignTop);
  pField->addWidget(lblDesc, 1, 1);
  pField->addWidget(Label2, 2, 0);
  pField->addWidget(edtType, 2, 1);
  pField->setColumnStretch(1, 1);

  pDetail = new QTabWidget(this);
  pDetail->setObjectName(QStringLiteral("pDetail"));
  pDetail->setAccessibleName(QStringLiteral("Updating Details"));
  tString = BuildStringPage();
  edtIntValue = new TxSpinEdit(this);
  edtIntValue->setObjectName(QStringLiteral("edtIntValue"));
  tInteger = BuildValuePage(edtIntValue);
  cbBoolValue = new QComboBox(this);
  cbBoolValue->setObjectName(QStringLiteral("cbBoolValue"));
  tBool = BuildValuePage(cbBoolValue);
  cbEnumValue = new QComboBox(this);
  cbEnumValue->setObjectName(QStringLiteral("cbEnumValue"));
  tEnum = BuildValuePage(cbEnumValue);
  pDate = new QDateEdit(this);
  pDate->setObjectName(QStringLiteral("pDate"));
  pDate->setDisplayFormat(ShortDateFormat());
  pDate->setCalendarPopup(true);
  // The days an automation date can hold.
  pDate->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
  pTime = new QTimeEdit(this);
  pTime->setObjectName(QStringLiteral("pTime"));
  // To the second, as automation dates are kept.
  pTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  pTime->setAccessibleName(QStringLiteral("Time"));
  tDateTime = BuildValuePage(pDate, pTime);
  for (QWidget* pPage : {tString, tInteger, tBool, tEnum, tDateTime}) {
    const int nIndex = pDetail->addTab(pPage, QStringLiteral("Updating Details"));
    // No page until a field is chosen.
    pDetail->setTabVisible(nIndex, false);
  }
  tString->setObjectName(QStringLiteral("tString"));
  tInteger->setObjectName(QStringLiteral("tInteger"));
  tBool->setObjectName(QStringLiteral("tBool"));
  tEnum->setObjectName(QStringLiteral("tEnum"));
  tDateTime->setObjectName(QStringLiteral("tDateTime"));

  btnOK = new QPushButton(QStringLiteral("&OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setDefault(true);
  btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  auto* pButtons = new QHBoxLayout;
  pButtons->addStretch();
  pButtons->addWidget(btnOK);
  pButtons->addWidget(btnCancel);

  auto* pBody = new QVBoxLayout;
  pBody->setContentsMargins(16, 12, 16, 12);
  pBody->setSpacing(12);
  pBody->addLayout(pField);
  pBody->addWidget(pDetail, 1);
  pBody->addLayout(pButtons);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(0, 0, 0, 0);
  pLayout->setSpacing(0);
  pLayout->addWidget(pHeader);
  pLayout->addLayout(pBody, 1);

  setFixedSize(kClientWidth, kClientHeight);
  if (QScreen* pScreen = screen()) {
    const QRect desktop = pScreen->availableGeometry();
    move(desktop.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
}

QWidget* TfmOneField::BuildStringPage() {
  auto* pPage = new QWidget(this);
  auto MakeEdit = [pPage](const char* szName) {
    auto* pEdit = new QLineEdit(pPage);
    pEdit->setObjectName(QString::fromUtf8(szName));
    pEdit->setMaxLength(kMaxTextLength);
    return pEdit;
  };
  auto MakeRadio = [pPage](const char* szCaption, const char* szName) {
    // One parent makes the four radios one exclusive group.
    auto* pRadio = new QRadioButton(QString::fromUtf8(szCaption), pPage);
    pRadio->setObjectName(QString::fromUtf8(szName));
    return pRadio;
  };
  rbtnSet = MakeRadio(kValueCaption, "rbtnSet");
  edtSetValue = MakeEdit("edtSetValue");
  rbtnAppend = MakeRadio("Append ", "rbtnAppend");
  edtAppendValue = MakeEdit("edtAppendValue");
  rbtnInsert = MakeRadio("Insert", "rbtnInsert");
  edtInsertValue = MakeEdit("edtInsertValue");
  edtPosition = new TxSpinEdit(pPage);
  edtPosition->setObjectName(QStringLiteral("edtPosition"));
  lblPositionHint = new QLabel(QString::fromUtf8(kPositionHint), pPage);
  lblPositionHint->setWordWrap(true);
  SetRole(lblPositionHint, "hint");
  edtPosition->setToolTip(QString::fromUtf8(kPositionHint));
  lblCutWarning = new QLabel(pPage);
  lblCutWarning->setWordWrap(true);
  SetRole(lblCutWarning, "bad");
  rbtnReplace = MakeRadio("Replace", "rbtnReplace");
  edtReplaceSource = MakeEdit("edtReplaceSource");
  edtReplaceDest = MakeEdit("edtReplaceDest");

  // Each text box is read out by the operation its radio button names.
  const std::pair<QLineEdit*, QRadioButton*> operations[] = {{edtSetValue, rbtnSet},
                                                             {edtAppendValue, rbtnAppend},
                                                             {edtInsertValue, rbtnInsert},
                                                             {edtReplaceSource, rbtnReplace}};
  for (const auto& [pEdit, pRadio] : operations)
    pEdit->setAccessibleName(ReadableCaption(pRadio->text()));
  edtReplaceDest->setAccessibleName(QStringLiteral("Replace with"));

  auto* pGrid = new QGridLayout(pPage);
  pGrid->setContentsMargins(12, 12, 12, 12);
  pGrid->setHorizontalSpacing(8);
  pGrid->setVerticalSpacing(10);
  pGrid->addWidget(rbtnSet, 0, 0, 1, 4);
  pGrid->addWidget(edtSetValue, 1, 0, 1, 4);
  pGrid->addWidget(rbtnAppend, 2, 0);
  pGrid->addWidget(edtAppendValue, 2, 1);
  pGrid->addWidget(new QLabel(QStringLiteral("to the end of the field."), pPage), 2, 2, 1, 2);
  pGrid->addWidget(rbtnInsert, 3, 0);
  pGrid->addWidget(edtInsertValue, 3, 1);
  pGrid->addWidget(NewLabelFor(QStringLiteral("at field position"), edtPosition, pPage), 3, 2);
  pGrid->addWidget(edtPosition, 3, 3);
  pGrid->addWidget(lblPositionHint, 4, 1, 1, 3);
  pGrid->addWidget(rbtnReplace, 5, 0);
  pGrid->addWidget(edtReplaceSource, 5, 1);
  pGrid->addWidget(new QLabel(QStringLiteral("with"), pPage), 5, 2, Qt::AlignRight);
  pGrid->addWidget(edtReplaceDest, 5, 3);
  pGrid->addWidget(lblCutWarning, 6, 0, 1, 4);
  pGrid->setColumnStretch(1, 1);
  pGrid->setColumnStretch(3, 1);
  pGrid->setRowStretch(7, 1);
  return pPage;
}

QWidget* TfmOneField::BuildValuePage(QWidget* pValue, QWidget* pSecond) {
  auto* pPage = new QWidget(this);
  auto* pRow = new QHBoxLayout;
  pRow->addWidget(pValue, 1);
  if (pSecond) pRow->addWidget(pSecond, 1);
  pRow->addStretch(1);
  auto* pLayout = new QVBoxLayout(pPage);
  pLayout->setContentsMargins(12, 12, 12, 12);
  pLayout->setSpacing(10);
  pLayout->addWidget(NewLabelFor(QString::fromUtf8(kValueCaption), pValue, pPage));
  pLayout->addLayout(pRow);
  pLayout->addStretch();
  pValue->setParent(pPage);
  if (pSecond) pSecond->setParent(pPage);
  return pPage;
}

void TfmOneField::SetTitle(const QString& strTitle) { lblTitle->setText(strTitle); }

bool TfmOneField::UpdateData(bool bSave) {
  if (!m_pDefinition) return false;
  if (bSave) {
    const FieldDescriptor* pField = ChosenField();
    if (!pField) {
      ShowMessageBox(this, QStringLiteral("No field information is selected."),
                     QStringLiteral("Error"), QMessageBox::Critical);
      return false;
    }
    // Everything the chosen type does not use stays zero.
    FieldUpdateDef def;
    memset(&def, 0, sizeof def);
    def.nFieldID = pField->nFieldID;
    switch (pField->nType) {
      case ftString:
        if (!StoreStringPage(def)) return false;
        break;
      case ftInteger: def.nValue = SpinValue(edtIntValue); break;
      case ftBoolean: def.bValue = cbBoolValue->currentIndex() == 0 ? 1 : 0; break;
      case ftDate: StoreDatePage(def, false); break;
      case ftDateTime: StoreDatePage(def, true); break;
      case ftEnumeration: StoreEnumPage(def, *pField); break;
      default: break;
    }
    memcpy(m_pDefinition, &def, sizeof def);
    return true;
  }

  int nChosen = -1;
  {
    // The chosen field is shown once, after the list is complete.
    const QSignalBlocker blocker(cbName);
    cbName->clear();
    const bool bExisting = m_pDefinition->nFieldID != -1;
    if (const ModeCatalogue* pCatalogue = CatalogueOfMode(g_Settings.AppFlag)) {
      const int32_t nCount = pCatalogue->pGetFieldCount();
      for (int32_t nIndex = 0; nIndex < nCount; ++nIndex) {
        const FieldDescriptor* pField = pCatalogue->pGetFieldAt(nIndex);
        // A new definition offers only the fields that have none yet.
        if (!pField || (!bExisting && IsFieldDefined(pField->nFieldID))) continue;
        cbName->addItem(FieldText(pField->szName),
                        QVariant::fromValue(reinterpret_cast<quintptr>(pField)));
        if (pField->nFieldID == m_pDefinition->nFieldID) nChosen = cbName->count() - 1;
      }
    }
    if (!bExisting && cbName->count() > 0) nChosen = 0;
    cbName->setCurrentIndex(nChosen);
  }
  cbNameChange();
  return true;
}

const FieldDescriptor* TfmOneField::ChosenField() const {
  const int nIndex = cbName->currentIndex();
  if (nIndex < 0) return nullptr;
  return reinterpret_cast<const FieldDescriptor*>(cbName->itemData(nIndex).value<quintptr>());
}

QWidget* TfmOneField::PageOfType(int32_t nType) const {
  switch (nType) {
    case ftString: return tString;
    case ftInteger: return tInteger;
    case ftBoolean: return tBool;
    case ftEnumeration: return tEnum;
    case ftDate:
    case ftDateTime: return tDateTime;
    default: return nullptr;
  }
}

const TfmOneField::StringOperation* TfmOneField::CheckedOperation() const {
  for (const StringOperation& operation : m_Operations)
    if (operation.pRadio->isChecked()) return &operation;
  return nullptr;
}

void TfmOneField::cbNameChange() {
  const FieldDescriptor* pField = ChosenField();
  if (!pField || !m_pDefinition) return;
  lblDesc->setText(FieldText(pField->szDesc));
  edtType->setText(FromProgramText(GetFieldTypeName(pField->nType)));

  for (int nIndex = 0; nIndex < pDetail->count(); ++nIndex) pDetail->setTabVisible(nIndex, false);
  if (QWidget* pPage = PageOfType(pField->nType)) {
    const int nIndex = pDetail->indexOf(pPage);
    pDetail->setTabVisible(nIndex, true);
    pDetail->setCurrentIndex(nIndex);
  }

  switch (pField->nType) {
    case ftString: FillStringPage(); break;
    case ftInteger: edtIntValue->setValue(m_pDefinition->nValue); break;
    case ftBoolean:
      cbBoolValue->clear();
      cbBoolValue->addItem(QString::fromUtf8(kTrueText));
      cbBoolValue->addItem(QString::fromUtf8(kFalseText));
      cbBoolValue->setCurrentIndex(m_pDefinition->bValue ? 0 : 1);
      break;
    case ftDate: FillDatePage(false); break;
    case ftDateTime: FillDatePage(true); break;
    case ftEnumeration: FillEnumPage(*pField); break;
    default: break;
  }
}

void TfmOneField::FillStringPage() {
  // Whatever was typed for another field goes: the page shows the definition.
  for (QLineEdit* pEdit :
       {edtSetValue, edtAppendValue, edtInsertValue, edtReplaceSource, edtReplaceDest})
    pEdit->clear();
  edtPosition->setValue(0);

  // Operation 0 (a new definition) and anything unknown show as Set.
  const StringOperation* pShown = &m_Operations[0];
  for (const StringOperation& operation : m_Operations)
    if (operation.nOperation == m_pDefinition->nOperation) pShown = &operation;
  pShown->pRadio->setChecked(true);
  pShown->pValue->setText(FieldText(m_pDefinition->szValue));
  if (pShown->pSearch)
    pShown->pSearch->setText(FieldText(m_pDefinition->szSearch));
  if (pShown->pPosition) pShown->pPosition->setValue(m_pDefinition->nPosition);
  rbtnOperationClick();
}

void TfmOneField::rbtnOperationClick() {
  const StringOperation* pChecked = CheckedOperation();
  for (const StringOperation& operation : m_Operations) {
    const bool bEnabled = &operation == pChecked;
    operation.pValue->setEnabled(bEnabled);
    if (operation.pSearch) operation.pSearch->setEnabled(bEnabled);
    if (operation.pPosition) operation.pPosition->setEnabled(bEnabled);
  }
  ShowCutWarning();
}

void TfmOneField::ShowCutWarning() {
  const FieldDescriptor* pField = ChosenField();
  const StringOperation* pChecked = CheckedOperation();
  QString strWarning;
  if (pField && pField->nType == ftString && pField->nMaxLength > 0 && pChecked &&
      (pChecked->nOperation == uoSet || pChecked->nOperation == uoAppend)) {
    // The field keeps its text in the program's own encoding, with a terminating zero.
    const qsizetype nBytes = ToProgramText(pChecked->pValue->text()).size();
    if (nBytes > static_cast<qsizetype>(pField->nMaxLength) - 1)
      strWarning =
          QStringLiteral("This field holds %1 bytes; the text has %2 and will be cut to fit.")
              .arg(pField->nMaxLength - 1)
              .arg(nBytes);
  }
  lblCutWarning->setText(strWarning);
  lblCutWarning->setVisible(!strWarning.isEmpty());
}

void TfmOneField::FillDatePage(bool bWithTime) {
  const double dtValue = m_pDefinition->dtValue;
  SYSTEMTIME st;
  const bool bConverted = VariantTimeToSystemTime(dtValue, &st) != 0;
  // Near 0 means no date yet: offer today. Days before 30 December 1899 are
  // negative and are shown as they are.
  if (bConverted && std::fabs(dtValue) >= 0.001)
    pDate->setDate(QDate(st.wYear, st.wMonth, st.wDay));
  else
    pDate->setDate(QDate::currentDate());
  pTime->setVisible(bWithTime);
  if (bWithTime) pTime->setTime(bConverted ? QTime(st.wHour, st.wMinute, st.wSecond) : QTime(0, 0));
}

void TfmOneField::FillEnumPage(const FieldDescriptor& field) {
  cbEnumValue->clear();
  const int32_t nCount = qBound(0, field.nEnumCount, kMaxEnumCount);
  for (int32_t nIndex = 0; nIndex < nCount; ++nIndex)
    cbEnumValue->addItem(FieldText(field.szEnumTexts[nIndex]));
  if (nCount > 0) cbEnumValue->setCurrentIndex(0);
  for (int32_t nIndex = 0; nIndex < nCount; ++nIndex) {
    if (field.nEnumValues[nIndex] == m_pDefinition->nValue) {
      cbEnumValue->setCurrentIndex(nIndex);
      break;
    }
  }
}

bool TfmOneField::StoreStringPage(FieldUpdateDef& def) {
  const StringOperation* pChecked = CheckedOperation();
  // No operation chosen stores operation 0, which leaves the field alone.
  if (!pChecked) return true;
  if (pChecked->pRequired && pChecked->pRequired->text().isEmpty()) {
    ShowMessageBox(this, QString::fromUtf8(pChecked->szEmptyMessage), QStringLiteral("Error"),
                   QMessageBox::Critical);
    pChecked->pRequired->setFocus();
    return false;
  }
  def.nOperation = pChecked->nOperation;
  StoreText(def.szValue, pChecked->pValue);
  if (pChecked->pSearch) StoreText(def.szSearch, pChecked->pSearch);
  if (pChecked->pPosition) def.nPosition = SpinValue(pChecked->pPosition);
  return true;
}

void TfmOneField::StoreDatePage(FieldUpdateDef& def, bool bWithTime) const {
  const QDate day = pDate->date();
  const QTime time = bWithTime ? pTime->time() : QTime(0, 0);
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(day.year());
  st.wMonth = static_cast<WORD>(day.month());
  st.wDayOfWeek = static_cast<WORD>(day.dayOfWeek() % 7);
  st.wDay = static_cast<WORD>(day.day());
  st.wHour = static_cast<WORD>(time.hour());
  st.wMinute = static_cast<WORD>(time.minute());
  st.wSecond = static_cast<WORD>(time.second());
  double dtValue = 0.0;
  // The picker's range keeps the day inside what the conversion accepts.
  if (!SystemTimeToVariantTime(&st, &dtValue)) return;
  def.dtValue = dtValue;
  def.nHasDate = 1;
}

void TfmOneField::StoreEnumPage(FieldUpdateDef& def, const FieldDescriptor& field) const {
  const int nIndex = cbEnumValue->currentIndex();
  if (nIndex >= 0 && nIndex < qBound(0, field.nEnumCount, kMaxEnumCount))
    def.nValue = field.nEnumValues[nIndex];
}

void TfmOneField::btnOKClick() {
  if (UpdateData(true)) accept();
}
