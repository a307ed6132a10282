// CommAddrMgr: the contact image, the contact record and their container.
#pragma once

#include <cstdint>

#include "common/records/CommRecordMgr.h"
#include "common/records/FieldMarks.h"
#include "platform/win32.h"

// ---- Image: a flat mirror of the Outlook item's properties ----------------------

// Fields of the contact image, in image order; the index names a field in FieldMarks.
enum class AddrField : int {
  EntryID,
  StoreID,
  Account,
  Anniversary,
  AssistantName,
  AssistantTelephoneNumber,
  Birthday,
  Business2TelephoneNumber,
  BusinessAddressCity,
  BusinessAddressCountry,
  BusinessAddressPostalCode,
  BusinessAddressPostOfficeBox,
  BusinessAddressState,
  BusinessAddressStreet,
  BusinessFaxNumber,
  BusinessHomePage,
  BusinessTelephoneNumber,
  CallbackTelephoneNumber,
  CarTelephoneNumber,
  CompanyMainTelephoneNumber,
  CompanyName,
  ComputerNetworkName,
  CustomerID,
  Department,
  Email1Address,
  Email1AddressType,
  Email1DisplayName,
  Email2Address,
  Email2AddressType,
  Email2DisplayName,
  Email3Address,
  Email3AddressType,
  Email3DisplayName,
  FirstName,
  FTPSite,
  FullName,
  Gender,
  Hobby,
  Home2TelephoneNumber,
  HomeAddressCity,
  HomeAddressCountry,
  HomeAddressPostalCode,
  HomeAddressPostOfficeBox,
  HomeAddressState,
  HomeAddressStreet,
  HomeFaxNumber,
  HomeTelephoneNumber,
  IMAddress,
  Initials,
  ISDNNumber,
  JobTitle,
  Language,
  LastName,
  MailingAddressCity,
  MailingAddressCountry,
  MailingAddressPostalCode,
  MailingAddressPostOfficeBox,
  MailingAddressState,
  MailingAddressStreet,
  ManagerName,
  MiddleName,
  MobileTelephoneNumber,
  NickName,
  OtherAddressCity,
  OtherAddressCountry,
  OtherAddressPostalCode,
  OtherAddressPostOfficeBox,
  OtherAddressState,
  OtherAddressStreet,
  OtherTelephoneNumber,
  PagerNumber,
  PersonalHomePage,
  PrimaryTelephoneNumber,
  Profession,
  RadioTelephoneNumber,
  Spouse,
  Suffix,
  WebPage,
  Body,
  FolderName,
  Categories,
  CreationTime,
  LastModificationTime,
  Count
};

struct AddrImage {
  char EntryID[1024];
  char StoreID[1024];
  char Account[32];
  DATE Anniversary;
  char AssistantName[64];
  char AssistantTelephoneNumber[24];
  DATE Birthday;
  char Business2TelephoneNumber[24];
  char BusinessAddressCity[24];
  char BusinessAddressCountry[24];
  char BusinessAddressPostalCode[12];
  char BusinessAddressPostOfficeBox[12];
  char BusinessAddressState[24];
  char BusinessAddressStreet[128];
  char BusinessFaxNumber[24];
  char BusinessHomePage[256];
  char BusinessTelephoneNumber[24];
  char CallbackTelephoneNumber[24];
  char CarTelephoneNumber[24];
  char CompanyMainTelephoneNumber[24];
  char CompanyName[64];
  char ComputerNetworkName[32];
  char CustomerID[24];
  char Department[32];
  char Email1Address[64];
  char Email1AddressType[16];
  char Email1DisplayName[64];
  char Email2Address[64];
  char Email2AddressType[16];
  char Email2DisplayName[64];
  char Email3Address[64];
  char Email3AddressType[16];
  char Email3DisplayName[64];
  char FirstName[64];
  char FTPSite[256];
  char FullName[64];
  int32_t Gender;
  char Hobby[128];
  char Home2TelephoneNumber[24];
  char HomeAddressCity[24];
  char HomeAddressCountry[24];
  char HomeAddressPostalCode[12];
  char HomeAddressPostOfficeBox[12];
  char HomeAddressState[24];
  char HomeAddressStreet[128];
  char HomeFaxNumber[24];
  char HomeTelephoneNumber[24];
  char IMAddress[32];
  char Initials[8];
  char ISDNNumber[24];
  char JobTitle[32];
  char Language[8];
  char LastName[64];
  char MailingAddressCity[24];
  char MailingAddressCountry[24];
  char MailingAddressPostalCode[12];
  char MailingAddressPostOfficeBox[12];
  char MailingAddressState[24];
  char MailingAddressStreet[128];
  char ManagerName[64];
  char MiddleName[64];
  char MobileTelephoneNumber[24];
  char NickName[64];
  char OtherAddressCity[24];
  char OtherAddressCountry[24];
  char OtherAddressPostalCode[12];
  char OtherAddressPostOfficeBox[12];
  char OtherAddressState[24];
  char OtherAddressStreet[128];
  char OtherTelephoneNumber[24];
  char PagerNumber[24];
  char PersonalHomePage[256];
  char PrimaryTelephoneNumber[24];
  char Profession[32];
  char RadioTelephoneNumber[24];
  char Spouse[64];
  char Suffix[8];
  char WebPage[256];
  char Body[2048];
  char FolderName[32];
  char Categories[256];
  DATE CreationTime;
  DATE LastModificationTime;
  // Not Outlook properties: which fields a definition changed (so the save
  // writes exactly those), which texts did not fit their field when read, and
  // which properties Outlook did not give (an item of another class, such as
  // a distribution list among contacts, or a failed call).
  FieldMarks Changed;
  FieldMarks Truncated;
  FieldMarks Unread;
  // A distribution list among the contacts: FullName holds its name, and only
  // what a list has (its notes, categories and times) was read.
  bool DistList;
};
static_assert(static_cast<int>(AddrField::Count) <= FieldMarks::kCapacity);

// ---- Record: the display form of a contact, in the general 90-field layout ---------

// Every field has a key (1 to 90) in the display-field table; unfilled fields stay zero.
struct AddrRecord {
  char FirstName[32];             // 1
  char LastName[32];              // 3
  char MiddleName[32];            // 2
  char Prefix[32];                // 4
  char Suffix[32];                // 5
  char NickName[32];              // 6
  char DisplayName[32];           // 7
  int32_t Gender;                 // 8
  char WorkStreet[256];           // 9
  char WorkCity[32];              // 10
  char WorkState[32];             // 11
  char WorkPostal[16];            // 12
  char WorkCountry[32];           // 13
  char HomeStreet[256];           // 14
  char HomeCity[32];              // 15
  char HomeState[32];             // 16
  char HomePostal[16];            // 17
  char HomeCountry[32];           // 18
  char OtherStreet[256];          // 19
  char OtherCity[32];             // 20
  char OtherState[32];            // 21
  char OtherPostal[16];           // 22
  char OtherCountry[32];          // 23
  char HomePhone[24];             // 24
  char WorkPhone[24];             // 25
  char MobilePhone[24];           // 26
  char PrimaryPhone[24];          // 28
  char OtherPhone[24];            // 27
  char CallbackPhone[24];         // 29
  char RadioPhone[24];            // 31
  char CarPhone[24];              // 30
  char WorkPhone2[24];            // 32
  char HomePhone2[24];            // 33
  char WorkFax[24];               // 34
  char HomeFax[24];               // 35
  char Pager[24];                 // 36
  char Email[64];                 // 37
  char Email2[64];                // 38
  char Email3[64];                // 39
  char WorkHomePage[256];         // 41
  char PersonalHomePage[256];     // 40
  char FTPSite[256];              // 42
  char Note[8192];                // 43
  char Custom1[64];               // 44
  char Custom2[64];               // 45
  char Custom3[64];               // 46
  char Custom4[64];               // 47
  char Custom5[64];               // 48
  char Custom6[64];               // 49
  char Custom7[64];               // 50
  char Custom8[64];               // 51
  char Custom9[64];               // 52
  char Company[64];               // 53
  char Title[32];                 // 55
  char Department[32];            // 54
  char IM1[32];                   // 56
  char IM2[32];                   // 57
  char ManagerName[32];           // 58
  char AssistantName[32];         // 59
  char AssistantPhone[24];        // 60
  char SpouseName[32];            // 61
  char ChildrenNames[32];         // 62
  char Profession[64];            // 63
  char Hobby[64];                 // 64
  char Account[32];               // 65
  DATE Birthday;                  // 67
  DATE Anniversary;               // 66
  char Keyword[64];               // 68
  char Language[64];              // 69
  char Location[64];              // 70
  char MHSCommonName[32];         // 71
  char CustomerID[32];            // 72
  char GovernmentID[32];          // 73
  char OrganizationID[32];        // 74
  char Category[256];             // 75
  DATE CreationTime;              // 76
  DATE LastModificationTime;      // 77
  int32_t SourceType;             // 78
  int32_t Status;                 // 79
  char ID[64];                    // 80
  int32_t Private;                // 81
  char CustomLabel1[64];          // 82
  char CustomLabel2[64];          // 83
  char CustomLabel3[64];          // 84
  char CustomLabel4[64];          // 85
  char CustomLabel5[64];          // 86
  char CustomLabel6[64];          // 87
  char CustomLabel7[64];          // 88
  char CustomLabel8[64];          // 89
  char CustomLabel9[64];          // 90
  AddrImage* Image;               // the record's own copy of its image; may be null
  uint32_t ImageSize;             // bytes in that copy
};

// Value types of the contact display fields.
enum AddrFieldType : int32_t {
  aftText = 1,
  aftInteger = 4,
  aftCode = 5,  // a code or a flag
  aftDate = 6,
};

// One entry of the contact display-field table.
struct AddrDisplayField {
  int32_t nKey;
  char szLabel[32];
  int32_t nType;  // AddrFieldType
  int32_t nSize;  // bytes of the record field: text with its zero, 4 for integers, 8 for dates
};

// What a distribution list shows as its first name in the contact list.
inline constexpr char kDistListMark[] = "(distribution list)";

// Fills pRecord (zero-filled first) from pImage; the record has no image yet.
bool MakeRecord(const AddrImage* pImage, AddrRecord* pRecord);

// ---- Container ---------------------------------------------------------------------

class CommAddrMgr final : public CommRecordMgr<AddrRecord> {
 public:
  static constexpr int kDisplayFieldCount = 90;

  // The entry with that key, front to back through the table.
  static bool FindDisplayField(int32_t nKey, AddrDisplayField* pField);
  // The table entry at a position (0 to kDisplayFieldCount - 1), in table order.
  static bool DisplayFieldAt(int nIndex, AddrDisplayField* pField);

  // The display text of one record field. The buffer must be larger than the
  // field (nSize > the field's size), so a text field always fits whole.
  // False, with an empty text, for fields that have no display text.
  static bool DisplayText(const AddrRecord* pRecord, const AddrDisplayField* pField, char* szBuf,
                          int nSize);
};
