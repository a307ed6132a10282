#include "common/records/CommAddrMgr.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "RecordTestUtil.h"
#include "support/AnsiCodePage.h"

namespace {

struct FieldRow {
  int32_t nKey;
  const char* szLabel;
  int32_t nType;
  int32_t nSize;
};

// The contact display-field table as it must read, entry by entry.
const FieldRow kContactFields[] = {
    {1, "First Name", 1, 32},
    {2, "Middle Name", 1, 32},
    {3, "Last Name", 1, 32},
    {4, "Prefix", 1, 32},
    {5, "Suffix", 1, 32},
    {6, "Nick Name", 1, 32},
    {7, "Display Name", 1, 32},
    {8, "Gender", 5, 4},
    {9, "(Work) Street", 1, 256},
    {10, "(Work) City", 1, 32},
    {11, "(Work) State", 1, 32},
    {12, "(Work) Postal", 1, 16},
    {13, "(Work) Country", 1, 32},
    {14, "(Home) Street", 1, 256},
    {15, "(Home) City", 1, 32},
    {16, "(Home) State", 1, 32},
    {17, "(Home) Postal", 1, 16},
    {18, "(Home) Country", 1, 32},
    {19, "(Other) Street", 1, 256},
    {20, "(Other) City", 1, 32},
    {21, "(Other) State", 1, 32},
    {22, "(Other) Postal", 1, 16},
    {23, "(Other) Country", 1, 32},
    {24, "Home Phone", 1, 24},
    {25, "Work Phone", 1, 24},
    {26, "Mobile Phone", 1, 24},
    {27, "Other Phone", 1, 24},
    {28, "Primary Phone", 1, 24},
    {29, "Callback Phone", 1, 24},
    {30, "Car Phone", 1, 24},
    {31, "Radio Phone", 1, 24},
    {32, "Work Phone 2", 1, 24},
    {33, "Home Phone 2", 1, 24},
    {34, "Work Fax", 1, 24},
    {35, "Home Fax", 1, 24},
    {36, "Pager", 1, 24},
    {37, "Email", 1, 64},
    {38, "Email 2", 1, 64},
    {39, "Email 3", 1, 64},
    {41, "Work Home Page", 1, 256},
    {40, "Personal Home Page", 1, 256},
    {42, "FTP Site", 1, 256},
    {43, "Note", 1, 8192},
    {44, "Custom 1", 1, 64},
    {45, "Custom 2", 1, 64},
    {46, "Custom 3", 1, 64},
    {47, "Custom 4", 1, 64},
    {48, "Custom 5", 1, 64},
    {49, "Custom 6", 1, 64},
    {50, "Custom 7", 1, 64},
    {51, "Custom 8", 1, 64},
    {52, "Custom 9", 1, 64},
    {53, "Company", 1, 64},
    {55, "Title", 1, 32},
    {54, "Department", 1, 32},
    {56, "IM 1", 1, 32},
    {57, "IM 2", 1, 32},
    {58, "Manager Name", 1, 32},
    {59, "Assistant Name", 1, 32},
    {60, "Assistant Phone", 1, 24},
    {61, "Spouse Name", 1, 32},
    {62, "Children's Names", 1, 32},
    {63, "Profession", 1, 64},
    {64, "Hobby", 1, 64},
    {65, "Account", 1, 32},
    {67, "Birthday", 6, 8},
    {66, "Anniversary", 6, 8},
    {68, "Keyword", 1, 64},
    {69, "Language", 1, 64},
    {70, "Location", 1, 64},
    {71, "MHS Common Name", 1, 32},
    {72, "Customer ID", 1, 32},
    {73, "Government ID", 1, 32},
    {74, "Organization ID", 1, 32},
    {75, "Category", 1, 256},
    {76, "Creation Time", 6, 8},
    {77, "Last Modification Time", 6, 8},
    {78, "Source Type", 5, 4},
    {79, "Status", 4, 4},
    {80, "ID", 1, 64},
    {81, "Private", 5, 4},
    {82, "Custom Label 1", 1, 64},
    {83, "Custom Label 2", 1, 64},
    {84, "Custom Label 3", 1, 64},
    {85, "Custom Label 4", 1, 64},
    {86, "Custom Label 5", 1, 64},
    {87, "Custom Label 6", 1, 64},
    {88, "Custom Label 7", 1, 64},
    {89, "Custom Label 8", 1, 64},
    {90, "Custom Label 9", 1, 64},
};

const FieldRow* RowOf(int32_t nKey) {
  for (const FieldRow& row : kContactFields)
    if (row.nKey == nKey) return &row;
  return nullptr;
}

// Text fields that MakeRecord fills, with the image field each comes from.
struct SourceRow {
  int32_t nKey;
  size_t nImageOffset;
  size_t nImageSize;
};
#define FROM(key, field) {key, offsetof(AddrImage, field), sizeof(AddrImage::field)}
const SourceRow kTextSources[] = {
    FROM(1, FirstName),
    FROM(3, LastName),
    FROM(2, MiddleName),
    FROM(4, Initials),
    FROM(5, Suffix),
    FROM(6, NickName),
    FROM(7, FullName),
    FROM(9, BusinessAddressStreet),
    FROM(10, BusinessAddressCity),
    FROM(11, BusinessAddressState),
    FROM(12, BusinessAddressPostalCode),
    FROM(13, BusinessAddressCountry),
    FROM(14, HomeAddressStreet),
    FROM(15, HomeAddressCity),
    FROM(16, HomeAddressState),
    FROM(17, HomeAddressPostalCode),
    FROM(18, HomeAddressCountry),
    FROM(19, OtherAddressStreet),
    FROM(20, OtherAddressCity),
    FROM(21, OtherAddressState),
    FROM(22, OtherAddressPostalCode),
    FROM(23, OtherAddressCountry),
    FROM(24, HomeTelephoneNumber),
    FROM(25, BusinessTelephoneNumber),
    FROM(26, MobileTelephoneNumber),
    FROM(28, PrimaryTelephoneNumber),
    FROM(27, OtherTelephoneNumber),
    FROM(29, CallbackTelephoneNumber),
    FROM(31, RadioTelephoneNumber),
    FROM(30, CarTelephoneNumber),
    FROM(34, BusinessFaxNumber),
    FROM(35, HomeFaxNumber),
    FROM(37, Email1Address),
    FROM(38, Email2Address),
    FROM(39, Email3Address),
    FROM(41, BusinessHomePage),
    FROM(40, PersonalHomePage),
    FROM(42, FTPSite),
    FROM(43, Body),
    FROM(53, CompanyName),
    FROM(55, JobTitle),
    FROM(54, Department),
    FROM(56, IMAddress),
    FROM(58, ManagerName),
    FROM(59, AssistantName),
    FROM(60, AssistantTelephoneNumber),
    FROM(61, Spouse),
    FROM(63, Profession),
    FROM(64, Hobby),
    FROM(65, Account),
    FROM(69, Language),
    FROM(72, CustomerID),
    FROM(75, Categories),
};
#undef FROM

// Fields that have no display text, filled or not.
const std::set<int32_t> kKeysWithoutText = {38, 39, 61, 62, 79, 80, 81};

std::string Show(const AddrRecord& record, int32_t nKey, bool* pbResult, int nSize = 16384) {
  AddrDisplayField field = {};
  field.nKey = nKey;
  CommAddrMgr::FindDisplayField(nKey, &field);
  std::vector<char> buf(static_cast<size_t>(nSize), 'x');
  *pbResult = CommAddrMgr::DisplayText(&record, &field, buf.data(), nSize);
  return std::string(buf.data(), strnlen(buf.data(), buf.size()));
}

TEST(ContactDisplayFields, TableHoldsTheNinetyFieldsInOrder) {
  ASSERT_EQ(std::size(kContactFields), 90u);
  for (int i = 0; i < 90; ++i) {
    const FieldRow& row = kContactFields[i];
    AddrDisplayField field = {};
    ASSERT_TRUE(CommAddrMgr::DisplayFieldAt(i, &field)) << i;
    EXPECT_EQ(field.nKey, row.nKey) << "position " << i;
    EXPECT_STREQ(field.szLabel, row.szLabel) << "key " << row.nKey;
    EXPECT_EQ(field.nType, row.nType) << "key " << row.nKey;
    EXPECT_EQ(field.nSize, row.nSize) << "key " << row.nKey;
  }
  AddrDisplayField field = {};
  EXPECT_FALSE(CommAddrMgr::DisplayFieldAt(90, &field));
  EXPECT_FALSE(CommAddrMgr::DisplayFieldAt(-1, &field));
  EXPECT_FALSE(CommAddrMgr::DisplayFieldAt(0, nullptr));
}

TEST(ContactDisplayFields, FindDisplayFieldByKey) {
  for (const FieldRow& row : kContactFields) {
    AddrDisplayField field = {};
    ASSERT_TRUE(CommAddrMgr::FindDisplayField(row.nKey, &field)) << row.nKey;
    EXPECT_EQ(field.nKey, row.nKey);
    EXPECT_STREQ(field.szLabel, row.szLabel);
    EXPECT_EQ(field.nType, row.nType);
    EXPECT_EQ(field.nSize, row.nSize);
  }
  AddrDisplayField field = {};
  ASSERT_TRUE(CommAddrMgr::FindDisplayField(41, &field));
  EXPECT_STREQ(field.szLabel, "Work Home Page");
  EXPECT_EQ(field.nSize, 256);
  for (int32_t nKey : {0, 91, -1, 1000}) EXPECT_FALSE(CommAddrMgr::FindDisplayField(nKey, &field)) << nKey;
  EXPECT_FALSE(CommAddrMgr::FindDisplayField(41, nullptr));
}

// Every filled field ends up under its own key, cut to the smaller of the two
// fields; every other field stays empty.
TEST(ContactMakeRecord, CopiesEachImageFieldToItsKey) {
  auto image = MakeZeroed<AddrImage>();
  auto record = MakeZeroed<AddrRecord>();
  char* pImageBytes = reinterpret_cast<char*>(image.get());
  for (const SourceRow& src : kTextSources) {
    const std::string text = std::to_string(src.nKey) + "-" + MakeText(src.nImageSize);
    memcpy(pImageBytes + src.nImageOffset, text.c_str(), src.nImageSize - 1);
  }
  ASSERT_TRUE(MakeRecord(image.get(), record.get()));
  EXPECT_EQ(record->SourceType, 3);
  EXPECT_EQ(record->Image, nullptr);
  EXPECT_EQ(record->ImageSize, 0u);

  std::set<int32_t> filled;
  for (const SourceRow& src : kTextSources) {
    filled.insert(src.nKey);
    const FieldRow* pRow = RowOf(src.nKey);
    ASSERT_NE(pRow, nullptr);
    const size_t nKeep = std::min(src.nImageSize, static_cast<size_t>(pRow->nSize)) - 1;
    const std::string expected(pImageBytes + src.nImageOffset, nKeep);
    bool bResult = false;
    const std::string shown = Show(*record, src.nKey, &bResult);
    if (kKeysWithoutText.count(src.nKey)) {
      EXPECT_FALSE(bResult) << src.nKey;
      EXPECT_EQ(shown, "") << src.nKey;
    } else {
      EXPECT_TRUE(bResult) << src.nKey;
      EXPECT_EQ(shown, expected) << "key " << src.nKey;
    }
  }
  // The fields without display text are still filled.
  EXPECT_EQ(std::string(record->Email2), std::string(image->Email2Address, 63));
  EXPECT_EQ(std::string(record->Email3), std::string(image->Email3Address, 63));
  EXPECT_EQ(std::string(record->SpouseName), std::string(image->Spouse, 31));

  for (const FieldRow& row : kContactFields) {
    if (row.nType != 1 || filled.count(row.nKey) || kKeysWithoutText.count(row.nKey)) continue;
    bool bResult = false;
    EXPECT_EQ(Show(*record, row.nKey, &bResult), "") << "key " << row.nKey;
    EXPECT_TRUE(bResult) << row.nKey;
  }
}

TEST(ContactMakeRecord, CutsBeforeAWholeCharacter) {
  auto image = MakeZeroed<AddrImage>();
  auto record = MakeZeroed<AddrRecord>();
  const CutField kFirstName = {"FirstName", image->FirstName, sizeof(image->FirstName),
                               record->FirstName};
  CheckTextCuts(
      image.get(), record.get(),
      {
          {&kFirstName, {"fits exactly", 31, "", 31}},
          {&kFirstName, {"longer", 50, "", 31}},
          {&kFirstName, {"two-byte character split by the cut", 30, "\xC3\xA9", 30}},
          {&kFirstName, {"two-byte character ending at the cut", 29, "\xC3\xA9", 31}},
          {&kFirstName, {"three-byte character split by the cut", 29, "\xE2\x82\xAC", 29}},
          {&kFirstName, {"four-byte character split by the cut", 28, "\xF0\x9F\x98\x80", 28}},
      });
}

TEST(ContactMakeRecord, RefusesMissingArguments) {
  auto image = MakeZeroed<AddrImage>();
  auto record = MakeZeroed<AddrRecord>();
  EXPECT_FALSE(MakeRecord(nullptr, record.get()));
  EXPECT_FALSE(MakeRecord(image.get(), nullptr));
}

struct DateCase {
  const char* szName;
  DATE dtValue;
  bool bReal;
  const char* szText;
};

TEST(ContactDates, RecordAndTextForEachDateField) {
  const DateCase kCases[] = {
      {"ordinary", MakeDate(2011, 3, 7, 14, 5, 9), true, "03/07/2011 14:05:09"},
      {"after 2030", MakeDate(2035, 6, 1, 8, 0, 0), true, "06/01/2035 08:00:00"},
      {"after 2038", MakeDate(2040, 12, 31, 23, 59, 59), true, "12/31/2040 23:59:59"},
      {"day one", 1.0, true, "12/31/1899 00:00:00"},
      {"Outlook's no date", kNoDate4501, false, ""},
      {"after Outlook's no date", 1000000.0, false, ""},
      {"zero", 0.0, false, ""},
  };
  struct DateField {
    int32_t nKey;
    DATE AddrImage::*pImageField;
    DATE AddrRecord::*pRecordField;
  };
  const DateField kFields[] = {
      {67, &AddrImage::Birthday, &AddrRecord::Birthday},
      {66, &AddrImage::Anniversary, &AddrRecord::Anniversary},
      {76, &AddrImage::CreationTime, &AddrRecord::CreationTime},
      {77, &AddrImage::LastModificationTime, &AddrRecord::LastModificationTime},
  };
  for (const DateCase& c : kCases) {
    for (const DateField& f : kFields) {
      SCOPED_TRACE(std::string(c.szName) + ", key " + std::to_string(f.nKey));
      auto image = MakeZeroed<AddrImage>();
      auto record = MakeZeroed<AddrRecord>();
      (*image).*f.pImageField = c.dtValue;
      ASSERT_TRUE(MakeRecord(image.get(), record.get()));
      EXPECT_EQ((*record).*f.pRecordField, c.bReal ? c.dtValue : 0.0);
      bool bResult = false;
      EXPECT_EQ(Show(*record, f.nKey, &bResult), c.szText);
      EXPECT_TRUE(bResult);
    }
  }
}

struct SizeCase {
  int32_t nKey;
  int nSize;
  bool bResult;
  const char* szText;  // null: the buffer is left untouched
};

// The buffer must be larger than the field; smaller ones are refused whole,
// and texts that are not the field's own are cut to the buffer.
TEST(ContactDisplayText, BufferMustExceedTheField) {
  auto record = MakeZeroed<AddrRecord>();
  strcpy(record->FirstName, "Ann");
  strcpy(record->Note, MakeText(8191).c_str());
  record->Birthday = MakeDate(2011, 3, 7, 14, 5, 9);
  record->SourceType = 3;
  const std::string note = MakeText(8191);
  const SizeCase kCases[] = {
      {1, 32, false, nullptr},
      {1, 33, true, "Ann"},
      {1, 1024, true, "Ann"},
      {43, 8192, false, nullptr},
      {43, 8193, true, note.c_str()},
      {67, 8, false, nullptr},
      {67, 9, true, "03/07/20"},
      {67, 20, true, "03/07/2011 14:05:09"},
      {78, 4, false, nullptr},
      {78, 5, true, "Outl"},
      {78, 8, true, "Outlook"},
      {8, 4, false, nullptr},
      {8, 5, true, ""},
  };
  for (const SizeCase& c : kCases) {
    SCOPED_TRACE("key " + std::to_string(c.nKey) + ", size " + std::to_string(c.nSize));
    AddrDisplayField field = {};
    ASSERT_TRUE(CommAddrMgr::FindDisplayField(c.nKey, &field));
    std::vector<char> buf(static_cast<size_t>(c.nSize) + 1, 'x');
    EXPECT_EQ(CommAddrMgr::DisplayText(record.get(), &field, buf.data(), c.nSize), c.bResult);
    EXPECT_EQ(buf[static_cast<size_t>(c.nSize)], 'x') << "wrote past the buffer";
    if (c.szText) {
      EXPECT_STREQ(buf.data(), c.szText);
    } else {
      EXPECT_EQ(buf[0], 'x') << "a refused buffer was written";
    }
  }
}

TEST(ContactDisplayText, FieldsWithoutTextAndUnknownKeys) {
  auto record = MakeZeroed<AddrRecord>();
  strcpy(record->Email2, "second@example.org");
  strcpy(record->SpouseName, "Sam");
  strcpy(record->ID, "42");
  record->Status = 7;
  record->Private = 1;
  for (int32_t nKey : {38, 39, 61, 62, 79, 80, 81, 0, 91, -1}) {
    bool bResult = true;
    EXPECT_EQ(Show(*record, nKey, &bResult, 1024), "") << nKey;
    EXPECT_FALSE(bResult) << nKey;
  }
}

TEST(ContactDisplayText, SourceTypeNames) {
  auto record = MakeZeroed<AddrRecord>();
  // Code 3, the only one the program stores, is Outlook.
  const char* const kNames[] = {
      "Unknown",     "Text File",        "Outlook",         "Address Book",
      "vCard",       "vCalendar",        "CSV File",        "Tab Separated File",
      "LDIF File",   "XML File",         "Spreadsheet",     "Database",
      "Mail Server", "Directory Server", "Handheld Device",
  };
  for (int32_t nCode = 1; nCode <= 15; ++nCode) {
    record->SourceType = nCode;
    bool bResult = false;
    EXPECT_EQ(Show(*record, 78, &bResult, 256), kNames[nCode - 1]) << nCode;
    EXPECT_TRUE(bResult) << nCode;
  }
  for (int32_t nCode : {0, 16, -1}) {
    record->SourceType = nCode;
    bool bResult = true;
    EXPECT_EQ(Show(*record, 78, &bResult, 256), "") << nCode;
    EXPECT_FALSE(bResult) << nCode;
  }
  // A record read from Outlook.
  auto image = MakeZeroed<AddrImage>();
  ASSERT_TRUE(MakeRecord(image.get(), record.get()));
  bool bResult = false;
  EXPECT_EQ(Show(*record, 78, &bResult, 256), "Outlook");
  EXPECT_TRUE(bResult);
}

TEST(ContactDisplayText, GenderIsAlwaysEmpty) {
  auto record = MakeZeroed<AddrRecord>();
  record->Gender = 2;
  bool bResult = false;
  EXPECT_EQ(Show(*record, 8, &bResult, 64), "");
  EXPECT_TRUE(bResult);
}

TEST(ContactDisplayText, RefusesMissingArguments) {
  auto record = MakeZeroed<AddrRecord>();
  AddrDisplayField field = {};
  ASSERT_TRUE(CommAddrMgr::FindDisplayField(1, &field));
  char buf[64] = "untouched";
  EXPECT_FALSE(CommAddrMgr::DisplayText(nullptr, &field, buf, sizeof(buf)));
  EXPECT_FALSE(CommAddrMgr::DisplayText(record.get(), nullptr, buf, sizeof(buf)));
  EXPECT_FALSE(CommAddrMgr::DisplayText(record.get(), &field, nullptr, sizeof(buf)));
  EXPECT_STREQ(buf, "untouched");
}

// A caller's entry cannot widen the rule: the record's own field size counts.
TEST(ContactDisplayText, SizeRuleUsesTheRecordField) {
  auto record = MakeZeroed<AddrRecord>();
  strcpy(record->FirstName, "Ann");
  AddrDisplayField field = {};
  field.nKey = 1;
  field.nSize = 0;
  char buf[16] = "untouched";
  EXPECT_FALSE(CommAddrMgr::DisplayText(record.get(), &field, buf, sizeof(buf)));
  EXPECT_STREQ(buf, "untouched");
}

}  // namespace
