#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "support/AnsiCodePage.h"
#include "support/OleText.h"

namespace {

using std::string_literals::operator""s;

// The code pages that convert UTF-8 here.
std::vector<UINT> Utf8CodePages() {
  std::vector<UINT> pages = {CP_UTF8};
  if (AnsiIsUtf8()) pages.push_back(CP_ACP);
  return pages;
}

OleString ToWide(UINT nCodePage, const std::string& text, int cbMultiByte) {
  const int nNeeded = MultiByteToWideChar(nCodePage, 0, text.data(), cbMultiByte, nullptr, 0);
  if (nNeeded <= 0) return OLESTR("<failed>");
  OleString wide(static_cast<size_t>(nNeeded), OLESTR('#'));
  const int nWritten =
      MultiByteToWideChar(nCodePage, 0, text.data(), cbMultiByte, wide.data(), nNeeded);
  if (nWritten != nNeeded) return OLESTR("<size mismatch>");
  return wide;
}

struct ToWideCase {
  const char* szName;
  std::string input;
  int cbMultiByte;  // -1: zero-terminated, the terminator counted
  OleString expected;
};

TEST(MultiByteToWideChar, ConvertsUtf8WithWindowsRules) {
  const ToWideCase kCases[] = {
      {"terminated", "abc", -1, OleLiteral(OLESTR("abc\0"))},
      {"counted", "abc", 3, OLESTR("abc")},
      {"counted prefix", "abcdef", 2, OLESTR("ab")},
      {"empty terminated", "", -1, OleLiteral(OLESTR("\0"))},
      {"embedded zero", "a\0b"s, 3, OleLiteral(OLESTR("a\0b"))},
      {"two bytes", "\xC3\xA9", 2, OLESTR("\u00E9")},
      {"three bytes", "\xE2\x82\xAC", -1, OleLiteral(OLESTR("\u20AC\0"))},
      {"four bytes as pair", "\xF0\x9F\x98\x80", 4, OLESTR("\xD83D\xDE00")},
      {"highest", "\xF4\x8F\xBF\xBF", 4, OLESTR("\xDBFF\xDFFF")},
      {"invalid lead", "\xFF", 1, OLESTR("\uFFFD")},
      {"stray continuation", "a\200b", 3, OLESTR("a\uFFFDb")},
      {"cut at the end", "\xC3", 1, OLESTR("\uFFFD")},
      {"cut before ascii", "\xC3(", 2, OLESTR("\uFFFD(")},
      {"cut three-byte", "\342\202A", 3, OLESTR("\uFFFDA")},
      {"cut four-byte at end", "\xF0\x9F\x98", 3, OLESTR("\uFFFD")},
      {"cut inside terminated", "x\xE2\x82", -1, OleLiteral(OLESTR("x\uFFFD\0"))},
      {"overlong two", "\xC0\xAF", 2, OLESTR("\uFFFD\uFFFD")},
  };
  for (UINT nCodePage : Utf8CodePages()) {
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
  EXPECT_EQ(OleString(exact), OLESTR("abc"));
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
      {"no input", CP_UTF8, nullptr, -1, true, 8},
      {"negative output size", CP_UTF8, "abc", -1, true, -1},
      {"size without buffer", CP_UTF8, "abc", -1, false, 8},
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
  OleString input;
  int cchWideChar;
  const char* szDefault;
  std::string expected;
  bool bUsedDefault;
  bool bUtf8Ansi = false;  // CP_ACP gives this only where it is UTF-8
};

TEST(WideCharToMultiByte, ConvertsToUtf8WithWindowsRules) {
  const ToAnsiCase kCases[] = {
      {"terminated", CP_ACP, OLESTR("abc"), -1, nullptr, "abc\0"s, false},
      {"counted", CP_ACP, OLESTR("abcdef"), 3, nullptr, "abc", false},
      {"empty terminated", CP_ACP, OLESTR(""), -1, nullptr, "\0"s, false},
      {"accents and euro", CP_ACP, OLESTR("\u00E9\u20AC"), 2, nullptr, "\xC3\xA9\xE2\x82\xAC", false,
       true},
      {"pair", CP_ACP, OLESTR("\xD83D\xDE00"), 2, nullptr, "\xF0\x9F\x98\x80", false, true},
      {"lone high", CP_ACP, OLESTR("\xD800\141"), 2, nullptr, "?a", true},
      {"lone low at end", CP_ACP, OLESTR("a\xDC00"), 2, nullptr, "a?", true},
      {"high at end of count", CP_ACP, OLESTR("\xD83D\xDE00"), 1, nullptr, "?", true},
      {"pair reversed", CP_ACP, OLESTR("\xDE00\xD83D"), 2, nullptr, "??", true},
      {"own default", CP_ACP, OLESTR("\xD800\141"), 2, "*", "*a", true},
      {"multibyte default", CP_ACP, OLESTR("\xDC00"), 1, "\xC2\xA4!", "\xC2\xA4", true, true},
      {"utf-8 lone surrogate", CP_UTF8, OLESTR("a\xD800"), 2, nullptr, "a\xEF\xBF\xBD", false},
      {"utf-8 terminated", CP_UTF8, OLESTR("\u00E9"), -1, nullptr, "\xC3\xA9\0"s, false},
  };
  for (const ToAnsiCase& c : kCases) {
    if (c.bUtf8Ansi && !AnsiIsUtf8()) continue;
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
    OleString input;
    int cbMultiByte;
  };
  const Case kCases[] = {
      {OLESTR("abc"), 3},           // the terminator does not fit
      {OLESTR("\u00E9"), 2},        // two bytes and the terminator
      {OLESTR("\xD83D\xDE00"), 4},  // four bytes and the terminator
  };
  for (UINT nCodePage : Utf8CodePages()) {
    for (const Case& c : kCases) {
      SCOPED_TRACE(testing::Message() << c.cbMultiByte << " bytes, code page " << nCodePage);
      char buffer[8];
      SetLastError(0);
      EXPECT_EQ(WideCharToMultiByte(nCodePage, 0, c.input.c_str(), -1, buffer, c.cbMultiByte,
                                    nullptr, nullptr),
                0);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    }
  }
}

TEST(WideCharToMultiByte, RejectsInvalidArguments) {
  struct Case {
    const char* szName;
    const WCHAR* pInput;
    int cchWideChar;
    bool bBuffer;
    int cbMultiByte;
  };
  const Case kCases[] = {
      {"zero length", OLESTR("abc"), 0, true, 8},
      {"no input", nullptr, -1, true, 8},
      {"negative output size", OLESTR("abc"), -1, true, -1},
      {"size without buffer", OLESTR("abc"), -1, false, 8},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szName);
    char buffer[8];
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, c.pInput, c.cchWideChar, c.bBuffer ? buffer : nullptr,
                                  c.cbMultiByte, nullptr, nullptr),
              0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

TEST(WideCharToMultiByte, StrictUtf8RefusesLoneSurrogates) {
  char buffer[8];
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, OLESTR("a\xD800"), -1, buffer, 8,
                                nullptr, nullptr),
            0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(TextConversion, EveryCodePointSurvivesTheRoundTrip) {
  OleString all;
  for (char32_t cp = 1; cp <= 0x10FFFF; cp += cp < 0x3000 ? 1 : 97) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    if (cp < 0x10000) {
      all += static_cast<OLECHAR>(cp);
    } else {
      all += static_cast<OLECHAR>(0xD800 + ((cp - 0x10000) >> 10));
      all += static_cast<OLECHAR>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  for (UINT nCodePage : Utf8CodePages()) {
    SCOPED_TRACE(nCodePage);
    const int nBytes =
        WideCharToMultiByte(nCodePage, 0, all.c_str(), -1, nullptr, 0, nullptr, nullptr);
    ASSERT_GT(nBytes, 0);
    std::string utf8(static_cast<size_t>(nBytes), '\0');
    // Windows takes no used-default flag for CP_UTF8.
    BOOL bUsed = TRUE;
    LPBOOL pUsed = nCodePage == CP_ACP ? &bUsed : nullptr;
    ASSERT_EQ(WideCharToMultiByte(nCodePage, 0, all.c_str(), -1, utf8.data(), nBytes, nullptr, pUsed),
              nBytes);
    if (pUsed) {
      EXPECT_FALSE(bUsed);
    }
    OleString back = ToWide(nCodePage, utf8, -1);
    ASSERT_FALSE(back.empty());
    back.pop_back();  // the terminator
    EXPECT_TRUE(back == all);
  }
}

struct CutCase {
  const char* szName;
  const char* szText;
  size_t nMaxBytes;
  size_t nUtf8;       // the cut where the ANSI code page is UTF-8
  size_t nOneByte;    // the cut where it has one byte a character
};

TEST(PalAnsiCutLength, CutsOnlyBeforeAWholeCharacter) {
  const CutCase kCases[] = {
      {"fits", "abc", 5, 3, 3},
      {"fits exactly", "abc", 3, 3, 3},
      {"ascii cut", "abcdef", 4, 4, 4},
      {"nothing allowed", "abc", 0, 0, 0},
      {"empty", "", 4, 0, 0},
      {"before a two-byte character", "ab\xC3\xA9", 3, 2, 3},
      {"after a two-byte character", "ab\xC3\xA9z", 4, 4, 4},
      {"inside a three-byte character", "\xE2\x82\xAC!", 2, 0, 2},
      {"inside a four-byte character", "a\xF0\x9F\x98\x80", 4, 1, 4},
      // In a one-byte code page 0x80-0xBF are characters of their own ("\xA9"
      // is the copyright sign in Windows-1252), not parts of one.
      {"bytes that UTF-8 continues with", "a\xA9\xBC\xB0", 3, 0, 3},
  };
  const bool bUtf8 = AnsiIsUtf8();
#ifdef _WIN32
  CPINFO info{};
  ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
  if (!bUtf8 && info.MaxCharSize != 1) GTEST_SKIP() << "a double-byte ANSI code page";
#endif
  for (const CutCase& c : kCases) {
    SCOPED_TRACE(c.szName);
    EXPECT_EQ(PalAnsiCutLength(c.szText, c.nMaxBytes), bUtf8 ? c.nUtf8 : c.nOneByte);
  }
  EXPECT_EQ(PalAnsiCutLength(nullptr, 4), 0u);
}

}  // namespace
