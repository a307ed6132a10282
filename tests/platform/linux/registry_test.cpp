#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

const HKEY kForeignKey = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x1234));

TEST(Registry, FindsNoKeyAndLeavesTheResultEmpty) {
  struct Case {
    HKEY hRoot;
    const char* szSubKey;
    LONG nExpected;
  };
  const Case kCases[] = {
      {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE",
       ERROR_FILE_NOT_FOUND},
      {HKEY_CURRENT_USER, "Software", ERROR_FILE_NOT_FOUND},
      {HKEY_CLASSES_ROOT, nullptr, ERROR_FILE_NOT_FOUND},
      {HKEY_LOCAL_MACHINE, "", ERROR_FILE_NOT_FOUND},
      {nullptr, "Software", ERROR_INVALID_HANDLE},
      {kForeignKey, "Software", ERROR_INVALID_HANDLE},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szSubKey ? c.szSubKey : "(null)");
    HKEY hKey = kForeignKey;
    EXPECT_EQ(RegOpenKeyExA(c.hRoot, c.szSubKey, 0, KEY_READ, &hKey), c.nExpected);
    EXPECT_EQ(hKey, nullptr);
  }
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, nullptr),
            ERROR_INVALID_PARAMETER);
}

TEST(Registry, FindsNoValueAndNeverTouchesTheOutputs) {
  struct Case {
    HKEY hKey;
    LONG nExpected;
  };
  const Case kCases[] = {
      {HKEY_LOCAL_MACHINE, ERROR_FILE_NOT_FOUND},
      {HKEY_CURRENT_USER, ERROR_FILE_NOT_FOUND},
      {nullptr, ERROR_INVALID_HANDLE},
      {kForeignKey, ERROR_INVALID_HANDLE},
  };
  for (const Case& c : kCases) {
    char data[16] = "untouched";
    DWORD dwType = 77, dwSize = sizeof data;
    EXPECT_EQ(
        RegQueryValueExA(c.hKey, "Path", nullptr, &dwType, reinterpret_cast<LPBYTE>(data), &dwSize),
        c.nExpected);
    EXPECT_STREQ(data, "untouched");
    EXPECT_EQ(dwType, 77u);
    EXPECT_EQ(RegQueryValueExA(c.hKey, nullptr, nullptr, nullptr, nullptr, nullptr), c.nExpected);
  }
}

TEST(Registry, ClosingAlwaysSucceeds) {
  for (HKEY hKey : {static_cast<HKEY>(nullptr), HKEY_LOCAL_MACHINE, kForeignKey})
    EXPECT_EQ(RegCloseKey(hKey), ERROR_SUCCESS);
}

TEST(VersionResources, NoFileHasOne) {
  struct Case {
    const char* szFile;
    DWORD dwError;
  };
  const Case kCases[] = {
      {"/proc/self/exe", ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"/nonexistent/OUTLOOK.EXE", ERROR_FILE_NOT_FOUND},
      {"", ERROR_FILE_NOT_FOUND},
      {nullptr, ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.szFile ? c.szFile : "(null)");
    DWORD dwHandle = 99;
    SetLastError(0);
    EXPECT_EQ(GetFileVersionInfoSizeA(c.szFile, &dwHandle), 0u);
    EXPECT_EQ(dwHandle, 0u);
    EXPECT_EQ(GetLastError(), c.dwError);
    EXPECT_EQ(GetFileVersionInfoSizeA(c.szFile, nullptr), 0u);

    char block[64];
    EXPECT_FALSE(GetFileVersionInfoA(c.szFile, 0, sizeof block, block));
    EXPECT_FALSE(GetFileVersionInfoA(c.szFile, 0, 0, nullptr));
  }
}

TEST(VersionResources, QueriesFindNothing) {
  char block[64] = {};
  LPVOID pValue = block;
  UINT nLength = 12;
  EXPECT_FALSE(VerQueryValueA(block, "\\", &pValue, &nLength));
  EXPECT_EQ(pValue, nullptr);
  EXPECT_EQ(nLength, 0u);
  EXPECT_FALSE(VerQueryValueA(nullptr, nullptr, nullptr, nullptr));
}

}  // namespace
