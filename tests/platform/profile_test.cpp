// Profile files read and written by the rules the program relies on, the
// same on Windows and in the layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/support/ProfileTest.h"
#include "platform/win32.h"

namespace {

using std::string_literals::operator""s;

TEST_F(ProfileTest, ReadsValuesByWindowsRules) {
  ExpectReads({
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
      {"first of two keys", "DI-ZU", "TWICE", "d", 256, "first", 5},
      {"other section", "Other", "AppFlag", "d", 256, "9", 1},
      {"first section of a name counts", "DI-ZU", "Later", "d", 256, "d", 1},
      {"missing key", "DI-ZU", "Missing", "fallback", 256, "fallback", 8},
      {"missing section", "Nowhere", "AppFlag", "fallback", 256, "fallback", 8},
      {"null default", "DI-ZU", "Missing", nullptr, 256, "", 0},
      {"value cut", "DI-ZU", "OLPath", "d", 8, "C:\\Prog", 7},
      {"value just fits", "DI-ZU", "Utf8", "d", 7, "\xC3\xA9\xC3\xA9\xC3\xA9", 6},
      {"default cut", "DI-ZU", "Missing", "abcdef", 3, "ab", 2},
      {"one byte buffer", "DI-ZU", "AppFlag", "d", 1, "", 0},
  });
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
  ExpectLists({
      {"keys of another section", "Other", 256, "AppFlag\0\0"s, 8},
      {"sections cut after a name", nullptr, 8, "DI-ZU\0\0"s, 6},
  });
}

TEST_F(ProfileTest, WritesOnlyWhatChanges) {
  ExpectWrites({
      {"creates the file", "<none>", "S", "k", "v", "[S]\r\nk=v\r\n"},
      {"adds a key to its section", "[S]\r\nk=v\r\n", "S", "k2", "w", "[S]\r\nk=v\r\nk2=w\r\n"},
      {"new section at the end", "[S]\r\na=1\r\n", "T", "x", "y", "[S]\r\na=1\r\n[T]\r\nx=y\r\n"},
      {"strips leading blanks only", "", "S", "k", "  \t v  ", "[S]\r\nk=v  \r\n"},
      {"writes an empty value", "[S]\r\nk=v\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
      {"keeps quotes as given", "", "S", "k", "\"q\"", "[S]\r\nk=\"q\"\r\n"},
      {"keeps the byte order mark", "\xEF\xBB\xBF[S]\r\na=1\r\n", "S", "a", "2",
       "\xEF\xBB\xBF[S]\r\na=2\r\n"},
      {"deletes a section", "[S]\r\na=1\r\n; c\r\n[T]\r\nx=1\r\n", "s", nullptr, nullptr,
       "[T]\r\nx=1\r\n"},
      {"deletes the last section", "; top\r\n[S]\r\na=1\r\n[T]\r\nx=1\r\n", "T", nullptr, nullptr,
       "; top\r\n[S]\r\na=1\r\n"},
      {"deleting the first section keeps the mark", "\xEF\xBB\xBF[S]\r\na=1\r\n[T]\r\nx=1\r\n", "S",
       nullptr, nullptr, "\xEF\xBB\xBF[T]\r\nx=1\r\n"},
      {"deleting a missing key changes nothing", "[S]\na=1", "S", "b", nullptr, "[S]\na=1"},
      {"deleting a missing section changes nothing", "[S]\na=1", "T", nullptr, nullptr, "[S]\na=1"},
      {"deleting creates no file", "<none>", "S", "k", nullptr, "<missing>"},
  });
}

TEST_F(ProfileTest, FailedWritesLeaveEverythingAsItWas) {
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", PathOf("missing/test.ini").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(ListFolder(), "");

  ASSERT_TRUE(std::filesystem::create_directory(PathOf("folder.ini")));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", PathOf("folder.ini").c_str()));
  EXPECT_EQ(ListFolder(), "folder.ini");
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
