#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/win32.h"
#include "support/TempFolder.h"

namespace {

using std::string_literals::operator""s;

class ProfileTest : public TempFolderTest {
 protected:
  struct Result {
    std::string text;
    DWORD nReturned;
  };

  // Reads through GetPrivateProfileStringA from "test.ini" into a buffer of
  // nSize bytes; text is the buffer up to the first zero.
  Result Read(const char* szSection, const char* szKey, const char* szDefault,
              DWORD nSize = 256) const {
    std::string buffer(nSize + 1, '#');
    const DWORD n = GetPrivateProfileStringA(szSection, szKey, szDefault, buffer.data(), nSize,
                                             PathOf("test.ini").c_str());
    return {buffer.c_str(), n};
  }

  // A name list read: the buffer up to its first two zeros in a row.
  Result ReadList(const char* szSection, DWORD nSize = 256) const {
    std::string buffer(nSize, '#');
    const DWORD n = GetPrivateProfileStringA(szSection, nullptr, "default", buffer.data(), nSize,
                                             PathOf("test.ini").c_str());
    const size_t nEnd = buffer.find("\0\0"s);
    return {nEnd == std::string::npos ? "<unterminated>" : buffer.substr(0, nEnd + 2), n};
  }

  BOOL Write(const char* szSection, const char* szKey, const char* szValue) const {
    return WritePrivateProfileStringA(szSection, szKey, szValue, PathOf("test.ini").c_str());
  }
};

const char kSettings[] =
    "; settings of the wizard\r\n"
    "Orphan=before any section\r\n"
    "[DI-ZU]\r\n"
    "AppFlag=2\r\n"
    "  OLPath =  C:\\Program Files\\Outlook\\  \r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Mismatched=\"x'\r\n"
    "OneQuote=\"\r\n"
    "Empty=\r\n"
    "NoValue\r\n"
    "Inline=1 ; not a comment\r\n"
    "\tTabbed\t=\tt\t\r\n"
    ";Commented=5\r\n"
    "  ; Indented=6\r\n"
    "Utf8=\xC3\xA9\xC3\xA9\xC3\xA9\r\n"
    "Twice=first\r\n"
    "twice=second\r\n"
    "\r\n"
    "[Other]\r\n"
    "AppFlag=9\r\n"
    "[di-zu]\r\n"
    "Later=1\r\n";

struct ReadCase {
  const char* szName;
  const char* szSection;
  const char* szKey;
  const char* szDefault;
  DWORD nSize;
  std::string expected;
  DWORD nReturned;
};

TEST_F(ProfileTest, ReadsValuesByWindowsRules) {
  WriteFile("test.ini", kSettings);
  const ReadCase kCases[] = {
      {"plain", "DI-ZU", "AppFlag", "d", 256, "2", 1},
      {"names ignore case", "di-zu", "APPFLAG", "d", 256, "2", 1},
      {"names are trimmed", "  DI-ZU\t", " AppFlag ", "d", 256, "2", 1},
      {"value and key trimmed", "DI-ZU", "OLPath", "d", 256, "C:\\Program Files\\Outlook\\", 25},
      {"quotes removed", "DI-ZU", "Quoted", "d", 256, "  spaced  ", 10},
      {"single quotes removed", "DI-ZU", "Single", "d", 256, "x", 1},
      {"mismatched quotes kept", "DI-ZU", "Mismatched", "d", 256, "\"x'", 3},
      {"lone quote kept", "DI-ZU", "OneQuote", "d", 256, "\"", 1},
      {"empty value is no default", "DI-ZU", "Empty", "d", 256, "", 0},
      {"line without equals", "DI-ZU", "NoValue", "d", 256, "d", 1},
      {"semicolon inside value", "DI-ZU", "Inline", "d", 256, "1 ; not a comment", 17},
      {"tabs trimmed", "DI-ZU", "Tabbed", "d", 256, "t", 1},
      {"comment", "DI-ZU", "Commented", "d", 256, "d", 1},
      {"indented comment", "DI-ZU", "; Indented", "d", 256, "d", 1},
      {"first of two keys", "DI-ZU", "TWICE", "d", 256, "first", 5},
      {"other section", "Other", "AppFlag", "d", 256, "9", 1},
      {"first section of a name counts", "DI-ZU", "Later", "d", 256, "d", 1},
      {"key outside sections", "", "Orphan", "d", 256, "d", 1},
      {"missing key", "DI-ZU", "Missing", "fallback", 256, "fallback", 8},
      {"missing section", "Nowhere", "AppFlag", "fallback", 256, "fallback", 8},
      {"default loses trailing blanks", "DI-ZU", "Missing", " x y  \t ", 256, " x y", 4},
      {"null default", "DI-ZU", "Missing", nullptr, 256, "", 0},
      {"empty key reads nothing", "DI-ZU", "", "d", 256, "", 0},
      {"blank key reads nothing", "DI-ZU", "  ", "d", 256, "", 0},
      {"value cut", "DI-ZU", "OLPath", "d", 8, "C:\\Prog", 7},
      {"value cut before a character", "DI-ZU", "Utf8", "d", 4, "\xC3\xA9", 3},
      {"value just fits", "DI-ZU", "Utf8", "d", 7, "\xC3\xA9\xC3\xA9\xC3\xA9", 6},
      {"default cut", "DI-ZU", "Missing", "abcdef", 3, "ab", 2},
      {"one byte buffer", "DI-ZU", "AppFlag", "d", 1, "", 0},
  };
  for (const ReadCase& c : kCases) {
    SCOPED_TRACE(c.szName);
    const Result result = Read(c.szSection, c.szKey, c.szDefault, c.nSize);
    EXPECT_EQ(result.text, c.expected);
    EXPECT_EQ(result.nReturned, c.nReturned);
  }
  WriteFile("test.ini", "[\xC3\xA9\xC3\xA9]\r\n");
  const Result cut = ReadList(nullptr, 5);  // room for three bytes of the name
  EXPECT_EQ(cut.text, "\xC3\xA9\0\0"s);
  EXPECT_EQ(cut.nReturned, 3u);
}

TEST_F(ProfileTest, ReadsOtherFileShapes) {
  struct Case {
    const char* szName;
    std::string content;
    std::string expected;
  };
  const Case kCases[] = {
      {"line feeds only", "[S]\nk=v\n", "v"},
      {"no final line end", "[S]\r\nk=v", "v"},
      {"byte order mark", "\xEF\xBB\xBF[S]\r\nk=v\r\n", "v"},
      {"header with trailing text", "[ S ] ; note\r\nk=v\r\n", "v"},
      {"unclosed header is no section", "[S]\r\n[T\r\nk=v\r\n", "v"},
      {"blanks around equals", "[S]\r\n   k   =   v   \r\n", "v"},
      {"empty file", "", "default"},
      {"only the section", "[S]", "default"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    WriteFile("test.ini", c.content);
    EXPECT_EQ(Read("S", "k", "default").text, c.expected);
  }
}

TEST_F(ProfileTest, MissingFileGivesTheDefault) {
  EXPECT_EQ(Read("DI-ZU", "AppFlag", "1").text, "1");
  EXPECT_EQ(Read("DI-ZU", "AppFlag", "1").nReturned, 1u);
  EXPECT_EQ(ReadList(nullptr).text, "\0\0"s);
  EXPECT_EQ(ReadList(nullptr).nReturned, 0u);
  EXPECT_EQ(ListFolder(), "");  // reading creates nothing
}

TEST_F(ProfileTest, IgnoresMissingBuffers) {
  WriteFile("test.ini", kSettings);
  char buffer[4] = "abc";
  EXPECT_EQ(
      GetPrivateProfileStringA("DI-ZU", "AppFlag", "d", nullptr, 10, PathOf("test.ini").c_str()),
      0u);
  EXPECT_EQ(
      GetPrivateProfileStringA("DI-ZU", "AppFlag", "d", buffer, 0, PathOf("test.ini").c_str()), 0u);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(GetPrivateProfileStringA("DI-ZU", "AppFlag", "d", buffer, 4, nullptr), 1u);
  EXPECT_STREQ(buffer, "d");
}

TEST_F(ProfileTest, ListsSectionsAndKeys) {
  WriteFile("test.ini", kSettings);
  struct Case {
    const char* szName;
    const char* szSection;  // null lists the sections
    DWORD nSize;
    std::string expected;
    DWORD nReturned;  // the zeros after the names count, the final one does not
  };
  const Case kCases[] = {
      {"sections", nullptr, 256, "DI-ZU\0Other\0\0"s, 12},
      {"keys", "di-zu", 256,
       "AppFlag\0OLPath\0Quoted\0Single\0Mismatched\0OneQuote\0Empty\0Inline\0Tabbed\0Utf8\0"
       "Twice\0\0"s,
       80},
      {"keys of another section", "Other", 256, "AppFlag\0\0"s, 8},
      {"keys of a missing section", "Nowhere", 256, "\0\0"s, 0},
      {"list that just fits", nullptr, 13, "DI-ZU\0Other\0\0"s, 12},
      {"sections cut in a name", nullptr, 10, "DI-ZU\0Ot\0\0"s, 8},
      {"sections cut after a name", nullptr, 8, "DI-ZU\0\0"s, 6},
      {"keys cut", "Other", 6, "AppF\0\0"s, 4},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    const Result result = ReadList(c.szSection, c.nSize);
    EXPECT_EQ(result.text, c.expected);
    EXPECT_EQ(result.nReturned, c.nReturned);
  }
}

struct WriteCase {
  const char* szName;
  std::string before;  // "<none>": no file
  const char* szSection;
  const char* szKey;
  const char* szValue;
  std::string after;  // "<missing>": still no file
};

TEST_F(ProfileTest, WritesOnlyWhatChanges) {
  const WriteCase kCases[] = {
      {"creates the file", "<none>", "S", "k", "v", "[S]\r\nk=v\r\n"},
      {"adds a key to its section", "[S]\r\nk=v\r\n", "S", "k2", "w", "[S]\r\nk=v\r\nk2=w\r\n"},
      {"replaces in place", "; top\r\n[S]\r\n  K = old  \r\nother=1\r\n\r\n[T]\r\nx=1\r\n", "s",
       "k", "new", "; top\r\n[S]\r\nK=new\r\nother=1\r\n\r\n[T]\r\nx=1\r\n"},
      {"new key before the gap to the next section",
       "[S]\r\na=1\r\n; note on a\r\n\r\n; about T\r\n[T]\r\nz=0\r\n", "S", "b", "2",
       "[S]\r\na=1\r\nb=2\r\n; note on a\r\n\r\n; about T\r\n[T]\r\nz=0\r\n"},
      {"new key right after an empty section's header", "[S]\r\n\r\n[T]\r\n", "S", "b", "2",
       "[S]\r\nb=2\r\n\r\n[T]\r\n"},
      {"new section at the end", "[S]\r\na=1\r\n", "T", "x", "y", "[S]\r\na=1\r\n[T]\r\nx=y\r\n"},
      {"keeps line feeds", "[S]\na=1", "T", "x", "y", "[S]\na=1\n[T]\nx=y\n"},
      {"keeps each line's ending", "[S]\r\na=1\nb=2\r\n", "S", "a", "9", "[S]\r\na=9\nb=2\r\n"},
      {"strips leading blanks only", "", "S", "k", "  \t v  ", "[S]\r\nk=v  \r\n"},
      {"writes an empty value", "[S]\r\nk=v\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
      {"keeps quotes as given", "", "S", "k", "\"q\"", "[S]\r\nk=\"q\"\r\n"},
      {"trims names", "", "  S  ", "  k  ", "v", "[S]\r\nk=v\r\n"},
      {"keeps the byte order mark", "\xEF\xBB\xBF[S]\r\na=1\r\n", "S", "a", "2",
       "\xEF\xBB\xBF[S]\r\na=2\r\n"},
      {"deletes a key and its twins", "[S]\r\na=1\r\nb=2\r\nA=3\r\n[T]\r\na=4\r\n", "S", "a",
       nullptr, "[S]\r\nb=2\r\n[T]\r\na=4\r\n"},
      {"deletes a section", "[S]\r\na=1\r\n; c\r\n[T]\r\nx=1\r\n", "s", nullptr, nullptr,
       "[T]\r\nx=1\r\n"},
      {"deletes the last section", "; top\r\n[S]\r\na=1\r\n[T]\r\nx=1\r\n", "T", nullptr, nullptr,
       "; top\r\n[S]\r\na=1\r\n"},
      {"deleting the first section keeps the mark", "\xEF\xBB\xBF[S]\r\na=1\r\n[T]\r\nx=1\r\n", "S",
       nullptr, nullptr, "\xEF\xBB\xBF[T]\r\nx=1\r\n"},
      {"deleting a missing key changes nothing", "[S]\na=1", "S", "b", nullptr, "[S]\na=1"},
      {"deleting a missing section changes nothing", "[S]\na=1", "T", nullptr, nullptr, "[S]\na=1"},
      {"deleting creates no file", "<none>", "S", "k", nullptr, "<missing>"},
  };
  for (const WriteCase& c : kCases) {
    SCOPED_TRACE(c.szName);
    std::filesystem::remove(PathOf("test.ini"));
    if (c.before != "<none>") WriteFile("test.ini", c.before);
    EXPECT_TRUE(Write(c.szSection, c.szKey, c.szValue));
    EXPECT_EQ(ReadFile("test.ini"), c.after);
    EXPECT_EQ(ListFolder(), c.after == "<missing>" ? "" : "test.ini");
  }
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

TEST_F(ProfileTest, FailedWritesLeaveEverythingAsItWas) {
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", PathOf("missing/test.ini").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(ListFolder(), "");

  WriteFile("test.ini", "[S]\r\nk=old\r\n");
  ASSERT_EQ(chmod(PathOf("test.ini").c_str(), 0444), 0);
  SetLastError(0);
  EXPECT_FALSE(Write("S", "k", "new"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadFile("test.ini"), "[S]\r\nk=old\r\n");
  EXPECT_EQ(ListFolder(), "test.ini");

  ASSERT_EQ(mkdir(PathOf("folder.ini").c_str(), 0777), 0);
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", PathOf("folder.ini").c_str()));
  EXPECT_EQ(ListFolder(), "folder.ini test.ini");
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

TEST_F(ProfileTest, WrittenValuesReadBackUnchanged) {
  const char* kValues[] = {
      "1",
      "C:\\Program Files\\Microsoft Office\\",
      "caf\xC3\xA9 \xE2\x82\xAC",
      "a=b=c",
      "; not a comment",
      "[not a section]",
      "'single'x",
      "",
  };
  for (const char* szValue : kValues) {
    SCOPED_TRACE(szValue);
    ASSERT_TRUE(Write("DI-ZU", "Key", szValue));
    ASSERT_TRUE(Write("DI-ZU", "Other", "x"));
    EXPECT_EQ(Read("DI-ZU", "Key", "default").text, szValue);
  }
  EXPECT_EQ(ReadFile("test.ini"), "[DI-ZU]\r\nKey=\r\nOther=x\r\n");
}

}  // namespace
