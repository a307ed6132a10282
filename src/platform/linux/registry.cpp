// Registry and version resources do not exist here: every key and value is
// missing and no file carries a version resource. Callers see the same
// answers as on a Windows machine where nothing is registered.
#include <sys/stat.h>

#include "lasterror.h"

namespace {

// The predefined root keys are always open; any other handle is one this
// layer never gave out.
bool IsRootKey(HKEY hKey) {
  return hKey == HKEY_CLASSES_ROOT || hKey == HKEY_CURRENT_USER || hKey == HKEY_LOCAL_MACHINE;
}

}  // namespace

LONG RegOpenKeyExA(HKEY hKey, LPCSTR, DWORD, REGSAM, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  return IsRootKey(hKey) ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_HANDLE;
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD) {
  return IsRootKey(hKey) ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_HANDLE;
}

LONG RegCloseKey(HKEY) { return ERROR_SUCCESS; }

DWORD GetFileVersionInfoSizeA(LPCSTR lptstrFilename, LPDWORD lpdwHandle) {
  if (lpdwHandle) *lpdwHandle = 0;
  struct stat info {};
  const bool bExists = lptstrFilename && stat(lptstrFilename, &info) == 0;
  SetLastError(bExists ? ERROR_RESOURCE_TYPE_NOT_FOUND : ERROR_FILE_NOT_FOUND);
  return 0;
}

BOOL GetFileVersionInfoA(LPCSTR lptstrFilename, DWORD, DWORD, LPVOID) {
  GetFileVersionInfoSizeA(lptstrFilename, nullptr);
  return FALSE;
}

BOOL VerQueryValueA(LPCVOID, LPCSTR, LPVOID* lplpBuffer, PUINT puLen) {
  if (lplpBuffer) *lplpBuffer = nullptr;
  if (puLen) *puLen = 0;
  SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
  return FALSE;
}
