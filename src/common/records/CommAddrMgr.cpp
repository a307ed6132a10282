#include "common/records/CommAddrMgr.h"

#include <cstddef>
#include <cstring>

#include "common/records/CommRecordUtil.h"

namespace {

// One display field together with where it lives in the record and, when
// MakeRecord fills it, the image field it comes from.
struct AddrSlot {
  AddrDisplayField Field;
  size_t nOffset;
  size_t nImageOffset;
  size_t nImageSize;  // 0: not filled from the image
};

#define ADDR_FIELD(key, label, type, member) \
  {{key, label, type, sizeof(AddrRecord::member)}, offsetof(AddrRecord, member), 0, 0}
#define ADDR_FROM(key, label, type, member, source)                                     \
  {{key, label, type, sizeof(AddrRecord::member)}, offsetof(AddrRecord, member),       \
   offsetof(AddrImage, source), sizeof(AddrImage::source)}

// In key order but for 41/40, 55/54 and 67/66, which follow the record's layout.
const AddrSlot kSlots[] = {
    ADDR_FROM(1, "First Name", aftText, FirstName, FirstName),
    ADDR_FROM(2, "Middle Name", aftText, MiddleName, MiddleName),
    ADDR_FROM(3, "Last Name", aftText, LastName, LastName),
    ADDR_FROM(4, "Prefix", aftText, Prefix, Initials),
    ADDR_FROM(5, "Suffix", aftText, Suffix, Suffix),
    ADDR_FROM(6, "Nick Name", aftText, NickName, NickName),
    ADDR_FROM(7, "Display Name", aftText, DisplayName, FullName),
    ADDR_FIELD(8, "Gender", aftCode, Gender),
    ADDR_FROM(9, "(Work) Street", aftText, WorkStreet, BusinessAddressStreet),
    ADDR_FROM(10, "(Work) City", aftText, WorkCity, BusinessAddressCity),
    ADDR_FROM(11, "(Work) State", aftText, WorkState, BusinessAddressState),
    ADDR_FROM(12, "(Work) Postal", aftText, WorkPostal, BusinessAddressPostalCode),
    ADDR_FROM(13, "(Work) Country", aftText, WorkCountry, BusinessAddressCountry),
    ADDR_FROM(14, "(Home) Street", aftText, HomeStreet, HomeAddressStreet),
    ADDR_FROM(15, "(Home) City", aftText, HomeCity, HomeAddressCity),
    ADDR_FROM(16, "(Home) State", aftText, HomeState, HomeAddressState),
    ADDR_FROM(17, "(Home) Postal", aftText, HomePostal, HomeAddressPostalCode),
    ADDR_FROM(18, "(Home) Country", aftText, HomeCountry, HomeAddressCountry),
    ADDR_FROM(19, "(Other) Street", aftText, OtherStreet, OtherAddressStreet),
    ADDR_FROM(20, "(Other) City", aftText, OtherCity, OtherAddressCity),
    ADDR_FROM(21, "(Other) State", aftText, OtherState, OtherAddressState),
    ADDR_FROM(22, "(Other) Postal", aftText, OtherPostal, OtherAddressPostalCode),
    ADDR_FROM(23, "(Other) Country", aftText, OtherCountry, OtherAddressCountry),
    ADDR_FROM(24, "Home Phone", aftText, HomePhone, HomeTelephoneNumber),
    ADDR_FROM(25, "Work Phone", aftText, WorkPhone, BusinessTelephoneNumber),
    ADDR_FROM(26, "Mobile Phone", aftText, MobilePhone, MobileTelephoneNumber),
    ADDR_FROM(27, "Other Phone", aftText, OtherPhone, OtherTelephoneNumber),
    ADDR_FROM(28, "Primary Phone", aftText, PrimaryPhone, PrimaryTelephoneNumber),
    ADDR_FROM(29, "Callback Phone", aftText, CallbackPhone, CallbackTelephoneNumber),
    ADDR_FROM(30, "Car Phone", aftText, CarPhone, CarTelephoneNumber),
    ADDR_FROM(31, "Radio Phone", aftText, RadioPhone, RadioTelephoneNumber),
    ADDR_FIELD(32, "Work Phone 2", aftText, WorkPhone2),
    ADDR_FIELD(33, "Home Phone 2", aftText, HomePhone2),
    ADDR_FROM(34, "Work Fax", aftText, WorkFax, BusinessFaxNumber),
    ADDR_FROM(35, "Home Fax", aftText, HomeFax, HomeFaxNumber),
    ADDR_FIELD(36, "Pager", aftText, Pager),
    ADDR_FROM(37, "Email", aftText, Email, Email1Address),
    ADDR_FROM(38, "Email 2", aftText, Email2, Email2Address),
    ADDR_FROM(39, "Email 3", aftText, Email3, Email3Address),
    ADDR_FROM(41, "Work Home Page", aftText, WorkHomePage, BusinessHomePage),
    ADDR_FROM(40, "Personal Home Page", aftText, PersonalHomePage, PersonalHomePage),
    ADDR_FROM(42, "FTP Site", aftText, FTPSite, FTPSite),
    ADDR_FROM(43, "Note", aftText, Note, Body),
    ADDR_FIELD(44, "Custom 1", aftText, Custom1),
    ADDR_FIELD(45, "Custom 2", aftText, Custom2),
    ADDR_FIELD(46, "Custom 3", aftText, Custom3),
    ADDR_FIELD(47, "Custom 4", aftText, Custom4),
    ADDR_FIELD(48, "Custom 5", aftText, Custom5),
    ADDR_FIELD(49, "Custom 6", aftText, Custom6),
    ADDR_FIELD(50, "Custom 7", aftText, Custom7),
    ADDR_FIELD(51, "Custom 8", aftText, Custom8),
    ADDR_FIELD(52, "Custom 9", aftText, Custom9),
    ADDR_FROM(53, "Company", aftText, Company, CompanyName),
    ADDR_FROM(55, "Title", aftText, Title, JobTitle),
    ADDR_FROM(54, "Department", aftText, Department, Department),
    ADDR_FROM(56, "IM 1", aftText, IM1, IMAddress),
    ADDR_FIELD(57, "IM 2", aftText, IM2),
    ADDR_FROM(58, "Manager Name", aftText, ManagerName, ManagerName),
    ADDR_FROM(59, "Assistant Name", aftText, AssistantName, AssistantName),
    ADDR_FROM(60, "Assistant Phone", aftText, AssistantPhone, AssistantTelephoneNumber),
    ADDR_FROM(61, "Spouse Name", aftText, SpouseName, Spouse),
    ADDR_FIELD(62, "Children's Names", aftText, ChildrenNames),
    ADDR_FROM(63, "Profession", aftText, Profession, Profession),
    ADDR_FROM(64, "Hobby", aftText, Hobby, Hobby),
    ADDR_FROM(65, "Account", aftText, Account, Account),
    ADDR_FROM(67, "Birthday", aftDate, Birthday, Birthday),
    ADDR_FROM(66, "Anniversary", aftDate, Anniversary, Anniversary),
    ADDR_FIELD(68, "Keyword", aftText, Keyword),
    ADDR_FROM(69, "Language", aftText, Language, Language),
    ADDR_FIELD(70, "Location", aftText, Location),
    ADDR_FIELD(71, "MHS Common Name", aftText, MHSCommonName),
    ADDR_FROM(72, "Customer ID", aftText, CustomerID, CustomerID),
    ADDR_FIELD(73, "Government ID", aftText, GovernmentID),
    ADDR_FIELD(74, "Organization ID", aftText, OrganizationID),
    ADDR_FROM(75, "Category", aftText, Category, Categories),
    ADDR_FROM(76, "Creation Time", aftDate, CreationTime, CreationTime),
    ADDR_FROM(77, "Last Modification Time", aftDate, LastModificationTime, LastModificationTime),
    ADDR_FIELD(78, "Source Type", aftCode, SourceType),
    ADDR_FIELD(79, "Status", aftInteger, Status),
    ADDR_FIELD(80, "ID", aftText, ID),
    ADDR_FIELD(81, "Private", aftCode, Private),
    ADDR_FIELD(82, "Custom Label 1", aftText, CustomLabel1),
    ADDR_FIELD(83, "Custom Label 2", aftText, CustomLabel2),
    ADDR_FIELD(84, "Custom Label 3", aftText, CustomLabel3),
    ADDR_FIELD(85, "Custom Label 4", aftText, CustomLabel4),
    ADDR_FIELD(86, "Custom Label 5", aftText, CustomLabel5),
    ADDR_FIELD(87, "Custom Label 6", aftText, CustomLabel6),
    ADDR_FIELD(88, "Custom Label 7", aftText, CustomLabel7),
    ADDR_FIELD(89, "Custom Label 8", aftText, CustomLabel8),
    ADDR_FIELD(90, "Custom Label 9", aftText, CustomLabel9),
};

#undef ADDR_FIELD
#undef ADDR_FROM

static_assert(sizeof(kSlots) / sizeof(kSlots[0]) == CommAddrMgr::kDisplayFieldCount);

// Keys with a special display rule.
constexpr int32_t kKeyGender = 8;
constexpr int32_t kKeySourceType = 78;

// Fields left out of the display texts; whoever needs them reads the record itself.
constexpr int32_t kKeysWithoutText[] = {38, 39, 61, 62, 79, 80, 81};

// Names of the record source types, by code 1 to 15.
const char* const kSourceNames[] = {
    "Unknown",        "Text File",       "Outlook",         "Address Book",
    "vCard",          "vCalendar",       "CSV File",        "Tab Separated File",
    "LDIF File",      "XML File",        "Spreadsheet",     "Database",
    "Mail Server",    "Directory Server", "Handheld Device",
};
constexpr int32_t kSourceCodeCount = 15;
static_assert(sizeof(kSourceNames) / sizeof(kSourceNames[0]) == kSourceCodeCount);

const AddrSlot* FindSlot(int32_t nKey) {
  for (const AddrSlot& slot : kSlots)
    if (slot.Field.nKey == nKey) return &slot;
  return nullptr;
}

bool HasText(int32_t nKey) {
  for (int32_t nHidden : kKeysWithoutText)
    if (nHidden == nKey) return false;
  return true;
}

}  // namespace

bool MakeRecord(const AddrImage* pImage, AddrRecord* pRecord) {
  if (!pImage || !pRecord) return false;
  memset(pRecord, 0, sizeof(*pRecord));
  char* pRecordBytes = reinterpret_cast<char*>(pRecord);
  const char* pImageBytes = reinterpret_cast<const char*>(pImage);
  for (const AddrSlot& slot : kSlots) {
    if (slot.nImageSize == 0) continue;
    char* pDest = pRecordBytes + slot.nOffset;
    const char* pSrc = pImageBytes + slot.nImageOffset;
    if (slot.Field.nType == aftText) {
      PutFieldText(pDest, slot.Field.nSize, pSrc, slot.nImageSize);
    } else if (slot.Field.nType == aftDate) {
      DATE dtValue;
      memcpy(&dtValue, pSrc, sizeof(dtValue));
      if (!IsRealDate(dtValue)) dtValue = 0;
      memcpy(pDest, &dtValue, sizeof(dtValue));
    }
  }
  // A list has no first or last name: it is listed by its own name, marked.
  if (pImage->DistList) {
    PutFieldText(pRecord->FirstName, sizeof pRecord->FirstName, kDistListMark);
    PutFieldText(pRecord->LastName, sizeof pRecord->LastName, pImage->FullName);
  }
  pRecord->SourceType = kSourceTypeOutlook;
  return true;
}

bool CommAddrMgr::FindDisplayField(int32_t nKey, AddrDisplayField* pField) {
  if (!pField) return false;
  const AddrSlot* pSlot = FindSlot(nKey);
  if (!pSlot) return false;
  *pField = pSlot->Field;
  return true;
}

bool CommAddrMgr::DisplayFieldAt(int nIndex, AddrDisplayField* pField) {
  if (!pField || nIndex < 0 || nIndex >= kDisplayFieldCount) return false;
  *pField = kSlots[nIndex].Field;
  return true;
}

bool CommAddrMgr::DisplayText(const AddrRecord* pRecord, const AddrDisplayField* pField, char* szBuf,
                              int nSize) {
  if (!pRecord || !pField || !szBuf || nSize <= 0) return false;
  const AddrSlot* pSlot = FindSlot(pField->nKey);
  // The size rule is the record's own, whatever size the caller's entry claims.
  if (pSlot && nSize <= pSlot->Field.nSize) return false;
  BeginDisplayText(szBuf, nSize);
  if (!pSlot || !HasText(pSlot->Field.nKey)) return false;

  const char* pValue = reinterpret_cast<const char*>(pRecord) + pSlot->nOffset;
  switch (pSlot->Field.nType) {
    case aftText:
      PutFieldText(szBuf, nSize, pValue, static_cast<size_t>(pSlot->Field.nSize));
      return true;
    case aftDate: {
      DATE dtValue;
      memcpy(&dtValue, pValue, sizeof(dtValue));
      SYSTEMTIME st;
      DateToSystemTime(dtValue, &st);
      PutDateText(szBuf, nSize, &st, DateTextKind::DateTime);
      return true;
    }
    default:
      break;
  }
  if (pSlot->Field.nKey == kKeyGender) return true;
  if (pSlot->Field.nKey == kKeySourceType) {
    const int32_t nCode = pRecord->SourceType;
    if (nCode < 1 || nCode > kSourceCodeCount) return false;
    PutText(szBuf, nSize, kSourceNames[nCode - 1]);
    return true;
  }
  return false;
}
