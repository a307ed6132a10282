// The installed Outlook as page 1 and "Open Outlook" find it, read for real:
// the App Paths key in the registry and the version resource of the program
// file it leads to.
#include <gtest/gtest.h>

#include <string>

#include "common/misc/WinUtil.h"
#include "platform/win32.h"

namespace {

constexpr char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";

// The folder of the stand-in OUTLOOK.EXE, which carries version 16.0.5678.1000.
std::string ProgramFolder() {
  char szPath[MAX_PATH] = {};
  const DWORD nLength = GetModuleFileNameA(nullptr, szPath, MAX_PATH);
  std::string path(szPath, nLength);
  return path.substr(0, path.find_last_of("\\/") + 1) + "outlook-program";
}

class OutlookProgramTest : public testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAppPathsKey); }

  static void RegisterPath(const std::string& strFolder) {
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path", REG_SZ, strFolder.c_str(),
                              static_cast<DWORD>(strFolder.size() + 1)),
              ERROR_SUCCESS);
  }
};

TEST_F(OutlookProgramTest, PathAndVersionComeFromTheRegisteredProgram) {
  const std::string strProgram = ProgramFolder() + "\\OUTLOOK.EXE";
  struct Case {
    std::string strFolder;
    std::string strPath;
    bool bVersion;
    const char* szVersion;
  };
  const Case kCases[] = {
      {ProgramFolder() + "\\", strProgram, true, "16.0.5678.1000"},
      {ProgramFolder(), strProgram, true, "16.0.5678.1000"},  // no final separator
      {ProgramFolder() + "\\missing\\", ProgramFolder() + "\\missing\\OUTLOOK.EXE", false, ""},
  };
  for (const Case& c : kCases) {
    RegisterPath(c.strFolder);
    char szPath[MAX_PATH] = "untouched";
    EXPECT_TRUE(GetRegisteredOutlookPath(szPath, sizeof szPath)) << c.strFolder;
    EXPECT_EQ(szPath, c.strPath);
    char szVersion[64] = "untouched";
    EXPECT_EQ(GetOutlookVersion(szVersion), c.bVersion) << c.strFolder;
    EXPECT_STREQ(szVersion, c.szVersion) << c.strFolder;
  }
}

TEST_F(OutlookProgramTest, APathThatDoesNotFitIsRefusedWhole) {
  RegisterPath(ProgramFolder() + "\\");
  const size_t nNeeded = ProgramFolder().size() + sizeof "\\OUTLOOK.EXE";
  std::string strBuffer(nNeeded - 1, 'x');
  EXPECT_FALSE(GetRegisteredOutlookPath(strBuffer.data(), strBuffer.size()));
  EXPECT_EQ(strBuffer, std::string(nNeeded - 1, 'x'));
  std::string strExact(nNeeded, 'x');
  EXPECT_TRUE(GetRegisteredOutlookPath(strExact.data(), strExact.size()));
}

TEST_F(OutlookProgramTest, WithoutTheKeyThereIsNeitherPathNorVersion) {
  char szPath[MAX_PATH] = "untouched";
  EXPECT_FALSE(GetRegisteredOutlookPath(szPath, sizeof szPath));
  EXPECT_STREQ(szPath, "untouched");
  char szVersion[64] = "untouched";
  EXPECT_FALSE(GetOutlookVersion(szVersion));
  EXPECT_STREQ(szVersion, "untouched");
}

TEST_F(OutlookProgramTest, FileVersionOfAProgramWithAndWithoutAResource) {
  int nMajor = -1, nMinor = -1, nBuild = -1, nRevision = -1;
  EXPECT_TRUE(GetFileVersion((ProgramFolder() + "\\OUTLOOK.EXE").c_str(), &nMajor, &nMinor,
                             &nBuild, &nRevision));
  EXPECT_EQ(nMajor, 16);
  EXPECT_EQ(nMinor, 0);
  EXPECT_EQ(nBuild, 5678);
  EXPECT_EQ(nRevision, 1000);

  char szSelf[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, szSelf, MAX_PATH);
  EXPECT_FALSE(GetFileVersion(szSelf, &nMajor, &nMinor, &nBuild, &nRevision));
  EXPECT_EQ(nMajor, 0);
}

}  // namespace
