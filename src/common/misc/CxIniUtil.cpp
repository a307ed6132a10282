#include "common/misc/CxIniUtil.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/misc/WinUtil.h"

namespace {

bool IsEmpty(const char* szText) { return !szText || !*szText; }

}  // namespace

CxIniUtil::CxIniUtil(const char* szFolder, const char* szFileName) {
  m_szFilePath[0] = '\0';
  char szModuleFolder[MAX_PATH];
  if (IsEmpty(szFolder)) {
    GetModuleFolder(nullptr, szModuleFolder);
    szFolder = szModuleFolder;
  }
  char szPath[2 * MAX_PATH];
  snprintf(szPath, sizeof(szPath), "%s%s", szFolder, szFileName ? szFileName : "");
  SetFilePath(szPath);
}

bool CxIniUtil::SetFilePath(const char* szPath) {
  if (IsEmpty(szPath) || strlen(szPath) >= sizeof(m_szFilePath)) return false;
  memcpy(m_szFilePath, szPath, strlen(szPath) + 1);
  return true;
}

int CxIniUtil::GetString(const char* szSection, const char* szKey, char* szBuf, int nSize,
                         const char* szDefault) {
  if (!szBuf || nSize < 1) return 0;
  if (IsEmpty(szSection) || IsEmpty(szKey)) {
    szBuf[0] = '\0';
    return 0;
  }
  if (!m_szFilePath[0]) {
    // No file: what a missing file gives.
    snprintf(szBuf, static_cast<size_t>(nSize), "%s", szDefault ? szDefault : "");
    return static_cast<int>(strlen(szBuf));
  }
  return static_cast<int>(GetPrivateProfileStringA(szSection, szKey, szDefault ? szDefault : "",
                                                   szBuf, static_cast<DWORD>(nSize), m_szFilePath));
}

int32_t CxIniUtil::GetInt(const char* szSection, const char* szKey, int32_t nDefault) {
  char szValue[32];
  if (GetString(szSection, szKey, szValue, sizeof(szValue), "") == 0) return nDefault;
  // strtoll rather than atol: atol's result is undefined when the number is
  // out of range, and long is 32 bits on Windows but 64 here.
  const long long nValue = strtoll(szValue, nullptr, 10);
  if (nValue > INT32_MAX) return INT32_MAX;
  if (nValue < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(nValue);
}

bool CxIniUtil::GetBool(const char* szSection, const char* szKey, bool bDefault) {
  return GetInt(szSection, szKey, bDefault ? 1 : 0) != 0;
}

BOOL CxIniUtil::WriteString(const char* szSection, const char* szKey, const char* szValue) {
  if (IsEmpty(szSection) || IsEmpty(szKey) || !m_szFilePath[0]) return FALSE;
  return WritePrivateProfileStringA(szSection, szKey, szValue ? szValue : "", m_szFilePath);
}

BOOL CxIniUtil::WriteInt(const char* szSection, const char* szKey, int32_t nValue) {
  char szValue[16];
  snprintf(szValue, sizeof(szValue), "%d", static_cast<int>(nValue));
  return WriteString(szSection, szKey, szValue);
}

BOOL CxIniUtil::WriteBool(const char* szSection, const char* szKey, bool bValue) {
  return WriteInt(szSection, szKey, bValue ? 1 : 0);
}
