#include "ProfileTest.h"

#include <filesystem>

using std::string_literals::operator""s;

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

ProfileTest::Result ProfileTest::Read(const char* szSection, const char* szKey,
                                      const char* szDefault, DWORD nSize) const {
  std::string buffer(nSize + 1, '#');
  const DWORD n = GetPrivateProfileStringA(szSection, szKey, szDefault, buffer.data(), nSize,
                                           PathOf("test.ini").c_str());
  return {buffer.c_str(), n};
}

ProfileTest::Result ProfileTest::ReadList(const char* szSection, DWORD nSize) const {
  std::string buffer(nSize, '#');
  const DWORD n = GetPrivateProfileStringA(szSection, nullptr, "default", buffer.data(), nSize,
                                           PathOf("test.ini").c_str());
  const size_t nEnd = buffer.find("\0\0"s);
  return {nEnd == std::string::npos ? "<unterminated>" : buffer.substr(0, nEnd + 2), n};
}

BOOL ProfileTest::Write(const char* szSection, const char* szKey, const char* szValue) const {
  return WritePrivateProfileStringA(szSection, szKey, szValue, PathOf("test.ini").c_str());
}

void ProfileTest::ExpectReads(const std::vector<ReadCase>& cases) const {
  WriteFile("test.ini", kSettings);
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.szName);
    const Result result = Read(c.szSection, c.szKey, c.szDefault, c.nSize);
    EXPECT_EQ(result.text, c.expected);
    EXPECT_EQ(result.nReturned, c.nReturned);
  }
}

void ProfileTest::ExpectLists(const std::vector<ListCase>& cases) const {
  WriteFile("test.ini", kSettings);
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.szName);
    const Result result = ReadList(c.szSection, c.nSize);
    EXPECT_EQ(result.text, c.expected);
    EXPECT_EQ(result.nReturned, c.nReturned);
  }
}

void ProfileTest::ExpectWrites(const std::vector<WriteCase>& cases) const {
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.szName);
    std::filesystem::remove(PathOf("test.ini"));
    if (c.before != "<none>") WriteFile("test.ini", c.before);
    EXPECT_TRUE(Write(c.szSection, c.szKey, c.szValue));
    EXPECT_EQ(ReadFile("test.ini"), c.after);
    EXPECT_EQ(ListFolder(), c.after == "<missing>" ? "" : "test.ini");
  }
}
