#include "common/outlook/OlAddr.h"

#include <algorithm>
#include <iterator>

#include "common/outlook/OlProperty.h"

namespace {

#define ADDR_TEXT_N(Field, Size) OL_PROPERTY(AddrImage, AddrField, Field, Text, Size)
#define ADDR_TEXT(Field) ADDR_TEXT_N(Field, sizeof(AddrImage::Field))
#define ADDR_DATE(Field) OL_PROPERTY(AddrImage, AddrField, Field, Date, 0)
#define ADDR_LONG(Field) OL_PROPERTY(AddrImage, AddrField, Field, Long, 0)
#define ADDR_WRITE(Field) OL_WRITE(AddrField, Field, nullptr)

// Read order: the entry ID, the image's fields from Account to WebPage
// (Suffix is not an Outlook property), then the notes, the times and the
// categories.
constexpr OlProperty kContactProperties[] = {
    ADDR_TEXT_N(EntryID, 1023),
    ADDR_TEXT(Account),
    ADDR_DATE(Anniversary),
    ADDR_TEXT(AssistantName),
    ADDR_TEXT(AssistantTelephoneNumber),
    ADDR_DATE(Birthday),
    ADDR_TEXT(Business2TelephoneNumber),
    ADDR_TEXT(BusinessAddressCity),
    ADDR_TEXT(BusinessAddressCountry),
    ADDR_TEXT(BusinessAddressPostalCode),
    ADDR_TEXT(BusinessAddressPostOfficeBox),
    ADDR_TEXT(BusinessAddressState),
    ADDR_TEXT(BusinessAddressStreet),
    ADDR_TEXT(BusinessFaxNumber),
    ADDR_TEXT(BusinessHomePage),
    ADDR_TEXT(BusinessTelephoneNumber),
    ADDR_TEXT(CallbackTelephoneNumber),
    ADDR_TEXT(CarTelephoneNumber),
    ADDR_TEXT(CompanyMainTelephoneNumber),
    ADDR_TEXT(CompanyName),
    ADDR_TEXT(ComputerNetworkName),
    ADDR_TEXT(CustomerID),
    ADDR_TEXT(Department),
    ADDR_TEXT(Email1Address),
    ADDR_TEXT(Email1AddressType),
    ADDR_TEXT(Email1DisplayName),
    ADDR_TEXT(Email2Address),
    ADDR_TEXT(Email2AddressType),
    ADDR_TEXT(Email2DisplayName),
    ADDR_TEXT(Email3Address),
    ADDR_TEXT(Email3AddressType),
    ADDR_TEXT(Email3DisplayName),
    ADDR_TEXT(FirstName),
    ADDR_TEXT(FTPSite),
    ADDR_TEXT(FullName),
    ADDR_LONG(Gender),
    ADDR_TEXT(Hobby),
    ADDR_TEXT(Home2TelephoneNumber),
    ADDR_TEXT(HomeAddressCity),
    ADDR_TEXT(HomeAddressCountry),
    ADDR_TEXT(HomeAddressPostalCode),
    ADDR_TEXT(HomeAddressPostOfficeBox),
    ADDR_TEXT(HomeAddressState),
    ADDR_TEXT(HomeAddressStreet),
    ADDR_TEXT(HomeFaxNumber),
    ADDR_TEXT(HomeTelephoneNumber),
    ADDR_TEXT(IMAddress),
    ADDR_TEXT(Initials),
    ADDR_TEXT(ISDNNumber),
    ADDR_TEXT(JobTitle),
    ADDR_TEXT(Language),
    ADDR_TEXT(LastName),
    ADDR_TEXT(MailingAddressCity),
    ADDR_TEXT(MailingAddressCountry),
    ADDR_TEXT(MailingAddressPostalCode),
    ADDR_TEXT(MailingAddressPostOfficeBox),
    ADDR_TEXT(MailingAddressState),
    ADDR_TEXT(MailingAddressStreet),
    ADDR_TEXT(ManagerName),
    ADDR_TEXT(MiddleName),
    ADDR_TEXT(MobileTelephoneNumber),
    ADDR_TEXT(NickName),
    ADDR_TEXT(OtherAddressCity),
    ADDR_TEXT(OtherAddressCountry),
    ADDR_TEXT(OtherAddressPostalCode),
    ADDR_TEXT(OtherAddressPostOfficeBox),
    ADDR_TEXT(OtherAddressState),
    ADDR_TEXT(OtherAddressStreet),
    ADDR_TEXT(OtherTelephoneNumber),
    ADDR_TEXT(PagerNumber),
    ADDR_TEXT(PersonalHomePage),
    ADDR_TEXT(PrimaryTelephoneNumber),
    ADDR_TEXT(Profession),
    ADDR_TEXT(RadioTelephoneNumber),
    ADDR_TEXT(Spouse),
    ADDR_TEXT(WebPage),
    ADDR_TEXT(Body),
    ADDR_DATE(CreationTime),
    ADDR_DATE(LastModificationTime),
    ADDR_TEXT(Categories),
};

// Write order: Account to WebPage, then the notes and the categories. The
// IDs, the folder and the two times belong to Outlook.
constexpr OlWriteStep kContactWrites[] = {
    ADDR_WRITE(Account),
    ADDR_WRITE(Anniversary),
    ADDR_WRITE(AssistantName),
    ADDR_WRITE(AssistantTelephoneNumber),
    ADDR_WRITE(Birthday),
    ADDR_WRITE(Business2TelephoneNumber),
    ADDR_WRITE(BusinessAddressCity),
    ADDR_WRITE(BusinessAddressCountry),
    ADDR_WRITE(BusinessAddressPostalCode),
    ADDR_WRITE(BusinessAddressPostOfficeBox),
    ADDR_WRITE(BusinessAddressState),
    ADDR_WRITE(BusinessAddressStreet),
    ADDR_WRITE(BusinessFaxNumber),
    ADDR_WRITE(BusinessHomePage),
    ADDR_WRITE(BusinessTelephoneNumber),
    ADDR_WRITE(CallbackTelephoneNumber),
    ADDR_WRITE(CarTelephoneNumber),
    ADDR_WRITE(CompanyMainTelephoneNumber),
    ADDR_WRITE(CompanyName),
    ADDR_WRITE(ComputerNetworkName),
    ADDR_WRITE(CustomerID),
    ADDR_WRITE(Department),
    ADDR_WRITE(Email1Address),
    ADDR_WRITE(Email1AddressType),
    ADDR_WRITE(Email1DisplayName),
    ADDR_WRITE(Email2Address),
    ADDR_WRITE(Email2AddressType),
    ADDR_WRITE(Email2DisplayName),
    ADDR_WRITE(Email3Address),
    ADDR_WRITE(Email3AddressType),
    ADDR_WRITE(Email3DisplayName),
    ADDR_WRITE(FirstName),
    ADDR_WRITE(FTPSite),
    ADDR_WRITE(FullName),
    ADDR_WRITE(Gender),
    ADDR_WRITE(Hobby),
    ADDR_WRITE(Home2TelephoneNumber),
    ADDR_WRITE(HomeAddressCity),
    ADDR_WRITE(HomeAddressCountry),
    ADDR_WRITE(HomeAddressPostalCode),
    ADDR_WRITE(HomeAddressPostOfficeBox),
    ADDR_WRITE(HomeAddressState),
    ADDR_WRITE(HomeAddressStreet),
    ADDR_WRITE(HomeFaxNumber),
    ADDR_WRITE(HomeTelephoneNumber),
    ADDR_WRITE(IMAddress),
    ADDR_WRITE(Initials),
    ADDR_WRITE(ISDNNumber),
    ADDR_WRITE(JobTitle),
    ADDR_WRITE(Language),
    ADDR_WRITE(LastName),
    ADDR_WRITE(MailingAddressCity),
    ADDR_WRITE(MailingAddressCountry),
    ADDR_WRITE(MailingAddressPostalCode),
    ADDR_WRITE(MailingAddressPostOfficeBox),
    ADDR_WRITE(MailingAddressState),
    ADDR_WRITE(MailingAddressStreet),
    ADDR_WRITE(ManagerName),
    ADDR_WRITE(MiddleName),
    ADDR_WRITE(MobileTelephoneNumber),
    ADDR_WRITE(NickName),
    ADDR_WRITE(OtherAddressCity),
    ADDR_WRITE(OtherAddressCountry),
    ADDR_WRITE(OtherAddressPostalCode),
    ADDR_WRITE(OtherAddressPostOfficeBox),
    ADDR_WRITE(OtherAddressState),
    ADDR_WRITE(OtherAddressStreet),
    ADDR_WRITE(OtherTelephoneNumber),
    ADDR_WRITE(PagerNumber),
    ADDR_WRITE(PersonalHomePage),
    ADDR_WRITE(PrimaryTelephoneNumber),
    ADDR_WRITE(Profession),
    ADDR_WRITE(RadioTelephoneNumber),
    ADDR_WRITE(Spouse),
    ADDR_WRITE(WebPage),
    ADDR_WRITE(Body),
    ADDR_WRITE(Categories),
};

// What a distribution list among the contacts has of the image: its name
// stands in FullName, so lists and contacts are named alike.
constexpr OlProperty kDistListProperties[] = {
    ADDR_TEXT_N(EntryID, 1023),
    OlProperty{OLESTR("DLName"), "DLName", OlValue::Text, static_cast<int>(AddrField::FullName),
               offsetof(AddrImage, FullName), sizeof(AddrImage::FullName)},
    ADDR_TEXT(Body),
    ADDR_DATE(CreationTime),
    ADDR_DATE(LastModificationTime),
    ADDR_TEXT(Categories),
};

constexpr int32_t kOlDistributionList = 69;  // OlObjectClass

constexpr OlFolderSpec kContactsFolder = {
    olFolderContacts,
    {
        "Failed to get the name of the Contact folder. hr=0x%x",
        "Got the name of the Contacts folder: %s",
        "Failed to get the StoreID of the Contact folder. hr=0x%x",
        "Got the StoreID of the Contact folder: %s",
        "Failed to get the \"Items\" property of the Contact folder. hr=0x%x",
    },
    nullptr,
    nullptr,
    false,
};

}  // namespace

OlAddrUtil::OlAddrUtil(const char* szProfile) : OlFolderUtil(szProfile, kContactsFolder) {}

bool OlAddrUtil::ReadContact(IDispatch* pItem, AddrImage* pImage) {
  if (!pItem || !pImage) return false;
  CDispCmd item(pItem);
  int32_t nClass = 0;
  pImage->DistList =
      item.GetLong(OLESTR("Class"), &nClass) == S_OK && nClass == kOlDistributionList;
  if (!pImage->DistList) {
    OlReadProperties(item, kContactProperties, pImage, &pImage->Truncated, &pImage->Unread);
    return true;
  }
  // A list has none of a contact's other properties: asking for them would
  // only fail, and fill the log with failures that are none.
  OlReadProperties(item, kDistListProperties, pImage, &pImage->Truncated, &pImage->Unread);
  for (const OlProperty& prop : kContactProperties) {
    const bool bRead =
        std::any_of(std::begin(kDistListProperties), std::end(kDistListProperties),
                    [&](const OlProperty& list) { return list.nField == prop.nField; });
    if (!bRead) pImage->Unread.Set(prop.nField);
  }
  // The list's name is not a contact's full name: no definition may put it.
  pImage->Unread.Set(AddrField::FullName);
  return true;
}

void OlAddrUtil::GetSavedFields(const AddrImage* pImage, FieldMarks* pSaved) const {
  OlSavedFields(kContactWrites, pImage, pImage->Changed, this, pSaved);
}

bool OlAddrUtil::SaveItem(const AddrImage* pImage) {
  return SaveImage(pImage,
                   [this](IDispatch* pItem, const AddrImage* p) { return WriteContact(pItem, p); });
}

bool OlAddrUtil::WriteContact(IDispatch* pItem, const AddrImage* pImage) {
  if (!pItem || !pImage) return false;
  CDispCmd item(pItem);
  return WriteAndSave(item, kContactProperties, kContactWrites, pImage, pImage->Changed,
                      pImage->Truncated);
}
