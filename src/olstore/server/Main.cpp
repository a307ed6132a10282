// olstore-server: the local Outlook store as an out-of-process automation
// server, so that a program reaches it exactly as it reaches Outlook: through
// the registry, CoCreateInstance and cross-process IDispatch calls.
//
//   olstore-server --register [--store PATH]   writes "Outlook.Application"
//                  [--reject-calls N]          (never over another program's)
//   olstore-server --unregister                removes what --register wrote
//   olstore-server [--store PATH] -Embedding   serves; COM starts it so
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "olstore/Text.h"
#include "olstore/olstore.h"
#include "platform/win32.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitForeign = 3;

constexpr wchar_t kProgId[] = L"Outlook.Application";

// Ends a server that no client has used for this long, so that one started
// for a client that went away before it connected does not stay forever.
constexpr UINT kIdleCheckMs = 10000;

struct Options {
  bool reg = false;
  bool unreg = false;
  bool embedding = false;
  std::wstring store;
  long rejectCalls = 0;  // for tests: answer "busy" to this many calls (-1: all)
};

DWORD g_mainThread = 0;
std::atomic<int> g_live{0};

void ObjectCreated() {
  ++g_live;
  CoAddRefServerProcess();
}

void ObjectDestroyed() {
  --g_live;
  // At zero COM also stops handing out the class object, so no new client
  // can slip in while the process ends.
  if (CoReleaseServerProcess() == 0) PostThreadMessageW(g_mainThread, WM_QUIT, 0, 0);
}

// Answers calls the way a busy Outlook does (a dialog open, a send in
// progress), for as many automation calls as asked: "rejected", which COM
// hands to the caller everywhere (Wine 8 carries out a call answered "retry
// later" all the same).
class BusyFilter final : public IMessageFilter {
 public:
  explicit BusyFilter(long rejectCalls) : m_remaining(rejectCalls) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
      *ppv = static_cast<IMessageFilter*>(this);
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD,
                                             LPINTERFACEINFO pInfo) override {
    if (m_remaining == 0 || !pInfo || !IsEqualIID(pInfo->iid, IID_IDispatch))
      return SERVERCALL_ISHANDLED;
    if (m_remaining > 0) --m_remaining;
    return SERVERCALL_REJECTED;
  }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
    return static_cast<DWORD>(-1);
  }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
    return PENDINGMSG_WAITDEFPROCESS;
  }

 private:
  long m_remaining;
};

std::wstring ClsidKey() {
  wchar_t text[40] = {};
  StringFromGUID2(olstore::OutlookApplicationClsid(), text, 40);
  return std::wstring(L"CLSID\\") + text;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  full.resize(length < size ? length : 0);
  return full.empty() ? path : full;
}

void Complain(const char* text) { std::fprintf(stderr, "olstore-server: %s\n", text); }

int Register(const Options& options) {
  // COM adds "-Embedding" to this command when it starts the server.
  std::wstring command = L"\"" + ModulePath() + L"\"";
  if (!options.store.empty()) command += L" --store \"" + FullPath(options.store) + L"\"";
  if (options.rejectCalls != 0) command += L" --reject-calls " + std::to_wstring(options.rejectCalls);

  const HRESULT hr = PalRegisterProgID(kProgId, olstore::OutlookApplicationClsid());
  if (hr == HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS)) {
    Complain("another program is registered as Outlook.Application; nothing was changed");
    return kExitForeign;
  }
  const std::wstring key = ClsidKey() + L"\\LocalServer32";
  HKEY hKey = nullptr;
  LONG result = FAILED(hr) ? ERROR_ACCESS_DENIED
                           : RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &hKey, nullptr);
  if (result == ERROR_SUCCESS) {
    result = RegSetValueExW(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                            static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(hKey);
  }
  if (result != ERROR_SUCCESS) {
    if (SUCCEEDED(hr)) PalRevokeProgID(kProgId);
    Complain("cannot write the registration (are you allowed to write HKEY_CLASSES_ROOT?)");
    return kExitFailed;
  }
  return kExitOk;
}

int Unregister() {
  wchar_t current[64] = {};
  DWORD size = sizeof current - sizeof(wchar_t);
  const bool registered = RegGetValueW(HKEY_CLASSES_ROOT, L"Outlook.Application\\CLSID", nullptr,
                                       RRF_RT_REG_SZ, nullptr, current, &size) == ERROR_SUCCESS;
  if (!registered) return kExitOk;
  if (L"CLSID\\" + std::wstring(current) != ClsidKey()) {
    Complain("Outlook.Application belongs to another program; nothing was changed");
    return kExitForeign;
  }
  RegDeleteTreeW(HKEY_CLASSES_ROOT, (ClsidKey() + L"\\LocalServer32").c_str());
  return SUCCEEDED(PalRevokeProgID(kProgId)) ? kExitOk : kExitFailed;
}

int Serve(const Options& options) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return kExitFailed;
  // The store is chosen the way every user of the store chooses it.
  if (!options.store.empty()) SetEnvironmentVariableW(L"OLSTORE_PATH", options.store.c_str());
  BusyFilter filter(options.rejectCalls);
  if (options.rejectCalls != 0) CoRegisterMessageFilter(&filter, nullptr);

  g_mainThread = GetCurrentThreadId();
  olstore::SetObjectLifetimeHooks(ObjectCreated, ObjectDestroyed);
  int exitCode = kExitOk;
  if (olstore::ServeOutlookApplication()) {
    SetTimer(nullptr, 0, kIdleCheckMs, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (message.message == WM_TIMER && g_live == 0) break;
      DispatchMessageW(&message);
    }
    olstore::StopServingOutlookApplication();
  } else {
    Complain(olstore::LastError().c_str());
    exitCode = kExitFailed;
  }
  olstore::SetObjectLifetimeHooks(nullptr, nullptr);
  if (options.rejectCalls != 0) CoRegisterMessageFilter(nullptr, nullptr);
  CoUninitialize();
  return exitCode;
}

bool ParseOptions(const std::vector<std::wstring>& args, Options& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg == L"--register") {
      options.reg = true;
    } else if (arg == L"--unregister") {
      options.unreg = true;
    } else if (_wcsicmp(arg.c_str(), L"-Embedding") == 0 ||
               _wcsicmp(arg.c_str(), L"/Embedding") == 0) {
      options.embedding = true;
    } else if (arg == L"--store" && i + 1 < args.size()) {
      options.store = args[++i];
    } else if (arg == L"--reject-calls" && i + 1 < args.size()) {
      wchar_t* end = nullptr;
      options.rejectCalls = std::wcstol(args[++i].c_str(), &end, 10);
      if (!end || *end) return false;
    } else {
      return false;
    }
  }
  return options.reg + options.unreg + options.embedding == 1;
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < count; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);

  Options options;
  if (!ParseOptions(args, options)) {
    std::fputs("usage: olstore-server --register [--store PATH] [--reject-calls N] |\n"
               "                      --unregister |\n"
               "                      [--store PATH] [--reject-calls N] -Embedding\n",
               stderr);
    return kExitUsage;
  }
  if (options.reg) return Register(options);
  if (options.unreg) return Unregister();
  return Serve(options);
}
