// The Linux side of the shell: the XDG data folder behind SHGetFolderPathA and
// xdg-open behind ShellExecuteA.
#include "platform/linux/shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/support/FolderTest.h"
#include "platform/win32.h"
#include "support/Environment.h"

namespace {

bool Succeeded(HINSTANCE hResult) { return reinterpret_cast<intptr_t>(hResult) > 32; }
intptr_t Code(HINSTANCE hResult) { return reinterpret_cast<intptr_t>(hResult); }

// ---- SHGetFolderPathA ---------------------------------------------------------

class FolderPathTest : public TempFolderTest {
 protected:
  ScopedEnvironment m_env;
};

TEST_F(FolderPathTest, GivesTheXdgDataFolderWithoutTrailingSeparator) {
  struct Case {
    const char* szName;
    std::optional<std::string> xdg;  // relative to the temp folder when it starts with '/'
    std::string home;
    std::string expected;
  };
  const Case kCases[] = {
      {"xdg data home", "/xdg", "/home", "/xdg"},
      {"xdg with separator", "/xdg2/", "/home", "/xdg2"},
      {"relative xdg is ignored", "relative/data", "/home", "/home/.local/share"},
      {"empty xdg is ignored", "", "/home2", "/home2/.local/share"},
      {"no xdg", std::nullopt, "/home3/", "/home3/.local/share"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    const std::string xdg =
        c.xdg && c.xdg->starts_with('/') ? m_sFolder + *c.xdg : c.xdg.value_or("");
    m_env.Set("XDG_DATA_HOME", c.xdg ? xdg.c_str() : nullptr);
    m_env.Set("HOME", (m_sFolder + c.home).c_str());
    char path[MAX_PATH] = "untouched";
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                               SHGFP_TYPE_CURRENT, path),
              S_OK);
    EXPECT_EQ(std::string(path), m_sFolder + c.expected);
    EXPECT_TRUE(std::filesystem::is_directory(path));
  }
}

TEST_F(FolderPathTest, WithoutCreateFlagReportsAMissingFolder) {
  m_env.Set("XDG_DATA_HOME", PathOf("absent").c_str());
  char path[MAX_PATH] = "";
  EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path),
            S_FALSE);
  EXPECT_EQ(std::string(path), PathOf("absent"));
  EXPECT_FALSE(std::filesystem::exists(PathOf("absent")));

  ASSERT_EQ(mkdir(PathOf("absent").c_str(), 0777), 0);
  EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path),
            S_OK);
}

TEST_F(FolderPathTest, RefusesOtherFoldersAndBadArguments) {
  m_env.Set("XDG_DATA_HOME", m_sFolder.c_str());
  const int kOtherFolders[] = {0x001a /* roaming app data */, 0x001c /* local app data */,
                               0x0005 /* documents */, 0x0000, CSIDL_FLAG_CREATE};
  for (int csidl : kOtherFolders) {
    SCOPED_TRACE(csidl);
    char path[MAX_PATH] = "untouched";
    EXPECT_EQ(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path), E_INVALIDARG);
    EXPECT_STREQ(path, "untouched");
  }
  EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, nullptr),
            E_INVALIDARG);
}

TEST_F(FolderPathTest, FailsWhenTheFolderCannotBeMade) {
  WriteFile("file", "x");
  char path[MAX_PATH] = "untouched";
  const std::string kCases[] = {PathOf("file/data"), PathOf("file"),
                                m_sFolder + "/" + std::string(MAX_PATH, 'x')};
  for (const std::string& xdg : kCases) {
    m_env.Set("XDG_DATA_HOME", xdg.c_str());
    EXPECT_TRUE(FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                        SHGFP_TYPE_CURRENT, path)));
    EXPECT_STREQ(path, "untouched");
  }
}

TEST(ShellOpenArgv, PassesTheNameAsOneUntouchedArgument) {
  struct Case {
    const char* szFile;
    std::string argument;
  };
  const Case kCases[] = {
      {"; rm -rf ~", "; rm -rf ~"},
      {"$(touch pwned) `id` && echo | cat > x", "$(touch pwned) `id` && echo | cat > x"},
      {"/home/user/My Documents/help file.chm", "/home/user/My Documents/help file.chm"},
      {"mailto:a@b.example?subject=Quillmere for Outlook Bug Report&body='x' \"y\"",
       "mailto:a@b.example?subject=Quillmere for Outlook Bug Report&body='x' \"y\""},
      {"line\nbreak", "line\nbreak"},
      {"-h", "./-h"},  // would be read as an option
      {"--manual", "./--manual"},
      {"a-b", "a-b"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szFile);
    const std::vector<std::string> argv = PalShellOpenArgv(c.szFile);
    ASSERT_EQ(argv.size(), 2u);
    EXPECT_EQ(argv[0], "xdg-open");
    EXPECT_EQ(argv[1], c.argument);
  }
}

// Runs ShellExecuteA against a stand-in xdg-open placed first on the PATH,
// which writes its argument count, arguments and working folder to a file.
class ShellExecuteTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    ASSERT_EQ(mkdir(PathOf("bin").c_str(), 0777), 0);
    ASSERT_EQ(mkdir(PathOf("work").c_str(), 0777), 0);
    m_env.Set("PATH", PathOf("bin").c_str());
    m_env.Set("FAKE_OPEN_OUT", PathOf("opened").c_str());
  }

  void InstallFakeOpener() {
    WriteFile(
        "bin/xdg-open",
        "#!/bin/sh\n"
        "{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; done; pwd; } > \"$FAKE_OPEN_OUT.part\"\n"
        "/bin/mv \"$FAKE_OPEN_OUT.part\" \"$FAKE_OPEN_OUT\"\n");
    ASSERT_EQ(chmod(PathOf("bin/xdg-open").c_str(), 0755), 0);
  }

  // Waits for the stand-in's report; the bound only keeps a broken start from
  // hanging the test run.
  std::string WaitForOpen() const {
    for (int i = 0; i < 1000 && !std::filesystem::exists(PathOf("opened")); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ReadFile("opened");
  }

  // Waits until the process has no children left: the opener was reaped.
  static bool ChildrenReaped() {
    for (int i = 0; i < 1000; ++i) {
      bool bChild = false;
      for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        // pid (comm) state ppid ...: the name may hold blanks, so start after ')'.
        const size_t nClose = line.rfind(')');
        if (nClose == std::string::npos) continue;
        char cState = 0;
        int nParent = 0;
        if (sscanf(line.c_str() + nClose + 1, " %c %d", &cState, &nParent) == 2 &&
            nParent == getpid())
          bChild = true;
      }
      if (!bChild) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  ScopedEnvironment m_env;
};

TEST_F(ShellExecuteTest, StartsTheOpenerWithOneArgumentAndNoShell) {
  InstallFakeOpener();
  const char* kFile = "; touch pwned; $(touch pwned2) `touch pwned3`";
  const HINSTANCE hResult =
      ShellExecuteA(nullptr, "open", kFile, "", PathOf("work").c_str(), SW_SHOW);
  ASSERT_TRUE(Succeeded(hResult)) << Code(hResult);
  EXPECT_EQ(WaitForOpen(), "1\n[" + std::string(kFile) + "]\n" + PathOf("work") + "\n");
  EXPECT_TRUE(std::filesystem::is_empty(PathOf("work")));
  EXPECT_TRUE(ChildrenReaped());
}

TEST_F(ShellExecuteTest, AcceptsOpenInAnyCaseAndNoVerb) {
  InstallFakeOpener();
  for (const char* szVerb : {"Open", static_cast<const char*>(nullptr)}) {
    std::filesystem::remove(PathOf("opened"));
    ASSERT_TRUE(
        Succeeded(ShellExecuteA(nullptr, szVerb, "-manual.chm", nullptr, nullptr, SW_SHOW)));
    EXPECT_TRUE(WaitForOpen().starts_with("1\n[./-manual.chm]\n"));
  }
  EXPECT_TRUE(ChildrenReaped());
}

TEST_F(ShellExecuteTest, ReportsFailuresAsWindowsDoes) {
  struct Case {
    const char* szName;
    const char* szVerb;
    const char* szFile;
    std::string directory;
    intptr_t nExpected;
  };
  const Case kCases[] = {
      {"no opener installed", "open", "/tmp/help.chm", "", SE_ERR_NOASSOC},
      {"other verb", "print", "/tmp/help.chm", "", SE_ERR_NOASSOC},
      {"no file", "open", nullptr, "", SE_ERR_FNF},
      {"empty file", "open", "", "", SE_ERR_FNF},
      {"missing folder", "open", "help.chm", PathOf("nowhere"), SE_ERR_PNF},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    const HINSTANCE hResult =
        ShellExecuteA(nullptr, c.szVerb, c.szFile, "", c.directory.c_str(), SW_SHOW);
    EXPECT_EQ(Code(hResult), c.nExpected);
  }
}

// What the failure hook heard; filled from the thread that reaps the opener.
struct ShellFailures {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::pair<std::string, int>> heard;
};
ShellFailures g_failures;

void RecordFailure(LPCSTR lpFile, int nShellError) {
  const std::lock_guard lock(g_failures.mutex);
  g_failures.heard.emplace_back(lpFile, nShellError);
  g_failures.changed.notify_all();
}

class ShellOpenFailedTest : public ShellExecuteTest {
 protected:
  void SetUp() override {
    ShellExecuteTest::SetUp();
    g_failures.heard.clear();
    PalSetShellOpenFailedHook(RecordFailure);
  }
  void TearDown() override {
    PalSetShellOpenFailedHook(nullptr);
    ShellExecuteTest::TearDown();
  }

  void InstallOpenerExiting(int nStatus) {
    WriteFile("bin/xdg-open", "#!/bin/sh\nexit " + std::to_string(nStatus) + "\n");
    ASSERT_EQ(chmod(PathOf("bin/xdg-open").c_str(), 0755), 0);
  }

  // Everything heard once the opener is gone; the bound only keeps a lost
  // report from hanging the test run.
  static std::vector<std::pair<std::string, int>> Heard(size_t nExpected) {
    std::unique_lock lock(g_failures.mutex);
    g_failures.changed.wait_for(lock, std::chrono::seconds(10),
                                [nExpected] { return g_failures.heard.size() >= nExpected; });
    return g_failures.heard;
  }
};

TEST_F(ShellOpenFailedTest, TheOpenersVerdictReachesTheHookAfterTheCallReturned) {
  struct Case {
    int nExit;
    int nExpected;  // 0: nothing to report
  };
  const Case kCases[] = {
      {0, 0},
      {2, SE_ERR_FNF},
      {3, SE_ERR_NOASSOC},
      {4, SE_ERR_ASSOCINCOMPLETE},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.nExit);
    g_failures.heard.clear();
    InstallOpenerExiting(c.nExit);
    ASSERT_TRUE(Succeeded(PalShellExecute(nullptr, "open", "/tmp/guide.html", "", "", SW_SHOW)));
    ASSERT_TRUE(ChildrenReaped());
    const auto heard = Heard(c.nExpected == 0 ? 0 : 1);
    if (c.nExpected == 0) {
      EXPECT_TRUE(heard.empty());
    } else {
      ASSERT_EQ(heard.size(), 1u);
      EXPECT_EQ(heard[0].first, "/tmp/guide.html");
      EXPECT_EQ(heard[0].second, c.nExpected);
    }
  }
}

TEST_F(ShellOpenFailedTest, AFailureAtOnceReachesTheHookToo) {
  // No xdg-open on the PATH at all.
  EXPECT_EQ(Code(PalShellExecute(nullptr, "open", "/tmp/guide.html", "", "", SW_SHOW)),
            SE_ERR_NOASSOC);
  EXPECT_EQ(Heard(1),
            (std::vector<std::pair<std::string, int>>{{"/tmp/guide.html", SE_ERR_NOASSOC}}));
}

}  // namespace
