// The program's one door for shell opens: with a hook set, every open reaches
// the hook and nothing is started.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace {

struct ShellCall {
  std::string operation, file, parameters, directory;
};
std::vector<ShellCall> g_shellCalls;

void RecordShellCall(LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory) {
  const auto text = [](LPCSTR sz) { return std::string(sz ? sz : "(null)"); };
  g_shellCalls.push_back({text(lpOperation), text(lpFile), text(lpParameters), text(lpDirectory)});
}

bool Succeeded(HINSTANCE hResult) { return reinterpret_cast<intptr_t>(hResult) > 32; }

TEST(ShellExecuteHook, ReceivesEveryCallInsteadOfTheShell) {
  g_shellCalls.clear();
  PalSetShellExecuteHook(RecordShellCall);
  const char* kFile = "\"; rm -rf ~; echo \"";
  EXPECT_TRUE(Succeeded(PalShellExecute(nullptr, "open", kFile, "", "", SW_SHOW)));
  EXPECT_TRUE(Succeeded(
      PalShellExecute(nullptr, nullptr, "https://example.org/", nullptr, nullptr, SW_SHOWNORMAL)));
  EXPECT_TRUE(Succeeded(PalShellExecute(nullptr, "print", "docs" PAL_PATH_SEPARATOR_STR "a.txt",
                                        "-x", "docs", SW_SHOW)));
  PalSetShellExecuteHook(nullptr);

  ASSERT_EQ(g_shellCalls.size(), 3u);
  EXPECT_EQ(g_shellCalls[0].file, kFile);
  EXPECT_EQ(g_shellCalls[0].operation, "open");
  EXPECT_EQ(g_shellCalls[1].operation, "(null)");
  EXPECT_EQ(g_shellCalls[1].file, "https://example.org/");
  EXPECT_EQ(g_shellCalls[1].parameters, "(null)");
  EXPECT_EQ(g_shellCalls[2].operation, "print");
  EXPECT_EQ(g_shellCalls[2].file, "docs" PAL_PATH_SEPARATOR_STR "a.txt");
  EXPECT_EQ(g_shellCalls[2].parameters, "-x");
  EXPECT_EQ(g_shellCalls[2].directory, "docs");
}

}  // namespace
