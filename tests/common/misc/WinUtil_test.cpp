#include "common/misc/WinUtil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// This test program's own file, as the system names it.
std::filesystem::path OwnExecutable() {
  char szPath[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, szPath, MAX_PATH);
  return szPath;
}

TEST(WinUtilTest, ModuleFolderIsTheProgramsFolderWithSeparator) {
  char szFolder[MAX_PATH];
  ASSERT_TRUE(GetModuleFolder(nullptr, szFolder));
  const std::filesystem::path self = OwnExecutable();
  ASSERT_TRUE(std::filesystem::is_regular_file(self)) << self;
  EXPECT_EQ(std::string(szFolder), self.parent_path().string() + PAL_PATH_SEPARATOR_STR);
  EXPECT_FALSE(GetModuleFolder(nullptr, nullptr));
}

struct ShellCall {
  std::string operation, file, parameters, directory;
};
std::vector<ShellCall> g_shellCalls;

void RecordShellCall(LPCSTR szOperation, LPCSTR szFile, LPCSTR szParameters, LPCSTR szDirectory) {
  const auto text = [](LPCSTR sz) { return std::string(sz ? sz : "<null>"); };
  g_shellCalls.push_back({text(szOperation), text(szFile), text(szParameters), text(szDirectory)});
}

class ShellOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_shellCalls.clear();
    PalSetShellExecuteHook(RecordShellCall);
  }
  void TearDown() override { PalSetShellExecuteHook(nullptr); }
};

TEST_F(ShellOpenTest, OpensWithTheOpenVerbAndNoParameters) {
  const char* names[] = {"QM_OL.chm", "some folder" PAL_PATH_SEPARATOR_STR,
                         "mailto:someone@example.com?subject=Bug Report"};
  for (const char* szName : names) {
    g_shellCalls.clear();
    EXPECT_TRUE(ShellOpen(szName));
    ASSERT_EQ(g_shellCalls.size(), 1u) << szName;
    EXPECT_EQ(g_shellCalls[0].operation, "open");
    EXPECT_EQ(g_shellCalls[0].file, szName);
    EXPECT_EQ(g_shellCalls[0].parameters, "");
    EXPECT_EQ(g_shellCalls[0].directory, "");
  }
}

TEST_F(ShellOpenTest, EmptyNameStartsNothing) {
  EXPECT_FALSE(ShellOpen(""));
  EXPECT_FALSE(ShellOpen(nullptr));
  EXPECT_TRUE(g_shellCalls.empty());
}

TEST(WinUtilTest, FileVersionFailsAndZeroesWithoutAVersionResource) {
  const std::string self = OwnExecutable().string();
  const char* files[] = {nullptr, "", "/no/such/file.exe", self.c_str()};
  for (const char* szFile : files) {
    int nMajor = 9, nMinor = 9, nBuild = 9, nRevision = 9;
    EXPECT_FALSE(GetFileVersion(szFile, &nMajor, &nMinor, &nBuild, &nRevision));
    EXPECT_EQ(nMajor, 0);
    EXPECT_EQ(nMinor, 0);
    EXPECT_EQ(nBuild, 0);
    EXPECT_EQ(nRevision, 0);
  }
  int n = 0;
  EXPECT_FALSE(GetFileVersion(self.c_str(), &n, &n, &n, nullptr));
}

TEST(WinUtilTest, OutlookVersionWithoutRegisteredOutlookLeavesTheText) {
  char szVersion[64] = "unchanged";
  EXPECT_FALSE(GetOutlookVersion(szVersion));
  EXPECT_STREQ(szVersion, "unchanged");
  EXPECT_FALSE(GetOutlookVersion(nullptr));
}

TEST(WinUtilTest, VariantTimeToStringIsMonthFirstWithDashes) {
  const struct {
    double dtDate;
    const char* szText;
  } cases[] = {
      {40637.5, "04-04-2011 12:00:00"},
      {0.0, "12-30-1899 00:00:00"},
      {51302.52135416667, "06-15-2040 12:30:45"},
      {949998.0, "01-01-4501 00:00:00"},
  };
  for (const auto& c : cases) {
    char szText[20] = {};
    EXPECT_TRUE(VariantTimeToString(c.dtDate, szText)) << c.dtDate;
    EXPECT_STREQ(szText, c.szText);
  }
  char szText[20] = "unchanged";
  EXPECT_FALSE(VariantTimeToString(1e7, szText));
  EXPECT_STREQ(szText, "unchanged");
  EXPECT_FALSE(VariantTimeToString(40637.5, nullptr));
}

}  // namespace
