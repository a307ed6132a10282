// The layer's profile rules where Windows, as Wine runs it, answers otherwise.
// Wine reads lines that are no key (before any section, comments after
// blanks) as keys, keeps a default's trailing blanks and answers the default
// for an empty key; lists every section and key under each spelling and
// leaves a cut list unterminated; rewrites a whole file in its own layout on
// every change and deletes only the first of twin keys; writes any text, even
// one that could not be read back, and a missing file name means win.ini; and,
// run as root, writes read-only files. The ANSI code page is UTF-8 here, so a
// cut falls before a whole character. A write keeps a file's POSIX
// permissions and writes through a symbolic link.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/support/ProfileTest.h"
#include "platform/win32.h"

namespace {

using std::string_literals::operator""s;

TEST_F(ProfileTest, ReadsOnlyKeysOfSections) {
  ExpectReads({
      {"indented comment", "DI-ZU", "; Indented", "d", 256, "d", 1},
      {"key outside sections", "", "Orphan", "d", 256, "d", 1},
      {"default loses trailing blanks", "DI-ZU", "Missing", " x y  \t ", 256, " x y", 4},
      {"empty key reads nothing", "DI-ZU", "", "d", 256, "", 0},
      {"blank key reads nothing", "DI-ZU", "  ", "d", 256, "", 0},
      {"value cut before a character", "DI-ZU", "Utf8", "d", 4, "\xC3\xA9", 3},
  });
  WriteFile("test.ini", "[\xC3\xA9\xC3\xA9]\r\n");
  const Result cut = ReadList(nullptr, 5);  // room for three bytes of the name
  EXPECT_EQ(cut.text, "\xC3\xA9\0\0"s);
  EXPECT_EQ(cut.nReturned, 3u);
}

TEST_F(ProfileTest, ListsEachNameOnceAndEndsACutList) {
  ExpectLists({
      {"sections", nullptr, 256, "DI-ZU\0Other\0\0"s, 12},
      {"keys", "di-zu", 256,
       "AppFlag\0OLPath\0Quoted\0Single\0Mismatched\0OneQuote\0Empty\0Inline\0Tabbed\0Utf8\0"
       "Twice\0\0"s,
       80},
      {"keys of a missing section", "Nowhere", 256, "\0\0"s, 0},
      {"list that just fits", nullptr, 13, "DI-ZU\0Other\0\0"s, 12},
      {"sections cut in a name", nullptr, 10, "DI-ZU\0Ot\0\0"s, 8},
      {"keys cut", "Other", 6, "AppF\0\0"s, 4},
  });
  std::filesystem::remove(PathOf("test.ini"));
  EXPECT_EQ(ReadList(nullptr).text, "\0\0"s);
  EXPECT_EQ(ReadList(nullptr).nReturned, 0u);
}

TEST_F(ProfileTest, ChangesOnlyTheLinesItWrites) {
  ExpectWrites({
      {"replaces in place", "; top\r\n[S]\r\n  K = old  \r\nother=1\r\n\r\n[T]\r\nx=1\r\n", "s",
       "k", "new", "; top\r\n[S]\r\nK=new\r\nother=1\r\n\r\n[T]\r\nx=1\r\n"},
      {"new key before the gap to the next section",
       "[S]\r\na=1\r\n; note on a\r\n\r\n; about T\r\n[T]\r\nz=0\r\n", "S", "b", "2",
       "[S]\r\na=1\r\nb=2\r\n; note on a\r\n\r\n; about T\r\n[T]\r\nz=0\r\n"},
      {"new key right after an empty section's header", "[S]\r\n\r\n[T]\r\n", "S", "b", "2",
       "[S]\r\nb=2\r\n\r\n[T]\r\n"},
      {"keeps line feeds", "[S]\na=1", "T", "x", "y", "[S]\na=1\n[T]\nx=y\n"},
      {"keeps each line's ending", "[S]\r\na=1\nb=2\r\n", "S", "a", "9", "[S]\r\na=9\nb=2\r\n"},
      {"trims names", "", "  S  ", "  k  ", "v", "[S]\r\nk=v\r\n"},
      {"deletes a key and its twins", "[S]\r\na=1\r\nb=2\r\nA=3\r\n[T]\r\na=4\r\n", "S", "a",
       nullptr, "[S]\r\nb=2\r\n[T]\r\na=4\r\n"},
  });
}

TEST_F(ProfileTest, RefusesWhatCouldNotBeReadBack) {
  struct Case {
    const char* szName;
    const char* szSection;
    const char* szKey;
    const char* szValue;
  };
  const Case kCases[] = {
      {"value with a line break", "S", "k", "1\r\n[Other]\r\nx=y"},
      {"value with a line feed", "S", "k", "1\nx=y"},
      {"key with equals", "S", "k=x", "v"},
      {"empty key", "S", "", "v"},
      {"blank key", "S", "   ", "v"},
      {"key starting a comment", "S", ";k", "v"},
      {"key starting a section", "S", "[k", "v"},
      {"key with a line break", "S", "k\nx", "v"},
      {"section with a bracket", "S]x", "k", "v"},
      {"section with a line break", "S\n[T", "k", "v"},
      {"no section", nullptr, "k", "v"},
  };
  const std::string before = "[S]\r\nk=old\r\n";
  WriteFile("test.ini", before);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    SetLastError(0);
    EXPECT_FALSE(Write(c.szSection, c.szKey, c.szValue));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(ReadFile("test.ini"), before);
  }
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", nullptr));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", ""));
}

TEST_F(ProfileTest, LeavesAReadOnlyFileAlone) {
  WriteFile("test.ini", "[S]\r\nk=old\r\n");
  MakeReadOnly("test.ini");
  SetLastError(0);
  EXPECT_FALSE(Write("S", "k", "new"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadFile("test.ini"), "[S]\r\nk=old\r\n");
  EXPECT_EQ(ListFolder(), "test.ini");
}

TEST_F(ProfileTest, KeepsPermissionsAndLinks) {
  WriteFile("real.ini", "[S]\nk=1\n");
  ASSERT_EQ(chmod(PathOf("real.ini").c_str(), 0640), 0);
  ASSERT_EQ(symlink("real.ini", PathOf("test.ini").c_str()), 0);
  ASSERT_TRUE(Write("S", "k", "2"));
  EXPECT_TRUE(std::filesystem::is_symlink(PathOf("test.ini")));
  EXPECT_EQ(ReadFile("real.ini"), "[S]\nk=2\n");
  struct stat info {};
  ASSERT_EQ(stat(PathOf("real.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(ListFolder(), "real.ini test.ini");
}

}  // namespace
