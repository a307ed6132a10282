// The store's entry points: its class factory in the process's class table,
// the store path, its version and the reason of the last failure.
#include <cstdio>
#include <mutex>

#include "olstore/Dispatch.h"
#include "olstore/Files.h"
#include "olstore/Objects.h"
#include "olstore/olstore.h"

namespace olstore {

namespace {

// The class of this store's Outlook.Application.
constexpr CLSID kApplicationClsid = {
    0x6F4C5354, 0x4170, 0x4E70, {0x9C, 0x1E, 0x4F, 0x4C, 0x53, 0x54, 0x4F, 0x52}};
constexpr const OLECHAR* kProgId = OLESTR("Outlook.Application");

std::mutex g_stateMutex;
std::string g_lastError;
DWORD g_registration = 0;

void SetLastError(std::string text) {
  std::lock_guard<std::mutex> lock(g_stateMutex);
  g_lastError = std::move(text);
}

// Lives as long as the process; the class table's references do not own it.
class ApplicationFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
    if (!ppvObject) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppvObject = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                           void** ppvObject) override {
    if (!ppvObject) return E_POINTER;
    *ppvObject = nullptr;
    if (pUnkOuter) return CLASS_E_NOAGGREGATION;
    HRESULT hr = S_OK;
    IDispatch* application = AttachApplication(hr);
    if (!application) return hr;
    hr = application->QueryInterface(riid, ppvObject);
    application->Release();
    return hr;
  }
  // A lock keeps a serving process alive as an object would.
  HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override {
    NotifyObjectLifetime(fLock != FALSE);
    return S_OK;
  }
};

ApplicationFactory g_factory;

}  // namespace

namespace {

// The class object, and with withProgId the ProgID that leads to it; the
// caller holds g_stateMutex.
bool RegisterClass(bool withProgId) {
  if (g_registration != 0) return true;
  DWORD cookie = 0;
  HRESULT hr = CoRegisterClassObject(kApplicationClsid, &g_factory, CLSCTX_LOCAL_SERVER,
                                     REGCLS_MULTIPLEUSE, &cookie);
  if (SUCCEEDED(hr) && withProgId) {
    hr = PalRegisterProgID(kProgId, kApplicationClsid);
    if (FAILED(hr)) CoRevokeClassObject(cookie);
  }
  if (FAILED(hr)) {
    char text[96];
    std::snprintf(text, sizeof text, "cannot register Outlook.Application, hr=0x%08x",
                  static_cast<unsigned>(hr));
    g_lastError = text;
    return false;
  }
  g_registration = cookie;
  return true;
}

void RevokeClass(bool withProgId) {
  if (g_registration == 0) return;
  if (withProgId) PalRevokeProgID(kProgId);
  CoRevokeClassObject(g_registration);
  g_registration = 0;
}

}  // namespace

bool RegisterOutlookApplication() {
  std::lock_guard<std::mutex> lock(g_stateMutex);
  return RegisterClass(true);
}

void UnregisterOutlookApplication() {
  std::lock_guard<std::mutex> lock(g_stateMutex);
  RevokeClass(true);
}

bool ServeOutlookApplication() {
  std::lock_guard<std::mutex> lock(g_stateMutex);
  return RegisterClass(false);
}

void StopServingOutlookApplication() {
  std::lock_guard<std::mutex> lock(g_stateMutex);
  RevokeClass(false);
}

const CLSID& OutlookApplicationClsid() { return kApplicationClsid; }

std::string ResolveStorePath() {
  if (std::string path = EnvironmentText("OLSTORE_PATH"); !path.empty()) return path;
  return UserDataFolder() + PAL_PATH_SEPARATOR_STR "olstore" PAL_PATH_SEPARATOR_STR "store.db";
}

const char* Version() { return "1.0.0"; }

std::string LastError() {
  std::lock_guard<std::mutex> lock(g_stateMutex);
  return g_lastError;
}

void ReportOpenError(const std::string& path, const std::string& reason) {
  if (reason.empty()) {
    SetLastError({});
    return;
  }
  std::string text = "cannot open the store " + path + ": " + reason;
  std::fprintf(stderr, "olstore: %s\n", text.c_str());
  SetLastError(std::move(text));
}

}  // namespace olstore
