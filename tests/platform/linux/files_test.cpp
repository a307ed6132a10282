// What the Linux layer's files, module and threads are made of: the kernel's
// thread ids, /proc/self/exe and UTF-8 as the ANSI code page; and its answers
// where Windows, as Wine runs it, differs: a cut module name ends with a zero
// (Wine leaves it open), a path part too long for its field is cut (Wine
// empties every part) and no path splits as an empty one (Wine writes nothing).
// A read-only file stays as it is even for root, whom Wine lets write it.
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/support/FolderTest.h"
#include "platform/win32.h"

namespace {

using FilesTest = TempFolderTest;

TEST_F(FilesTest, CopyFileLeavesAReadOnlyTargetAlone) {
  WriteFile("source", "source text");
  WriteFile("readonly", "locked");
  MakeReadOnly("readonly");
  SetLastError(0);
  EXPECT_FALSE(CopyFileA(PathOf("source").c_str(), PathOf("readonly").c_str(), FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadFile("readonly"), "locked");
  EXPECT_EQ(ListFolder(), "readonly source");
}

TEST(GetModuleFileName, IsTheProcessExecutable) {
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  char buffer[MAX_PATH];
  const DWORD nLength = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  ASSERT_EQ(nLength, self.size());
  EXPECT_EQ(std::string(buffer), self);
}

TEST(GetModuleFileName, CutsTheNameAndEndsIt) {
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const DWORD nSelf = static_cast<DWORD>(self.size());
  for (DWORD nSize : {1u, 2u, 5u, nSelf - 1, nSelf}) {
    SCOPED_TRACE(nSize);
    char buffer[MAX_PATH];
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, nSize), nSize);
    EXPECT_EQ(std::string(buffer), self.substr(0, nSize - 1));
  }
}

TEST(GetCurrentThreadId, IsTheKernelThreadId) {
  const DWORD dwMain = GetCurrentThreadId();
  EXPECT_EQ(dwMain, static_cast<DWORD>(syscall(SYS_gettid)));
  EXPECT_EQ(dwMain, static_cast<DWORD>(getpid()));  // the test runs on the main thread
}

TEST(SplitPath, CutsLongPartsBeforeAWholeCharacter) {
  char dir[_MAX_DIR] = "X", fname[_MAX_FNAME] = "X", ext[_MAX_EXT] = "X";
  _splitpath(("/d/" + std::string(300, 'n') + ".e").c_str(), nullptr, dir, fname, ext);
  EXPECT_STREQ(dir, "/d/");
  EXPECT_EQ(std::string(fname), std::string(255, 'n'));
  EXPECT_STREQ(ext, ".e");

  std::string name;
  for (int i = 0; i < 200; ++i) name += "\xC3\xA9";  // 400 bytes
  _splitpath(("/x/" + name + ".txt").c_str(), nullptr, nullptr, fname, nullptr);
  EXPECT_EQ(std::string(fname), name.substr(0, 254));
}

TEST(SplitPath, TakesNoPathAsAnEmptyOne) {
  char dir[_MAX_DIR] = "X", ext[_MAX_EXT] = "X";
  _splitpath(nullptr, nullptr, dir, nullptr, ext);
  EXPECT_STREQ(dir, "");
  EXPECT_STREQ(ext, "");
}

}  // namespace
