#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"

namespace {

using std::string_literals::operator""s;

std::u16string ToWide(UINT nCodePage, const std::string& text, int cbMultiByte) {
  const int nNeeded = MultiByteToWideChar(nCodePage, 0, text.data(), cbMultiByte, nullptr, 0);
  if (nNeeded <= 0) return u"<failed>";
  std::u16string wide(static_cast<size_t>(nNeeded), u'#');
  const int nWritten =
      MultiByteToWideChar(nCodePage, 0, text.data(), cbMultiByte, wide.data(), nNeeded);
  if (nWritten != nNeeded) return u"<size mismatch>";
  return wide;
}

struct ToWideCase {
  const char* szName;
  std::string input;
  int cbMultiByte;  // -1: zero-terminated, the terminator counted
  std::u16string expected;
};

TEST(MultiByteToWideChar, ConvertsUtf8WithWindowsRules) {
  const ToWideCase kCases[] = {
      {"terminated", "abc", -1, u"abc\0"s},
      {"counted", "abc", 3, u"abc"},
      {"counted prefix", "abcdef", 2, u"ab"},
      {"empty terminated", "", -1, u"\0"s},
      {"embedded zero", "a\0b"s, 3, u"a\0b"s},
      {"two bytes", "\xC3\xA9", 2, u"\u00E9"},
      {"three bytes", "\xE2\x82\xAC", -1, u"\u20AC\0"s},
      {"four bytes as pair", "\xF0\x9F\x98\x80", 4, u"\xD83D\xDE00"},
      {"highest", "\xF4\x8F\xBF\xBF", 4, u"\xDBFF\xDFFF"},
      {"invalid lead", "\xFF", 1, u"\uFFFD"},
      {"stray continuation", "a\200b", 3, u"a\uFFFDb"},
      {"cut at the end", "\xC3", 1, u"\uFFFD"},
      {"cut before ascii", "\xC3(", 2, u"\uFFFD("},
      {"cut three-byte", "\342\202A", 3, u"\uFFFDA"},
      {"cut four-byte at end", "\xF0\x9F\x98", 3, u"\uFFFD"},
      {"cut inside terminated", "x\xE2\x82", -1, u"x\uFFFD\0"s},
      {"overlong two", "\xC0\xAF", 2, u"\uFFFD\uFFFD"},
      {"overlong three", "\xE0\x80\x80", 3, u"\uFFFD\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", 3, u"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", 4, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (UINT nCodePage : {static_cast<UINT>(CP_ACP), static_cast<UINT>(CP_UTF8)}) {
    for (const ToWideCase& c : kCases) {
      SCOPED_TRACE(testing::Message() << c.szName << " code page " << nCodePage);
      EXPECT_EQ(ToWide(nCodePage, c.input, c.cbMultiByte), c.expected);
    }
  }
}

TEST(MultiByteToWideChar, FailsWhenTheBufferIsTooSmall) {
  struct Case {
    std::string input;
    int cchWideChar;
  };
  const Case kCases[] = {
      {"abc", 3},                // no room for the terminator
      {"a\xF0\x9F\x98\x80", 2},  // half a surrogate pair would fit
      {"x", 1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.input);
    WCHAR buffer[8];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, c.input.c_str(), -1, buffer, c.cchWideChar), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  }
  WCHAR exact[4];
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, exact, 4), 4);
  EXPECT_EQ(std::u16string(exact), u"abc");
}

TEST(MultiByteToWideChar, RejectsInvalidArguments) {
  struct Case {
    const char* szName;
    UINT nCodePage;
    const char* pInput;
    int cbMultiByte;
    bool bBuffer;
    int cchWideChar;
  };
  const Case kCases[] = {
      {"zero length", CP_UTF8, "abc", 0, true, 8},
      {"length below -1", CP_UTF8, "abc", -2, true, 8},
      {"no input", CP_UTF8, nullptr, -1, true, 8},
      {"negative output size", CP_UTF8, "abc", -1, true, -1},
      {"size without buffer", CP_UTF8, "abc", -1, false, 8},
      {"other code page", 1252, "abc", -1, true, 8},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    WCHAR buffer[8];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(c.nCodePage, 0, c.pInput, c.cbMultiByte,
                                  c.bBuffer ? buffer : nullptr, c.cchWideChar),
              0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

TEST(MultiByteToWideChar, StrictModeRefusesInvalidInput) {
  WCHAR buffer[8];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", -1, buffer, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xC3\xA9", -1, buffer, 8), 3);
}

struct ToAnsiCase {
  const char* szName;
  UINT nCodePage;
  std::u16string input;
  int cchWideChar;
  const char* szDefault;
  std::string expected;
  bool bUsedDefault;
};

TEST(WideCharToMultiByte, ConvertsToUtf8WithWindowsRules) {
  const ToAnsiCase kCases[] = {
      {"terminated", CP_ACP, u"abc", -1, nullptr, "abc\0"s, false},
      {"counted", CP_ACP, u"abcdef", 3, nullptr, "abc", false},
      {"empty terminated", CP_ACP, u"", -1, nullptr, "\0"s, false},
      {"accents and euro", CP_ACP, u"\u00E9\u20AC", 2, nullptr, "\xC3\xA9\xE2\x82\xAC", false},
      {"pair", CP_ACP, u"\xD83D\xDE00", 2, nullptr, "\xF0\x9F\x98\x80", false},
      {"lone high", CP_ACP, u"\xD800\141", 2, nullptr, "?a", true},
      {"lone low at end", CP_ACP, u"a\xDC00", 2, nullptr, "a?", true},
      {"high at end of count", CP_ACP, u"\xD83D\xDE00", 1, nullptr, "?", true},
      {"pair reversed", CP_ACP, u"\xDE00\xD83D", 2, nullptr, "??", true},
      {"own default", CP_ACP, u"\xD800\141", 2, "*", "*a", true},
      {"multibyte default", CP_ACP, u"\xDC00", 1, "\xC2\xA4!", "\xC2\xA4", true},
      {"empty default", CP_ACP, u"\xDC00", 1, "", "?", true},
      {"utf-8 lone surrogate", CP_UTF8, u"a\xD800", 2, nullptr, "a\xEF\xBF\xBD", false},
      {"utf-8 terminated", CP_UTF8, u"\u00E9", -1, nullptr, "\xC3\xA9\0"s, false},
  };
  for (const ToAnsiCase& c : kCases) {
    SCOPED_TRACE(c.szName);
    BOOL bUsed = 7;
    LPBOOL pUsed = c.nCodePage == CP_ACP ? &bUsed : nullptr;
    const int nNeeded = WideCharToMultiByte(c.nCodePage, 0, c.input.c_str(), c.cchWideChar, nullptr,
                                            0, c.szDefault, pUsed);
    ASSERT_EQ(nNeeded, static_cast<int>(c.expected.size()));
    std::string out(static_cast<size_t>(nNeeded), '#');
    bUsed = 7;
    ASSERT_EQ(WideCharToMultiByte(c.nCodePage, 0, c.input.c_str(), c.cchWideChar, out.data(),
                                  nNeeded, c.szDefault, pUsed),
              nNeeded);
    EXPECT_EQ(out, c.expected);
    if (pUsed) {
      EXPECT_EQ(bUsed, c.bUsedDefault ? TRUE : FALSE);
    }
  }
}

TEST(WideCharToMultiByte, FailsWhenTheBufferIsTooSmall) {
  struct Case {
    std::u16string input;
    int cbMultiByte;
  };
  const Case kCases[] = {
      {u"abc", 3},           // the terminator does not fit
      {u"\u00E9", 2},        // two bytes and the terminator
      {u"\xD83D\xDE00", 4},  // four bytes and the terminator
  };
  for (const Case& c : kCases) {
    char buffer[8];
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, c.input.c_str(), -1, buffer, c.cbMultiByte, nullptr,
                                  nullptr),
              0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  }
}

TEST(WideCharToMultiByte, RejectsInvalidArguments) {
  BOOL bUsed = FALSE;
  struct Case {
    const char* szName;
    UINT nCodePage;
    const WCHAR* pInput;
    int cchWideChar;
    bool bBuffer;
    int cbMultiByte;
    LPCCH pDefault;
    LPBOOL pUsed;
  };
  const Case kCases[] = {
      {"zero length", CP_ACP, u"abc", 0, true, 8, nullptr, nullptr},
      {"length below -1", CP_ACP, u"abc", -5, true, 8, nullptr, nullptr},
      {"no input", CP_ACP, nullptr, -1, true, 8, nullptr, nullptr},
      {"negative output size", CP_ACP, u"abc", -1, true, -1, nullptr, nullptr},
      {"size without buffer", CP_ACP, u"abc", -1, false, 8, nullptr, nullptr},
      {"other code page", 437, u"abc", -1, true, 8, nullptr, nullptr},
      {"utf-8 with default", CP_UTF8, u"abc", -1, true, 8, "?", nullptr},
      {"utf-8 with used flag", CP_UTF8, u"abc", -1, true, 8, nullptr, &bUsed},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    char buffer[8];
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(c.nCodePage, 0, c.pInput, c.cchWideChar,
                                  c.bBuffer ? buffer : nullptr, c.cbMultiByte, c.pDefault, c.pUsed),
              0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

TEST(WideCharToMultiByte, StrictUtf8RefusesLoneSurrogates) {
  char buffer[8];
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, u"a\xD800", -1, buffer, 8, nullptr,
                                nullptr),
            0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(TextConversion, EveryCodePointSurvivesTheRoundTrip) {
  std::u16string all;
  for (char32_t cp = 1; cp <= 0x10FFFF; cp += cp < 0x3000 ? 1 : 97) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    if (cp < 0x10000) {
      all += static_cast<char16_t>(cp);
    } else {
      all += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      all += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  const int nBytes = WideCharToMultiByte(CP_ACP, 0, all.c_str(), -1, nullptr, 0, nullptr, nullptr);
  ASSERT_GT(nBytes, 0);
  std::string utf8(static_cast<size_t>(nBytes), '\0');
  BOOL bUsed = TRUE;
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, all.c_str(), -1, utf8.data(), nBytes, nullptr, &bUsed),
            nBytes);
  EXPECT_FALSE(bUsed);
  std::u16string back = ToWide(CP_ACP, utf8, -1);
  ASSERT_FALSE(back.empty());
  back.pop_back();  // the terminator
  EXPECT_TRUE(back == all);
}

}  // namespace
