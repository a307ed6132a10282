// ProgID registrations of the layer: the keys under HKEY_CLASSES_ROOT that
// CLSIDFromProgID reads. Each one is marked, so that the layer replaces and
// removes only what it wrote itself, never the registration of an installed
// program such as a real Outlook.
#include <string>

#include "platform/win32.h"

namespace {

constexpr wchar_t kMarker[] = L"PalRegistration";

std::wstring ClsidText(REFCLSID rclsid) {
  wchar_t text[40] = {};
  StringFromGUID2(rclsid, text, 40);
  return text;
}

bool ReadDefault(const std::wstring& key, std::wstring& value) {
  wchar_t buffer[256] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return false;
  value = buffer;
  return true;
}

bool HasValue(const std::wstring& key, const wchar_t* name) {
  return RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

bool HasKey(const std::wstring& key) {
  HKEY hKey = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
  RegCloseKey(hKey);
  return true;
}

// A class that a program installed: it has a server and no mark of ours.
bool IsForeignServer(const std::wstring& clsid) {
  const std::wstring key = L"CLSID\\" + clsid;
  if (HasValue(key, kMarker)) return false;
  return HasKey(key + L"\\LocalServer32") || HasKey(key + L"\\InprocServer32") ||
         HasKey(key + L"\\LocalServer");
}

LONG WriteValue(const std::wstring& key, const wchar_t* name, const std::wstring& text) {
  HKEY hKey = nullptr;
  LONG result = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                &hKey, nullptr);
  if (result != ERROR_SUCCESS) return result;
  result = RegSetValueExW(hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(hKey);
  return result;
}

}  // namespace

HRESULT PalRegisterProgID(LPCOLESTR lpszProgID, REFCLSID rclsid) {
  if (!lpszProgID || !*lpszProgID) return E_INVALIDARG;
  const std::wstring progId = lpszProgID;
  const std::wstring clsid = ClsidText(rclsid);
  std::wstring current;
  if (ReadDefault(progId + L"\\CLSID", current) && _wcsicmp(current.c_str(), clsid.c_str()) != 0 &&
      IsForeignServer(current))
    return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);

  LONG result = WriteValue(L"CLSID\\" + clsid, kMarker, progId);
  if (result == ERROR_SUCCESS) result = WriteValue(progId, kMarker, clsid);
  if (result == ERROR_SUCCESS) result = WriteValue(progId + L"\\CLSID", nullptr, clsid);
  return result == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(result);
}

HRESULT PalRevokeProgID(LPCOLESTR lpszProgID) {
  if (!lpszProgID) return E_INVALIDARG;
  const std::wstring progId = lpszProgID;
  std::wstring clsid;
  if (!*lpszProgID || !ReadDefault(progId + L"\\CLSID", clsid)) return CO_E_CLASSSTRING;
  if (!HasValue(progId, kMarker)) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

  const LONG result = RegDeleteTreeW(HKEY_CLASSES_ROOT, progId.c_str());
  // The class key goes too unless something else (a server's command) lives in it.
  const std::wstring classKey = L"CLSID\\" + clsid;
  if (HasValue(classKey, kMarker) && !HasKey(classKey + L"\\LocalServer32")) {
    RegDeleteKeyValueW(HKEY_CLASSES_ROOT, classKey.c_str(), kMarker);
    RegDeleteKeyW(HKEY_CLASSES_ROOT, classKey.c_str());
  }
  return result == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(result);
}
