#include "app/Apputil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "common/misc/WinUtil.h"
#include "support/AnsiCodePage.h"
#include "support/Environment.h"
#include "support/TempFolder.h"

namespace {

// Points the global settings file at a test file and, on Linux, the shared
// data folder (the layer's XDG data folder) at a test folder, and puts both
// back afterwards. Windows' shared data folder is the system's.
class AppSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_env.Set("XDG_DATA_HOME", m_tmp.Path());
    m_savedIniPath = g_IniUtil.GetFilePath();
    ASSERT_TRUE(g_IniUtil.SetFilePath(IniPath().c_str()));
  }
  void TearDown() override { g_IniUtil.SetFilePath(m_savedIniPath.c_str()); }

  std::string IniPath() const { return m_tmp.File("norvask.ini"); }
  // The shared data folder, with a final separator.
  std::string SharedFolder() const {
#ifdef _WIN32
    char szFolder[MAX_PATH] = "";
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, szFolder),
              S_OK);
    return std::string(szFolder) + PAL_PATH_SEPARATOR_STR;
#else
    return m_tmp.Folder();
#endif
  }
  std::string Saved(const char* szKey) {
    char szBuf[600];
    g_IniUtil.GetString("DI-ZU", szKey, szBuf, sizeof(szBuf), "<missing>");
    return szBuf;
  }

  TempFolder m_tmp;

 private:
  ScopedEnvironment m_env;
  std::string m_savedIniPath;
};

TEST_F(AppSettingsTest, DataFolderIsCreatedUnderTheSharedDataFolder) {
  const std::string expected =
      SharedFolder() + "norvask" PAL_PATH_SEPARATOR_STR "DI-ZU" PAL_PATH_SEPARATOR_STR;
  for (int nCall = 0; nCall < 2; ++nCall) {  // the second call finds it in place
    char szFolder[MAX_PATH] = "untouched";
    ASSERT_TRUE(GetAppDataFolder(szFolder, sizeof(szFolder))) << nCall;
    EXPECT_EQ(std::string(szFolder), expected);
    EXPECT_TRUE(std::filesystem::is_directory(expected));
  }
}

TEST_F(AppSettingsTest, DataFolderFailureLeavesTheBufferUntouched) {
  char szFolder[MAX_PATH] = "untouched";
  EXPECT_FALSE(GetAppDataFolder(nullptr, MAX_PATH));
  // Too small for the path: not cut into another folder's name.
  EXPECT_FALSE(GetAppDataFolder(szFolder, 8));
  EXPECT_STREQ(szFolder, "untouched");
}

TEST_F(AppSettingsTest, GlobalFileStartsInTheProgramsFolder) {
  // The fixture changed the global's path; a fresh object made the same way
  // shows where it started.
  char szModuleFolder[MAX_PATH];
  ASSERT_TRUE(GetModuleFolder(nullptr, szModuleFolder));
  EXPECT_EQ(std::string(CxIniUtil(nullptr, "norvask.ini").GetFilePath()),
            std::string(szModuleFolder) + "norvask.ini");
}

const std::string kLongPath = std::string(300, 'p');
// 258 bytes and then a two-byte character: the 259-byte limit falls inside it.
const std::string kLongUtf8Path = std::string(258, 'u') + "\xC3\xA9" + "more";

struct LoadCase {
  const char* szName;
  const char* szFile;  // null: no settings file at all
  int32_t AppFlag;
  std::string OLPath;
  bool SubFolder;
  bool EnableDebug;
  int32_t LogLevel;
};

class LoadSettingsTest : public AppSettingsTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadSettingsTest, ReadsTheFiveKeys) {
  const LoadCase& c = GetParam();
  if (c.szFile && !Utf8CaseHolds(c.szFile)) GTEST_SKIP() << "a UTF-8 case";
  if (c.szFile) WriteWholeFile(IniPath(), c.szFile);
  memset(&g_Settings, 0x5A, sizeof(g_Settings));  // LoadSettings must clear it
  LoadSettings();
  EXPECT_EQ(g_Settings.AppFlag, c.AppFlag);
  EXPECT_EQ(std::string(g_Settings.OLPath), c.OLPath);
  EXPECT_EQ(g_Settings.SubFolder, c.SubFolder);
  EXPECT_EQ(g_Settings.EnableDebug, c.EnableDebug);
  EXPECT_EQ(g_Settings.LogLevel, c.LogLevel);
}

const std::string kLongFile = "[DI-ZU]\r\nOLPath=" + kLongPath + "\r\n";
const std::string kLongUtf8File = "[DI-ZU]\r\nOLPath=" + kLongUtf8Path + "\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadSettingsTest,
    ::testing::Values(
        LoadCase{"MissingFile", nullptr, 1, "", false, false, 3},
        LoadCase{"EmptyFile", "", 1, "", false, false, 3},
        LoadCase{"EmptyValues", "[DI-ZU]\r\nAppFlag=\r\nOLPath=\r\nSubFolder=\r\nEnableDebug=\r\nLogLevel=\r\n",
                 1, "", false, false, 3},
        LoadCase{"OtherSection", "[Other]\r\nAppFlag=4\r\nLogLevel=1\r\n", 1, "", false, false, 3},
        LoadCase{"AllSet",
                 "[DI-ZU]\r\nAppFlag=8\r\nOLPath=C:\\Office\\OUTLOOK.EXE\r\nSubFolder=1\r\n"
                 "EnableDebug=1\r\nLogLevel=1\r\n",
                 8, "C:\\Office\\OUTLOOK.EXE", true, true, 1},
        LoadCase{"OddValues", "[DI-ZU]\r\nAppFlag=abc\r\nSubFolder=0\r\nEnableDebug=2\r\nLogLevel=9\r\n", 0, "",
                 false, true, 9},
        LoadCase{"NumbersWithTrailingText", "[DI-ZU]\r\nAppFlag=4 tasks\r\nLogLevel=-1x\r\n", 4, "", false,
                 false, -1},
        LoadCase{"OverlongPathCut", kLongFile.c_str(), 1, std::string(259, 'p'), false, false, 3},
        LoadCase{"OverlongPathCutBeforeAWholeCharacter", kLongUtf8File.c_str(), 1, std::string(258, 'u'),
                 false, false, 3}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.szName); });

TEST_F(AppSettingsTest, SaveWritesAllFiveKeysAsRead) {
  WriteWholeFile(IniPath(),
                 "[DI-ZU]\r\nAppFlag=abc\r\nOLPath=/opt/mail/OUTLOOK.EXE\r\nSubFolder=7\r\n"
                 "EnableDebug=2\r\nLogLevel=9\r\n");
  LoadSettings();
  SaveSettings();
  EXPECT_EQ(Saved("AppFlag"), "0");
  EXPECT_EQ(Saved("OLPath"), "/opt/mail/OUTLOOK.EXE");
  EXPECT_EQ(Saved("SubFolder"), "1");
  EXPECT_EQ(Saved("EnableDebug"), "1");
  EXPECT_EQ(Saved("LogLevel"), "9");
}

TEST_F(AppSettingsTest, SaveCreatesTheFileAndLoadReadsItBack) {
  ASSERT_FALSE(std::filesystem::exists(IniPath()));
  LoadSettings();
  g_Settings.AppFlag = 2;
  strcpy(g_Settings.OLPath, "C:\\Program Files\\Office\\OUTLOOK.EXE");
  g_Settings.EnableDebug = true;
  g_Settings.LogLevel = 0;
  SaveSettings();
  EXPECT_EQ(Saved("SubFolder"), "0");  // written even though nothing changed it

  memset(&g_Settings, 0, sizeof(g_Settings));
  LoadSettings();
  EXPECT_EQ(g_Settings.AppFlag, 2);
  EXPECT_STREQ(g_Settings.OLPath, "C:\\Program Files\\Office\\OUTLOOK.EXE");
  EXPECT_FALSE(g_Settings.SubFolder);
  EXPECT_TRUE(g_Settings.EnableDebug);
  EXPECT_EQ(g_Settings.LogLevel, 0);
}

TEST_F(AppSettingsTest, SaveIntoMissingFolderIsIgnored) {
  ASSERT_TRUE(g_IniUtil.SetFilePath(m_tmp.File("gone/norvask.ini").c_str()));
  LoadSettings();
  SaveSettings();
  EXPECT_FALSE(std::filesystem::exists(m_tmp.File("gone")));
  EXPECT_EQ(g_Settings.AppFlag, 1);
}

}  // namespace
