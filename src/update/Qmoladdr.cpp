#include "update/Qmoladdr.h"

#include "common/outlook/OlAddr.h"

namespace {

#define SLOT(Member) QM_FIELD_SLOT(AddrImage, AddrField, Member)

// The contact fields a user can update, in the order the editor lists them.
// "Spouse Name" keeps to 32 bytes although Spouse has room for 64.
// clang-format off
constinit FieldEntry g_AddrFields[] = {
    MakeFieldEntry(2, ftDate, "Anniversary", nullptr, 8, SLOT(Anniversary)),
    MakeFieldEntry(3, ftString, "Assistant Name", nullptr, 64, SLOT(AssistantName)),
    MakeFieldEntry(4, ftString, "Assistant Phone", "Assistant Phone Number", 24, SLOT(AssistantTelephoneNumber)),
    MakeFieldEntry(5, ftDate, "Birthday", nullptr, 8, SLOT(Birthday)),
    MakeFieldEntry(6, ftString, "Business Phone 2", "Business Phone Number 2", 24, SLOT(Business2TelephoneNumber)),
    MakeFieldEntry(7, ftString, "Business City", nullptr, 24, SLOT(BusinessAddressCity)),
    MakeFieldEntry(8, ftString, "Business Country", nullptr, 24, SLOT(BusinessAddressCountry)),
    MakeFieldEntry(9, ftString, "Business Postal Code", nullptr, 12, SLOT(BusinessAddressPostalCode)),
    MakeFieldEntry(10, ftString, "Business P/O Box", nullptr, 12, SLOT(BusinessAddressPostOfficeBox)),
    MakeFieldEntry(11, ftString, "Business State", nullptr, 24, SLOT(BusinessAddressState)),
    MakeFieldEntry(12, ftString, "Business Street", nullptr, 128, SLOT(BusinessAddressStreet)),
    MakeFieldEntry(13, ftString, "Business Fax", "Business Fax Number", 24, SLOT(BusinessFaxNumber)),
    MakeFieldEntry(14, ftString, "Business Homepage", nullptr, 256, SLOT(BusinessHomePage)),
    MakeFieldEntry(15, ftString, "Business Phone", "Business Phone Number", 24, SLOT(BusinessTelephoneNumber)),
    MakeFieldEntry(16, ftString, "Callback Phone", "Callback Phone Number", 24, SLOT(CallbackTelephoneNumber)),
    MakeFieldEntry(17, ftString, "Car Phone", "Car Phone Number", 24, SLOT(CarTelephoneNumber)),
    MakeFieldEntry(18, ftString, "Company Phone", "Company Phone Number", 24, SLOT(CompanyMainTelephoneNumber)),
    MakeFieldEntry(19, ftString, "Company Name", nullptr, 64, SLOT(CompanyName)),
    MakeFieldEntry(20, ftString, "Computer Name", nullptr, 32, SLOT(ComputerNetworkName)),
    MakeFieldEntry(21, ftString, "Customer ID", nullptr, 24, SLOT(CustomerID)),
    MakeFieldEntry(22, ftString, "Department", nullptr, 32, SLOT(Department)),
    MakeFieldEntry(23, ftString, "Email 1", "Email Address 1", 64, SLOT(Email1Address)),
    MakeFieldEntry(24, ftString, "Email Type 1", nullptr, 16, SLOT(Email1AddressType)),
    MakeFieldEntry(25, ftString, "Email 1 Display Name", nullptr, 64, SLOT(Email1DisplayName)),
    MakeFieldEntry(26, ftString, "Email 2", "Email Address 2", 64, SLOT(Email2Address)),
    MakeFieldEntry(27, ftString, "Email Type 2", nullptr, 16, SLOT(Email2AddressType)),
    MakeFieldEntry(28, ftString, "Email 2 Display Name", nullptr, 64, SLOT(Email2DisplayName)),
    MakeFieldEntry(29, ftString, "Email 3", "Email Address 3", 64, SLOT(Email3Address)),
    MakeFieldEntry(30, ftString, "Email Type 3", nullptr, 16, SLOT(Email3AddressType)),
    MakeFieldEntry(31, ftString, "Email 3 Display Name", nullptr, 64, SLOT(Email3DisplayName)),
    MakeFieldEntry(32, ftString, "First Name", nullptr, 64, SLOT(FirstName)),
    MakeFieldEntry(33, ftString, "FTP Site", nullptr, 256, SLOT(FTPSite)),
    MakeFieldEntry(34, ftEnumeration, "Gender", nullptr, 4, SLOT(Gender)),
    MakeFieldEntry(35, ftString, "Hobbies", nullptr, 128, SLOT(Hobby)),
    MakeFieldEntry(36, ftString, "Home Phone 2", "Home Phone Number 2", 24, SLOT(Home2TelephoneNumber)),
    MakeFieldEntry(37, ftString, "Home City", nullptr, 24, SLOT(HomeAddressCity)),
    MakeFieldEntry(38, ftString, "Home Country", nullptr, 24, SLOT(HomeAddressCountry)),
    MakeFieldEntry(39, ftString, "Home Postal Code", nullptr, 12, SLOT(HomeAddressPostalCode)),
    MakeFieldEntry(40, ftString, "Home P/O Box", nullptr, 12, SLOT(HomeAddressPostOfficeBox)),
    MakeFieldEntry(41, ftString, "Home State", nullptr, 24, SLOT(HomeAddressState)),
    MakeFieldEntry(42, ftString, "Home Street", nullptr, 128, SLOT(HomeAddressStreet)),
    MakeFieldEntry(43, ftString, "Home Fax", "Home Fax Number", 24, SLOT(HomeFaxNumber)),
    MakeFieldEntry(44, ftString, "Home Phone", "Home Phone Number", 24, SLOT(HomeTelephoneNumber)),
    MakeFieldEntry(45, ftString, "ISDN Number", nullptr, 24, SLOT(ISDNNumber)),
    MakeFieldEntry(46, ftString, "Job Title", nullptr, 32, SLOT(JobTitle)),
    MakeFieldEntry(47, ftString, "Last Name", nullptr, 64, SLOT(LastName)),
    MakeFieldEntry(48, ftString, "Mail City", nullptr, 24, SLOT(MailingAddressCity)),
    MakeFieldEntry(49, ftString, "Mail Country", nullptr, 24, SLOT(MailingAddressCountry)),
    MakeFieldEntry(50, ftString, "Mail Postal Code", nullptr, 12, SLOT(MailingAddressPostalCode)),
    MakeFieldEntry(51, ftString, "Mail P/O Box", nullptr, 12, SLOT(MailingAddressPostOfficeBox)),
    MakeFieldEntry(52, ftString, "Mail State", nullptr, 24, SLOT(MailingAddressState)),
    MakeFieldEntry(53, ftString, "Mail Street", nullptr, 128, SLOT(MailingAddressStreet)),
    MakeFieldEntry(54, ftString, "Manager Name", nullptr, 64, SLOT(ManagerName)),
    MakeFieldEntry(55, ftString, "Middle Name", nullptr, 64, SLOT(MiddleName)),
    MakeFieldEntry(56, ftString, "Mobile Phone", "Mobile Phone Number", 24, SLOT(MobileTelephoneNumber)),
    MakeFieldEntry(57, ftString, "Nick Name", nullptr, 64, SLOT(NickName)),
    MakeFieldEntry(58, ftString, "Other City", nullptr, 24, SLOT(OtherAddressCity)),
    MakeFieldEntry(59, ftString, "Other Country", nullptr, 24, SLOT(OtherAddressCountry)),
    MakeFieldEntry(60, ftString, "Other Postal Code", nullptr, 12, SLOT(OtherAddressPostalCode)),
    MakeFieldEntry(61, ftString, "Other P/O Box", nullptr, 12, SLOT(OtherAddressPostOfficeBox)),
    MakeFieldEntry(62, ftString, "Other State", nullptr, 24, SLOT(OtherAddressState)),
    MakeFieldEntry(63, ftString, "Other Street", nullptr, 128, SLOT(OtherAddressStreet)),
    MakeFieldEntry(64, ftString, "Personal Home Page", nullptr, 256, SLOT(PersonalHomePage)),
    MakeFieldEntry(66, ftString, "Profession", nullptr, 32, SLOT(Profession)),
    MakeFieldEntry(77, ftString, "IM Address", nullptr, 32, SLOT(IMAddress)),
    MakeFieldEntry(74, ftString, "Spouse Name", nullptr, 32, SLOT(Spouse)),
    MakeFieldEntry(68, ftString, "Note", nullptr, 2048, SLOT(Body)),
};
// clang-format on

#undef SLOT

constexpr FieldEnumeration kGenderEnum{3, {0, 1, 2}, {"Not Specified", "Female", "Male"}};
constexpr FieldEnumBinding kAddrEnums[] = {{34, &kGenderEnum}};

constinit const CxFieldCatalogue g_AddrCatalogue(g_AddrFields);

}  // namespace

CxQMOLAddrUtil::CxQMOLAddrUtil() { g_AddrCatalogue.WriteEnumerations(kAddrEnums); }

const CxFieldCatalogue& CxQMOLAddrUtil::Catalogue() { return g_AddrCatalogue; }
