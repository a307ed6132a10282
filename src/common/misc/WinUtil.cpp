#include "common/misc/WinUtil.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/misc/CxText.h"

namespace {

constexpr char kOutlookKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";
constexpr char kOutlookProgram[] = "OUTLOOK.EXE";

}  // namespace

bool GetModuleFolder(HMODULE hModule, char* szFolder) {
  if (!szFolder) return false;
  szFolder[0] = '\0';

  char szPath[MAX_PATH];
  const DWORD nLen = GetModuleFileNameA(hModule, szPath, MAX_PATH);
  // A result of MAX_PATH means the path was cut: its folder would be wrong.
  if (nLen == 0 || nLen >= MAX_PATH) return false;

  char szDrive[_MAX_DRIVE];
  char szDir[_MAX_DIR];
  char szName[_MAX_FNAME];
  char szExt[_MAX_EXT];
  _splitpath(szPath, szDrive, szDir, szName, szExt);
  snprintf(szFolder, MAX_PATH, "%s%s", szDrive, szDir);
  return true;
}

bool ShellOpen(const char* szFile) {
  if (!szFile || !*szFile) return false;
  PalShellExecute(nullptr, "open", szFile, "", "", SW_SHOW);
  return true;
}

bool GetFileVersion(const char* szFile, int* pMajor, int* pMinor, int* pBuild, int* pRevision) {
  if (!pMajor || !pMinor || !pBuild || !pRevision) return false;
  *pMajor = *pMinor = *pBuild = *pRevision = 0;
  if (!szFile || !*szFile) return false;

  DWORD dwHandle = 0;
  const DWORD dwSize = GetFileVersionInfoSizeA(szFile, &dwHandle);
  if (dwSize == 0) return false;
  std::vector<BYTE> info(dwSize);
  if (!GetFileVersionInfoA(szFile, dwHandle, dwSize, info.data())) return false;

  LPVOID pValue = nullptr;
  UINT nValueLen = 0;
  if (!VerQueryValueA(info.data(), "\\", &pValue, &nValueLen) || !pValue ||
      nValueLen < sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  const VS_FIXEDFILEINFO* pFixed = static_cast<const VS_FIXEDFILEINFO*>(pValue);
  *pMajor = HIWORD(pFixed->dwFileVersionMS);
  *pMinor = LOWORD(pFixed->dwFileVersionMS);
  *pBuild = HIWORD(pFixed->dwFileVersionLS);
  *pRevision = LOWORD(pFixed->dwFileVersionLS);
  return true;
}

bool GetRegisteredOutlookPath(char* szPath, size_t nSize) {
  if (!szPath || nSize == 0) return false;
  HKEY hKey = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOutlookKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
    return false;

  // One byte more than the value may fill, so the text is always terminated
  // (registry strings need not be).
  char szFolder[MAX_PATH + 1] = {};
  DWORD dwType = 0;
  DWORD dwLen = MAX_PATH;
  const LONG nStatus = RegQueryValueExA(hKey, "Path", nullptr, &dwType,
                                        reinterpret_cast<LPBYTE>(szFolder), &dwLen);
  RegCloseKey(hKey);
  if (nStatus != ERROR_SUCCESS) return false;

  // The registered folder normally ends with a separator; do not glue the
  // program name onto the folder's last name when it does not.
  std::string strPath = szFolder;
  if (!strPath.empty() && strPath.back() != '\\' && strPath.back() != '/')
    strPath += PAL_PATH_SEPARATOR_STR;
  strPath += kOutlookProgram;
  // A cut path would name another file: refuse instead.
  if (strPath.size() >= nSize) return false;
  return CopyText(szPath, nSize, strPath.c_str());
}

bool GetOutlookVersion(char* szVersion) {
  if (!szVersion) return false;
  char szProgram[MAX_PATH + sizeof(kOutlookProgram) + 1];
  if (!GetRegisteredOutlookPath(szProgram, sizeof szProgram)) return false;

  int nMajor, nMinor, nBuild, nRevision;
  if (!GetFileVersion(szProgram, &nMajor, &nMinor, &nBuild, &nRevision)) {
    szVersion[0] = '\0';
    return false;
  }
  snprintf(szVersion, 64, "%d.%d.%d.%d", nMajor, nMinor, nBuild, nRevision);
  return true;
}

bool VariantTimeToString(double dtDate, char* szText) {
  if (!szText) return false;
  SYSTEMTIME st;
  if (!VariantTimeToSystemTime(dtDate, &st)) return false;
  // A converted date has a four-digit year, so the text fits its 20 bytes.
  char szTemp[40];
  snprintf(szTemp, sizeof(szTemp), "%02d-%02d-%04d %02d:%02d:%02d", st.wMonth, st.wDay, st.wYear,
           st.wHour, st.wMinute, st.wSecond);
  CopyText(szText, 20, szTemp);
  return true;
}
