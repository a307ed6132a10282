#include "app/Outlookpath.h"

#include <cstring>

#include "common/misc/CxText.h"
#include "platform/win32.h"

#ifndef _WIN32
#include <filesystem>

#include "olstore/olstore.h"
#endif

namespace {
const char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";
const char kProgramFile[] = "OUTLOOK.EXE";
}  // namespace

bool GetRegisteredOutlookPath(char* szPath, size_t nSize) {
  if (!szPath || nSize == 0) return false;
  HKEY hKey = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAppPathsKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
    return false;
  char szFolder[MAX_PATH + 1] = {};
  DWORD nBytes = MAX_PATH;
  const LONG nResult = RegQueryValueExA(hKey, "Path", nullptr, nullptr,
                                        reinterpret_cast<LPBYTE>(szFolder), &nBytes);
  RegCloseKey(hKey);
  if (nResult != ERROR_SUCCESS) return false;
  // The registry does not promise a terminating zero; szFolder has room for one.
  szFolder[nBytes < MAX_PATH ? nBytes : MAX_PATH] = '\0';
  std::string strPath = szFolder;
  strPath += kProgramFile;
  // A cut path would name another file: refuse instead.
  if (strPath.size() >= nSize) return false;
  return CopyText(szPath, nSize, strPath.c_str());
}

#ifndef _WIN32
bool IsOutlookRegistered() {
  CLSID clsid;
  return SUCCEEDED(CLSIDFromProgID(OLESTR("Outlook.Application"), &clsid));
}

std::string GetOutlookStoreVersion() { return olstore::Version(); }

std::string GetOutlookStoreFile() { return olstore::ResolveStorePath(); }

std::string GetOutlookStoreFolder() {
  const std::string strFile = GetOutlookStoreFile();
  if (strFile.empty()) return std::string();
  return std::filesystem::path(strFile).parent_path().string();
}
#endif
