// Files and settings named in UTF-8 on Windows: the wide-character API, never
// the ANSI one, whose code page cannot hold every name.
#include <cstring>
#include <string>
#include <string_view>

#include "platform/win32.h"
#include "platform/textanswer.h"

namespace {

std::wstring Wide(LPCSTR szText) {
  const int nUnits = MultiByteToWideChar(CP_UTF8, 0, szText, -1, nullptr, 0);
  if (nUnits <= 0) return {};
  std::wstring wide(static_cast<size_t>(nUnits), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, szText, -1, wide.data(), nUnits);
  wide.pop_back();  // the terminating zero
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int nUnits = static_cast<int>(wide.size());
  const int nBytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), nUnits, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(nBytes > 0 ? nBytes : 0), '\0');
  if (nBytes > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), nUnits, text.data(), nBytes, nullptr, nullptr);
  return text;
}

DWORD Fail(DWORD dwError, LPSTR szError, DWORD nErrorSize) {
  if (!szError || nErrorSize == 0) return dwError;
  wchar_t* pBuffer = nullptr;
  const DWORD nLength = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, dwError, 0, reinterpret_cast<wchar_t*>(&pBuffer), 0, nullptr);
  std::string text = nLength ? Utf8(std::wstring_view(pBuffer, nLength)) : std::string();
  LocalFree(pBuffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
  if (text.empty()) text = "error " + std::to_string(dwError);
  // The words are only shown to people: cutting them loses less than none.
  const size_t nCut = PalAnsiCutLength(text.c_str(), nErrorSize - 1);
  memcpy(szError, text.data(), nCut);
  szError[nCut] = '\0';
  return dwError;
}

}  // namespace

DWORD PalGetFileAttributesUtf8(LPCSTR szPath) {
  if (!szPath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  return GetFileAttributesW(Wide(szPath).c_str());
}

DWORD PalRenameFileUtf8(LPCSTR szFrom, LPCSTR szTo, BOOL bReplace, LPSTR szError,
                        DWORD nErrorSize) {
  if (!szFrom || !szTo) return Fail(ERROR_INVALID_PARAMETER, szError, nErrorSize);
  const DWORD dwFlags = MOVEFILE_WRITE_THROUGH | (bReplace ? MOVEFILE_REPLACE_EXISTING : 0);
  if (MoveFileExW(Wide(szFrom).c_str(), Wide(szTo).c_str(), dwFlags)) return ERROR_SUCCESS;
  const DWORD dwError = GetLastError();
  if (!bReplace && (dwError == ERROR_ALREADY_EXISTS || dwError == ERROR_FILE_EXISTS))
    return ERROR_ALREADY_EXISTS;
  return Fail(dwError, szError, nErrorSize);
}

DWORD PalGetEnvironmentVariableUtf8(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize) {
  if (!lpName) return 0;
  const std::wstring name = Wide(lpName);
  const DWORD nUnits = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (nUnits == 0) return 0;
  std::wstring value(nUnits, L'\0');
  const DWORD nLength = GetEnvironmentVariableW(name.c_str(), value.data(), nUnits);
  value.resize(nLength < nUnits ? nLength : 0);
  return PalAnswerText(Utf8(value), lpBuffer, nSize);
}

DWORD PalGetUserDataFolderUtf8(LPSTR lpBuffer, DWORD nSize) {
  wchar_t szFolder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, szFolder)))
    return 0;
  return PalAnswerText(Utf8(szFolder), lpBuffer, nSize);
}
