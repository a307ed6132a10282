#include "common/misc/CxIniUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

#include "common/misc/WinUtil.h"
#include "support/TempFolder.h"

namespace {

const char kSection[] = "DI-ZU";

const char kIniText[] =
    "[DI-ZU]\r\n"
    "Empty=\r\n"
    "Number=42\r\n"
    "Negative=-7\r\n"
    "Plus=+5\r\n"
    "Trailing=12abc\r\n"
    "Letters=abc\r\n"
    "Hex=0x10\r\n"
    "Zero=0\r\n"
    "Two=2\r\n"
    "Max=2147483647\r\n"
    "TooBig=99999999999\r\n"
    "TooSmall=-99999999999\r\n"
    "Text=Hello World\r\n"
    "[Other]\r\n"
    "OnlyHere=9\r\n";

class CxIniUtilTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteWholeFile(m_tmp.File("test.ini"), kIniText); }

  TempFolder m_tmp;
  CxIniUtil m_ini{m_tmp.Folder().c_str(), "test.ini"};
};

TEST_F(CxIniUtilTest, PathIsFolderFollowedByFileName) {
  EXPECT_EQ(std::string(m_ini.GetFilePath()), m_tmp.File("test.ini"));
}

TEST(CxIniUtilPathTest, NoFolderMeansTheProgramsFolder) {
  char szModuleFolder[MAX_PATH];
  ASSERT_TRUE(GetModuleFolder(nullptr, szModuleFolder));
  const std::string expected = std::string(szModuleFolder) + "settings.ini";
  EXPECT_EQ(std::string(CxIniUtil(nullptr, "settings.ini").GetFilePath()), expected);
  EXPECT_EQ(std::string(CxIniUtil("", "settings.ini").GetFilePath()), expected);
}

TEST_F(CxIniUtilTest, SetFilePathRefusesMissingAndOverlongPaths) {
  const std::string before = m_ini.GetFilePath();
  const std::string tooLong = "/" + std::string(MAX_PATH, 'p');
  const char* refused[] = {nullptr, "", tooLong.c_str()};
  for (const char* szPath : refused) {
    EXPECT_FALSE(m_ini.SetFilePath(szPath));
    EXPECT_EQ(std::string(m_ini.GetFilePath()), before);
  }
  const std::string longest = "/" + std::string(MAX_PATH - 2, 'p');
  EXPECT_TRUE(m_ini.SetFilePath(longest.c_str()));
  EXPECT_EQ(std::string(m_ini.GetFilePath()), longest);
}

TEST(CxIniUtilPathTest, OverlongPathLeavesNoFileInsteadOfAnotherOne) {
  TempFolder tmp;
  const std::string folder = tmp.Folder() + std::string(MAX_PATH, 'f') + "/";
  CxIniUtil ini(folder.c_str(), "x.ini");
  EXPECT_STREQ(ini.GetFilePath(), "");
  char szBuf[16] = "junk";
  EXPECT_EQ(ini.GetString(kSection, "Key", szBuf, sizeof(szBuf), "dflt"), 4);
  EXPECT_STREQ(szBuf, "dflt");
  EXPECT_EQ(ini.GetInt(kSection, "Key", 17), 17);
  EXPECT_EQ(ini.WriteString(kSection, "Key", "v"), FALSE);
}

struct IntCase {
  const char* szKey;
  int32_t nDefault;
  int32_t nExpected;
};

TEST_F(CxIniUtilTest, GetIntReadsLikeAtolWithinThirtyTwoBits) {
  const IntCase cases[] = {
      {"Missing", 1, 1},       {"Missing", -3, -3},       {"Empty", 3, 3},
      {"Number", 1, 42},       {"Negative", 1, -7},       {"Plus", 1, 5},
      {"Trailing", 1, 12},     {"Letters", 1, 0},         {"Hex", 1, 0},
      {"Zero", 1, 0},          {"Max", 0, INT32_MAX},     {"TooBig", 0, INT32_MAX},
      {"TooSmall", 0, INT32_MIN}, {"OnlyHere", 8, 8},
  };
  for (const IntCase& c : cases) EXPECT_EQ(m_ini.GetInt(kSection, c.szKey, c.nDefault), c.nExpected) << c.szKey;
  EXPECT_EQ(m_ini.GetInt("Other", "OnlyHere", 8), 9);
}

TEST_F(CxIniUtilTest, GetBoolIsNonZero) {
  const struct {
    const char* szKey;
    bool bDefault;
    bool bExpected;
  } cases[] = {
      {"Missing", true, true}, {"Missing", false, false}, {"Empty", true, true}, {"Zero", true, false},
      {"Two", false, true},    {"Letters", true, false},  {"Negative", false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(m_ini.GetBool(kSection, c.szKey, c.bDefault), c.bExpected) << c.szKey << " " << c.bDefault;
  }
}

TEST_F(CxIniUtilTest, GetStringReadsOrGivesTheDefault) {
  char szBuf[32];
  EXPECT_EQ(m_ini.GetString(kSection, "Text", szBuf, sizeof(szBuf), "d"), 11);
  EXPECT_STREQ(szBuf, "Hello World");
  EXPECT_EQ(m_ini.GetString(kSection, "Missing", szBuf, sizeof(szBuf), "dflt"), 4);
  EXPECT_STREQ(szBuf, "dflt");
  EXPECT_EQ(m_ini.GetString(kSection, "Missing", szBuf, sizeof(szBuf), nullptr), 0);
  EXPECT_STREQ(szBuf, "");
  EXPECT_EQ(m_ini.GetString(kSection, "Text", szBuf, 6, ""), 5);
  EXPECT_STREQ(szBuf, "Hello");
}

TEST_F(CxIniUtilTest, GetStringWithoutKeyOrBufferReadsNothing) {
  char szBuf[8] = "keep";
  EXPECT_EQ(m_ini.GetString(kSection, "Text", nullptr, 8, "d"), 0);
  EXPECT_EQ(m_ini.GetString(kSection, "Text", szBuf, 0, "d"), 0);
  EXPECT_STREQ(szBuf, "keep");
  const struct {
    const char* szSection;
    const char* szKey;
  } cases[] = {{kSection, nullptr}, {kSection, ""}, {nullptr, "Text"}, {"", "Text"}};
  for (const auto& c : cases) {
    strcpy(szBuf, "keep");
    EXPECT_EQ(m_ini.GetString(c.szSection, c.szKey, szBuf, sizeof(szBuf), "d"), 0);
    EXPECT_STREQ(szBuf, "");
  }
}

TEST_F(CxIniUtilTest, WritesTextsNumbersAndFlags) {
  EXPECT_NE(m_ini.WriteBool(kSection, "FlagOn", true), FALSE);
  EXPECT_NE(m_ini.WriteBool(kSection, "FlagOff", false), FALSE);
  EXPECT_NE(m_ini.WriteInt(kSection, "Number", -12), FALSE);
  EXPECT_NE(m_ini.WriteString(kSection, "Text", "Changed text"), FALSE);
  EXPECT_NE(m_ini.WriteString(kSection, "NullValue", nullptr), FALSE);

  const struct {
    const char* szKey;
    const char* szText;
  } written[] = {
      {"FlagOn", "1"}, {"FlagOff", "0"}, {"Number", "-12"}, {"Text", "Changed text"}, {"NullValue", ""},
  };
  for (const auto& w : written) {
    char szBuf[32];
    m_ini.GetString(kSection, w.szKey, szBuf, sizeof(szBuf), "<missing>");
    EXPECT_STREQ(szBuf, w.szText) << w.szKey;
  }
  // A null value keeps the key, with an empty value.
  EXPECT_NE(ReadWholeFile(m_ini.GetFilePath()).find("NullValue="), std::string::npos);
  // Other keys and sections are left alone.
  EXPECT_EQ(m_ini.GetInt(kSection, "Trailing", 0), 12);
  EXPECT_EQ(m_ini.GetInt("Other", "OnlyHere", 0), 9);
}

TEST_F(CxIniUtilTest, WriteWithoutKeyWritesNothing) {
  const std::string path = m_tmp.File("new.ini");
  ASSERT_TRUE(m_ini.SetFilePath(path.c_str()));
  EXPECT_EQ(m_ini.WriteString(kSection, nullptr, "v"), FALSE);
  EXPECT_EQ(m_ini.WriteString(kSection, "", "v"), FALSE);
  EXPECT_EQ(m_ini.WriteInt(nullptr, "Key", 1), FALSE);
  EXPECT_FALSE(std::filesystem::exists(path));
  // The first real write creates the file.
  EXPECT_NE(m_ini.WriteInt(kSection, "Key", 1), FALSE);
  EXPECT_EQ(m_ini.GetInt(kSection, "Key", 0), 1);
}

TEST_F(CxIniUtilTest, WriteIntoMissingFolderFails) {
  ASSERT_TRUE(m_ini.SetFilePath(m_tmp.File("no-folder/x.ini").c_str()));
  EXPECT_EQ(m_ini.WriteInt(kSection, "Key", 1), FALSE);
  EXPECT_EQ(m_ini.GetInt(kSection, "Key", 5), 5);
}

}  // namespace
