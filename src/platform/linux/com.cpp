// The in-process COM runtime: apartment initialisation counted per thread, and
// the class table through which the program finds its automation server.
// There is no registry here: a server registers its class factory with
// CoRegisterClassObject and its ProgID with PalRegisterProgID, and
// CLSIDFromProgID / CoCreateInstance find them as Windows would through the
// registry and the running class objects.
#include <mutex>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace {

typedef std::basic_string<OLECHAR> OleString;

struct ClassEntry {
  DWORD dwCookie;
  CLSID clsid;
  IUnknown* pFactory;  // one reference held while registered
  DWORD dwContext;
  bool bSingleUse;
  bool bUsed;  // a single-use class object serves one creation only
};

struct ProgIdEntry {
  OleString strFolded;
  CLSID clsid;
};

struct ClassTable {
  std::mutex mutex;
  std::vector<ClassEntry> classes;
  std::vector<ProgIdEntry> progIds;
  DWORD dwLastCookie = 0;
};

// Never destroyed, so servers may still revoke from their own static destructors.
ClassTable& Table() {
  static ClassTable* pTable = new ClassTable;
  return *pTable;
}

thread_local ULONG t_nInitCount = 0;
thread_local IMessageFilter* t_pMessageFilter = nullptr;  // one reference held

constexpr DWORD kAnyContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// ProgIDs are ASCII letters, digits and dots, and the registry matches them
// without regard to case.
OleString FoldProgID(LPCOLESTR lpszProgID) {
  OleString str;
  for (; *lpszProgID; ++lpszProgID) {
    OLECHAR ch = *lpszProgID;
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<OLECHAR>(ch - 'A' + 'a');
    str.push_back(ch);
  }
  return str;
}

// Takes a reference on the newest class object that serves rclsid in one of
// the asked contexts; null when there is none.
IUnknown* AcquireClassObject(REFCLSID rclsid, DWORD dwClsContext) {
  ClassTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  for (auto it = table.classes.rbegin(); it != table.classes.rend(); ++it) {
    if (!IsEqualCLSID(it->clsid, rclsid) || !(it->dwContext & dwClsContext) || it->bUsed) continue;
    if (it->bSingleUse) it->bUsed = true;
    it->pFactory->AddRef();
    return it->pFactory;
  }
  return nullptr;
}

}  // namespace

HRESULT CoInitializeEx(LPVOID pvReserved, DWORD /*dwCoInit*/) {
  if (pvReserved) return E_INVALIDARG;
  return t_nInitCount++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(LPVOID pvReserved) {
  return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

void CoUninitialize() {
  if (t_nInitCount > 0) --t_nInitCount;
}

HRESULT CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD dwClsContext, DWORD flags,
                              LPDWORD lpdwRegister) {
  if (lpdwRegister) *lpdwRegister = 0;
  if (!pUnk || !lpdwRegister || !(dwClsContext & kAnyContext)) return E_INVALIDARG;
  if (t_nInitCount == 0) return CO_E_NOTINITIALIZED;

  pUnk->AddRef();
  ClassTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  if (++table.dwLastCookie == 0) ++table.dwLastCookie;  // 0 is never a valid cookie
  table.classes.push_back(
      {table.dwLastCookie, rclsid, pUnk, dwClsContext, flags == REGCLS_SINGLEUSE, false});
  *lpdwRegister = table.dwLastCookie;
  return S_OK;
}

HRESULT CoRevokeClassObject(DWORD dwRegister) {
  IUnknown* pFactory = nullptr;
  {
    ClassTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (auto it = table.classes.begin(); it != table.classes.end(); ++it) {
      if (it->dwCookie != dwRegister) continue;
      pFactory = it->pFactory;
      table.classes.erase(it);
      break;
    }
  }
  if (!pFactory) return E_INVALIDARG;
  // Released outside the lock: the factory's end may well revoke or register.
  pFactory->Release();
  return S_OK;
}

HRESULT CoRegisterMessageFilter(LPMESSAGEFILTER lpMessageFilter,
                                LPMESSAGEFILTER* lplpMessageFilter) {
  if (t_nInitCount == 0) return CO_E_NOTINITIALIZED;
  if (lpMessageFilter) lpMessageFilter->AddRef();
  IMessageFilter* pPrevious = t_pMessageFilter;
  t_pMessageFilter = lpMessageFilter;
  // The previous filter's reference passes to the caller who asked for it.
  if (lplpMessageFilter) *lplpMessageFilter = pPrevious;
  else if (pPrevious) pPrevious->Release();
  return S_OK;
}

HRESULT PalRegisterProgID(LPCOLESTR lpszProgID, REFCLSID rclsid) {
  if (!lpszProgID || !*lpszProgID) return E_INVALIDARG;
  OleString strFolded = FoldProgID(lpszProgID);
  ClassTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  for (ProgIdEntry& entry : table.progIds) {
    if (entry.strFolded == strFolded) {
      entry.clsid = rclsid;
      return S_OK;
    }
  }
  table.progIds.push_back({std::move(strFolded), rclsid});
  return S_OK;
}

HRESULT PalRevokeProgID(LPCOLESTR lpszProgID) {
  if (!lpszProgID) return E_INVALIDARG;
  const OleString strFolded = FoldProgID(lpszProgID);
  ClassTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  for (auto it = table.progIds.begin(); it != table.progIds.end(); ++it) {
    if (it->strFolded == strFolded) {
      table.progIds.erase(it);
      return S_OK;
    }
  }
  return CO_E_CLASSSTRING;
}

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
  if (!lpszProgID || !lpclsid) return E_INVALIDARG;
  *lpclsid = IID_NULL;
  const OleString strFolded = FoldProgID(lpszProgID);
  ClassTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  for (const ProgIdEntry& entry : table.progIds) {
    if (entry.strFolded == strFolded) {
      *lpclsid = entry.clsid;
      return S_OK;
    }
  }
  return CO_E_CLASSSTRING;
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID* ppv) {
  if (!ppv) return E_INVALIDARG;
  *ppv = nullptr;
  if (t_nInitCount == 0) return CO_E_NOTINITIALIZED;
  if (pUnkOuter) return CLASS_E_NOAGGREGATION;

  IUnknown* pClassObject = AcquireClassObject(rclsid, dwClsContext);
  if (!pClassObject) return REGDB_E_CLASSNOTREG;
  IClassFactory* pFactory = nullptr;
  HRESULT hr = pClassObject->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&pFactory));
  pClassObject->Release();
  if (FAILED(hr)) return hr;

  hr = pFactory->CreateInstance(nullptr, riid, ppv);
  pFactory->Release();
  if (FAILED(hr)) *ppv = nullptr;
  return hr;
}

HRESULT OleRun(LPUNKNOWN pUnknown) {
  // An in-process object runs as soon as it exists.
  return pUnknown ? S_OK : E_INVALIDARG;
}
