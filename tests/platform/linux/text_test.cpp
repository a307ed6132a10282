// Text conversion rules of the layer that Windows, as Wine runs it, does not
// share: every byte that neither starts nor continues a character becomes a
// replacement character of its own (Wine merges some of them), only the
// layer's two code pages exist, a length below -1 is no length (Wine reads it
// as zero-terminated), and UTF-8 takes neither a default character nor a
// used-default flag (as Windows documents; Wine accepts both). An empty default
// character stands for none (Wine writes its terminating zero).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "platform/win32.h"
#include "support/OleText.h"

namespace {

TEST(MultiByteToWideChar, ReplacesEveryByteOutsideACharacter) {
  const struct {
    const char* szName;
    const char* szInput;
    size_t nReplaced;
  } kCases[] = {
      {"overlong three", "\xE0\x80\x80", 3},
      {"encoded surrogate", "\xED\xA0\x80", 3},
      {"above U+10FFFF", "\xF4\x90\x80\x80", 4},
  };
  for (UINT nCodePage : {static_cast<UINT>(CP_ACP), static_cast<UINT>(CP_UTF8)}) {
    for (const auto& c : kCases) {
      SCOPED_TRACE(testing::Message() << c.szName << " code page " << nCodePage);
      WCHAR buffer[8];
      const int nLength = MultiByteToWideChar(nCodePage, 0, c.szInput,
                                              static_cast<int>(strlen(c.szInput)), buffer, 8);
      ASSERT_GT(nLength, 0);
      EXPECT_EQ(OleString(buffer, static_cast<size_t>(nLength)), OleString(c.nReplaced, 0xFFFD));
    }
  }
}

TEST(WideCharToMultiByte, TakesAnEmptyDefaultForNone) {
  char buffer[8] = "#######";
  BOOL bUsed = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, OLESTR("\xDC00"), 1, buffer, 8, "", &bUsed), 1);
  EXPECT_EQ(std::string(buffer, 1), "?");
  EXPECT_TRUE(bUsed);
}

TEST(TextConversion, RefusesWhatOnlyWindowsTakes) {
  BOOL bUsed = FALSE;
  WCHAR wide[8];
  char narrow[8];
  const struct {
    const char* szName;
    std::function<int()> call;
  } kCases[] = {
      {"to wide, length below -1",
       [&] { return MultiByteToWideChar(CP_UTF8, 0, "abc", -2, wide, 8); }},
      {"to wide, other code page",
       [&] { return MultiByteToWideChar(1252, 0, "abc", -1, wide, 8); }},
      {"to ANSI, length below -1",
       [&] {
         return WideCharToMultiByte(CP_ACP, 0, OLESTR("abc"), -5, narrow, 8, nullptr, nullptr);
       }},
      {"to ANSI, other code page",
       [&] { return WideCharToMultiByte(437, 0, OLESTR("abc"), -1, narrow, 8, nullptr, nullptr); }},
      {"utf-8 with default",
       [&] { return WideCharToMultiByte(CP_UTF8, 0, OLESTR("abc"), -1, narrow, 8, "?", nullptr); }},
      {"utf-8 with used flag",
       [&] {
         return WideCharToMultiByte(CP_UTF8, 0, OLESTR("abc"), -1, narrow, 8, nullptr, &bUsed);
       }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.szName);
    SetLastError(0);
    EXPECT_EQ(c.call(), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

}  // namespace
