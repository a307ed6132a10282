#include "update/Qmoladdr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "update/support/ApplierCheck.h"

namespace {

#define FIELD(Member) QM_IMAGE_FIELD(AddrImage, AddrField, Member)

// The contact catalogue in order: id, display name, description, type, maximum
// length and the image field the entry changes.
// clang-format off
const std::vector<ExpectedField> kAddrFields = {
    {2, "Anniversary", "Anniversary", ftDate, 8, FIELD(Anniversary)},
    {3, "Assistant Name", "Assistant Name", ftString, 64, FIELD(AssistantName)},
    {4, "Assistant Phone", "Assistant Phone Number", ftString, 24, FIELD(AssistantTelephoneNumber)},
    {5, "Birthday", "Birthday", ftDate, 8, FIELD(Birthday)},
    {6, "Business Phone 2", "Business Phone Number 2", ftString, 24, FIELD(Business2TelephoneNumber)},
    {7, "Business City", "Business City", ftString, 24, FIELD(BusinessAddressCity)},
    {8, "Business Country", "Business Country", ftString, 24, FIELD(BusinessAddressCountry)},
    {9, "Business Postal Code", "Business Postal Code", ftString, 12, FIELD(BusinessAddressPostalCode)},
    {10, "Business P/O Box", "Business P/O Box", ftString, 12, FIELD(BusinessAddressPostOfficeBox)},
    {11, "Business State", "Business State", ftString, 24, FIELD(BusinessAddressState)},
    {12, "Business Street", "Business Street", ftString, 128, FIELD(BusinessAddressStreet)},
    {13, "Business Fax", "Business Fax Number", ftString, 24, FIELD(BusinessFaxNumber)},
    {14, "Business Homepage", "Business Homepage", ftString, 256, FIELD(BusinessHomePage)},
    {15, "Business Phone", "Business Phone Number", ftString, 24, FIELD(BusinessTelephoneNumber)},
    {16, "Callback Phone", "Callback Phone Number", ftString, 24, FIELD(CallbackTelephoneNumber)},
    {17, "Car Phone", "Car Phone Number", ftString, 24, FIELD(CarTelephoneNumber)},
    {18, "Company Phone", "Company Phone Number", ftString, 24, FIELD(CompanyMainTelephoneNumber)},
    {19, "Company Name", "Company Name", ftString, 64, FIELD(CompanyName)},
    {20, "Computer Name", "Computer Name", ftString, 32, FIELD(ComputerNetworkName)},
    {21, "Customer ID", "Customer ID", ftString, 24, FIELD(CustomerID)},
    {22, "Department", "Department", ftString, 32, FIELD(Department)},
    {23, "Email 1", "Email Address 1", ftString, 64, FIELD(Email1Address)},
    {24, "Email Type 1", "Email Type 1", ftString, 16, FIELD(Email1AddressType)},
    {25, "Email 1 Display Name", "Email 1 Display Name", ftString, 64, FIELD(Email1DisplayName)},
    {26, "Email 2", "Email Address 2", ftString, 64, FIELD(Email2Address)},
    {27, "Email Type 2", "Email Type 2", ftString, 16, FIELD(Email2AddressType)},
    {28, "Email 2 Display Name", "Email 2 Display Name", ftString, 64, FIELD(Email2DisplayName)},
    {29, "Email 3", "Email Address 3", ftString, 64, FIELD(Email3Address)},
    {30, "Email Type 3", "Email Type 3", ftString, 16, FIELD(Email3AddressType)},
    {31, "Email 3 Display Name", "Email 3 Display Name", ftString, 64, FIELD(Email3DisplayName)},
    {32, "First Name", "First Name", ftString, 64, FIELD(FirstName)},
    {33, "FTP Site", "FTP Site", ftString, 256, FIELD(FTPSite)},
    {34, "Gender", "Gender", ftEnumeration, 4, FIELD(Gender)},
    {35, "Hobbies", "Hobbies", ftString, 128, FIELD(Hobby)},
    {36, "Home Phone 2", "Home Phone Number 2", ftString, 24, FIELD(Home2TelephoneNumber)},
    {37, "Home City", "Home City", ftString, 24, FIELD(HomeAddressCity)},
    {38, "Home Country", "Home Country", ftString, 24, FIELD(HomeAddressCountry)},
    {39, "Home Postal Code", "Home Postal Code", ftString, 12, FIELD(HomeAddressPostalCode)},
    {40, "Home P/O Box", "Home P/O Box", ftString, 12, FIELD(HomeAddressPostOfficeBox)},
    {41, "Home State", "Home State", ftString, 24, FIELD(HomeAddressState)},
    {42, "Home Street", "Home Street", ftString, 128, FIELD(HomeAddressStreet)},
    {43, "Home Fax", "Home Fax Number", ftString, 24, FIELD(HomeFaxNumber)},
    {44, "Home Phone", "Home Phone Number", ftString, 24, FIELD(HomeTelephoneNumber)},
    {45, "ISDN Number", "ISDN Number", ftString, 24, FIELD(ISDNNumber)},
    {46, "Job Title", "Job Title", ftString, 32, FIELD(JobTitle)},
    {47, "Last Name", "Last Name", ftString, 64, FIELD(LastName)},
    {48, "Mail City", "Mail City", ftString, 24, FIELD(MailingAddressCity)},
    {49, "Mail Country", "Mail Country", ftString, 24, FIELD(MailingAddressCountry)},
    {50, "Mail Postal Code", "Mail Postal Code", ftString, 12, FIELD(MailingAddressPostalCode)},
    {51, "Mail P/O Box", "Mail P/O Box", ftString, 12, FIELD(MailingAddressPostOfficeBox)},
    {52, "Mail State", "Mail State", ftString, 24, FIELD(MailingAddressState)},
    {53, "Mail Street", "Mail Street", ftString, 128, FIELD(MailingAddressStreet)},
    {54, "Manager Name", "Manager Name", ftString, 64, FIELD(ManagerName)},
    {55, "Middle Name", "Middle Name", ftString, 64, FIELD(MiddleName)},
    {56, "Mobile Phone", "Mobile Phone Number", ftString, 24, FIELD(MobileTelephoneNumber)},
    {57, "Nick Name", "Nick Name", ftString, 64, FIELD(NickName)},
    {58, "Other City", "Other City", ftString, 24, FIELD(OtherAddressCity)},
    {59, "Other Country", "Other Country", ftString, 24, FIELD(OtherAddressCountry)},
    {60, "Other Postal Code", "Other Postal Code", ftString, 12, FIELD(OtherAddressPostalCode)},
    {61, "Other P/O Box", "Other P/O Box", ftString, 12, FIELD(OtherAddressPostOfficeBox)},
    {62, "Other State", "Other State", ftString, 24, FIELD(OtherAddressState)},
    {63, "Other Street", "Other Street", ftString, 128, FIELD(OtherAddressStreet)},
    {64, "Personal Home Page", "Personal Home Page", ftString, 256, FIELD(PersonalHomePage)},
    {66, "Profession", "Profession", ftString, 32, FIELD(Profession)},
    {77, "IM Address", "IM Address", ftString, 32, FIELD(IMAddress)},
    {74, "Spouse Name", "Spouse Name", ftString, 32, FIELD(Spouse)},
    {68, "Note", "Note", ftString, 2048, FIELD(Body)},
};
// clang-format on

#undef FIELD

const std::vector<ExpectedEnum> kAddrEnums = {
    {34, {0, 1, 2}, {"Not Specified", "Female", "Male"}},
};

const ImageField kBody = QM_IMAGE_FIELD(AddrImage, AddrField, Body);
const ImageField kSpouse = QM_IMAGE_FIELD(AddrImage, AddrField, Spouse);

class AddrApplier : public testing::Test {
 protected:
  CxQMOLAddrUtil m_Applier;
};

TEST(AddrCatalogue, LookupsNeedNoApplier) {
  EXPECT_EQ(67, CxQMOLAddrUtil::GetFieldCount());
  ASSERT_NE(nullptr, CxQMOLAddrUtil::GetFieldAt(66));
  EXPECT_STREQ("Note", CxQMOLAddrUtil::GetFieldAt(66)->szName);
  ASSERT_NE(nullptr, CxQMOLAddrUtil::FindField(74));
  EXPECT_STREQ("Spouse Name", CxQMOLAddrUtil::FindField(74)->szName);
}

TEST_F(AddrApplier, CatalogueMatchesTheFieldTable) {
  ExpectCatalogue<CxQMOLAddrUtil>(kAddrFields, kAddrEnums);
}

TEST(AddrCatalogue, EveryConstructionWritesTheSameEnumeration) {
  { CxQMOLAddrUtil first; }
  CxQMOLAddrUtil second;
  CxQMOLAddrUtil third;
  ExpectCatalogue<CxQMOLAddrUtil>(kAddrFields, kAddrEnums);
}

TEST_F(AddrApplier, EveryEntryChangesOnlyItsOwnField) {
  ExpectApplyEveryEntry<CxQMOLAddrUtil, AddrImage>(m_Applier, kAddrFields);
}

TEST_F(AddrApplier, TextRulesHoldOnEveryTextField) {
  ExpectTextRulesOnEveryString<CxQMOLAddrUtil, AddrImage>(m_Applier, kAddrFields);
}

TEST_F(AddrApplier, IdsOutsideTheCatalogueAreRefused) {
  ExpectRefusedIds<CxQMOLAddrUtil, AddrImage>(m_Applier,
                                              {1, 65, 67, 69, 70, 71, 72, 73, 75, 76, 0, -1, 78});
}

TEST_F(AddrApplier, SetCutsToTheFieldAndLeavesItsNeighbour) {
  const ImageField type3 = QM_IMAGE_FIELD(AddrImage, AddrField, Email3AddressType);
  auto pStart = FilledImage<AddrImage>();
  PutText(*pStart, QM_IMAGE_FIELD(AddrImage, AddrField, Email3Address), "a@b.example");
  PutText(*pStart, type3, "SMTP");
  auto pAfter = ApplyAndCheck(m_Applier, *pStart, type3,
                              TextDef(30, uoSet, "Mr Smith Junior the Third"), true, true);
  EXPECT_STREQ("Mr Smith Junior", pAfter->Email3AddressType);
  EXPECT_STREQ("a@b.example", pAfter->Email3Address);
}

TEST_F(AddrApplier, NoteTakesAFullValueAndStaysFullOnAppend) {
  auto pStart = FilledImage<AddrImage>();
  PutText(*pStart, kBody, "old");
  FieldUpdateDef def = TextDef(68, uoSet, "");
  memset(def.szValue, 'v', 255);
  auto pSet = ApplyAndCheck(m_Applier, *pStart, kBody, def, true, true);
  EXPECT_EQ(std::string(255, 'v'), pSet->Body);

  // A note of exactly 2047 bytes that was read whole: the append is applied
  // but nothing fits.
  const std::string sFull(2047, 'n');
  PutText(*pStart, kBody, sFull);
  auto pAppended =
      ApplyAndCheck(m_Applier, *pStart, kBody, TextDef(68, uoAppend, "more"), true, true);
  EXPECT_EQ(sFull, pAppended->Body);

  // The same note cut when read: appending would store the cut text, so no.
  pStart->Truncated.Set(AddrField::Body);
  ApplyAndCheck(m_Applier, *pStart, kBody, TextDef(68, uoAppend, "more"), false, false);
}

TEST_F(AddrApplier, SpouseNameIsHeldToItsCatalogueLength) {
  auto pStart = FilledImage<AddrImage>();
  const std::string sLong(40, 's');  // read whole: the image field has 64 bytes
  PutText(*pStart, kSpouse, sLong);

  auto pSet = ApplyAndCheck(m_Applier, *pStart, kSpouse, TextDef(74, uoSet, "Anna"), true, true);
  EXPECT_STREQ("Anna", pSet->Spouse);
  pSet = ApplyAndCheck(m_Applier, *pStart, kSpouse, TextDef(74, uoSet, sLong.c_str()), true, true);
  EXPECT_EQ(std::string(31, 's'), pSet->Spouse);
  // Operations on the whole text would cut a name the contact already holds.
  const FieldUpdateDef refused[] = {
      TextDef(74, uoAppend, "x"),
      TextDef(74, uoInsert, "x", "", 1),
      TextDef(74, uoReplace, "t", "s"),
  };
  for (const FieldUpdateDef& def : refused)
    ApplyAndCheck(m_Applier, *pStart, kSpouse, def, false, false);
}

TEST_F(AddrApplier, ValueDefinitions) {
  auto pStart = FilledImage<AddrImage>();
  pStart->Gender = 0;
  FieldUpdateDef gender = NewDef(34);
  gender.nValue = 1;  // "Female"
  auto pAfter = ApplyAndCheck(m_Applier, *pStart, QM_IMAGE_FIELD(AddrImage, AddrField, Gender),
                              gender, true, true);
  EXPECT_EQ(1, pAfter->Gender);

  pStart->Birthday = 30000.0;
  FieldUpdateDef birthday = NewDef(5);  // no date stored
  birthday.dtValue = 45000.0;
  pAfter = ApplyAndCheck(m_Applier, *pStart, QM_IMAGE_FIELD(AddrImage, AddrField, Birthday),
                         birthday, true, false);
  EXPECT_EQ(30000.0, pAfter->Birthday);
}

TEST_F(AddrApplier, EmptyingUpdatesEmptyTheField) {
  const ImageField jobTitle = QM_IMAGE_FIELD(AddrImage, AddrField, JobTitle);
  auto pStart = FilledImage<AddrImage>();
  PutText(*pStart, jobTitle, "Engineer");
  const FieldUpdateDef cases[] = {
      TextDef(46, uoSet, ""),
      TextDef(46, uoReplace, "", "Engineer"),
  };
  for (const FieldUpdateDef& def : cases) {
    auto pAfter = ApplyAndCheck(m_Applier, *pStart, jobTitle, def, true, true);
    EXPECT_STREQ("", pAfter->JobTitle);
  }
}

TEST_F(AddrApplier, DefinitionsOfOneFieldActInTurn) {
  auto pImage = FilledImage<AddrImage>();
  PutText(*pImage, QM_IMAGE_FIELD(AddrImage, AddrField, CompanyName), "Acme");
  const FieldUpdateDef defs[] = {
      TextDef(19, uoAppend, " Ltd"),
      TextDef(19, uoReplace, "Corp", "Ltd"),
      TextDef(19, uoInsert, "The ", "", 0),
  };
  for (const FieldUpdateDef& def : defs) EXPECT_TRUE(m_Applier.Apply(pImage.get(), &def));
  EXPECT_STREQ("The Acme Corp", pImage->CompanyName);
  ExpectMarks(pImage->Changed, static_cast<int>(AddrField::CompanyName));
}

}  // namespace
