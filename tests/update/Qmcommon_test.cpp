#include "update/Qmcommon.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "support/AnsiCodePage.h"
#include "update/support/ApplierCheck.h"

namespace {

TEST(FieldTypeName, NamesEveryTypeAndNothingElse) {
  const struct {
    int32_t nType;
    const char* szWant;
  } cases[] = {
      {1, "String"},   {2, "Date"},    {3, "Date & Time"},
      {4, "Boolean"},  {5, "Integer"}, {6, "Enumeration"},
      {0, ""},         {7, ""},        {-1, ""},
      {INT32_MAX, ""},
  };
  for (const auto& c : cases) EXPECT_STREQ(c.szWant, GetFieldTypeName(c.nType)) << c.nType;
}

// ---- UpdateString ---------------------------------------------------------------

struct StringCase {
  const char* szWhat;
  const char* szStart;
  uint32_t nMaxLength;
  int32_t nOperation;
  const char* szSearch;
  const char* szValue;
  int32_t nPosition;
  const char* szWant;
  bool bApplied;  // false: left alone by rule
};

void PrintTo(const StringCase& c, std::ostream* pOut) { *pOut << c.szWhat; }

const std::string k20a(20, 'a');

const StringCase kStringCases[] = {
    // Set
    {"set cuts to max-1", "", 5, uoSet, "", "Jonathan", 0, "Jona", true},
    {"set replaces the whole text", "Team meeting", 256, uoSet, "", "Weekly review", 0,
     "Weekly review", true},
    {"set of an empty value empties", "abc", 16, uoSet, "", "", 0, "", true},
    {"set that just fits", "", 4, uoSet, "", "xyz", 0, "xyz", true},
    {"set of the same value", "abc", 16, uoSet, "", "abc", 0, "abc", true},
    // Append
    {"append that fits", "abcd", 8, uoAppend, "", "xyz", 0, "abcdxyz", true},
    {"append cut to max-1", "abcd", 7, uoAppend, "", "xyz", 0, "abcdxy", true},
    {"append to a full field", "abcd", 5, uoAppend, "", "xyz", 0, "abcd", true},
    {"append to empty", "", 8, uoAppend, "", "xyz", 0, "xyz", true},
    {"append nothing", "abc", 8, uoAppend, "", "", 0, "abc", true},
    // Insert
    {"insert in front", "abc", 16, uoInsert, "", "X", 0, "Xabc", true},
    {"insert inside", "abc", 16, uoInsert, "", "X", 2, "abXc", true},
    {"insert before the last character", "abc", 16, uoInsert, "", "XY", 2, "abXYc", true},
    {"insert at the length", "abc", 16, uoInsert, "", "X", 3, "abc", false},
    {"insert past the end", "abc", 16, uoInsert, "", "X", 10, "abc", false},
    {"insert into empty", "", 16, uoInsert, "", "X", 0, "", false},
    {"insert at a negative position", "abc", 16, uoInsert, "", "X", -1, "abc", false},
    {"insert cut to max-1", "abcd", 5, uoInsert, "", "XYZ", 1, "aXYZ", true},
    {"insert counts characters", "h\xC3\xA9llo", 16, uoInsert, "", "X", 2, "h\xC3\xA9Xllo", true},
    // Replace
    {"replace every occurrence", "banana", 16, uoReplace, "a", "b", 0, "bbnbnb", true},
    {"replace is case-sensitive", "banana", 16, uoReplace, "A", "b", 0, "banana", true},
    {"replacement containing the search", "banana", 16, uoReplace, "a", "aa", 0, "banana", false},
    {"replace with nothing", "banana", 16, uoReplace, "na", "", 0, "ba", true},
    {"replace formed occurrences too", "aabb", 16, uoReplace, "ab", "", 0, "", true},
    {"replace without a search text", "banana", 16, uoReplace, "", "x", 0, "banana", false},
    {"replace does not trim", " a b ", 16, uoReplace, " ", "_", 0, "_a_b_", true},
    {"replace the whole text", "banana", 16, uoReplace, "banana", "", 0, "", true},
    {"replace multi-byte text", "caf\xC3\xA9 caf\xC3\xA9", 16, uoReplace, "\xC3\xA9", "e", 0,
     "cafe cafe", true},
    // Every occurrence the text holds is replaced before the result is cut.
    {"longer replacement cut at the end", "aaaa", 8, uoReplace, "a", "xyz", 0, "xyzxyzx", true},
    // 'ab' -> 'bbaa' keeps forming new occurrences: aab, abbaa, bbaabaa (7 bytes,
    // still fits), bbabbaaaa (9 bytes, too long): stop and cut.
    {"formed occurrences stop past max-1", "aab", 8, uoReplace, "ab", "bbaa", 0, "bbabbaa", true},
    // Other operations
    {"operation none", "abc", 16, uoNone, "", "xyz", 0, "abc", false},
    {"unknown operation", "abc", 16, 5, "", "xyz", 0, "abc", false},
    {"negative operation", "abc", 16, -1, "", "xyz", 0, "abc", false},
    // UTF-8 texts are cut before a whole character.
    {"set fits with a two-byte character", "", 6, uoSet, "", "abc\xC3\xA9", 0, "abc\xC3\xA9", true},
    {"set cut before a two-byte character", "", 5, uoSet, "", "abc\xC3\xA9", 0, "abc", true},
    {"append cut before a two-byte character", "abc", 5, uoAppend, "", "\xC3\xA9", 0, "abc", true},
    {"set cut before a three-byte character", "", 6, uoSet, "", "\xE6\x97\xA5\xE6\x9C\xAC", 0,
     "\xE6\x97\xA5", true},
    {"replace cut before a two-byte character", "aaaa", 6, uoReplace, "a", "\xC3\xA9", 0,
     "\xC3\xA9\xC3\xA9", true},
};

class UpdateStringCases : public testing::TestWithParam<StringCase> {};

TEST_P(UpdateStringCases, LeavesTheExpectedText) {
  const StringCase& c = GetParam();
  if (!Utf8CaseHolds(std::string(c.szStart) + c.szSearch + c.szValue))
    GTEST_SKIP() << "a UTF-8 case";
  // A buffer of exactly the maximum length, so a write past it is caught.
  std::vector<char> buffer(c.nMaxLength, '#');
  ASSERT_LT(strlen(c.szStart), c.nMaxLength);
  memcpy(buffer.data(), c.szStart, strlen(c.szStart) + 1);
  FieldUpdateDef def = TextDef(7, c.nOperation, c.szValue, c.szSearch, c.nPosition);

  bool bApplied = !c.bApplied;
  EXPECT_TRUE(CxQMCommonUtil::UpdateString(buffer.data(), c.nMaxLength, &def, &bApplied));
  EXPECT_STREQ(c.szWant, buffer.data());
  EXPECT_EQ(c.bApplied, bApplied);
}

INSTANTIATE_TEST_SUITE_P(ValueOperations, UpdateStringCases, testing::ValuesIn(kStringCases),
                         [](const testing::TestParamInfo<StringCase>& info) {
                           std::string s;
                           for (const char* p = info.param.szWhat; *p; ++p)
                             s += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return s;
                         });

TEST(UpdateString, SelfFormingReplaceEndsAndFillsTheField) {
  // Without a bound 'a'*20 + 'b' would grow to millions of bytes.
  std::vector<char> buffer(256, 0);
  const std::string sStart = k20a + "b";
  memcpy(buffer.data(), sStart.c_str(), sStart.size() + 1);
  FieldUpdateDef def = TextDef(7, uoReplace, "bbaa", "ab");
  EXPECT_TRUE(CxQMCommonUtil::UpdateString(buffer.data(), 256, &def));
  const std::string sGot(buffer.data());
  EXPECT_EQ(255u, sGot.size());
  EXPECT_EQ(std::string::npos, sGot.find_first_not_of("ab"));
}

TEST(UpdateString, UnterminatedDefinitionTextsStopAtTheirArray) {
  FieldUpdateDef def = TextDef(7, uoAppend, "");
  memset(def.szValue, 'v', sizeof def.szValue);  // no terminating zero
  std::vector<char> buffer(2048, 0);
  EXPECT_TRUE(CxQMCommonUtil::UpdateString(buffer.data(), 2048, &def));
  EXPECT_EQ(std::string(256, 'v'), buffer.data());
}

TEST(UpdateString, MissingInputsChangeNothing) {
  FieldUpdateDef def = TextDef(7, uoSet, "new");
  char szText[16] = "old";
  bool bApplied = true;
  EXPECT_FALSE(CxQMCommonUtil::UpdateString(nullptr, 16, &def, &bApplied));
  EXPECT_FALSE(bApplied);
  EXPECT_FALSE(CxQMCommonUtil::UpdateString(szText, 16, nullptr));
  EXPECT_FALSE(CxQMCommonUtil::UpdateString(szText, 0, &def));
  EXPECT_STREQ("old", szText);
}

// ---- UpdateDate, UpdateInteger, UpdateBoolean --------------------------------------

TEST(UpdateDate, CopiesTheDateOnlyWhenOneIsStored) {
  const struct {
    int32_t nHasDate;
    double dtWant;
    bool bApplied;
  } cases[] = {{1, 45000.75, true}, {0, 100.25, false}, {2, 100.25, false}};
  for (const auto& c : cases) {
    double slots[3] = {-1.0, 100.25, -1.0};
    FieldUpdateDef def = NewDef(5);
    def.nHasDate = c.nHasDate;
    def.dtValue = 45000.75;
    bool bApplied = !c.bApplied;
    EXPECT_TRUE(CxQMCommonUtil::UpdateDate(&slots[1], &def, &bApplied)) << c.nHasDate;
    EXPECT_EQ(c.dtWant, slots[1]) << c.nHasDate;
    EXPECT_EQ(c.bApplied, bApplied) << c.nHasDate;
    EXPECT_EQ(-1.0, slots[0]);
    EXPECT_EQ(-1.0, slots[2]);
  }
  double dt = 3.0;
  FieldUpdateDef def = NewDef(5);
  def.nHasDate = 1;
  EXPECT_FALSE(CxQMCommonUtil::UpdateDate(nullptr, &def));
  EXPECT_FALSE(CxQMCommonUtil::UpdateDate(&dt, nullptr));
  EXPECT_EQ(3.0, dt);
}

TEST(UpdateInteger, WritesExactlyOneValue) {
  for (int32_t nValue : {0, 1, -1, 150, INT32_MIN, INT32_MAX}) {
    int32_t slots[3] = {0x5A5A5A5A, 0x5A5A5A5A, 0x5A5A5A5A};
    FieldUpdateDef def = NewDef(16);
    def.nValue = nValue;
    EXPECT_TRUE(CxQMCommonUtil::UpdateInteger(&slots[1], &def));
    EXPECT_EQ(nValue, slots[1]);
    EXPECT_EQ(0x5A5A5A5A, slots[0]);
    EXPECT_EQ(0x5A5A5A5A, slots[2]);
  }
  int32_t n = 9;
  FieldUpdateDef def = NewDef(16);
  EXPECT_FALSE(CxQMCommonUtil::UpdateInteger(nullptr, &def));
  EXPECT_FALSE(CxQMCommonUtil::UpdateInteger(&n, nullptr));
  EXPECT_EQ(9, n);
}

TEST(UpdateBoolean, StoresExactlyOneOrZero) {
  const struct {
    uint8_t bValue;
    int32_t nWant;
  } cases[] = {{1, 1}, {0, 0}, {2, 1}, {255, 1}};
  for (const auto& c : cases) {
    FieldUpdateDef def = NewDef(1);
    def.bValue = c.bValue;

    unsigned char bytes[3] = {0x5A, 0x5A, 0x5A};
    bool* pFlag = reinterpret_cast<bool*>(&bytes[1]);
    EXPECT_TRUE(CxQMCommonUtil::UpdateBoolean(pFlag, &def));
    EXPECT_EQ(c.nWant, bytes[1]) << int{c.bValue};
    EXPECT_EQ(0x5A, bytes[0]);
    EXPECT_EQ(0x5A, bytes[2]);

    int32_t slots[3] = {0x5A5A5A5A, 0x5A5A5A5A, 0x5A5A5A5A};
    EXPECT_TRUE(CxQMCommonUtil::UpdateBoolean(&slots[1], &def));
    EXPECT_EQ(c.nWant, slots[1]) << int{c.bValue};
    EXPECT_EQ(0x5A5A5A5A, slots[0]);
    EXPECT_EQ(0x5A5A5A5A, slots[2]);
  }
  FieldUpdateDef def = NewDef(1);
  bool bFlag = true;
  int32_t nFlag = 7;
  EXPECT_FALSE(CxQMCommonUtil::UpdateBoolean(static_cast<bool*>(nullptr), &def));
  EXPECT_FALSE(CxQMCommonUtil::UpdateBoolean(static_cast<int32_t*>(nullptr), &def));
  EXPECT_FALSE(CxQMCommonUtil::UpdateBoolean(&bFlag, nullptr));
  EXPECT_FALSE(CxQMCommonUtil::UpdateBoolean(&nFlag, nullptr));
  EXPECT_TRUE(bFlag);
  EXPECT_EQ(7, nFlag);
}

// ---- Profile manager ---------------------------------------------------------------

// The manager owns its profiles and their definitions: under LeakSanitizer a
// profile or definition left behind fails this test.
TEST(UpdateProfileManager, FreesEveryProfileAndDefinition) {
  auto pManager = std::make_unique<CxUpdateProfileManager>();
  ASSERT_EQ(0u, pManager->GetProfileList()->GetCount());
  for (int nProfile = 0; nProfile < 3; ++nProfile) {
    auto* pProfile = new CxUpdateProfile;
    for (int nDef = 0; nDef < nProfile + 1; ++nDef) {
      auto* pDef = static_cast<FieldUpdateDef*>(calloc(1, sizeof(FieldUpdateDef)));
      ASSERT_NE(nullptr, pDef);
      pDef->nFieldID = -1;
      ASSERT_TRUE(pProfile->m_FieldList.Add(pDef));
    }
    ASSERT_TRUE(pManager->GetProfileList()->Add(pProfile));
  }
  EXPECT_EQ(3u, pManager->GetProfileList()->GetCount());
  pManager.reset();
}

}  // namespace
