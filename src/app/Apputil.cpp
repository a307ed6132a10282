#include "app/Apputil.h"

#include <cstdio>
#include <cstring>

#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxText.h"
#include "update/CxRunJournal.h"
#include "platform/win32.h"

AppSettings g_Settings;
CxIniUtil g_IniUtil(nullptr, "norvask.ini");

namespace {

constexpr char kSection[] = "DI-ZU";
constexpr char kVendorFolder[] = "norvask";
constexpr char kProductFolder[] = "DI-ZU";

// Appends szName and a separator to szPath (MAX_PATH bytes) and makes sure
// that folder exists. False when the path does not fit, when something that
// is not a folder stands in the way, or when the folder cannot be created.
bool AppendFolder(char* szPath, const char* szName) {
  const size_t nLen = strlen(szPath);
  const int nWritten = snprintf(szPath + nLen, MAX_PATH - nLen, "%s" PAL_PATH_SEPARATOR_STR, szName);
  if (nWritten < 0 || nLen + static_cast<size_t>(nWritten) >= MAX_PATH) return false;

  const DWORD dwAttr = GetFileAttributesA(szPath);
  if (dwAttr == INVALID_FILE_ATTRIBUTES) return CreateDirectoryA(szPath, nullptr) != FALSE;
  return (dwAttr & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool GetAppDataFolder(char* szFolder, int nSize) {
  if (!szFolder || nSize <= 0) return false;

  char szPath[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, szPath))) {
    return false;
  }
  // The shell's folder comes without a final separator; do not double one
  // that is there.
  size_t nLen = strlen(szPath);
  if (nLen == 0) return false;
  if (szPath[nLen - 1] != PAL_PATH_SEPARATOR) {
    if (nLen + 1 >= MAX_PATH) return false;
    szPath[nLen++] = PAL_PATH_SEPARATOR;
    szPath[nLen] = '\0';
  }

  if (!AppendFolder(szPath, kVendorFolder) || !AppendFolder(szPath, kProductFolder)) return false;
  if (strlen(szPath) >= static_cast<size_t>(nSize)) return false;
  memcpy(szFolder, szPath, strlen(szPath) + 1);
  return true;
}

bool OpenRunJournal(CxRunJournal* pJournal, std::string* pError) {
  char szFolder[MAX_PATH];
  if (!GetAppDataFolder(szFolder, sizeof szFolder)) {
    if (pError) *pError = "the application data folder cannot be found or created";
    return false;
  }
  return pJournal->Open(CxRunJournal::PathIn(szFolder), pError);
}

std::string ReportPath(time_t tWhen) {
  char szFolder[MAX_PATH];
  if (!GetAppDataFolder(szFolder, sizeof szFolder)) return std::string();
  char szName[40];
  const struct tm* pTime = localtime(&tWhen);
  if (!pTime || !strftime(szName, sizeof szName, "report-%Y%m%d-%H%M%S.csv", pTime))
    return std::string();
  return std::string(szFolder) + szName;
}

bool LoadProgramSettings() {
  char szFolder[MAX_PATH];
  const bool bFolder = GetAppDataFolder(szFolder, sizeof szFolder);
  if (bFolder) {
    char szIniFile[MAX_PATH + 16];
    snprintf(szIniFile, sizeof szIniFile, "%snorvask.ini", szFolder);
    g_IniUtil.SetFilePath(szIniFile);
  }
  LoadSettings();
  if (bFolder) g_DebugUtil.SetLogFolder(szFolder);
  g_DebugUtil.EnableLog(g_Settings.EnableDebug);
  g_DebugUtil.SetLogLevel(g_Settings.LogLevel);
  return bFolder;
}

void LoadSettings() {
  memset(&g_Settings, 0, sizeof(g_Settings));
  g_Settings.AppFlag = g_IniUtil.GetInt(kSection, "AppFlag", 1);
  // Read into a larger buffer, then cut to the field: the cut must fall
  // before a whole character, which the profile call does not promise.
  char szPath[2 * MAX_PATH];
  g_IniUtil.GetString(kSection, "OLPath", szPath, sizeof(szPath), "");
  CopyText(g_Settings.OLPath, sizeof(g_Settings.OLPath), szPath);
  g_Settings.SubFolder = g_IniUtil.GetBool(kSection, "SubFolder", false);
  g_Settings.EnableDebug = g_IniUtil.GetBool(kSection, "EnableDebug", false);
  g_Settings.LogLevel = g_IniUtil.GetInt(kSection, "LogLevel", 3);
}

void SaveSettings() {
  g_IniUtil.WriteInt(kSection, "AppFlag", g_Settings.AppFlag);
  g_IniUtil.WriteString(kSection, "OLPath", g_Settings.OLPath);
  g_IniUtil.WriteBool(kSection, "SubFolder", g_Settings.SubFolder);
  g_IniUtil.WriteBool(kSection, "EnableDebug", g_Settings.EnableDebug);
  g_IniUtil.WriteInt(kSection, "LogLevel", g_Settings.LogLevel);
}
