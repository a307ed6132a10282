// The store's entry points: its class factory in the process's class table,
// the store path, its version and the reason of the last failure.
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

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
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

ApplicationFactory g_factory;

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
    return found->pw_dir;
  return ".";
}

}  // namespace

bool RegisterOutlookApplication() {
  std::lock_guard<std::mutex> lock(g_stateMutex);
  if (g_registration != 0) return true;
  DWORD cookie = 0;
  HRESULT hr = CoRegisterClassObject(kApplicationClsid, &g_factory, CLSCTX_LOCAL_SERVER,
                                     REGCLS_MULTIPLEUSE, &cookie);
  if (SUCCEEDED(hr)) {
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

void UnregisterOutlookApplication() {
  std::lock_guard<std::mutex> lock(g_stateMutex);
  if (g_registration == 0) return;
  PalRevokeProgID(kProgId);
  CoRevokeClassObject(g_registration);
  g_registration = 0;
}

std::string ResolveStorePath() {
  if (const char* path = std::getenv("OLSTORE_PATH"); path && *path) return path;
  std::string data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') data = xdg;
  else data = HomeFolder() + "/.local/share";
  return data + "/olstore/store.db";
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
