// Profile files: every kind of definition of every kind of item comes back
// exactly as it was saved, and a broken file is refused as a whole, saying
// where and why.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/misc/CxList.h"
#include "platform/win32.h"
#include "support/TempFolder.h"
#include "update/CxItemKind.h"
#include "update/CxProfileFile.h"
#include "update/support/ApplierCheck.h"

namespace {

// 2024-03-15 09:30, exactly, as an automation date.
double MarchFifteenth(bool bWithTime) {
  SYSTEMTIME st{};
  st.wYear = 2024;
  st.wMonth = 3;
  st.wDay = 15;
  st.wHour = bWithTime ? 9 : 0;
  st.wMinute = bWithTime ? 30 : 0;
  double dtValue = 0;
  SystemTimeToVariantTime(&st, &dtValue);
  return dtValue;
}

// Every text operation on the first text field, with values that test the
// file's quoting, and one definition of every field of another type.
std::vector<FieldUpdateDef> EveryDefinition(const CxItemKind& kind) {
  std::vector<FieldUpdateDef> defs;
  bool bTextDone = false;
  for (int32_t n = 0; n < kind.GetEntryCount(); ++n) {
    const FieldDescriptor& field = kind.GetEntryAt(n)->Desc;
    const int32_t id = field.nFieldID;
    switch (field.nType) {
      case ftString:
        if (bTextDone) break;
        bTextDone = true;
        defs.push_back(TextDef(id, uoSet, "  \"quoted\" \\ back\\slash; =x  "));
        defs.push_back(TextDef(id, uoAppend, "\nline two\ttab\r"));
        defs.push_back(TextDef(id, uoInsert, "Zo\xC3\xAB ", "", 3));
        defs.push_back(TextDef(id, uoReplace, "", "Inc."));
        break;
      case ftDate:
      case ftDateTime:
        defs.push_back(DateDef(id, MarchFifteenth(field.nType == ftDateTime)));
        break;
      case ftBoolean:
        defs.push_back(BoolDef(id, true));
        break;
      case ftInteger:
        defs.push_back(IntDef(id, -42));
        break;
      case ftEnumeration:
        defs.push_back(IntDef(id, field.nEnumValues[field.nEnumCount - 1]));
        break;
    }
  }
  return defs;
}

class ProfileFileTest : public testing::TestWithParam<int32_t> {
 protected:
  TempFolder m_temp;
};

TEST_P(ProfileFileTest, EveryDefinitionComesBackAsSaved) {
  const std::unique_ptr<CxItemKind> pKind =
      MakeItemKind(GetParam(), nullptr, nullptr, nullptr, nullptr);
  const std::vector<FieldUpdateDef> defs = EveryDefinition(*pKind);
  const std::string strPath = m_temp.File("profile.ini");
  std::string strError;
  ASSERT_TRUE(WriteProfileFile(strPath, *pKind, defs, &strError)) << strError;
  // Saving again over the file leaves no trace of the first.
  ASSERT_TRUE(WriteProfileFile(strPath, *pKind, defs, &strError)) << strError;
  std::vector<FieldUpdateDef> read;
  ASSERT_TRUE(ReadProfileFile(strPath, *pKind, &read, &strError)) << strError;
  ASSERT_EQ(defs.size(), read.size());
  for (size_t n = 0; n < defs.size(); ++n) {
    SCOPED_TRACE("definition " + std::to_string(n + 1) + ", field " +
                 std::to_string(defs[n].nFieldID));
    const FieldUpdateDef& saved = defs[n];
    const FieldUpdateDef& loaded = read[n];
    EXPECT_EQ(saved.nFieldID, loaded.nFieldID);
    EXPECT_EQ(saved.nOperation, loaded.nOperation);
    EXPECT_STREQ(saved.szValue, loaded.szValue);
    EXPECT_STREQ(saved.szSearch, loaded.szSearch);
    EXPECT_EQ(saved.nPosition, loaded.nPosition);
    EXPECT_EQ(saved.nHasDate, loaded.nHasDate);
    EXPECT_EQ(saved.dtValue, loaded.dtValue);
    EXPECT_EQ(saved.bValue, loaded.bValue);
    EXPECT_EQ(saved.nValue, loaded.nValue);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, ProfileFileTest, testing::Values(1, 2, 4, 8));

struct BrokenCase {
  const char* szName;
  const char* szText;
  const char* szWhere;  // the section the message names
  const char* szWhy;    // a part of the reason
};

void PrintTo(const BrokenCase& brokenCase, std::ostream* pOut) { *pOut << brokenCase.szName; }

constexpr char kHead[] = "[Profile]\nKind=contacts\nDefinitions=1\n[Definition 1]\n";

const BrokenCase kBrokenCases[] = {
    {"NotAProfile", "[Other]\nx=1\n", "Profile", "not a profile"},
    {"UnknownKind", "[Profile]\nKind=people\nDefinitions=1\n", "Profile",
     "\"people\" is not a kind"},
    {"AnotherKind", "[Profile]\nKind=calendar\nDefinitions=1\n", "Profile",
     "a profile for calendar items, not for contacts"},
    {"NoCount", "[Profile]\nKind=contacts\n", "Profile", "Definitions must give"},
    {"NoDefinitions", "[Profile]\nKind=contacts\nDefinitions=0\n", "Profile",
     "Definitions must give"},
    {"MissingSection",
     "[Profile]\nKind=contacts\nDefinitions=2\n[Definition 1]\nField=Job Title\n"
     "FieldID=46\nOperation=Set\nText=\"x\"\n",
     "Definition 2", "missing"},
    {"UnknownField", "Field=Job Titel\nFieldID=46\n", "Definition 1",
     "\"Job Titel\" is not a field of contacts"},
    {"WrongId", "Field=Job Title\nFieldID=47\n", "Definition 1", "FieldID must be 46"},
    {"UnknownOperation", "Field=Job Title\nFieldID=46\nOperation=Prepend\nText=\"x\"\n",
     "Definition 1", "Operation must be Set, Append, Insert or Replace"},
    {"NoText", "Field=Job Title\nFieldID=46\nOperation=Set\n", "Definition 1", "Text is missing"},
    {"EmptyAppend", "Field=Job Title\nFieldID=46\nOperation=Append\nText=\"\"\n", "Definition 1",
     "the text to append is empty"},
    {"EmptySearch", "Field=Job Title\nFieldID=46\nOperation=Replace\nText=\"x\"\nSearch=\"\"\n",
     "Definition 1", "the text to replace is empty"},
    {"BadEscape", "Field=Job Title\nFieldID=46\nOperation=Set\nText=\"a\\qb\"\n", "Definition 1",
     "backslash"},
    {"TooLong", "Field=Job Title\nFieldID=46\nOperation=Set\nText=\"{LONG}\"\n", "Definition 1",
     "longer than 255 bytes"},
    {"BadPosition", "Field=Job Title\nFieldID=46\nOperation=Insert\nText=\"x\"\nPosition=-1\n",
     "Definition 1", "Position must be"},
    {"BadDate", "Field=Birthday\nFieldID=5\nDate=15.03.1990\n", "Definition 1",
     "is not a date (YYYY-MM-DD)"},
    {"NoSuchDay", "Field=Birthday\nFieldID=5\nDate=1990-02-30\n", "Definition 1", "is not a date"},
    {"TimeOnADate", "Field=Birthday\nFieldID=5\nDate=1990-03-15T10:00\n", "Definition 1",
     "is not a date"},
    {"NoDate", "Field=Birthday\nFieldID=5\n", "Definition 1", "Date is missing"},
    {"OperationOnADate", "Field=Birthday\nFieldID=5\nOperation=Append\nDate=1990-03-15\n",
     "Definition 1", "its only operation is Set"},
    {"UnknownChoice", "Field=Gender\nFieldID=34\nChoice=Maybe\n", "Definition 1",
     "\"Maybe\" is not one of Not Specified, Female, Male"},
};

class ProfileRefusalTest : public testing::TestWithParam<BrokenCase> {
 protected:
  TempFolder m_temp;
};

TEST_P(ProfileRefusalTest, RefusesTheWholeFileSayingWhereAndWhy) {
  const BrokenCase& brokenCase = GetParam();
  std::string strText = brokenCase.szText;
  if (strText.rfind("[", 0) != 0) strText = kHead + strText;
  const size_t nLong = strText.find("{LONG}");
  if (nLong != std::string::npos) strText.replace(nLong, 6, std::string(256, 'x'));
  const std::string strPath = m_temp.File("broken.ini");
  std::ofstream(strPath, std::ios::binary) << strText;
  const std::unique_ptr<CxItemKind> pKind = MakeItemKind(1, nullptr, nullptr, nullptr, nullptr);
  std::vector<FieldUpdateDef> defs = {TextDef(46, uoSet, "kept")};
  std::string strError;
  EXPECT_FALSE(ReadProfileFile(strPath, *pKind, &defs, &strError));
  EXPECT_EQ(0u, strError.rfind(strPath + ", section [" + brokenCase.szWhere + "]: ", 0))
      << strError;
  EXPECT_NE(std::string::npos, strError.find(brokenCase.szWhy)) << strError;
  ASSERT_EQ(1u, defs.size()) << "nothing is loaded";
  EXPECT_STREQ("kept", defs[0].szValue);
}

INSTANTIATE_TEST_SUITE_P(BrokenFiles, ProfileRefusalTest, testing::ValuesIn(kBrokenCases),
                         [](const testing::TestParamInfo<BrokenCase>& info) {
                           return std::string(info.param.szName);
                         });

// The profile manager replaces the list only with a sound profile.
TEST(ProfileManagerTest, LoadReplacesTheListOnlyWhenTheProfileIsSound) {
  TempFolder temp;
  const std::unique_ptr<CxItemKind> pKind = MakeItemKind(4, nullptr, nullptr, nullptr, nullptr);
  CxUpdateProfileManager manager;
  CxList list;
  auto fnAdd = [&list](const FieldUpdateDef& def) {
    auto* pDef = static_cast<FieldUpdateDef*>(malloc(sizeof def));
    *pDef = def;
    list.Add(pDef);
  };
  fnAdd(TextDef(22, uoSet, "Subject one"));
  fnAdd(BoolDef(3, true));
  const std::string strPath = temp.File("tasks.ini");
  std::string strError;
  ASSERT_TRUE(manager.SaveProfile(strPath.c_str(), *pKind, &list, &strError)) << strError;
  EXPECT_EQ(strPath, manager.GetLastPath());

  list.RemoveAll(true);
  fnAdd(TextDef(22, uoAppend, "!"));
  const std::string strMissing = temp.File("missing.ini");
  EXPECT_FALSE(manager.LoadProfile(strMissing.c_str(), *pKind, &list, &strError));
  EXPECT_EQ(strMissing + ": there is no such file", strError);
  ASSERT_EQ(1u, list.GetCount());

  ASSERT_TRUE(manager.LoadProfile(strPath.c_str(), *pKind, &list, &strError)) << strError;
  ASSERT_EQ(2u, list.GetCount());
  EXPECT_STREQ("Subject one", static_cast<FieldUpdateDef*>(list.GetFirst())->szValue);
  EXPECT_EQ(1, static_cast<FieldUpdateDef*>(list.GetNext())->bValue);
  list.RemoveAll(true);
}

}  // namespace
