#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/win32.h"
#include "support/Environment.h"
#include "support/FolderTest.h"

namespace {

using FilesTest = TempFolderTest;

// What a file just written reports: Windows marks it for archiving, the layer
// has no such mark.
#ifdef _WIN32
constexpr DWORD kNewFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
#else
constexpr DWORD kNewFileAttributes = FILE_ATTRIBUTE_NORMAL;
#endif

struct CreateCase {
  const char* szName;
  const char* szPath;  // inside the folder; null passes no path at all
  BOOL bExpected;
  DWORD dwError;
};

TEST_F(FilesTest, CreateDirectoryFollowsWindowsErrors) {
  WriteFile("file", "x");
  ASSERT_TRUE(std::filesystem::create_directory(PathOf("existing")));
  const CreateCase kCases[] = {
      {"new", "new", TRUE, 0},
      {"new with separator", "other/", TRUE, 0},
      {"existing folder", "existing", FALSE, ERROR_ALREADY_EXISTS},
      {"existing file", "file", FALSE, ERROR_ALREADY_EXISTS},
      {"parent missing", "missing/child", FALSE, ERROR_PATH_NOT_FOUND},
      {"parent is a file", "file/child", FALSE, ERROR_PATH_NOT_FOUND},
  };
  for (const CreateCase& c : kCases) {
    SCOPED_TRACE(c.szName);
    SetLastError(0);
    EXPECT_EQ(CreateDirectoryA(PathOf(c.szPath).c_str(), nullptr), c.bExpected);
    if (!c.bExpected) {
      EXPECT_EQ(GetLastError(), c.dwError);
    }
    if (c.bExpected) {
      EXPECT_TRUE(std::filesystem::is_directory(PathOf(c.szPath)));
    }
  }
  EXPECT_FALSE(CreateDirectoryA("", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(CreateDirectoryA(nullptr, nullptr));
}

TEST_F(FilesTest, GetFileAttributesTellsFoldersFromFiles) {
  WriteFile("file.txt", "content");
  ASSERT_TRUE(std::filesystem::create_directory(PathOf("folder")));
  struct Case {
    const char* szPath;
    DWORD dwExpected;
    DWORD dwError;
  };
  const Case kCases[] = {
      {"file.txt", kNewFileAttributes, 0},
      {"folder", FILE_ATTRIBUTE_DIRECTORY, 0},
      {"folder/", FILE_ATTRIBUTE_DIRECTORY, 0},
      {"missing.txt", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"folder/missing.txt", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"nowhere/missing.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {"file.txt/inside", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szPath);
    SetLastError(0);
    EXPECT_EQ(GetFileAttributesA(PathOf(c.szPath).c_str()), c.dwExpected);
    if (c.dwExpected == INVALID_FILE_ATTRIBUTES) {
      EXPECT_EQ(GetLastError(), c.dwError);
    }
  }
  EXPECT_EQ(GetFileAttributesA(nullptr), INVALID_FILE_ATTRIBUTES);
}

struct CopyCase {
  const char* szName;
  const char* szSource;
  const char* szTarget;
  BOOL bFailIfExists;
  BOOL bExpected;
  DWORD dwError;
  const char* szTargetAfter;  // content of the target afterwards
};

TEST_F(FilesTest, CopyFileHonoursFailIfExistsAndLeavesNoTrace) {
  const CopyCase kCases[] = {
      {"to a new file", "source", "new", TRUE, TRUE, 0, "source text"},
      {"over a file allowed", "source", "existing", FALSE, TRUE, 0, "source text"},
      {"over a file refused", "source", "existing", TRUE, FALSE, ERROR_FILE_EXISTS, "old"},
      {"missing source", "missing", "existing", FALSE, FALSE, ERROR_FILE_NOT_FOUND, "old"},
      {"source in missing folder", "nowhere/x", "new", FALSE, FALSE, ERROR_PATH_NOT_FOUND,
       "<missing>"},
      {"source is a folder", "folder", "new", FALSE, FALSE, ERROR_ACCESS_DENIED, "<missing>"},
      {"target is a folder", "source", "folder", FALSE, FALSE, ERROR_ACCESS_DENIED, "<missing>"},
      {"target folder missing", "source", "nowhere/new", FALSE, FALSE, ERROR_PATH_NOT_FOUND,
       "<missing>"},
  };
  for (const CopyCase& c : kCases) {
    SCOPED_TRACE(c.szName);
    std::filesystem::remove(PathOf("new"));
    WriteFile("source", "source text");
    WriteFile("existing", "old");
    std::filesystem::create_directory(PathOf("folder"));

    SetLastError(0);
    EXPECT_EQ(CopyFileA(PathOf(c.szSource).c_str(), PathOf(c.szTarget).c_str(), c.bFailIfExists),
              c.bExpected);
    if (!c.bExpected) {
      EXPECT_EQ(GetLastError(), c.dwError);
    }
    if (std::string(c.szTarget) != "folder") {
      EXPECT_EQ(ReadFile(c.szTarget), c.szTargetAfter);
    }
    EXPECT_EQ(ReadFile("source"), "source text");
    // No temporary file is left behind, whatever happened.
    const std::string listing = ListFolder();
    EXPECT_TRUE(listing == "existing folder source" || listing == "existing folder new source")
        << listing;
  }
}

TEST_F(FilesTest, CopyFileCopiesEveryByteAndKeepsTheWriteTime) {
  std::string content;
  for (long i = 0; i < 300000; ++i) content += static_cast<char>((i * 7919) % 256);
  WriteFile("big.bin", content);
  using namespace std::chrono;
  const file_clock::time_point written = file_clock::from_sys(sys_seconds(seconds(1300000000)));
  std::filesystem::last_write_time(PathOf("big.bin"), written);

  ASSERT_TRUE(CopyFileA(PathOf("big.bin").c_str(), PathOf("copy.bin").c_str(), TRUE));
  EXPECT_TRUE(ReadFile("copy.bin") == content);
  EXPECT_EQ(floor<seconds>(std::filesystem::last_write_time(PathOf("copy.bin"))), written);
}

TEST_F(FilesTest, CopyFileRejectsMissingNames) {
  WriteFile("source", "x");
  EXPECT_FALSE(CopyFileA(nullptr, PathOf("a").c_str(), FALSE));
  EXPECT_FALSE(CopyFileA(PathOf("source").c_str(), nullptr, FALSE));
  EXPECT_FALSE(CopyFileA(PathOf("source").c_str(), "", FALSE));
  EXPECT_EQ(ListFolder(), "source");
}

// The executable's name as the call under test gives it with room to spare.
std::string OwnName() {
  char buffer[MAX_PATH];
  const DWORD nLength = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, nLength < MAX_PATH ? nLength : 0);
}

TEST(GetModuleFileName, GivesTheOwnExecutable) {
  const std::filesystem::path self = OwnName();
  EXPECT_TRUE(self.is_absolute()) << self;
  EXPECT_EQ(self.stem(), "platform_tests");
  EXPECT_TRUE(std::filesystem::is_regular_file(self)) << self;

  char buffer[MAX_PATH];
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(buffer), buffer, MAX_PATH), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(GetModuleFileName, TellsWhenTheBufferIsTooSmall) {
  const std::string self = OwnName();
  ASSERT_FALSE(self.empty());
  const DWORD nSelf = static_cast<DWORD>(self.size());
  for (DWORD nSize : {DWORD{1}, DWORD{2}, DWORD{5}, nSelf - 1, nSelf}) {
    SCOPED_TRACE(nSize);
    char buffer[MAX_PATH];
    memset(buffer, '#', sizeof buffer);
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, nSize), nSize);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  }
  char buffer[MAX_PATH];
  EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, nSelf + 1), nSelf);
  EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, 0), 0u);
}

TEST(GetCurrentThreadId, DiffersBetweenThreads) {
  const DWORD dwMain = GetCurrentThreadId();
  EXPECT_EQ(GetCurrentThreadId(), dwMain);
  DWORD dwOther = dwMain;
  std::thread([&] { dwOther = GetCurrentThreadId(); }).join();
  EXPECT_NE(dwOther, dwMain);
  EXPECT_NE(dwOther, 0u);
}

TEST(GetLastError, IsKeptPerThread) {
  std::atomic<bool> bOtherSet{false};
  DWORD dwOther = 1;
  std::thread other([&] {
    dwOther = GetLastError();
    SetLastError(ERROR_FILE_NOT_FOUND);
    bOtherSet = true;
  });
  // Set after the thread's start and read before its join: both may set the
  // last error themselves on Windows.
  SetLastError(ERROR_ACCESS_DENIED);
  while (!bOtherSet) {
  }
  const DWORD dwMain = GetLastError();
  other.join();
  EXPECT_EQ(dwOther, static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(dwMain, static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

struct SplitCase {
  std::string path;
  std::string dir, fname, ext;
};

TEST(SplitPath, SplitsAtTheLastSeparatorAndTheLastDot) {
  const SplitCase kCases[] = {
      {"/home/user/file.txt", "/home/user/", "file", ".txt"},
      {"file.txt", "", "file", ".txt"},
      {"file", "", "file", ""},
      {"/a.b/file", "/a.b/", "file", ""},
      {"archive.tar.gz", "", "archive.tar", ".gz"},
      {".profile", "", "", ".profile"},
      {"name.", "", "name", "."},
      {"dir/", "dir/", "", ""},
      {"/", "/", "", ""},
      {"", "", "", ""},
      {"rel/dir/x.y", "rel/dir/", "x", ".y"},
      {"/opt/Quill\xC3\xA9/bin/app", "/opt/Quill\xC3\xA9/bin/", "app", ""},
  };
  for (const SplitCase& c : kCases) {
    SCOPED_TRACE(c.path);
    char drive[_MAX_DRIVE] = "X", dir[_MAX_DIR] = "X", fname[_MAX_FNAME] = "X", ext[_MAX_EXT] = "X";
    _splitpath(c.path.c_str(), drive, dir, fname, ext);
    EXPECT_STREQ(drive, "");
    EXPECT_EQ(std::string(dir), c.dir);
    EXPECT_EQ(std::string(fname), c.fname);
    EXPECT_EQ(std::string(ext), c.ext);
  }
}

TEST(SplitPath, AcceptsMissingOutputs) {
  char dir[_MAX_DIR] = "X", ext[_MAX_EXT] = "X";
  _splitpath("/a/b.c", nullptr, dir, nullptr, ext);
  EXPECT_STREQ(dir, "/a/");
  EXPECT_STREQ(ext, ".c");
}

// The layer's UTF-8 file helpers take names the ANSI code page may not hold.
class Utf8FilesTest : public TempFolderTest {
 protected:
  std::string Utf8Path(const std::string& name) const {
    return m_sFolder + PAL_PATH_SEPARATOR_STR + name;
  }
  static std::filesystem::path FsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  }
  void Put(const std::string& name, const std::string& content) const {
    std::ofstream(FsPath(Utf8Path(name)), std::ios::binary) << content;
  }
  std::string Get(const std::string& name) const {
    std::ifstream in(FsPath(Utf8Path(name)), std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

constexpr char kNewName[] = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE4\xB8\xAD.db";

struct RenameCase {
  const char* szName;
  bool bTargetExists;
  BOOL bReplace;
  DWORD dwExpected;
  const char* szTargetAfter;
  const char* szSourceAfter;
};

TEST_F(Utf8FilesTest, RenameReplacesOnlyWhenAsked) {
  const RenameCase kCases[] = {
      {"new name", false, FALSE, ERROR_SUCCESS, "new", "<missing>"},
      {"new name, replacing allowed", false, TRUE, ERROR_SUCCESS, "new", "<missing>"},
      {"existing name replaced", true, TRUE, ERROR_SUCCESS, "new", "<missing>"},
      {"existing name kept", true, FALSE, ERROR_ALREADY_EXISTS, "old", "new"},
  };
  for (const RenameCase& c : kCases) {
    SCOPED_TRACE(c.szName);
    std::filesystem::remove(FsPath(Utf8Path(kNewName)));
    Put("source.tmp", "new");
    if (c.bTargetExists) Put(kNewName, "old");
    char szError[64] = "untouched";
    EXPECT_EQ(PalRenameFileUtf8(Utf8Path("source.tmp").c_str(), Utf8Path(kNewName).c_str(),
                                c.bReplace, szError, sizeof szError),
              c.dwExpected);
    EXPECT_STREQ(szError, "untouched");
    EXPECT_EQ(Get(kNewName), c.szTargetAfter);
    EXPECT_EQ(Get("source.tmp"), c.szSourceAfter);
  }
}

TEST_F(Utf8FilesTest, AFailedRenameSaysWhyAndLeavesTheSource) {
  Put("source.tmp", "new");
  char szError[64] = {};
  EXPECT_NE(PalRenameFileUtf8(Utf8Path("missing.tmp").c_str(), Utf8Path(kNewName).c_str(), TRUE,
                              szError, sizeof szError),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_STRNE(szError, "");
  EXPECT_NE(PalRenameFileUtf8(Utf8Path("source.tmp").c_str(),
                              Utf8Path("nowhere/" + std::string(kNewName)).c_str(), FALSE, szError,
                              sizeof szError),
            static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(Get("source.tmp"), "new");
}

TEST_F(Utf8FilesTest, AttributesTellFilesReadOnlyFilesAndFolders) {
  Put(kNewName, "x");
  Put("locked.db", "x");
  MakeReadOnly("locked.db");
  ASSERT_TRUE(std::filesystem::create_directory(FsPath(Utf8Path("folder"))));
  const DWORD dwFile = PalGetFileAttributesUtf8(Utf8Path(kNewName).c_str());
  ASSERT_NE(dwFile, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(dwFile & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE),
            0u);
  EXPECT_TRUE(PalGetFileAttributesUtf8(Utf8Path("locked.db").c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(PalGetFileAttributesUtf8(Utf8Path("folder").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(PalGetFileAttributesUtf8(Utf8Path("missing.db").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(PalGetFileAttributesUtf8(Utf8Path("nowhere/missing.db").c_str()),
            INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(PalGetEnvironmentVariableUtf8, AnswersAsGetEnvironmentVariable) {
  ScopedEnvironment environment;
  environment.Set("QM_UTF8_TEST", "value");
  environment.Set("QM_UTF8_MISSING", nullptr);
  char szValue[16] = "untouched";
  EXPECT_EQ(PalGetEnvironmentVariableUtf8("QM_UTF8_TEST", szValue, 5), 6u);  // too small
  EXPECT_STREQ(szValue, "untouched");
  EXPECT_EQ(PalGetEnvironmentVariableUtf8("QM_UTF8_TEST", szValue, sizeof szValue), 5u);
  EXPECT_STREQ(szValue, "value");
  EXPECT_EQ(PalGetEnvironmentVariableUtf8("QM_UTF8_MISSING", szValue, sizeof szValue), 0u);
  EXPECT_EQ(PalGetEnvironmentVariableUtf8(nullptr, szValue, sizeof szValue), 0u);
}

}  // namespace
